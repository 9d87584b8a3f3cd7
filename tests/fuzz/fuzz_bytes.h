// The fuzzer's bytes as the call-sequence targets read them: front to back,
// zeros once they run out.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fuzz {

class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ >= size_; }
  uint8_t u8() { return at_ < size_ ? data_[at_++] : 0; }
  uint32_t u32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = v << 8 | u8();
    return v;
  }
  int32_t i32() { return static_cast<int32_t>(u32()); }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

}  // namespace fuzz
