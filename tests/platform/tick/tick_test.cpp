#include "tick.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "regio32.h"

namespace {

// Linked with the bench: the tick follows its virtual clock.
TEST(TickOnTheBench, FollowsTheDriverClock) {
  const uint32_t start = platform::tick_ms();
  Regio_Clock_ns(250'000'000);
  EXPECT_EQ(platform::tick_ms() - start, 250u);
}

TEST(TickOnTheBench, AWaitOnTheTickAloneEnds) {
  const uint32_t start = platform::tick_ms();
  uint64_t reads = 0;
  while (platform::tick_ms() - start < 500) ++reads;
  // A read costs a little, and a read that repeats the one before moves the
  // clock on to the next millisecond: about two reads a millisecond.
  EXPECT_GE(reads, 500u);
  EXPECT_LE(reads, 1'001u);
}

}  // namespace
