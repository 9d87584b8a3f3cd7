#include <gtest/gtest.h>

#include <optional>

#include "frame.h"

namespace {

struct Case {
  const char* text;
  std::optional<int32_t> board_no;
};

// The leading decimal integer, as a "%d" conversion reads it.
const Case kCases[] = {
    {"0", 0},
    {"1", 1},
    {"7", 7},
    {"3x", 3},
    {" +3", 3},
    {"\t 2", 2},
    {"\n5", 5},
    {"-1", -1},
    {"-0", 0},
    {"007", 7},
    {"1 2", 1},
    {"2147483647", 2147483647},
    {"-2147483648", -2147483647 - 1},
    {"2147483648", std::nullopt},  // beyond 32 bits: out of range
    {"-2147483649", std::nullopt},
    {"99999999999999999999999", std::nullopt},
    {"", std::nullopt},
    {"x", std::nullopt},
    {"-", std::nullopt},
    {"+", std::nullopt},
    {"- 1", std::nullopt},
    {"+-1", std::nullopt},
    {"0x10", 0},
    {"１", std::nullopt},  // a full-width digit is no digit
};

TEST(BoardNo, LeadingDecimalIntegerOrNothing) {
  for (const Case& c : kCases) {
    EXPECT_EQ(frame::parse_board_no(c.text), c.board_no) << "\"" << c.text << "\"";
  }
}

}  // namespace
