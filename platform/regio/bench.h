// A bench: what sits in the eight slots and which faults it shows, as read
// from a bench file or chosen by the running program's name.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analog_input.h"
#include "models.h"

namespace regio {

inline constexpr int kSlots = 8;

// What one register access (or one element of a block read) costs in virtual
// time: a PCI I/O access takes about half a microsecond.
inline constexpr uint64_t kDefaultAccessNs = 500;
inline constexpr uint64_t kMaxAccessNs = 1'000'000'000;

// What a chosen register reads instead of the model's value. The model still
// makes the read (a FIFO read still takes its sample), only the value
// returned changes.
struct ReadOverride {
  uint8_t offset = 0;
  uint32_t after = 0;            // reads left to the model before the override starts
  bool forever = false;          // `value`: the same value on every read from then on
  std::vector<uint16_t> values;  // `values`: one per read, then back to the model
  uint16_t set_bits = 0;         // `set`: these bits read 1 on every read from then on ...
  uint16_t clear_bits = 0;       // `clear`: ... and these read 0, the others the model's
  bool stuck_bits() const { return values.empty(); }
};

// A FIFO (or HM board memory) that misbehaves.
enum class FifoFault : uint8_t {
  None,
  NeverFull,       // takes samples up to one place short of full and loses the rest, no full flag
  NeverBelowHalf,  // a read at half full gives the sample at the output without removing it
  NeverEmpty,      // a read of the last sample gives it without removing it
};

// Clock sources that give no pulses.
inline constexpr uint8_t kBaseClockDead = 0x01;
inline constexpr uint8_t kSecondClockDead = 0x02;
inline constexpr int32_t kMinClockPpm = -999'999;
inline constexpr int32_t kMaxClockPpm = 1'000'000;
inline constexpr uint32_t kMaxStoreSamples = 16u << 20;  // the largest board memory

// What the data register of a board gives.
enum class Data : uint8_t {
  Pattern,   // scan number mod 16 in the top hexadecimal digit, channel in the low three
  Counting,  // every sample the next 16-bit sequence number, from 0 at Open_Driver
  Inputs,    // the signals of its inputs: DC level, sine and noise per channel
};

using Input = analog::Input;

inline constexpr int kMaxChannels = 1024;  // the most a board scans (VX-428 with eight XB-300)

struct BoardSetup {
  const Model* model = nullptr;  // nullptr: empty slot
  uint16_t switch_value = 0;     // raw value of the board number switch register
  bool id_fault = false;
  uint16_t board_id = 0;      // with id_fault: what the board ID register reads
  int32_t start_result = 0;   // Start_Driver result for this slot
  int32_t stop_result = 0;    // Stop_Driver result for this board
  int expansions = 8;         // VX-428: XB-300 expansion boards, all eight by default
  uint32_t fifo_samples = 0;  // the store's capacity (FIFO, or FIFO and memory); 0: the model's
  int32_t clock_ppm = 0;      // both clocks run this many millionths fast (negative: slow)
  uint8_t dead_clocks = 0;    // kBaseClockDead, kSecondClockDead
  FifoFault fifo = FifoFault::None;
  bool memory_count_fault = false;
  uint32_t memory_count = 0;  // with memory_count_fault: what the memory count register counts
  std::vector<ReadOverride> reads;
  Data data = Data::Pattern;
  std::vector<Input> inputs;  // by channel; channels beyond read 0 mV
};

struct BenchSetup {
  int32_t open_result = 0;
  int32_t close_result = 0;
  uint32_t start_ms = 0;
  uint64_t interrupt_ms = 0;  // board time after Open_Driver at which SIGINT comes; 0: never
  uint64_t access_ns = kDefaultAccessNs;
  std::array<BoardSetup, kSlots> slots{};
};

// In-process tests and fuzzing (the static library only): the next
// Open_Driver takes this bench instead of REGIO_BENCH's or the default one.
void use_bench_once(BenchSetup bench);

// Reads a bench file; throws config::Error "<file>:<line>: <problem>", or
// "<file>: cannot read the bench file (<reason>)" for a file that is missing,
// unreadable or not a regular file.
BenchSetup read_bench_file(const std::string& path);
// The same for the text of a bench file named `name` (for the fuzz target).
BenchSetup read_bench_text(std::string_view text, const std::string& name);

// The bench a program finds when no bench file is named: healthy boards of
// its own model, or an empty bench for a program the table does not know.
BenchSetup default_bench(std::string_view program);

}  // namespace regio
