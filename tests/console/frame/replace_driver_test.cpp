// A driver library of the same name found through LD_LIBRARY_PATH takes the
// bench's place: the programs know nothing of the bench.
#include <gtest/gtest.h>

#include "run_program.h"

namespace {

TEST(DriverLibrary, AnotherLibraryOfTheSameNameReplacesTheBench) {
  const auto r = testing_support::run(
      {.program = "vx424chk", .env = {"LD_LIBRARY_PATH=" STUB_DRIVER_DIR}});
  EXPECT_EQ(r.out,
            "VX-424 動作確認プログラムV1.2\nVX-424を1枚検出しました。\n"
            "Sampling Error in half full sampling!!\n");  // its status register shows the full flag
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.trace, "");  // the bench's trace is not written: the bench is not loaded
}

TEST(DriverLibrary, BoardLoopRunsOnALibraryWithoutAClock) {
  const auto r = testing_support::run(
      {.program = "vx424diag", .env = {"LD_LIBRARY_PATH=" STUB_DRIVER_DIR}});
  EXPECT_EQ(r.out,
            "VX-424 動作確認プログラムV1.3\nVX-424を1枚検出しました。\n"
            "1枚目のボードのチェックをします。\nボードID(11H)は正常で、ボード番号設定は(0)です。\n");
  EXPECT_EQ(r.status, 255);
}

}  // namespace
