#include "tick.h"

#include <dlfcn.h>

#include <chrono>

namespace platform {

namespace {

using DriverTick = uint32_t (*)();

// Looked up at run time: a driver library without a clock is just as good.
DriverTick driver_tick() {
  static const DriverTick tick = reinterpret_cast<DriverTick>(dlsym(RTLD_DEFAULT, "Regio_Tick_ms"));
  return tick;
}

}  // namespace

uint32_t tick_ms() {
  if (DriverTick tick = driver_tick()) return tick();
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

}  // namespace platform
