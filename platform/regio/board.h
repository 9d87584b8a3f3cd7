// One board on the bench while the driver is open: its registers, pacer and
// FIFO, following the bench's virtual clock.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "bench.h"
#include "u128.h"

namespace regio {

// Status bits of the byte, word and VX-410 maps.
inline constexpr uint16_t kNotEmpty = 0x01;
inline constexpr uint16_t kBelowHalf = 0x02;
inline constexpr uint16_t kFullFlag = 0x04;
inline constexpr uint16_t kBit3 = 0x08;
inline constexpr uint16_t kBit4 = 0x10;
inline constexpr uint16_t kClockFlag = 0x20;
inline constexpr uint16_t kSamplingFlag = 0x80;
inline constexpr uint16_t kCounterFlag = 0x200;
inline constexpr uint16_t kVx410Conversion = 0x100;  // VX-410: latched by every conversion

// Status bits of the DX-510.
inline constexpr uint16_t kDxNotEmpty = 0x01;
inline constexpr uint16_t kDxBelowHalf = 0x02;
inline constexpr uint16_t kDxNotFull = 0x04;
inline constexpr uint16_t kDxStartFlag = 0x40;
inline constexpr uint16_t kDxEndFlag = 0x80;

// When the scans of a stretch were converted: scan s at t0_ns + (s - scan0)
// * division x 10^15 / rate ns, or every scan at t0_ns when division is 0.
struct Timing {
  uint64_t t0_ns = 0;
  uint64_t division = 0;
  uint64_t rate = 0;  // clock Hz x (10^6 + its error in ppm)
  uint32_t scan0 = 0;
  uint64_t id = 0;  // one per pacer start, division change or manual sampling
};

// A run of samples in the store, converted one after another and all kept.
struct Stretch {
  uint64_t seq = 0;   // sequence number of its next sample
  uint64_t left = 0;  // its samples still in the store
  uint32_t scan = 0;  // scan and channel of its next sample
  uint32_t channel = 0;
  uint32_t scan_len = 1;
  Timing timing;
};

// The store's stretches, oldest first: a ring that grows when it must and
// then keeps its room, so a running board allocates nothing.
class Stretches {
 public:
  bool empty() const { return size_ == 0; }
  Stretch& front() { return ring_[head_]; }
  Stretch& back() { return ring_[(head_ + size_ - 1) & (ring_.size() - 1)]; }
  void pop_front() {
    head_ = (head_ + 1) & (ring_.size() - 1);
    --size_;
  }
  void push_back(const Stretch& s);
  void clear() { head_ = size_ = 0; }

 private:
  std::vector<Stretch> ring_;  // size 0 or a power of two
  size_t head_ = 0;
  size_t size_ = 0;
};

struct Board {
  const Model* model = nullptr;  // nullptr: empty slot
  const BoardSetup* setup = nullptr;
  bool started = false;

  // Read overrides of the bench file, found by offset without a search.
  struct Override {
    const ReadOverride* rule;
    uint32_t reads = 0;  // reads of the register so far
  };
  std::array<uint16_t, 256> override_at{};  // 0: none, else index + 1 into overrides
  std::vector<Override> overrides;

  // Twin-model identification latch (HM boards).
  uint16_t twin_latch = 0;

  // Channel programming: a scan converts channels 0 to scan_len - 1.
  uint32_t scan_len = 1;
  uint32_t channel_limit = UINT32_MAX;  // VX-428: channels on its expansion boards
  bool channel_high_next = false;       // two-byte channel register: next write is the high byte
  uint16_t channel_low = 0;
  bool list_restart = true;  // list boards: the next entry starts a new list

  // Pacer.
  uint8_t clock_select = 0;
  uint8_t divider_index = 0;
  uint16_t divider_parts[4]{};
  uint64_t division = 0;  // the division count last completed
  bool sampling = false;  // sampling control says run
  bool trigger = false;   // VX-410 trigger control
  bool counted = false;   // VX-410: a counted run
  uint32_t counter_parts[2]{};
  uint8_t counter_index = 0;
  uint32_t counted_left = 0;   // samples the counted run still takes
  bool pacing = false;         // pulses are coming
  uint64_t pace_start_ns = 0;  // time of the first pulse
  uint64_t pace_rate = 0;      // clock Hz x (10^6 + its error in ppm)
  u128 pace_period = 0;        // division x 10^15: pulse k comes k x pace_period / pace_rate ns in
  uint64_t pulses = 0;         // pulses made since pace_start_ns
  uint64_t next_pulse_ns = 0;  // when pulse number `pulses` comes
  uint32_t pace_scan0 = 0;     // pulse k converts scan pace_scan0 + k
  uint64_t pace_timing = 0;    // Timing id of the pulses

  // FIFO (on the HM boards, FIFO and board memory as one store). The store
  // keeps no samples, only stretches of them: each stretch is a run of
  // samples converted one after another and all kept, and a sample's code is
  // made when it is read, from its sequence number, scan, channel and time.
  uint64_t capacity = 0;
  uint64_t fill = 0;
  uint64_t store_limit = 0;  // the fill paced sampling stops at (capacity, or one less: never full)
  uint64_t stuck_fill = 0;   // a fill at which reads give the output sample without removing it; 0: none
  Stretches store;
  uint32_t tail_scan = 0;       // scans converted so far
  uint64_t converted = 0;       // samples converted so far: the next sequence number
  uint64_t now_ns = 0;          // time of the access being answered
  uint64_t timings = 0;         // Timing ids handed out
  uint16_t latched = 0;         // latched status bits
  bool data_high_next = false;  // byte map: next data read is the high byte
  uint8_t data_high = 0xFF;

  // Memory count register: successive reads give successive parts.
  uint8_t memory_part = 0;
  uint32_t memory_latched = 0;

  // The last read changed the board (took a sample, converted, reset, moved
  // a register sequence on): it was no busy poll.
  bool acted = false;

  // DX-510.
  uint16_t dx_control = 0;  // register 0x10
  uint32_t dx_counter = 0;  // register 0x0E, loaded through counter_parts

  void reset(const Model* m, const BoardSetup* s);
  uint16_t read(int32_t offset, uint64_t now_ns);
  void write(int32_t offset, uint32_t value, uint64_t now_ns);
  // count reads of one register into buffer, step_ns apart from now_ns.
  void read_block(int32_t offset, uint8_t* bytes, uint16_t* words, int32_t count, uint64_t now_ns, uint64_t step_ns);
  // When the board next changes by itself (a pacer pulse); UINT64_MAX: never.
  uint64_t next_event_ns() const;
};

// The value the data register gives for a channel of a scan, in the scan
// pattern.
uint16_t sample_code(uint32_t scan, uint32_t channel);

// The code of an input at a time (offset binary, 312.5 uV a step); the noise
// follows the sample's sequence number.
uint16_t input_code(const Input& input, uint64_t t_ns, uint64_t seq, uint32_t channel);

}  // namespace regio
