// The simulated units behind libqai8_2k.so and libqao4_2k.so.
//
// Both libraries are one Library each: a set of units by rotary-switch
// number, read from the unit file that the library's environment variable
// names (or a lively unit 0 when there is none), plus the call counters that
// the fault entries of the file look at. Everything here is shared; what
// sets the two libraries apart is their Family row and their A/D or D/A
// calls.
//
// Modelling choices:
// - Every call but OpenDriver is refused with kNotOpen while the library is
//   not open. OpenDriver on an open library keeps it as it is and gives 0.
// - A call naming a number no unit answers to gives kNoUnit; a number that
//   two units of the file share gives kDuplicate (both as on a real bus).
// - A fault answers a call before its arguments are checked, and a call that
//   a fault answers has no effect.
// - Time: the signals follow the monotonic clock from OpenDriver on, or, with
//   a frozen clock, a virtual time that only A/D reads advance.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analog_input.h"

namespace units {

// Failure codes; their texts are those of the panels' error table.
constexpr int32_t kNoUnit = -21;        // no unit answers to the number
constexpr int32_t kDuplicate = -22;     // two units answer to the number
constexpr int32_t kNotOpen = -24;       // library not open: no unit is selected
constexpr int32_t kBadParameter = -40;  // channel count, buffer, code, speed, count
constexpr int32_t kBadUnitFile = -60;   // unit file unusable: the units cannot be set up

// Every call of both libraries; counters and fault entries are indexed by it.
// clang-format off
enum class Call : uint8_t {
  OpenDriver, CloseDriver, Get_Libver, Get_Firmver, Get_Din, Get_DoutMon, Set_Dout,
  Set_AdCode, Set_ScanSpeed, Set_MultiScan, Get_AdValue, Set_DaCode, Set_DaValue, Get_DaValue,
};
constexpr size_t kCalls = 14;
constexpr std::array<std::string_view, kCalls> kCallNames = {
    "OpenDriver", "CloseDriver", "Get_Libver", "Get_Firmver", "Get_Din",
    "Get_DoutMon", "Set_Dout", "Set_AdCode", "Set_ScanSpeed", "Set_MultiScan",
    "Get_AdValue", "Set_DaCode", "Set_DaValue", "Get_DaValue",
};
// clang-format on

constexpr int kInputs = 8;   // A/D inputs of a QAI8
constexpr int kOutputs = 4;  // D/A outputs of a QAO4

using Input = analog::Input;  // one A/D input

// "call returns code from its from-th call on" (for count calls, or for ever).
struct Fault {
  Call call;
  int32_t code;
  uint64_t from;
  uint64_t count;  // 0: for ever
};

using Counters = std::array<uint64_t, kCalls>;

struct Unit {
  int32_t rotsw = 0;
  std::string firmware;
  int32_t din = 0;      // digital input: 0 OFF, 1 ON
  int32_t dout = 0;     // digital output: 0 OFF, 1 ON
  int32_t code = 0;     // code format: 0 two's complement, 1 offset binary
  int32_t speed = 1;    // QAI8 scan speed
  int32_t average = 1;  // QAI8 averaging count (AveNum)
  std::array<Input, kInputs> inputs{};
  std::array<int16_t, kOutputs> outputs{};
  std::vector<Fault> faults;
  Counters calls{};
  bool duplicated = false;  // another unit of the file has the same number
};

struct Clock {
  bool frozen = false;
  double start_ms = 0;  // time at OpenDriver
  double step_ms = 0;   // frozen clock: time added by every A/D read
  uint64_t reads = 0;
  std::chrono::steady_clock::time_point opened{};

  double now_ms() const;
  void after_read() { ++reads; }
};

// What sets one library apart.
// clang-format off
struct Family {
  const char* name;                // "qai8_2k": start of its lines on stderr
  const char* env;                 // variable naming the unit file
  std::span<const Call> unit_calls;
  int inputs;                      // A/D inputs per unit
  int outputs;                     // D/A outputs per unit
  const char* version;             // library version text without a file
  const char* firmware;            // firmware text of a unit that names none
  void (*default_unit)(Unit&);     // unit 0 without a file
};
// clang-format on

// Everything OpenDriver sets up.
struct Setup {
  std::string version;
  Clock clock;
  uint64_t noise_seed = 1;
  std::vector<Unit> units;
  std::vector<Fault> faults;  // of the library calls
};

struct Library {
  explicit Library(const Family& f) : family(f) {}

  const Family& family;
  std::mutex lock;
  bool open = false;
  Setup setup;
  uint64_t noise = 1;     // noise generator state
  Counters calls{};       // library calls since the last OpenDriver
  std::string open_path;  // unit file of the OpenDriver calls counted in opens
  uint64_t opens = 0;
};

// Reads a unit file; throws config::Error "<file>:<line>: <problem>", or
// "<file>: cannot read the unit file (<reason>)" for a file that is missing,
// unreadable or not a regular file.
Setup load_unit_file(const std::string& path, const Family& family);
// The same for the text of a unit file named `name` (for the fuzz target).
Setup load_unit_text(std::string_view text, const std::string& name, const Family& family);
// The setup without a unit file: unit 0 of the family.
Setup default_setup(const Family& family);

// Holds the library for one call and answers the call itself when it cannot
// go on: library not open, no such unit, or a fault armed for this call.
class Gate {
 public:
  Gate(Library& lib, Call call);                 // library calls
  Gate(Library& lib, Call call, int32_t rotsw);  // unit calls
  bool refused() const { return refused_; }
  int32_t code() const { return code_; }
  Unit& unit() { return *unit_; }

 private:
  void count(const std::vector<Fault>& faults, Counters& calls, Call call);

  std::lock_guard<std::mutex> hold_;
  bool refused_ = false;
  int32_t code_ = 0;
  Unit* unit_ = nullptr;
};

// The calls both libraries have.
int32_t open_driver(Library& lib);
int32_t close_driver(Library& lib);
int32_t get_libver(Library& lib, char* text, int32_t len);
int32_t get_firmver(Library& lib, int32_t rotsw, char* text, int32_t len);
int32_t get_din(Library& lib, int32_t rotsw);
int32_t get_doutmon(Library& lib, int32_t rotsw);
int32_t set_dout(Library& lib, int32_t rotsw, int32_t state);
int32_t set_code(Library& lib, Call call, int32_t rotsw, int32_t code);

// Copies a version text into a caller's buffer of len bytes: with its NUL
// when it fits, else the first len bytes without one.
int32_t copy_text(const std::string& text, char* buffer, int32_t len);

// Uniform noise in [-1, 1) from the library's generator (splitmix64, so the
// same seed gives the same noise on every machine).
double uniform_noise(uint64_t& state);

}  // namespace units
