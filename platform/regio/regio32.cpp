// The driver interface on the simulated bench.
//
// Result codes of the control calls (besides the faults a bench file sets):
//   Open_Driver  -1  the bench file (REGIO_BENCH) cannot be read or is wrong,
//                    or the trace file (REGIO_TRACE) cannot be written;
//                    one line on stderr says why
//                -2  null device table
//   Start_Driver  1  driver not open      2  slot outside 0 to 7
//                 3  empty slot           4  null io_base pointer
//   Stop_Driver   1  driver not open      5  no started board at that I/O base
//   Close_Driver  1  driver not open
//
// Virtual time, in nanoseconds: every register access and every element of
// a block read costs the bench's access time (500 ns unless the bench file
// sets another), a tick read 20 ns, every control call 50 us. Open_Driver
// sets the clock to the bench's start_ms.
//
// A busy poll is fast-forwarded: when a read repeats the read before it
// (tick reads in between allowed) with the same answer, or a tick read
// repeats the tick before it, nothing the program can see changes until the
// board's next pulse or the next millisecond of the tick, so the clock moves
// on to whichever comes first. Every value a program reads is the one it
// would read polling at full speed; only the number of polls differs.
#include "regio32.h"

#include <errno.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>

#include "bench.h"
#include "board.h"
#include "config_file.h"
#include "program_name.h"
#include "trace.h"

#ifdef _WIN32
#define REGIO_EXPORT extern "C" __declspec(dllexport)
#else
#define REGIO_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace regio {

namespace {

constexpr uint64_t kControlCost_ns = 50'000;
constexpr uint64_t kTickCost_ns = 20;
constexpr uint64_t kNsPerMs = 1'000'000;
constexpr int32_t kIoBase0 = 0xD000;
constexpr int32_t kIoBaseStep = 0x100;

constexpr int32_t kBenchError = -1;
constexpr int32_t kNullTable = -2;
constexpr int32_t kNotOpen = 1;
constexpr int32_t kBadSlot = 2;
constexpr int32_t kEmptySlot = 3;
constexpr int32_t kNullBase = 4;
constexpr int32_t kNotStarted = 5;

// REGIO_TRACE is looked at by the first call after start-up or Close_Driver.
enum TraceState : uint8_t { kTraceUnchecked, kTraceOff, kTraceOn };

struct Driver {
  // What every register call touches, together.
  uint64_t clock_ns = 0;
  uint64_t access_ns = kDefaultAccessNs;
  uint64_t interrupt_ns = UINT64_MAX;  // the bench file's Ctrl-C
  TraceState trace_state = kTraceUnchecked;
  bool open = false;
  // The read before, for telling a busy poll from work; valid only for a
  // read that changed nothing on the board.
  bool last_read_valid = false;
  bool last_read_byte = false;
  uint16_t last_read_value = 0;
  int32_t last_read_io_base = 0;
  int32_t last_read_offset = 0;
  bool last_was_tick = false;
  uint32_t last_tick = 0;

  Board boards[kSlots];
  BenchSetup bench;
  Trace trace;
  std::optional<BenchSetup> next_bench;  // use_bench_once
  bool exit_hook = false;
  bool signal_hooks = false;
};

Driver g;

#ifdef _WIN32
// The signals that end a program: the trace is completed before each takes
// its course (the handler found before, or the default action). Windows
// has signal() alone, and of these signals SIGINT (Ctrl-C) and SIGTERM.
constexpr int kEndingSignals[] = {SIGINT, SIGTERM};
using Handler = void (*)(int);
Handler g_previous[std::size(kEndingSignals)];

void on_ending_signal(int sig) {
  g.trace.flush_now();
  for (size_t i = 0; i < std::size(kEndingSignals); ++i) {
    if (kEndingSignals[i] == sig) signal(sig, g_previous[i]);
  }
  raise(sig);
}

void install_signal_hooks() {
  if (g.signal_hooks) return;
  g.signal_hooks = true;
  for (size_t i = 0; i < std::size(kEndingSignals); ++i) {
    const Handler previous = signal(kEndingSignals[i], on_ending_signal);
    if (previous == SIG_ERR) continue;
    if (previous == SIG_IGN) signal(kEndingSignals[i], SIG_IGN);  // it ends nothing
    g_previous[i] = previous;
  }
}
#else
// The signals that end a program: the trace is completed before each takes
// its course (the handler found before, or the default action).
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE};
struct sigaction g_previous[std::size(kEndingSignals)];

void on_ending_signal(int sig) {
  const int saved_errno = errno;
  g.trace.flush_now();
  for (size_t i = 0; i < std::size(kEndingSignals); ++i) {
    if (kEndingSignals[i] == sig) sigaction(sig, &g_previous[i], nullptr);
  }
  errno = saved_errno;
  raise(sig);  // delivered to that action once this handler returns
}

void install_signal_hooks() {
  if (g.signal_hooks) return;
  g.signal_hooks = true;
  for (size_t i = 0; i < std::size(kEndingSignals); ++i) {
    struct sigaction previous {};
    if (sigaction(kEndingSignals[i], nullptr, &previous) != 0) continue;
    if ((previous.sa_flags & SA_SIGINFO) == 0 && previous.sa_handler == SIG_IGN) continue;  // it ends nothing
    struct sigaction hook {};
    hook.sa_handler = on_ending_signal;
    sigemptyset(&hook.sa_mask);
    g_previous[i] = previous;
    sigaction(kEndingSignals[i], &hook, nullptr);
  }
}
#endif

// The bench file's interrupt: SIGINT at a board time, as a user's Ctrl-C,
// raised at the end of the register call (or tick read) that reaches it.
[[gnu::noinline, gnu::cold]] void interrupt() {
  g.interrupt_ns = UINT64_MAX;
  raise(SIGINT);
}

inline void check_interrupt() {
  if (g.clock_ns >= g.interrupt_ns) [[unlikely]]
    interrupt();
}

// At exit: the trace's last line, and the board time the run took where
// REGIO_CLOCK_FILE asks for it (benchmarks compare it with wall time).
void at_exit() {
  g.trace.close();
  const char* path = std::getenv("REGIO_CLOCK_FILE");
  if (path == nullptr || *path == '\0') return;
  if (std::FILE* f = std::fopen(path, "w")) {
    std::fprintf(f, "%llu\n", static_cast<unsigned long long>(g.clock_ns));
    std::fclose(f);
  }
}

// Opens the trace at the first call after start-up or Close_Driver.
bool trace_start() {
  if (g.trace_state != kTraceUnchecked) return true;
  g.trace_state = kTraceOff;
  if (!g.exit_hook) {
    std::atexit(at_exit);
    g.exit_hook = true;
  }
  const char* path = std::getenv("REGIO_TRACE");
  if (path == nullptr || *path == '\0') return true;
  if (g.trace.open(path)) {
    g.trace_state = kTraceOn;
    install_signal_hooks();
    return true;
  }
  std::fprintf(stderr, "regio32: %s: cannot write the trace file (%s)\n", path, std::strerror(errno));
  return false;
}

bool tracing() { return g.trace_state == kTraceOn; }

// The line of a control call.
__attribute__((format(printf, 1, 2))) void trace_control(const char* format, ...) {
  char text[192];
  va_list args;
  va_start(args, format);
  const int length = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  g.trace.line(text, length < static_cast<int>(sizeof text) ? length : static_cast<int>(sizeof text) - 1);
}

Board* board_at(int32_t io_base);

// A register call, off the hot path: only while the trace is on or unchecked.
[[gnu::noinline]] void trace_register(Trace::Kind kind, int32_t io_base, int32_t offset, int32_t value) {
  trace_start();
  if (!tracing()) return;
  const bool read = kind == Trace::ReadByte || kind == Trace::ReadWord;
  const bool fifo = read && offset == 0x00 && board_at(io_base) != nullptr;  // every layout's data register
  g.trace.call(Trace::Call{kind, fifo, io_base, offset, value});
}

// The started board at an I/O base, or nullptr. Any 32-bit value may come.
Board* board_at(int32_t io_base) {
  if (!g.open) return nullptr;
  const int64_t rel = int64_t{io_base} - kIoBase0;
  if (rel < 0 || rel >= kSlots * kIoBaseStep || rel % kIoBaseStep != 0) return nullptr;
  Board& b = g.boards[rel / kIoBaseStep];
  return b.started ? &b : nullptr;
}

// A board decodes the offsets of its own register window; any other offset
// (negative, or past the window) reaches no register.
constexpr int32_t kWindow = 0x100;
bool in_window(int32_t offset) { return offset >= 0 && offset < kWindow; }

// The bench to run: the file named by REGIO_BENCH, else the program's own.
bool load_bench(BenchSetup& bench) {
  const char* path = std::getenv("REGIO_BENCH");
  if (path == nullptr || *path == '\0') {
    bench = default_bench(program_name());
    return true;
  }
  try {
    bench = read_bench_file(path);
    return true;
  } catch (const config::Error& e) {
    std::fprintf(stderr, "regio32: %s\n", e.what());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "regio32: %s: %s\n", path, e.what());
  }
  return false;
}

int32_t open_driver(int32_t* table) {
  g.open = false;
  if (!trace_start()) return kBenchError;
  g.clock_ns = 0;
  g.interrupt_ns = UINT64_MAX;
  if (table == nullptr) return kNullTable;
  BenchSetup bench;
  if (g.next_bench) {
    bench = std::move(*g.next_bench);
    g.next_bench.reset();
  } else if (!load_bench(bench)) {
    return kBenchError;
  }
  g.bench = std::move(bench);
  g.clock_ns = static_cast<uint64_t>(g.bench.start_ms) * kNsPerMs;
  g.access_ns = g.bench.access_ns;
  if (g.bench.interrupt_ms != 0) g.interrupt_ns = g.clock_ns + g.bench.interrupt_ms * kNsPerMs;
  if (g.bench.open_result != 0) return g.bench.open_result;
  for (int slot = 0; slot < kSlots; ++slot) {
    const BoardSetup& setup = g.bench.slots[static_cast<size_t>(slot)];
    g.boards[slot].reset(setup.model, &setup);
    table[slot] = setup.model != nullptr ? setup.model->device_code : -1;
  }
  g.open = true;
  return 0;
}

}  // namespace

void use_bench_once(BenchSetup bench) { g.next_bench = std::move(bench); }

namespace {

int32_t start_driver(int32_t slot, int32_t* io_base) {
  if (!g.open) return kNotOpen;
  if (slot < 0 || slot >= kSlots) return kBadSlot;
  Board& b = g.boards[slot];
  if (b.model == nullptr) return kEmptySlot;
  if (io_base == nullptr) return kNullBase;
  if (b.setup->start_result != 0) return b.setup->start_result;
  b.started = true;
  *io_base = kIoBase0 + kIoBaseStep * slot;
  return 0;
}

int32_t stop_driver(int32_t io_base) {
  if (!g.open) return kNotOpen;
  Board* b = board_at(io_base);
  if (b == nullptr) return kNotStarted;
  if (b->setup->stop_result != 0) return b->setup->stop_result;
  b->started = false;
  return 0;
}

int32_t close_driver() {
  if (!g.open) return kNotOpen;
  g.open = false;
  for (Board& b : g.boards) b.started = false;
  return g.bench.close_result;
}

// Something other than a repeated poll happened.
void busy() {
  g.last_read_valid = false;
  g.last_was_tick = false;
}

// A poll that changed nothing: move the clock on to the board's next pulse
// or the tick's next millisecond, whichever comes first.
void fast_forward(const Board* b) {
  const uint64_t next_ms = (g.clock_ns / kNsPerMs + 1) * kNsPerMs;
  const uint64_t until = b != nullptr ? std::min(b->next_event_ns(), next_ms) : next_ms;
  g.clock_ns = std::max(g.clock_ns, until);
}

// One access of the program's width to a board of either width. A word
// access to a byte board reaches the byte registers at offset and offset + 1
// (low byte first); a byte access to a word board reaches one half of the
// word register at the even offset below, the other half reading as the
// register's and writing as 0.
uint16_t board_read(Board& b, int32_t offset, bool byte, uint64_t now) {
  const bool byte_board = byte_wide(*b.model);
  if (!in_window(offset)) return byte ? 0xFF : 0xFFFF;
  if (byte == byte_board) return b.read(offset, now);
  if (byte_board) {
    const uint16_t low = b.read(offset, now) & 0xFF;
    const uint16_t high = in_window(offset + 1) ? b.read(offset + 1, now) & 0xFF : 0xFF;
    return static_cast<uint16_t>(low | high << 8);
  }
  const uint16_t word = b.read(offset & ~1, now);
  return static_cast<uint16_t>((offset & 1) != 0 ? word >> 8 : word & 0xFF);
}

void board_write(Board& b, int32_t offset, uint32_t value, bool byte, uint64_t now) {
  const bool byte_board = byte_wide(*b.model);
  if (!in_window(offset)) return;
  if (byte == byte_board) {
    b.write(offset, value, now);
  } else if (byte_board) {
    b.write(offset, value & 0xFF, now);
    if (in_window(offset + 1)) b.write(offset + 1, (value >> 8) & 0xFF, now);
  } else {
    b.write(offset & ~1, (offset & 1) != 0 ? (value & 0xFF) << 8 : value & 0xFF, now);
  }
}

// A read is a busy poll when it repeats the read before it, answer and all,
// and neither of them changed the board (a data read takes a sample, a
// board ID read resets: reading on is work, not polling).
uint16_t register_read(int32_t io_base, int32_t offset, bool byte) {
  const uint64_t now = g.clock_ns;
  g.clock_ns = now + g.access_ns;
  Board* b = board_at(io_base);
  uint16_t value = byte ? 0xFF : 0xFFFF;
  bool pure = true;
  if (b != nullptr) {
    b->acted = false;
    value = board_read(*b, offset, byte, now);
    pure = !b->acted;
  }
  const bool repeat = pure && g.last_read_valid && g.last_read_byte == byte && g.last_read_io_base == io_base &&
                      g.last_read_offset == offset && g.last_read_value == value;
  g.last_was_tick = false;
  g.last_read_valid = pure;
  g.last_read_byte = byte;
  g.last_read_value = value;
  g.last_read_io_base = io_base;
  g.last_read_offset = offset;
  if (repeat) fast_forward(b);
  return value;
}

void register_write(int32_t io_base, int32_t offset, int32_t value, bool byte) {
  busy();
  const uint64_t now = g.clock_ns;
  g.clock_ns += g.access_ns;
  if (Board* b = board_at(io_base)) {
    board_write(*b, offset, static_cast<uint32_t>(value) & (byte ? 0xFFu : 0xFFFFu), byte, now);
  }
}

void block_read(int32_t io_base, int32_t offset, int32_t count, uint8_t* bytes, uint16_t* words) {
  busy();
  if (count <= 0 || (bytes == nullptr && words == nullptr)) return;
  const uint64_t now = g.clock_ns;
  g.clock_ns += g.access_ns * static_cast<uint64_t>(count);
  Board* b = board_at(io_base);
  const bool byte = bytes != nullptr;
  if (b != nullptr && byte == byte_wide(*b->model) && in_window(offset)) {
    b->read_block(offset, bytes, words, count, now, g.access_ns);
    return;
  }
  for (int32_t i = 0; i < count; ++i) {
    const uint64_t at = now + g.access_ns * static_cast<uint64_t>(i);
    const uint16_t v = b != nullptr ? board_read(*b, offset, byte, at) : 0xFFFF;
    if (byte) {
      bytes[i] = static_cast<uint8_t>(v);
    } else {
      words[i] = v;
    }
  }
}

void control_call() {
  busy();
  g.clock_ns += kControlCost_ns;
}

uint32_t tick_read() {
  g.clock_ns += kTickCost_ns;
  const uint32_t tick = static_cast<uint32_t>(g.clock_ns / kNsPerMs);
  const bool repeat = g.last_was_tick && g.last_tick == tick;
  g.last_was_tick = true;
  g.last_tick = tick;
  // a wait on the tick alone: the next read is the next millisecond
  if (repeat) g.clock_ns = (g.clock_ns / kNsPerMs + 1) * kNsPerMs;
  check_interrupt();
  return tick;
}

}  // namespace

}  // namespace regio

using regio::g;

namespace {

// A device table entry as the trace shows it: codes in hex, -1 as it is.
int table_entry(char* out, size_t size, int32_t v) {
  return v < 0 ? std::snprintf(out, size, "%d", v) : std::snprintf(out, size, "0x%x", static_cast<unsigned>(v));
}

unsigned hex(int32_t v) { return static_cast<unsigned>(v); }

}  // namespace

REGIO_EXPORT int32_t REGIO_CALL Open_Driver(int32_t* device_table) {
  const int32_t result = regio::open_driver(device_table);
  regio::control_call();
  if (!regio::tracing()) return result;
  if (result != 0) {
    regio::trace_control("Open_Driver() = %d", result);
    return result;
  }
  char slots[8][16];
  for (int i = 0; i < regio::kSlots; ++i) table_entry(slots[i], sizeof slots[i], device_table[i]);
  regio::trace_control("Open_Driver() = 0 [%s %s %s %s %s %s %s %s]", slots[0], slots[1], slots[2], slots[3], slots[4],
                       slots[5], slots[6], slots[7]);
  return result;
}

REGIO_EXPORT int32_t REGIO_CALL Start_Driver(int32_t slot, int32_t mode, int32_t* io_base) {
  regio::trace_start();
  const int32_t result = regio::start_driver(slot, io_base);
  regio::control_call();
  if (!regio::tracing()) return result;
  if (result == 0)
    regio::trace_control("Start_Driver(%d, %d) = 0 io_base=0x%x", slot, mode, hex(*io_base));
  else
    regio::trace_control("Start_Driver(%d, %d) = %d", slot, mode, result);
  return result;
}

REGIO_EXPORT int32_t REGIO_CALL Stop_Driver(int32_t io_base) {
  regio::trace_start();
  const int32_t result = regio::stop_driver(io_base);
  regio::control_call();
  if (regio::tracing()) regio::trace_control("Stop_Driver(0x%x) = %d", hex(io_base), result);
  return result;
}

REGIO_EXPORT int32_t REGIO_CALL Close_Driver(void) {
  regio::trace_start();
  const int32_t result = regio::close_driver();
  regio::control_call();
  if (regio::tracing()) regio::trace_control("Close_Driver() = %d", result);
  // the next call starts a new trace, as a new program would
  g.trace.close();
  g.trace_state = regio::kTraceUnchecked;
  return result;
}

REGIO_EXPORT int32_t REGIO_CALL ReadByte(int32_t io_base, int32_t offset) {
  const uint16_t value = regio::register_read(io_base, offset, true);
  if (g.trace_state != regio::kTraceOff) [[unlikely]]
    regio::trace_register(regio::Trace::ReadByte, io_base, offset, value);
  regio::check_interrupt();
  return value;
}

REGIO_EXPORT void REGIO_CALL WriteByte(int32_t io_base, int32_t offset, int32_t value) {
  regio::register_write(io_base, offset, value, true);
  if (g.trace_state != regio::kTraceOff) [[unlikely]]
    regio::trace_register(regio::Trace::WriteByte, io_base, offset, value);
  regio::check_interrupt();
}

REGIO_EXPORT int32_t REGIO_CALL ReadWord(int32_t io_base, int32_t offset) {
  const uint16_t value = regio::register_read(io_base, offset, false);
  if (g.trace_state != regio::kTraceOff) [[unlikely]]
    regio::trace_register(regio::Trace::ReadWord, io_base, offset, value);
  regio::check_interrupt();
  return value;
}

REGIO_EXPORT void REGIO_CALL WriteWord(int32_t io_base, int32_t offset, int32_t value) {
  regio::register_write(io_base, offset, value, false);
  if (g.trace_state != regio::kTraceOff) [[unlikely]]
    regio::trace_register(regio::Trace::WriteWord, io_base, offset, value);
  regio::check_interrupt();
}

REGIO_EXPORT void REGIO_CALL ReadByteBlock(int32_t io_base, int32_t offset, int32_t count, uint8_t* buffer) {
  regio::block_read(io_base, offset, count, buffer, nullptr);
  if (g.trace_state != regio::kTraceOff) [[unlikely]]
    regio::trace_register(regio::Trace::ReadByteBlock, io_base, offset, count);
  regio::check_interrupt();
}

REGIO_EXPORT void REGIO_CALL ReadWordBlock(int32_t io_base, int32_t offset, int32_t count, uint16_t* buffer) {
  regio::block_read(io_base, offset, count, nullptr, buffer);
  if (g.trace_state != regio::kTraceOff) [[unlikely]]
    regio::trace_register(regio::Trace::ReadWordBlock, io_base, offset, count);
  regio::check_interrupt();
}

REGIO_EXPORT uint64_t REGIO_CALL Regio_Clock_ns(uint64_t advance_ns) {
  g.clock_ns += advance_ns;
  return g.clock_ns;
}

REGIO_EXPORT uint32_t REGIO_CALL Regio_Tick_ms(void) { return regio::tick_read(); }
