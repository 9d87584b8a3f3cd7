// The driver trace of a whole run stays small enough to read: a self-test
// drains millions of samples on an HM board, one data read and one status
// read at a time, and the trace folds them; what changes (every write, every
// new status value) keeps its line. The trace is complete when the program
// ends, through the close-and-exit routine or a signal.
#include <gtest/gtest.h>

#include <string>

#include "run_program.h"

namespace {

using testing_support::run;

struct Program {
  const char* name;
  const char* keys;  // to the end of a sampling check
};

const Program kPrograms[] = {
    {"hm236diag", ""}, {"vx420diag", ""}, {"vx414diag", ""},  {"vx424diag", ""}, {"hm230diag", ""},
    {"vx412diag", ""}, {"vx418diag", ""}, {"vx424bdiag", ""}, {"vx416diag", ""}, {"hm232diag", ""},
    {"hm234diag", ""}, {"vx410diag", ""}, {"vx422diag", ""},  {"dx510diag", ""}, {"vx424chk", "E"},
    {"hm230chk", "E"}, {"vx412chk", "E"}, {"vx420chk", "E"},  {"vx416chk", "E"}, {"vx422chk", "E"},
    {"vx414chk", "E"}, {"vx410chk", "E"}, {"vx428chk", "8E"}, {"vx418chk", "E"}, {"vx426chk", "E"},
};

constexpr size_t kFewMegabytes = 2u << 20;

TEST(Trace, EveryProgramOnItsDefaultBenchStaysSmall) {
  for (const Program& p : kPrograms) {
    const auto r = run({.program = p.name, .keys = p.keys});
    EXPECT_GT(r.trace.size(), 0u) << p.name;
    EXPECT_LT(r.trace.size(), kFewMegabytes) << p.name;
    EXPECT_EQ(r.trace.back(), '\n') << p.name;
  }
}

// hm230diag's FIFO count on the HM-230-16MW drains 16M words: the trace shows
// the flag clear, each status value the drain passes through (full, below
// half, empty) and the end. The data reads show their first and last
// sample: the full sampling's first scan is scan 23 (after the manual
// sampling's and the clock runs' 1 + 11 + 11), 8 channels a scan, so sample
// k reads ((23 + k / 8) mod 16) << 12 | k mod 8: samples 0 and 8388608 read
// 0x7000, sample 8388609 reads 0x7001 and the last, 16777215, 0x6007.
TEST(Trace, DrainOfABoardMemoryKeepsEveryNewStatusValue) {
  const auto r = run({.program = "hm230diag", .bench = "[[board]]\nslot = 0\nmodel = \"HM-230-16MW\"\n"});
  const std::string tail = r.trace.substr(r.trace.find("WriteWord(0xd000, 0x0a, 0xa4)\n"));
  EXPECT_EQ(tail,
            "WriteWord(0xd000, 0x0a, 0xa4)\n"
            "{\n"
            "ReadWord(0xd000, 0x0a) = 0x1201\n"
            "ReadWord(0xd000, 0x00) = 0x7000 .. 0x7000\n"
            "} [x 8388609]\n"
            "{\n"
            "ReadWord(0xd000, 0x0a) = 0x1203\n"
            "ReadWord(0xd000, 0x00) = 0x7001 .. 0x6007\n"
            "} [x 8388607]\n"
            "ReadWord(0xd000, 0x0a) = 0x1202 [x 2]\n"
            "Stop_Driver(0xd000) = 0\n"
            "Close_Driver() = 0\n");
}

}  // namespace
