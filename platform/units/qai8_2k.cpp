// libqai8_2k.so: the simulated QAI8 analog-input unit.
//
// Each of the eight inputs is a signal in mV (DC level + sine + noise),
// converted at 312.5 µV per code step (full scale ±10240 mV) and clipped to
// the code range. One Get_AdValue averages AveNum scans, the scans lying one
// scan interval apart (by the scan speed) from the read's time on; the
// library gives the result at once rather than waiting for the scans.
#include <cmath>

#pragma GCC visibility push(default)
#include "qai8_2k.h"
#pragma GCC visibility pop

#include "unit_sim.h"

namespace {

using units::Call;

constexpr Call kUnitCalls[] = {Call::Get_Firmver, Call::Get_Din,       Call::Get_DoutMon,   Call::Set_Dout,
                               Call::Set_AdCode,  Call::Set_ScanSpeed, Call::Set_MultiScan, Call::Get_AdValue};

constexpr double kMvPerCode = 0.3125;
constexpr int32_t kOffset = 32768;  // offset binary: code of 0 mV

// Scan speed -> time between two scans of one averaged read.
constexpr double kScanIntervalMs[] = {
    // 0     1     2     3    4    5    6    7    8    9
    0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0,
};
constexpr int32_t kMaxAverage = 256;

// Unit 0 without a unit file: something to watch on every input.
void default_unit(units::Unit& u) {
  u.din = 1;
  u.inputs = {{
      // dc mV   sine mV  period ms  phase°  noise mV
      {1000.0, 0.0, 1000.0, 0.0, 1.0},
      {-2500.0, 0.0, 1000.0, 0.0, 1.0},
      {0.0, 5000.0, 2000.0, 0.0, 0.0},
      {2000.0, 1000.0, 500.0, 0.0, 2.0},
      {0.0, 0.0, 1000.0, 0.0, 100.0},
      {9000.0, 0.0, 1000.0, 0.0, 5.0},
      {0.0, 8000.0, 10000.0, 90.0, 0.0},
      {-7500.0, 250.0, 3000.0, 0.0, 20.0},
  }};
}

const units::Family kQai8{"qai8_2k", "QAI8_UNITS", kUnitCalls, units::kInputs, 0, "1.00", "1.02", default_unit};
units::Library qai8(kQai8);

double input_mv(const units::Input& in, double t_ms, uint64_t& noise) {
  double mv = analog::level_mv(in, t_ms);
  if (in.noise_mv != 0) mv += in.noise_mv * units::uniform_noise(noise);
  return mv;
}

// The code of one scan as a number: -32768 ... 32767 in two's complement,
// 0 ... 65535 in offset binary.
int32_t scan_code(double mv, int32_t format) {
  const double steps = std::nearbyint(mv / kMvPerCode);
  const double clipped = std::fmin(std::fmax(steps, -32768.0), 32767.0);
  return static_cast<int32_t>(clipped) + (format == 1 ? kOffset : 0);
}

int16_t as_code(int32_t value) { return static_cast<int16_t>(static_cast<uint16_t>(value)); }

}  // namespace

extern "C" {

int32_t Qai8_OpenDriver(void) { return units::open_driver(qai8); }
int32_t Qai8_CloseDriver(void) { return units::close_driver(qai8); }
int32_t Qai8_Get_Libver(char* Dll_Ver, int32_t len) { return units::get_libver(qai8, Dll_Ver, len); }
int32_t Qai8_Get_Firmver(int32_t RotSw, char* F_Ver, int32_t len) {
  return units::get_firmver(qai8, RotSw, F_Ver, len);
}
int32_t Qai8_Get_Din(int32_t RotSw) { return units::get_din(qai8, RotSw); }
int32_t Qai8_Get_DoutMon(int32_t RotSw) { return units::get_doutmon(qai8, RotSw); }
int32_t Qai8_Set_Dout(int32_t RotSw, int32_t state) { return units::set_dout(qai8, RotSw, state); }
int32_t Qai8_Set_AdCode(int32_t RotSw, int32_t code) { return units::set_code(qai8, Call::Set_AdCode, RotSw, code); }

int32_t Qai8_Set_ScanSpeed(int32_t RotSw, int32_t speed) {
  units::Gate gate(qai8, Call::Set_ScanSpeed, RotSw);
  if (gate.refused()) return gate.code();
  if (speed < 0 || speed >= static_cast<int32_t>(std::size(kScanIntervalMs))) {
    return units::kBadParameter;
  }
  gate.unit().speed = speed;
  return 0;
}

int32_t Qai8_Set_MultiScan(int32_t RotSw, int32_t AveNum) {
  units::Gate gate(qai8, Call::Set_MultiScan, RotSw);
  if (gate.refused()) return gate.code();
  if (AveNum < 1 || AveNum > kMaxAverage) return units::kBadParameter;
  gate.unit().average = AveNum;
  return 0;
}

int32_t Qai8_Get_AdValue(int32_t RotSw, int32_t CH, int16_t* AdVal) {
  units::Gate gate(qai8, Call::Get_AdValue, RotSw);
  if (gate.refused()) return gate.code();
  if (CH < 1 || CH > units::kInputs || AdVal == nullptr) return units::kBadParameter;
  const units::Unit& u = gate.unit();
  units::Clock& clock = qai8.setup.clock;
  const double t0 = clock.now_ms();
  const double interval = kScanIntervalMs[u.speed];
  for (int32_t ch = 0; ch < CH; ++ch) {
    int64_t sum = 0;
    for (int32_t scan = 0; scan < u.average; ++scan) {
      sum += scan_code(input_mv(u.inputs[ch], t0 + scan * interval, qai8.noise), u.code);
    }
    const auto mean = std::lround(static_cast<double>(sum) / u.average);
    AdVal[ch] = as_code(static_cast<int32_t>(mean));
  }
  clock.after_read();
  return 0;
}

}  // extern "C"
