// The unit-file reader on any bytes, as the QAI8 and as the QAO4 library
// reads it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "fuzz_check.h"
#include "unit_sim.h"

namespace {

using units::Call;

// The parts of the two libraries' rows that the reader looks at.
constexpr Call kQai8Calls[] = {Call::Get_Firmver, Call::Get_Din,       Call::Get_DoutMon,   Call::Set_Dout,
                               Call::Set_AdCode,  Call::Set_ScanSpeed, Call::Set_MultiScan, Call::Get_AdValue};
constexpr Call kQao4Calls[] = {Call::Get_Firmver, Call::Get_Din,     Call::Get_DoutMon, Call::Set_Dout,
                               Call::Set_DaCode,  Call::Set_DaValue, Call::Get_DaValue};
void no_default(units::Unit&) {}
const units::Family kFamilies[] = {
    {"qai8_2k", "QAI8_UNITS", kQai8Calls, units::kInputs, 0, "1.00", "1.02", no_default},
    {"qao4_2k", "QAO4_UNITS", kQao4Calls, 0, units::kOutputs, "1.00", "1.01", no_default},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const units::Family& family : kFamilies) {
    fuzz::read_or_one_line_error([&] {
      const units::Setup setup = units::load_unit_text(text, fuzz::kFileName, family);
      for (const units::Unit& unit : setup.units) {
        if (unit.rotsw < 0 || unit.rotsw > 15) std::abort();
      }
    });
  }
  return 0;
}
