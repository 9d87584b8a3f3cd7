// Every console program runs its frame on its default bench, and on a bench
// where its boards sit in other slots among boards of other models. The
// frame's texts are checked where the frame prints them: at the start of a
// single-board program, and at the start of every board of a board-loop
// program, with the stages' output in between.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "run_program.h"

namespace {

using testing_support::Launch;
using testing_support::run;
using testing_support::trace_lines;

struct Program {
  const char* name;
  int device_code;
  std::vector<const char*> models;  // on its default bench, from slot 0 up
  const char* out;                  // what the frame prints on that bench
  int status;
};

// Keys that take every single-board program from its first prompt to its end.
constexpr const char* kKeysToEnd = "1E";

// The frame's text of each board: the expected output cut before each board heading.
std::vector<std::string> frame_parts(const std::string& out) {
  std::vector<size_t> cuts{0};
  for (const char* heading : {"枚目のボードのチェックをします。\n", "番目に検出されたボードのチェックをします。\n"}) {
    for (size_t at = out.find(heading); at != std::string::npos; at = out.find(heading, at + 1)) {
      size_t start = at;  // the board number before the heading's text
      while (start > 0 && out[start - 1] >= '0' && out[start - 1] <= '9') --start;
      cuts.push_back(start);
    }
  }
  std::sort(cuts.begin(), cuts.end());
  cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
  std::vector<std::string> parts;
  for (size_t i = 0; i < cuts.size(); ++i) {
    const size_t end = i + 1 < cuts.size() ? cuts[i + 1] : out.size();
    parts.push_back(out.substr(cuts[i], end - cuts[i]));
  }
  return parts;
}

// The frame's texts stand in the output in their order: the first at the
// very start, each board's where its heading begins a line.
void expect_frame_texts(const std::string& actual, const Program& p, const std::string& context) {
  size_t from = 0;
  for (const std::string& part : frame_parts(p.out)) {
    const size_t at = actual.find(part, from);
    ASSERT_NE(at, std::string::npos) << p.name << ": missing\n" << part << "\nin\n" << actual << context;
    if (from == 0) {
      EXPECT_EQ(at, 0u) << p.name << context;
    }
    from = at + part.size();
  }
}

// clang-format off
#define BOARD(k) k "枚目のボードのチェックをします。\n"
// dx510diag's check of a healthy board, between the switch line and the blank line.
#define DX510_CHECK \
  "リセット時のステータス(06H)は正常です。\n" \
  "サンプリングスタート時のステータス(47H)は正常です。\n" \
  "サンプリング終了時のステータス(c7H)は正常です。\n" \
  "終了フラグクリア時のステータス(07H)は正常です。\n" \
  "ＦＩＦＯクリア時のステータス(06H)は正常です。\n" \
  "FIFO HALF = (511)です。\n" \
  "ｶｳﾝﾀ値(511)を確認します。\n" \
  "ｶｳﾝﾀ値は (511) 正常です。\n"

const Program kPrograms[] = {
    {"vx424chk", 0x10A, {"VX-424", "VX-424"}, "VX-424 動作確認プログラムV1.2\nVX-424を2枚検出しました。\n", 0},
    {"hm230chk", 0x202, {"VX-426", "VX-426"}, "HM-230 動作確認プログラムV1.2\nVX-426を2枚検出しました。\n", 0},
    {"vx412chk", 0x103, {"VX-412", "VX-412"}, "VX-412 動作確認プログラムV1.2\nVX-412を2枚検出しました。\n", 0},
    {"vx420chk", 0x107, {"VX-420", "VX-420"}, "VX-420 動作確認プログラムV1.2\nVX-420を2枚検出しました。\n", 0},
    {"vx416chk", 0x110, {"VX-416", "VX-416"}, "VX-416 動作確認プログラムV1.2\nVX-416を2枚検出しました。\n", 0},
    {"vx422chk", 0x108, {"VX-422", "VX-422"}, "VX-422 動作確認プログラムV1.2\nVX-422を2枚検出しました。\n", 0},
    {"vx414chk", 0x104, {"VX-414", "VX-414"}, "VX-414 動作確認プログラムV1.2\nVX-414を2枚検出しました。\n", 0},
    {"vx410chk", 0x10D, {"VX-410", "VX-410"}, "VX-410 動作確認プログラムV1.2\nVX-410を2枚検出しました。\n", 0},
    {"vx428chk", 0x10C, {"VX-428", "VX-428"}, "VX-428 動作確認プログラムV1.2\nVX-428を2枚検出しました。\n", 0},
    {"vx418chk", 0x201, {"VX-418", "VX-418"}, "VX-418 動作確認プログラムV1.2\nVX-418を2枚検出しました。\n", 0},
    {"vx426chk", 0x202, {"VX-426", "VX-426"}, "VX-426 動作確認プログラムV1.2\nVX-426を2枚検出しました。\n", 0},
    {"hm236diag", 0x10C, {"HM-236", "VX-428"},
     "HM-236/VX-428 動作確認プログラムV1.4\nHMボードメモリカウント対応版\n"
     BOARD("1") "1枚目のボードはHM-236です。\nボードID(13H)は正常で、ボード番号設定は(0)です。\n"
     BOARD("2") "2枚目のボードはVX-428です。\nボードID(13H)は正常で、ボード番号設定は(0)です。\n", 255},
    {"vx420diag", 0x107, {"VX-420", "VX-420"},
     "VX-420を2枚検出しました。\n"
     BOARD("1") "ボードID(0eH)は正常で、ボード番号設定は(0)です。\n"
     BOARD("2") "ボードID(0eH)は正常で、ボード番号設定は(0)です。\n", 255},
    {"vx414diag", 0x104, {"VX-414", "VX-414"},
     "VX-414 動作確認プログラムV1.3\nVX-414を2枚検出しました。\n"
     BOARD("1") "ボードID(0bH)は正常で、" BOARD("2") "ボードID(0bH)は正常で、", 255},
    {"vx424diag", 0x10A, {"VX-424", "VX-424"},
     "VX-424 動作確認プログラムV1.3\nVX-424を2枚検出しました。\n"
     BOARD("1") "ボードID(11H)は正常で、ボード番号設定は(0)です。\n"
     BOARD("2") "ボードID(11H)は正常で、ボード番号設定は(0)です。\n", 255},
    {"hm230diag", 0x202, {"HM-230-8MW", "HM-230-16MW", "VX-426"},
     "HM-230/VX-426 動作確認プログラムV1.5\nHMボードメモリカウント対応版\nHM-230-8MW/16MW両バージョン対応版\n"
     BOARD("1") "1枚目のボードはHM-230-8MWです。\nボードID(15H)は正常で、ボード番号設定は(0)です。\n"
     BOARD("2") "2枚目のボードはHM-230-16MWです。\nボードID(15H)は正常で、ボード番号設定は(0)です。\n"
     BOARD("3") "3枚目のボードはVX-426です。\nボードID(15H)は正常で、ボード番号設定は(0)です。\n", 255},
    {"vx412diag", 0x103, {"VX-412", "VX-412"},
     "VX-412 動作確認プログラムV1.3\nVX-412を2枚検出しました。\n"
     BOARD("1") "ボードID(0aH)は正常で、" BOARD("2") "ボードID(0aH)は正常で、", 255},
    {"vx418diag", 0x201, {"VX-418", "VX-418"},
     "VX-418 動作確認プログラムV1.3\nVX-418を2枚検出しました。\n"
     BOARD("1") "ボードID(14H)は正常で、ボード番号設定は(0)です。\n"
     BOARD("2") "ボードID(14H)は正常で、ボード番号設定は(0)です。\n", 255},
    {"vx424bdiag", 0x10A, {"VX-424B", "VX-424B"},
     "VX-424B 動作確認プログラムV1.3\nVX-424Bを2枚検出しました。\n"
     BOARD("1") "ボードID(11H)は正常で、ボード番号設定は(0)です。\n"
     BOARD("2") "ボードID(11H)は正常で、ボード番号設定は(0)です。\n", 255},
    {"vx416diag", 0x110, {"VX-416", "VX-416"},
     "VX-416 動作確認プログラムV1.3\nVX-416を2枚検出しました。\n"
     BOARD("1") "ボードID(2aH)は正常で、ボード番号設定は(0)です。\n"
     BOARD("2") "ボードID(2aH)は正常で、ボード番号設定は(0)です。\n", 255},
    {"hm232diag", 0x107, {"HM-232", "VX-420"},
     "HM-232/VX-420 動作確認プログラムV1.4\nHMボードメモリカウント対応版\n"
     BOARD("1") "1枚目のボードはHM-232です。\nボードID(0eH)は正常で、ボード番号設定は(0)です。\n"
     BOARD("2") "2枚目のボードはVX-420です。\nボードID(0eH)は正常で、ボード番号設定は(0)です。\n", 255},
    {"hm234diag", 0x108, {"HM-234", "VX-422"},
     "HM-234/VX-422B 動作確認プログラムV1.4\nHMボードメモリカウント対応版\n"
     BOARD("1") "1枚目のボードはHM-234です。\nボードID(0fH)は正常で、ボード番号設定は(0)です。\n"
     BOARD("2") "2枚目のボードはVX-422です。\nボードID(0fH)は正常で、ボード番号設定は(0)です。\n", 255},
    {"vx410diag", 0x10D, {"VX-410", "VX-410"},
     "VX-410 動作確認プログラムV1.3\nVX-410を2枚検出しました。\n"
     BOARD("1") "ボードID(=16H)は正常で、ボード番号設定は(0)です。\n"
     BOARD("2") "ボードID(=16H)は正常で、ボード番号設定は(0)です。\n", 255},
    {"vx422diag", 0x108, {"VX-422", "VX-422"},
     "VX-422 動作確認プログラムV1.3\nVX-422を2枚検出しました。\n"
     BOARD("1") "ボードID(0fH)は正常で、ボード番号設定は(0)です。\n"
     BOARD("2") "ボードID(0fH)は正常で、ボード番号設定は(0)です。\n", 255},
    {"dx510diag", 0x111, {"DX-510", "DX-510"},
     "DX-510を2枚検出しました。\n\n"
     "1番目に検出されたボードのチェックをします。\nボードID(2bH)は正常で、ボード番号設定は(0)です。\n" DX510_CHECK "\n"
     "2番目に検出されたボードのチェックをします。\nボードID(2bH)は正常で、ボード番号設定は(0)です。\n" DX510_CHECK "\n", 255},
};
// clang-format on

#undef BOARD
#undef DX510_CHECK

struct Other {
  const char* model;
  int device_code;
};
const Other kOthers[] = {{"DX-510", 0x111}, {"VX-412", 0x103}, {"VX-418", 0x201}, {"VX-424", 0x10A}};

std::string board(int slot, const std::string& model) {
  return "[[board]]\nslot = " + std::to_string(slot) + "\nmodel = \"" + model + "\"\n";
}

// The program's boards in slots 3, 6 and 7, in their order; boards of other
// device codes in slots 0, 2 and 5.
std::string moved_bench(const Program& p) {
  const int own_slots[] = {3, 6, 7};
  const int other_slots[] = {0, 2, 5};
  std::string bench;
  for (size_t i = 0; i < p.models.size(); ++i) bench += board(own_slots[i], p.models[i]);
  size_t placed = 0;
  for (const Other& o : kOthers) {
    if (o.device_code != p.device_code && placed < 3) bench += board(other_slots[placed++], o.model);
  }
  return bench;
}

TEST(EveryProgram, RunsItsFrameOnItsDefaultBench) {
  for (const Program& p : kPrograms) {
    const auto r = run({.program = p.name, .keys = kKeysToEnd});
    expect_frame_texts(r.out, p, "");
    EXPECT_EQ(r.status, p.status) << p.name;
    EXPECT_EQ(r.err, "") << p.name;
    const auto starts = trace_lines(r.trace, "Start_Driver(");
    const size_t boards = p.status == 0 ? 1 : p.models.size();
    ASSERT_EQ(starts.size(), boards) << p.name << "\n" << r.trace;
    EXPECT_EQ(starts[0].rfind("Start_Driver(0, 2) = 0", 0), 0u) << p.name;
  }
}

TEST(EveryProgram, FindsItsBoardsInOtherSlotsAmongOtherModels) {
  for (const Program& p : kPrograms) {
    const auto r = run({.program = p.name, .bench = moved_bench(p), .keys = kKeysToEnd});
    expect_frame_texts(r.out, p, "\n" + moved_bench(p));
    EXPECT_EQ(r.status, p.status) << p.name;
    const auto starts = trace_lines(r.trace, "Start_Driver(");
    if (p.status == 0) {
      ASSERT_EQ(starts.size(), 1u) << p.name;
      EXPECT_EQ(starts[0], "Start_Driver(3, 2) = 0 io_base=0xd300") << p.name;
      EXPECT_TRUE(trace_lines(r.trace, "Close_Driver").empty()) << p.name;
      EXPECT_TRUE(trace_lines(r.trace, "Stop_Driver").empty()) << p.name;
    } else {
      const std::vector<std::string> started(starts.begin(), starts.end());
      std::vector<std::string> expected = {"Start_Driver(3, 2) = 0 io_base=0xd300",
                                           "Start_Driver(6, 2) = 0 io_base=0xd600",
                                           "Start_Driver(7, 2) = 0 io_base=0xd700"};
      expected.resize(p.models.size());
      EXPECT_EQ(started, expected) << p.name;
      EXPECT_EQ(trace_lines(r.trace, "Stop_Driver(").size(), p.models.size()) << p.name;
      EXPECT_EQ(trace_lines(r.trace, "Close_Driver() = 0").size(), 1u) << p.name;
    }
  }
}

TEST(EveryProgram, SingleBoardFormTakesTheBoardNumberFromItsArgument) {
  for (const Program& p : kPrograms) {
    if (p.status != 0) continue;
    const auto r = run({.program = p.name, .args = {"1"}, .bench = moved_bench(p), .keys = kKeysToEnd});
    expect_frame_texts(r.out, p, "");
    EXPECT_EQ(r.status, 0) << p.name;
    EXPECT_EQ(trace_lines(r.trace, "Start_Driver("), std::vector<std::string>{"Start_Driver(6, 2) = 0 io_base=0xd600"})
        << p.name;
  }
}

}  // namespace
