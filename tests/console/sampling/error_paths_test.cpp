// How a sampling run ends on a sampling error (the error mask in either
// phase, a FIFO overflowed by a slow driver) and when the sample buffer
// cannot be had: the whole output, the exit status, the stop write, and the
// buffer's calls, told on stderr by a memory library of the same name put
// first on the library path.
#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "expected.h"
#include "run_program.h"

namespace {

using namespace sampling_test;
using testing_support::run;
using testing_support::trace_calls;
using testing_support::trace_lines;

const std::string kRecording = "LD_LIBRARY_PATH=" MEMORY_STUB_DIR "/recording";
const std::string kNoMemory = "LD_LIBRARY_PATH=" MEMORY_STUB_DIR "/refuse_allocate";
const std::string kNoLock = "LD_LIBRARY_PATH=" MEMORY_STUB_DIR "/refuse_lock";

// The buffer's life on a path that had it: S x CH x 2 bytes, locked, unlocked,
// released. The Windows programs have the system's global memory built in:
// no library of the same name records or refuses their calls.
std::string buffer_calls(int bytes) {
  if (testing_support::windows_programs()) return "";
  return "allocate " + std::to_string(bytes) + "\nlock\nunlock\nrelease\n";
}
constexpr const char* kBuiltInMemory = "the Windows programs' memory block is built in";

std::string read_override(int offset, const std::string& values, int after = 0) {
  return "[[board.read]]\noffset = " + std::to_string(offset) + "\n" + values + "\nafter = " + std::to_string(after) +
         "\n";
}

// Status reads that give `n` times `value`, in a values list.
std::string times(int n, const char* value) {
  std::string list;
  for (int i = 0; i < n; ++i) list += std::string(value) + ", ";
  return list;
}

const std::string k424 = "VX-424 動作確認プログラムV1.2\nVX-424を1枚検出しました。\n";
const std::string k416 = "VX-416 動作確認プログラムV1.2\nVX-416を1枚検出しました。\n";
const std::string k412 = "VX-412 動作確認プログラムV1.2\nVX-412を1枚検出しました。\n";
const std::string k418 = "VX-418 動作確認プログラムV1.2\nVX-418を1枚検出しました。\n";
const std::string k410 = "VX-410 動作確認プログラムV1.2\nVX-410を1枚検出しました。\n";
const std::string k426 = "VX-426 動作確認プログラムV1.2\nVX-426を1枚検出しました。\n";
const std::string k230 = "HM-230 動作確認プログラムV1.2\nVX-426を1枚検出しました。\n";
const std::string k428 = "VX-428 動作確認プログラムV1.2\nVX-428を1枚検出しました。\n" + kCountPrompt;

struct ErrorPath {
  const char* what;
  const char* program;
  std::string bench;
  const char* keys;
  std::string out;
  std::string stop;  // the last register write of the run
  int blocks;        // block reads before the error
  int bytes;         // of the sample buffer
};

const std::string kByteStop = "WriteByte(0xd000, 0x03, 0x0)";
const std::string kWordStop = "WriteWord(0xd000, 0x06, 0x0)";

// clang-format off
const ErrorPath kPaths[] = {
  {"full flag in the half-block phase: no data read", "vx424chk",
   one_board("VX-424", read_override(0x05, "value = 0x04")), "",
   k424 + kHalfBlockError, kByteStop, 0, 12800},
  {"full flag in the scan phase, tested before the sampling flag", "vx424chk",
   one_board("VX-424", read_override(0x05, "values = [" + times(12, "0x01") + "0x84]")), "",
   k424 + kScanError, kByteStop, 12, 12800},
  {"vx416chk's own half-block text", "vx416chk",
   one_board("VX-416", read_override(0x05, "value = 0x04")), "",
   k416 + "Sampling Error !!\n", kByteStop, 0, 3200},
  {"word map", "vx418chk",
   one_board("VX-418", read_override(0x0A, "value = 0x0004")), "",
   k418 + kHalfBlockError, kWordStop, 0, 10208},
  {"list board: the bit-3 wait passes, the half-block poll stops", "vx412chk",
   one_board("VX-412", read_override(0x0A, "value = 0x0004")), "",
   k412 + kHalfBlockError, kWordStop, 0, 6400},
  {"VX-410: bit 0x0400 in the scan phase, stopped at the trigger control", "vx410chk",
   one_board("VX-410", read_override(0x0A, "value = 0x0400")), "",
   k410 + kScanError, kWordStop, 0, 1600},
  {"VX-428 in the half-block phase", "vx428chk",
   one_board("VX-428", read_override(0x05, "value = 0x04")), "2",
   k428 + kHalfBlockError, kByteStop, 0, 10240},
  {"hm230chk: the status that hit, before the text", "hm230chk",
   one_board("VX-426", read_override(0x0A, "value = 0x0004", 2)), "",
   k230 + "Status = 1202\nStatus = 12a3\nStatus = 4\n" + kHalfBlockError, kWordStop, 0, 3200},
  {"hm230chk in the scan phase", "hm230chk",
   one_board("VX-426", read_override(0x0A, "values = [" + times(3, "0x0001") + "0x0085]", 2)), "",
   k230 + "Status = 1202\nStatus = 12a3\nStatus = 85\n" + kScanError, kWordStop, 3, 3200},
  {"a slow driver: the FIFO overflows during a half block", "vx424chk",
   "[driver]\naccess_ns = 10000\n" + one_board("VX-424"), "",
   k424 + kHalfBlockError, kByteStop, -1, 12800},
  {"a slow driver: single scans fall behind the 111 kHz pacer", "vx426chk",
   "[driver]\naccess_ns = 1500\n" + one_board("VX-426"), "",
   k426 + kScanError, kWordStop, -1, 3200},
};
// clang-format on

TEST(SamplingError, StopWriteTextStatusOneBufferReleased) {
  for (const ErrorPath& c : kPaths) {
    const auto r = run({.program = c.program, .bench = c.bench, .keys = c.keys, .env = {kRecording}});
    EXPECT_EQ(r.out, c.out) << c.what;
    EXPECT_EQ(r.status, 1) << c.what;
    EXPECT_EQ(r.err, buffer_calls(c.bytes)) << c.what;
    const auto writes = trace_lines(r.trace, "Write");
    ASSERT_FALSE(writes.empty()) << c.what;
    EXPECT_EQ(writes.back(), c.stop) << c.what;
    const std::string block = c.program == std::string("vx424chk") || c.program == std::string("vx416chk") ||
                                      c.program == std::string("vx428chk")
                                  ? "ReadByteBlock("
                                  : "ReadWordBlock(";
    if (c.blocks >= 0) {
      const auto calls = trace_calls(r.trace);
      EXPECT_EQ(
          std::count_if(calls.begin(), calls.end(), [&](const std::string& line) { return line.rfind(block, 0) == 0; }),
          c.blocks)
          << c.what;
    }
    EXPECT_TRUE(trace_lines(r.trace, "Close_Driver").empty()) << c.what << ": the driver stays open";
  }
}

TEST(SamplingError, NoneOnAHealthyBenchAtTheDefaultAccessCost) {
  // the fastest pacers: 111 kHz x 8 channels (vx426chk, hm230chk), 83.3 kHz x 4 (vx410chk)
  for (const char* program : {"vx426chk", "hm230chk", "vx410chk", "vx416chk"}) {
    const auto r = run({.program = program, .keys = "E", .env = {kRecording}});
    EXPECT_EQ(r.status, 0) << program;
    EXPECT_EQ(r.out.find("Error"), std::string::npos) << program;
  }
}

struct NoBuffer {
  const char* program;
  const char* model;
  const char* keys;
  std::string frame;
  int bytes;
  std::string start;  // the start write, which must not come
};

// clang-format off
const NoBuffer kNoBuffer[] = {
  {"vx424chk", "VX-424", "",  k424, 12800, "WriteByte(0xd000, 0x03, 0x81)"},
  {"hm230chk", "VX-426", "",  k230, 3200,  "WriteWord(0xd000, 0x06, 0x81)"},   // no status line either
  {"vx428chk", "VX-428", "8", k428, 40960, "WriteByte(0xd000, 0x03, 0x81)"},
  {"vx410chk", "VX-410", "",  k410, 1600,  "WriteWord(0xd000, 0x06, 0x80)"},
};
// clang-format on

TEST(SampleBuffer, NotEnoughMemoryWhenItCannotBeAllocated) {
  if (testing_support::windows_programs()) GTEST_SKIP() << kBuiltInMemory;
  for (const NoBuffer& c : kNoBuffer) {
    const auto r = run({.program = c.program, .bench = one_board(c.model), .keys = c.keys, .env = {kNoMemory}});
    EXPECT_EQ(r.out, c.frame + "Not enough memory.\n") << c.program;
    EXPECT_EQ(r.status, 255) << c.program;
    EXPECT_EQ(r.err, "allocate " + std::to_string(c.bytes) + "\n") << c.program;
    EXPECT_TRUE(trace_lines(r.trace, c.start).empty()) << c.program << ": no start write";
    EXPECT_FALSE(trace_lines(r.trace, "Write").empty()) << c.program << ": the set-up writes come first";
    EXPECT_TRUE(trace_lines(r.trace, "Close_Driver").empty()) << c.program;
  }
}

TEST(SampleBuffer, NotEnoughMemoryWhenItCannotBeLockedAndReleased) {
  if (testing_support::windows_programs()) GTEST_SKIP() << kBuiltInMemory;
  const auto r = run({.program = "vx424chk", .bench = one_board("VX-424"), .env = {kNoLock}});
  EXPECT_EQ(r.out, k424 + "Not enough memory.\n");
  EXPECT_EQ(r.status, 255);
  EXPECT_EQ(r.err, "allocate 12800\nlock\nrelease\n");
  EXPECT_TRUE(trace_lines(r.trace, "WriteByte(0xd000, 0x03, 0x81)").empty());
}

TEST(SampleBuffer, ReleasedAfterTheDumpBeforeAdjustmentMode) {
  if (testing_support::windows_programs()) GTEST_SKIP() << kBuiltInMemory;
  // the end-or-adjust prompt comes after the release: the stub's last line
  // is written before the program waits for its key, which never comes
  const auto r = run({.program = "vx420chk", .keys = "", .env = {kRecording}});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err.substr(0, buffer_calls(6400).size()), buffer_calls(6400));
}

}  // namespace
