// What every parser fuzz target holds the reader to: bytes that are no good
// file give config::Error and nothing else, and its text is one line that
// begins with the file's name, as the libraries print it.
#pragma once

#include <cstdlib>
#include <string>
#include <string_view>

#include "config_file.h"

namespace fuzz {

inline constexpr const char* kFileName = "fuzz.toml";

// Runs `read` on the text; ends the run (a finding) when it breaks the rule.
template <typename Read>
void read_or_one_line_error(Read read) {
  try {
    read();
  } catch (const config::Error& e) {
    const std::string_view text = e.what();
    if (!text.starts_with(std::string(kFileName) + ":") || text.find('\n') != std::string_view::npos) {
      std::abort();
    }
  }
}

}  // namespace fuzz
