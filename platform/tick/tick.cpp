#include "tick.h"

#include <dlfcn.h>

#include <chrono>

namespace platform {

namespace {

using DriverClock = uint64_t (*)(uint32_t advance_us);

// Looked up at run time: a driver library without a clock is just as good.
DriverClock driver_clock() {
  static const DriverClock clock =
      reinterpret_cast<DriverClock>(dlsym(RTLD_DEFAULT, "Regio_Clock_us"));
  return clock;
}

constexpr uint32_t kReadCost_us = 1;

}  // namespace

uint32_t tick_ms() {
  if (DriverClock clock = driver_clock()) {
    return static_cast<uint32_t>(clock(kReadCost_us) / 1000);
  }
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

}  // namespace platform
