#include "trace.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>

namespace regio {

namespace {

// Formatting by hand: no allocation and no stdio, so that a signal handler
// may finish the trace.
class Text {
 public:
  explicit Text(char* out, size_t size) : out_(out), size_(size) {}
  Text& str(const char* s) {
    while (*s != '\0') put(*s++);
    return *this;
  }
  Text& hex(uint32_t v, int digits = 1) {
    char d[8];
    int n = 0;
    do {
      d[n++] = "0123456789abcdef"[v & 0xF];
      v >>= 4;
    } while (v != 0);
    while (n < digits) d[n++] = '0';
    while (n > 0) put(d[--n]);
    return *this;
  }
  Text& dec(long long v) {
    unsigned long long u = v < 0 ? 0ull - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    if (v < 0) put('-');
    char d[20];
    int n = 0;
    do {
      d[n++] = static_cast<char>('0' + u % 10);
      u /= 10;
    } while (u != 0);
    while (n > 0) put(d[--n]);
    return *this;
  }
  size_t length() const { return length_; }

 private:
  void put(char c) {
    if (length_ < size_) out_[length_++] = c;
  }
  char* out_;
  size_t size_;
  size_t length_ = 0;
};

constexpr const char* kNames[] = {"ReadByte(",  "WriteByte(",     "ReadWord(",
                                  "WriteWord(", "ReadByteBlock(", "ReadWordBlock("};

bool is_read(Trace::Kind k) { return k == Trace::ReadByte || k == Trace::ReadWord; }

// The same call again. A FIFO's reads may differ in value within a group.
bool same(const Trace::Call& a, const Trace::Call& b, bool fifo_may_vary) {
  if (a.kind != b.kind || a.io_base != b.io_base || a.offset != b.offset) return false;
  return a.value == b.value || (fifo_may_vary && a.fifo && b.fifo);
}

// One call's line, without its end; a FIFO read of a group shows the first
// and the last value it read.
size_t format(char* out, size_t size, const Trace::Call& c, int32_t first, int32_t last, bool range) {
  Text t(out, size);
  t.str(kNames[c.kind]).str("0x").hex(static_cast<uint32_t>(c.io_base)).str(", 0x");
  t.hex(static_cast<uint32_t>(c.offset), 2);
  if (is_read(c.kind)) {
    const int digits = c.kind == Trace::ReadByte ? 2 : 4;
    t.str(") = 0x").hex(static_cast<uint32_t>(first), digits);
    if (range) t.str(" .. 0x").hex(static_cast<uint32_t>(last), digits);
  } else if (c.kind == Trace::WriteByte || c.kind == Trace::WriteWord) {
    t.str(", 0x").hex(static_cast<uint32_t>(c.value)).str(")");
  } else {
    t.str(", ").dec(c.value).str(")");
  }
  return t.length();
}

}  // namespace

bool Trace::open(const std::string& path) {
  close();
#ifdef _WIN32
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_BINARY, 0666);  // lines end in LF
#else
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
#endif
  return fd_ >= 0;
}

void Trace::put(const char* text, size_t n) {
  if (used_ + n > sizeof buffer_) write_out();
  if (n > sizeof buffer_) n = sizeof buffer_;
  std::memcpy(buffer_ + used_, text, n);
  used_ += n;
}

void Trace::write_out() {
  size_t done = 0;
  while (done < used_) {
    const auto n = ::write(fd_, buffer_ + done, static_cast<unsigned>(used_ - done));  // at most a buffer
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      break;  // a full disk loses the rest, but never the program
    }
  }
  used_ = 0;
}

void Trace::emit(const Call& c) {
  char line[kLineMax];
  size_t n = format(line, sizeof line - 1, c, c.value, c.value, false);
  line[n++] = '\n';
  put(line, n);
}

void Trace::emit_slot(const Slot& s) {
  char line[kLineMax];
  size_t n = format(line, sizeof line - 1, s.call, s.first, s.last, s.call.fifo);
  line[n++] = '\n';
  put(line, n);
}

void Trace::end_group() {
  if (period_ == 1) {
    char line[kLineMax];
    const size_t n = format(line, sizeof line - 32, group_[0].call, group_[0].first, group_[0].last, false);
    Text tail(line + n, sizeof line - n);
    if (repeats_ > 1) tail.str(" [x ").dec(static_cast<long long>(repeats_)).str("]");
    tail.str("\n");
    put(line, n + tail.length());
  } else if (period_ > 1) {
    put("{\n", 2);
    for (int i = 0; i < period_; ++i) emit_slot(group_[i]);
    char line[40];
    Text t(line, sizeof line);
    t.str("} [x ").dec(static_cast<long long>(repeats_)).str("]\n");
    put(line, t.length());
  }
  period_ = 0;
  position_ = 0;
}

// Looks for a fold at the end of the history: the last two calls the same
// call, or the last 3p calls three repeats of p calls. The smallest period
// wins, so runs of one call fold as they always have.
void Trace::find_group() {
  for (int p = 1; p <= kMaxGroup; ++p) {
    const int times = p == 1 ? 2 : kGroupRepeats;
    if (times * p > history_size_) break;
    const int base = history_size_ - times * p;
    bool repeat = true;
    for (int i = 0; i < p && repeat; ++i) {
      for (int t = 1; t < times && repeat; ++t) repeat = same(history_[base + i], history_[base + t * p + i], p > 1);
    }
    if (!repeat) continue;
    for (int i = 0; i < base; ++i) emit(history_[i]);
    const int last = base + (times - 1) * p;
    for (int i = 0; i < p; ++i)
      group_[i] = Slot{history_[last + i], history_[base + i].value, history_[last + i].value};
    period_ = p;
    position_ = 0;
    repeats_ = static_cast<unsigned long long>(times);
    history_size_ = 0;
    return;
  }
}

void Trace::call(const Call& c) {
  if (fd_ < 0) return;
  busy_ = 1;
  add(c);
  busy_ = 0;
}

void Trace::add(const Call& c) {
  if (period_ > 0) {
    if (same(group_[position_].call, c, period_ > 1)) {
      partial_[position_++] = c;
      if (position_ == period_) {
        for (int i = 0; i < period_; ++i) group_[i].last = partial_[i].value;
        ++repeats_;
        position_ = 0;
      }
      return;
    }
    // The group ends; the calls of its unfinished repeat go on as history.
    const int rest = position_;
    end_group();
    for (int i = 0; i < rest; ++i) history_[history_size_++] = partial_[i];
  }
  end_text();
  history_[history_size_++] = c;
  find_group();
  if (period_ == 0 && history_size_ == kHistory) {
    emit(history_[0]);
    std::memmove(history_, history_ + 1, sizeof(Call) * (kHistory - 1));
    --history_size_;
  }
}

void Trace::end_folds() {
  const int rest = period_ > 0 ? position_ : 0;
  end_group();
  for (int i = 0; i < rest; ++i) emit(partial_[i]);
  for (int i = 0; i < history_size_; ++i) emit(history_[i]);
  history_size_ = 0;
}

void Trace::end_text() {
  if (text_length_ == 0) return;
  put(text_, static_cast<size_t>(text_length_));
  char tail[40];
  Text t(tail, sizeof tail);
  if (text_repeats_ > 1) t.str(" [x ").dec(static_cast<long long>(text_repeats_)).str("]");
  t.str("\n");
  put(tail, t.length());
  text_length_ = 0;
  text_repeats_ = 0;
}

void Trace::line(const char* text, int length) {
  if (fd_ < 0 || length < 0) return;
  busy_ = 1;
  add_line(text, length);
  busy_ = 0;
}

void Trace::add_line(const char* text, int length) {
  end_folds();
  if (length >= kLineMax) length = kLineMax - 1;
  if (length == text_length_ && std::memcmp(text, text_, static_cast<size_t>(length)) == 0) {
    ++text_repeats_;
    return;
  }
  end_text();
  std::memcpy(text_, text, static_cast<size_t>(length));
  text_length_ = length;
  text_repeats_ = 1;
}

void Trace::flush_now() {
  if (fd_ < 0) return;
  if (busy_ == 0) {  // a signal that came in the middle of a call writes what is whole
    end_folds();
    end_text();
  }
  write_out();
}

void Trace::close() {
  if (fd_ < 0) return;
  flush_now();
  ::close(fd_);
  fd_ = -1;
}

}  // namespace regio
