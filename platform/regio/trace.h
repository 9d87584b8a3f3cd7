// The trace file: one line per driver call, a run of identical lines folded
// into one line with " [x N]".
//
// A line's text is written and flushed as soon as it differs from the one
// before; its end (the count, the line feed) follows when the next different
// line comes, at Close_Driver or at exit. So a program that ends with exit()
// leaves a complete trace, and one that is killed leaves every line but the
// count of its last run.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace regio {

class Trace {
 public:
  // The arguments and result of a register call: a repeat of the call just
  // traced folds without formatting its line.
  struct Call {
    int kind;
    int32_t io_base, offset, value;
    bool operator==(const Call&) const = default;
  };

  // Opens (truncates) the file; false when it cannot be written.
  bool open(const std::string& path);
  bool on() const { return file_ != nullptr; }
  void line(const char* text, int length);
  // True (and counted) when `call` repeats the call of the pending line;
  // otherwise remembers it for the line that follows.
  bool repeat(const Call& call);
  void forget_call() { have_call_ = false; }
  // Ends the pending line and closes the file.
  void close();

 private:
  void end_pending();

  std::FILE* file_ = nullptr;
  char pending_[192] = {};
  int pending_length_ = 0;
  unsigned long long repeats_ = 0;
  Call call_{};
  bool have_call_ = false;
};

}  // namespace regio
