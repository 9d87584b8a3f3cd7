// QAI8 A/D reading: code formats, clipping, averaging over AveNum scans,
// scan speed, the frozen clock and the lively default unit.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "units_fixture.h"

namespace {

using Qai8 = Units;

uint16_t Bits(int16_t code) { return static_cast<uint16_t>(code); }

// The inputs of unit 0 of qai8_service.toml and their codes in both formats.
const struct {
  double mv;
  uint16_t twos, offset;
} kInputs[8] = {
    {0.0, 0x0000, 0x8000},        {0.3125, 0x0001, 0x8001},  {31.25, 0x0064, 0x8064},    {3125.0, 0x2710, 0xA710},
    {10239.6875, 0x7FFF, 0xFFFF}, {-0.3125, 0xFFFF, 0x7FFF}, {-10240.0, 0x8000, 0x0000}, {5120.0, 0x4000, 0xC000},
};

TEST_F(Qai8, InputsConvertInBothCodeFormats) {
  UseQai8(Fixture("qai8_service.toml"));
  ASSERT_EQ(Qai8_OpenDriver(), 0);
  for (int32_t format : {0, 1, 0}) {
    ASSERT_EQ(Qai8_Set_AdCode(0, format), 0);
    int16_t codes[8] = {};
    ASSERT_EQ(Qai8_Get_AdValue(0, 8, codes), 0);
    for (int ch = 0; ch < 8; ++ch) {
      EXPECT_EQ(Bits(codes[ch]), format == 0 ? kInputs[ch].twos : kInputs[ch].offset)
          << kInputs[ch].mv << " mV, format " << format;
    }
  }
}

TEST_F(Qai8, InputsBeyondFullScaleClipAndTheFileSetsTheStartFormat) {
  UseQai8(Fixture("qai8_service.toml"));
  ASSERT_EQ(Qai8_OpenDriver(), 0);
  int16_t codes[2] = {};
  ASSERT_EQ(Qai8_Get_AdValue(3, 2, codes), 0);  // unit 3 starts in offset binary
  EXPECT_EQ(Bits(codes[0]), 0xFFFF);
  EXPECT_EQ(Bits(codes[1]), 0x0000);
  ASSERT_EQ(Qai8_Set_AdCode(3, 0), 0);
  ASSERT_EQ(Qai8_Get_AdValue(3, 2, codes), 0);
  EXPECT_EQ(Bits(codes[0]), 0x7FFF);
  EXPECT_EQ(Bits(codes[1]), 0x8000);
}

// Unit 0 reads cos(2π t / period) × 3125 mV on input 0 (±10000 codes).
std::string CosineFile(const char* period_ms, const char* clock) {
  return std::string(clock) +
         "[[unit]]\nrotsw = 0\n[[unit.input]]\nch = 0\n"
         "sine = { amplitude = 3125.0, period_ms = " +
         period_ms + ", phase_deg = 90 }\n";
}

TEST_F(Qai8, ReadAveragesAveNumScansOneScanIntervalApart) {
  const struct {
    const char* period_ms;
    int32_t speed, average;
    int16_t code;
  } cases[] = {
      {"2.0", 6, 1, 10000},                      // scan at 0
      {"2.0", 6, 2, 0},                          // scans at 0 and 1 ms: +10000, -10000
      {"2.0", 6, 3, 3333},                       // 10000 / 3, rounded
      {"2.0", 6, 4, 0},      {"20.0", 9, 2, 0},  // 10 ms apart: half a period
      {"20.0", 0, 2, 10000},                     // 0.01 ms apart: the same level twice
      {"4.0", 6, 2, 5000},                       // 0 and 1 ms: +10000, 0
  };
  for (const auto& c : cases) {
    UseQai8(Write("cosine.toml", CosineFile(c.period_ms, "[clock]\nfrozen = true\n")));
    ASSERT_EQ(Qai8_OpenDriver(), 0);
    ASSERT_EQ(Qai8_Set_ScanSpeed(0, c.speed), 0);
    ASSERT_EQ(Qai8_Set_MultiScan(0, c.average), 0);
    int16_t code = 0;
    ASSERT_EQ(Qai8_Get_AdValue(0, 1, &code), 0);
    EXPECT_EQ(code, c.code) << "period " << c.period_ms << " speed " << c.speed << " AveNum " << c.average;
    ASSERT_EQ(Qai8_CloseDriver(), 0);
  }
}

TEST_F(Qai8, AveragingNarrowsTheNoise) {
  // ±100 mV uniform noise is ±320 codes per scan.
  UseQai8(Write("noise.toml", "[[unit]]\nrotsw = 0\n[[unit.input]]\nch = 0\nnoise = 100.0\n"));
  ASSERT_EQ(Qai8_OpenDriver(), 0);
  const auto widest = [](int32_t average) {
    EXPECT_EQ(Qai8_Set_MultiScan(0, average), 0);
    int widest_code = 0;
    for (int i = 0; i < 200; ++i) {
      int16_t code = 0;
      EXPECT_EQ(Qai8_Get_AdValue(0, 1, &code), 0);
      widest_code = std::max(widest_code, std::abs(static_cast<int>(code)));
    }
    return widest_code;
  };
  const int single = widest(1);
  EXPECT_GT(single, 250);
  EXPECT_LE(single, 320);
  EXPECT_LT(widest(256), 80);
}

TEST_F(Qai8, FrozenClockMovesOnlyByStepPerRead) {
  UseQai8(Write("stepped.toml", CosineFile("4.0", "[clock]\nfrozen = true\nstep_ms = 1\n")));
  const int16_t expected[] = {10000, 0, -10000, 0, 10000};  // a quarter period per read
  for (int run = 0; run < 2; ++run) {                       // the same on every open
    ASSERT_EQ(Qai8_OpenDriver(), 0);
    for (int16_t want : expected) {
      int16_t code = 1;
      ASSERT_EQ(Qai8_Get_AdValue(0, 1, &code), 0);
      EXPECT_EQ(code, want) << "run " << run;
      ASSERT_EQ(Qai8_Set_AdCode(0, 0), 0);  // other calls do not move the clock
    }
    ASSERT_EQ(Qai8_CloseDriver(), 0);
  }
  UseQai8(Write("late.toml", CosineFile("4.0", "[clock]\nfrozen = true\nstart_ms = 2\n")));
  ASSERT_EQ(Qai8_OpenDriver(), 0);
  int16_t code = 0;
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(Qai8_Get_AdValue(0, 1, &code), 0);
    EXPECT_EQ(code, -10000);
  }
}

TEST_F(Qai8, SameSeedGivesTheSameNoise) {
  UseQai8(
      Write("seeded.toml", "[library]\nnoise_seed = 7\n[[unit]]\nrotsw = 0\n[[unit.input]]\nch = 0\nnoise = 50.0\n"));
  int16_t first[20] = {}, again[20] = {};
  ASSERT_EQ(Qai8_OpenDriver(), 0);
  for (int16_t& c : first) ASSERT_EQ(Qai8_Get_AdValue(0, 1, &c), 0);
  ASSERT_EQ(Qai8_CloseDriver(), 0);
  ASSERT_EQ(Qai8_OpenDriver(), 0);
  for (int16_t& c : again) ASSERT_EQ(Qai8_Get_AdValue(0, 1, &c), 0);
  EXPECT_TRUE(std::equal(std::begin(first), std::end(first), std::begin(again)));
  EXPECT_FALSE(std::all_of(std::begin(first), std::end(first), [&](int16_t c) { return c == first[0]; }));
}

TEST_F(Qai8, DefaultUnitShowsLevelsAndMovingSignals) {
  ASSERT_EQ(Qai8_OpenDriver(), 0);
  int16_t before[8] = {}, after[8] = {};
  ASSERT_EQ(Qai8_Get_AdValue(0, 8, before), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  ASSERT_EQ(Qai8_Get_AdValue(0, 8, after), 0);
  // 1000 mV and -2500 mV with ±1 mV noise.
  EXPECT_NEAR(before[0], 3200, 4);
  EXPECT_NEAR(before[1], -8000, 4);
  EXPECT_NEAR(before[5], 28800, 16);
  EXPECT_NE(before[2], after[2]) << "the 2 s sine moves in 60 ms";
  EXPECT_NE(before[3], after[3]) << "the 0.5 s sine moves in 60 ms";
  ASSERT_EQ(Qai8_Set_AdCode(0, 1), 0);
  ASSERT_EQ(Qai8_Get_AdValue(0, 1, after), 0);
  EXPECT_NEAR(Bits(after[0]), 0x8000 + 3200, 4);
}

}  // namespace
