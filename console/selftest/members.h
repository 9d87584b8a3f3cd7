// The thirteen self-test programs: one row each.
//
// Each row is three lines:
//   1. program, register layout, clock pair, status bit 3 rule, the expected
//      status values (after the manual sampling, after the data read, after
//      the full sampling and its mask, the flag clear value, after the flag
//      clear) and the memory count form;
//   2. the channel register writes of the manual sampling and the clock test,
//      the clock test's check between its runs (expected value, or kNone) and
//      its reset read between the runs; the full sampling set-up in its write
//      order, with its channel writes, clock select (kNone: not written),
//      other register and value, and divider values (start: the layout's
//      start value);
//   3. the optional steps the member takes.
#pragma once

#include <string_view>

#include "selftest.h"

namespace selftest {

namespace members {

using enum Op;
using regs::byte_map::kRegister02;
using regs::byte_map::kRegister0D;
using regs::vx410_map::kTriggerControl;

// clang-format off
inline constexpr Member kMembers[] = {
// program       layout   clocks   bit 3                manual read  full  mask   clear  cleared   memory count
//   channel         between  reset   full sampling: order                       channels          clock  other                          divider values
{ "hm236diag",  &kByte,  &k10MHz, Bit3::Clear,        {0x83, 0x82, 0xA5, 0x0FF, 0x0A4, 0x01},  MemoryCount::FourBytes,
    two(0x00, 0x00), {0x82,  true},  {{ResetRead, Channel, ClockSelect, Other, Divider, Start},
                                                                                  two(0x1F, 0x00),  0x00,  kRegister0D.offset,     0x00, paired(0x80, 0x0C, 0x01, 0x00)},
    {} },
{ "vx420diag",  &kByte,  &k10MHz, Bit3::Set,          {0x8B, 0x8A, 0xAD, 0x0FF, 0x0AC, 0x01},  MemoryCount::None,
    one(0x00),       {kNone, false}, {{Channel, Divider, Start},                  one(0x0F),        kNone, kNone,                  0x00, paired(0x00, 0x05, 0x01, 0x00)},
    {} },
{ "vx414diag",  &kWord,  &k10MHz, Bit3::Clear,        {0x83, 0x82, 0xA7, 0x0FF, 0x0A4, 0x01},  MemoryCount::None,
    one(0x00),       {0x82,  true},  {{Channel, ClockSelect, Divider, Start},     list(48, 0x101),  0x00,  kNone,                  0x00, paired(0xC0, 0x12, 0x01, 0x00)},
    {.sampling_stop_and_500ms = true} },
{ "vx424diag",  &kByte,  &k10MHz, Bit3::Tolerated,    {0x83, 0x82, 0xA5, 0x0FF, 0x0A4, 0x01},  MemoryCount::None,
    one(0x00),       {0x82,  true},  {{Channel, Divider, Start},                  one(0x1F),        kNone, kNone,                  0x00, paired(0x80, 0x0C, 0x01, 0x00)},
    {} },
{ "hm230diag",  &kWord,  &k40MHz, Bit3::Clear,        {0x83, 0x82, 0xA5, 0x0FF, 0x0A4, 0x01},  MemoryCount::TwoWords,
    one(0x00),       {kNone, true},  {{Channel, ClockSelect, Divider, Start},     one(0x0007),      0x00,  kNone,                  0x00, count32(0x02A8, 0x0000)},
    {.reset_before_clock_test = true, .line_break_before_hm_wait = true, .large_memory_notice = true} },
{ "vx412diag",  &kWord,  &k10MHz, Bit3::Clear,        {0x83, 0x82, 0xA7, 0x0FF, 0x0A4, 0x01},  MemoryCount::None,
    one(0x00),       {0x82,  true},  {{Channel, ClockSelect, Divider, Start},     list(16, 0x101),  0x00,  kNone,                  0x00, paired(0x20, 0x03, 0x01, 0x00)},
    {} },
{ "vx418diag",  &kWord,  &k40MHz, Bit3::Clear,        {0x83, 0x82, 0xA5, 0x0FF, 0x0A4, 0x01},  MemoryCount::None,
    one(0x00),       {0x82,  true},  {{Channel, ClockSelect, Divider, Start},     one(0x000F),      0x00,  kNone,                  0x00, count32(0x0280, 0x0000)},
    {} },
{ "vx424bdiag", &kByte,  &k10MHz, Bit3::Set,          {0x8B, 0x8A, 0xAD, 0x0FF, 0x0AC, 0x01},  MemoryCount::None,
    one(0x00),       {0x8A,  true},  {{Channel, Other, Divider, Start},           one(0x1F),        kNone, kRegister02.offset,     0x01, paired(0x40, 0x06, 0x01, 0x00)},
    {.register02 = true} },
{ "vx416diag",  &kByte,  &k10MHz, Bit3::Clear,        {0x83, 0x82, 0xA5, 0x0FF, 0x0A4, 0x01},  MemoryCount::None,
    one(0x00),       {0x82,  true},  {{Channel, Divider, Start},                  one(0x07),        kNone, kNone,                  0x00, paired(0x41, 0x01, 0x01, 0x00)},
    {} },
{ "hm232diag",  &kByte,  &k10MHz, Bit3::Tolerated,    {0x83, 0x82, 0xA5, 0x0FF, 0x0A4, 0x01},  MemoryCount::FourBytes,
    one(0x00),       {0x82,  true},  {{Channel, Divider, Start},                  one(0x0F),        kNone, kNone,                  0x00, paired(0x00, 0x05, 0x01, 0x00)},
    {.line_break_before_hm_wait = true} },
{ "hm234diag",  &kByte,  &k10MHz, Bit3::Set,          {0x8B, 0x8A, 0xAD, 0x0FF, 0x0AC, 0x01},  MemoryCount::FourBytes,
    one(0x00),       {0x8A,  true},  {{Channel, Divider, Start},                  one(0x0F),        kNone, kNone,                  0x00, paired(0x80, 0x0C, 0x01, 0x00)},
    {.line_break_before_hm_wait = true} },
{ "vx410diag",  &kVx410, &k40MHz, Bit3::Clear,        {0x83, 0x82, 0xB5, 0x5FF, 0x2A4, 0x11},  MemoryCount::None,
    one(0x00),       {0x82,  true},  {{Channel, ClockSelect, Divider, Other, Start}, list(4, 1),    0x00,  kTriggerControl.offset, 0x80, count32(0x0028, 0x0000)},
    {.trigger_each_clock_count = true, .trigger_disable_check = true, .counter_test = true} },
{ "vx422diag",  &kByte,  &k10MHz, Bit3::Tolerated,    {0x83, 0x82, 0xA5, 0x0FF, 0x0A4, 0x01},  MemoryCount::None,
    one(0x00),       {0x82,  true},  {{Channel, Divider, Start},                  one(0x0F),        kNone, kNone,                  0x00, paired(0x80, 0x0C, 0x01, 0x00)},
    {} },
};
// clang-format on

}  // namespace members

// The row of a program; a name without a row does not compile.
consteval const Member& member(std::string_view program) {
  for (const Member& m : members::kMembers) {
    if (m.program == program) return m;
  }
  throw "no self-test member of that name";
}

}  // namespace selftest
