// Runs scenario text against the fake module, placed by a panel file beside the script.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "scenario/scenario_runner.h"

struct RunResult {
  int status;
  std::string output;
};

// A folder of this process's own: ctest runs tests side by side.
inline std::string testFolder() {
  std::string folder = ::testing::TempDir();
  if (!folder.empty() && folder.back() == '/') folder.pop_back();
  folder += "/panelhost-test-" + std::to_string(getpid());
  std::filesystem::create_directories(folder);
  return folder;
}

inline void writeFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// The script's first line is `panel fake.cfg`, so the body's line N is the script's line N + 1.
inline RunResult runFake(const std::string& body,
                         const std::string& panel =
                             "[Window00]\n"
                             "gauge00=fake!Fake, 0, 0\n"
                             "gauge01=fake!Bare, 0, 100\n",
                         const std::string& module = FAKE_MODULE_PATH) {
  const std::string folder = testFolder();
  writeFile(folder + "/fake.cfg", panel);
  const std::string script = folder + "/t.scn";
  writeFile(script, "panel fake.cfg\n" + body);
  panelhost::RunOptions options;
  options.moduleFolder = folder;
  options.moduleOverride = module;
  std::ostringstream out;
  const int status = panelhost::runScenarioFile(script, options, out);
  return {status, out.str()};
}

// "FILE:LINE: " for a line of the body.
inline std::string bodyLine(int line) {
  return testFolder() + "/t.scn:" + std::to_string(line + 1) + ": ";
}
