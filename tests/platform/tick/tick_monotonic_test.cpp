#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tick.h"

namespace {

// Linked without a driver clock: the tick follows the monotonic clock.
TEST(TickWithoutADriverClock, FollowsTheMonotonicClock) {
  const uint32_t start = platform::tick_ms();
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  const uint32_t elapsed = platform::tick_ms() - start;
  EXPECT_GE(elapsed, 30u);
  EXPECT_LT(elapsed, 5000u);
}

}  // namespace
