#include "registers.h"

#include <gtest/gtest.h>

namespace {

TEST(Divider, PairedCountIsTheProductOfTwo16BitCounts) {
  EXPECT_EQ(regs::paired_count(0x80, 0x0C, 0x01, 0x00), 3200u);
  EXPECT_EQ(regs::pacer_hz(regs::kClocks10MHz.base_hz, regs::paired_count(0x80, 0x0C, 0x01, 0x00)), 3125.0);
  EXPECT_EQ(regs::paired_count(0xFF, 0xFF, 0xFF, 0xFF), 65535ull * 65535ull);
}

TEST(Divider, ThirtyTwoBitCountIsLowWordThenHighWord) {
  EXPECT_EQ(regs::count_32(0x0900, 0x003D), 4'000'000u);
  EXPECT_EQ(regs::pacer_hz(regs::kClocks40MHz.base_hz, regs::count_32(0x0900, 0x003D)), 10.0);
  EXPECT_EQ(regs::pacer_hz(regs::kClocks40MHz.second_hz, 3'276'800), 10.0);
}

}  // namespace
