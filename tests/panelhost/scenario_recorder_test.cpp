// What the viewer's recorder writes, against the fake module: the header that says how to play
// the recording back, and a recording kept when the viewer stops on a failure.
#include "view/scenario_recorder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_run.h"
#include "panel/panel_file.h"

namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

panelhost::SessionOptions fakeOptions() {
  panelhost::SessionOptions options;
  options.moduleOverride = FAKE_MODULE_PATH;
  return options;
}

struct HeaderRow {
  panelhost::RecordingOrigin origin;
  const char* playBack;  // the header's command line after the script's name
};

class RecordingHeader : public ::testing::TestWithParam<HeaderRow> {};

TEST_P(RecordingHeader, NamesTheOptionsThatReproduceTheConditions) {
  const std::string file = testFolder() + "/header.scn";
  panelhost::PanelSession session(panelhost::builtInPanel(std::nullopt), fakeOptions());
  panelhost::ScenarioRecorder(file, session, GetParam().origin).stoppedEarly("no more");
  EXPECT_THAT(readFile(file), HasSubstr("#   panelhost run " + file + GetParam().playBack + "\n"));
}

panelhost::RecordingOrigin origin(std::optional<std::string> window, std::optional<int> fpuBits,
                                  panelhost::HeldAnswers answers) {
  panelhost::RecordingOrigin made;
  made.window = std::move(window);
  made.conditions.fpuBits = fpuBits;
  made.conditions.answers = answers;
  return made;
}

using panelhost::HeldAnswers;
INSTANTIATE_TEST_SUITE_P(
    ScenarioRecorder, RecordingHeader,
    ::testing::Values(HeaderRow{origin(std::nullopt, std::nullopt, HeldAnswers::kExact), ""},
                      HeaderRow{origin("Radios", 24, HeldAnswers::kBelow),
                                " --window \"Radios\" --fpu 24 --answers below"}));

TEST(ScenarioRecorder, AViewerStoppedByAFailureKeepsWhatWasRecordedAndItReplays) {
  const std::string folder = testFolder();
  writeFile(folder + "/fake.cfg", "[Window00]\ngauge00=fake!Fake, 0, 0\n");
  const std::string file = folder + "/stopped.scn";
  panelhost::RecordingOrigin made;
  made.panelFile = folder + "/fake.cfg";
  {
    panelhost::PanelSession session(panelhost::readPanelFile(*made.panelFile, std::nullopt),
                                    fakeOptions());
    panelhost::ScenarioRecorder recorder(file, session, made);
    recorder.record(panelhost::script::Start{}, [&] { session.start(); });
    session.advance(300);
    EXPECT_TRUE(recorder.stoppedEarly("the module faulted\nat 0x1000"));
  }
  const std::string recorded = readFile(file);
  EXPECT_THAT(
      recorded,
      EndsWith("advance 300\n# viewer stopped before the end: the module faulted at 0x1000\n"));

  panelhost::RunOptions options;
  options.moduleOverride = FAKE_MODULE_PATH;
  std::ostringstream out;
  EXPECT_EQ(panelhost::runScenarioFile(file, options, out), 0) << recorded << out.str();
  EXPECT_THAT(out.str(), EndsWith("1 passed, 0 failed\n"));
}

}  // namespace
