// The end paths of the frame: last message, exit status (-1 is 255), and the
// driver's control calls, Close_Driver exactly where each path has it.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "run_program.h"
#include "transcript.h"

namespace {

using testing_support::run;
using testing_support::trace_lines;

// A self-test's stages on a healthy board of its model.
std::string healthy(const char* program, const char* model) {
  return selftest_text::stages(selftest_text::healthy(program, model));
}

struct EndPath {
  const char* what;
  const char* program;
  std::vector<std::string> args;
  std::optional<std::string> bench;
  std::string out;
  int status;
  std::vector<std::string> control;  // Open_, Start_, Stop_ and Close_Driver lines of the trace
  std::string keys = {};
};

std::vector<std::string> control_calls(const std::string& trace) {
  std::vector<std::string> calls;
  for (const auto& line : trace_lines(trace)) {
    if (line.find("_Driver(") != std::string::npos) calls.push_back(line);
  }
  return calls;
}

const char* const kOpen2 = "Open_Driver() = 0 [0x10a 0x10a -1 -1 -1 -1 -1 -1]";

const char kTwoVx424[] = R"(
[[board]]
slot = 0
model = "VX-424"
[[board]]
slot = 1
model = "VX-424"
)";

const std::string kTitle424 = "VX-424 動作確認プログラムV1.2\n";
const std::string kFound424 = kTitle424 + "VX-424を2枚検出しました。\n";
const std::string kDiag424 = "VX-424 動作確認プログラムV1.3\n";

// vx424chk's stages on a healthy board, to the key 'E': the dump of the
// bench's scan pattern (channel k of scan r reads (r mod 16) << 12 | k), 200
// scans of 32 channels, then the end-or-adjust prompt.
std::string vx424_stages() {
  std::string text;
  for (int r = 0; r < 200; ++r) {
    for (int k = 0; k < 32; ++k) {
      char code[8];
      std::snprintf(code, sizeof code, "%04x ", (r % 16) << 12 | k);
      text += code;
    }
    text += "\n";
  }
  return text + "\n調整を行う場合は\"C/c\"キーを、終了する場合は\"E/e\"キーを押して下さい。\n";
}

// clang-format off
const EndPath kSingleBoard[] = {
    {"two arguments: usage, nothing opened", "vx424chk", {"1", "2"}, kTwoVx424,
     kTitle424 + "USAGE: vx424chk board_no\n", 255, {}},
    {"three arguments", "vx418chk", {"a", "b", "c"}, std::nullopt,
     "VX-418 動作確認プログラムV1.2\nUSAGE: vx418chk board_no\n", 255, {}},
    {"Open_Driver fails: no Close_Driver", "vx424chk", {}, "[driver]\nopen = -3\n",
     kTitle424 + "Open_Driverでエラー(-3)が発生しました。\n", 255, {"Open_Driver() = -3"}},
    {"no board of the device code", "vx424chk", {}, "[[board]]\nslot = 2\nmodel = \"VX-420\"\n",
     kTitle424 + "VX-424が検出できません。\n", 255,
     {"Open_Driver() = 0 [-1 -1 0x107 -1 -1 -1 -1 -1]", "Close_Driver() = 0"}},
    {"board_no equal to the count", "vx424chk", {"2"}, kTwoVx424,
     kFound424 + "board_noの指定が誤っています。", 255, {kOpen2, "Close_Driver() = 0"}},
    {"negative board_no", "vx424chk", {"-1"}, kTwoVx424,
     kFound424 + "board_noの指定が誤っています。", 255, {kOpen2, "Close_Driver() = 0"}},
    {"board_no without an integer", "vx424chk", {"abc"}, kTwoVx424,
     kFound424 + "board_noの指定が誤っています。", 255, {kOpen2, "Close_Driver() = 0"}},
    {"empty board_no", "vx424chk", {""}, kTwoVx424,
     kFound424 + "board_noの指定が誤っています。", 255, {kOpen2, "Close_Driver() = 0"}},
    {"board_no beyond 32 bits", "vx424chk", {"4294967296"}, kTwoVx424,
     kFound424 + "board_noの指定が誤っています。", 255, {kOpen2, "Close_Driver() = 0"}},
    {"board_no with a sign and spaces", "vx424chk", {" +1"}, kTwoVx424, kFound424 + vx424_stages(), 0,
     {kOpen2, "Start_Driver(1, 2) = 0 io_base=0xd100"}, "E"},
    {"board_no with trailing text", "vx424chk", {"1x"}, kTwoVx424, kFound424 + vx424_stages(), 0,
     {kOpen2, "Start_Driver(1, 2) = 0 io_base=0xd100"}, "E"},
    {"Start_Driver fails", "vx424chk", {}, R"(
[[board]]
slot = 0
model = "VX-424"
start = 7
)", kTitle424 + "VX-424を1枚検出しました。\nStart_Driverでエラー(7)が発生しました。\n", 255,
     {"Open_Driver() = 0 [0x10a -1 -1 -1 -1 -1 -1 -1]", "Start_Driver(0, 2) = 7", "Close_Driver() = 0"}},
    {"board ID mismatch", "vx424chk", {"1"}, R"(
[[board]]
slot = 0
model = "VX-424"
[[board]]
slot = 1
model = "VX-424"
board_id = 0x12
)", kFound424 + "ボードID(=12H)が異常です。\n", 255,
     {kOpen2, "Start_Driver(1, 2) = 0 io_base=0xd100", "Close_Driver() = 0"}},
    {"word board ID mismatch", "vx418chk", {}, R"(
[[board]]
slot = 4
model = "VX-418"
board_id = 0x0114
)", "VX-418 動作確認プログラムV1.2\nVX-418を1枚検出しました。\nボードID(=114H)が異常です。\n", 255,
     {"Open_Driver() = 0 [-1 -1 -1 -1 0x201 -1 -1 -1]", "Start_Driver(4, 2) = 0 io_base=0xd400",
      "Close_Driver() = 0"}},
    {"Close_Driver fails after the last message", "vx424chk", {}, "[driver]\nclose = 5\n",
     kTitle424 + "VX-424が検出できません。\nClose_Driverでエラー(5)が発生しました。\n", 255,
     {"Open_Driver() = 0 [-1 -1 -1 -1 -1 -1 -1 -1]", "Close_Driver() = 5"}},
    {"only slot 5 among other models: board 0 is slot 5", "vx424chk", {}, R"(
[[board]]
slot = 0
model = "VX-420"
[[board]]
slot = 3
model = "DX-510"
[[board]]
slot = 5
model = "VX-424B"
)", kTitle424 + "VX-424を1枚検出しました。\n" + vx424_stages(), 0,
     {"Open_Driver() = 0 [0x107 -1 -1 0x111 -1 0x10a -1 -1]", "Start_Driver(5, 2) = 0 io_base=0xd500"}, "E"},
};
// clang-format on

const char kThreeVx424SecondBad[] = R"(
[[board]]
slot = 1
model = "VX-424"
[[board]]
slot = 4
model = "VX-424"
board_id = 0x12
[[board]]
slot = 6
model = "VX-424"
)";

// What dx510diag's check prints for a healthy board, between the switch line
// and the frame's blank line.
const std::string kDx510Check =
    "リセット時のステータス(06H)は正常です。\n"
    "サンプリングスタート時のステータス(47H)は正常です。\n"
    "サンプリング終了時のステータス(c7H)は正常です。\n"
    "終了フラグクリア時のステータス(07H)は正常です。\n"
    "ＦＩＦＯクリア時のステータス(06H)は正常です。\n"
    "FIFO HALF = (511)です。\n"
    "ｶｳﾝﾀ値(511)を確認します。\n"
    "ｶｳﾝﾀ値は (511) 正常です。\n";

// clang-format off
const EndPath kBoardLoop[] = {
    {"Open_Driver fails", "vx424diag", {}, "[driver]\nopen = 12\n",
     kDiag424 + "Open_Driverでエラー(12)が発生しました。\n", 255, {"Open_Driver() = 12"}},
    {"no board", "hm236diag", {}, "[[board]]\nslot = 0\nmodel = \"VX-424\"\n",
     "HM-236/VX-428 動作確認プログラムV1.4\nHMボードメモリカウント対応版\nVX-428が検出できません。\n", 255,
     {"Open_Driver() = 0 [0x10a -1 -1 -1 -1 -1 -1 -1]", "Close_Driver() = 0"}},
    {"arguments are ignored", "vx420diag", {"7", "8", "9"}, "[[board]]\nslot = 7\nmodel = \"VX-420\"\n",
     "VX-420を1枚検出しました。\n" "1枚目のボードのチェックをします。\n"
     "ボードID(0eH)は正常で、ボード番号設定は(0)です。\n" + healthy("vx420diag", "VX-420"), 255,
     {"Open_Driver() = 0 [-1 -1 -1 -1 -1 -1 -1 0x107]", "Start_Driver(7, 2) = 0 io_base=0xd700",
      "Stop_Driver(0xd700) = 0", "Close_Driver() = 0"}},
    {"mismatch on the second of three boards: the third is never started", "vx424diag", {},
     kThreeVx424SecondBad,
     kDiag424 + "VX-424を3枚検出しました。\n" "1枚目のボードのチェックをします。\n"
     "ボードID(11H)は正常で、ボード番号設定は(0)です。\n" + healthy("vx424diag", "VX-424") +
     "2枚目のボードのチェックをします。\n" "ボードID(=12H)は異常です。\n", 255,
     {"Open_Driver() = 0 [-1 0x10a -1 -1 0x10a -1 0x10a -1]", "Start_Driver(1, 2) = 0 io_base=0xd100",
      "Stop_Driver(0xd100) = 0", "Start_Driver(4, 2) = 0 io_base=0xd400", "Close_Driver() = 0"}},
    {"Start_Driver fails on the second board", "vx416diag", {}, R"(
[[board]]
slot = 0
model = "VX-416"
switch = 0x09
[[board]]
slot = 1
model = "VX-416"
start = -2
)", "VX-416 動作確認プログラムV1.3\nVX-416を2枚検出しました。\n" "1枚目のボードのチェックをします。\n"
     "ボードID(2aH)は正常で、ボード番号設定は(9)です。\n" + healthy("vx416diag", "VX-416") +
     "2枚目のボードのチェックをします。\n" "Start_Driverでエラー(-2)が発生しました。\n", 255,
     {"Open_Driver() = 0 [0x110 0x110 -1 -1 -1 -1 -1 -1]", "Start_Driver(0, 2) = 0 io_base=0xd000",
      "Stop_Driver(0xd000) = 0", "Start_Driver(1, 2) = -2", "Close_Driver() = 0"}},
    {"Stop_Driver fails", "vx418diag", {}, R"(
[[board]]
slot = 2
model = "VX-418"
stop = 9
[[board]]
slot = 3
model = "VX-418"
)", "VX-418 動作確認プログラムV1.3\nVX-418を2枚検出しました。\n" "1枚目のボードのチェックをします。\n"
     "ボードID(14H)は正常で、ボード番号設定は(0)です。\n" + healthy("vx418diag", "VX-418") +
     "Stop_Driverでエラー(9)が発生しました。\n", 255,
     {"Open_Driver() = 0 [-1 -1 0x201 0x201 -1 -1 -1 -1]", "Start_Driver(2, 2) = 0 io_base=0xd200",
      "Stop_Driver(0xd200) = 9", "Close_Driver() = 0"}},
    {"Close_Driver fails after the last board", "vx422diag", {}, R"(
[driver]
close = -7
[[board]]
slot = 0
model = "VX-422"
)", "VX-422 動作確認プログラムV1.3\nVX-422を1枚検出しました。\n" "1枚目のボードのチェックをします。\n"
     "ボードID(0fH)は正常で、ボード番号設定は(0)です。\n" + healthy("vx422diag", "VX-422") +
     "Close_Driverでエラー(-7)が発生しました。\n", 255,
     {"Open_Driver() = 0 [0x108 -1 -1 -1 -1 -1 -1 -1]", "Start_Driver(0, 2) = 0 io_base=0xd000",
      "Stop_Driver(0xd000) = 0", "Close_Driver() = -7"}},
    {"the switch shows its bits 0 to 3 only", "vx410diag", {}, R"(
[[board]]
slot = 0
model = "VX-410"
switch = 0xfff7
)", "VX-410 動作確認プログラムV1.3\nVX-410を1枚検出しました。\n" "1枚目のボードのチェックをします。\n"
     "ボードID(=16H)は正常で、ボード番号設定は(7)です。\n" + healthy("vx410diag", "VX-410"), 255,
     {"Open_Driver() = 0 [0x10d -1 -1 -1 -1 -1 -1 -1]", "Start_Driver(0, 2) = 0 io_base=0xd000",
      "Stop_Driver(0xd000) = 0", "Close_Driver() = 0"}},
    {"mismatch text without the equals sign", "vx414diag", {}, R"(
[[board]]
slot = 0
model = "VX-414"
board_id = 0x0c
)", "VX-414 動作確認プログラムV1.3\nVX-414を1枚検出しました。\n" "1枚目のボードのチェックをします。\n"
     "ボードID(0cH)は異常です。\n", 255,
     {"Open_Driver() = 0 [0x104 -1 -1 -1 -1 -1 -1 -1]", "Start_Driver(0, 2) = 0 io_base=0xd000",
      "Close_Driver() = 0"}},
    {"DX-510: low 8 bits of the ID word, hexadecimal switch, a blank line after each stop", "dx510diag", {},
     R"(
[[board]]
slot = 1
model = "DX-510"
board_id = 0x122B
switch = 0x1c
[[board]]
slot = 6
model = "DX-510"
board_id = 0x122B
switch = 0x03
)", "DX-510を2枚検出しました。\n\n" "1番目に検出されたボードのチェックをします。\n"
     "ボードID(2bH)は正常で、ボード番号設定は(c)です。\n" + kDx510Check + "\n" "2番目に検出されたボードのチェックをします。\n"
     "ボードID(2bH)は正常で、ボード番号設定は(3)です。\n" + kDx510Check + "\n", 255,
     {"Open_Driver() = 0 [-1 0x111 -1 -1 -1 -1 0x111 -1]", "Start_Driver(1, 2) = 0 io_base=0xd100",
      "Stop_Driver(0xd100) = 0", "Start_Driver(6, 2) = 0 io_base=0xd600", "Stop_Driver(0xd600) = 0",
      "Close_Driver() = 0"}},
    {"DX-510 mismatch in the low 8 bits", "dx510diag", {}, R"(
[[board]]
slot = 0
model = "DX-510"
board_id = 0x2B2C
)", "DX-510を1枚検出しました。\n\n" "1番目に検出されたボードのチェックをします。\n"
     "ボードID(=2cH)は異常です。\n", 255,
     {"Open_Driver() = 0 [0x111 -1 -1 -1 -1 -1 -1 -1]", "Start_Driver(0, 2) = 0 io_base=0xd000",
      "Close_Driver() = 0"}},
    {"DX-510 Stop_Driver fails: no blank line", "dx510diag", {}, R"(
[[board]]
slot = 0
model = "DX-510"
stop = 4
)", "DX-510を1枚検出しました。\n\n" "1番目に検出されたボードのチェックをします。\n"
     "ボードID(2bH)は正常で、ボード番号設定は(0)です。\n" + kDx510Check + "Stop_Driverでエラー(4)が発生しました。\n", 255,
     {"Open_Driver() = 0 [0x111 -1 -1 -1 -1 -1 -1 -1]", "Start_Driver(0, 2) = 0 io_base=0xd000",
      "Stop_Driver(0xd000) = 4", "Close_Driver() = 0"}},
};
// clang-format on

void check(const EndPath& c) {
  const auto r = run({.program = c.program, .args = c.args, .bench = c.bench, .keys = c.keys});
  EXPECT_EQ(r.out, c.out) << c.what;
  EXPECT_EQ(r.status, c.status) << c.what;
  EXPECT_EQ(r.err, "") << c.what;
  EXPECT_EQ(control_calls(r.trace), c.control) << c.what << "\n" << r.trace;
}

TEST(SingleBoardForm, EndPaths) {
  for (const EndPath& c : kSingleBoard) check(c);
}

TEST(BoardLoopForm, EndPaths) {
  for (const EndPath& c : kBoardLoop) check(c);
}

}  // namespace
