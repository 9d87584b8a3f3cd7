// The sampling check programs: paced FIFO sampling of S scans of CH channels
// in half blocks and single scans, the hexadecimal dump, and adjustment mode.
//
// One body for all members; each program's entry holds its profile, whose
// fields follow the columns of the member tables.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "registers.h"

namespace sampling {

// A short list of constants, written in a row as {a, b, c}.
template <class T, size_t N>
struct List {
  T items[N]{};
  size_t size = 0;

  constexpr List() = default;
  constexpr List(std::initializer_list<T> values) {
    for (const T& v : values) items[size++] = v;
  }
  constexpr const T* begin() const { return items; }
  constexpr const T* end() const { return items + size; }
};

// One register write: offset <- value.
struct Write {
  int32_t offset;
  int32_t value;
};

using Writes = List<Write, 2>;
using DividerValues = List<int32_t, 4>;  // in write order: four bytes (paired count) or two words

// How the channel register is loaded.
enum class Channels {
  Count,          // one write of CH - 1
  CountTwoBytes,  // (CH - 1) AND 0xFF, then (CH - 1) >> 8
  ListBothBytes,  // i * 0x0101 for i = 0 ... CH - 1, then wait for status bit 3 = 0
  PlainList,      // i for i = 0 ... CH - 1
};

// How the half-block phase takes its blocks.
enum class Blocks {
  WholeScans,  // H = F / CH scans a block, B = S / H blocks
  ExactlyF,    // F samples a block whatever CH is, B = S * CH / F
};

enum class Style {
  Group,          // a digit picks one of G groups of 16 channels
  StartKey,       // S/s shows all channels once
  BoardAndGroup,  // an XB-300 board number, then a group digit
};

struct Profile {
  const regs::Map& map;
  // sampling run
  int ch;                 // channels a scan; with expansion_boards, per XB-300 board
  bool expansion_boards;  // CH = ch * k, k asked for before the set-up
  int scans;              // S
  int half_fifo;          // F
  Blocks blocks;
  Channels channels;
  DividerValues run_divider;
  Writes before_channels;  // extra writes before the channel programming
  Writes after_clock;      // extra writes after the clock select
  Writes start;
  uint32_t error_mask;
  Write stop;         // on a sampling error
  Writes end_of_run;  // after a complete run
  const char* half_block_error;
  bool status_trace;
  // adjustment mode
  Style style;
  int groups;                // G; board-and-group style: per board
  const char* group_prompt;  // group styles
  int adjust_ch;
  Channels adjust_channels;
  DividerValues adjust_divider;
  int display_repeat;
  bool exit_on_pass_error;  // a sampling error in a pass ends the process (status 1)
};

// The stages after the frame: the sampling run, the dump and adjustment
// mode. Returns the exit status: 0 at the normal end, 1 after a sampling
// error, -1 when the sample buffer cannot be had.
int run(const Profile& profile);

// Texts every member shares.
inline constexpr char kHalfBlockError[] = "Sampling Error in half full sampling!!\n";
inline constexpr char kScanError[] = "Sampling Error in not empty sampling!!\n";

}  // namespace sampling
