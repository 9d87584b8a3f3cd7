// A driver library of the same name found through LD_LIBRARY_PATH takes the
// bench's place: the programs know nothing of the bench.
#include <gtest/gtest.h>

#include "run_program.h"

namespace {

TEST(DriverLibrary, AnotherLibraryOfTheSameNameReplacesTheBench) {
  const auto r = testing_support::run({.program = "vx424chk", .env = {"LD_LIBRARY_PATH=" STUB_DRIVER_DIR}});
  EXPECT_EQ(r.out,
            "VX-424 動作確認プログラムV1.2\nVX-424を1枚検出しました。\n"
            "Sampling Error in half full sampling!!\n");  // its status register shows the full flag
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.trace, "");  // the bench's trace is not written: the bench is not loaded
}

// The self-test runs on the platform's own clock: the clock test's windows
// pass in real time, and every wait ends on what the library's status shows.
TEST(DriverLibrary, BoardLoopRunsOnALibraryWithoutAClock) {
  const auto r = testing_support::run({.program = "vx424diag", .env = {"LD_LIBRARY_PATH=" STUB_DRIVER_DIR}});
  EXPECT_EQ(r.out,
            "VX-424 動作確認プログラムV1.3\nVX-424を1枚検出しました。\n"
            "1枚目のボードのチェックをします。\nボードID(11H)は正常で、ボード番号設定は(0)です。\n"
            "リセット時のステータス(06H)は異常です。\n\t期待値は(0002H)です。\n"
            "マニュアル・サンプリング後のステータス(07H)は異常です。\n\t期待値は(0083H)です。\n"
            "データ読み取り後のステータス(06H)は異常です。\n\t期待値は(0082H)です。\n"
            "１０ＭＨｚクロックのテスト中．．．終了しました。\n"
            "クロック数(0)、データ数(1)は\n\t異常です。\n"
            "ステータス(06H)は異常です。\n\t期待値は(0082H)です。\n"
            "８．１９２ＭＨｚクロックのテスト中．．．終了しました。\n"
            "クロック数(0)、データ数(1)は\n\t異常です。\n"
            "サンプリング中．．．終了しました。\n"
            "サンプリング後のステータス(06H)は異常です。\n\t期待値は(00a5H)です。\n"
            "フラグ・クリア後のステータス(06H)は異常です。\n\t期待値は(0001H)です。\n"
            "ＦＩＦＯカウント中．．．終了しました。\n"
            "FULL =（2) HALF = (1)です。\n"
            "フラグは(06H)です。\n");
  EXPECT_EQ(r.status, 255);
}

}  // namespace
