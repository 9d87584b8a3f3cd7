#include "keys.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace console {

namespace {

// ---- escape sequences -------------------------------------------------------

// Modifier sets of the xterm "1;m" parameter: m = 1 + shift(1) + alt(2) + ctrl(4).
enum Mod { Plain, Shift, Ctrl, Alt };

struct KeyRow {
  uint8_t prefix;
  uint8_t scan[4];  // Plain, Shift, Ctrl, Alt
};

// Scan codes of the PC keyboard, as a console reports them.
constexpr KeyRow kUp{0xE0, {0x48, 0x48, 0x8D, 0x98}};
constexpr KeyRow kDown{0xE0, {0x50, 0x50, 0x91, 0xA0}};
constexpr KeyRow kRight{0xE0, {0x4D, 0x4D, 0x74, 0x9D}};
constexpr KeyRow kLeft{0xE0, {0x4B, 0x4B, 0x73, 0x9B}};
constexpr KeyRow kHome{0xE0, {0x47, 0x47, 0x77, 0x97}};
constexpr KeyRow kEnd{0xE0, {0x4F, 0x4F, 0x75, 0x9F}};
constexpr KeyRow kInsert{0xE0, {0x52, 0x52, 0x92, 0xA2}};
constexpr KeyRow kDelete{0xE0, {0x53, 0x53, 0x93, 0xA3}};
constexpr KeyRow kPageUp{0xE0, {0x49, 0x49, 0x86, 0x99}};
constexpr KeyRow kPageDown{0xE0, {0x51, 0x51, 0x76, 0xA1}};
constexpr KeyRow kBackTab{0x00, {0x0F, 0x0F, 0x94, 0xA5}};  // "ESC [ Z" is Shift+Tab
constexpr KeyRow kF[12] = {
    {0x00, {0x3B, 0x54, 0x5E, 0x68}}, {0x00, {0x3C, 0x55, 0x5F, 0x69}}, {0x00, {0x3D, 0x56, 0x60, 0x6A}},
    {0x00, {0x3E, 0x57, 0x61, 0x6B}}, {0x00, {0x3F, 0x58, 0x62, 0x6C}}, {0x00, {0x40, 0x59, 0x63, 0x6D}},
    {0x00, {0x41, 0x5A, 0x64, 0x6E}}, {0x00, {0x42, 0x5B, 0x65, 0x6F}}, {0x00, {0x43, 0x5C, 0x66, 0x70}},
    {0x00, {0x44, 0x5D, 0x67, 0x71}}, {0xE0, {0x85, 0x87, 0x89, 0x8B}}, {0xE0, {0x86, 0x88, 0x8A, 0x8C}},
};

// Alt and a character key, which a terminal sends as ESC and the character:
// 0, then the key's scan code along one row of the keyboard (the digit row
// has Alt codes of its own).
struct AltRow {
  std::string_view keys;
  uint8_t first;
};
constexpr AltRow kAltRows[] = {
    {"1234567890-=", 0x78},
    {"qwertyuiop[]", 0x10},
    {"asdfghjkl;'`", 0x1E},
    {"\\zxcvbnm,./", 0x2B},
};

// Final letter of "ESC [ ... X" and "ESC O X".
const KeyRow* letter_key(char c) {
  switch (c) {
    case 'A': return &kUp;
    case 'B': return &kDown;
    case 'C': return &kRight;
    case 'D': return &kLeft;
    case 'H': return &kHome;
    case 'F': return &kEnd;
    case 'P': return &kF[0];
    case 'Q': return &kF[1];
    case 'R': return &kF[2];
    case 'S': return &kF[3];
    case 'Z': return &kBackTab;
    default: return nullptr;
  }
}

// Number of "ESC [ n ~".
const KeyRow* tilde_key(int n) {
  switch (n) {
    case 1:
    case 7: return &kHome;
    case 2: return &kInsert;
    case 3: return &kDelete;
    case 4:
    case 8: return &kEnd;
    case 5: return &kPageUp;
    case 6: return &kPageDown;
    case 11:
    case 12:
    case 13:
    case 14:
    case 15: return &kF[n - 11];
    case 17:
    case 18:
    case 19:
    case 20:
    case 21: return &kF[n - 12];
    case 23:
    case 24: return &kF[n - 13];
    default: return nullptr;
  }
}

Mod modifier(int m) {
  const int bits = m > 1 ? m - 1 : 0;
  if (bits & 4) return Ctrl;
  if (bits & 2) return Alt;
  if (bits & 1) return Shift;
  return Plain;
}

Decoded found(const KeyRow* row, Mod mod, ScanKey& key) {
  if (row == nullptr) return Decoded::Unknown;
  key = {row->prefix, row->scan[mod]};
  return Decoded::Key;
}

Decoded decode_alt(char c, ScanKey& key) {
  const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  for (const AltRow& row : kAltRows) {
    const size_t at = row.keys.find(lower);
    if (at != std::string_view::npos) {
      key = {0x00, static_cast<uint8_t>(row.first + at)};
      return Decoded::Key;
    }
  }
  return Decoded::Unknown;
}

}  // namespace

Decoded decode_escape(std::string_view s, ScanKey& key) {
  if (s.empty()) return Decoded::Incomplete;
  if (s[0] == 'O') {  // SS3: one letter, sometimes with a modifier digit first
    if (s.size() < 2) return Decoded::Incomplete;
    size_t i = 1;
    int m = 1;
    if (s[i] >= '1' && s[i] <= '8') {
      m = s[i] - '0';
      if (++i >= s.size()) return Decoded::Incomplete;
    }
    return found(letter_key(s[i]), modifier(m), key);
  }
  if (s[0] != '[') return decode_alt(s[0], key);
  if (s.size() >= 2 && s[1] == '[') {  // Linux console: ESC [ [ A … E are F1 … F5
    if (s.size() < 3) return Decoded::Incomplete;
    if (s[2] >= 'A' && s[2] <= 'E') return found(&kF[s[2] - 'A'], Plain, key);
    return Decoded::Unknown;
  }
  // CSI: parameter bytes, intermediate bytes, then one final byte, which
  // ends the sequence whatever came before it (so that a sequence of no
  // known key is dropped whole). "1;5C" is the key C with modifier 5.
  int params[2] = {0, 1};
  int index = 0;
  bool known_form = true;  // at most two numeric parameters, no intermediates
  for (size_t i = 1; i < s.size(); ++i) {
    const char c = s[i];
    if (c >= '0' && c <= '9') {
      if (index > 1) continue;
      int& p = params[index];
      if (index == 1 && s[i - 1] == ';') p = 0;
      if (p < 1000) p = p * 10 + (c - '0');
    } else if (c == ';') {
      known_form = known_form && ++index <= 1;
    } else if (c >= 0x20 && c <= 0x3F) {
      known_form = false;  // private parameters (<=>?) and intermediates
    } else if (c >= 0x40 && c <= 0x7E) {
      if (!known_form) return Decoded::Unknown;
      const Mod mod = modifier(params[1]);
      return found(c == '~' ? tilde_key(params[0]) : letter_key(c), mod, key);
    } else {
      return Decoded::Unknown;  // a control byte: no sequence at all
    }
  }
  return Decoded::Incomplete;
}

namespace {

// ---- terminal mode ----------------------------------------------------------

termios saved_mode;
volatile sig_atomic_t raw_mode_on = 0;

void restore_mode() {
  if (raw_mode_on) {
    tcsetattr(STDIN_FILENO, TCSANOW, &saved_mode);
    raw_mode_on = 0;
  }
}

// Signals that end the program while the terminal may be in raw mode. SIGPIPE
// comes with output into a pipe that has closed (`vx424chk | head`). A signal
// that the program was started with ignored stays ignored. The action found
// for each (the driver library's, which completes its trace, or the default
// one) takes its course once the terminal is restored.
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE};
struct sigaction previous_actions[std::size(kEndingSignals)];

void restore_and_reraise(int sig) {
  restore_mode();
  for (size_t i = 0; i < std::size(kEndingSignals); ++i) {
    if (kEndingSignals[i] == sig) sigaction(sig, &previous_actions[i], nullptr);
  }
  std::raise(sig);  // blocked in the handler: the action found runs once it returns
}

void catch_ending_signals() {
  for (size_t i = 0; i < std::size(kEndingSignals); ++i) {
    const int sig = kEndingSignals[i];
    struct sigaction old {};
    sigaction(sig, nullptr, &old);
    if ((old.sa_flags & SA_SIGINFO) == 0 && old.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = restore_and_reraise;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(sig, &action, &previous_actions[i]);
  }
}

// No echo, no line editing; Ctrl-C still interrupts (ISIG stays on), and
// the signal handlers put the terminal back before the program ends.
void enter_raw_mode() {
  static bool handlers = false;
  if (!handlers) {
    handlers = true;
    tcgetattr(STDIN_FILENO, &saved_mode);
    catch_ending_signals();
    std::atexit(restore_mode);
  }
  termios raw = saved_mode;
  raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  tcsetattr(STDIN_FILENO, TCSANOW, &raw);
  raw_mode_on = 1;
}

bool is_terminal() {
  static const bool tty = isatty(STDIN_FILENO) != 0;
  return tty;
}

// ---- reading ----------------------------------------------------------------

// True when a read of standard input would not block (a byte, the end of the
// input or an error is there), within timeout_ms (-1: as long as it takes).
bool byte_waiting(int timeout_ms) {
  pollfd fd{STDIN_FILENO, POLLIN, 0};
  for (;;) {
    const int n = poll(&fd, 1, timeout_ms);
    if (n >= 0) return n > 0;
    if (errno != EINTR) return true;  // let the read report it
  }
}

constexpr int kInputEnd = -1;  // the input has ended (or cannot be read)

// Returns the next byte, or kInputEnd. An interrupted read, or one that would
// block on an input left in non-blocking mode, is tried again.
int read_byte() {
  unsigned char b = 0;
  for (;;) {
    const ssize_t n = read(STDIN_FILENO, &b, 1);
    if (n == 1) return b;
    if (n == 0) return kInputEnd;
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      byte_waiting(-1);
    } else if (errno != EINTR) {
      return kInputEnd;
    }
  }
}

[[noreturn]] void end_of_input() {
  restore_mode();
  std::fflush(stdout);
  std::fprintf(stderr, "\n%s: the input ended while a key was awaited\n", program_invocation_short_name);
  std::exit(2);
}

// Codes read from the terminal but not yet handed out by getch(): the second
// code of a two-code key, or a key that kbhit() read ahead to see whether the
// bytes waiting make a key at all. kInputEnd stands for the end of the input.
class Queue {
 public:
  bool empty() const { return head_ == tail_; }
  void push(int code) { codes_[tail_++ % kSize] = code; }
  int pop() { return codes_[head_++ % kSize]; }

 private:
  static constexpr unsigned kSize = 4;  // one key ahead: at most three codes
  int codes_[kSize] = {};
  unsigned head_ = 0, tail_ = 0;
};
Queue queued;

// Reads the bytes of one key from the terminal (raw mode on), blocking for
// the first, and queues its codes. An escape sequence of no known key is
// dropped whole and queues nothing.
void read_terminal_key() {
  const int b = read_byte();
  if (b != 0x1B) {
    queued.push(b);
    return;
  }
  // A lone Esc: nothing follows within a moment.
  char seq[32];
  size_t len = 0;
  ScanKey key{};
  Decoded d = Decoded::Incomplete;
  bool ended = false;
  while (d == Decoded::Incomplete && len < sizeof seq && byte_waiting(len == 0 ? 30 : 100)) {
    const int next = read_byte();
    ended = next == kInputEnd;
    if (ended) break;
    seq[len++] = static_cast<char>(next);
    d = decode_escape({seq, len}, key);
  }
  // ESC and one more byte that could have begun a sequence ('[', 'O'): Alt
  // and that key.
  if (d == Decoded::Incomplete && len == 1) d = decode_alt(seq[0], key);
  if (len == 0) {
    queued.push(0x1B);
  } else if (d == Decoded::Key) {
    queued.push(key.prefix);
    queued.push(key.scan);
  }
  if (ended) queued.push(kInputEnd);
}

}  // namespace

int getch() {
  std::fflush(stdout);
  int code = kInputEnd;
  if (!queued.empty()) {
    code = queued.pop();
    // The key that kbhit() saw has been read: the mode goes back as it would
    // after a wait.
    if (queued.empty()) restore_mode();
  } else if (!is_terminal()) {
    code = read_byte();
  } else {
    enter_raw_mode();
    while (queued.empty()) read_terminal_key();
    code = queued.pop();
    if (queued.empty()) restore_mode();
  }
  if (code == kInputEnd) end_of_input();
  return code;
}

int kbhit() {
  if (!queued.empty()) return 1;
  if (!is_terminal()) return byte_waiting(0) ? 1 : 0;
  // A terminal passes typed bytes on only when line editing is off, and
  // echoes what is typed while echo is on: both stay off from the first
  // look on, until the key is read (or the program ends).
  if (!raw_mode_on) enter_raw_mode();
  // Only bytes that make a key count: they are read ahead, and an escape
  // sequence of no known key is dropped, so that a key poll never reports a
  // key that the key wait would then not find.
  while (queued.empty() && byte_waiting(0)) read_terminal_key();
  return queued.empty() ? 0 : 1;
}

}  // namespace console
