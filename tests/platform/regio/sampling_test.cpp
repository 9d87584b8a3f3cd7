// FIFO, pacer and status bits: each model walked through the register
// sequences of its self-test, and the sampling runs of the sampling checks,
// against the bench's virtual clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "bench_fixture.h"

namespace {

using regio_test::one_board;

enum class Layout { Byte, Word, Vx410 };

struct Offsets {
  int32_t data, status, manual, id, control, clock, divider;
};

constexpr Offsets kByte{0x00, 0x05, 0x06, 0x07, 0x03, 0x08, 0x09};
constexpr Offsets kWord{0x00, 0x0A, 0x0C, 0x0E, 0x06, 0x10, 0x12};
constexpr Offsets kVx410{0x00, 0x0A, 0x08, 0x0E, 0x08, 0x12, 0x14};

// A board as a program reaches it, with the program's millisecond tick.
class Access {
 public:
  Access(Layout layout, int32_t base)
      : layout_(layout),
        base_(base),
        r_(layout == Layout::Byte   ? kByte
           : layout == Layout::Word ? kWord
                                    : kVx410) {}

  int32_t rd(int32_t offset) const {
    return layout_ == Layout::Byte ? ReadByte(base_, offset) : ReadWord(base_, offset);
  }
  void wr(int32_t offset, int32_t value) const {
    if (layout_ == Layout::Byte)
      WriteByte(base_, offset, value);
    else
      WriteWord(base_, offset, value);
  }
  int32_t status() const {
    const int32_t s = rd(r_.status);
    return layout_ == Layout::Vx410 ? (s & 0xFEFF) : s;
  }
  void sample() const {
    rd(r_.data);
    if (layout_ == Layout::Byte) rd(r_.data);
  }
  static uint32_t tick() { return Regio_Tick_ms(); }

  // Counts the clock flags of a paced run over a window, as the clock count does.
  int32_t clock_count(const std::vector<int32_t>& channels, int32_t start_value, bool reg02, bool trigger) const {
    for (int32_t c : channels) wr(0x00, c);
    if (reg02) wr(0x02, 0x01);
    if (trigger) wr(0x06, 0x80);
    const uint32_t t = tick();
    wr(r_.control, start_value);
    int32_t k = 0;
    for (;;) {
      if ((status() & 0x20) != 0) {
        ++k;
        wr(r_.status, 0x20);
      } else if (tick() > t + 1020) {
        wr(r_.control, 0x00);
        return k;
      }
    }
  }

  // Reads samples until the FIFO is empty, as the data count does.
  int32_t data_count(uint32_t period_ms) const {
    const uint32_t t = tick();
    int32_t n = 0;
    for (;;) {
      sample();
      ++n;
      if ((status() & 0x01) == 0) return n;
      if (tick() > t + period_ms) return -1;
    }
  }

  // Waits for all bits of mask; steps the clock by `step_us` between polls.
  bool wait_for(int32_t mask, uint32_t step_us, uint64_t limit_us) const {
    const uint64_t end = regio_test::clock_us(0) + limit_us;
    while ((status() & mask) != mask) {
      if (regio_test::clock_us(step_us) > end) return false;
    }
    return true;
  }

  const Offsets& r() const { return r_; }

 private:
  Layout layout_;
  int32_t base_;
  Offsets r_;
};

struct Walk {
  const char* model;
  Layout layout;
  bool two_byte_channel;  // channel register taken as two byte writes
  bool reg02;             // VX-424B's register 0x02 before conversions
  bool paired;            // paired-count divider, else 32-bit
  std::vector<int32_t> full_channels;
  int32_t full_clock;  // clock select of the full sampling, -1: none
  std::vector<int32_t> full_divider;
  int32_t start;  // start value
  int32_t after_manual, after_read, between_runs, after_full, full_mask, flag_clear, after_clear;
  int32_t full_fifo;  // FULL of the FIFO count; -1: an HM board, not drained here
};

std::vector<int32_t> list(int32_t n, int32_t step) {
  std::vector<int32_t> entries;
  for (int32_t i = 0; i < n; ++i) entries.push_back(i * step);
  return entries;
}

const std::vector<int32_t> kPaired3200{0x80, 0x0C, 0x01, 0x00};

// Each model with the constants of the self-test that serves it.
// clang-format off
const Walk kWalks[] = {
// model      layout          2byte  reg02  paired full channels       clock  divider                       start  manual read  between full  mask   clear  cleared FULL
{ "VX-424",  Layout::Byte,  false, false, true,  {0x1F},             -1,   kPaired3200,                  0x81,  0x83,  0x82, 0x82,  0xA5, 0xFF,  0xA4,  0x01,   1024 },
{ "VX-424B", Layout::Byte,  false, true,  true,  {0x1F},             -1,   {0x40, 0x06, 0x01, 0x00},     0x81,  0x8B,  0x8A, 0x8A,  0xAD, 0xFF,  0xAC,  0x01,   1024 },
{ "VX-420",  Layout::Byte,  false, false, true,  {0x0F},             -1,   {0x00, 0x05, 0x01, 0x00},     0x81,  0x8B,  0x8A, 0x8A,  0xAD, 0xFF,  0xAC,  0x01,   1024 },
{ "VX-416",  Layout::Byte,  false, false, true,  {0x07},             -1,   {0x41, 0x01, 0x01, 0x00},     0x81,  0x83,  0x82, 0x82,  0xA5, 0xFF,  0xA4,  0x01,   1024 },
{ "VX-422",  Layout::Byte,  false, false, true,  {0x0F},             -1,   kPaired3200,                  0x81,  0x8B,  0x8A, 0x8A,  0xAD, 0xFF,  0xAC,  0x01,   1024 },
{ "VX-422B", Layout::Byte,  false, false, true,  {0x0F},             -1,   kPaired3200,                  0x81,  0x8B,  0x8A, 0x8A,  0xAD, 0xFF,  0xAC,  0x01,   1024 },
{ "VX-428",  Layout::Byte,  true,  false, true,  {0x1F, 0x00},       0x00, kPaired3200,                  0x81,  0x83,  0x82, 0x82,  0xA5, 0xFF,  0xA4,  0x01,   1024 },
{ "VX-412",  Layout::Word,  false, false, true,  list(16, 0x101),    0x00, {0x20, 0x03, 0x01, 0x00},     0x81,  0x83,  0x82, 0x82,  0xA7, 0xFF,  0xA4,  0x01,   1024 },
{ "VX-414",  Layout::Word,  false, false, true,  list(48, 0x101),    0x00, {0xC0, 0x12, 0x01, 0x00},     0x81,  0x83,  0x82, 0x82,  0xA7, 0xFF,  0xA4,  0x01,   1024 },
{ "VX-418",  Layout::Word,  false, false, false, {0x000F},           0x00, {0x0280, 0x0000},             0x81,  0x83,  0x82, 0x82,  0xA5, 0xFF,  0xA4,  0x01,   1024 },
{ "VX-426",  Layout::Word,  false, false, false, {0x0007},           0x00, {0x02A8, 0x0000},             0x81,  0x83,  0x82, 0x82,  0xA5, 0xFF,  0xA4,  0x01,   1024 },
{ "VX-410",  Layout::Vx410, false, false, false, {0, 1, 2, 3},       0x00, {0x0028, 0x0000},             0x02,  0x83,  0x82, 0x82,  0xB5, 0x5FF, 0x2A4, 0x11,   4096 },
{ "HM-236",  Layout::Byte,  true,  false, true,  {0x1F, 0x00},       0x00, kPaired3200,                  0x81,  0x83,  0x82, 0x82,  0xA5, 0xFF,  0xA4,  0x01,   -1   },
{ "HM-232",  Layout::Byte,  false, false, true,  {0x0F},             -1,   {0x00, 0x05, 0x01, 0x00},     0x81,  0x8B,  0x8A, 0x8A,  0xAD, 0xFF,  0xAC,  0x01,   -1   },
{ "HM-234",  Layout::Byte,  false, false, true,  {0x0F},             -1,   kPaired3200,                  0x81,  0x8B,  0x8A, 0x8A,  0xAD, 0xFF,  0xAC,  0x01,   -1   },
{ "HM-230-8MW",  Layout::Word, false, false, false, {0x0007},        0x00, {0x02A8, 0x0000},             0x81,  0x83,  0x82, 0x82,  0xA5, 0xFF,  0xA4,  0x01,   -1   },
{ "HM-230-16MW", Layout::Word, false, false, false, {0x0007},        0x00, {0x02A8, 0x0000},             0x81,  0x83,  0x82, 0x82,  0xA5, 0xFF,  0xA4,  0x01,   -1   },
};
// clang-format on

class Sampling : public regio_test::Bench {};

// The self-test's register sequence on every model (the HM boards' memory
// is drained by the performance test only).
TEST_F(Sampling, SelfTestStatusValuesOfEveryModel) {
  for (const Walk& w : kWalks) {
    SCOPED_TRACE(w.model);
    const Access a(w.layout, start(one_board(w.model)));
    const std::vector<int32_t> channel0 = w.two_byte_channel ? std::vector<int32_t>{0, 0} : std::vector<int32_t>{0};
    // The bits the self-test compares: word boards carry more in the high
    // byte (and the VX-410 its bit 0x100), which a program must mask off.
    const int32_t seen = w.layout == Layout::Vx410 ? 0x7FF & 0xFEFF : 0xFF;
    a.rd(a.r().id);  // the frame's board ID read
    EXPECT_EQ(a.status() & 0xFF, 0x02) << "reset";

    for (int32_t c : channel0) a.wr(0x00, c);
    if (w.reg02) a.wr(0x02, 0x01);
    a.rd(a.r().manual);
    const int32_t manual = a.rd(a.r().status);
    EXPECT_EQ(manual & seen, w.after_manual) << "after manual sampling";
    const int32_t high = w.layout == Layout::Word ? 0x1200 : w.layout == Layout::Vx410 ? 0x100 : 0;
    EXPECT_EQ(manual & ~0xFF, high) << "the bits above the low byte";
    a.sample();
    EXPECT_EQ(a.status() & seen, w.after_read) << "after data read";

    // clock test: 10 Hz from either clock, 1020 ms window: 11 pulses, 11 samples
    a.wr(a.r().clock, 0x00);
    for (int32_t v : w.paired ? std::vector<int32_t>{0xE8, 0x03, 0xE8, 0x03} : std::vector<int32_t>{0x0900, 0x003D}) {
      a.wr(a.r().divider, v);
    }
    for (int32_t c : channel0) a.wr(0x00, c);
    if (w.reg02) a.wr(0x02, 0x01);
    EXPECT_EQ(a.clock_count(channel0, w.start, w.reg02, w.layout == Layout::Vx410), 11) << "base clock";
    EXPECT_EQ(a.data_count(1000), 11) << "base clock";
    EXPECT_EQ(a.status() & 0xFF, w.between_runs) << "between the clock runs";
    a.rd(a.r().id);
    a.wr(a.r().clock, 0x20);
    for (int32_t v : w.paired ? std::vector<int32_t>{0x00, 0x04, 0x20, 0x03} : std::vector<int32_t>{0x0000, 0x0032}) {
      a.wr(a.r().divider, v);
    }
    EXPECT_EQ(a.clock_count(channel0, w.start, w.reg02, w.layout == Layout::Vx410), 11) << "second clock";
    EXPECT_EQ(a.data_count(1000), 11) << "second clock";

    // full sampling
    a.rd(a.r().id);
    for (int32_t c : w.full_channels) a.wr(0x00, c);
    if (w.full_clock >= 0) a.wr(a.r().clock, w.full_clock);
    if (w.reg02) a.wr(0x02, 0x01);
    for (int32_t v : w.full_divider) a.wr(a.r().divider, v);
    if (w.layout == Layout::Vx410) a.wr(0x06, 0x80);
    a.wr(a.r().control, w.start);
    ASSERT_TRUE(a.wait_for(0x04, w.full_fifo < 0 ? 1000 : 1, 400'000'000)) << "full flag";
    a.wr(a.r().control, 0x00);
    EXPECT_EQ(a.status() & seen & w.full_mask, w.after_full) << "after full sampling";

    a.wr(a.r().status, w.flag_clear);
    EXPECT_EQ(a.status() & seen, w.after_clear) << "after flag clear";
    if (w.layout == Layout::Vx410) {
      a.wr(0x06, 0x00);
      EXPECT_EQ(a.status() & seen, 0x01) << "after trigger disable";
    }
    if (w.full_fifo < 0) continue;

    // FIFO count
    int32_t n = 0;
    do {
      a.sample();
      ++n;
    } while ((a.status() & 0x02) == 0);
    const int32_t h = a.data_count(10000);
    EXPECT_EQ(n + h, w.full_fifo) << "FULL";
    EXPECT_EQ(h, w.full_fifo / 2 - 1) << "HALF";
    EXPECT_EQ(a.status() & seen, 0x02) << "empty at the end";
  }
}

TEST_F(Sampling, ClockFlagLatchesOnEachPulse) {
  // 10 Hz: the first pulse comes at the start write, the next 100 ms later
  const Access a(Layout::Byte, start(one_board("VX-424")));
  for (int32_t v : {0xE8, 0x03, 0xE8, 0x03}) a.wr(0x09, v);
  a.wr(0x00, 0);
  a.wr(0x03, 0x81);             // at t
  EXPECT_EQ(a.status(), 0xA3);  // t + 1: one pulse, one sample
  a.wr(0x05, 0x20);             // t + 2
  regio_test::clock_us(99'990);
  EXPECT_EQ(a.status(), 0x83) << "t + 99993: no second pulse yet";
  regio_test::clock_us(20);
  EXPECT_EQ(a.status(), 0xA3) << "t + 100014: the second pulse";
  a.wr(0x05, 0x20);
  a.wr(0x03, 0x00);
  regio_test::clock_us(1'000'000);
  EXPECT_EQ(a.status(), 0x83) << "stopped";
}

TEST_F(Sampling, PulsesFollowTheDivider) {
  struct Row {
    const char* model;
    Layout layout;
    std::vector<int32_t> divider;
    uint64_t run_us;
    int32_t samples;  // pulses in run_us, one sample each
  };
  // clang-format off
  const Row rows[] = {
    { "VX-424", Layout::Byte,  {0x80, 0x0C, 0x01, 0x00}, 3200,    11 },  // 3125 Hz: 320 us apart
    { "VX-424", Layout::Byte,  {0x80, 0x0C, 0x01, 0x00}, 3199,    10 },
    { "VX-412", Layout::Word,  {0x20, 0x03, 0x01, 0x00}, 800,     11 },  // 12500 Hz: 80 us
    { "VX-418", Layout::Word,  {0x0900, 0x003D},         500'000, 6  },  // 10 Hz
    { "VX-426", Layout::Word,  {0x0168, 0x0000},         90,      11 },  // 111.1 kHz: 9 us
    { "VX-410", Layout::Vx410, {0x01E0, 0x0000},         120,     11 },  // 83.3 kHz: 12 us
  };
  // clang-format on
  for (const Row& row : rows) {
    const Access a(row.layout, start(one_board(row.model)));
    a.wr(a.r().clock, 0x00);
    for (int32_t v : row.divider) a.wr(a.r().divider, v);
    a.wr(0x00, 0);
    if (row.layout == Layout::Vx410) a.wr(0x06, 0x80);
    const uint64_t t0 = Regio_Clock_ns(0);  // the start write's time
    a.wr(a.r().control, row.layout == Layout::Vx410 ? 0x02 : 0x81);
    Regio_Clock_ns(t0 + row.run_us * 1000 - Regio_Clock_ns(0));
    a.wr(a.r().control, 0x00);  // at t0 + run_us
    int32_t n = 0;
    while ((a.status() & 0x01) != 0) {
      a.sample();
      ++n;
    }
    EXPECT_EQ(n, row.samples) << row.model << " " << row.run_us << " us";
  }
}

TEST_F(Sampling, FullFlagOnTheFirstLostSample) {
  // VX-428 with 1024 channels: one scan fills the FIFO to the last place
  const Access a(Layout::Byte, start(one_board("VX-428")));
  a.wr(0x00, 0xFF);
  a.wr(0x00, 0x03);
  for (int32_t v : {0xE8, 0x03, 0xE8, 0x03}) a.wr(0x09, v);  // 10 Hz
  a.wr(0x03, 0x81);
  EXPECT_EQ(a.status(), 0xA1) << "full to the last place, nothing lost";
  regio_test::clock_us(100'000);
  EXPECT_EQ(a.status(), 0xA5) << "the next scan is lost";
}

TEST_F(Sampling, NoDivisorNoPulses) {
  const Access a(Layout::Word, start(one_board("VX-426")));
  a.wr(0x06, 0x81);
  regio_test::clock_us(100'000);
  EXPECT_EQ(a.status() & 0xFF, 0x02);
}

TEST_F(Sampling, ADividerWrittenWhilePacingTakesEffectAtOnce) {
  // VX-426 at 10 Hz; 150 ms in, the count for 100 Hz: the next pulse 10 ms later
  const Access a(Layout::Word, start(one_board("VX-426")));
  a.wr(0x00, 0);
  a.wr(0x10, 0x00);
  a.wr(0x12, 0x0900);
  a.wr(0x12, 0x003D);
  const uint64_t t0 = Regio_Clock_ns(0);
  a.wr(0x06, 0x81);  // pulses at 0 and 100 ms
  Regio_Clock_ns(t0 + 150'000'000 - Regio_Clock_ns(0));
  a.wr(0x12, 0x1A80);
  const uint64_t t1 = Regio_Clock_ns(0);
  a.wr(0x12, 0x0006);  // 400,000: 100 Hz from here
  for (int32_t n = 0; n < 2; ++n) a.sample();
  ASSERT_EQ(a.status() & 0x01, 0) << "two scans before the new count";
  Regio_Clock_ns(t1 + 9'990'000 - Regio_Clock_ns(0));
  EXPECT_EQ(a.status() & 0x01, 0);
  Regio_Clock_ns(20'000);
  EXPECT_EQ(a.status() & 0x01, 1) << "one pulse 10 ms after the write";
  a.wr(0x12, 0x0000);
  a.wr(0x12, 0x0000);  // a count of 0 stops the pulses, and divides nothing
  a.sample();
  regio_test::clock_us(1'000'000);
  EXPECT_EQ(a.status() & 0x01, 0);
}

TEST_F(Sampling, AccessesOfTheOtherWidthReachWhatTheBusReaches) {
  int32_t base = start(one_board("VX-424"));
  EXPECT_EQ(ReadWord(base, 0x07), 0xFF11) << "board ID byte, then the open offset 0x08";
  WriteWord(base, 0x03, 0x0081);  // 0x81 to 0x03 starts pacing (no divider yet: no pulses)
  EXPECT_EQ(ReadByte(base, 0x05), 0x02);
  ReadWord(base, 0x05);  // status, then 0x06: the manual sampling register converts a scan
  EXPECT_EQ(ReadByte(base, 0x05), 0x83);
  base = start(one_board("VX-426"));
  EXPECT_EQ(ReadByte(base, 0x0E), 0x15) << "the low half of the board ID word";
  EXPECT_EQ(ReadByte(base, 0x0F), 0x00) << "its high half";
  WriteByte(base, 0x00, 0x03);  // channel register: channels 0 to 3
  ReadByte(base, 0x0C);         // manual sampling through the low half
  uint8_t bytes[4];
  ReadByteBlock(base, 0x00, 4, bytes);
  EXPECT_EQ(bytes[0], 0x00);
  EXPECT_EQ(bytes[1], 0x01) << "each byte of the block a word read of its own";
  uint16_t words[2];
  base = start(one_board("VX-424"));
  WriteByte(base, 0x00, 0x01);
  ReadByte(base, 0x06);
  ReadWordBlock(base, 0x00, 2, words);
  EXPECT_EQ(words[0], 0xFF00) << "low byte of channel 0, then the open offset 0x01";
}

TEST_F(Sampling, FlagClearClearsOnlyItsBits) {
  const Access a(Layout::Byte, start(one_board("VX-420")));
  a.rd(0x06);
  ASSERT_EQ(a.status(), 0x8B);
  a.wr(0x05, 0x80);
  EXPECT_EQ(a.status(), 0x0B);
  a.wr(0x05, 0x03);  // FIFO state bits are not latched
  EXPECT_EQ(a.status(), 0x0B);
  a.wr(0x05, 0x08);
  EXPECT_EQ(a.status(), 0x03);
}

TEST_F(Sampling, HalfBlocksOfTheSamplingRun) {
  // vx424chk: 32 channels at 3125 Hz, 12 half blocks of 16 scans, 8 single scans
  const int32_t base = start(one_board("VX-424"));
  const Access b(Layout::Byte, base);
  b.wr(0x00, 0x1F);
  b.wr(0x08, 0x00);
  for (int32_t v : kPaired3200) b.wr(0x09, v);
  b.wr(0x03, 0x81);
  std::vector<uint16_t> buffer(200 * 32, 0);
  size_t p = 0;
  for (int blocks = 0; blocks < 12;) {
    const int32_t s = b.status();
    ASSERT_EQ(s & 0x04, 0) << "full at block " << blocks;
    if ((s & 0x02) == 0) {
      ReadByteBlock(base, 0x00, 2 * 512, reinterpret_cast<uint8_t*>(&buffer[p]));
      p += 512;
      ++blocks;
    }
  }
  while (p < buffer.size()) {
    const int32_t s = b.status();
    ASSERT_EQ(s & 0x04, 0) << "full at sample " << p;
    if ((s & 0x80) != 0) {
      b.wr(0x05, 0x80);
      ReadByteBlock(base, 0x00, 2 * 32, reinterpret_cast<uint8_t*>(&buffer[p]));
      p += 32;
    }
  }
  for (size_t i = 0; i < buffer.size(); ++i) {
    const uint32_t scan = static_cast<uint32_t>(i / 32), channel = static_cast<uint32_t>(i % 32);
    ASSERT_EQ(buffer[i], ((scan & 0xF) << 12) | channel) << "sample " << i << ": scans in order";
  }
}

TEST_F(Sampling, SamplingFlagBehindSeveralScans) {
  // a scan waits behind each flag; reading one scan leaves the others in order
  const Access a(Layout::Word, start(one_board("VX-418")));
  a.wr(0x00, 0x0003);
  a.wr(0x10, 0x00);
  a.wr(0x12, 0x0900);  // 10 Hz
  a.wr(0x12, 0x003D);
  a.wr(0x06, 0x81);
  regio_test::clock_us(250'000);  // pulses at 0, 100 and 200 ms
  a.wr(0x06, 0x00);
  std::vector<int32_t> codes;
  while ((a.status() & 0x01) != 0) codes.push_back(a.rd(0x00));
  EXPECT_EQ(codes, (std::vector<int32_t>{0x0000, 0x0001, 0x0002, 0x0003, 0x1000, 0x1001, 0x1002, 0x1003, 0x2000, 0x2001,
                                         0x2002, 0x2003}));
  EXPECT_EQ(a.rd(0x00), 0xFFFF) << "empty";
}

TEST_F(Sampling, ChannelProgramming) {
  struct Row {
    const char* model;
    Layout layout;
    std::vector<int32_t> writes;
    int32_t scan;  // samples per manual sampling
  };
  // clang-format off
  const Row rows[] = {
    { "VX-424", Layout::Byte,  {0x1F},            32   },
    { "VX-424", Layout::Byte,  {0x3F, 0x07},      8    },  // the last write counts
    { "VX-428", Layout::Byte,  {0xFF, 0x03},      1024 },
    { "VX-428", Layout::Byte,  {0x7F, 0x01},      384  },
    { "HM-236", Layout::Byte,  {0x1F, 0x00},      32   },
    { "VX-418", Layout::Word,  {0x000F},          16   },
    { "VX-412", Layout::Word,  list(16, 0x101),   16   },
    { "VX-412", Layout::Word,  {0, 0},            1    },  // each 0 starts a new list
    { "VX-414", Layout::Word,  list(48, 0x101),   48   },
    { "VX-410", Layout::Vx410, {0, 1, 2, 3},      4    },
    { "VX-410", Layout::Vx410, {0x0003},          4    },  // one entry N: channels 0 to N
  };
  // clang-format on
  for (const Row& row : rows) {
    const Access a(row.layout, start(one_board(row.model)));
    for (int32_t v : row.writes) a.wr(0x00, v);
    a.rd(a.r().manual);
    int32_t n = 0;
    while ((a.status() & 0x01) != 0 && n < 5000) {
      a.sample();
      ++n;
    }
    EXPECT_EQ(n, row.scan) << row.model << " after " << row.writes.size() << " writes";
  }
}

TEST_F(Sampling, Vx428ChannelsBeyondItsExpansionBoards) {
  const int32_t base = start(one_board("VX-428", "expansions = 2\n"));
  WriteByte(base, 0x00, 0xFF);
  WriteByte(base, 0x00, 0x01);  // 384 channels
  ReadByte(base, 0x06);
  std::vector<uint16_t> scan(384);
  ReadByteBlock(base, 0x00, 768, reinterpret_cast<uint8_t*>(scan.data()));
  EXPECT_EQ(scan[0], 0x0000);
  EXPECT_EQ(scan[255], 0x00FF);
  EXPECT_EQ(scan[256], 0xFFFF) << "no third expansion board";
}

TEST_F(Sampling, CountingPatternShowsALostScan) {
  // VX-428, 1024 channels at 10 Hz: scan 0 fills the FIFO, scan 1 is lost
  const int32_t base = start(one_board("VX-428", "data = \"counting\"\n"));
  WriteByte(base, 0x00, 0xFF);
  WriteByte(base, 0x00, 0x03);
  for (int32_t v : {0xE8, 0x03, 0xE8, 0x03}) WriteByte(base, 0x09, v);
  WriteByte(base, 0x03, 0x81);  // scan 0: samples 0 ... 1023
  regio_test::clock_us(100'000);
  std::vector<uint16_t> samples(1024);
  ReadByteBlock(base, 0x00, 2048, reinterpret_cast<uint8_t*>(samples.data()));  // scan 1 comes first, and is lost
  for (size_t i = 0; i < samples.size(); ++i) ASSERT_EQ(samples[i], i) << "sample " << i;
  regio_test::clock_us(100'000);
  ReadByteBlock(base, 0x00, 4, reinterpret_cast<uint8_t*>(samples.data()));
  EXPECT_EQ(samples[0], 2048) << "scan 2 follows scan 0: the lost scan's numbers are gone";
  EXPECT_EQ(samples[1], 2049);
}

TEST_F(Sampling, InputCodes) {
  // VX-418 at 10 Hz, five channels: a DC level, a clipped one, a sine, noise, no input
  const Access a(Layout::Word, start(one_board("VX-418", R"(
[[board.input]]
ch = 0
dc = 1000
[[board.input]]
ch = 1
dc = -20000
[[board.input]]
ch = 2
sine = { amplitude = 1000, period_ms = 400 }
[[board.input]]
ch = 3
noise = 10
)")));
  a.wr(0x00, 0x0004);
  a.wr(0x10, 0x00);
  a.wr(0x12, 0x0900);
  a.wr(0x12, 0x003D);
  const uint64_t t0 = Regio_Clock_ns(0);  // the start write's time: pulse k comes 100 k ms later
  a.wr(0x06, 0x81);
  regio_test::clock_us(350'000);
  a.wr(0x06, 0x00);
  std::vector<int32_t> noise;
  for (int k = 0; k < 4; ++k) {
    SCOPED_TRACE("scan " + std::to_string(k));
    EXPECT_EQ(a.rd(0x00), 0x8C80) << "1000 mV: 3200 steps of 312.5 uV above 0x8000";
    EXPECT_EQ(a.rd(0x00), 0x0000) << "clipped";
    const double t_ms = static_cast<double>(t0 + 100'000'000ull * static_cast<uint64_t>(k)) / 1e6;
    const double mv = 1000 * std::sin(2 * 3.14159265358979323846 * t_ms / 400);
    EXPECT_EQ(a.rd(0x00), 0x8000 + static_cast<int32_t>(std::nearbyint(mv / 0.3125))) << "the sine at the scan's time";
    noise.push_back(a.rd(0x00));
    EXPECT_NEAR(noise.back(), 0x8000, 32) << "noise within +-10 mV";
    EXPECT_EQ(a.rd(0x00), 0x8000) << "no input: 0 mV";
  }
  EXPECT_NE(noise[0], noise[1]);
}

TEST_F(Sampling, InputNoiseIsTheSameOnEveryRun) {
  std::vector<int32_t> runs[2];
  for (std::vector<int32_t>& codes : runs) {
    const Access a(Layout::Word, start(one_board("VX-418", "[[board.input]]\nch = 5\nnoise = 100\n")));
    a.wr(0x00, 0x0007);
    for (int scan = 0; scan < 8; ++scan) {
      a.rd(0x0C);
      for (int ch = 0; ch < 8; ++ch) codes.push_back(a.rd(0x00));
    }
  }
  EXPECT_EQ(runs[0], runs[1]);
  EXPECT_NE(runs[0][5], runs[0][13]) << "channel 5 changes from scan to scan";
}

TEST_F(Sampling, ResetReadStopsAndEmpties) {
  const Access a(Layout::Byte, start(one_board("VX-424")));
  a.wr(0x00, 0x1F);
  for (int32_t v : kPaired3200) a.wr(0x09, v);
  a.wr(0x03, 0x81);
  regio_test::clock_us(100'000);
  EXPECT_EQ(a.status(), 0xA5) << "pacing left running fills the FIFO";
  a.rd(0x07);
  EXPECT_EQ(a.status(), 0x02);
  regio_test::clock_us(100'000);
  EXPECT_EQ(a.status(), 0x02) << "no more pulses";
  a.rd(0x06);
  EXPECT_EQ(a.status(), 0x83) << "manual sampling after the reset";
}

TEST_F(Sampling, Vx410CountedRun) {
  const Access a(Layout::Vx410, start(one_board("VX-410")));
  for (auto [offset, value] : std::vector<std::pair<int32_t, int32_t>>{{0x12, 0x00},
                                                                       {0x14, 0x0040},
                                                                       {0x14, 0x0000},
                                                                       {0x16, 0x0064},
                                                                       {0x16, 0x0000},
                                                                       {0x00, 0x00},
                                                                       {0x06, 0x80},
                                                                       {0x08, 0x04}}) {
    a.wr(offset, value);
  }
  ASSERT_TRUE(a.wait_for(0x200, 1, 10'000'000)) << "counter flag";
  EXPECT_EQ(a.data_count(1000), 100);
  regio_test::clock_us(1'000'000);
  EXPECT_EQ(a.status() & 0x01, 0) << "the counted run took its samples only";
}

TEST_F(Sampling, Vx410NeedsItsTrigger) {
  const Access a(Layout::Vx410, start(one_board("VX-410")));
  a.wr(0x14, 0x0028);
  a.wr(0x14, 0x0000);
  a.wr(0x08, 0x02);
  regio_test::clock_us(1000);
  EXPECT_EQ(a.status() & 0xFF, 0x02) << "no trigger: no pulses";
  a.wr(0x06, 0x80);
  regio_test::clock_us(10'000);
  EXPECT_EQ(a.status() & 0xFF, 0xB5) << "full, with status bit 4";
  a.wr(0x06, 0x00);
  EXPECT_EQ(a.status() & 0xFF, 0xA5) << "bit 4 clears with the trigger";
}

TEST_F(Sampling, HmMemoryCount) {
  struct Row {
    const char* model;
    Layout layout;
    int32_t words;  // stored by manual sampling
    std::vector<int32_t> reads;
  };
  // clang-format off
  const Row rows[] = {
    { "HM-236",      Layout::Byte, 0,   {0, 0, 0, 0} },
    { "HM-236",      Layout::Byte, 1,   {0, 0, 0, 0} },  // the word the not-empty bit shows
    { "HM-232",      Layout::Byte, 300, {0x2B, 0x01, 0, 0} },
    { "HM-234",      Layout::Byte, 17,  {0x10, 0, 0, 0} },
    { "HM-230-16MW", Layout::Word, 17,  {0x10, 0} },
    { "HM-230-8MW",  Layout::Word, 17,  {0x20, 0} },     // two per word
  };
  // clang-format on
  for (const Row& row : rows) {
    const Access a(row.layout, start(one_board(row.model)));
    for (int32_t i = 0; i < row.words; ++i) a.rd(a.r().manual);
    std::vector<int32_t> got;
    for (size_t i = 0; i < row.reads.size(); ++i) got.push_back(a.rd(row.layout == Layout::Byte ? 0x08 : 0x10));
    EXPECT_EQ(got, row.reads) << row.model << " with " << row.words << " words";
  }
}

TEST_F(Sampling, HmMemoryCountOfAFullMemory) {
  const Access a(Layout::Byte, start(one_board("HM-236")));
  a.wr(0x00, 0x1F);
  a.wr(0x00, 0x00);
  for (int32_t v : kPaired3200) a.wr(0x09, v);
  a.wr(0x03, 0x81);
  ASSERT_TRUE(a.wait_for(0x04, 100'000, 400'000'000));
  a.wr(0x03, 0x00);
  int32_t count = 0;
  for (int i = 0; i < 4; ++i) count |= a.rd(0x08) << (8 * i);
  EXPECT_EQ(count + 1, 8 * 1024 * 1024);
}

TEST_F(Sampling, Dx510BoardCheck) {
  const Access a(Layout::Word, start(one_board("DX-510")));
  auto status = [&] { return a.rd(0x18) & 0xFF; };
  EXPECT_EQ(status(), 0x06) << "reset";
  for (auto [o, v] :
       std::vector<std::pair<int32_t, int32_t>>{{0x1E, 1}, {0x0C, 0x10}, {0x0C, 0}, {0x10, 0x80}, {0x12, 1}}) {
    a.wr(o, v);
  }
  a.rd(0x10);
  a.rd(0x10);
  EXPECT_EQ(status(), 0x47) << "sampling start";
  a.rd(0x1E);
  for (auto [o, v] : std::vector<std::pair<int32_t, int32_t>>{
           {0x1E, 1}, {0x0C, 0x10}, {0x0C, 0}, {0x0E, 5}, {0x0E, 0}, {0x10, 0x80}, {0x12, 3}}) {
    a.wr(o, v);
  }
  EXPECT_EQ(status(), 0xC7) << "sampling end";
  a.wr(0x18, 0xC0);
  EXPECT_EQ(status(), 0x07) << "end flag clear";
  a.wr(0x18, 1);
  EXPECT_EQ(status(), 0x06) << "FIFO clear";

  a.rd(0x1E);
  for (auto [o, v] : std::vector<std::pair<int32_t, int32_t>>{
           {0x1E, 1}, {0x0C, 0xFFFF}, {0x0C, 0xFFFF}, {0x0E, 0xFFFF}, {0x0E, 0xFFFF}, {0x10, 0x80}, {0x12, 3}}) {
    a.wr(o, v);
  }
  int32_t count = 0;
  for (int32_t pass = 0; pass <= 0x8000; ++pass) {
    if ((status() & 0x02) == 0) break;
    a.wr(0x10, 0);
    a.wr(0x12, 0);
    a.wr(0x10, 0x80);
    a.wr(0x12, 3);
    ++count;
  }
  EXPECT_EQ(count, 511) << "half of a 1024-sample FIFO";
  EXPECT_EQ(0xFFFE - a.rd(0x0E), count) << "the counter agrees";
  EXPECT_EQ(a.rd(0x1E), 0x122B) << "the ID word is not written";
}

// What the DX-510 check rests on: the ID read resets, a sampling needs 0x80
// in 0x10, the counter loads from two writes (low word first) and counts
// each sampling down, and the FIFO's not-full bit.
TEST_F(Sampling, Dx510ResetSamplingAndCounter) {
  const Access a(Layout::Word, start(one_board("DX-510")));
  auto status = [&] { return a.rd(0x18); };
  auto sampling = [&] {
    a.wr(0x10, 0x80);
    a.wr(0x12, 3);
  };
  a.wr(0x10, 0);
  a.wr(0x12, 3);
  EXPECT_EQ(status(), 0x06) << "0x12 with 0x10 at 0 samples nothing";
  a.wr(0x0E, 5);
  sampling();
  EXPECT_EQ(a.rd(0x0E), 0xFFFF) << "one write loads nothing; the counter counted down from 0";
  a.wr(0x0E, 0);
  EXPECT_EQ(a.rd(0x0E), 5) << "low word 5, high word 0";
  sampling();
  EXPECT_EQ(a.rd(0x0E), 4);
  EXPECT_EQ(status(), 0xC7) << "two samples, start and end flags";

  a.wr(0x0E, 0x1234);
  EXPECT_EQ(a.rd(0x1E), 0x122B);
  EXPECT_EQ(status(), 0x06) << "the ID read empties the FIFO and clears the flags";
  EXPECT_EQ(a.rd(0x10), 0x80) << "and keeps 0x10";
  EXPECT_EQ(a.rd(0x0E), 4) << "and the counter";
  a.wr(0x0E, 7);
  a.wr(0x0E, 0);
  EXPECT_EQ(a.rd(0x0E), 7) << "the half-done load began again at the ID read";

  a.wr(0x0E, 0xFFFF);
  a.wr(0x0E, 0xFFFF);
  for (int i = 0; i < 1023; ++i) sampling();
  EXPECT_EQ(status(), 0xC5) << "1023 samples: not full";
  sampling();
  EXPECT_EQ(status(), 0xC1) << "1024 samples: full";
  sampling();
  EXPECT_EQ(status(), 0xC1) << "the 1025th is lost";
  EXPECT_EQ(a.rd(0x0E), 0xFFFF - 1025) << "but counted";
  a.wr(0x18, 0x40);
  EXPECT_EQ(status(), 0x81) << "0x40 clears the start flag alone";
  a.wr(0x18, 0x01);
  EXPECT_EQ(status(), 0x86) << "1 empties the FIFO";
}

// The slowest self-test there is, as a program runs it: an HM-230-16MW filled
// by pacing and drained sample by sample, with a tick read in every poll (its
// speed: regio_bench_speed).
TEST_F(Sampling, SixteenMegawordsFillAndDrain) {
  const Access a(Layout::Word, start(one_board("HM-230-16MW")));
  a.rd(0x0E);
  a.wr(0x00, 0x0007);
  a.wr(0x10, 0x00);
  a.wr(0x12, 0x02A8);
  a.wr(0x12, 0x0000);
  a.wr(0x06, 0x81);
  while ((a.status() & 0x04) == 0) Access::tick();
  a.wr(0x06, 0x00);
  EXPECT_EQ(a.status() & 0xFF, 0xA5);
  int32_t n = 0;
  do {
    a.sample();
    ++n;
    Access::tick();
  } while ((a.status() & 0x02) == 0);
  const int32_t h = a.data_count(100'000);
  EXPECT_EQ(n + h, 16 * 1024 * 1024) << "FULL";
  EXPECT_EQ(h, 8 * 1024 * 1024 - 1) << "HALF";
}

// --- faults of the bench file ----------------------------------------------------

TEST_F(Sampling, ClockErrorInPartsPerMillion) {
  struct Row {
    const char* ppm;
    int32_t samples;  // pulses at 0, P, 2P ... up to 1030 ms
  };
  // clang-format off
  const Row rows[] = {
    { "0",        11 },  // P = 100 ms
    { "100000",   12 },  // 10 % fast: P = 90.9 ms
    { "-100000",  10 },  // 10 % slow: P = 111.1 ms
    { "1000000",  21 },  // twice the rate: P = 50 ms
    { "-500000",  6  },  // half the rate: P = 200 ms
  };
  // clang-format on
  for (const Row& row : rows) {
    for (const int32_t clock : {0x00, 0x20}) {
      const Access a(Layout::Byte, start(one_board("VX-424", std::string("clock_ppm = ") + row.ppm + "\n")));
      a.wr(0x08, clock);
      for (int32_t v :
           clock == 0 ? std::vector<int32_t>{0xE8, 0x03, 0xE8, 0x03} : std::vector<int32_t>{0x00, 0x04, 0x20, 0x03}) {
        a.wr(0x09, v);
      }
      a.wr(0x00, 0x00);
      a.wr(0x03, 0x81);
      regio_test::clock_us(1'030'000);
      a.wr(0x03, 0x00);
      int32_t n = 0;
      while ((a.status() & 0x01) != 0) {
        a.sample();
        ++n;
      }
      EXPECT_EQ(n, row.samples) << row.ppm << " ppm, clock select " << clock;
    }
  }
}

TEST_F(Sampling, DeadClockGivesNoPulses) {
  struct Row {
    const char* dead;
    bool base, second;  // pulses come from it
  };
  const Row rows[] = {{"base", false, true}, {"second", true, false}, {"both", false, false}};
  for (const Row& row : rows) {
    for (const int32_t clock : {0x00, 0x20}) {
      const Access a(Layout::Word, start(one_board("VX-418", std::string("dead_clock = \"") + row.dead + "\"\n")));
      a.wr(0x10, clock);
      a.wr(0x12, 0x0900);
      a.wr(0x12, 0x003D);  // 10 Hz from 40 MHz (8.2 Hz from 32.768 MHz)
      a.wr(0x00, 0x00);
      a.wr(0x06, 0x81);
      regio_test::clock_us(300'000);
      const bool pulses = clock == 0 ? row.base : row.second;
      EXPECT_EQ(a.status() & 0xFF, pulses ? 0xA3 : 0x02) << row.dead << " dead, clock select " << clock;
    }
  }
}

TEST_F(Sampling, StoreThatNeverFills) {
  // 3125 Hz on one channel for 10 ms: 32 samples for a 4-sample FIFO
  for (const bool fault : {false, true}) {
    const Access a(Layout::Byte, start(one_board("VX-424", std::string("fifo_samples = 4\n") +
                                                               (fault ? "fifo = \"never_full\"\n" : ""))));
    for (int32_t v : kPaired3200) a.wr(0x09, v);
    a.wr(0x00, 0x00);
    a.wr(0x03, 0x81);
    regio_test::clock_us(10'000);
    a.wr(0x03, 0x00);
    EXPECT_EQ(a.status(), fault ? 0xA1 : 0xA5) << (fault ? "one place kept free, no full flag" : "full");
    int32_t n = 0;
    while ((a.status() & 0x01) != 0) {
      a.sample();
      ++n;
    }
    EXPECT_EQ(n, fault ? 3 : 4);
  }
}

TEST_F(Sampling, FifoThatNeverDrainsBelowHalfOrNeverEmpties) {
  struct Row {
    const char* fault;
    int32_t removed;  // samples a read takes before the FIFO sticks
  };
  const Row rows[] = {{"never_below_half", 4}, {"never_empty", 7}};
  for (const Row& row : rows) {
    const Access a(Layout::Word,
                   start(one_board("VX-426", std::string("fifo_samples = 8\nfifo = \"") + row.fault + "\"\n")));
    for (int i = 0; i < 8; ++i) a.rd(0x0C);  // eight manual samplings: scans 0 to 7, channel 0
    std::vector<int32_t> codes;
    for (int i = 0; i < 10; ++i) codes.push_back(a.rd(0x00));
    for (int i = 0; i < 10; ++i) {
      const int32_t scan = std::min(i, row.removed);
      EXPECT_EQ(codes[static_cast<size_t>(i)], scan << 12) << row.fault << ": read " << i;
    }
    EXPECT_EQ(a.status() & 0x03, row.removed == 4 ? 0x01 : 0x03)
        << row.fault << ": not empty, below half only when stuck at 1";
  }
}

TEST_F(Sampling, MemoryCountValueOfTheBenchFile) {
  const Access b(Layout::Byte, start(one_board("HM-236", "memory_count = 0x01020304\n")));
  EXPECT_EQ((std::vector<int32_t>{b.rd(0x08), b.rd(0x08), b.rd(0x08), b.rd(0x08)}),
            (std::vector<int32_t>{0x04, 0x03, 0x02, 0x01}));
  const Access w(Layout::Word, start(one_board("HM-230-8MW", "memory_count = 0x10\n")));
  EXPECT_EQ((std::vector<int32_t>{w.rd(0x10), w.rd(0x10)}), (std::vector<int32_t>{0x0010, 0x0000}))
      << "the register's count as it stands, whatever the store holds";
}

TEST_F(Sampling, StatusBitsStuckSetOrClear) {
  const Access a(Layout::Byte,
                 start(one_board("VX-420", "[[board.read]]\noffset = 5\nafter = 1\nset = 0x20\nclear = 0x08\n")));
  EXPECT_EQ(a.status(), 0x02) << "the first read is the model's";
  EXPECT_EQ(a.status(), 0x22);
  a.rd(0x06);  // a manual sampling latches bit 3, which reads 0
  EXPECT_EQ(a.status(), 0xA3);
  a.wr(0x05, 0x20);
  EXPECT_EQ(a.status(), 0xA3) << "the clear changes nothing the read shows";
  a.wr(0x05, 0xFF);
  EXPECT_EQ(a.status(), 0x23);
}

}  // namespace
