// Every call's refusals: library not open, no such unit, bad arguments.
// None of them may touch the caller's buffer.
#include <functional>

#include "units_fixture.h"

namespace {

using Calls = Units;

int16_t buffer[9];
char text[51];
const int16_t kOut[4] = {1, 2, 3, 4};

struct Case {
  const char* call;
  std::function<int32_t()> run;
  int32_t open_result;  // with both libraries open on their unit 0
};

// clang-format off
const Case kCases[] = {
  {"Qai8_Get_Libver(text, 50)",       [] { return Qai8_Get_Libver(text, 50); },        0},
  {"Qai8_Get_Libver(nullptr, 50)",    [] { return Qai8_Get_Libver(nullptr, 50); },   -40},
  {"Qai8_Get_Libver(text, 0)",        [] { return Qai8_Get_Libver(text, 0); },       -40},
  {"Qai8_Get_Libver(text, -1)",       [] { return Qai8_Get_Libver(text, -1); },      -40},
  {"Qai8_Get_Firmver(0, text, 50)",   [] { return Qai8_Get_Firmver(0, text, 50); },    0},
  {"Qai8_Get_Firmver(1, text, 50)",   [] { return Qai8_Get_Firmver(1, text, 50); },  -21},
  {"Qai8_Get_Firmver(0, nullptr, 50)",[] { return Qai8_Get_Firmver(0, nullptr, 50); }, -40},
  {"Qai8_Get_Firmver(0, text, 0)",    [] { return Qai8_Get_Firmver(0, text, 0); },   -40},
  {"Qai8_Get_Din(0)",                 [] { return Qai8_Get_Din(0); },                  1},
  {"Qai8_Get_Din(15)",                [] { return Qai8_Get_Din(15); },               -21},
  {"Qai8_Get_Din(INT32_MIN)",         [] { return Qai8_Get_Din(INT32_MIN); },        -21},
  {"Qai8_Get_DoutMon(0)",             [] { return Qai8_Get_DoutMon(0); },              0},
  {"Qai8_Get_DoutMon(2)",             [] { return Qai8_Get_DoutMon(2); },            -21},
  {"Qai8_Set_Dout(0, 0)",             [] { return Qai8_Set_Dout(0, 0); },              0},
  {"Qai8_Set_Dout(0, 2)",             [] { return Qai8_Set_Dout(0, 2); },            -40},
  {"Qai8_Set_Dout(0, -1)",            [] { return Qai8_Set_Dout(0, -1); },           -40},
  {"Qai8_Set_Dout(7, 1)",             [] { return Qai8_Set_Dout(7, 1); },            -21},
  {"Qai8_Set_AdCode(0, 0)",           [] { return Qai8_Set_AdCode(0, 0); },            0},
  {"Qai8_Set_AdCode(0, 2)",           [] { return Qai8_Set_AdCode(0, 2); },          -40},
  {"Qai8_Set_AdCode(4, 1)",           [] { return Qai8_Set_AdCode(4, 1); },          -21},
  {"Qai8_Set_ScanSpeed(0, 1)",        [] { return Qai8_Set_ScanSpeed(0, 1); },         0},
  {"Qai8_Set_ScanSpeed(0, 9)",        [] { return Qai8_Set_ScanSpeed(0, 9); },         0},
  {"Qai8_Set_ScanSpeed(0, 10)",       [] { return Qai8_Set_ScanSpeed(0, 10); },      -40},
  {"Qai8_Set_ScanSpeed(0, -1)",       [] { return Qai8_Set_ScanSpeed(0, -1); },      -40},
  {"Qai8_Set_ScanSpeed(1, 1)",        [] { return Qai8_Set_ScanSpeed(1, 1); },       -21},
  {"Qai8_Set_MultiScan(0, 1)",        [] { return Qai8_Set_MultiScan(0, 1); },         0},
  {"Qai8_Set_MultiScan(0, 256)",      [] { return Qai8_Set_MultiScan(0, 256); },       0},
  {"Qai8_Set_MultiScan(0, 0)",        [] { return Qai8_Set_MultiScan(0, 0); },       -40},
  {"Qai8_Set_MultiScan(0, 257)",      [] { return Qai8_Set_MultiScan(0, 257); },     -40},
  {"Qai8_Set_MultiScan(1, 1)",        [] { return Qai8_Set_MultiScan(1, 1); },       -21},
  {"Qai8_Get_AdValue(0, 1, buffer)",  [] { return Qai8_Get_AdValue(0, 1, buffer); },   0},
  {"Qai8_Get_AdValue(0, 8, buffer)",  [] { return Qai8_Get_AdValue(0, 8, buffer); },   0},
  {"Qai8_Get_AdValue(0, 0, buffer)",  [] { return Qai8_Get_AdValue(0, 0, buffer); }, -40},
  {"Qai8_Get_AdValue(0, 9, buffer)",  [] { return Qai8_Get_AdValue(0, 9, buffer); }, -40},
  {"Qai8_Get_AdValue(0, -1, buffer)", [] { return Qai8_Get_AdValue(0, -1, buffer); }, -40},
  {"Qai8_Get_AdValue(0, 8, nullptr)", [] { return Qai8_Get_AdValue(0, 8, nullptr); }, -40},
  {"Qai8_Get_AdValue(1, 8, buffer)",  [] { return Qai8_Get_AdValue(1, 8, buffer); }, -21},
  {"Qao4_Get_Libver(text, 50)",       [] { return Qao4_Get_Libver(text, 50); },        0},
  {"Qao4_Get_Libver(nullptr, 50)",    [] { return Qao4_Get_Libver(nullptr, 50); },   -40},
  {"Qao4_Get_Firmver(0, text, 50)",   [] { return Qao4_Get_Firmver(0, text, 50); },    0},
  {"Qao4_Get_Firmver(3, text, 50)",   [] { return Qao4_Get_Firmver(3, text, 50); },  -21},
  {"Qao4_Get_Firmver(0, text, -5)",   [] { return Qao4_Get_Firmver(0, text, -5); },  -40},
  {"Qao4_Get_Din(0)",                 [] { return Qao4_Get_Din(0); },                  0},
  {"Qao4_Get_Din(1)",                 [] { return Qao4_Get_Din(1); },                -21},
  {"Qao4_Get_DoutMon(0)",             [] { return Qao4_Get_DoutMon(0); },              0},
  {"Qao4_Set_Dout(0, 1)",             [] { return Qao4_Set_Dout(0, 1); },              0},
  {"Qao4_Set_Dout(0, 3)",             [] { return Qao4_Set_Dout(0, 3); },            -40},
  {"Qao4_Set_DaCode(0, 1)",           [] { return Qao4_Set_DaCode(0, 1); },            0},
  {"Qao4_Set_DaCode(0, -1)",          [] { return Qao4_Set_DaCode(0, -1); },         -40},
  {"Qao4_Set_DaCode(5, 0)",           [] { return Qao4_Set_DaCode(5, 0); },          -21},
  {"Qao4_Set_DaValue(0, 1, kOut)",    [] { return Qao4_Set_DaValue(0, 1, kOut); },     0},
  {"Qao4_Set_DaValue(0, 4, kOut)",    [] { return Qao4_Set_DaValue(0, 4, kOut); },     0},
  {"Qao4_Set_DaValue(0, 0, kOut)",    [] { return Qao4_Set_DaValue(0, 0, kOut); },   -40},
  {"Qao4_Set_DaValue(0, 5, kOut)",    [] { return Qao4_Set_DaValue(0, 5, kOut); },   -40},
  {"Qao4_Set_DaValue(0, 4, nullptr)", [] { return Qao4_Set_DaValue(0, 4, nullptr); }, -40},
  {"Qao4_Set_DaValue(1, 4, kOut)",    [] { return Qao4_Set_DaValue(1, 4, kOut); },   -21},
  {"Qao4_Get_DaValue(0, 4, buffer)",  [] { return Qao4_Get_DaValue(0, 4, buffer); },   0},
  {"Qao4_Get_DaValue(0, 0, buffer)",  [] { return Qao4_Get_DaValue(0, 0, buffer); }, -40},
  {"Qao4_Get_DaValue(0, 5, buffer)",  [] { return Qao4_Get_DaValue(0, 5, buffer); }, -40},
  {"Qao4_Get_DaValue(0, 1, nullptr)", [] { return Qao4_Get_DaValue(0, 1, nullptr); }, -40},
  {"Qao4_Get_DaValue(1, 4, buffer)",  [] { return Qao4_Get_DaValue(1, 4, buffer); }, -21},
};
// clang-format on

void Scribble() {
  for (int16_t& b : buffer) b = 0x5A5A;
  for (char& c : text) c = 'x';
}

bool Untouched() {
  for (int16_t b : buffer) {
    if (b != 0x5A5A) return false;
  }
  for (char c : text) {
    if (c != 'x') return false;
  }
  return true;
}

TEST_F(Calls, EveryCallBeforeOpenAndAfterCloseIsRefusedWithoutTouchingBuffers) {
  for (int round = 0; round < 2; ++round) {
    const char* when = round == 0 ? "before open" : "after close";
    EXPECT_EQ(Qai8_CloseDriver(), -24) << when;
    EXPECT_EQ(Qao4_CloseDriver(), -24) << when;
    for (const Case& c : kCases) {
      Scribble();
      EXPECT_EQ(c.run(), -24) << c.call << " " << when;
      EXPECT_TRUE(Untouched()) << c.call << " " << when;
    }
    ASSERT_EQ(Qai8_OpenDriver(), 0);
    ASSERT_EQ(Qao4_OpenDriver(), 0);
    ASSERT_EQ(Qai8_CloseDriver(), 0);
    ASSERT_EQ(Qao4_CloseDriver(), 0);
  }
}

TEST_F(Calls, EveryCallOnTheOpenLibraryGivesItsResultAndARefusalTouchesNoBuffer) {
  ASSERT_EQ(Qai8_OpenDriver(), 0);
  ASSERT_EQ(Qao4_OpenDriver(), 0);
  for (const Case& c : kCases) {
    Scribble();
    EXPECT_EQ(c.run(), c.open_result) << c.call;
    if (c.open_result < 0) {
      EXPECT_TRUE(Untouched()) << c.call;
    }
  }
}

TEST_F(Calls, ReadsFillOnlyTheChannelsAsked) {
  ASSERT_EQ(Qai8_OpenDriver(), 0);
  ASSERT_EQ(Qao4_OpenDriver(), 0);
  for (int32_t ch = 1; ch <= 8; ++ch) {
    Scribble();
    ASSERT_EQ(Qai8_Get_AdValue(0, ch, buffer), 0) << ch;
    for (int32_t i = ch; i < 9; ++i) EXPECT_EQ(buffer[i], 0x5A5A) << "CH " << ch << " element " << i;
  }
  for (int32_t ch = 1; ch <= 4; ++ch) {
    Scribble();
    ASSERT_EQ(Qao4_Get_DaValue(0, ch, buffer), 0) << ch;
    for (int32_t i = 0; i < ch; ++i) EXPECT_EQ(buffer[i], 0) << "CH " << ch << " element " << i;
    for (int32_t i = ch; i < 9; ++i) EXPECT_EQ(buffer[i], 0x5A5A) << "CH " << ch << " element " << i;
  }
}

TEST_F(Calls, DigitalOutputIsSetBySetDoutAndReadBackByDoutMon) {
  ASSERT_EQ(Qai8_OpenDriver(), 0);
  ASSERT_EQ(Qao4_OpenDriver(), 0);
  const struct {
    const char* lib;
    int32_t (*set)(int32_t, int32_t);
    int32_t (*mon)(int32_t);
  } libs[] = {{"qai8", Qai8_Set_Dout, Qai8_Get_DoutMon}, {"qao4", Qao4_Set_Dout, Qao4_Get_DoutMon}};
  for (const auto& l : libs) {
    EXPECT_EQ(l.mon(0), 0) << l.lib;
    EXPECT_EQ(l.set(0, 1), 0) << l.lib;
    EXPECT_EQ(l.mon(0), 1) << l.lib;
    EXPECT_EQ(l.set(0, 5), -40) << l.lib;
    EXPECT_EQ(l.mon(0), 1) << l.lib << ": a refused state changes nothing";
    EXPECT_EQ(l.set(0, 0), 0) << l.lib;
    EXPECT_EQ(l.mon(0), 0) << l.lib;
  }
}

}  // namespace
