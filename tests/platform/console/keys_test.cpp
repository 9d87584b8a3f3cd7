#include "keys.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <string>
#include <thread>

#include "run_program.h"

namespace {

using console::Decoded;
using console::ScanKey;

struct EscapeCase {
  const char* after_esc;
  Decoded result;
  int prefix;
  int scan;
};

// The two codes a PC console gives for these keys.
const EscapeCase kEscapes[] = {
    {"[A", Decoded::Key, 0xE0, 0x48},      // Up
    {"[B", Decoded::Key, 0xE0, 0x50},      // Down
    {"[C", Decoded::Key, 0xE0, 0x4D},      // Right
    {"[D", Decoded::Key, 0xE0, 0x4B},      // Left
    {"OA", Decoded::Key, 0xE0, 0x48},      // Up, application cursor mode
    {"[H", Decoded::Key, 0xE0, 0x47},      // Home
    {"OF", Decoded::Key, 0xE0, 0x4F},      // End
    {"[1~", Decoded::Key, 0xE0, 0x47},     // Home (vt220)
    {"[4~", Decoded::Key, 0xE0, 0x4F},     // End (vt220)
    {"[2~", Decoded::Key, 0xE0, 0x52},     // Insert
    {"[3~", Decoded::Key, 0xE0, 0x53},     // Delete
    {"[5~", Decoded::Key, 0xE0, 0x49},     // Page Up
    {"[6~", Decoded::Key, 0xE0, 0x51},     // Page Down
    {"OP", Decoded::Key, 0x00, 0x3B},      // F1
    {"OS", Decoded::Key, 0x00, 0x3E},      // F4
    {"[11~", Decoded::Key, 0x00, 0x3B},    // F1 (vt220)
    {"[15~", Decoded::Key, 0x00, 0x3F},    // F5
    {"[17~", Decoded::Key, 0x00, 0x40},    // F6
    {"[21~", Decoded::Key, 0x00, 0x44},    // F10
    {"[23~", Decoded::Key, 0xE0, 0x85},    // F11
    {"[24~", Decoded::Key, 0xE0, 0x86},    // F12
    {"[[A", Decoded::Key, 0x00, 0x3B},     // F1 (Linux console)
    {"[[E", Decoded::Key, 0x00, 0x3F},     // F5 (Linux console)
    {"[1;2P", Decoded::Key, 0x00, 0x54},   // Shift+F1
    {"[1;5P", Decoded::Key, 0x00, 0x5E},   // Ctrl+F1
    {"[1;3P", Decoded::Key, 0x00, 0x68},   // Alt+F1
    {"[15;2~", Decoded::Key, 0x00, 0x58},  // Shift+F5
    {"[1;5C", Decoded::Key, 0xE0, 0x74},   // Ctrl+Right
    {"[1;5D", Decoded::Key, 0xE0, 0x73},   // Ctrl+Left
    {"[1;2A", Decoded::Key, 0xE0, 0x48},   // Shift+Up: as Up
    {"", Decoded::Incomplete, 0, 0},
    {"[", Decoded::Incomplete, 0, 0},
    {"[1", Decoded::Incomplete, 0, 0},
    {"[1;", Decoded::Incomplete, 0, 0},
    {"O", Decoded::Incomplete, 0, 0},
    {"[[", Decoded::Incomplete, 0, 0},
    {"[Z", Decoded::Key, 0x00, 0x0F},    // Shift+Tab
    {"x", Decoded::Key, 0x00, 0x2D},     // Alt+X
    {"X", Decoded::Key, 0x00, 0x2D},     // Alt+Shift+X: as Alt+X
    {"a", Decoded::Key, 0x00, 0x1E},     // Alt+A
    {"q", Decoded::Key, 0x00, 0x10},     // Alt+Q
    {"m", Decoded::Key, 0x00, 0x32},     // Alt+M
    {"1", Decoded::Key, 0x00, 0x78},     // Alt+1
    {"0", Decoded::Key, 0x00, 0x81},     // Alt+0
    {"=", Decoded::Key, 0x00, 0x83},     // Alt+=
    {"/", Decoded::Key, 0x00, 0x35},     // Alt+/
    {"[1$", Decoded::Incomplete, 0, 0},  // an intermediate byte: the final one is still to come
    // Unknown: complete, so the reader drops the sequence whole.
    {"[99~", Decoded::Unknown, 0, 0},
    {"[200~", Decoded::Unknown, 0, 0},  // start of a bracketed paste
    {"[1;2;3A", Decoded::Unknown, 0, 0},
    {"[?1;2c", Decoded::Unknown, 0, 0},  // a terminal's answer, private parameters
    {"[1$x", Decoded::Unknown, 0, 0},
    {"[1\x01", Decoded::Unknown, 0, 0},  // a control byte inside
    {"{", Decoded::Unknown, 0, 0},       // Alt and a shifted key
    {"\x7f", Decoded::Unknown, 0, 0},
};

TEST(KeyDecoder, EscapeSequencesGiveTheTwoCodesOfTheKey) {
  for (const EscapeCase& c : kEscapes) {
    ScanKey key{0xAA, 0xAA};
    EXPECT_EQ(console::decode_escape(c.after_esc, key), c.result) << "ESC " << c.after_esc;
    if (c.result == Decoded::Key) {
      EXPECT_EQ(key.prefix, c.prefix) << "ESC " << c.after_esc;
      EXPECT_EQ(key.scan, c.scan) << "ESC " << c.after_esc;
    }
  }
}

// Piped input: the keys are the bytes as they come, escape bytes included.
TEST(KeysFromAPipe, BytesAsTheyComeAndPollConsumesNothing) {
  const auto r = testing_support::run(
      {.program = "key_echo", .args = {"ppwwwwww"}, .keys = std::string("a\x1b[A\xe0", 5), .trace = false});
  EXPECT_EQ(r.out, "p1 p1 61 1b 5b 41 e0 ");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("the input ended while a key was awaited"), std::string::npos) << r.err;
}

TEST(KeysFromAPipe, EndOfInputEndsTheProgramWithAMessage) {
  const auto r = testing_support::run({.program = "key_echo", .args = {"w"}, .trace = false});
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("key_echo: the input ended while a key was awaited"), std::string::npos) << r.err;
}

// A terminal session through a pseudo-terminal. Every wait ends on what the
// program does (its output, its mode, its end), never on a clock; a program
// that hangs is caught by the test's time-out in CTest.
struct TerminalOptions {
  bool stdout_to_closed_pipe = false;  // standard output into a pipe nobody reads
  bool nonblocking_input = false;      // the terminal left in non-blocking mode
};

class Terminal {
 public:
  explicit Terminal(const char* ops, TerminalOptions options = {}) {
    int out[2] = {-1, -1};
    if (options.stdout_to_closed_pipe) {
      if (pipe(out) != 0) return;
      close(out[0]);  // before the program can write
    }
    pid_ = forkpty(&master_, nullptr, nullptr, nullptr);
    if (pid_ == 0) {
      if (options.stdout_to_closed_pipe) {
        dup2(out[1], STDOUT_FILENO);
        close(out[1]);
        signal(SIGPIPE, SIG_DFL);  // as a shell starts a pipeline
      }
      if (options.nonblocking_input) fcntl(STDIN_FILENO, F_SETFL, O_NONBLOCK);
      const std::string path = testing_support::program_path("key_echo");
      execl(path.c_str(), "key_echo", ops, static_cast<char*>(nullptr));
      _exit(127);
    }
    if (options.stdout_to_closed_pipe) close(out[1]);
  }
  ~Terminal() {
    if (master_ >= 0) close(master_);
    if (!exited_ && pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  pid_t pid() const { return pid_; }
  void type(const std::string& bytes) {
    ASSERT_EQ(write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  // Reads until `text` has come, or the program has ended and closed the
  // terminal.
  std::string wait_for(const std::string& text) {
    return read_until([&] { return output_.find(text) != std::string::npos; });
  }
  // Reads until `n` bytes have come (or the end).
  std::string wait_for_bytes(size_t n) {
    return read_until([&] { return output_.size() >= n; });
  }
  int wait_exit() {
    if (!exited_) waitpid(pid_, &status_, 0);
    exited_ = true;
    return status_;
  }
  // Waits until the program waits for a key (echo off), or has ended.
  void wait_raw() {
    while ((mode().c_lflag & ECHO) && !exited_) {
      exited_ = waitpid(pid_, &status_, WNOHANG) == pid_;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }
  termios mode() const {
    termios t{};
    tcgetattr(master_, &t);
    return t;
  }

 private:
  template <typename Done>
  std::string read_until(Done done) {
    while (!done()) {
      char buf[256];
      const ssize_t n = read(master_, buf, sizeof buf);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;  // EIO: the program has ended
      output_.append(buf, static_cast<size_t>(n));
    }
    return output_;
  }

  int master_ = -1;
  pid_t pid_ = -1;
  bool exited_ = false;
  int status_ = 0;
  std::string output_;
};

bool mode_restored(const termios& t) { return (t.c_lflag & ECHO) && (t.c_lflag & ICANON); }

TEST(KeysFromATerminal, FunctionAndCursorKeysComeAsTwoCodes) {
  Terminal term("wwwwwwwwwwwww");  // the 13 codes below
  const struct {
    const char* typed;
    const char* codes;
  } keys[] = {
      {"\x1b[A", "e0 48 "},                        // Up
      {"\x1bOP", "00 3b "},                        // F1
      {"x", "78 "},         {"\x1b[Z", "00 0f "},  // Shift+Tab
      {"\x1bx", "00 2d "},                         // Alt+X
      {"\x1b[", "00 1a "},                         // Alt+[ : nothing follows within a moment
      {"\x1b", "1b "},                             // a lone Esc
      {"q", "71 "},
  };
  std::string expected;
  for (const auto& k : keys) {
    term.wait_raw();
    term.type(k.typed);
    expected += k.codes;
    term.wait_for(expected);
  }
  const std::string out = term.wait_for("\n");
  EXPECT_EQ(out, expected + "\r\n");
  const int status = term.wait_exit();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  // No echo of the typed keys, and the mode is back as it was.
  EXPECT_TRUE(mode_restored(term.mode()));
}

// The key poll sees a key typed without a line end, and leaves it for the
// key wait; with nothing typed it says so at once.
TEST(KeysFromATerminal, PollSeesATypedKeyWithoutALineEnd) {
  Terminal term("pwpw");
  term.wait_for("p0 ");
  term.wait_raw();
  term.type("kx");  // at once: 'x' is waiting when the program polls
  const std::string out = term.wait_for("\n");
  EXPECT_EQ(out, "p0 6b p1 78 \r\n");
  term.wait_exit();
}

// A sequence of no known key is no key for the poll either: the poll says
// 0, and the wait then waits for a real key instead of blocking after a 1.
TEST(KeysFromATerminal, PollAndWaitAgreeOnASequenceOfNoKnownKey) {
  for (const char* unknown : {"\x1b[99~", "\x1b[1;2;3A", "\x1b[?1;2c"}) {
    Terminal term("wpw");
    term.wait_raw();
    term.type(std::string("a") + unknown);
    const std::string polled = term.wait_for_bytes(6);
    EXPECT_EQ(polled, "61 p0 ") << "ESC " << unknown + 1;
    term.type("b");
    EXPECT_EQ(term.wait_for("\n"), polled + "62 \r\n") << "ESC " << unknown + 1;
    term.wait_exit();
  }
}

TEST(KeysFromATerminal, PollSeesAnAltKeyAsTwoCodes) {
  Terminal term("wpwwp");
  term.wait_raw();
  term.type("a\x1bm");
  EXPECT_EQ(term.wait_for("\n"), "61 p1 00 32 p0 \r\n");
  term.wait_exit();
}

TEST(KeysFromATerminal, ModeIsRestoredAtTheEndAfterAPoll) {
  Terminal term("p");
  EXPECT_EQ(term.wait_for("\n"), "p0 \r\n");
  const int status = term.wait_exit();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_TRUE(mode_restored(term.mode()));
}

TEST(KeysFromATerminal, CtrlCStillEndsTheProgramAndRestoresTheMode) {
  Terminal term("w");
  term.wait_raw();
  EXPECT_FALSE(term.mode().c_lflag & ECHO);  // waiting for a key: no echo
  term.type("\x03");
  const int status = term.wait_exit();
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT);
  EXPECT_TRUE(mode_restored(term.mode()));
}

// `program | head`: output into a pipe that has closed ends the program
// with SIGPIPE, as before, but with the terminal put back.
TEST(KeysFromATerminal, OutputIntoAClosedPipeRestoresTheMode) {
  Terminal term("p", {.stdout_to_closed_pipe = true});
  const int status = term.wait_exit();
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGPIPE) << status;
  EXPECT_TRUE(mode_restored(term.mode()));
}

// An input left in non-blocking mode answers "try again", and a signal
// interrupts the read: neither is the end of the input.
TEST(KeysFromATerminal, ReadsThatWouldBlockOrAreInterruptedWaitForTheKey) {
  Terminal term("www", {.nonblocking_input = true});
  term.wait_raw();
  kill(term.pid(), SIGUSR1);  // key_echo ignores it, without restarting reads
  term.type("k");
  term.wait_for("6b ");
  term.wait_raw();
  kill(term.pid(), SIGUSR1);
  term.type("\x1b[A");
  EXPECT_EQ(term.wait_for("\n"), "6b e0 48 \r\n");
  const int status = term.wait_exit();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
