// Console keys: one key at a time without echo, and a test for a waiting key.
//
// On a terminal a key is read without echo or line editing, and the terminal
// mode is restored afterwards, also when the program ends at a signal
// (Ctrl-C, a hang-up, output into a pipe that has closed). Keys that produce
// no character (function and cursor keys, Shift+Tab, Alt and a character
// key), which a terminal sends as escape sequences, come out as two codes on
// two calls: first 0 or 0xE0, then the key's scan code. A sequence of no key
// known here is dropped whole, and the key poll never counts it as a key.
// When standard input is not a terminal the keys are the bytes read from it,
// so that scripts can type through a pipe.
#pragma once

#include <cstdint>
#include <string_view>

namespace console {

// Waits for the next key and returns its code (0 to 255). At the end of the
// input, prints a message on stderr and ends the program with status 2.
int getch();

// Non-zero when a key that getch() would return is waiting; consumes nothing.
int kbhit();

// The two codes of a key that produces no character.
struct ScanKey {
  uint8_t prefix;  // 0 or 0xE0
  uint8_t scan;
};

enum class Decoded { Key, Incomplete, Unknown };

// Decodes the bytes a terminal sends after ESC for one key ("[A", "OP",
// "[1;5C", "[15~", "[Z", "x" for Alt+X). Incomplete: more bytes belong to the
// sequence. Unknown: a complete sequence of no key this console knows.
Decoded decode_escape(std::string_view after_esc, ScanKey& key);

}  // namespace console
