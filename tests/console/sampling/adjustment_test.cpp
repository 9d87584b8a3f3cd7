// Adjustment mode through keys on standard input, in each style: keys that
// are ignored, the key that stops a display (judged in the group styles,
// consumed in the start-key style), vx428chk's range message and absolute
// channel numbers, and a sampling error in a pass. With keys from a file a
// key is always waiting, so every display shows exactly one pass.
//
// The boards' inputs are set so that channel i reads 0x8000 + i.
#include <gtest/gtest.h>

#include <string>

#include "expected.h"
#include "run_program.h"

namespace {

using namespace sampling_test;
using testing_support::run;

std::string line(int first, int count) { return adjust_line(first, count, numbered_code); }

struct Session {
  const char* what;
  const char* program;
  std::string bench;
  const char* keys;
  std::string after_prompt;  // everything after the end-or-adjust prompt
  int status;
};

// clang-format off
const Session kSessions[] = {
  // group style
  {"group style: a stopping digit brings the prompt back, 'e' ends", "vx424chk",
   one_board("VX-424", numbered_inputs(0, 32)), "xC910" "0e",
   kGroupPrompt424 + kGroupPrompt424 + line(16, 16) + kGroupPrompt424 + line(0, 16), 0},
  {"group style: 'E' stops the display and ends", "vx424chk",
   one_board("VX-424", numbered_inputs(0, 32)), "C1E",
   kGroupPrompt424 + line(16, 16), 0},
  {"group style: a key outside the groups", "vx424chk",
   one_board("VX-424", numbered_inputs(0, 32)), "C2E",
   kGroupPrompt424 + kGroupPrompt424, 0},
  {"vx414chk: sixteen lines a pass", "vx414chk",
   one_board("VX-414", numbered_inputs(32, 16)), "C2E",
   kGroupPrompt414 + line(32, 16) + line(32, 16) + line(32, 16) + line(32, 16) + line(32, 16) + line(32, 16) +
       line(32, 16) + line(32, 16) + line(32, 16) + line(32, 16) + line(32, 16) + line(32, 16) + line(32, 16) +
       line(32, 16) + line(32, 16) + line(32, 16), 0},
  // start-key style
  {"start-key style: keys before S are ignored, the stopping key ends", "vx420chk",
   one_board("VX-420", numbered_inputs(0, 16)), "CxeS" "q",
   kStartPrompt + line(0, 16), 0},
  {"start-key style, VX-410: four channels", "vx410chk",
   one_board("VX-410", numbered_inputs(0, 4)), "cs" "E",
   kStartPrompt + line(0, 4), 0},
  // board-and-group style
  {"vx428chk: boards beyond the count, keys that are no board, channels by their own numbers", "vx428chk",
   one_board("VX-428", numbered_inputs(304, 16)), "E3" "C" "98E5" "2" "3" "x" "1" "E",
   kBoardPrompt + kBoardPrompt + kBoardPrompt + kBoardPrompt + kRangeMessage + kBoardPrompt + kGroupPrompt428 +
       line(304, 16) + kBoardPrompt + kGroupPrompt428, 0},
  {"vx428chk: a stopping 'E' ends at once", "vx428chk",
   one_board("VX-428", numbered_inputs(304, 16)), "3" "C" "2" "3" "E",
   kBoardPrompt + kGroupPrompt428 + line(304, 16), 0},
};
// clang-format on

TEST(AdjustmentMode, KeySessions) {
  for (const Session& s : kSessions) {
    const auto r = run({.program = s.program, .bench = s.bench, .keys = s.keys});
    const size_t prompt = r.out.find(kEndOrAdjust);
    ASSERT_NE(prompt, std::string::npos) << s.what << "\n" << r.out;
    EXPECT_EQ(r.out.substr(prompt + kEndOrAdjust.size()), s.after_prompt) << s.what;
    EXPECT_EQ(r.status, s.status) << s.what << "\n" << r.err;
    EXPECT_EQ(r.err, "") << s.what;
  }
}

// Status reads that first let the run through (half blocks, then single
// scans), then show the full flag in the adjust pass.
std::string error_in_the_pass(const std::string& model, int offset, int half_blocks, int scans, int before_pass) {
  std::string values;
  for (int i = 0; i < half_blocks; ++i) values += "0x01, ";
  for (int i = 0; i < scans; ++i) values += "0x81, ";
  for (int i = 0; i < before_pass; ++i) values += "0x00, ";
  return one_board(model, "[[board.read]]\noffset = " + std::to_string(offset) + "\nvalues = [" + values + "0x04]\n");
}

struct PassError {
  const char* what;
  const char* program;
  std::string bench;
  const char* keys;
  std::string after_prompt;
  int status;
};

// clang-format off
const PassError kPassErrors[] = {
  {"vx414chk ends with status 1, without another prompt", "vx414chk",
   error_in_the_pass("VX-414", 0x0A, 21, 0, 1), "C0E",  // the set-up's and the pass's bit-3 waits read 0x01 / 0x00
   kGroupPrompt414 + kScanError, 1},
  {"group style: the error stays on screen, a fresh key goes on", "vx424chk",
   error_in_the_pass("VX-424", 0x05, 12, 8, 0), "C1" "x" "E",
   kGroupPrompt424 + kScanError + kGroupPrompt424, 0},
  {"start-key style: a fresh key ends", "vx420chk",
   error_in_the_pass("VX-420", 0x05, 6, 8, 0), "CS" "z",
   kStartPrompt + kScanError, 0},
  {"start-key style: it waits for that key", "vx420chk",
   error_in_the_pass("VX-420", 0x05, 6, 8, 0), "CS",
   kStartPrompt + kScanError, 2},
  {"board-and-group style: back to the board prompt", "vx428chk",
   error_in_the_pass("VX-428", 0x05, 5, 0, 0), "1C00" "x" "0E",
   kBoardPrompt + kGroupPrompt428 + kScanError + kBoardPrompt + kGroupPrompt428, 0},
};
// clang-format on

TEST(AdjustmentMode, SamplingErrorInAPass) {
  for (const PassError& c : kPassErrors) {
    const auto r = run({.program = c.program, .bench = c.bench, .keys = c.keys});
    const size_t prompt = r.out.find(kEndOrAdjust);
    ASSERT_NE(prompt, std::string::npos) << c.what << "\n" << r.out;
    EXPECT_EQ(r.out.substr(prompt + kEndOrAdjust.size()), c.after_prompt) << c.what;
    EXPECT_EQ(r.status, c.status) << c.what << "\n" << r.err;
  }
}

}  // namespace
