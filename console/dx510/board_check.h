// The check of one DX-510 board: five status tests around a reset, a short
// sampling run, an end-flag clear and a FIFO clear, then the FIFO half-full
// count, whose number of samplings is compared with the board's counter.
#pragma once

#include <cstdint>
#include <span>

#include "registers.h"

namespace dx510 {

// One register access of a set-up. A read's value is not used.
struct Access {
  bool write;
  regs::Register reg;
  int32_t value;
};

consteval Access wr(regs::Register reg, int32_t value) {
  if (reg.access == regs::Access::Read) throw "a write to a read-only register";
  return {true, reg, value};
}

consteval Access rd(regs::Register reg) {
  if (reg.access == regs::Access::Write) throw "a read of a write-only register";
  return {false, reg, 0};
}

struct StatusTest {
  uint8_t expected;
  uint8_t mask;
  const char* name;
};

// A set-up and the status test that follows it.
struct Step {
  std::span<const Access> setup;
  StatusTest test;
};

struct Check {
  std::span<const Step> steps;
  std::span<const Access> count_setup;  // before the half-full count
  std::span<const Access> pass;         // the writes of every pass, each a sampling
  int32_t passes;                       // at most this many passes
};

extern const Check kBoardCheck;

// The stages of one board, after the frame's board number switch line.
void check_board(const Check& check);

}  // namespace dx510
