#include "message_log.h"

#include <algorithm>

namespace panels {

void MessageLog::append(std::string_view block) {
  Entry entry{std::string(block), 0};
  entry.text += "\r\n";
  entry.lines = static_cast<long>(std::count(entry.text.begin(), entry.text.end(), '\n'));
  size_ += entry.text.size();
  entries_.push_back(std::move(entry));

  // Past the cap, the oldest blocks go until a sixteenth of the cap is
  // free: the box's cost of dropping text grows with the text dropped, so
  // it drops a slice now and then (some 30 ms every few hundred appends)
  // rather than a little at every append or a large piece rarely.
  long dropped_lines = 0;
  if (size_ > capacity_) {
    const std::size_t trim_to = capacity_ - capacity_ / 16;
    while (size_ > trim_to && entries_.size() > 1) {
      size_ -= entries_.front().text.size();
      dropped_lines += entries_.front().lines;
      entries_.pop_front();
    }
  }

  if (port_.edited_by_user(box_id_)) {
    port_.set_text(box_id_, text());
  } else {
    if (dropped_lines > 0) port_.remove_leading_lines(box_id_, dropped_lines);
    port_.append_text(box_id_, entries_.back().text);
  }
  port_.select_end(box_id_);
}

std::string MessageLog::text() const {
  std::string text;
  text.reserve(size_);
  for (const Entry& e : entries_) text += e.text;
  return text;
}

}  // namespace panels
