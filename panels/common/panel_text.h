// Texts and numbers shared by both unit panels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace panels {

// Text of a unit-library return code: the code's own format with the code
// filled in, or "<code>：未定義エラー" for any code without an entry.
std::string ErrorText(int32_t code);

// Leading decimal integer: white space skipped, one optional sign, decimal
// digits up to the first other character; no digits gives 0. Any number of
// digits is accepted: values beyond the 32-bit range saturate to
// INT32_MIN / INT32_MAX.
int32_t parse_leading_int(std::string_view text);

// A text the unit library wrote into a fixed buffer: up to the first NUL,
// never past the buffer's end.
std::string buffer_text(const char* buffer, std::size_t size);

std::string decimal(int32_t value);     // printf "%d"
std::string upper_hex(uint32_t value);  // printf "%X"

}  // namespace panels
