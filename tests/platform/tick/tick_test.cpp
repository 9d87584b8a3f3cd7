#include "tick.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "regio32.h"

namespace {

// Linked with the bench: the tick follows its virtual clock.
TEST(TickOnTheBench, FollowsTheDriverClock) {
  const uint32_t start = platform::tick_ms();
  Regio_Clock_us(250'000);
  EXPECT_EQ(platform::tick_ms() - start, 250u);
}

TEST(TickOnTheBench, AWaitOnTheTickAloneEnds) {
  const uint32_t start = platform::tick_ms();
  uint64_t reads = 0;
  while (platform::tick_ms() - start < 500) ++reads;
  // Each read moves the clock on by a microsecond.
  EXPECT_GE(reads, 499'000u);
  EXPECT_LE(reads, 500'001u);
}

}  // namespace
