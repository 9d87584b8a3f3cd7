#include "trace.h"

#include <cstring>

namespace regio {

bool Trace::open(const std::string& path) {
  close();
  file_ = std::fopen(path.c_str(), "w");
  return file_ != nullptr;
}

void Trace::end_pending() {
  if (pending_length_ == 0) return;
  if (repeats_ > 1)
    std::fprintf(file_, " [x %llu]\n", repeats_);
  else
    std::fputc('\n', file_);
  pending_length_ = 0;
  repeats_ = 0;
}

void Trace::line(const char* text, int length) {
  if (file_ == nullptr) return;
  if (length < 0) return;
  if (length >= static_cast<int>(sizeof pending_)) length = sizeof pending_ - 1;
  if (length == pending_length_ && std::memcmp(text, pending_, static_cast<size_t>(length)) == 0) {
    ++repeats_;
    return;
  }
  end_pending();
  std::memcpy(pending_, text, static_cast<size_t>(length));
  pending_length_ = length;
  repeats_ = 1;
  std::fwrite(text, 1, static_cast<size_t>(length), file_);
  std::fflush(file_);
}

bool Trace::repeat(const Call& call) {
  if (have_call_ && call == call_ && pending_length_ != 0) {
    ++repeats_;
    return true;
  }
  call_ = call;
  have_call_ = true;
  return false;
}

void Trace::close() {
  if (file_ == nullptr) return;
  end_pending();
  std::fclose(file_);
  file_ = nullptr;
  have_call_ = false;
}

}  // namespace regio
