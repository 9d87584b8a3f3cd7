// The bench file: TOML written by hand. Every problem is one error naming the
// file and the line; nothing is defaulted silently.
#include <string>

#include "bench.h"
#include "config_file.h"

namespace regio {

const Model* find_model(std::string_view name) {
  for (const Model& m : kModels) {
    if (m.name == name) return &m;
  }
  return nullptr;
}

namespace {

constexpr int64_t kInt32Min = INT32_MIN;
constexpr int64_t kInt32Max = INT32_MAX;
constexpr int64_t kMaxInterruptMs = 1'000'000'000'000;  // 31 years of board time

ReadOverride read_override(const config::File& file, const toml::table& t, const Model& model) {
  file.only_keys(t, {"offset", "value", "values", "set", "clear", "after"});
  ReadOverride o;
  const auto offset = file.integer(t, "offset", 0, 0xFF);
  if (!offset) file.fail(t, "[[board.read]] needs 'offset'");
  o.offset = static_cast<uint8_t>(*offset);
  const int64_t top = byte_wide(model) ? 0xFF : 0xFFFF;
  const auto value = file.integer(t, "value", 0, top);
  const auto values = file.integers(t, "values", 0, top);
  const auto set = file.integer(t, "set", 0, top);
  const auto clear = file.integer(t, "clear", 0, top);
  const int forms = (value ? 1 : 0) + (values ? 1 : 0) + (set || clear ? 1 : 0);
  if (forms > 1) {
    const char* second = value && values ? "values" : set ? "set" : "clear";
    file.fail(*t.get(second), "only one of 'value', 'values' and 'set'/'clear'");
  }
  if (forms == 0) file.fail(t, "[[board.read]] needs 'value', 'values', 'set' or 'clear'");
  if (value) {
    o.forever = true;
    o.values.push_back(static_cast<uint16_t>(*value));
  } else if (values) {
    if (values->empty()) file.fail(*t.get("values"), "'values' is empty");
    for (int64_t v : *values) o.values.push_back(static_cast<uint16_t>(v));
  } else {
    o.set_bits = static_cast<uint16_t>(set.value_or(0));
    o.clear_bits = static_cast<uint16_t>(clear.value_or(0));
    if ((o.set_bits & o.clear_bits) != 0) file.fail(t, "a bit both in 'set' and in 'clear'");
  }
  o.after = static_cast<uint32_t>(file.integer(t, "after", 0, 0xFFFFFFFF).value_or(0));
  return o;
}

constexpr double kMaxMv = 20000;  // beyond the input range of +-10240 mV, to show clipping

// One [[board.input]]: a DC level, a sine and noise in mV, as in the unit file.
void read_input(const config::File& file, const toml::table& t, BoardSetup& board, std::vector<bool>& seen) {
  file.only_keys(t, {"ch", "dc", "sine", "noise"});
  const auto ch = file.integer(t, "ch", 0, kMaxChannels - 1);
  if (!ch) file.fail(t, "[[board.input]] needs 'ch'");
  const size_t channel = static_cast<size_t>(*ch);
  if (seen.size() <= channel) seen.resize(channel + 1);
  if (seen[channel]) file.fail(*t.get("ch"), "input " + std::to_string(channel) + " is set twice");
  seen[channel] = true;
  if (board.inputs.size() <= channel) board.inputs.resize(channel + 1);
  Input& in = board.inputs[channel];
  in.dc_mv = file.number(t, "dc", -kMaxMv, kMaxMv).value_or(0);
  in.noise_mv = file.number(t, "noise", 0, kMaxMv).value_or(0);
  if (const toml::table* sine = file.table(t, "sine")) {
    file.only_keys(*sine, {"amplitude", "period_ms", "phase_deg"});
    const auto amplitude = file.number(*sine, "amplitude", 0, kMaxMv);
    const auto period = file.number(*sine, "period_ms", 0.001, 1e9);
    if (!amplitude) file.fail(*sine, "'sine' needs 'amplitude'");
    if (!period) file.fail(*sine, "'sine' needs 'period_ms'");
    in.sine_mv = *amplitude;
    in.period_ms = *period;
    in.phase_deg = file.number(*sine, "phase_deg", -360, 360).value_or(0);
  }
}

// What the data register gives: 'data', or the inputs when the board has any.
void read_data(const config::File& file, const toml::table& t, BoardSetup& board) {
  const std::vector<const toml::table*> inputs = file.tables(t, "input");
  board.data = inputs.empty() ? Data::Pattern : Data::Inputs;
  if (const auto data = file.string(t, "data")) {
    if (*data == "pattern") {
      board.data = Data::Pattern;
    } else if (*data == "counting") {
      board.data = Data::Counting;
    } else if (*data == "inputs") {
      board.data = Data::Inputs;
    } else {
      file.fail(*t.get("data"), "unknown data '" + *data + "' (pattern, counting or inputs)");
    }
    if (board.data != Data::Inputs && !inputs.empty()) {
      file.fail(*inputs.front(), "[[board.input]] with data = '" + *data + "'");
    }
  }
  std::vector<bool> seen;
  for (const toml::table* in : inputs) read_input(file, *in, board, seen);
}

// The self-test faults of a board: its clocks, its FIFO, its memory count.
void read_board_faults(const config::File& file, const toml::table& t, const Model& model, BoardSetup& board) {
  board.fifo_samples = static_cast<uint32_t>(file.integer(t, "fifo_samples", 2, kMaxStoreSamples).value_or(0));
  board.clock_ppm = static_cast<int32_t>(file.integer(t, "clock_ppm", kMinClockPpm, kMaxClockPpm).value_or(0));
  if (const auto dead = file.string(t, "dead_clock")) {
    if (*dead == "base")
      board.dead_clocks = kBaseClockDead;
    else if (*dead == "second")
      board.dead_clocks = kSecondClockDead;
    else if (*dead == "both")
      board.dead_clocks = kBaseClockDead | kSecondClockDead;
    else
      file.fail(*t.get("dead_clock"), "'dead_clock' is \"base\", \"second\" or \"both\"");
  }
  if (const auto fifo = file.string(t, "fifo")) {
    if (*fifo == "never_full")
      board.fifo = FifoFault::NeverFull;
    else if (*fifo == "never_below_half")
      board.fifo = FifoFault::NeverBelowHalf;
    else if (*fifo == "never_empty")
      board.fifo = FifoFault::NeverEmpty;
    else
      file.fail(*t.get("fifo"), "'fifo' is \"never_full\", \"never_below_half\" or \"never_empty\"");
  }
  if (const auto count = file.integer(t, "memory_count", 0, 0xFFFFFFFF)) {
    if (model.memory_count == MemoryCount::None) {
      file.fail(*t.get("memory_count"), "the " + std::string(model.name) + " has no memory count register");
    }
    board.memory_count_fault = true;
    board.memory_count = static_cast<uint32_t>(*count);
  }
}

void read_board(const config::File& file, const toml::table& t, BenchSetup& bench) {
  file.only_keys(t, {"slot", "model", "switch", "board_id", "start", "stop", "expansions", "read", "data", "input",
                     "fifo_samples", "clock_ppm", "dead_clock", "fifo", "memory_count"});
  const auto slot = file.integer(t, "slot", 0, kSlots - 1);
  if (!slot) file.fail(t, "[[board]] needs 'slot'");
  BoardSetup& board = bench.slots[static_cast<size_t>(*slot)];
  if (board.model != nullptr) {
    file.fail(*t.get("slot"), "slot " + std::to_string(*slot) + " is used twice");
  }
  const auto name = file.string(t, "model");
  if (!name) file.fail(t, "[[board]] needs 'model'");
  const Model* model = find_model(*name);
  if (model == nullptr) {
    file.fail(*t.get("model"), "unknown model '" + *name + "'");
  }
  const int64_t top = byte_wide(*model) ? 0xFF : 0xFFFF;
  if (const auto sw = file.integer(t, "switch", 0, top)) {
    if (model->switch_offset < 0) {
      file.fail(*t.get("switch"), "the " + *name + " has no board number switch");
    }
    board.switch_value = static_cast<uint16_t>(*sw);
  }
  if (const auto id = file.integer(t, "board_id", 0, top)) {
    board.id_fault = true;
    board.board_id = static_cast<uint16_t>(*id);
  }
  board.start_result = static_cast<int32_t>(file.integer(t, "start", kInt32Min, kInt32Max).value_or(0));
  board.stop_result = static_cast<int32_t>(file.integer(t, "stop", kInt32Min, kInt32Max).value_or(0));
  if (const auto n = file.integer(t, "expansions", 1, 8)) {
    if (model->name != "VX-428") {
      file.fail(*t.get("expansions"), "'expansions' is for the VX-428 only");
    }
    board.expansions = static_cast<int>(*n);
  }
  for (const toml::table* r : file.tables(t, "read")) {
    ReadOverride o = read_override(file, *r, *model);
    for (const ReadOverride& earlier : board.reads) {
      if (earlier.offset == o.offset) file.fail(*r, "a second [[board.read]] of the same offset");
    }
    board.reads.push_back(std::move(o));
  }
  read_data(file, t, board);
  read_board_faults(file, t, *model, board);
  board.model = model;
}

BenchSetup read_bench(const config::File& file) {
  const toml::table& root = file.root();
  file.only_keys(root, {"driver", "clock", "board"});
  BenchSetup bench;
  if (const toml::table* driver = file.table(root, "driver")) {
    file.only_keys(*driver, {"open", "close", "access_ns"});
    bench.access_ns =
        static_cast<uint64_t>(file.integer(*driver, "access_ns", 1, kMaxAccessNs).value_or(kDefaultAccessNs));
    bench.open_result = static_cast<int32_t>(file.integer(*driver, "open", kInt32Min, kInt32Max).value_or(0));
    bench.close_result = static_cast<int32_t>(file.integer(*driver, "close", kInt32Min, kInt32Max).value_or(0));
  }
  if (const toml::table* clock = file.table(root, "clock")) {
    file.only_keys(*clock, {"start_ms", "interrupt_ms"});
    bench.start_ms = static_cast<uint32_t>(file.integer(*clock, "start_ms", 0, 0xFFFFFFFF).value_or(0));
    bench.interrupt_ms = static_cast<uint64_t>(file.integer(*clock, "interrupt_ms", 1, kMaxInterruptMs).value_or(0));
  }
  for (const toml::table* board : file.tables(root, "board")) read_board(file, *board, bench);
  return bench;
}

}  // namespace

BenchSetup read_bench_file(const std::string& path) { return read_bench(config::File(path, "bench file")); }

BenchSetup read_bench_text(std::string_view text, const std::string& name) {
  return read_bench(config::File::from_text(name, text));
}

}  // namespace regio
