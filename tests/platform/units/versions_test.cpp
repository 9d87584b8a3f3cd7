// Version texts honour the buffer length: the text and its NUL when they
// fit, else exactly len bytes and no NUL, never a byte more.
#include <cstring>
#include <string>

#include "units_fixture.h"

namespace {

using Versions = Units;

constexpr char kFifty[] = "12345678901234567890123456789012345678901234567890";

struct Case {
  const char* what;
  int32_t rotsw;  // -1: library version
  int32_t len;
  const char* bytes;  // what lands in the buffer, NUL included where written
  size_t count;       // how many bytes land
};

const Case kCases[] = {
    {"library, room to spare", -1, 50, "QAO4 sim 1.20", 14},
    {"library, text and NUL just fit", -1, 14, "QAO4 sim 1.20", 14},
    {"library, no room for the NUL", -1, 13, "QAO4 sim 1.20", 13},
    {"library, one byte", -1, 1, "Q", 1},
    {"firmware, room to spare", 2, 50, "0.98", 5},
    {"firmware, no room for the NUL", 2, 4, "0.98", 4},
    {"firmware, cut short", 2, 2, "0.", 2},
    {"firmware of 50 characters fills the buffer", 15, 50, kFifty, 50},
    {"firmware of 50 characters, 51 bytes", 15, 51, kFifty, 51},
    {"firmware of 50 characters, 10 bytes", 15, 10, "1234567890", 10},
};

TEST_F(Versions, TextsHonourTheBufferLength) {
  UseQao4(Fixture("qao4_service.toml"));
  ASSERT_EQ(Qao4_OpenDriver(), 0);
  for (const Case& c : kCases) {
    char buffer[64];
    std::memset(buffer, '#', sizeof buffer);
    const int32_t ret = c.rotsw < 0 ? Qao4_Get_Libver(buffer, c.len) : Qao4_Get_Firmver(c.rotsw, buffer, c.len);
    ASSERT_EQ(ret, 0) << c.what;
    EXPECT_EQ(std::string(buffer, c.count), std::string(c.bytes, c.count)) << c.what;
    for (size_t i = c.count; i < sizeof buffer; ++i) {
      ASSERT_EQ(buffer[i], '#') << c.what << ": byte " << i << " written";
    }
  }
}

}  // namespace
