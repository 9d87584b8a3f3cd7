#include "message_log.h"

#include <algorithm>

namespace panels {

void MessageLog::Append(std::string_view block) {
    Entry entry{std::string(block), 0};
    entry.text += "\r\n";
    entry.lines = static_cast<long>(std::count(entry.text.begin(), entry.text.end(), '\n'));
    size_ += entry.text.size();
    entries_.push_back(std::move(entry));

    // Past the cap, the oldest blocks go until a sixteenth of the cap is
    // free: the box's cost of dropping text grows with the text dropped, so
    // it drops a slice now and then (some 30 ms every few hundred appends)
    // rather than a little at every append or a large piece rarely.
    long droppedLines = 0;
    if (size_ > capacity_) {
        const std::size_t trimTo = capacity_ - capacity_ / 16;
        while (size_ > trimTo && entries_.size() > 1) {
            size_ -= entries_.front().text.size();
            droppedLines += entries_.front().lines;
            entries_.pop_front();
        }
    }

    if (port_.EditedByUser(boxId_)) {
        port_.SetText(boxId_, Text());
    } else {
        if (droppedLines > 0) port_.RemoveLeadingLines(boxId_, droppedLines);
        port_.AppendText(boxId_, entries_.back().text);
    }
    port_.SelectEnd(boxId_);
}

std::string MessageLog::Text() const {
    std::string text;
    text.reserve(size_);
    for (const Entry& e : entries_) text += e.text;
    return text;
}

}  // namespace panels
