// QAO4 D/A outputs keep the codes written and give them back.
#include "units_fixture.h"

namespace {

using Qao4 = Units;

TEST_F(Qao4, OutputsKeepTheCodesWrittenAndReadThemBack) {
  UseQao4(Fixture("qao4_service.toml"));
  ASSERT_EQ(Qao4_OpenDriver(), 0);
  int16_t codes[4] = {};
  ASSERT_EQ(Qao4_Get_DaValue(2, 4, codes), 0);
  const int16_t preset[4] = {0, -1, 0, -32768};  // from the file
  for (int ch = 0; ch < 4; ++ch) EXPECT_EQ(codes[ch], preset[ch]) << "preset " << ch;

  const struct {
    int32_t ch;
    int16_t written[4];
    int16_t read[4];  // all four channels afterwards
  } steps[] = {
      {2, {100, -100, 7, 8}, {100, -100, 0, -32768}},  // channels 0 and 1 only
      {4, {1, 2, 3, 4}, {1, 2, 3, 4}},
      {1, {32767, 9, 9, 9}, {32767, 2, 3, 4}},
      {3, {-32768, 0, -1, 9}, {-32768, 0, -1, 4}},
  };
  for (const auto& s : steps) {
    ASSERT_EQ(Qao4_Set_DaValue(2, s.ch, s.written), 0) << "CH " << s.ch;
    ASSERT_EQ(Qao4_Get_DaValue(2, 4, codes), 0);
    for (int ch = 0; ch < 4; ++ch) EXPECT_EQ(codes[ch], s.read[ch]) << "after CH " << s.ch << ", ch " << ch;
  }

  ASSERT_EQ(Qao4_Set_DaCode(2, 1), 0);  // the format keeps the codes
  ASSERT_EQ(Qao4_Get_DaValue(2, 4, codes), 0);
  EXPECT_EQ(codes[0], -32768);
  EXPECT_EQ(codes[2], -1);

  ASSERT_EQ(Qao4_Get_DaValue(15, 4, codes), 0);  // the other unit is its own
  for (int ch = 0; ch < 4; ++ch) EXPECT_EQ(codes[ch], 0) << "unit 15, ch " << ch;

  const int16_t refused[4] = {5, 5, 5, 5};
  EXPECT_EQ(Qao4_Set_DaValue(2, 5, refused), -40);
  ASSERT_EQ(Qao4_Get_DaValue(2, 4, codes), 0);
  EXPECT_EQ(codes[3], 4) << "a refused write changes nothing";
}

TEST_F(Qao4, DefaultUnitStartsAtZeroAndAReopenStartsAfresh) {
  ASSERT_EQ(Qao4_OpenDriver(), 0);
  int16_t codes[4] = {9, 9, 9, 9};
  ASSERT_EQ(Qao4_Get_DaValue(0, 4, codes), 0);
  for (int ch = 0; ch < 4; ++ch) EXPECT_EQ(codes[ch], 0) << ch;
  const int16_t written[4] = {1000, 2000, 3000, 4000};
  ASSERT_EQ(Qao4_Set_DaValue(0, 4, written), 0);
  ASSERT_EQ(Qao4_CloseDriver(), 0);
  ASSERT_EQ(Qao4_OpenDriver(), 0);
  ASSERT_EQ(Qao4_Get_DaValue(0, 4, codes), 0);
  for (int ch = 0; ch < 4; ++ch) EXPECT_EQ(codes[ch], 0) << ch;
}

}  // namespace
