#include "fake_units.h"

#include <algorithm>
#include <cstring>

namespace panels::testing {
namespace {

int32_t record(const char* function, std::vector<int32_t> args) {
  fake().calls.push_back({function, std::move(args)});
  const auto it = fake().results.find(function);
  return it == fake().results.end() ? 0 : it->second;
}

void copy_version(char* buffer, int32_t len) {
  const std::string& v = fake().version;
  const std::size_t n = std::min(v.size() + 1, static_cast<std::size_t>(len));
  std::memcpy(buffer, v.c_str(), n);
}

int32_t OpenDriver() { return record("OpenDriver", {}); }
int32_t CloseDriver() { return record("CloseDriver", {}); }
int32_t Get_Libver(char* Dll_Ver, int32_t len) {
  const int32_t ret = record("Get_Libver", {len});
  if (ret == 0) copy_version(Dll_Ver, len);
  return ret;
}
int32_t Get_Firmver(int32_t RotSw, char* F_Ver, int32_t len) {
  const int32_t ret = record("Get_Firmver", {RotSw, len});
  if (ret == 0) copy_version(F_Ver, len);
  return ret;
}
int32_t Get_Din(int32_t RotSw) { return record("Get_Din", {RotSw}); }
int32_t Get_DoutMon(int32_t RotSw) { return record("Get_DoutMon", {RotSw}); }
int32_t Set_Dout(int32_t RotSw, int32_t state) { return record("Set_Dout", {RotSw, state}); }
int32_t Set_AdCode(int32_t RotSw, int32_t code) { return record("Set_AdCode", {RotSw, code}); }
int32_t Set_ScanSpeed(int32_t RotSw, int32_t speed) { return record("Set_ScanSpeed", {RotSw, speed}); }
int32_t Set_MultiScan(int32_t RotSw, int32_t AveNum) { return record("Set_MultiScan", {RotSw, AveNum}); }
int32_t Get_AdValue(int32_t RotSw, int32_t CH, int16_t* AdVal) {
  const int32_t ret = record("Get_AdValue", {RotSw, CH});
  if (ret >= 0) std::copy(fake().ad, fake().ad + std::clamp(CH, 0, 8), AdVal);
  return ret;
}
int32_t Set_DaCode(int32_t RotSw, int32_t code) { return record("Set_DaCode", {RotSw, code}); }
int32_t Set_DaValue(int32_t RotSw, int32_t CH, const int16_t* Da_Val) {
  std::copy(Da_Val, Da_Val + 4, fake().da_written);
  return record("Set_DaValue", {RotSw, CH, Da_Val[0], Da_Val[1], Da_Val[2], Da_Val[3]});
}
int32_t Get_DaValue(int32_t RotSw, int32_t CH, int16_t* DaVal) {
  const int32_t ret = record("Get_DaValue", {RotSw, CH});
  if (ret >= 0) std::copy(fake().da, fake().da + std::clamp(CH, 0, 4), DaVal);
  return ret;
}

}  // namespace

FakeUnits& fake() {
  static FakeUnits units;
  return units;
}

const Qai8Library kFakeQai8 = {
    {"Qai8_", OpenDriver, CloseDriver, Get_Libver, Get_Firmver, Get_Din, Get_DoutMon, Set_Dout},
    Set_AdCode,
    Set_ScanSpeed,
    Set_MultiScan,
    Get_AdValue,
};
const Qao4Library kFakeQao4 = {
    {"Qao4_", OpenDriver, CloseDriver, Get_Libver, Get_Firmver, Get_Din, Get_DoutMon, Set_Dout},
    Set_DaCode,
    Set_DaValue,
    Get_DaValue,
};

}  // namespace panels::testing
