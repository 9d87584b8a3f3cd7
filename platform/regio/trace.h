// The trace file: one line per driver call, with repeats folded.
//
// - A run of N > 1 identical calls is one line with " [x N]".
// - A group of 2 to 6 calls that comes three times or more in a row is
//   written once between "{" and "} [x N]". Writes and reads in the group
//   repeat with the same values, except reads of a FIFO (data register),
//   whose values count through the samples: their line shows the first and
//   the last value read, "= 0x0000 .. 0x7007". A read whose value changes
//   otherwise ends the group, so every new status value has a line.
//
// Lines are collected in a buffer and written when it is full, at
// Close_Driver, at exit, and by flush_now() (for a signal that ends the
// program, async-signal-safe).
#pragma once

#include <csignal>
#include <cstddef>
#include <cstdint>
#include <string>

namespace regio {

class Trace {
 public:
  enum Kind : uint8_t { ReadByte, WriteByte, ReadWord, WriteWord, ReadByteBlock, ReadWordBlock };

  // One register call: for reads the value read, for writes the value
  // passed, for block reads the count.
  struct Call {
    Kind kind;
    bool fifo;  // a read of a FIFO: the value may differ from repeat to repeat
    int32_t io_base, offset, value;
  };

  // Opens (truncates) the file; false when it cannot be written.
  bool open(const std::string& path);
  bool on() const { return fd_ >= 0; }
  void call(const Call& c);
  // A control call's line; identical lines in a row fold as calls do.
  void line(const char* text, int length);
  // Writes everything pending (the folds end as they stand) and closes.
  void close();
  // Writes everything pending; the file stays open. Async-signal-safe.
  void flush_now();

 private:
  static constexpr int kMaxGroup = 6;
  static constexpr int kGroupRepeats = 3;  // a group folds from its third time on
  static constexpr int kHistory = kGroupRepeats * kMaxGroup;
  static constexpr size_t kBufferSize = 1 << 16;
  static constexpr int kLineMax = 192;

  // A call of a folding group: its first and last value.
  struct Slot {
    Call call;
    int32_t first, last;
  };

  void add(const Call& c);
  void add_line(const char* text, int length);
  void end_folds();
  void end_group();
  void emit(const Call& c);
  void emit_slot(const Slot& s);
  void find_group();
  void end_text();
  void put(const char* text, size_t n);
  void write_out();

  int fd_ = -1;
  volatile sig_atomic_t busy_ = 0;  // inside call() or line(): the folds are not whole
  char buffer_[kBufferSize];
  size_t used_ = 0;

  // Calls not yet written, oldest first, while no group is running.
  Call history_[kHistory];
  int history_size_ = 0;
  // The running group: `period` calls repeated `repeats` times so far, and
  // the calls of the repeat in progress.
  Slot group_[kMaxGroup];
  Call partial_[kMaxGroup];
  int period_ = 0;
  int position_ = 0;
  unsigned long long repeats_ = 0;

  // The last control call's line, until a different line comes.
  char text_[kLineMax];
  int text_length_ = 0;
  unsigned long long text_repeats_ = 0;
};

}  // namespace regio
