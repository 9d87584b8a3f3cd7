// Helpers of the bench tests: bench files written into a scratch directory,
// the environment set for one Open_Driver, traces read back.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "regio32.h"
#include "run_program.h"

namespace regio_test {

// Removed with its files when the test process ends.
inline std::string scratch_dir() { return testing_support::scratch_dir(); }

inline std::string write_file(const std::string& name, const std::string& text) {
  const std::string path = scratch_dir() + "/" + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

inline std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The bench's virtual clock in microseconds, after advancing it by advance_us.
inline uint64_t clock_us(uint64_t advance_us) { return Regio_Clock_ns(advance_us * 1000) / 1000; }

// One driver session on a bench given as text (empty: no REGIO_BENCH).
class Bench : public ::testing::Test {
 protected:
  int32_t table[REGIO_SLOTS] = {-1, -1, -1, -1, -1, -1, -1, -1};
  std::string trace_path;

  void TearDown() override {
    Close_Driver();
    unsetenv("REGIO_BENCH");
    unsetenv("REGIO_TRACE");
  }

  int32_t open(const std::string& text, bool traced = false) {
    Close_Driver();
    const std::string path =
        write_file(std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".toml", text);
    setenv("REGIO_BENCH", path.c_str(), 1);
    if (traced) {
      trace_path = scratch_dir() + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".trace";
      setenv("REGIO_TRACE", trace_path.c_str(), 1);
    } else {
      unsetenv("REGIO_TRACE");
    }
    for (int32_t& slot : table) slot = -1;
    return Open_Driver(table);
  }

  // Opens a bench and starts the board in `slot`; returns its I/O base.
  int32_t start(const std::string& text, int32_t slot = 0) {
    EXPECT_EQ(open(text), 0);
    int32_t base = 0;
    EXPECT_EQ(Start_Driver(slot, 2, &base), 0);
    return base;
  }

  std::string trace_text() {
    Close_Driver();
    return read_file(trace_path);
  }
};

inline std::string one_board(const std::string& model, const std::string& extra = "") {
  return "[[board]]\nslot = 0\nmodel = \"" + model + "\"\n" + extra;
}

}  // namespace regio_test
