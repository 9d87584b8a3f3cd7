// Faults of the unit file: a given call returns a given code from its Nth
// call on, and the call it answers has no effect.
#include <string>

#include "units_fixture.h"

namespace {

using Faults = Units;

TEST_F(Faults, UnitCallReturnsTheCodeFromItsNthCallOn) {
  UseQai8(Fixture("qai8_faults.toml"));
  ASSERT_EQ(Qai8_OpenDriver(), 0);
  const int32_t reads[] = {0, 0, -19, -19, 0, 0};  // from = 3, count = 2
  int n = 1;
  for (int32_t want : reads) {
    int16_t codes[8] = {};
    EXPECT_EQ(Qai8_Get_AdValue(0, 8, codes), want) << "read " << n;
    ++n;
  }
  int16_t code = 0;
  EXPECT_EQ(Qai8_Get_AdValue(1, 1, &code), 0) << "unit 1 counts its own calls";
  EXPECT_EQ(Qai8_Get_Din(0), 2);
  EXPECT_EQ(Qai8_Get_Din(0), 2) << "no count: for ever";
  EXPECT_EQ(Qai8_Get_Din(1), 0);
}

TEST_F(Faults, FaultedCallHasNoEffectAndTheFirstFaultWins) {
  UseQai8(Fixture("qai8_faults.toml"));
  ASSERT_EQ(Qai8_OpenDriver(), 0);
  EXPECT_EQ(Qai8_Set_Dout(0, 1), 0);
  EXPECT_EQ(Qai8_Set_Dout(0, 0), -23);
  EXPECT_EQ(Qai8_Get_DoutMon(0), 1) << "the faulted Set_Dout switched the output";
  EXPECT_EQ(Qai8_Set_Dout(0, 7), -23) << "the fault answers before the arguments are checked";
}

TEST_F(Faults, CountsStartAfreshAtEveryOpen) {
  UseQai8(Fixture("qai8_faults.toml"));
  for (int open = 0; open < 2; ++open) {
    ASSERT_EQ(Qai8_OpenDriver(), 0);
    int16_t codes[8] = {};
    EXPECT_EQ(Qai8_Get_AdValue(0, 8, codes), 0) << "open " << open;
    EXPECT_EQ(Qai8_Get_AdValue(0, 8, codes), 0) << "open " << open;
    EXPECT_EQ(Qai8_Get_AdValue(0, 8, codes), -19) << "open " << open;
    EXPECT_EQ(Qai8_CloseDriver(), -16) << "the first close of each open fails";
    EXPECT_EQ(Qai8_Get_Din(1), 0) << "still open after the failed close";
    EXPECT_EQ(Qai8_CloseDriver(), 0);
    EXPECT_EQ(Qai8_Get_Din(1), -24);
  }
}

TEST_F(Faults, LibraryVersionFaultWritesNothing) {
  UseQai8(Fixture("qai8_faults.toml"));
  ASSERT_EQ(Qai8_OpenDriver(), 0);
  char text[50];
  text[0] = '#';
  EXPECT_EQ(Qai8_Get_Libver(text, 50), 1);
  EXPECT_EQ(text[0], '#');
}

TEST_F(Faults, OpenFaultCountsTheOpensWithTheSameFile) {
  const std::string file = Fixture("qao4_open_fault.toml");
  UseQao4(file);
  EXPECT_EQ(Qao4_OpenDriver(), 0);
  EXPECT_EQ(Qao4_CloseDriver(), 0);
  EXPECT_EQ(Qao4_OpenDriver(), 1) << "second open";
  EXPECT_EQ(Qao4_Get_Din(0), -24) << "a faulted open leaves the library closed";
  EXPECT_EQ(Qao4_OpenDriver(), 1) << "third open";

  UseQao4(Write("plain.toml", "[[unit]]\nrotsw = 0\n"));  // another file: counting restarts
  EXPECT_EQ(Qao4_OpenDriver(), 0);
  EXPECT_EQ(Qao4_CloseDriver(), 0);
  UseQao4(file);
  EXPECT_EQ(Qao4_OpenDriver(), 0) << "first open with the file again";
  EXPECT_EQ(Qao4_Get_Din(0), 0);
}

}  // namespace
