#include "panel_text.h"

#include <charconv>
#include <cstring>
#include <limits>

namespace panels {
namespace {

struct ErrorEntry {
  int32_t code;
  const char* text;  // follows "<code>："
};

// Unit-library failure codes, as the maker's manual lists them.
constexpr ErrorEntry kErrors[] = {
    {-10, " バスI/Fの制御関数:LISTDEVICEの呼び出し失敗"},
    {-11, " バスI/Fの制御関数:OPENの呼び出し失敗"},
    {-12, " バスI/Fの制御関数:SETBITMODEの呼び出し失敗"},
    {-13, " バスI/Fの制御関数:GETBITMODEの呼び出し失敗"},
    {-14, " バスI/Fの制御関数:SETBAUDRATEの呼び出し失敗"},
    {-15, " バスI/Fの制御関数:SETDATACHARの呼び出し失敗"},
    {-16, " バスI/Fの制御関数:CLOSEの呼び出し失敗"},
    {-17, " バスI/Fの制御関数:SETTIMEOUTの呼び出し失敗"},
    {-18, " 本機ハードウェア内部で、データ読み込みに失敗"},
    {-19, " 本機ハードウェア内部で、データ読み込みに失敗（タイムアウト）"},
    {-21, " デバイスが見つからない（本機ユニットを認識できない）"},
    {-22, " ユニット番号の重複（同じユニット番号の本機が複数認識された）"},
    {-23, " 本機ハードウェア内部で、ステートが異常"},
    {-24, " 本機ハードウェア内部で、デバイスが選択されていない"},
    {-30, " 本機ハードウェア内部で、ファームに対するコマンドが異常"},
    {-40, " 入力されたパラメータ（引数）の不適切"},
    {-41, " バスI/Fの制御関数:GETMODEMSTATUSの呼び出し失敗"},
    {-51, " 本機ハードウェア内部で、電源異常が発生"},
    {-52, " 本機の電源が未軌道"},
    {-53, " バスI/Fの制御関数:SETDTRの呼び出し失敗"},
    {-54, " バスI/Fの制御関数:SETRTSの呼び出し失敗"},
    {-60, " 本機ハードウェア内部で、デフォルト値設定異常"},
};

constexpr const char* kUndefined = "未定義エラー";

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

std::string ErrorText(int32_t code) {
  std::string text = decimal(code) + "：";
  for (const ErrorEntry& e : kErrors) {
    if (e.code == code) return text + e.text;
  }
  return text + kUndefined;
}

int32_t parse_leading_int(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && is_space(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Magnitude in 64 bits, held at 2^31 once it gets there, so that any
  // number of digits ends in the saturated value.
  constexpr int64_t kLimit = int64_t{1} << 31;
  int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > kLimit) magnitude = kLimit;
  }
  const int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value);
}

std::string buffer_text(const char* buffer, std::size_t size) {
  const void* nul = std::memchr(buffer, '\0', size);
  const std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - buffer) : size;
  return std::string(buffer, length);
}

std::string decimal(int32_t value) {
  char digits[16];
  const auto r = std::to_chars(digits, digits + sizeof digits, value);
  return std::string(digits, r.ptr);
}

std::string upper_hex(uint32_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  char digits[8];
  int n = 0;
  do {
    digits[7 - n++] = kDigits[value & 0xF];
    value >>= 4;
  } while (value != 0);
  return std::string(digits + 8 - n, static_cast<std::size_t>(n));
}

}  // namespace panels
