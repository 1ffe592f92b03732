#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "panel/panel_file.h"
#include "scenario/scenario_script.h"
#include "scenario/script_writer.h"
#include "support/host_error.h"
#include "support/number_text.h"
#include "support/shown_text.h"

using panelhost::HostError;
using ::testing::EndsWith;
using ::testing::HasSubstr;

namespace {

std::string errorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const HostError& error) {
    return error.what();
  }
  return "no error";
}

TEST(PanelFile, TheBuiltInStackIsTheCommittedRadioStackFile) {
  std::ifstream in(SOURCE_DIR "/panels/radio-stack.cfg");
  std::ostringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), panelhost::builtInPanelText());
  const auto panel = panelhost::builtInPanel();
  ASSERT_EQ(panel.placements.size(), 3u);
  EXPECT_EQ(panel.widthPx, 417);
  EXPECT_EQ(panel.heightPx, 439);
  EXPECT_EQ(panel.placements[2].gaugeName, "ADF");
  EXPECT_EQ(panel.placements[2].y, 274);
  EXPECT_EQ(panel.placements[2].width, 417);
}

TEST(PanelFile, ReadsPlacementsInFileOrderAndIgnoresTheRest) {
  const auto panel = panelhost::parsePanelText(
      "// a panel\r\n"
      "[Vcockpit01]\r\n"
      "gauge00=other!Radar, 1, 1\r\n"
      "[WINDOW00]\r\n"
      "size_mm=834, 274\r\n"
      "visible=1\r\n"
      "gauge00 = radios!Com1Nav1 , -4, 0x10 // the first\r\n"
      "gauge01=radios!ADF, 417, 0, 208, 90  // scaled\r\n",
      "p.cfg");
  ASSERT_EQ(panel.placements.size(), 2u);
  const auto& first = panel.placements[0];
  EXPECT_EQ(first.moduleName, "radios");
  EXPECT_EQ(first.gaugeName, "Com1Nav1");
  EXPECT_EQ(first.x, -4);
  EXPECT_EQ(first.y, 16);
  EXPECT_EQ(first.width, 0);
  EXPECT_EQ(first.line, 7);
  EXPECT_EQ(panel.placements[1].height, 90);
  EXPECT_EQ(panel.widthPx, 834);
}

TEST(PanelFile, OtherSectionsAreNotJudgedAndAByteOrderMarkIsSkipped) {
  const auto panel = panelhost::parsePanelText(
      "\xEF\xBB\xBF[Window Titles]\n"
      "Window00=Radio stack\n"
      "a title line without a value\n"
      "gauge00=radios!Transponder, 0, 0\n"
      "[Fltsim]\n"
      "a line a real panel file may carry\n"
      "[Window00]\n"
      "gauge00=radios!ADF, 0, 0\n",
      "p.cfg");
  ASSERT_EQ(panel.placements.size(), 1u);
  EXPECT_EQ(panel.placements[0].line, 8);
  EXPECT_THAT(errorOf([] { panelhost::parsePanelText("[Window00]\njunk\n", "w.cfg"); }),
              HasSubstr("w.cfg:2: expected KEY=VALUE or [SECTION]"));
}

struct BadPanel {
  const char* text;
  const char* message;
};

TEST(PanelFile, ABadLineIsAnErrorNamingFileLineAndTheExpectedForm) {
  const BadPanel cases[] = {
      {"[Window00]\ngauge00=radios Com1Nav1, 0, 0\n", "p.cfg:2: expected gaugeNN=MODULE!GAUGE"},
      {"[Window00]\ngauge00=radios!Com1Nav1, 0\n", "p.cfg:2: expected gaugeNN=MODULE!GAUGE"},
      {"[Window00]\ngauge00=!Com1Nav1, 0, 0\n", "p.cfg:2: expected gaugeNN=MODULE!GAUGE"},
      {"[Window00]\ngauge00=radios!ADF, 0, 0, 1, 2, 3\n", "p.cfg:2: expected gaugeNN=MODULE!GAUGE"},
      {"[Window00]\ngauge00=radios!ADF, left, 0\n", "p.cfg:2: expected x (a whole number"},
      {"[Window00]\ngauge00=radios!ADF, 0, 0, 0\n", "p.cfg:2: expected a width"},
      {"[Window00]\ngauge00=radios!ADF, 0, 1.5\n", "p.cfg:2: expected y"},
      {"[Window00]\nsize_mm=417\n", "p.cfg:2: expected size_mm=WIDTH,HEIGHT"},
      {"[Window00\n", "p.cfg:1: expected a section name in brackets"},
      {"[Window00]\njust words\n", "p.cfg:2: expected KEY=VALUE or [SECTION]"},
      {"[Window00]\nsize_mm=417,439\n", "p.cfg:1: expected at least one gaugeNN="},
      {"", "p.cfg:1: expected at least one gaugeNN="},
  };
  for (const BadPanel& bad : cases) {
    EXPECT_THAT(errorOf([&] { panelhost::parsePanelText(bad.text, "p.cfg"); }),
                HasSubstr(bad.message))
        << bad.text;
  }
  EXPECT_THAT(
      errorOf([] { panelhost::readPanelFile("/no/such/panel.cfg"); }),
      HasSubstr("/no/such/panel.cfg: cannot read the panel file (No such file or directory)"));
}

// MODULE names a file beside panelhost that is loaded as code, so it can be nothing but a plain
// file name; the gauge name is plain text.
TEST(PanelFile, AModuleNameIsAPlainFileNameAndAGaugeNameIsPrintable) {
  const std::string moduleForm =
      "p.cfg:2: expected a module file name (letters, digits, _, - and .";
  const std::string gaugeForm = "p.cfg:2: expected a gauge name of printable characters";
  const struct {
    std::string names;
    std::string message;  // empty: accepted
  } cases[] = {
      {"radios!Com1Nav1", ""},
      {"my-gauges_2.v1!ADF", ""},
      {"radios!Com1 Nav1", ""},
      {"../../etc/passwd!Com1Nav1", moduleForm + ", not starting with . and without .., at most 64 "
                                                 "characters), got \"../../etc/passwd\""},
      {"/usr/lib/radios!ADF", moduleForm},
      {"gauges\\radios!ADF", moduleForm},
      {".radios!ADF", moduleForm},
      {"radios..old!ADF", moduleForm},
      {"ra dios!ADF", moduleForm},
      {std::string("radios\0x!ADF", 12), moduleForm},
      {std::string(65, 'r') + "!ADF", moduleForm},
      {"radios!Com1\x01Nav1", gaugeForm + ", at most 255, got \"Com1\\x01Nav1\""},
      {"radios!" + std::string(256, 'G'), gaugeForm},
  };
  for (const auto& c : cases) {
    const std::string text = "[Window00]\ngauge00=" + c.names + ", 0, 0\n";
    const std::string message = errorOf([&] { panelhost::parsePanelText(text, "p.cfg"); });
    if (c.message.empty()) {
      EXPECT_EQ(message, "no error") << c.names;
    } else {
      EXPECT_THAT(message, HasSubstr(c.message)) << c.names;
    }
  }
}

TEST(Numbers, DecimalHexNegativeAndWholeValues) {
  EXPECT_EQ(panelhost::parseNumber("0x2172"), 8562.0);
  EXPECT_EQ(panelhost::parseNumber("-12.5"), -12.5);
  EXPECT_EQ(panelhost::parseNumber("121.725"), 121.725);
  EXPECT_EQ(panelhost::parseWholeNumber("7.0"), 7);
  EXPECT_EQ(panelhost::parseWholeNumber("7.5"), std::nullopt);
  for (const char* bad : {"", "-", "0x", ".5", "1e3", "12a", "0x1g", "--1", " 1", "+1"}) {
    EXPECT_EQ(panelhost::parseNumber(bad), std::nullopt) << bad;
  }
}

// What a line names, as the writer gives it back: numbers in hex or with a decimal point, quoted
// texts that hold what would be a comment, names that need quotes, and an ADF setting finer than
// the tenth its form shows.
TEST(ScenarioScript, ReadsNumbersTextsAndCommentsAsWrittenAndWritesThemBack) {
  const auto script = panelhost::parseScript(
      "panel \"my panels/a.cfg\"\n"
      "expect event 65707 0x2172   # COM1\n"
      "expect event 0xFFFFFFFF 4294967295\n"
      "\t\n"
      "expect tooltip Com1Nav1 128 82.0 \"  # not a comment\"\n"
      "expect element ADF 3 \"\"\n"
      "expect element ADF 0x4 2.50\n"
      "wheel ADF 1 2 down 3\r\n"
      "click \"Com 1\" 0x10 -2\n"
      "update\n"
      "sim adf.active 415.99\n"
      "sim com1.active 121.7254\n"
      "expect sim xpdr.code 0012\n",
      "s.scn");
  const char* written[] = {
      "panel \"my panels/a.cfg\"",
      "expect event 65707 0x00002172",
      "expect event 4294967295 0xFFFFFFFF",
      "expect tooltip Com1Nav1 128 82 \"  # not a comment\"",
      "expect element ADF 3 \"\"",
      "expect element ADF 4 2.5",
      "wheel ADF 1 2 down 3",
      "click \"Com 1\" 16 -2",
      "update 1",
      "sim adf.active 415.99",
      "sim com1.active 121.725",
      "expect sim xpdr.code 0012",
  };
  ASSERT_EQ(script.commands.size(), std::size(written));
  for (std::size_t i = 0; i < std::size(written); ++i) {
    EXPECT_EQ(panelhost::commandLine(script.commands[i].action), written[i]);
  }
  EXPECT_EQ(script.commands[3].line, 5);
}

TEST(ScenarioScript, AByteOrderMarkFromAWindowsEditorIsNotPartOfTheFirstCommand) {
  const auto script = panelhost::parseScript("\xEF\xBB\xBFstart\nunload\n", "bom.scn");
  ASSERT_EQ(script.commands.size(), 2u);
  EXPECT_TRUE(std::holds_alternative<panelhost::script::Start>(script.commands[0].action));
}

TEST(ScenarioScript, MalformedLinesNameWhatWasExpected) {
  const BadPanel cases[] = {
      // Numbers name their range; where no negative is allowed, -0 is refused as -1 is.
      {"expect event 1 4294967296\n",
       "s.scn:1: expected an event value, a whole number from 0 to 4294967295, got \"4294967296\""},
      {"expect event -1 0\n", "s.scn:1: expected an event id, a whole number from 0 to 4294967295"},
      {"expect event 1.5 2\n", "s.scn:1: expected an event id"},
      {"update -0\n",
       "s.scn:1: expected a count of update cycles, a whole number from 0 to 1000000, got \"-0\""},
      {"wheel ADF 1 2 up 1000001\n",
       "s.scn:1: expected a count of wheel events, a whole number from 0 to 1000000"},
      {"expect nothing\n", "s.scn:1: expected what to expect: event, no-event"},
      {"expect element ADF 0 1\n",
       "s.scn:1: expected an element number, a whole number from 1 to 1000000, got \"0\""},
      {"expect element ADF 1 abc\n", "s.scn:1: expected a text in quotes or a number, got \"abc\""},
      {"wheel ADF 1 2 sideways\n", "s.scn:1: expected up or down, got \"sideways\""},
      {"log maybe\n", "s.scn:1: expected on or off, got \"maybe\""},
      {"update -1\n", "s.scn:1: expected a count of update cycles"},
      {"\"start\"\n", "s.scn:1: expected a command"},
      {"click ADF 1 2\"x\"\n", "s.scn:1: expected a blank before the opening quote"},
      {"expect tooltip ADF 1 2 \"x\"y\n", "s.scn:1: expected a blank after the closing quote"},
      {"start\npanel x.cfg\n", "s.scn:2: expected panel only as the first command"},
      {"sim com1.active -1\n", "s.scn:1: expected a frequency in MHz"},
      {"expect sim adf.ident yes\n", "s.scn:1: expected on or off, got \"yes\""},
  };
  for (const BadPanel& bad : cases) {
    EXPECT_THAT(errorOf([&] { panelhost::parseScript(bad.text, "s.scn"); }), HasSubstr(bad.message))
        << bad.text;
  }
}

// A key takes a value when the host's form of it spans the value at the precision the simulation
// keeps: COM and NAV as 16-bit BCD of 10 kHz steps, the ADF as five BCD digits of tenths of a kHz,
// the code as four octal digits. A value to set must be one the form carries (the 5-kHz digit only
// after a 2 or 7); a check may name any value in the span, and fails where the state differs.
TEST(ScenarioScript, SimKeysTakeWhatTheHostsFormsCarry) {
  enum Taken { Neither, CheckOnly, Both };
  const struct {
    const char* keyAndValue;
    Taken taken;
  } cases[] = {
      {"com1.active 100.000", Both},      {"com1.active 199.990", Both},
      {"com1.active 121.725", Both},      {"com1.active 121.775", Both},
      {"com1.active 121.7", Both},        {"com1.active 121.7254", Both},
      {"com1.active 121.720", CheckOnly}, {"com1.active 121.735", CheckOnly},
      {"com1.active 121.705", CheckOnly}, {"com1.active 99.990", Neither},
      {"com1.active 199.995", Neither},   {"com1.active 200.000", Neither},
      {"com1.active 999.999", Neither},   {"com1.active 0x79", Both},
      {"nav1.active 0.001", Neither},     {"nav1.active 108.05", Both},
      {"nav1.standby 117.95", Both},      {"nav1.standby -113.9", Neither},
      {"com1.standby 136.975", Both},     {"com1.standby 136.970", CheckOnly},
      {"adf.active 0.0", Both},           {"adf.active 9999.9", Both},
      {"adf.active 415.99", Both},        {"adf.active 9999.94", Both},
      {"adf.active 9999.95", Neither},    {"adf.active 10000", Neither},
      {"adf.active 99999", Neither},      {"adf.active -0.1", Neither},
      {"adf.active -5", Neither},         {"adf.active -0", Neither},
      {"xpdr.code 0000", Both},           {"xpdr.code 7777", Both},
      {"xpdr.code 7778", Neither},        {"xpdr.code 777", Neither},
      {"xpdr.code 07777", Neither},
  };
  for (const auto& c : cases) {
    for (const bool setting : {true, false}) {
      const std::string line = (setting ? "sim " : "expect sim ") + std::string(c.keyAndValue);
      const bool taken = c.taken == Both || (c.taken == CheckOnly && !setting);
      const std::string message = errorOf([&] { panelhost::parseScript(line + "\n", "s.scn"); });
      if (taken) {
        EXPECT_EQ(message, "no error") << line;
      } else {
        EXPECT_THAT(message, HasSubstr("s.scn:1: expected ")) << line;
      }
    }
  }
}

TEST(ShownText, EscapesWhatATerminalWouldNotShowAndCutsLongTexts) {
  const struct {
    std::string text;
    std::string shown;
  } cases[] = {
      {"COM Frequency swap", "\"COM Frequency swap\""},
      {std::string("a\0b", 3), "\"a\\x00b\""},
      {"\t\r\n\\\"\x1B\x7F\xC3\xA9", "\"\\t\\r\\n\\\\\\\"\\x1B\\x7F\\xC3\\xA9\""},
      {std::string(64, 'x'), "\"" + std::string(64, 'x') + "\""},
      {std::string(65, '\0'), "\"" + std::string(64, '@') + "...\" (65 bytes)"},
  };
  for (const auto& c : cases) {
    std::string wanted = c.shown;
    for (auto at = wanted.find('@'); at != std::string::npos; at = wanted.find('@')) {
      wanted.replace(at, 1, "\\x00");
    }
    EXPECT_EQ(panelhost::quotedText(c.text), wanted);
  }
}

// Whatever a file holds, the message that reports it shows it escaped, the NUL and what follows
// it included, and never longer than a few lines.
TEST(ShownText, MessagesOfTheReadersShowTheTextEscapedAndShortened) {
  const std::string huge(10000000, '7');
  const struct {
    std::function<void()> read;
    std::string ending;
  } cases[] = {
      {[] { panelhost::parseScript(std::string("squ\0awk 7700\n", 13), "s.scn"); },
       "got \"squ\\x00awk\""},
      {[&] { panelhost::parseScript("rate " + huge + "\n", "s.scn"); },
       "got \"" + huge.substr(0, 64) + "...\" (10000000 bytes)"},
      {[] { panelhost::parseScript("expect tooltip ADF 1 2 \"x\"\x01\n", "s.scn"); },
       "got \"\\x01\""},
      {[] { panelhost::parseScript(std::string("panel a\0b.cfg\n", 14), "s.scn"); },
       "s.scn:1: expected a panel file name (without a NUL byte, at most 4096 bytes), got "
       "\"a\\x00b.cfg\""},
      {[] { panelhost::parsePanelText("[Window00]\ngauge00=radios!ADF, \x1B[2J, 0\n", "p.cfg"); },
       "p.cfg:2: expected x (a whole number from -100000 to 100000), got \"\\x1B[2J\""},
  };
  for (const auto& c : cases) {
    const std::string message = errorOf(c.read);
    EXPECT_LT(message.size(), 400u);
    EXPECT_THAT(message, EndsWith(c.ending));
  }
}

}  // namespace
