// Fuzz target: the driver interface takes any call sequence.
//
// The first bytes choose a bench (a model or nothing in each slot, a board
// ID fault, read overrides, the self-test faults, the access time); the rest is a sequence of
// driver calls with arguments of any value: any I/O base and offset, any
// value, negative and huge block counts, null buffers, calls before
// Open_Driver and after Close_Driver, clock steps. Every call must give a
// defined answer: no crash, no undefined behaviour, no unbounded memory or
// time.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "bench.h"
#include "fuzz_bytes.h"
#include "regio32.h"

namespace {

using fuzz::Bytes;

// The self-test faults of a board: its store's size and faults, its clocks,
// its memory count, status bits stuck set or clear. (The bench's interrupt
// stays off: it would end the fuzzer.)
void add_faults(Bytes& in, regio::BoardSetup& slot) {
  const uint8_t faults = in.u8();
  if ((faults & 0x01) != 0) slot.fifo_samples = 2 + in.u32() % (regio::kMaxStoreSamples - 1);
  if ((faults & 0x02) != 0) {
    const uint32_t span = static_cast<uint32_t>(regio::kMaxClockPpm - regio::kMinClockPpm) + 1;
    slot.clock_ppm = regio::kMinClockPpm + static_cast<int32_t>(in.u32() % span);
  }
  slot.dead_clocks = static_cast<uint8_t>((faults >> 2) & 0x03);
  slot.fifo = static_cast<regio::FifoFault>((faults >> 4) & 0x03);
  if ((faults & 0x40) != 0) {
    slot.memory_count_fault = true;
    slot.memory_count = in.u32();
  }
  if ((faults & 0x80) != 0) {
    regio::ReadOverride stuck;
    stuck.offset = in.u8();
    stuck.after = in.u8();
    stuck.set_bits = static_cast<uint16_t>(in.u32());
    stuck.clear_bits = static_cast<uint16_t>(in.u32() & ~stuck.set_bits);
    slot.reads.push_back(std::move(stuck));
  }
}

regio::BenchSetup bench_from(Bytes& in) {
  regio::BenchSetup bench;
  const uint8_t flags = in.u8();
  if ((flags & 0x01) != 0) bench.open_result = in.i32();
  if ((flags & 0x02) != 0) bench.close_result = in.i32();
  if ((flags & 0x04) != 0) bench.start_ms = in.u32();
  if ((flags & 0x08) != 0) bench.access_ns = 1 + in.u8();
  for (regio::BoardSetup& slot : bench.slots) {
    const uint8_t pick = in.u8();
    if (pick >= std::size(regio::kModels)) continue;  // an empty slot, most of the time
    slot.model = &regio::kModels[pick];
    const uint8_t extras = in.u8();
    if ((extras & 0x01) != 0) slot.switch_value = static_cast<uint16_t>(in.u32());
    if ((extras & 0x02) != 0) {
      slot.id_fault = true;
      slot.board_id = static_cast<uint16_t>(in.u32());
    }
    if ((extras & 0x04) != 0) slot.start_result = in.i32();
    if ((extras & 0x08) != 0) slot.stop_result = in.i32();
    if ((extras & 0x10) != 0) slot.expansions = 1 + in.u8() % 8;
    if ((extras & 0x20) != 0) {
      regio::ReadOverride rule;
      rule.offset = in.u8();
      rule.after = in.u8();
      rule.forever = (extras & 0x40) != 0;
      const int n = rule.forever ? 1 : 1 + in.u8() % 4;
      for (int i = 0; i < n; ++i) rule.values.push_back(static_cast<uint16_t>(in.u32()));
      slot.reads.push_back(std::move(rule));
    }
    if ((extras & 0x80) != 0) add_faults(in, slot);
  }
  return bench;
}

// An I/O base: mostly one a slot would get, sometimes any value.
int32_t io_base(Bytes& in) {
  const uint8_t pick = in.u8();
  if (pick < 0xC0) return 0xD000 + 0x100 * (pick % 8);
  return in.i32();
}

int32_t offset(Bytes& in) {
  const uint8_t pick = in.u8();
  if (pick < 0xF0) return pick % 0x20;
  return in.i32();
}

// A block count: mostly small, sometimes negative or huge (with no buffer).
int32_t count(Bytes& in, bool& null_buffer) {
  const uint8_t pick = in.u8();
  null_buffer = pick >= 0xF0;
  if (null_buffer) return in.i32();
  return pick * 17;  // up to 4080, within the buffers below
}

uint8_t g_bytes[4096];
uint16_t g_words[4096];

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes in(data, size);
  regio::use_bench_once(bench_from(in));
  int32_t table[REGIO_SLOTS];
  int32_t base = 0;
  bool null_buffer = false;
  for (int calls = 0; calls < 4096 && !in.empty(); ++calls) {
    switch (in.u8() % 14) {
      case 0: Open_Driver((in.u8() & 1) != 0 ? nullptr : table); break;
      case 1: Close_Driver(); break;
      case 2: Start_Driver(in.i32() % 10, in.i32(), (in.u8() & 1) != 0 ? nullptr : &base); break;
      case 3: Stop_Driver(io_base(in)); break;
      case 4: ReadByte(io_base(in), offset(in)); break;
      case 5: WriteByte(io_base(in), offset(in), in.i32()); break;
      case 6: ReadWord(io_base(in), offset(in)); break;
      case 7: WriteWord(io_base(in), offset(in), in.i32()); break;
      case 8: {
        const int32_t b = io_base(in), o = offset(in), n = count(in, null_buffer);
        ReadByteBlock(b, o, n, null_buffer ? nullptr : g_bytes);
        break;
      }
      case 9: {
        const int32_t b = io_base(in), o = offset(in), n = count(in, null_buffer);
        ReadWordBlock(b, o, n, null_buffer ? nullptr : g_words);
        break;
      }
      case 10: Regio_Tick_ms(); break;
      case 11: Regio_Clock_ns(uint64_t{in.u32()} * in.u8()); break;  // up to about 1000 s a step
      case 12: {  // a busy poll of one register, as the programs make them
        const int32_t b = io_base(in), o = offset(in);
        for (int i = 0, n = in.u8(); i < n; ++i) {
          ReadWord(b, o);
          Regio_Tick_ms();
        }
        break;
      }
      case 13: Start_Driver(in.u8() % 8, 2, &base); break;
    }
  }
  Close_Driver();
  return 0;
}
