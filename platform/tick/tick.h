// The millisecond tick of the console programs.
//
// Follows the driver library's clock where the library offers one (the
// simulated bench runs in virtual time), and the monotonic clock otherwise.
// Each read moves a driver clock on a little, so that a wait on the tick
// alone ends too.
#pragma once

#include <cstdint>

namespace platform {

uint32_t tick_ms();

}  // namespace platform
