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
constexpr KeyRow kF[12] = {
    {0x00, {0x3B, 0x54, 0x5E, 0x68}}, {0x00, {0x3C, 0x55, 0x5F, 0x69}},
    {0x00, {0x3D, 0x56, 0x60, 0x6A}}, {0x00, {0x3E, 0x57, 0x61, 0x6B}},
    {0x00, {0x3F, 0x58, 0x62, 0x6C}}, {0x00, {0x40, 0x59, 0x63, 0x6D}},
    {0x00, {0x41, 0x5A, 0x64, 0x6E}}, {0x00, {0x42, 0x5B, 0x65, 0x6F}},
    {0x00, {0x43, 0x5C, 0x66, 0x70}}, {0x00, {0x44, 0x5D, 0x67, 0x71}},
    {0xE0, {0x85, 0x87, 0x89, 0x8B}}, {0xE0, {0x86, 0x88, 0x8A, 0x8C}},
};

// Final letter of "ESC [ ... X" and "ESC O X".
const KeyRow *letter_key(char c) {
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
    default: return nullptr;
  }
}

// Number of "ESC [ n ~".
const KeyRow *tilde_key(int n) {
  switch (n) {
    case 1: case 7: return &kHome;
    case 2: return &kInsert;
    case 3: return &kDelete;
    case 4: case 8: return &kEnd;
    case 5: return &kPageUp;
    case 6: return &kPageDown;
    case 11: case 12: case 13: case 14: case 15: return &kF[n - 11];
    case 17: case 18: case 19: case 20: case 21: return &kF[n - 12];
    case 23: case 24: return &kF[n - 13];
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

Decoded found(const KeyRow *row, Mod mod, ScanKey &key) {
  if (row == nullptr) return Decoded::Unknown;
  key = {row->prefix, row->scan[mod]};
  return Decoded::Key;
}

}  // namespace

Decoded decode_escape(std::string_view s, ScanKey &key) {
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
  if (s[0] != '[') return Decoded::Unknown;
  if (s.size() >= 2 && s[1] == '[') {  // Linux console: ESC [ [ A … E are F1 … F5
    if (s.size() < 3) return Decoded::Incomplete;
    if (s[2] >= 'A' && s[2] <= 'E') return found(&kF[s[2] - 'A'], Plain, key);
    return Decoded::Unknown;
  }
  // CSI: parameters (digits and ';'), then one final byte. "1;5C" is the
  // key C with modifier 5.
  int params[2] = {0, 1};
  int index = 0;
  for (size_t i = 1; i < s.size(); ++i) {
    const char c = s[i];
    if (c >= '0' && c <= '9') {
      int &p = params[index];
      if (index == 1 && s[i - 1] == ';') p = 0;
      if (p < 1000) p = p * 10 + (c - '0');
    } else if (c == ';') {
      if (++index > 1) return Decoded::Unknown;
    } else if (c >= 0x40 && c <= 0x7E) {
      const Mod mod = modifier(params[1]);
      return found(c == '~' ? tilde_key(params[0]) : letter_key(c), mod, key);
    } else {
      return Decoded::Unknown;
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

// The signals that end the program, and the actions found for them: the
// terminal is restored first, then the action found before takes its
// course (the driver library's, or the default one).
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
struct sigaction previous_actions[std::size(kEndingSignals)];

void restore_and_reraise(int sig) {
  restore_mode();
  for (size_t i = 0; i < std::size(kEndingSignals); ++i) {
    if (kEndingSignals[i] != sig) continue;
    struct sigaction previous = previous_actions[i];
    if ((previous.sa_flags & SA_SIGINFO) == 0 && previous.sa_handler == SIG_IGN) previous.sa_handler = SIG_DFL;
    sigaction(sig, &previous, nullptr);
  }
  std::raise(sig);
}

// No echo, no line editing; Ctrl-C still interrupts (ISIG stays on), and
// the signal handlers put the terminal back before the program ends.
void enter_raw_mode() {
  static bool handlers = false;
  if (!handlers) {
    handlers = true;
    tcgetattr(STDIN_FILENO, &saved_mode);
    for (size_t i = 0; i < std::size(kEndingSignals); ++i) {
      struct sigaction hook {};
      hook.sa_handler = restore_and_reraise;
      sigemptyset(&hook.sa_mask);
      sigaction(kEndingSignals[i], &hook, &previous_actions[i]);
    }
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

bool byte_waiting(int timeout_ms) {
  pollfd fd{STDIN_FILENO, POLLIN, 0};
  return poll(&fd, 1, timeout_ms) > 0;
}

// Returns the next byte, or -1 at the end of the input.
int read_byte() {
  unsigned char b = 0;
  for (;;) {
    const ssize_t n = read(STDIN_FILENO, &b, 1);
    if (n == 1) return b;
    if (n == 0 || errno != EINTR) return -1;
  }
}

[[noreturn]] void end_of_input() {
  restore_mode();
  std::fflush(stdout);
  std::fprintf(stderr, "\n%s: the input ended while a key was awaited\n",
               program_invocation_short_name);
  std::exit(2);
}

// Second code of a two-code key, handed out by the next getch().
int pending = -1;

// Reads one key from the terminal (raw mode on).
int terminal_key() {
  for (;;) {
    const int b = read_byte();
    if (b < 0) end_of_input();
    if (b != 0x1B) return b;
    // A lone Esc: nothing follows within a moment.
    char seq[16];
    size_t len = 0;
    ScanKey key{};
    Decoded d = Decoded::Incomplete;
    while (d == Decoded::Incomplete && len < sizeof seq && byte_waiting(len == 0 ? 30 : 100)) {
      const int next = read_byte();
      if (next < 0) break;
      seq[len++] = static_cast<char>(next);
      d = decode_escape({seq, len}, key);
    }
    if (len == 0) return 0x1B;
    if (d == Decoded::Key) {
      pending = key.scan;
      return key.prefix;
    }
    // An escape sequence of no known key is dropped whole.
  }
}

}  // namespace

int getch() {
  std::fflush(stdout);
  if (pending >= 0) {
    const int code = pending;
    pending = -1;
    return code;
  }
  if (!is_terminal()) {
    const int b = read_byte();
    if (b < 0) end_of_input();
    return b;
  }
  enter_raw_mode();
  const int code = terminal_key();
  restore_mode();
  return code;
}

int kbhit() {
  if (pending >= 0) return 1;
  if (!is_terminal()) return byte_waiting(0) ? 1 : 0;
  // A terminal passes typed bytes on only when line editing is off, and
  // echoes what is typed while echo is on: both stay off from the first
  // look on, until the key is read (or the program ends).
  if (!raw_mode_on) enter_raw_mode();
  return byte_waiting(0) ? 1 : 0;
}

}  // namespace console
