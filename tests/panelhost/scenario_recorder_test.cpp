// What the viewer's recorder writes, against the fake module.
#include "view/scenario_recorder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_run.h"
#include "panel/panel_file.h"

namespace {

using ::testing::EndsWith;

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

panelhost::SessionOptions fakeOptions() {
  panelhost::SessionOptions options;
  options.moduleOverride = FAKE_MODULE_PATH;
  return options;
}

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
