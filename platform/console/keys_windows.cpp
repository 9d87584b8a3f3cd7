// Console keys on Windows. At the console the runtime's _getch and _kbhit
// read the keyboard without echo and hand out a key without a character as
// its two codes (0 or 0xE0, then the scan code) by themselves. When standard
// input is not the console (a file, a pipe) the keys are the bytes read
// from it, as on Linux, so that scripts can type through it.
#include <conio.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "keys.h"

namespace console {

namespace {

HANDLE input() { return GetStdHandle(STD_INPUT_HANDLE); }

bool is_console() {
  static const bool console = [] {
    DWORD mode = 0;
    return GetConsoleMode(input(), &mode) != 0;
  }();
  return console;
}

constexpr int kInputEnd = -1;  // the input has ended (or cannot be read)

int read_byte() {
  unsigned char b = 0;
  DWORD n = 0;
  if (!ReadFile(input(), &b, 1, &n, nullptr) || n == 0) return kInputEnd;
  return b;
}

// True when a read of the input would not block: a byte, its end or an error
// is there. A file always has one or the other.
bool byte_waiting() {
  const HANDLE h = input();
  if (GetFileType(h) != FILE_TYPE_PIPE) return true;
  DWORD available = 0;
  if (!PeekNamedPipe(h, nullptr, 0, nullptr, &available, nullptr)) return true;  // closed: its end
  return available > 0;
}

// The program's file name without its folder and extension.
std::string program_name() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string name(path, n < sizeof path ? n : 0);
  name.erase(0, name.find_last_of("\\/") + 1);
  if (const size_t dot = name.rfind('.'); dot != std::string::npos) name.erase(dot);
  return name;
}

[[noreturn]] void end_of_input() {
  std::fflush(stdout);
  std::fprintf(stderr, "\n%s: the input ended while a key was awaited\n", program_name().c_str());
  std::exit(2);
}

}  // namespace

int getch() {
  std::fflush(stdout);
  if (is_console()) return _getch();
  const int code = read_byte();
  if (code == kInputEnd) end_of_input();
  return code;
}

int kbhit() {
  if (is_console()) return _kbhit() != 0 ? 1 : 0;
  return byte_waiting() ? 1 : 0;
}

}  // namespace console
