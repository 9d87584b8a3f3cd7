// Unit libraries made of a table of results, for the handler tests: every
// call is recorded with its arguments and returns what the test put in.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "qai_panel.h"
#include "qao_panel.h"

namespace panels::testing {

struct FakeCall {
  std::string function;  // without the unit prefix
  std::vector<int32_t> args;
};

struct FakeUnits {
  std::map<std::string, int32_t> results;  // function → result, 0 when absent
  std::vector<FakeCall> calls;
  std::string version = "1.00";  // copied into the buffer, NUL included when it fits
  int16_t ad[8] = {};
  int16_t da[4] = {};
  int16_t da_written[4] = {};
};

FakeUnits& fake();  // reset with fake() = {}
extern const Qai8Library kFakeQai8;
extern const Qao4Library kFakeQao4;

}  // namespace panels::testing
