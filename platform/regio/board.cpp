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
//   not fit are lost without a flag. The reset read before it stops a pacer
//   left running, so a read of the manual sampling register after a reset
//   read puts exactly one scan into the FIFO.
// - Every sample converted, kept or lost, takes the board's next sequence
//   number (from 0 at Open_Driver) and its scan number (scans converted so
//   far) and channel; a lost sample takes its numbers with it, so the codes
//   after a loss show the gap. What a data read gives (the bench file's
//   `data`): the scan pattern, scan number mod 16 in the top hexadecimal
//   digit and the channel in the low three (the default); the counting
//   pattern, the sequence number's low 16 bits; or the board's inputs, DC
//   level + sine + noise in mV at the scan's conversion time on the virtual
//   clock, as offset binary with 312.5 uV a step (0 mV is 0x8000, clipped
//   to 0 ... 0xFFFF). Channels without an input read 0 mV. The noise is a
//   fixed function of the sequence number and channel, so a run gives the
//   same codes every time.
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
// - DX-510: the board ID read (word 0x1E) is the reset read here too: it
//   empties the FIFO, clears the start and end flags and restarts the
//   counter load; it keeps the counter and register 0x10. Writes to 0x1E
//   change nothing. A write to 0x12 with bit 0 set while 0x10 holds 0x80 is
//   one sampling: one sample into the FIFO (lost when it is full), start flag
//   0x40, counter down by one; bit 1 set too latches the end flag 0x80. So of
//   the four writes of a half-full count pass (0 to 0x10, 0 to 0x12, 0x80 to
//   0x10, 3 to 0x12) only the last samples. The counter 0x0E loads 32 bits
//   from two writes, low word first (as the VX-410's sample counter), and
//   reads its low 16 bits: preset with 0xFFFF twice, it reads 0xFFFF - k
//   after k samplings. 0x0C takes two writes alike (0x10, 0 before each
//   sampling set-up; 0xFFFF twice before the count) but nothing a program
//   reads depends on it, so the bench keeps nothing of it. Status bits: 0x01
//   not empty, 0x02 below half (fewer than half the FIFO's samples), 0x04
//   not full, 0x40 start, 0x80 end; writing 0x18: 0x40/0x80 clear their
//   flags, 0x01 empties the FIFO. A healthy board thus reads 0x06 after the
//   reset, 0x47 after the first sampling, 0xC7 after the second (the reset
//   read before it leaves one sample), 0x07 after the end-flag clear and 0x06
//   after the FIFO clear; in the half-full count the pass with sampling
//   count n has seen n + 1 samplings, so a 1024-sample FIFO is half full at
//   n = 511, when the counter reads 0xFFFF - 512 = 0xFFFE - n.
// - The word map's status register reads 0x12 in its high byte, a constant
//   of the board that programs must mask off (the model's `status_high`).
//   On the VX-410, bit 0x100 latches with every conversion, like the
//   sampling flag, and a flag clear with 0x100 in it clears it.
// - Faults of the bench file: both clocks of a board may run `clock_ppm`
//   millionths fast (negative: slow), and a dead clock gives no pulses at
//   all, so paced sampling on it never starts. A never-full store
//   (`fifo = "never_full"`) keeps one place free and loses what does not
//   fit without latching the full flag. A FIFO that never drains below half
//   (or never empties) gives the sample at its output without removing it
//   once it holds half its capacity (or one sample). `memory_count` is what
//   the memory count register counts, whatever the store holds.
// - An offset a layout does not have reads 0xFF (byte map) or 0xFFFF and
//   ignores writes.
#include "board.h"

#include <algorithm>
#include <cmath>
#include <numbers>

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

namespace {

// Uniform in [-1, 1), the same for the same sequence number on every run
// (splitmix64 of the number).
double noise(uint64_t seq) {
  uint64_t z = seq + 0x9E3779B97F4A7C15ULL;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  z ^= z >> 31;
  return static_cast<double>(z >> 11) * 0x1.0p-52 - 1.0;
}

constexpr double kMvPerCode = 0.3125;

}  // namespace

uint16_t input_code(const Input& in, uint64_t t_ns, uint64_t seq, uint32_t channel) {
  double mv = analog::level_mv(in, static_cast<double>(t_ns) / 1e6);
  if (in.noise_mv != 0) mv += in.noise_mv * noise(seq * kMaxChannels + channel);
  const double code = 32768.0 + std::nearbyint(mv / kMvPerCode);
  return static_cast<uint16_t>(std::clamp(code, 0.0, 65535.0));
}

void Stretches::push_back(const Stretch& s) {
  if (size_ == ring_.size()) {
    std::vector<Stretch> grown(ring_.empty() ? 8 : 2 * ring_.size());
    for (size_t i = 0; i < size_; ++i) grown[i] = ring_[(head_ + i) & (ring_.size() - 1)];
    ring_ = std::move(grown);
    head_ = 0;
  }
  ring_[(head_ + size_) & (ring_.size() - 1)] = s;
  ++size_;
}

void Board::reset(const Model* m, const BoardSetup* s) {
  *this = Board{};
  model = m;
  setup = s;
  if (m == nullptr) return;
  capacity = s->fifo_samples != 0 ? s->fifo_samples : m->memory_words != 0 ? m->memory_words : m->fifo_samples;
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

// Converts n samples from channel 0 of scan tail_scan on, at the given
// timing, and keeps the first of them that the store has room for (the
// caller counts the scans). True when every sample was kept.
bool convert(Board& b, uint64_t n, const Timing& timing) {
  b.acted = true;
  const uint64_t kept = std::min(n, b.store_limit - b.fill);
  if (kept > 0) {
    bool joined = false;
    if (!b.store.empty()) {
      Stretch& last = b.store.back();
      const uint64_t end = last.channel + last.left;  // just past its last sample
      joined = last.seq + last.left == b.converted && last.timing.id == timing.id && last.scan_len == b.scan_len &&
               end % last.scan_len == 0 && static_cast<uint32_t>(last.scan + end / last.scan_len) == b.tail_scan;
      if (joined) last.left += kept;
    }
    if (!joined) b.store.push_back(Stretch{b.converted, kept, b.tail_scan, 0, b.scan_len, timing});
    b.fill += kept;
  }
  b.converted += n;
  return kept == n;
}

Timing pacer_timing(const Board& b) {
  return Timing{b.pace_start_ns, b.division, b.pace_rate, b.pace_scan0, b.pace_timing};
}

Timing manual_timing(Board& b) { return Timing{b.now_ns, 0, 0, b.tail_scan, ++b.timings}; }

// Stores `scans` scans of paced sampling.
void store_paced(Board& b, uint64_t scans) {
  // Saturated: the sequence of a run that long is past any store anyway.
  const u128 add = static_cast<u128>(scans) * b.scan_len;
  const uint64_t n = add > UINT64_MAX ? UINT64_MAX : static_cast<uint64_t>(add);
  // A never-full store loses what it cannot take without a flag.
  if (!convert(b, n, pacer_timing(b)) && b.store_limit == b.capacity) full_latch(b);
  b.tail_scan += static_cast<uint32_t>(scans);
}

// 10^9 ns a second, times the 10^6 of the ppm scale.
constexpr u128 kPeriodScale = u128{1'000'000'000u} * 1'000'000u;

uint64_t scan_time_ns(const Stretch& s) {
  const Timing& t = s.timing;
  if (t.division == 0 || t.rate == 0) return t.t0_ns;
  const uint32_t k = s.scan - t.scan0;
  return t.t0_ns + static_cast<uint64_t>(static_cast<u128>(k) * t.division * kPeriodScale / t.rate);
}

uint16_t code_of(const Board& b, const Stretch& s) {
  if (s.channel >= b.channel_limit) return kOpen16;  // a VX-428 channel beyond its expansion boards
  switch (b.setup->data) {
    case Data::Pattern: return sample_code(s.scan, s.channel);
    case Data::Counting: return static_cast<uint16_t>(s.seq);
    case Data::Inputs: {
      static const Input kGrounded{};
      const std::vector<Input>& inputs = b.setup->inputs;
      const Input& in = s.channel < inputs.size() ? inputs[s.channel] : kGrounded;
      return input_code(in, scan_time_ns(s), s.seq, s.channel);
    }
  }
  return kOpen16;
}

uint16_t pop_sample(Board& b) {
  if (b.fill == 0) return kOpen16;
  Stretch& s = b.store.front();
  const uint16_t code = code_of(b, s);
  if (b.fill == b.stuck_fill) return code;  // the faulty FIFO keeps its output sample
  b.acted = true;
  --b.fill;
  ++s.seq;
  if (++s.channel >= s.scan_len) {
    s.channel = 0;
    ++s.scan;
  }
  if (--s.left == 0) b.store.pop_front();
  return code;
}

void empty_store(Board& b) {
  b.fill = 0;
  b.store.clear();
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

// Pulses due by now_ns: one at pace_start_ns, then one every division / clock seconds.
uint64_t pulses_due(const Board& b, uint64_t now_ns) {
  const u128 periods = static_cast<u128>(now_ns - b.pace_start_ns) * b.pace_rate / b.pace_period;
  return periods >= UINT64_MAX ? UINT64_MAX : static_cast<uint64_t>(periods) + 1;
}

// When pulse number k (from 0) comes; UINT64_MAX past the clock's range.
uint64_t pulse_time(const Board& b, uint64_t k) {
  const u128 max = ~u128{0};
  if (k != 0 && b.pace_period > (max - b.pace_rate) / k) return UINT64_MAX;
  const u128 at = b.pace_start_ns + (static_cast<u128>(k) * b.pace_period + b.pace_rate - 1) / b.pace_rate;
  return at > UINT64_MAX ? UINT64_MAX : static_cast<uint64_t>(at);
}

// Starts the pulses at now_ns: pulse 0 comes at once.
void pace_from(Board& b, uint64_t now_ns) {
  b.pace_start_ns = now_ns;
  b.pace_rate = clock_rate(b);
  b.pace_period = static_cast<u128>(b.division) * kPeriodScale;
  b.pulses = 0;
  b.next_pulse_ns = now_ns;
}

void pulses_until(Board& b, uint64_t now_ns);

// Only a due pulse costs a division: a board that waits for its next pulse
// answers its polls at once.
inline void catch_up(Board& b, uint64_t now_ns) {
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
      convert(b, b.counted_left, pacer_timing(b));  // what does not fit is lost without a flag
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
  pace_from(b, now_ns);
  b.pace_scan0 = b.tail_scan;
  b.pace_timing = ++b.timings;
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
  convert(b, b.scan_len, manual_timing(b));
  ++b.tail_scan;
  conversions_latch(b);
}

void reset_read(Board& b) {
  b.acted = true;
  b.sampling = false;
  b.counted = false;
  b.pacing = false;
  b.trigger = false;
  empty_store(b);
  b.latched = 0;
  b.list_restart = true;
  b.channel_high_next = false;
  b.divider_index = 0;
  b.counter_index = 0;  // also the DX-510 counter load
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
  pace_from(b, now_ns);
  b.pulses = 1;  // the pulse "at" the write is the one already made
  b.next_pulse_ns = pulse_time(b, 1);
  b.pace_scan0 = b.tail_scan - 1;
  b.pace_timing = ++b.timings;
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
    case Channels::Last: b.scan_len = (value & (byte_wide(*b.model) ? 0xFFu : 0xFFFFu)) + 1; break;
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
      if (channel == 0 || b.list_restart)
        b.scan_len = channel + 1;
      else
        b.scan_len = std::max(b.scan_len, channel + 1);
      b.list_restart = false;
      break;
    }
    case Channels::None: break;
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
    case 0x00: {       // data register
      b.acted = true;  // even a high byte read moves the register on
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
    case 0x08:
      b.clock_select = static_cast<uint8_t>(v);
      b.divider_index = 0;
      break;
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
    case 0x10:
      b.clock_select = static_cast<uint8_t>(v);
      b.divider_index = 0;
      break;
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
      if (v == 0x02)
        sampling_control(b, true, false, now_ns);
      else if (v == 0x04)
        sampling_control(b, true, true, now_ns);
      else
        sampling_control(b, false, false, now_ns);
      break;
    case 0x0A: b.latched = static_cast<uint16_t>(b.latched & ~v); break;
    case 0x12:
      b.clock_select = static_cast<uint8_t>(v);
      b.divider_index = 0;
      break;
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
    case 0x0E: return static_cast<uint16_t>(b.dx_counter);
    case 0x10: return b.dx_control;
    case 0x18: return dx510_status(b);
    case 0x1E: reset_read(b); return board_id(b);
    default: return kOpen16;
  }
}

void dx510_write(Board& b, int32_t offset, uint32_t value) {
  const uint16_t v = static_cast<uint16_t>(value & 0xFFFF);
  switch (offset) {
    case 0x0E:
      b.counter_parts[b.counter_index] = v;
      b.counter_index = static_cast<uint8_t>((b.counter_index + 1) % 2);
      if (b.counter_index == 0) b.dx_counter = b.counter_parts[0] | (b.counter_parts[1] << 16);
      break;
    case 0x10: b.dx_control = v; break;
    case 0x12:
      if ((v & 0x01) != 0 && b.dx_control == 0x80) {
        convert(b, 1, manual_timing(b));
        ++b.tail_scan;
        --b.dx_counter;
        b.latched |= kDxStartFlag;
        if ((v & 0x02) != 0) b.latched |= kDxEndFlag;
      }
      break;
    case 0x18:
      b.latched = static_cast<uint16_t>(b.latched & ~(v & (kDxStartFlag | kDxEndFlag)));
      if ((v & 0x01) != 0) empty_store(b);
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

uint16_t Board::read(int32_t offset, uint64_t now) {
  now_ns = now;
  catch_up(*this, now);
  uint16_t value = model_read(*this, offset);
  if (offset >= 0 && offset < 256 && override_at[static_cast<size_t>(offset)] != 0) {
    value = overridden(*this, override_at[static_cast<size_t>(offset)], value);
  }
  return value;
}

void Board::write(int32_t offset, uint32_t value, uint64_t now) {
  now_ns = now;
  catch_up(*this, now);
  switch (model->map) {
    case Map::Byte: byte_write(*this, offset, value, now); break;
    case Map::Word: word_write(*this, offset, value, now); break;
    case Map::Vx410: vx410_write(*this, offset, value, now); break;
    case Map::Dx510: dx510_write(*this, offset, value); break;
  }
}

uint64_t Board::next_event_ns() const { return pacing ? next_pulse_ns : UINT64_MAX; }

void Board::read_block(int32_t offset, uint8_t* bytes, uint16_t* words, int32_t count, uint64_t now, uint64_t step_ns) {
  // The block takes the FIFO as it stands when the read begins.
  now_ns = now;
  catch_up(*this, now);
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
    const uint16_t v = read(offset, now + step_ns * static_cast<uint64_t>(i));
    if (bytes != nullptr)
      bytes[i] = static_cast<uint8_t>(v);
    else
      words[i] = v;
  }
}

}  // namespace regio
