#include "unit_sim.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "config_file.h"

namespace units {

namespace {

constexpr Call kLibraryCalls[] = {Call::OpenDriver, Call::CloseDriver, Call::Get_Libver};

constexpr double kMaxMv = 20000;  // beyond the ±10240 mV range, to show clipping

const toml::node& node_of(const toml::table& t, std::string_view key) {
  const toml::node* node = t.get(key);
  return node != nullptr ? *node : t;
}

int64_t required_integer(const config::File& f, const toml::table& t, std::string_view key, int64_t lo, int64_t hi) {
  const auto value = f.integer(t, key, lo, hi);
  if (!value) f.fail(t, "'" + std::string(key) + "' is missing");
  return *value;
}

std::string call_list(std::span<const Call> calls) {
  std::string list;
  for (Call c : calls) {
    if (!list.empty()) list += ", ";
    list += kCallNames[static_cast<size_t>(c)];
  }
  return list;
}

Fault load_fault(const config::File& f, const toml::table& t, std::span<const Call> calls, std::string_view where) {
  f.only_keys(t, {"call", "code", "from", "count"});
  const auto name = f.string(t, "call");
  if (!name) f.fail(t, "'call' is missing");
  const auto known =
      std::find_if(calls.begin(), calls.end(), [&](Call c) { return kCallNames[static_cast<size_t>(c)] == *name; });
  if (known == calls.end()) {
    f.fail(node_of(t, "call"),
           "'" + *name + "' is not a call of " + std::string(where) + " (" + call_list(calls) + ")");
  }
  Fault fault{};
  fault.call = *known;
  fault.code = static_cast<int32_t>(required_integer(f, t, "code", INT32_MIN, INT32_MAX));
  fault.from = static_cast<uint64_t>(f.integer(t, "from", 1, INT64_MAX).value_or(1));
  fault.count = static_cast<uint64_t>(f.integer(t, "count", 1, INT64_MAX).value_or(0));
  return fault;
}

void load_input(const config::File& f, const toml::table& t, Unit& unit, std::array<bool, kInputs>& seen) {
  f.only_keys(t, {"ch", "dc", "sine", "noise"});
  const auto ch = static_cast<size_t>(required_integer(f, t, "ch", 0, kInputs - 1));
  if (seen[ch]) f.fail(node_of(t, "ch"), "input " + std::to_string(ch) + " is set twice");
  seen[ch] = true;
  Input& in = unit.inputs[ch];
  in.dc_mv = f.number(t, "dc", -kMaxMv, kMaxMv).value_or(0);
  in.noise_mv = f.number(t, "noise", 0, kMaxMv).value_or(0);
  if (const toml::table* sine = f.table(t, "sine")) {
    f.only_keys(*sine, {"amplitude", "period_ms", "phase_deg"});
    const auto amplitude = f.number(*sine, "amplitude", 0, kMaxMv);
    const auto period = f.number(*sine, "period_ms", 0.001, 1e9);
    if (!amplitude) f.fail(*sine, "'amplitude' is missing");
    if (!period) f.fail(*sine, "'period_ms' is missing");
    in.sine_mv = *amplitude;
    in.period_ms = *period;
    in.phase_deg = f.number(*sine, "phase_deg", -360, 360).value_or(0);
  }
}

void load_output(const config::File& f, const toml::table& t, Unit& unit, std::array<bool, kOutputs>& seen) {
  f.only_keys(t, {"ch", "code"});
  const auto ch = static_cast<size_t>(required_integer(f, t, "ch", 0, kOutputs - 1));
  if (seen[ch]) f.fail(node_of(t, "ch"), "output " + std::to_string(ch) + " is set twice");
  seen[ch] = true;
  // 0x8000 ... 0xFFFF stand for their 16 bits, as in offset binary.
  const auto code = required_integer(f, t, "code", INT16_MIN, UINT16_MAX);
  unit.outputs[ch] = static_cast<int16_t>(static_cast<uint16_t>(code));
}

Unit load_unit(const config::File& f, const toml::table& t, const Family& family) {
  if (family.inputs > 0) {
    f.only_keys(t, {"rotsw", "firmware", "din", "dout", "code", "speed", "average", "input", "fault"});
  } else {
    f.only_keys(t, {"rotsw", "firmware", "din", "dout", "code", "output", "fault"});
  }
  Unit unit;
  unit.rotsw = static_cast<int32_t>(required_integer(f, t, "rotsw", 0, 15));
  unit.firmware = f.string(t, "firmware").value_or(family.firmware);
  unit.din = static_cast<int32_t>(f.integer(t, "din", 0, 1).value_or(0));
  unit.dout = static_cast<int32_t>(f.integer(t, "dout", 0, 1).value_or(0));
  unit.code = static_cast<int32_t>(f.integer(t, "code", 0, 1).value_or(0));
  unit.speed = static_cast<int32_t>(f.integer(t, "speed", 0, 9).value_or(1));
  unit.average = static_cast<int32_t>(f.integer(t, "average", 1, 256).value_or(1));
  std::array<bool, kInputs> inputs_seen{};
  for (const toml::table* in : f.tables(t, "input")) load_input(f, *in, unit, inputs_seen);
  std::array<bool, kOutputs> outputs_seen{};
  for (const toml::table* out : f.tables(t, "output")) load_output(f, *out, unit, outputs_seen);
  for (const toml::table* fault : f.tables(t, "fault")) {
    unit.faults.push_back(load_fault(f, *fault, family.unit_calls, "a unit"));
  }
  return unit;
}

void mark_duplicates(std::vector<Unit>& list) {
  for (Unit& a : list) {
    for (const Unit& b : list) a.duplicated = a.duplicated || (&a != &b && a.rotsw == b.rotsw);
  }
}

}  // namespace

double Clock::now_ms() const {
  if (frozen) return start_ms + step_ms * static_cast<double>(reads);
  const auto since = std::chrono::steady_clock::now() - opened;
  return start_ms + std::chrono::duration<double, std::milli>(since).count();
}

Setup default_setup(const Family& family) {
  Setup setup;
  setup.version = family.version;
  Unit unit;
  unit.firmware = family.firmware;
  family.default_unit(unit);
  setup.units.push_back(unit);
  return setup;
}

namespace {

Setup load_units(const config::File& f, const Family& family) {
  const toml::table& root = f.root();
  f.only_keys(root, {"library", "clock", "unit", "fault"});
  Setup setup;
  setup.version = family.version;
  if (const toml::table* lib = f.table(root, "library")) {
    f.only_keys(*lib, {"version", "noise_seed"});
    setup.version = f.string(*lib, "version").value_or(family.version);
    setup.noise_seed = static_cast<uint64_t>(f.integer(*lib, "noise_seed", 0, INT64_MAX).value_or(1));
  }
  if (const toml::table* clock = f.table(root, "clock")) {
    f.only_keys(*clock, {"frozen", "start_ms", "step_ms"});
    setup.clock.frozen = f.boolean(*clock, "frozen").value_or(false);
    setup.clock.start_ms = f.number(*clock, "start_ms", 0, 1e12).value_or(0);
    setup.clock.step_ms = f.number(*clock, "step_ms", 0, 1e9).value_or(0);
    if (!setup.clock.frozen && clock->contains("step_ms")) {
      f.fail(node_of(*clock, "step_ms"), "'step_ms' needs 'frozen = true'");
    }
  }
  for (const toml::table* unit : f.tables(root, "unit")) {
    setup.units.push_back(load_unit(f, *unit, family));
  }
  for (const toml::table* fault : f.tables(root, "fault")) {
    setup.faults.push_back(load_fault(f, *fault, kLibraryCalls, "the library"));
  }
  mark_duplicates(setup.units);
  return setup;
}

}  // namespace

Setup load_unit_file(const std::string& path, const Family& family) {
  return load_units(config::File(path, "unit file"), family);
}

Setup load_unit_text(std::string_view text, const std::string& name, const Family& family) {
  return load_units(config::File::from_text(name, text), family);
}

Gate::Gate(Library& lib, Call call) : hold_(lib.lock) {
  if (!lib.open) {
    refused_ = true;
    code_ = kNotOpen;
    return;
  }
  count(lib.setup.faults, lib.calls, call);
}

Gate::Gate(Library& lib, Call call, int32_t rotsw) : hold_(lib.lock) {
  refused_ = true;
  code_ = kNotOpen;
  if (!lib.open) return;
  code_ = kNoUnit;
  for (Unit& u : lib.setup.units) {
    if (u.rotsw == rotsw) unit_ = &u;
  }
  if (unit_ == nullptr) return;
  code_ = kDuplicate;
  if (unit_->duplicated) return;
  refused_ = false;
  code_ = 0;
  count(unit_->faults, unit_->calls, call);
}

void Gate::count(const std::vector<Fault>& faults, Counters& calls, Call call) {
  const uint64_t n = ++calls[static_cast<size_t>(call)];
  for (const Fault& f : faults) {
    const bool armed = f.call == call && n >= f.from && (f.count == 0 || n - f.from < f.count);
    if (armed) {
      refused_ = true;
      code_ = f.code;
      return;
    }
  }
}

int32_t open_driver(Library& lib) {
  std::lock_guard<std::mutex> hold(lib.lock);
  if (lib.open) return 0;
  const char* env = std::getenv(lib.family.env);
  const std::string path = env != nullptr ? env : "";
  Setup setup;
  if (path.empty()) {
    setup = default_setup(lib.family);
  } else {
    try {
      setup = load_unit_file(path, lib.family);
    } catch (const config::Error& e) {
      std::fprintf(stderr, "%s: %s\n", lib.family.name, e.what());
      return kBadUnitFile;
    }
  }
  // OpenDriver faults count the opens with one and the same unit file.
  if (path != lib.open_path) {
    lib.open_path = path;
    lib.opens = 0;
  }
  ++lib.opens;
  for (const Fault& f : setup.faults) {
    const bool armed =
        f.call == Call::OpenDriver && lib.opens >= f.from && (f.count == 0 || lib.opens - f.from < f.count);
    if (armed) return f.code;
  }
  lib.setup = std::move(setup);
  lib.setup.clock.opened = std::chrono::steady_clock::now();
  lib.noise = lib.setup.noise_seed;
  lib.calls = {};
  lib.open = true;
  return 0;
}

int32_t close_driver(Library& lib) {
  Gate gate(lib, Call::CloseDriver);
  if (gate.refused()) return gate.code();
  lib.open = false;
  lib.setup = Setup{};
  return 0;
}

int32_t copy_text(const std::string& text, char* buffer, int32_t len) {
  if (buffer == nullptr || len <= 0) return kBadParameter;
  const size_t room = static_cast<size_t>(len);
  const size_t n = std::min(text.size() + 1, room);  // the NUL only when it fits
  std::memcpy(buffer, text.c_str(), n);
  return 0;
}

int32_t get_libver(Library& lib, char* text, int32_t len) {
  Gate gate(lib, Call::Get_Libver);
  if (gate.refused()) return gate.code();
  return copy_text(lib.setup.version, text, len);
}

int32_t get_firmver(Library& lib, int32_t rotsw, char* text, int32_t len) {
  Gate gate(lib, Call::Get_Firmver, rotsw);
  if (gate.refused()) return gate.code();
  return copy_text(gate.unit().firmware, text, len);
}

int32_t get_din(Library& lib, int32_t rotsw) {
  Gate gate(lib, Call::Get_Din, rotsw);
  return gate.refused() ? gate.code() : gate.unit().din;
}

int32_t get_doutmon(Library& lib, int32_t rotsw) {
  Gate gate(lib, Call::Get_DoutMon, rotsw);
  return gate.refused() ? gate.code() : gate.unit().dout;
}

int32_t set_dout(Library& lib, int32_t rotsw, int32_t state) {
  Gate gate(lib, Call::Set_Dout, rotsw);
  if (gate.refused()) return gate.code();
  if (state != 0 && state != 1) return kBadParameter;
  gate.unit().dout = state;
  return 0;
}

int32_t set_code(Library& lib, Call call, int32_t rotsw, int32_t code) {
  Gate gate(lib, call, rotsw);
  if (gate.refused()) return gate.code();
  if (code != 0 && code != 1) return kBadParameter;
  gate.unit().code = code;
  return 0;
}

double uniform_noise(uint64_t& state) {
  uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  z ^= z >> 31;
  return static_cast<double>(z >> 11) * 0x1.0p-52 - 1.0;  // 53 bits -> [-1, 1)
}

}  // namespace units
