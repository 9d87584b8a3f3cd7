// An unsigned 128-bit integer for the bench's time arithmetic (scan counts
// times clock periods in nanoseconds): the compiler's own where it has one,
// and Uint128 where it has none (32-bit Windows). Uint128 computes exactly
// what the built-in type computes, modulo 2^128; dividing by zero is the
// caller's fault, as with the built-in type.
#pragma once

#include <compare>
#include <concepts>
#include <cstdint>
#include <type_traits>

namespace regio {

class Uint128 {
 public:
  constexpr Uint128() = default;
  // From any integer, as a conversion to unsigned __int128 does: a negative
  // value wraps.
  template <std::integral T>
  constexpr Uint128(T v) : lo_(static_cast<uint64_t>(v)) {  // NOLINT: implicit, like an integer
    if constexpr (std::is_signed_v<T>) hi_ = v < 0 ? ~uint64_t{0} : 0;
  }
  // To an integer: the low bits, as a cast of the built-in type gives them.
  template <std::integral T>
  constexpr explicit operator T() const {
    return static_cast<T>(lo_);
  }

  friend constexpr Uint128 operator+(Uint128 a, Uint128 b) {
    const uint64_t lo = a.lo_ + b.lo_;
    return {a.hi_ + b.hi_ + (lo < a.lo_ ? 1u : 0u), lo};
  }
  friend constexpr Uint128 operator-(Uint128 a, Uint128 b) {
    return {a.hi_ - b.hi_ - (a.lo_ < b.lo_ ? 1u : 0u), a.lo_ - b.lo_};
  }
  friend constexpr Uint128 operator~(Uint128 a) { return {~a.hi_, ~a.lo_}; }
  friend constexpr Uint128 operator*(Uint128 a, Uint128 b) {
    Uint128 product = wide_product(a.lo_, b.lo_);
    product.hi_ += a.hi_ * b.lo_ + a.lo_ * b.hi_;
    return product;
  }
  friend constexpr Uint128 operator/(Uint128 a, Uint128 b) {
    Uint128 remainder;
    return divide(a, b, remainder);
  }
  friend constexpr Uint128 operator%(Uint128 a, Uint128 b) {
    Uint128 remainder;
    divide(a, b, remainder);
    return remainder;
  }
  friend constexpr Uint128 operator<<(Uint128 a, int n) {
    if (n == 0) return a;
    if (n >= 64) return {a.lo_ << (n - 64), 0};
    return {a.hi_ << n | a.lo_ >> (64 - n), a.lo_ << n};
  }
  friend constexpr Uint128 operator>>(Uint128 a, int n) {
    if (n == 0) return a;
    if (n >= 64) return {0, a.hi_ >> (n - 64)};
    return {a.hi_ >> n, a.lo_ >> n | a.hi_ << (64 - n)};
  }
  constexpr Uint128& operator+=(Uint128 b) { return *this = *this + b; }
  constexpr Uint128& operator-=(Uint128 b) { return *this = *this - b; }
  constexpr Uint128& operator*=(Uint128 b) { return *this = *this * b; }
  constexpr Uint128& operator/=(Uint128 b) { return *this = *this / b; }

  friend constexpr bool operator==(Uint128 a, Uint128 b) { return a.hi_ == b.hi_ && a.lo_ == b.lo_; }
  friend constexpr std::strong_ordering operator<=>(Uint128 a, Uint128 b) {
    return a.hi_ != b.hi_ ? a.hi_ <=> b.hi_ : a.lo_ <=> b.lo_;
  }

 private:
  constexpr Uint128(uint64_t hi, uint64_t lo) : hi_(hi), lo_(lo) {}

  // The full product of two 64-bit numbers, from 32-bit halves.
  static constexpr Uint128 wide_product(uint64_t a, uint64_t b) {
    const uint64_t a0 = a & 0xFFFFFFFFu, a1 = a >> 32, b0 = b & 0xFFFFFFFFu, b1 = b >> 32;
    const uint64_t low = a0 * b0, mid1 = a1 * b0, mid2 = a0 * b1, high = a1 * b1;
    const uint64_t carry = ((low >> 32) + (mid1 & 0xFFFFFFFFu) + (mid2 & 0xFFFFFFFFu)) >> 32;
    return {high + (mid1 >> 32) + (mid2 >> 32) + carry, a * b};
  }

  // Long division, one bit at a time from the top.
  static constexpr Uint128 divide(Uint128 a, Uint128 b, Uint128& remainder) {
    Uint128 quotient;
    remainder = 0;
    for (int bit = 127; bit >= 0; --bit) {
      remainder = remainder << 1;
      remainder.lo_ |= (a >> bit).lo_ & 1u;
      if (remainder >= b) {
        remainder -= b;
        if (bit >= 64)
          quotient.hi_ |= uint64_t{1} << (bit - 64);
        else
          quotient.lo_ |= uint64_t{1} << bit;
      }
    }
    return quotient;
  }

  uint64_t hi_ = 0;
  uint64_t lo_ = 0;
};

// REGIO_U128_STAND_IN: Uint128 all the same (the Windows builds, so that the
// 64-bit programs under Wine run the bench's arithmetic of the 32-bit ones).
#if defined(__SIZEOF_INT128__) && !defined(REGIO_U128_STAND_IN)
__extension__ typedef unsigned __int128 u128;
#else
using u128 = Uint128;
#endif

}  // namespace regio
