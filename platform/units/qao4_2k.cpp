// libqao4_2k.so: the simulated QAO4 analog-output unit.
//
// Each of the four outputs keeps the 16-bit code last written to it and
// gives it back on readback. Every code is valid in both code formats, and
// choosing a format keeps the codes as they are (only their voltage would
// change on a real unit).
#pragma GCC visibility push(default)
#include "qao4_2k.h"
#pragma GCC visibility pop

#include "unit_sim.h"

namespace {

using units::Call;

constexpr Call kUnitCalls[] = {Call::Get_Firmver, Call::Get_Din,     Call::Get_DoutMon, Call::Set_Dout,
                               Call::Set_DaCode,  Call::Set_DaValue, Call::Get_DaValue};

// Unit 0 without a unit file: all outputs at code 0, input OFF.
void default_unit(units::Unit&) {}

const units::Family kQao4{"qao4_2k", "QAO4_UNITS", kUnitCalls, 0, units::kOutputs, "1.00", "1.01", default_unit};
units::Library qao4(kQao4);

bool channels_ok(int32_t ch, const void* buffer) { return ch >= 1 && ch <= units::kOutputs && buffer != nullptr; }

}  // namespace

extern "C" {

int32_t Qao4_OpenDriver(void) { return units::open_driver(qao4); }
int32_t Qao4_CloseDriver(void) { return units::close_driver(qao4); }
int32_t Qao4_Get_Libver(char* Dll_Ver, int32_t len) { return units::get_libver(qao4, Dll_Ver, len); }
int32_t Qao4_Get_Firmver(int32_t RotSw, char* F_Ver, int32_t len) {
  return units::get_firmver(qao4, RotSw, F_Ver, len);
}
int32_t Qao4_Get_Din(int32_t RotSw) { return units::get_din(qao4, RotSw); }
int32_t Qao4_Get_DoutMon(int32_t RotSw) { return units::get_doutmon(qao4, RotSw); }
int32_t Qao4_Set_Dout(int32_t RotSw, int32_t state) { return units::set_dout(qao4, RotSw, state); }
int32_t Qao4_Set_DaCode(int32_t RotSw, int32_t code) { return units::set_code(qao4, Call::Set_DaCode, RotSw, code); }

int32_t Qao4_Set_DaValue(int32_t RotSw, int32_t CH, const int16_t* Da_Val) {
  units::Gate gate(qao4, Call::Set_DaValue, RotSw);
  if (gate.refused()) return gate.code();
  if (!channels_ok(CH, Da_Val)) return units::kBadParameter;
  for (int32_t ch = 0; ch < CH; ++ch) gate.unit().outputs[static_cast<size_t>(ch)] = Da_Val[ch];
  return 0;
}

int32_t Qao4_Get_DaValue(int32_t RotSw, int32_t CH, int16_t* DaVal) {
  units::Gate gate(qao4, Call::Get_DaValue, RotSw);
  if (gate.refused()) return gate.code();
  if (!channels_ok(CH, DaVal)) return units::kBadParameter;
  for (int32_t ch = 0; ch < CH; ++ch) DaVal[ch] = gate.unit().outputs[static_cast<size_t>(ch)];
  return 0;
}

}  // extern "C"
