// Reading of the hand-written TOML files of the simulated bench and units.
//
// Every problem is one Error whose text is "<file>:<line>: <problem>", or
// "<file>: cannot read the <kind> (<reason>)" for a file that cannot be read,
// so a library can print it as one line on stderr and fail its open call.
// Nothing falls back silently: an unknown key is an error, and so is a value
// of the wrong type or out of its range.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <toml++/toml.h>

namespace config {

struct Error : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The whole text of a regular file. A path that is missing, unreadable, a
// directory, a named pipe, a device or anything else but a regular file
// throws Error "<path>: cannot read the <kind> (<reason>)"; `kind` names the
// file for the user ("bench file").
std::string read_regular_file(const std::string& path, std::string_view kind);

class File {
 public:
  // Reads and parses the file; throws Error when it cannot be read (see
  // read_regular_file) or is not TOML.
  File(std::string path, std::string_view kind);
  // Parses `text` as the file `name` (for the fuzz targets); throws Error
  // when it is not TOML.
  static File from_text(std::string name, std::string_view text);

  const toml::table& root() const { return root_; }
  const std::string& path() const { return path_; }

  // Throws Error at the line of `at`.
  [[noreturn]] void fail(const toml::node& at, std::string_view problem) const;

  // Throws Error naming the first key of `t` that is not in `allowed`.
  void only_keys(const toml::table& t, std::initializer_list<std::string_view> allowed) const;

  // An integer in [lo, hi]; nullopt when the key is absent.
  std::optional<int64_t> integer(const toml::table& t, std::string_view key, int64_t lo, int64_t hi) const;
  // A number (integer or float) in [lo, hi]; nullopt when the key is absent.
  std::optional<double> number(const toml::table& t, std::string_view key, double lo, double hi) const;
  // A boolean; nullopt when the key is absent.
  std::optional<bool> boolean(const toml::table& t, std::string_view key) const;
  // A string; nullopt when the key is absent.
  std::optional<std::string> string(const toml::table& t, std::string_view key) const;
  // A list of integers, each in [lo, hi]; nullopt when the key is absent.
  std::optional<std::vector<int64_t>> integers(const toml::table& t, std::string_view key, int64_t lo,
                                               int64_t hi) const;
  // The tables of an array of tables (`[[key]]`); empty when absent.
  std::vector<const toml::table*> tables(const toml::table& t, std::string_view key) const;
  // A sub-table (`[key]`); nullptr when absent.
  const toml::table* table(const toml::table& t, std::string_view key) const;

 private:
  struct FromText {};
  File(FromText, std::string path, std::string_view text);

  std::string path_;
  toml::table root_;
};

}  // namespace config
