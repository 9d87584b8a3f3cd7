// Register behaviour of the four layouts. The choices the boards leave open,
// made once here:
//
// - The reset read (a read of the board ID register) stops paced sampling,
//   empties the FIFO (and board memory), clears every latched status bit and
//   restarts the channel list, the two-byte channel register, the divider and
//   memory count sequences. It keeps the channel count, clock select,
//   division count and the twin-model latch.
// - The first pacer pulse comes at the start write, then one every
//   division / clock seconds. Each pulse latches the clock flag and converts
//   one scan: every sample latches the sampling flag (and status bit 3 on the
//   boards that raise it). A clock select written while pacing takes effect
//   at the next start.
// - A division count of 0 gives no pulses. A division count completed while
//   pacing takes effect at once: the next pulse comes one new period after
//   the write that completed it.
// - When paced sampling has a sample the full FIFO cannot take, the full
//   flag latches and the samples that do not fit are lost; pacing goes on.
//   (A FIFO filled to the last place without a loss has no full flag.) On VX-412 and VX-414
//   the below-half bit reads 1 while the full flag is latched, whatever the
//   fill (after a full sampling they read 0xA7, after the flag clear 0x01).
// - The manual sampling register converts one scan at once; samples that do
//   not fit are lost without a flag.
// - List boards (VX-412, VX-414, VX-410) scan channels 0 up to the highest
//   channel entered since the list was restarted; an entry of channel 0
//   restarts it. The lists the programs write are ascending from 0, so this
//   is the list they load; a single entry N scans channels 0 to N.
// - A data read of an empty FIFO gives 0xFFFF (0xFF per byte). On the byte
//   map the low byte read takes the sample, the high byte read gives its
//   other half.
// - VX-410: pulses come only while sampling control and the trigger are both
//   on. Status bit 4 sets with the full flag while the trigger is on and
//   clears when the trigger is written 0. A counted run (0x04) takes the
//   sample counter's number of samples, latches the counter flag and stops.
// - HM boards: FIFO and board memory are one store of the memory's size. The
//   memory count register gives the words behind the output register (the
//   store's fill less the word the not-empty bit shows); the HM-230-8MW
//   counts two per word. Four (or two) successive reads give its parts; the
//   count is taken at the first of them.
// - Twin-model registers: HM-236 byte 0x0E is a read/write latch; HM-232 and
//   HM-234 byte 0x0C reads the complement of the last byte written to 0x0B;
//   HM-230 word 0x1E reads the memory size bit (0x8000 on the 16M-word
//   version) and the complement of the low 15 bits last written. On the VX
//   model of each pair these offsets hold nothing: reads give 0xFF / 0xFFFF
//   and writes are lost. VX-426 has the board number switch at word 0x16,
//   as its HM-230 twin.
// - DX-510: a write to 0x12 with bit 0 set while 0x10 holds 0x80 is one
//   sampling: one sample into the FIFO, start flag 0x40, counter 0x0E down by
//   one; with bit 1 set too it also latches the end flag 0x80. Status bits:
//   0x01 not empty, 0x02 below half, 0x04 not full. Writing 0x18: 0x40/0x80
//   clear their flags, 0x01 clears the FIFO.
// - An offset a layout does not have reads 0xFF (byte map) or 0xFFFF and
//   ignores writes.
#include "board.h"

#include <algorithm>

namespace regio {

namespace {

constexpr uint16_t kOpen8 = 0xFF;
constexpr uint16_t kOpen16 = 0xFFFF;

uint16_t open_bus(const Model& m) { return byte_wide(m) ? kOpen8 : kOpen16; }

}  // namespace

uint16_t sample_code(uint32_t scan, uint32_t channel) {
  // scan number in the top digit, channel in the low three: easy to read in a dump
  return static_cast<uint16_t>(((scan & 0xF) << 12) | (channel & 0xFFF));
}

void Board::reset(const Model* m, const BoardSetup* s) {
  *this = Board{};
  model = m;
  setup = s;
  if (m == nullptr) return;
  capacity = m->memory_words != 0 ? m->memory_words : m->fifo_samples;
  store_limit = s->fifo == FifoFault::NeverFull ? capacity - 1 : capacity;
  stuck_fill = s->fifo == FifoFault::NeverBelowHalf ? capacity / 2 : s->fifo == FifoFault::NeverEmpty ? 1 : 0;
  if (m->name == "VX-428") channel_limit = 128u * static_cast<uint32_t>(s->expansions);
  for (const ReadOverride& rule : s->reads) {
    overrides.push_back(Override{&rule, 0});
    override_at[rule.offset] = static_cast<uint16_t>(overrides.size());
  }
}

namespace {

// --- FIFO ----------------------------------------------------------------

uint16_t status_fifo_bits(const Board& b) {
  uint16_t s = 0;
  if (b.fill > 0) s |= kNotEmpty;
  if (b.fill < b.capacity / 2) s |= kBelowHalf;
  if (b.model->full_shows_below_half && (b.latched & kFullFlag) != 0) s |= kBelowHalf;
  return s;
}

void conversions_latch(Board& b) {
  b.latched |= kSamplingFlag;
  if (b.model->status_bit3) b.latched |= kBit3;
  if (b.model->map == Map::Vx410) b.latched |= kVx410Conversion;
}

void full_latch(Board& b) {
  b.latched |= kFullFlag;
  if (b.model->map == Map::Vx410 && b.trigger) b.latched |= kBit4;
}

// Stores `scans` scans of paced sampling.
void store_paced(Board& b, uint64_t scans) {
  const uint64_t add = scans * b.scan_len;
  b.tail_scan += static_cast<uint32_t>(scans);
  if (b.fill + add <= b.store_limit) {
    b.fill += add;
  } else {
    b.fill = b.store_limit;
    if (b.store_limit == b.capacity) full_latch(b);  // a never-full store loses them without a flag
  }
}

uint16_t pop_sample(Board& b) {
  if (b.fill == 0) return kOpen16;
  uint16_t code = sample_code(b.head_scan, b.head_channel);
  if (b.head_channel >= b.channel_limit) {
    code = kOpen16;  // a VX-428 channel beyond its expansion boards
  }
  if (b.fill == b.stuck_fill) return code;  // the faulty FIFO keeps its output sample
  b.acted = true;
  --b.fill;
  if (++b.head_channel >= b.scan_len) {
    b.head_channel = 0;
    ++b.head_scan;
  }
  return code;
}

// --- pacer ---------------------------------------------------------------

// Pulses per second of the selected clock, times 10^6 + its error in ppm;
// 0 for a dead clock.
uint64_t clock_rate(const Board& b) {
  const bool second = b.clock_select == 0x20;
  if ((b.setup->dead_clocks & (second ? kSecondClockDead : kBaseClockDead)) != 0) return 0;
  const uint64_t hz = second ? b.model->second_hz : b.model->base_hz;
  return hz * static_cast<uint64_t>(1'000'000 + b.setup->clock_ppm);
}

bool pacer_wanted(const Board& b) {
  if (!b.sampling) return false;
  if (b.model->map == Map::Vx410 && !b.trigger) return false;
  return true;
}

// 10^9 ns a second, times the 10^6 of the ppm scale.
constexpr u128 kPeriodScale = u128{1'000'000'000u} * 1'000'000u;

// Pulses due by now_ns: one at pace_start_ns, then one every division / clock seconds.
uint64_t pulses_due(const Board& b, uint64_t now_ns) {
  return static_cast<uint64_t>(static_cast<u128>(now_ns - b.pace_start_ns) * b.pace_rate / b.pace_period) + 1;
}

// When pulse number k (from 0) comes.
uint64_t pulse_time(const Board& b, uint64_t k) {
  const u128 at = b.pace_start_ns + (static_cast<u128>(k) * b.pace_period + b.pace_rate - 1) / b.pace_rate;
  return at > UINT64_MAX ? UINT64_MAX : static_cast<uint64_t>(at);
}

void pulses_until(Board& b, uint64_t now_ns);

void catch_up(Board& b, uint64_t now_ns) {
  if (b.pacing && now_ns >= b.next_pulse_ns) pulses_until(b, now_ns);
}

void pulses_until(Board& b, uint64_t now_ns) {
  const uint64_t due = pulses_due(b, now_ns);
  if (due <= b.pulses) return;
  uint64_t scans = due - b.pulses;
  b.pulses = due;
  b.next_pulse_ns = pulse_time(b, due);
  b.latched |= kClockFlag;
  if (b.counted) {
    const uint64_t wanted = (b.counted_left + b.scan_len - 1) / b.scan_len;
    if (scans >= wanted) {
      // the counted run ends inside this catch-up: take exactly its samples
      const uint64_t add = std::min<uint64_t>(b.counted_left, b.capacity - b.fill);
      b.fill += add;
      b.tail_scan += static_cast<uint32_t>(wanted);
      b.counted_left = 0;
      b.latched |= kCounterFlag;
      conversions_latch(b);
      b.pacing = false;
      b.sampling = false;
      return;
    }
    b.counted_left -= static_cast<uint32_t>(scans * b.scan_len);
  }
  conversions_latch(b);
  store_paced(b, scans);
}

// Starts or stops the pulses after sampling control or trigger changed.
void pacer_update(Board& b, uint64_t now_ns) {
  const bool wanted = pacer_wanted(b) && b.division != 0 && clock_rate(b) != 0;
  if (wanted == b.pacing) return;
  b.pacing = wanted;
  if (!wanted) return;
  b.pace_start_ns = now_ns;
  b.pace_rate = clock_rate(b);
  b.pace_period = static_cast<u128>(b.division) * kPeriodScale;
  b.pulses = 0;
  b.next_pulse_ns = now_ns;
  catch_up(b, now_ns);  // the pulse at the start write
}

void sampling_control(Board& b, bool run, bool counted, uint64_t now_ns) {
  b.sampling = run;
  b.counted = counted && run;
  if (b.counted) b.counted_left = b.counter_parts[0] | (b.counter_parts[1] << 16);
  if (!run) b.pacing = false;
  pacer_update(b, now_ns);
}

void manual_sampling(Board& b) {
  b.acted = true;
  const uint64_t room = b.capacity - b.fill;
  b.fill += std::min<uint64_t>(room, b.scan_len);
  ++b.tail_scan;
  conversions_latch(b);
}

void reset_read(Board& b) {
  b.acted = true;
  b.sampling = false;
  b.counted = false;
  b.pacing = false;
  b.trigger = false;
  b.fill = 0;
  b.head_scan = b.tail_scan;
  b.head_channel = 0;
  b.latched = 0;
  b.list_restart = true;
  b.channel_high_next = false;
  b.divider_index = 0;
  b.counter_index = 0;
  b.memory_part = 0;
  b.data_high_next = false;
}

// A division count completed while pacing takes effect from the write on
// (the counter reloads): the next pulse comes one new period after it. A
// count of 0 stops the pulses until a count is written again.
void division_changed(Board& b, uint64_t now_ns) {
  if (b.division == 0) {
    b.pacing = false;
    return;
  }
  if (!b.pacing) {
    pacer_update(b, now_ns);  // a pacer that waited for a count starts with a pulse
    return;
  }
  b.pace_start_ns = now_ns;
  b.pace_rate = clock_rate(b);
  b.pace_period = static_cast<u128>(b.division) * kPeriodScale;
  b.pulses = 1;  // the pulse "at" the write is the one already made
  b.next_pulse_ns = pulse_time(b, 1);
}

// Takes one divider write; true when it completes a division count.
bool divider_part(Board& b, uint32_t value) {
  if (b.model->divider == Divider::Paired) {
    b.divider_parts[b.divider_index] = static_cast<uint16_t>(value & 0xFF);
    if (++b.divider_index < 4) return false;
    b.divider_index = 0;
    b.division = static_cast<uint64_t>(b.divider_parts[0] | (b.divider_parts[1] << 8)) *
                 (b.divider_parts[2] | (b.divider_parts[3] << 8));
    return true;
  }
  b.divider_parts[b.divider_index] = static_cast<uint16_t>(value);
  if (++b.divider_index < 2) return false;
  b.divider_index = 0;
  b.division = b.divider_parts[0] | (static_cast<uint32_t>(b.divider_parts[1]) << 16);
  return true;
}

void divider_write(Board& b, uint32_t value, uint64_t now_ns) {
  if (divider_part(b, value)) division_changed(b, now_ns);
}

void channel_write(Board& b, uint32_t value) {
  switch (b.model->channels) {
    case Channels::Last:
      b.scan_len = (value & (byte_wide(*b.model) ? 0xFFu : 0xFFFFu)) + 1;
      break;
    case Channels::LastTwoByte:
      if (!b.channel_high_next) {
        b.channel_low = static_cast<uint16_t>(value & 0xFF);
      } else {
        b.scan_len = (b.channel_low | ((value & 0xFF) << 8)) + 1;
      }
      b.channel_high_next = !b.channel_high_next;
      break;
    case Channels::List: {
      const uint32_t channel = value & 0xFF;  // VX-412/414 carry the channel in both bytes
      if (channel == 0 || b.list_restart) b.scan_len = channel + 1;
      else b.scan_len = std::max(b.scan_len, channel + 1);
      b.list_restart = false;
      break;
    }
    case Channels::None:
      break;
  }
}

uint32_t memory_count(const Board& b) {
  if (b.setup->memory_count_fault) return b.setup->memory_count;
  const uint64_t behind = b.fill == 0 ? 0 : b.fill - 1;
  const uint64_t count = b.model->memory_count == MemoryCount::TwoWordsHalf ? behind * 2 : behind;
  return static_cast<uint32_t>(count);
}

uint16_t memory_count_read(Board& b) {
  b.acted = true;
  if (b.memory_part == 0) b.memory_latched = memory_count(b);
  uint16_t part;
  if (b.model->memory_count == MemoryCount::FourBytes) {
    part = static_cast<uint16_t>((b.memory_latched >> (8 * b.memory_part)) & 0xFF);
    b.memory_part = static_cast<uint8_t>((b.memory_part + 1) % 4);
  } else {
    part = static_cast<uint16_t>((b.memory_latched >> (16 * b.memory_part)) & 0xFFFF);
    b.memory_part = static_cast<uint8_t>((b.memory_part + 1) % 2);
  }
  return part;
}

uint16_t board_id(const Board& b) { return b.setup->id_fault ? b.setup->board_id : b.model->board_id; }

// --- byte map --------------------------------------------------------------

uint16_t byte_read(Board& b, int32_t offset) {
  const Model& m = *b.model;
  switch (offset) {
    case 0x00: {  // data register
      b.acted = true;
      if (b.data_high_next) {
        b.data_high_next = false;
        return b.data_high;
      }
      const uint16_t sample = pop_sample(b);
      b.data_high = static_cast<uint8_t>(sample >> 8);
      b.data_high_next = true;
      return sample & 0xFF;
    }
    case 0x05: return static_cast<uint16_t>((b.latched | status_fifo_bits(b)) & 0xFF);
    case 0x06: manual_sampling(b); return 0;
    case 0x07: reset_read(b); return board_id(b) & 0xFF;
    case 0x08:
      if (m.memory_count == MemoryCount::FourBytes) return memory_count_read(b);
      return kOpen8;
    case 0x0B: return b.setup->switch_value & 0xFF;
    case 0x0C:
      if (m.twin == Twin::Loop0B0C && m.hm) return static_cast<uint16_t>(~b.twin_latch & 0xFF);
      return kOpen8;
    case 0x0E:
      if (m.twin == Twin::Invert0E && m.hm) return b.twin_latch & 0xFF;
      return kOpen8;
    default: return kOpen8;
  }
}

void byte_write(Board& b, int32_t offset, uint32_t value, uint64_t now_ns) {
  const Model& m = *b.model;
  const uint32_t v = value & 0xFF;
  switch (offset) {
    case 0x00: channel_write(b, v); break;
    case 0x03: sampling_control(b, (v & 0x81) == 0x81, false, now_ns); break;
    case 0x05: b.latched = static_cast<uint16_t>(b.latched & ~v); break;
    case 0x08: b.clock_select = static_cast<uint8_t>(v); b.divider_index = 0; break;
    case 0x09: divider_write(b, v, now_ns); break;
    case 0x0B:
      if (m.twin == Twin::Loop0B0C && m.hm) b.twin_latch = static_cast<uint16_t>(v);
      break;
    case 0x0E:
      if (m.twin == Twin::Invert0E && m.hm) b.twin_latch = static_cast<uint16_t>(v);
      break;
    default: break;  // 0x02 (VX-424B) and 0x0D (VX-428, HM-236) change nothing here
  }
}

// --- word map --------------------------------------------------------------

uint16_t word_read(Board& b, int32_t offset) {
  const Model& m = *b.model;
  switch (offset) {
    case 0x00: return pop_sample(b);
    case 0x0A: return b.latched | status_fifo_bits(b) | m.status_high;
    case 0x0C: manual_sampling(b); return 0;
    case 0x0E: reset_read(b); return board_id(b);
    case 0x10:
      if (m.memory_count == MemoryCount::TwoWords || m.memory_count == MemoryCount::TwoWordsHalf) {
        return memory_count_read(b);
      }
      return kOpen16;
    case 0x16:
      if (m.switch_offset == 0x16) return b.setup->switch_value;
      return kOpen16;
    case 0x1E:
      if (m.twin == Twin::Word1E && m.hm) {
        const uint16_t size_bit = m.memory_words >= k16MW ? 0x8000 : 0;
        return static_cast<uint16_t>(size_bit | (~b.twin_latch & 0x7FFF));
      }
      return kOpen16;
    default: return kOpen16;
  }
}

void word_write(Board& b, int32_t offset, uint32_t value, uint64_t now_ns) {
  const Model& m = *b.model;
  const uint32_t v = value & 0xFFFF;
  switch (offset) {
    case 0x00: channel_write(b, v); break;
    case 0x06: sampling_control(b, (v & 0x81) == 0x81, false, now_ns); break;
    case 0x0A: b.latched = static_cast<uint16_t>(b.latched & ~v); break;
    case 0x10: b.clock_select = static_cast<uint8_t>(v); b.divider_index = 0; break;
    case 0x12: divider_write(b, v, now_ns); break;
    case 0x1E:
      if (m.twin == Twin::Word1E && m.hm) b.twin_latch = static_cast<uint16_t>(v);
      break;
    default: break;  // 0x04 (VX-414) changes nothing here
  }
}

// --- VX-410 map -------------------------------------------------------------

uint16_t vx410_read(Board& b, int32_t offset) {
  switch (offset) {
    case 0x00: return pop_sample(b);
    case 0x08: manual_sampling(b); return 0;
    case 0x0A: return b.latched | status_fifo_bits(b);
    case 0x0E: reset_read(b); return board_id(b);
    case 0x1A: return b.setup->switch_value;
    default: return kOpen16;
  }
}

void vx410_write(Board& b, int32_t offset, uint32_t value, uint64_t now_ns) {
  const uint32_t v = value & 0xFFFF;
  switch (offset) {
    case 0x00: channel_write(b, v); break;
    case 0x06:
      b.trigger = (v & 0x80) != 0;
      if (!b.trigger) b.latched = static_cast<uint16_t>(b.latched & ~kBit4);
      if (!b.trigger) b.pacing = false;
      pacer_update(b, now_ns);
      break;
    case 0x08:
      if (v == 0x02) sampling_control(b, true, false, now_ns);
      else if (v == 0x04) sampling_control(b, true, true, now_ns);
      else sampling_control(b, false, false, now_ns);
      break;
    case 0x0A: b.latched = static_cast<uint16_t>(b.latched & ~v); break;
    case 0x12: b.clock_select = static_cast<uint8_t>(v); b.divider_index = 0; break;
    case 0x14: divider_write(b, v, now_ns); break;
    case 0x16:
      b.counter_parts[b.counter_index] = v;
      b.counter_index = static_cast<uint8_t>((b.counter_index + 1) % 2);
      break;
    default: break;
  }
}

// --- DX-510 ------------------------------------------------------------------

uint16_t dx510_status(const Board& b) {
  uint16_t s = b.latched;
  if (b.fill > 0) s |= kDxNotEmpty;
  if (b.fill < b.capacity / 2) s |= kDxBelowHalf;
  if (b.fill < b.capacity) s |= kDxNotFull;
  return s;
}

uint16_t dx510_read(Board& b, int32_t offset) {
  switch (offset) {
    case 0x00: return pop_sample(b);
    case 0x08: return b.setup->switch_value;
    case 0x0E: return b.dx_counter;
    case 0x10: return b.dx_control;
    case 0x18: return dx510_status(b);
    case 0x1E: return board_id(b);
    default: return kOpen16;
  }
}

void dx510_write(Board& b, int32_t offset, uint32_t value) {
  const uint16_t v = static_cast<uint16_t>(value & 0xFFFF);
  switch (offset) {
    case 0x0E: b.dx_counter = v; break;
    case 0x10: b.dx_control = v; break;
    case 0x12:
      if ((v & 0x01) != 0 && b.dx_control == 0x80) {
        if (b.fill < b.capacity) ++b.fill;
        ++b.tail_scan;
        --b.dx_counter;
        b.latched |= kDxStartFlag;
        if ((v & 0x02) != 0) b.latched |= kDxEndFlag;
      }
      break;
    case 0x18:
      b.latched = static_cast<uint16_t>(b.latched & ~(v & (kDxStartFlag | kDxEndFlag)));
      if ((v & 0x01) != 0) {
        b.fill = 0;
        b.head_scan = b.tail_scan;
        b.head_channel = 0;
      }
      break;
    default: break;  // 0x0C and 0x1E change nothing here
  }
}

uint16_t model_read(Board& b, int32_t offset) {
  switch (b.model->map) {
    case Map::Byte: return byte_read(b, offset);
    case Map::Word: return word_read(b, offset);
    case Map::Vx410: return vx410_read(b, offset);
    case Map::Dx510: return dx510_read(b, offset);
  }
  return open_bus(*b.model);
}

// The bench file's override of a read, if one applies to this read.
uint16_t overridden(Board& b, uint16_t index, uint16_t value) {
  Board::Override& o = b.overrides[index - 1];
  const uint32_t n = o.reads++;
  if (n < o.rule->after) return value;
  const uint32_t k = n - o.rule->after;
  if (o.rule->stuck_bits()) return static_cast<uint16_t>((value | o.rule->set_bits) & ~o.rule->clear_bits);
  if (o.rule->forever) return o.rule->values[0];
  if (k < o.rule->values.size()) return o.rule->values[k];
  return value;
}

}  // namespace

uint16_t Board::read(int32_t offset, uint64_t now_ns) {
  catch_up(*this, now_ns);
  uint16_t value = model_read(*this, offset);
  if (offset >= 0 && offset < 256 && override_at[static_cast<size_t>(offset)] != 0) {
    value = overridden(*this, override_at[static_cast<size_t>(offset)], value);
  }
  return value;
}

void Board::write(int32_t offset, uint32_t value, uint64_t now_ns) {
  catch_up(*this, now_ns);
  switch (model->map) {
    case Map::Byte: byte_write(*this, offset, value, now_ns); break;
    case Map::Word: word_write(*this, offset, value, now_ns); break;
    case Map::Vx410: vx410_write(*this, offset, value, now_ns); break;
    case Map::Dx510: dx510_write(*this, offset, value); break;
  }
}

uint64_t Board::next_event_ns() const { return pacing ? next_pulse_ns : UINT64_MAX; }

void Board::read_block(int32_t offset, uint8_t* bytes, uint16_t* words, int32_t count,
                       uint64_t now_ns, uint64_t step_ns) {
  // The block takes the FIFO as it stands when the read begins.
  catch_up(*this, now_ns);
  const bool plain_data = offset == 0x00 && override_at[0] == 0;
  if (plain_data && words != nullptr) {
    for (int32_t i = 0; i < count; ++i) words[i] = pop_sample(*this);
    return;
  }
  if (plain_data && bytes != nullptr && model->map == Map::Byte) {
    int32_t i = 0;
    if (data_high_next && count > 0) {
      bytes[i++] = data_high;
      data_high_next = false;
    }
    for (; i + 1 < count; i += 2) {
      const uint16_t sample = pop_sample(*this);
      bytes[i] = static_cast<uint8_t>(sample);
      bytes[i + 1] = static_cast<uint8_t>(sample >> 8);
    }
    if (i < count) bytes[i] = static_cast<uint8_t>(byte_read(*this, 0x00));
    return;
  }
  for (int32_t i = 0; i < count; ++i) {
    const uint16_t v = read(offset, now_ns + step_ns * static_cast<uint64_t>(i));
    if (bytes != nullptr) bytes[i] = static_cast<uint8_t>(v);
    else words[i] = v;
  }
}

}  // namespace regio
