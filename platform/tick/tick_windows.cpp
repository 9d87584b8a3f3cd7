// The millisecond tick on Windows: GetTickCount, or the clock of the loaded
// Regio32.dll where it offers one (the simulated bench runs in virtual time).
#include <windows.h>

#include "regio32.h"
#include "tick.h"

namespace platform {

namespace {

using DriverTick = uint32_t(REGIO_CALL*)();

// Looked up at run time: a driver library without a clock is just as good.
DriverTick driver_tick() {
  static const DriverTick tick = [] {
    const HMODULE driver = GetModuleHandleA("Regio32.dll");
    if (driver == nullptr) return DriverTick{nullptr};
    return reinterpret_cast<DriverTick>(reinterpret_cast<void*>(GetProcAddress(driver, "Regio_Tick_ms")));
  }();
  return tick;
}

}  // namespace

uint32_t tick_ms() {
  if (DriverTick tick = driver_tick()) return tick();
  return GetTickCount();
}

}  // namespace platform
