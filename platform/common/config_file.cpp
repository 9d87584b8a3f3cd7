#include "config_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>

namespace config {

namespace {

// The problem stays on one line: a control character in it (the TOML
// reader's "saw 't<newline>'", a key or model name written with "\n") is
// shown escaped.
std::string located(const std::string& path, uint32_t line, std::string_view problem) {
  std::ostringstream text;
  text << path << ':' << line << ": ";
  for (const char c : problem) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') {
      text << "\\n";
    } else if (c == '\r') {
      text << "\\r";
    } else if (c == '\t') {
      text << "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      static constexpr char kHex[] = "0123456789ABCDEF";
      text << "\\x" << kHex[byte >> 4] << kHex[byte & 0xF];
    } else {
      text << c;
    }
  }
  return text.str();
}

std::string range_text(int64_t lo, int64_t hi) {
  std::ostringstream text;
  text << lo << " to " << hi;
  return text.str();
}

}  // namespace

std::string read_regular_file(const std::string& path, std::string_view kind) {
  auto unreadable = [&](std::string_view reason) {
    return Error(path + ": cannot read the " + std::string(kind) + " (" + std::string(reason) + ")");
  };
  // The kind of file is checked on the open descriptor, not on the path
  // beforehand, and a named pipe must not block the open itself.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) throw unreadable(std::strerror(errno));
  struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
  } closer{fd};
  struct stat info {};
  if (::fstat(fd, &info) != 0) throw unreadable(std::strerror(errno));
  if (S_ISDIR(info.st_mode)) throw unreadable(std::strerror(EISDIR));
  if (!S_ISREG(info.st_mode)) throw unreadable("Not a regular file");
  std::string text;
  char chunk[16384];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n > 0) {
      text.append(chunk, static_cast<size_t>(n));
    } else if (n == 0) {
      return text;
    } else if (errno != EINTR) {
      throw unreadable(std::strerror(errno));
    }
  }
}

File::File(std::string path, std::string_view kind) : File(FromText{}, path, read_regular_file(path, kind)) {}

File File::from_text(std::string name, std::string_view text) { return File(FromText{}, std::move(name), text); }

File::File(FromText, std::string path, std::string_view text) : path_(std::move(path)) {
  try {
    root_ = toml::parse(text, path_);
  } catch (const toml::parse_error& e) {
    throw Error(located(path_, e.source().begin.line, e.description()));
  }
}

void File::fail(const toml::node& at, std::string_view problem) const {
  throw Error(located(path_, at.source().begin.line, problem));
}

void File::only_keys(const toml::table& t, std::initializer_list<std::string_view> allowed) const {
  for (const auto& [key, value] : t) {
    bool known = false;
    for (std::string_view name : allowed) known = known || key.str() == name;
    if (!known) {
      throw Error(located(path_, key.source().begin.line, "unknown key '" + std::string(key.str()) + "'"));
    }
  }
}

std::optional<int64_t> File::integer(const toml::table& t, std::string_view key, int64_t lo, int64_t hi) const {
  const toml::node* node = t.get(key);
  if (node == nullptr) return std::nullopt;
  const auto value = node->value<int64_t>();
  if (!node->is_integer() || !value) fail(*node, "'" + std::string(key) + "' must be an integer");
  if (*value < lo || *value > hi) {
    fail(*node, "'" + std::string(key) + "' is out of range (" + range_text(lo, hi) + ")");
  }
  return value;
}

std::optional<double> File::number(const toml::table& t, std::string_view key, double lo, double hi) const {
  const toml::node* node = t.get(key);
  if (node == nullptr) return std::nullopt;
  if (!node->is_number()) fail(*node, "'" + std::string(key) + "' must be a number");
  const double value = *node->value<double>();
  if (!(value >= lo && value <= hi)) {  // also refuses nan
    std::ostringstream range;
    range << lo << " to " << hi;
    fail(*node, "'" + std::string(key) + "' is out of range (" + range.str() + ")");
  }
  return value;
}

std::optional<bool> File::boolean(const toml::table& t, std::string_view key) const {
  const toml::node* node = t.get(key);
  if (node == nullptr) return std::nullopt;
  if (!node->is_boolean()) fail(*node, "'" + std::string(key) + "' must be true or false");
  return *node->value<bool>();
}

std::optional<std::string> File::string(const toml::table& t, std::string_view key) const {
  const toml::node* node = t.get(key);
  if (node == nullptr) return std::nullopt;
  if (!node->is_string()) fail(*node, "'" + std::string(key) + "' must be a string");
  return *node->value<std::string>();
}

std::optional<std::vector<int64_t>> File::integers(const toml::table& t, std::string_view key, int64_t lo,
                                                   int64_t hi) const {
  const toml::node* node = t.get(key);
  if (node == nullptr) return std::nullopt;
  const toml::array* list = node->as_array();
  if (list == nullptr) fail(*node, "'" + std::string(key) + "' must be a list of integers");
  std::vector<int64_t> values;
  for (const toml::node& item : *list) {
    if (!item.is_integer()) fail(item, "'" + std::string(key) + "' must hold integers only");
    const int64_t value = *item.value<int64_t>();
    if (value < lo || value > hi) {
      fail(item, "a value of '" + std::string(key) + "' is out of range (" + range_text(lo, hi) + ")");
    }
    values.push_back(value);
  }
  return values;
}

std::vector<const toml::table*> File::tables(const toml::table& t, std::string_view key) const {
  std::vector<const toml::table*> found;
  const toml::node* node = t.get(key);
  if (node == nullptr) return found;
  const toml::array* list = node->as_array();
  if (list == nullptr || !list->is_array_of_tables()) {
    fail(*node, "'" + std::string(key) + "' must be written as [[" + std::string(key) + "]]");
  }
  for (const toml::node& item : *list) found.push_back(item.as_table());
  return found;
}

const toml::table* File::table(const toml::table& t, std::string_view key) const {
  const toml::node* node = t.get(key);
  if (node == nullptr) return nullptr;
  if (!node->is_table()) fail(*node, "'" + std::string(key) + "' must be a table [" + std::string(key) + "]");
  return node->as_table();
}

}  // namespace config
