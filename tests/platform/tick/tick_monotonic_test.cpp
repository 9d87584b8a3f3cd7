#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tick.h"

namespace {

using std::chrono::duration_cast;
using std::chrono::milliseconds;
using std::chrono::steady_clock;

// Linked without a driver clock: the tick follows the monotonic clock. It
// counts no less than the time slept and no more than the monotonic clock
// saw around it, however long the sleep took on a busy machine.
TEST(TickWithoutADriverClock, FollowsTheMonotonicClock) {
  const auto before = steady_clock::now();
  const uint32_t start = platform::tick_ms();
  std::this_thread::sleep_for(milliseconds(30));
  const uint32_t elapsed = platform::tick_ms() - start;
  const auto around = duration_cast<milliseconds>(steady_clock::now() - before).count();
  EXPECT_GE(elapsed, 30u);
  EXPECT_LE(elapsed, around + 1) << "whole milliseconds: one more at most";
}

}  // namespace
