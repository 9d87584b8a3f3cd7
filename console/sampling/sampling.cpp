#include "sampling.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "frame.h"
#include "movable_memory.h"

namespace sampling {

namespace {

constexpr int kExitNormal = 0;
constexpr int kExitSamplingError = 1;
constexpr int kExitNoMemory = -1;

constexpr int kChannelsPerBoard = 128;  // channels of one XB-300
constexpr int kChannelsPerGroup = 16;   // channels of one adjustment line
constexpr int kMaxAdjustChannels = 1024;
constexpr int kHighestBoard = 7;  // board numbers at the board prompt: 0 to 7

constexpr char kCountPrompt[] = "使用しているXB-300の枚数を入力して下さい。\n";
constexpr char kBoardHeader[] = "%d枚目のデータです。\n";
constexpr char kNoMemory[] = "Not enough memory.\n";
constexpr char kStatusLine[] = "Status = %x\n";
constexpr char kEndOrAdjust[] = "\n調整を行う場合は\"C/c\"キーを、終了する場合は\"E/e\"キーを押して下さい。\n";
constexpr char kStartPrompt[] =
    "サンプリングを開始するにはSキーを押して下さい。\n"
    "またサンプリングを終了する時は何かキーを押して下さい。\n";
constexpr char kBoardPrompt[] = "表示させたいＸＢ－３００ボード番号を０から７の間の値で指定して下さい。\n";
constexpr char kRangeMessage[] = "入力範囲が指定された枚数を超えています。";

bool is_end_key(int key) { return key == 'E' || key == 'e'; }
bool is_adjust_key(int key) { return key == 'C' || key == 'c'; }
bool is_start_key(int key) { return key == 'S' || key == 's'; }

// The digit of a key in '0' ... '0' + count - 1, or -1.
int digit(int key, int count) { return key >= '0' && key < '0' + count ? key - '0' : -1; }

// ---- registers --------------------------------------------------------------

uint32_t status_register(const Profile& p) { return static_cast<uint32_t>(frame::read(p.map, p.map.status)); }

bool below_half(uint32_t status) { return (status & regs::status::kBelowHalf) != 0; }
bool sampling_flag(uint32_t status) { return (status & regs::status::kSampling) != 0; }
bool status_bit3(uint32_t status) { return (status & regs::status::kBit3) != 0; }

void clear_sampling_flag(const Profile& p) {
  frame::write(p.map, p.map.flag_clear, static_cast<int32_t>(regs::status::kSampling));
}

void make(const Profile& p, const Write& w) { frame::write(p.map, w.offset, w.value); }

void make_all(const Profile& p, const Writes& writes) {
  for (const Write& w : writes) make(p, w);
}

void program_channels(const Profile& p, Channels kind, int ch) {
  const regs::Map& m = p.map;
  switch (kind) {
    case Channels::Count: frame::write(m, m.channel, ch - 1); break;
    case Channels::CountTwoBytes:
      frame::write(m, m.channel, (ch - 1) & 0xFF);
      frame::write(m, m.channel, (ch - 1) >> 8);
      break;
    case Channels::ListBothBytes:
      for (int i = 0; i < ch; ++i) frame::write(m, m.channel, i * 0x0101);
      while (status_bit3(status_register(p))) {
      }
      break;
    case Channels::PlainList:
      for (int i = 0; i < ch; ++i) frame::write(m, m.channel, i);
      break;
  }
}

// The board's programming for a run (before the buffer's allocation) and for
// every adjust pass: channels, base clock, divider, and the member's extra
// writes around them.
void program_board(const Profile& p, Channels kind, int ch, const DividerValues& divider) {
  const regs::Map& m = p.map;
  make_all(p, p.before_channels);
  program_channels(p, kind, ch);
  frame::write(m, m.clock_select, regs::kBaseClock);
  make_all(p, p.after_clock);
  for (int32_t value : divider) frame::write(m, m.divider, value);
}

// A poll that hit the error mask: the status line (status trace), the stop
// write, the error text.
bool sampling_error(const Profile& p, uint32_t status, const char* text) {
  if ((status & p.error_mask) == 0) return false;
  if (p.status_trace) frame::out(kStatusLine, status);
  make(p, p.stop);
  frame::out("%s", text);
  return true;
}

// ---- sampling run -------------------------------------------------------------

// The sample buffer: one movable zero-initialised block, locked while it
// lives and released when it goes, on every path.
class SampleBuffer {
 public:
  explicit SampleBuffer(size_t samples) : block_(movable_memory::allocate(samples * sizeof(uint16_t))) {
    if (block_ != nullptr) samples_ = static_cast<uint16_t*>(movable_memory::lock(block_));
  }
  ~SampleBuffer() {
    if (samples_ != nullptr) movable_memory::unlock(block_);
    if (block_ != nullptr) movable_memory::release(block_);
  }
  SampleBuffer(const SampleBuffer&) = delete;
  SampleBuffer& operator=(const SampleBuffer&) = delete;

  uint16_t* samples() const { return samples_; }  // nullptr: no buffer

 private:
  movable_memory::Handle block_;
  uint16_t* samples_ = nullptr;
};

struct HalfBlocks {
  int32_t samples;  // a block
  int64_t count;    // B
};

HalfBlocks half_blocks(const Profile& p, int ch) {
  if (p.blocks == Blocks::ExactlyF) return {p.half_fifo, int64_t{p.scans} * ch / p.half_fifo};
  const int h = p.half_fifo / ch;  // whole scans in a half block
  return {h * ch, h > 0 ? p.scans / h : 0};
}

// Collects S scans: half blocks while the FIFO is at least half full, then
// one scan for every sampling flag. False after a sampling error.
bool sample(const Profile& p, int ch, uint16_t* buffer) {
  const regs::Map& m = p.map;
  const int64_t total = int64_t{p.scans} * ch;
  const HalfBlocks blocks = half_blocks(p, ch);
  int64_t stored = 0;  // P

  for (int64_t n = 0; n < blocks.count;) {
    const uint32_t status = status_register(p);
    if (sampling_error(p, status, p.half_block_error)) return false;
    if (!below_half(status)) {
      frame::read_samples(m, buffer + stored, blocks.samples);
      stored += blocks.samples;
      ++n;
    }
  }
  while (stored < total) {
    const uint32_t status = status_register(p);
    if (sampling_error(p, status, kScanError)) return false;
    if (sampling_flag(status)) {
      clear_sampling_flag(p);
      const int32_t n = static_cast<int32_t>(std::min<int64_t>(ch, total - stored));
      frame::read_samples(m, buffer + stored, n);
      stored += n;
    }
  }
  return true;
}

// One line of CH codes per scan; with expansion boards a header before every
// board's first channel.
void dump(const uint16_t* buffer, int scans, int ch, bool board_headers) {
  for (int r = 0; r < scans; ++r) {
    const uint16_t* scan = buffer + static_cast<size_t>(r) * ch;
    for (int k = 0; k < ch; ++k) {
      if (board_headers && k % kChannelsPerBoard == 0) std::printf(kBoardHeader, k / kChannelsPerBoard + 1);
      std::printf("%04x ", scan[k]);
    }
    frame::out("\n");
  }
}

int expansion_board_count() {
  frame::out(kCountPrompt);
  for (;;) {
    const int k = digit(frame::key_wait(), 9);
    if (k >= 1) return k;
  }
}

// ---- adjustment mode ------------------------------------------------------------

enum class LoopEnd { Key, SamplingError };

// "%02d-%04x " for channels first ... first + count - 1, then a line end.
void display(const Profile& p, const uint16_t* scan, int first, int count) {
  static char line[kMaxAdjustChannels * 12 + 2];
  size_t at = 0;
  for (int i = first; i < first + count; ++i) {
    at += static_cast<size_t>(std::snprintf(line + at, sizeof line - at, "%02d-%04x ", i, scan[i]));
  }
  line[at++] = '\n';
  line[at] = '\0';
  for (int n = 0; n < p.display_repeat; ++n) frame::out("%s", line);
}

// Adjust passes, one scan by manual sampling each, showing channels first ...
// first + count - 1, until a key is waiting (left for the caller) or a
// sampling error.
LoopEnd adjust_loop(const Profile& p, int first, int count) {
  const regs::Map& m = p.map;
  std::array<uint16_t, kMaxAdjustChannels> scan{};  // the single-scan buffer
  do {
    frame::read(m, m.board_id);  // the reset read
    program_board(p, p.adjust_channels, p.adjust_ch, p.adjust_divider);
    frame::read(m, m.manual_sampling);
    for (;;) {
      const uint32_t status = status_register(p);
      if ((status & p.error_mask) != 0) {
        make(p, p.stop);
        frame::out("%s", kScanError);
        return LoopEnd::SamplingError;
      }
      if (sampling_flag(status)) {
        clear_sampling_flag(p);
        frame::read_samples(m, scan.data(), p.adjust_ch);
        break;
      }
    }
    display(p, scan.data(), first, count);
  } while (frame::key_poll() == 0);
  return LoopEnd::Key;
}

// After an adjust loop: the process ends on a pass error where the member
// says so; otherwise nothing.
bool ends_process(const Profile& p, LoopEnd end) { return end == LoopEnd::SamplingError && p.exit_on_pass_error; }

int group_style(const Profile& p) {
  for (;;) {
    frame::out("%s", p.group_prompt);
    int key = frame::key_wait();
    if (const int group = digit(key, p.groups); group >= 0) {
      if (ends_process(p, adjust_loop(p, kChannelsPerGroup * group, kChannelsPerGroup))) {
        return kExitSamplingError;
      }
      key = frame::key_wait();  // the key that stopped the display, or a fresh one
    }
    if (is_end_key(key)) return kExitNormal;
  }
}

int start_key_style(const Profile& p) {
  frame::out(kStartPrompt);
  while (!is_start_key(frame::key_wait())) {
  }
  if (ends_process(p, adjust_loop(p, 0, p.adjust_ch))) return kExitSamplingError;
  frame::key_wait();
  return kExitNormal;
}

int board_and_group_style(const Profile& p, int boards) {
  for (;;) {
    int board = -1;
    while (board < 0) {
      frame::out(kBoardPrompt);
      if (const int chosen = digit(frame::key_wait(), kHighestBoard + 1); chosen >= 0) {
        if (chosen >= boards) {
          frame::out(kRangeMessage);
        } else {
          board = chosen;
        }
      }
    }
    frame::out("%s", p.group_prompt);
    int key = frame::key_wait();
    if (const int group = digit(key, p.groups); group >= 0) {
      const int a = p.groups * board + group;
      if (ends_process(p, adjust_loop(p, kChannelsPerGroup * a, kChannelsPerGroup))) {
        return kExitSamplingError;
      }
      key = frame::key_wait();
    }
    if (is_end_key(key)) return kExitNormal;
  }
}

int adjustment(const Profile& p, int boards) {
  frame::out(kEndOrAdjust);
  for (;;) {
    const int key = frame::key_wait();
    if (is_end_key(key)) return kExitNormal;
    if (is_adjust_key(key)) break;
  }
  switch (p.style) {
    case Style::Group: return group_style(p);
    case Style::StartKey: return start_key_style(p);
    case Style::BoardAndGroup: return board_and_group_style(p, boards);
  }
  return kExitNormal;
}

}  // namespace

int run(const Profile& p) {
  int boards = 0;  // XB-300 expansion boards
  int ch = p.ch;
  if (p.expansion_boards) {
    boards = expansion_board_count();
    ch = p.ch * boards;
  }
  program_board(p, p.channels, ch, p.run_divider);
  {
    const SampleBuffer buffer(static_cast<size_t>(p.scans) * static_cast<size_t>(ch));
    if (buffer.samples() == nullptr) {
      frame::out(kNoMemory);
      return kExitNoMemory;
    }
    if (p.status_trace) frame::out(kStatusLine, status_register(p));
    make_all(p, p.start);
    if (p.status_trace) frame::out(kStatusLine, status_register(p));
    if (!sample(p, ch, buffer.samples())) return kExitSamplingError;
    make_all(p, p.end_of_run);
    dump(buffer.samples(), p.scans, ch, p.expansion_boards);
  }
  return adjustment(p, boards);
}

}  // namespace sampling
