#include "keys.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "run_program.h"

namespace {

using console::Decoded;
using console::ScanKey;

struct EscapeCase {
  const char *after_esc;
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
    {"[99~", Decoded::Unknown, 0, 0},
    {"[Z", Decoded::Unknown, 0, 0},        // Shift+Tab: no scan key here
    {"x", Decoded::Unknown, 0, 0},
    {"[1;2;3A", Decoded::Unknown, 0, 0},
};

TEST(KeyDecoder, EscapeSequencesGiveTheTwoCodesOfTheKey) {
  for (const EscapeCase &c : kEscapes) {
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
  const auto r = testing_support::run({.program = "key_echo", .args = {"ppwwwwww"},
                                       .keys = std::string("a\x1b[A\xe0", 5), .trace = false});
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

// A terminal session through a pseudo-terminal.
class Terminal {
 public:
  explicit Terminal(const char *ops) {
    pid_ = forkpty(&master_, nullptr, nullptr, nullptr);
    if (pid_ == 0) {
      const std::string path = testing_support::program_path("key_echo");
      execl(path.c_str(), "key_echo", ops, static_cast<char *>(nullptr));
      _exit(127);
    }
  }
  ~Terminal() {
    if (master_ >= 0) close(master_);
  }
  void type(const std::string &bytes) {
    ASSERT_EQ(write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  // Reads until `text` has come (or a second has passed).
  std::string wait_for(const std::string &text) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (output_.find(text) == std::string::npos && std::chrono::steady_clock::now() < until) {
      pollfd fd{master_, POLLIN, 0};
      if (poll(&fd, 1, 50) > 0) {
        char buf[256];
        const ssize_t n = read(master_, buf, sizeof buf);
        if (n <= 0) break;
        output_.append(buf, static_cast<size_t>(n));
      }
    }
    return output_;
  }
  int wait_exit() {
    int status = 0;
    waitpid(pid_, &status, 0);
    return status;
  }
  // Waits until the program waits for a key: echo off.
  void wait_raw() const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while ((mode().c_lflag & ECHO) && std::chrono::steady_clock::now() < until) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  termios mode() const {
    termios t{};
    tcgetattr(master_, &t);
    return t;
  }

 private:
  int master_ = -1;
  pid_t pid_ = -1;
  std::string output_;
};

TEST(KeysFromATerminal, FunctionAndCursorKeysComeAsTwoCodes) {
  Terminal term("wwwwwww");
  term.wait_raw();
  term.type("\x1b[A");
  term.wait_for("e0 48 ");
  term.wait_raw();
  term.type("\x1bOP");
  term.wait_for("00 3b ");
  term.wait_raw();
  term.type("x");
  term.wait_for("78 ");
  term.wait_raw();
  term.type("\x1b");  // a lone Esc
  term.wait_for("1b ");
  term.wait_raw();
  term.type("q");
  const std::string out = term.wait_for("\n");
  EXPECT_NE(out.find("e0 48 00 3b 78 1b 71 "), std::string::npos) << out;
  const int status = term.wait_exit();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  // No echo of the typed keys, and the mode is back as it was.
  EXPECT_EQ(out.find("[A"), std::string::npos) << out;
  EXPECT_TRUE(term.mode().c_lflag & ECHO);
  EXPECT_TRUE(term.mode().c_lflag & ICANON);
}

TEST(KeysFromATerminal, PollSeesATypedKeyWithoutALineEnd) {
  Terminal term("pwp");
  term.wait_for("p0 ");
  term.wait_raw();
  term.type("k");
  const std::string out = term.wait_for("\n");
  EXPECT_NE(out.find("p0 6b p0 "), std::string::npos) << out;
  term.wait_exit();
}

TEST(KeysFromATerminal, CtrlCStillEndsTheProgramAndRestoresTheMode) {
  Terminal term("w");
  term.wait_raw();
  EXPECT_FALSE(term.mode().c_lflag & ECHO);  // waiting for a key: no echo
  term.type("\x03");
  const int status = term.wait_exit();
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT);
  EXPECT_TRUE(term.mode().c_lflag & ECHO);
  EXPECT_TRUE(term.mode().c_lflag & ICANON);
}

}  // namespace
