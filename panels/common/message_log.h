// The message log: every operation block since the dialog opened, newest
// last, shown in the log box.
//
// The box is only ever appended to, so one append costs the block's size,
// not the log's. The log keeps at most the newest kDefaultCapacity bytes:
// when an append goes past that, whole blocks are dropped from the front
// until at most fifteen sixteenths of it are left. The newest block always
// stays, however big.
// Text the user typed into the box is replaced at the next append by the
// log itself, as a full rewrite of the box (that one append costs the log's
// size).
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

#include "dialog_port.h"

namespace panels {

class MessageLog {
 public:
  static constexpr std::size_t kDefaultCapacity = std::size_t{1} << 20;  // 1 MiB

  MessageLog(DialogPort& port, int box_id, std::size_t capacity = kDefaultCapacity)
      : port_(port), box_id_(box_id), capacity_(capacity) {}

  // AppendLog: the block followed by one more CR LF.
  void append(std::string_view block);

  std::string text() const;  // what the box should show
  std::size_t size() const { return size_; }
  std::size_t blocks() const { return entries_.size(); }

 private:
  struct Entry {
    std::string text;  // block + "\r\n"
    long lines;        // line breaks in text
  };

  DialogPort& port_;
  int box_id_;
  std::size_t capacity_;
  std::deque<Entry> entries_;
  std::size_t size_ = 0;
};

}  // namespace panels
