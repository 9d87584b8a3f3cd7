// dx510diag: the transcript of healthy boards, the register accesses of one
// board in their order, and the faults its check reports.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "run_program.h"

namespace {

using testing_support::run;
using testing_support::trace_calls;
using testing_support::trace_lines;

const std::string kFoundOne = "DX-510を1枚検出しました。\n\n";
const std::string kBoard1 =
    "1番目に検出されたボードのチェックをします。\nボードID(2bH)は正常で、ボード番号設定は(0)です。\n";

const std::string kStatusesNormal =
    "リセット時のステータス(06H)は正常です。\n"
    "サンプリングスタート時のステータス(47H)は正常です。\n"
    "サンプリング終了時のステータス(c7H)は正常です。\n"
    "終了フラグクリア時のステータス(07H)は正常です。\n"
    "ＦＩＦＯクリア時のステータス(06H)は正常です。\n";

// A 1024-sample FIFO is half full at its 512th sample: the set-up's sampling
// and one in each of passes 0 to 510, so pass 511 sees it; the counter, preset
// 0xFFFF, has counted 512 down and reads 0xFDFF, and 0xFFFE - 0xFDFF = 511.
const std::string kCountNormal =
    "FIFO HALF = (511)です。\n"
    "ｶｳﾝﾀ値(511)を確認します。\n"
    "ｶｳﾝﾀ値は (511) 正常です。\n";

std::string one_board(const std::string& reads = "") { return "[[board]]\nslot = 0\nmodel = \"DX-510\"\n" + reads; }

std::string read_rule(int offset, const std::string& rest) {
  char head[64];
  std::snprintf(head, sizeof head, "[[board.read]]\noffset = 0x%02x\n", offset);
  return head + rest;
}

TEST(Dx510diag, TwoHealthyBoardsAreNormalThroughout) {
  const auto r = run({.program = "dx510diag"});
  EXPECT_EQ(r.out,
            "DX-510を2枚検出しました。\n\n" + kBoard1 + kStatusesNormal + kCountNormal + "\n" +
                "2番目に検出されたボードのチェックをします。\nボードID(2bH)は正常で、ボード番号設定は(0)です。\n" +
                kStatusesNormal + kCountNormal + "\n");
  EXPECT_EQ(r.status, 255);
  EXPECT_EQ(r.err, "");
}

// The trace of one board's accesses, one line per access (folded runs
// unfolded) and read results left out.
std::vector<std::string> accesses(const std::string& trace) {
  std::vector<std::string> out;
  for (std::string line : trace_calls(trace)) {
    if (line.rfind("ReadWord(", 0) == 0) line.erase(line.find(" = "));
    if (line.find("Word(") == std::string::npos && line.find("Byte") == std::string::npos) continue;
    out.push_back(line);
  }
  return out;
}

std::string R(int offset) {
  char s[48];
  std::snprintf(s, sizeof s, "ReadWord(0xd000, 0x%02x)", offset);
  return s;
}

std::string W(int offset, int value) {
  char s[48];
  std::snprintf(s, sizeof s, "WriteWord(0xd000, 0x%02x, 0x%x)", offset, value);
  return s;
}

TEST(Dx510diag, RegisterAccessesOfOneBoardInTheirOrder) {
  std::vector<std::string> expected = {
      R(0x1E),         R(0x08),  // board ID, board number switch
      R(0x18),                   // reset status
      W(0x1E, 1),      W(0x0C, 0x10),   W(0x0C, 0),      W(0x10, 0x80), W(0x12, 1), R(0x10),    R(0x10),
      R(0x18),  // sampling start status
      R(0x1E),         W(0x1E, 1),      W(0x0C, 0x10),   W(0x0C, 0),    W(0x0E, 5), W(0x0E, 0), W(0x10, 0x80),
      W(0x12, 3),
      R(0x18),  // sampling end status
      W(0x18, 0xC0),   R(0x18),         W(0x18, 1),      R(0x18),       R(0x1E),    W(0x1E, 1), W(0x0C, 0xFFFF),
      W(0x0C, 0xFFFF), W(0x0E, 0xFFFF), W(0x0E, 0xFFFF), W(0x10, 0x80), W(0x12, 3),
  };
  for (int pass = 0; pass <= 511; ++pass) {
    expected.push_back(R(0x18));
    if (pass == 511) expected.push_back(R(0x0E));  // the counter, where half full is seen
    for (const std::string& w : {W(0x10, 0), W(0x12, 0), W(0x10, 0x80), W(0x12, 3)}) expected.push_back(w);
  }
  const auto r = run({.program = "dx510diag", .bench = one_board()});
  EXPECT_EQ(accesses(r.trace), expected);
  EXPECT_EQ(trace_lines(r.trace, "Stop_Driver("), std::vector<std::string>{"Stop_Driver(0xd000) = 0"});
}

struct Fault {
  const char* what;
  std::string reads;  // [[board.read]] rules of the board
  std::string check;  // the board's output between the switch line and the frame's "\n"
};

const Fault kFaults[] = {
    {"0x46 where 0x47 is expected: reported, and the check goes on", read_rule(0x18, "after = 1\nvalues = [0x46]\n"),
     "リセット時のステータス(06H)は正常です。\n"
     "サンプリングスタート時のステータス(46H)は異常です。\n"
     "サンプリング終了時のステータス(c7H)は正常です。\n"
     "終了フラグクリア時のステータス(07H)は正常です。\n"
     "ＦＩＦＯクリア時のステータス(06H)は正常です。\n" +
         kCountNormal},
    {"every status bit counts", read_rule(0x18, "after = 2\nvalues = [0xC6, 0x87]\n"),
     "リセット時のステータス(06H)は正常です。\n"
     "サンプリングスタート時のステータス(47H)は正常です。\n"
     "サンプリング終了時のステータス(c6H)は異常です。\n"
     "終了フラグクリア時のステータス(87H)は異常です。\n"
     "ＦＩＦＯクリア時のステータス(06H)は正常です。\n" +
         kCountNormal},
    {"the status value is the low 8 bits of the word", read_rule(0x18, "values = [0xFF06]\n"),
     kStatusesNormal + kCountNormal},
    {"half full on the first pass: the counter reads 0xFFFE after the set-up's sampling, normal",
     read_rule(0x18, "after = 5\nvalues = [0xC5]\n"),
     kStatusesNormal + "FIFO HALF = (0)です。\nｶｳﾝﾀ値(0)を確認します。\nｶｳﾝﾀ値は (0) 正常です。\n"},
    {"half full on the first pass with the counter at 0xFFFD: expected 1, found 0",
     read_rule(0x18, "after = 5\nvalues = [0xC5]\n") + read_rule(0x0E, "value = 0xFFFD\n"),
     kStatusesNormal + "FIFO HALF = (0)です。\nｶｳﾝﾀ値(0)を確認します。\nｶｳﾝﾀ値は (1) 異常です。(0) \n"},
    {"the counter at 0xFFFF: expected -1, which no sampling count equals", read_rule(0x0E, "value = 0xFFFF\n"),
     kStatusesNormal + "FIFO HALF = (511)です。\nｶｳﾝﾀ値(511)を確認します。\nｶｳﾝﾀ値は (-1) 異常です。(511) \n"},
    {"a counter one count behind", read_rule(0x0E, "value = 0xFE00\n"),
     kStatusesNormal + "FIFO HALF = (511)です。\nｶｳﾝﾀ値(511)を確認します。\nｶｳﾝﾀ値は (510) 異常です。(511) \n"},
    {"never half full: no FIFO message, the board is stopped all the same",
     read_rule(0x18, "after = 5\nvalue = 0xC7\n"), kStatusesNormal},
};

TEST(Dx510diag, FaultsAreReportedAndTheCheckGoesOn) {
  for (const Fault& f : kFaults) {
    const auto r = run({.program = "dx510diag", .bench = one_board(f.reads)});
    EXPECT_EQ(r.out, kFoundOne + kBoard1 + f.check + "\n") << f.what;
    EXPECT_EQ(r.status, 255) << f.what;
    EXPECT_EQ(r.err, "") << f.what;
    EXPECT_EQ(trace_lines(r.trace, "Stop_Driver("), std::vector<std::string>{"Stop_Driver(0xd000) = 0"}) << f.what;
  }
}

TEST(Dx510diag, NeverHalfFullEndsAfter32769Passes) {
  const auto r = run({.program = "dx510diag", .bench = one_board(read_rule(0x18, "after = 5\nvalue = 0xC7\n"))});
  size_t status_reads = 0, samplings = 0;
  for (const std::string& a : accesses(r.trace)) {
    status_reads += a == R(0x18);
    samplings += a == W(0x12, 3);
  }
  EXPECT_EQ(status_reads, 5u + 32769u);
  EXPECT_EQ(samplings, 2u + 32769u) << "the second set-up's, the count set-up's, one per pass";
  EXPECT_EQ(accesses(r.trace).back(), W(0x12, 3));
  EXPECT_EQ(trace_lines(r.trace, "ReadWord(0xd000, 0x0e)").size(), 0u) << "the counter is never read";
}

}  // namespace
