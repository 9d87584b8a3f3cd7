// The dump of every member: on its board the whole output up to the
// end-or-adjust prompt, with the bench's scan pattern; and with the counting
// pattern, S x CH consecutive sequence numbers in channel order, so that no
// sample is lost, repeated or out of order across the two phases.
#include <gtest/gtest.h>

#include <string>

#include "expected.h"
#include "run_program.h"

namespace {

using namespace sampling_test;
using testing_support::run;

struct Member {
  const char* program;
  const char* model;
  std::string before_dump;  // the frame's texts and what follows them
  const char* keys;         // to the end
  int scans, ch;
  bool headers;  // vx428chk's board headers
};

// hm230chk's status trace: the board as the set-up leaves it (below half),
// then after the start write, whose pacer pulse converted one scan; the
// word board's status carries 0x12 in its high byte.
const std::string kStatusLines = "Status = 1202\nStatus = 12a3\n";

// clang-format off
const Member kMembers[] = {
  {"vx424chk", "VX-424", "VX-424 動作確認プログラムV1.2\nVX-424を1枚検出しました。\n",                 "E",   200, 32,  false},
  {"hm230chk", "VX-426", "HM-230 動作確認プログラムV1.2\nVX-426を1枚検出しました。\n" + kStatusLines,  "E",   200, 8,   false},
  {"vx412chk", "VX-412", "VX-412 動作確認プログラムV1.2\nVX-412を1枚検出しました。\n",                 "E",   200, 16,  false},
  {"vx420chk", "VX-420", "VX-420 動作確認プログラムV1.2\nVX-420を1枚検出しました。\n",                 "E",   200, 16,  false},
  {"vx416chk", "VX-416", "VX-416 動作確認プログラムV1.2\nVX-416を1枚検出しました。\n",                 "E",   200, 8,   false},
  {"vx422chk", "VX-422", "VX-422 動作確認プログラムV1.2\nVX-422を1枚検出しました。\n",                 "E",   200, 16,  false},
  {"vx414chk", "VX-414", "VX-414 動作確認プログラムV1.2\nVX-414を1枚検出しました。\n",                 "E",   200, 48,  false},
  {"vx410chk", "VX-410", "VX-410 動作確認プログラムV1.2\nVX-410を1枚検出しました。\n",                 "E",   200, 4,   false},
  // the count prompt ignores '0' and '9'; three XB-300: 384 channels
  {"vx428chk", "VX-428", "VX-428 動作確認プログラムV1.2\nVX-428を1枚検出しました。\n" + kCountPrompt, "093E", 20, 384, true},
  {"vx418chk", "VX-418", "VX-418 動作確認プログラムV1.2\nVX-418を1枚検出しました。\n",                 "E",   319, 16,  false},
  {"vx426chk", "VX-426", "VX-426 動作確認プログラムV1.2\nVX-426を1枚検出しました。\n",                 "E",   200, 8,   false},
};
// clang-format on

TEST(EveryMember, DumpsTheScanPattern) {
  for (const Member& m : kMembers) {
    const auto r = run({.program = m.program, .bench = one_board(m.model), .keys = m.keys});
    EXPECT_EQ(first_difference(r.out, m.before_dump + pattern_dump(m.scans, m.ch, m.headers) + kEndOrAdjust), "")
        << m.program;
    EXPECT_EQ(r.status, 0) << m.program;
    EXPECT_EQ(r.err, "") << m.program;
  }
}

TEST(EveryMember, CountingPatternShowsNoSampleLostRepeatedOrReordered) {
  for (const Member& m : kMembers) {
    const auto r = run({.program = m.program, .bench = one_board(m.model, "data = \"counting\"\n"), .keys = m.keys});
    const int ch = m.ch;
    const std::string dump = dump_of(m.scans, ch, m.headers, [ch](int scan, int k) { return scan * ch + k; });
    EXPECT_EQ(first_difference(r.out, m.before_dump + dump + kEndOrAdjust), "") << m.program;
    EXPECT_EQ(r.status, 0) << m.program;
  }
}

}  // namespace
