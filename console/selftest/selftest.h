// The self-test of the analog-input boards: one fixed sequence of status
// checks, a manual conversion, the clock test, a full sampling, the FIFO
// count and (HM boards) memory counts, run on every board of the program's
// model. The thirteen programs differ only in their row of the member table
// (members.h).
#pragma once

#include <cstdint>

#include "registers.h"

namespace selftest {

// How one register layout reads and prints status values.
struct Layout {
  const regs::Map* map;
  uint16_t status_read_mask;  // ANDed into every status read (VX-410: bit 0x100 removed)
  uint16_t check_mask;        // the bits a status check compares unless the step names others
  uint16_t flag_mask;         // the bits the final flag report shows
  const char* status_text;    // a status check's label and value
  const char* flag_text;      // the final flag report
};

// clang-format off
//                           map                status read  check   flags   status check      final flag report
inline constexpr Layout kByte {&regs::kByteMap,  0xFFFF,      0x00FF, 0x00FE, "%s(%02xH)は",   "フラグは(%02xH)です。\n"};
inline constexpr Layout kWord {&regs::kWordMap,  0xFFFF,      0x00FF, 0x00FF, "%s(%04xH)は",   "フラグは(%04xH)です。\n"};
inline constexpr Layout kVx410{&regs::kVx410Map, 0xFEFF,      0x07FF, 0x07FF, "%s(%04xH)は",   "フラグは(%04xH)です。\n"};
// clang-format on

// Register values in write order: the four bytes of a paired-count divider,
// the two words of a 32-bit one, or the channel register's writes.
struct Values {
  uint8_t count;
  uint16_t v[4];
};

constexpr Values paired(uint16_t n1_low, uint16_t n1_high, uint16_t n2_low, uint16_t n2_high) {
  return {4, {n1_low, n1_high, n2_low, n2_high}};
}
constexpr Values count32(uint16_t low, uint16_t high) { return {2, {low, high, 0, 0}}; }

// The channel register's writes: a few values, or a list whose entry i is i × step.
struct Channels {
  Values values;
  uint8_t list_entries = 0;
  uint16_t list_step = 0;
};

constexpr Channels one(uint16_t v) { return {{1, {v, 0, 0, 0}}}; }
constexpr Channels two(uint16_t low, uint16_t high) { return {{2, {low, high, 0, 0}}}; }
constexpr Channels list(uint8_t entries, uint16_t step) { return {{0, {}}, entries, step}; }

// The clock pair of the clock test: 10 Hz from either source.
struct ClockPair {
  const char* base_label;
  Values base_divider;
  const char* second_label;
  Values second_divider;
};

// clang-format off
//                                   base clock    divider (counts)                           second clock          divider (counts)
inline constexpr ClockPair k10MHz{"１０ＭＨｚ", paired(0xE8, 0x03, 0xE8, 0x03) /* 1000 x 1000 */, "８．１９２ＭＨｚ",   paired(0x00, 0x04, 0x20, 0x03) /* 1024 x 800 */};
inline constexpr ClockPair k40MHz{"４０ＭＨｚ", count32(0x0900, 0x003D)        /* 4,000,000 */,   "３２．７６８ＭＨｚ", count32(0x0000, 0x0032)        /* 3,276,800 */};
// clang-format on

// Status bit 3 after conversions.
enum class Bit3 : uint8_t {
  Clear,      // expected clear: the expected values leave it out
  Set,        // expected set: the expected values hold it
  Tolerated,  // taken off every status check's value, and noted in the bit-3 seen
              // flag, which turns the flag clear 0xA4 into 0xAC for good
};

enum class MemoryCount : uint8_t {
  None,
  FourBytes,  // four byte reads of the memory count register, lowest byte first
  TwoWords,   // two word reads, low word first; halved on the 8M-word version (memory size bit clear)
};

// Expected status values of the sequence's checks, and the flag clear.
struct Expected {
  uint16_t manual;      // after the manual sampling
  uint16_t read;        // after the data read
  uint16_t full;        // after the full sampling ...
  uint16_t full_mask;   // ... compared under this mask
  uint16_t flag_clear;  // written to the flag clear
  uint16_t cleared;     // after the flag clear
};

// The clock test's differences.
struct ClockTest {
  int32_t between_check;  // expected value of the "ステータス" check between the runs; kNone: no check
  bool reset_between;     // reset read between the runs
};

// One step of the full sampling set-up.
enum class Op : uint8_t { End, ResetRead, Channel, ClockSelect, Other, Divider, Start };

struct FullSampling {
  Op order[7];  // the set-up in write order
  Channels channels;
  int32_t clock_select;  // kNone: not written (the clock test left 0x20)
  int32_t other_offset;  // the one other register written before the start (kNone: none) ...
  uint16_t other_value;  // ... and its value
  Values divider;
};

inline constexpr int32_t kNone = regs::kNone;

// The steps only some members take.
struct Optional {
  bool sampling_stop_and_500ms = false;    // sampling control 0x00 and 500 ms before the manual sampling read,
                                           // and 500 ms before the flag clear
  bool register02 = false;                 // register 0x02 <- 0x01 after the channel writes of the manual
                                           // sampling, the clock test set-up and every clock count
  bool trigger_each_clock_count = false;   // trigger control <- 0x80 after the channel writes of every clock count
  bool reset_before_clock_test = false;    // a reset read right before the clock test
  bool line_break_before_hm_wait = false;  // "\n" after "サンプリング中．．．" on the HM model
  bool large_memory_notice = false;        // the FIFO count's notice names the large memory on the HM model
  bool trigger_disable_check = false;      // trigger control <- 0x00, then a status check
  bool counter_test = false;               // the counted run at the end
};

struct Member {
  const char* program;
  const Layout* layout;
  const ClockPair* clocks;
  Bit3 bit3;
  Expected expected;
  MemoryCount memory;
  Channels channel;  // the channel register's writes of the manual sampling and the clock test
  ClockTest clock_test;
  FullSampling full;
  Optional optional;
};

// The sequence on the board the frame has started.
void run_board(const Member& member);

}  // namespace selftest
