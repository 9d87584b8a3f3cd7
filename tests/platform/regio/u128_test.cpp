// The bench's 128-bit stand-in (used where the compiler has no 128-bit
// integer, as on 32-bit Windows) computes what the built-in type computes.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "u128.h"

namespace {

using regio::Uint128;
__extension__ typedef unsigned __int128 Native;

Native native(Uint128 v) { return Native{static_cast<uint64_t>(v >> 64)} << 64 | static_cast<uint64_t>(v); }
Uint128 stand_in(Native v) { return (Uint128{static_cast<uint64_t>(v >> 64)} << 64) + static_cast<uint64_t>(v); }

// Operands around the carries and borrows of each half, and the bench's own
// sizes (nanoseconds of long runs, clock rates, 10^15 period scales).
std::vector<Native> operands() {
  const uint64_t m = UINT64_MAX;
  std::vector<Native> v = {0,
                           1,
                           2,
                           3,
                           7,
                           10,
                           0xFFFFFFFFu,
                           0x100000000u,
                           m - 1,
                           m,
                           1'000'000'000u,
                           40'000'000u,
                           1'000'000'000'000'000u,
                           86'400'000'000'000'000u};
  v.push_back(Native{m} + 1);
  v.push_back(Native{m} * m);
  v.push_back(~Native{0});
  v.push_back(~Native{0} - 1);
  v.push_back(Native{1} << 127);
  v.push_back(Native{0x123456789ABCDEFu} << 40 | 0xFEDCBA987u);
  v.push_back(Native{1'000'000'000'000'000u} * 65'535u * 3'000'000'000u);
  return v;
}

TEST(Uint128, ArithmeticAsTheBuiltInType) {
  for (const Native a : operands()) {
    for (const Native b : operands()) {
      const Uint128 x = stand_in(a), y = stand_in(b);
      const auto context = [&] {
        return testing::Message() << std::hex << static_cast<uint64_t>(a >> 64) << ":" << static_cast<uint64_t>(a)
                                  << " and " << static_cast<uint64_t>(b >> 64) << ":" << static_cast<uint64_t>(b);
      };
      EXPECT_TRUE(native(x + y) == a + b) << context();
      EXPECT_TRUE(native(x - y) == a - b) << context();
      EXPECT_TRUE(native(x * y) == a * b) << context();
      if (b != 0) {
        EXPECT_TRUE(native(x / y) == a / b) << context();
        EXPECT_TRUE(native(x % y) == a % b) << context();
      }
      EXPECT_EQ(x < y, a < b) << context();
      EXPECT_EQ(x == y, a == b) << context();
      EXPECT_EQ(x >= y, a >= b) << context();
    }
  }
}

TEST(Uint128, ShiftsConversionsAndSignedOperands) {
  const Native a = Native{0x0123456789ABCDEFu} << 64 | 0xFEDCBA9876543210u;
  for (int n : {0, 1, 31, 32, 63, 64, 65, 100, 127}) {
    EXPECT_TRUE(native(stand_in(a) << n) == a << n) << n;
    EXPECT_TRUE(native(stand_in(a) >> n) == a >> n) << n;
  }
  EXPECT_EQ(static_cast<uint64_t>(stand_in(a)), static_cast<uint64_t>(a));
  EXPECT_EQ(static_cast<uint32_t>(stand_in(a)), static_cast<uint32_t>(a));
  EXPECT_TRUE(native(Uint128{-1}) == static_cast<Native>(-1)) << "a negative value wraps";
  EXPECT_TRUE(native(~Uint128{0}) == ~Native{0});
  // As the bench uses it: saturation at UINT64_MAX, mixed operands.
  const Uint128 big = Uint128{UINT64_MAX} * 3u;
  EXPECT_TRUE(big > UINT64_MAX);
  EXPECT_TRUE(Uint128{5u} + 7 - 2 == 10u);
  constexpr Uint128 kScale = Uint128{1'000'000'000u} * 1'000'000u;
  static_assert(kScale / 1'000'000u == 1'000'000'000u);
}

}  // namespace
