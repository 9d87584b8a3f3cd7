// The self-test sequence and its stages.
//
// Time comes from the millisecond tick only, and every period is measured
// as the unsigned difference from its start: the tick counter wraps every
// 49.7 days, and a period begun just before the wrap runs its full length.
#include "selftest.h"

#include "frame.h"
#include "tick.h"

namespace selftest {

namespace {

using frame::out;
namespace status = regs::status;

constexpr int32_t kClockWindowMs = 1020;
constexpr int32_t kClockDataMs = 1000;
constexpr int32_t kClockCount = 11;  // pulses at 0, 100, ... 1000 ms of a 1020 ms window at 10 Hz
constexpr uint32_t kProgressMs = 5000;
constexpr uint32_t kFifoDataMs = 10000;
constexpr uint32_t kPauseMs = 500;
constexpr int32_t kCounterSamples = 100;

constexpr uint16_t kResetStatus = 0x02;
constexpr uint16_t kBetweenRunsMask = 0xFF;
constexpr uint16_t kTriggerDisabledStatus = 0x01;

// --- time ----------------------------------------------------------------------

uint32_t tick() { return platform::tick_ms(); }

// A period of `period` ms begun at tick `start` has run out once more than
// `period` ms have passed.
bool run_out(uint32_t start, uint32_t period) { return tick() - start > period; }

void pause(uint32_t ms) {
  const uint32_t start = tick();
  while (tick() - start < ms) {
  }
}

// --- registers -------------------------------------------------------------------

const regs::Map& map_of(const Member& m) { return *m.layout->map; }

int32_t read(const Member& m, int32_t offset) { return frame::read(map_of(m), offset); }
void write(const Member& m, int32_t offset, int32_t value) { frame::write(map_of(m), offset, value); }

uint16_t status_read(const Member& m) {
  return static_cast<uint16_t>(read(m, map_of(m).status) & m.layout->status_read_mask);
}

void write_values(const Member& m, int32_t offset, const Values& values) {
  for (uint8_t i = 0; i < values.count; ++i) write(m, offset, values.v[i]);
}

void write_channels(const Member& m, const Channels& channels) {
  write_values(m, map_of(m).channel, channels.values);
  for (int32_t i = 0; i < channels.list_entries; ++i) write(m, map_of(m).channel, i * channels.list_step);
}

// --- the shared routines -----------------------------------------------------------

// Reads the status once, prints it with its label and judges it.
void status_check(const Member& m, uint16_t expected, uint16_t mask, const char* label) {
  uint16_t s = status_read(m);
  if (m.bit3 == Bit3::Tolerated && (s & status::kBit3) != 0) {
    frame::bit3_seen = 1;
    s = static_cast<uint16_t>(s & ~status::kBit3);
  }
  out(m.layout->status_text, label, s);
  if ((s & mask) == expected) {
    out("正常です。\n");
  } else {
    out("異常です。\n");
    out("\t期待値は(%04xH)です。\n", expected);
  }
}

void memory_count_report(const Member& m);

// Polls until every bit of `mask` is set, with a dot (and on the HM model the
// memory count) every 5000 ms. No time-out: a board that never raises the
// bits keeps the program here until it is interrupted.
void status_wait(const Member& m, uint16_t mask) {
  uint32_t start = tick();
  for (;;) {
    if ((status_read(m) & mask) == mask) return;
    if (run_out(start, kProgressMs)) {
      start = tick();
      out("．");
      memory_count_report(m);
    }
  }
}

void one_sample_read(const Member& m) {
  read(m, map_of(m).data);
  if (map_of(m).width == regs::Width::Byte) read(m, map_of(m).data);  // the high byte
}

// Samples read until the FIFO is empty (at least one), or -1 when the
// period runs out first.
int32_t data_count(const Member& m, uint32_t period) {
  const uint32_t start = tick();
  int32_t n = 0;
  for (;;) {
    one_sample_read(m);
    ++n;
    if ((status_read(m) & status::kNotEmpty) == 0) return n;
    if (run_out(start, period)) return -1;
  }
}

void reset_read(const Member& m) { read(m, map_of(m).board_id); }

void memory_count_report(const Member& m) {
  if (m.memory == MemoryCount::None || frame::model_flag == 0) return;
  const int32_t reg = map_of(m).memory_count;
  uint32_t count = 0;
  if (m.memory == MemoryCount::FourBytes) {
    for (int i = 0; i < 4; ++i) count |= static_cast<uint32_t>(read(m, reg) & 0xFF) << (8 * i);
  } else {
    const uint32_t low = static_cast<uint32_t>(read(m, reg)) & 0xFFFF;
    const uint32_t high = static_cast<uint32_t>(read(m, reg)) & 0xFFFF;
    count = low | high << 16;
    if ((read(m, regs::word_map::kTwinWriteBack.offset) & regs::word_map::kMemorySizeBit) == 0) {
      count = static_cast<uint32_t>(static_cast<int32_t>(count) / 2);  // the 8M-word version counts two per word
    }
  }
  if ((status_read(m) & status::kNotEmpty) != 0) ++count;  // the word in the output register
  out("現在のメモリ内データは %d ワードです。\n", static_cast<int32_t>(count));
}

// --- clock and counter tests -------------------------------------------------------

void channel_writes(const Member& m) {
  write_channels(m, m.channel);
  if (m.optional.register02) write(m, regs::byte_map::kRegister02.offset, 0x01);
}

// Clock flags counted over a window of paced sampling. The window is tested
// on a poll that finds the flag clear, so a pulse still latched when it runs
// out is counted first. A flag found set again on the poll right after its
// clear is one that will not clear: the window is tested then too, so that
// such a board ends its count (far above 11) instead of holding the program.
int32_t clock_count(const Member& m, uint32_t window) {
  const regs::Map& map = map_of(m);
  channel_writes(m);
  if (m.optional.trigger_each_clock_count) write(m, map.trigger_control, regs::kVx410TriggerEnable);
  out("クロックのテスト中．．．");
  const uint32_t start = tick();
  write(m, map.sampling_control, map.start_paced);
  int32_t k = 0;
  bool set_before = false;
  for (;;) {
    const bool set = (status_read(m) & status::kClock) != 0;
    if (set) {
      ++k;
      write(m, map.flag_clear, status::kClock);
    }
    if ((!set || set_before) && run_out(start, window)) {
      write(m, map.sampling_control, regs::kStop);
      out("終了しました。\n");
      return k;
    }
    set_before = set;
  }
}

void clock_run(const Member& m, const char* label) {
  out("%s", label);
  const int32_t k = clock_count(m, kClockWindowMs);
  const int32_t d = data_count(m, kClockDataMs);
  out("クロック数(%ld)、データ数(%ld)は", static_cast<long>(k), static_cast<long>(d));
  out(k == kClockCount && d == kClockCount ? "正常です。\n" : "\n\t異常です。\n");
}

void clock_test(const Member& m) {
  const regs::Map& map = map_of(m);
  write(m, map.clock_select, regs::kBaseClock);
  write_values(m, map.divider, m.clocks->base_divider);
  channel_writes(m);
  clock_run(m, m.clocks->base_label);
  if (m.clock_test.between_check != kNone) {
    status_check(m, static_cast<uint16_t>(m.clock_test.between_check), kBetweenRunsMask, "ステータス");
  }
  if (m.clock_test.reset_between) reset_read(m);
  write(m, map.clock_select, regs::kSecondClock);
  write_values(m, map.divider, m.clocks->second_divider);
  clock_run(m, m.clocks->second_label);
}

// A counted run of 100 samples at 625 kHz (VX-410).
void counter_test(const Member& m) {
  const regs::Map& map = map_of(m);
  write(m, map.clock_select, regs::kBaseClock);
  write_values(m, map.divider, count32(0x0040, 0x0000));
  write_values(m, map.sample_counter, count32(kCounterSamples, 0x0000));
  write(m, map.channel, 0x00);
  write(m, map.trigger_control, regs::kVx410TriggerEnable);
  write(m, map.sampling_control, regs::kVx410StartCounted);
  out("カウンタのテスト中．．．");
  status_wait(m, status::kCounter);
  out("終了しました。\n");
  const int32_t d = data_count(m, kClockDataMs);
  out("データ数(%ld)は", static_cast<long>(d));
  out(d == kCounterSamples ? "正常です。\n" : "異常です。\n");
}

// --- FIFO and memory tests ---------------------------------------------------------

void full_sampling(const Member& m) {
  const regs::Map& map = map_of(m);
  const FullSampling& f = m.full;
  for (const Op op : f.order) {
    switch (op) {
      case Op::End: break;
      case Op::ResetRead: reset_read(m); break;
      case Op::Channel: write_channels(m, f.channels); break;
      case Op::ClockSelect: write(m, map.clock_select, f.clock_select); break;
      case Op::Other: write(m, f.other_offset, f.other_value); break;
      case Op::Divider: write_values(m, map.divider, f.divider); break;
      case Op::Start: write(m, map.sampling_control, map.start_paced); break;
    }
  }
  out("サンプリング中．．．");
  if (m.optional.line_break_before_hm_wait && frame::model_flag == 1) out("\n");
  status_wait(m, status::kFull);
  out("終了しました。\n");
  write(m, map.sampling_control, regs::kStop);
}

// Drains the store sample by sample: FULL is all it held, HALF what was
// left once it fell below half. The counts are 64 bits wide: a store that
// never falls below half keeps the count going without overflow.
void fifo_count(const Member& m) {
  out("ＦＩＦＯカウント中．．．");
  uint32_t start = tick();
  int64_t n = 0;
  bool notice_shown = false;
  for (;;) {
    one_sample_read(m);
    ++n;
    if ((status_read(m) & status::kBelowHalf) != 0) break;
    if (run_out(start, kProgressMs)) {
      start = tick();
      if (notice_shown) {
        out("．");
      } else {
        notice_shown = true;
        out(m.optional.large_memory_notice && frame::model_flag == 1
                ? "大容量メモリのチェックを行っています。もうしばらくお待ち下さい。\n"
                : "\nメガＦＩＦＯチェック中なので、もうしばらく時間が必要です。\n");
      }
    }
  }
  const int64_t h = data_count(m, kFifoDataMs);
  out("終了しました。\n");
  out("FULL =（%ld) HALF = (%ld)です。\n", static_cast<long>(n + h), static_cast<long>(h));
}

uint16_t flag_clear_value(const Member& m) {
  uint16_t value = m.expected.flag_clear;
  if (m.bit3 == Bit3::Tolerated && frame::bit3_seen != 0) value |= status::kBit3;
  return value;
}

}  // namespace

void run_board(const Member& m) {
  const regs::Map& map = map_of(m);
  const uint16_t mask = m.layout->check_mask;

  status_check(m, kResetStatus, mask, "リセット時のステータス");

  channel_writes(m);
  if (m.optional.sampling_stop_and_500ms) {
    write(m, map.sampling_control, regs::kStop);
    pause(kPauseMs);
  }
  read(m, map.manual_sampling);
  status_wait(m, status::kNotEmpty);
  status_check(m, m.expected.manual, mask, "マニュアル・サンプリング後のステータス");
  memory_count_report(m);

  one_sample_read(m);
  status_check(m, m.expected.read, mask, "データ読み取り後のステータス");

  if (m.optional.reset_before_clock_test) reset_read(m);
  clock_test(m);

  reset_read(m);
  full_sampling(m);
  status_check(m, m.expected.full, m.expected.full_mask, "サンプリング後のステータス");
  memory_count_report(m);

  if (m.optional.sampling_stop_and_500ms) pause(kPauseMs);
  write(m, map.flag_clear, flag_clear_value(m));
  status_check(m, m.expected.cleared, mask, "フラグ・クリア後のステータス");
  if (m.optional.trigger_disable_check) {
    write(m, map.trigger_control, 0x00);
    status_check(m, kTriggerDisabledStatus, mask, "トリガ禁止後のステータス");
  }

  fifo_count(m);
  out(m.layout->flag_text, status_read(m) & m.layout->flag_mask);

  if (m.optional.counter_test) counter_test(m);
}

}  // namespace selftest
