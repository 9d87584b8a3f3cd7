#include "fake_units.h"

#include <algorithm>
#include <cstring>

namespace panels::testing {
namespace {

int32_t Record(const char* function, std::vector<int32_t> args) {
    Fake().calls.push_back({function, std::move(args)});
    const auto it = Fake().results.find(function);
    return it == Fake().results.end() ? 0 : it->second;
}

void CopyVersion(char* buffer, int32_t len) {
    const std::string& v = Fake().version;
    const std::size_t n = std::min(v.size() + 1, static_cast<std::size_t>(len));
    std::memcpy(buffer, v.c_str(), n);
}

int32_t OpenDriver() { return Record("OpenDriver", {}); }
int32_t CloseDriver() { return Record("CloseDriver", {}); }
int32_t Get_Libver(char* buffer, int32_t len) {
    const int32_t ret = Record("Get_Libver", {len});
    if (ret == 0) CopyVersion(buffer, len);
    return ret;
}
int32_t Get_Firmver(int32_t rotSw, char* buffer, int32_t len) {
    const int32_t ret = Record("Get_Firmver", {rotSw, len});
    if (ret == 0) CopyVersion(buffer, len);
    return ret;
}
int32_t Get_Din(int32_t rotSw) { return Record("Get_Din", {rotSw}); }
int32_t Get_DoutMon(int32_t rotSw) { return Record("Get_DoutMon", {rotSw}); }
int32_t Set_Dout(int32_t rotSw, int32_t state) { return Record("Set_Dout", {rotSw, state}); }
int32_t Set_AdCode(int32_t rotSw, int32_t code) { return Record("Set_AdCode", {rotSw, code}); }
int32_t Set_ScanSpeed(int32_t rotSw, int32_t speed) { return Record("Set_ScanSpeed", {rotSw, speed}); }
int32_t Set_MultiScan(int32_t rotSw, int32_t aveNum) { return Record("Set_MultiScan", {rotSw, aveNum}); }
int32_t Get_AdValue(int32_t rotSw, int32_t ch, int16_t* adVal) {
    const int32_t ret = Record("Get_AdValue", {rotSw, ch});
    if (ret >= 0) std::copy(Fake().ad, Fake().ad + std::clamp(ch, 0, 8), adVal);
    return ret;
}
int32_t Set_DaCode(int32_t rotSw, int32_t code) { return Record("Set_DaCode", {rotSw, code}); }
int32_t Set_DaValue(int32_t rotSw, int32_t ch, const int16_t* daVal) {
    std::copy(daVal, daVal + 4, Fake().daWritten);
    return Record("Set_DaValue", {rotSw, ch, daVal[0], daVal[1], daVal[2], daVal[3]});
}
int32_t Get_DaValue(int32_t rotSw, int32_t ch, int16_t* daVal) {
    const int32_t ret = Record("Get_DaValue", {rotSw, ch});
    if (ret >= 0) std::copy(Fake().da, Fake().da + std::clamp(ch, 0, 4), daVal);
    return ret;
}

}  // namespace

FakeUnits& Fake() {
    static FakeUnits units;
    return units;
}

const Qai8Library kFakeQai8 = {
    {"Qai8_", OpenDriver, CloseDriver, Get_Libver, Get_Firmver, Get_Din, Get_DoutMon, Set_Dout},
    Set_AdCode, Set_ScanSpeed, Set_MultiScan, Get_AdValue,
};
const Qao4Library kFakeQao4 = {
    {"Qao4_", OpenDriver, CloseDriver, Get_Libver, Get_Firmver, Get_Din, Get_DoutMon, Set_Dout},
    Set_DaCode, Set_DaValue, Get_DaValue,
};

}  // namespace panels::testing
