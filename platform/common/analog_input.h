// One simulated analog input, as the bench file and the unit file describe
// it: a DC level, a sine and uniform noise, in mV. The noise source is the
// caller's (the bench fixes it by sample, the units draw it).
#pragma once

#include <cmath>
#include <numbers>

namespace analog {

struct Input {
  double dc_mv = 0;
  double sine_mv = 0;  // amplitude
  double period_ms = 1000;
  double phase_deg = 0;
  double noise_mv = 0;  // peak: the noise is uniform in -noise ... +noise
};

// The input's level at time t_ms without its noise.
inline double level_mv(const Input& in, double t_ms) {
  double mv = in.dc_mv;
  if (in.sine_mv != 0) mv += in.sine_mv * std::sin(2 * std::numbers::pi * (t_ms / in.period_ms + in.phase_deg / 360.0));
  return mv;
}

}  // namespace analog
