// The verdict read from console output: transcripts as the self-tests and
// dx510diag print them, healthy and with faults.
#include "verdict.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using verdict::Result;

// vx424diag, one board: every check as the self-test prints it.
const std::string kHealthy424 =
    "VX-424 動作確認プログラムV1.3\n"
    "VX-424を1枚検出しました。\n"
    "1枚目のボードのチェックをします。\n"
    "ボードID(11H)は正常で、ボード番号設定は(0)です。\n"
    "リセット時のステータス(02H)は正常です。\n"
    "マニュアル・サンプリング後のステータス(83H)は正常です。\n"
    "データ読み取り後のステータス(82H)は正常です。\n"
    "１０ＭＨｚクロックのテスト中．．．終了しました。\n"
    "クロック数(11)、データ数(11)は正常です。\n"
    "ステータス(82H)は正常です。\n"
    "８．１９２ＭＨｚクロックのテスト中．．．終了しました。\n"
    "クロック数(11)、データ数(11)は正常です。\n"
    "サンプリング中．．．終了しました。\n"
    "サンプリング後のステータス(a5H)は正常です。\n"
    "フラグ・クリア後のステータス(01H)は正常です。\n"
    "ＦＩＦＯカウント中．．．終了しました。\n"
    "FULL =（1024) HALF = (511)です。\n"
    "フラグは(00H)です。\n";

TEST(Verdict, EveryCheckOfAHealthyBoard) {
  const verdict::Report r = verdict::read_output(kHealthy424);
  ASSERT_EQ(r.boards.size(), 1u);
  EXPECT_TRUE(r.problems.empty());
  struct Row {
    const char *name, *value, *expected;
    Result result;
  };
  const Row rows[] = {
      {"board ID", "11", "", Result::Normal},
      {"status at reset", "02", "", Result::Normal},
      {"status after manual sampling", "83", "", Result::Normal},
      {"status after data read", "82", "", Result::Normal},
      {"clock 10 MHz", "K=11 D=11", "K=11 D=11", Result::Normal},
      {"status between clock runs", "82", "", Result::Normal},
      {"clock 8.192 MHz", "K=11 D=11", "K=11 D=11", Result::Normal},
      {"status after full sampling", "a5", "", Result::Normal},
      {"status after flag clear", "01", "", Result::Normal},
      {"FIFO count", "FULL=1024 HALF=511", "", Result::Info},
      {"flags at the end", "00", "", Result::Info},
  };
  const auto& checks = r.boards[0].checks;
  ASSERT_EQ(checks.size(), std::size(rows));
  for (size_t i = 0; i < checks.size(); ++i) {
    EXPECT_EQ(checks[i].name, rows[i].name) << i;
    EXPECT_EQ(checks[i].value, rows[i].value) << rows[i].name;
    EXPECT_EQ(checks[i].expected, rows[i].expected) << rows[i].name;
    EXPECT_EQ(checks[i].result, rows[i].result) << rows[i].name;
  }
  EXPECT_EQ(verdict::exit_code(r, 255), 0);
  EXPECT_EQ(verdict::exit_code(r, 2), 2) << "a run that did not end through close-and-exit";
}

TEST(Verdict, AbnormalChecksAndTheirExpectedValues) {
  std::string out = kHealthy424;
  auto replace = [&](const std::string& from, const std::string& to) { out.replace(out.find(from), from.size(), to); };
  replace("フラグ・クリア後のステータス(01H)は正常です。\n",
          "フラグ・クリア後のステータス(06H)は異常です。\n\t期待値は(0001H)です。\n");
  replace("８．１９２ＭＨｚクロックのテスト中．．．終了しました。\nクロック数(11)、データ数(11)は正常です。\n",
          "８．１９２ＭＨｚクロックのテスト中．．．終了しました。\nクロック数(11)、データ数(10)は\n\t異常です。\n");
  const verdict::Report r = verdict::read_output(out);
  ASSERT_EQ(r.boards.size(), 1u);
  const auto& c = r.boards[0].checks;
  EXPECT_EQ(c[6].name, "clock 8.192 MHz");
  EXPECT_EQ(c[6].value, "K=11 D=10");
  EXPECT_EQ(c[6].result, Result::Abnormal);
  EXPECT_EQ(c[8].name, "status after flag clear");
  EXPECT_EQ(c[8].value, "06");
  EXPECT_EQ(c[8].expected, "0001");
  EXPECT_EQ(c[8].result, Result::Abnormal);
  EXPECT_EQ(verdict::exit_code(r, 255), 1);
}

TEST(Verdict, BoardsTwinModelsAndChecksOnTheBoardIdLine) {
  // hm230diag names the model of each board; vx414diag has no switch, so its
  // first status check follows the board ID on the same line; vx410diag's
  // counter test ends a board
  const std::string out =
      "1枚目のボードのチェックをします。\n"
      "1枚目のボードはHM-230-16MWです。\n"
      "ボードID(15H)は正常で、ボード番号設定は(0)です。\n"
      "リセット時のステータス(0002H)は正常です。\n"
      "現在のメモリ内データは 17 ワードです。\n"
      "2枚目のボードのチェックをします。\n"
      "ボードID(0bH)は正常で、リセット時のステータス(0006H)は異常です。\n"
      "\t期待値は(0002H)です。\n"
      "3枚目のボードのチェックをします。\n"
      "ボードID(=16H)は正常で、ボード番号設定は(0)です。\n"
      "カウンタのテスト中．．．終了しました。\n"
      "データ数(99)は異常です。\n";
  const verdict::Report r = verdict::read_output(out);
  ASSERT_EQ(r.boards.size(), 3u);
  EXPECT_EQ(r.boards[0].number, 1);
  EXPECT_EQ(r.boards[0].model, "HM-230-16MW");
  EXPECT_EQ(r.boards[1].checks[1].name, "status at reset");
  EXPECT_EQ(r.boards[1].checks[1].value, "0006");
  EXPECT_EQ(r.boards[1].checks[1].expected, "0002");
  EXPECT_EQ(r.boards[2].checks[1].name, "counted run");
  EXPECT_EQ(r.boards[2].checks[1].value, "D=99");
  EXPECT_EQ(r.boards[2].checks[1].result, Result::Abnormal);
}

TEST(Verdict, Dx510StatusTestsAndCounter) {
  const std::string board =
      "リセット時のステータス(06H)は正常です。\n"
      "サンプリングスタート時のステータス(46H)は異常です。\n"
      "サンプリング終了時のステータス(c7H)は正常です。\n"
      "終了フラグクリア時のステータス(07H)は正常です。\n"
      "ＦＩＦＯクリア時のステータス(06H)は正常です。\n";
  const std::string out =
      "DX-510を2枚検出しました。\n\n"
      "1番目に検出されたボードのチェックをします。\n"
      "ボードID(2bH)は正常で、ボード番号設定は(0)です。\n" +
      board +
      "FIFO HALF = (511)です。\n"
      "ｶｳﾝﾀ値(511)を確認します。\n"
      "ｶｳﾝﾀ値は (-1) 異常です。(511) \n\n"
      "2番目に検出されたボードのチェックをします。\n"
      "ボードID(2bH)は正常で、ボード番号設定は(0)です。\n" +
      board + "\n";
  const verdict::Report r = verdict::read_output(out);
  ASSERT_EQ(r.boards.size(), 2u);
  const auto& first = r.boards[0].checks;
  EXPECT_EQ(first[2].name, "status at sampling start");
  EXPECT_EQ(first[2].expected, "47") << "the DX-510's own table";
  EXPECT_EQ(first[2].result, Result::Abnormal);
  EXPECT_EQ(first.back().name, "counter");
  EXPECT_EQ(first.back().value, "n=511");
  EXPECT_EQ(first.back().expected, "n=-1");
  EXPECT_EQ(first.back().result, Result::Abnormal);
  EXPECT_EQ(r.boards[1].checks.back().name, "FIFO half full") << "never reached: not a pass";
  EXPECT_EQ(r.boards[1].checks.back().result, Result::Abnormal);
  EXPECT_EQ(verdict::exit_code(r, 255), 1);
}

TEST(Verdict, RunsThatCouldNotCheckTheirBoards) {
  struct Case {
    const char *what, *out;
    int status;
  };
  const Case cases[] = {
      {"no board", "VX-424が検出できません。\n", 255},
      {"Open_Driver fails", "Open_Driverでエラー(-3)が発生しました。\n", 255},
      {"Stop_Driver fails",
       "1枚目のボードのチェックをします。\nボードID(11H)は正常で、ボード番号設定は(0)です。\n"
       "Stop_Driverでエラー(4)が発生しました。\n",
       255},
      {"board ID mismatch", "1枚目のボードのチェックをします。\nボードID(=12H)は異常です。\n", 255},
      {"interrupted", "1枚目のボードのチェックをします。\nボードID(11H)は正常で、", 130},
      {"nothing", "", 255},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(verdict::exit_code(verdict::read_output(c.out), c.status), 2) << c.what;
  }
}

}  // namespace
