// Shared set-up of the unit library tests: each test starts with both
// libraries closed and their variables unset, and leaves them so.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "qai8_2k.h"
#include "qao4_2k.h"

class Units : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override {
    Reset();
    for (const std::string& path : written_) std::remove(path.c_str());
    written_.clear();
  }

  static void Reset() {
    // A close may be faulted by the unit file; the second one closes.
    for (int i = 0; i < 2; ++i) {
      Qai8_CloseDriver();
      Qao4_CloseDriver();
    }
    unsetenv("QAI8_UNITS");
    unsetenv("QAO4_UNITS");
  }

  // A fixture file under tests/platform/units/files/.
  static std::string Fixture(const std::string& name) { return std::string(UNITS_FILES_DIR) + "/" + name; }

  // Writes text into a file of the test's temporary directory, named after
  // the process so that tests running side by side never share a file.
  static std::string Write(const std::string& name, const std::string& text) {
    const std::string path = ::testing::TempDir() + "units-" + std::to_string(getpid()) + "-" + name;
    std::ofstream(path, std::ios::binary) << text;
    written_.push_back(path);
    return path;
  }

  static inline std::vector<std::string> written_;

  static void UseQai8(const std::string& path) { setenv("QAI8_UNITS", path.c_str(), 1); }
  static void UseQao4(const std::string& path) { setenv("QAO4_UNITS", path.c_str(), 1); }
};
