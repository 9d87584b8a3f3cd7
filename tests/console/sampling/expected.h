// What the sampling checks print, as the tests expect it: their texts, and
// the codes the bench gives (the scan pattern, input codes).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace sampling_test {

inline const std::string kEndOrAdjust = "\n調整を行う場合は\"C/c\"キーを、終了する場合は\"E/e\"キーを押して下さい。\n";
inline const std::string kStartPrompt =
    "サンプリングを開始するにはSキーを押して下さい。\nまたサンプリングを終了する時は何かキーを押して下さい。\n";
inline const std::string kGroupPrompt424 =
    "\tチャンネル０から１５をサンプリングする時は\"0\"キーを\n"
    "\tチャンネル１６から３１をサンプリング表示する時は\"1\"キーを\n"
    "\tまたサンプリングを終了する時は\"E/e\"キーを押して下さい。\n";
inline const std::string kGroupPrompt414 =
    "\tチャンネル０から１５をサンプリングする時は\"0\"キーを\n"
    "\tチャンネル１６から３１をサンプリング表示する時は\"1\"キーを\n"
    "\tチャンネル３２から４７をサンプリング表示する時は\"2\"キーを\n"
    "\tまたサンプリングを終了する時は\"E/e\"キーを押して下さい。\n";
inline const std::string kGroupPrompt428 =
    "\tチャンネル０から１５をサンプリングする時は\"0\"キーを\n"
    "\t１６から３１をサンプリング表示する時は\"1\"キーを\n"
    "\t３２から４７をサンプリング表示する時は\"2\"キーを\n"
    "\t４８から６３をサンプリング表示する時は\"3\"キーを\n"
    "\t６４から７９をサンプリング表示する時は\"4\"キーを\n"
    "\t８０から９５をサンプリング表示する時は\"5\"キーを\n"
    "\t９６から１１１をサンプリング表示する時は\"6\"キーを\n"
    "\t１１２から１２７をサンプリング表示する時は\"7\"キーを\n"
    "\tまたサンプリングを終了する時は\"E/e\"キーを押して下さい。\n";
inline const std::string kCountPrompt = "使用しているXB-300の枚数を入力して下さい。\n";
inline const std::string kBoardPrompt = "表示させたいＸＢ－３００ボード番号を０から７の間の値で指定して下さい。\n";
inline const std::string kRangeMessage = "入力範囲が指定された枚数を超えています。";
inline const std::string kHalfBlockError = "Sampling Error in half full sampling!!\n";
inline const std::string kScanError = "Sampling Error in not empty sampling!!\n";

inline std::string hex4(unsigned v) {
  char text[8];
  std::snprintf(text, sizeof text, "%04x ", v & 0xFFFF);
  return text;
}

// A dump as the sampling checks print it: "%04x " for each sample of a
// scan, a line end after each scan; with `headers`, vx428chk's board header
// before every 128th channel. code(r, k) is the code of channel k of scan r.
template <class Code>
std::string dump_of(int scans, int ch, bool headers, Code code) {
  std::string dump;
  for (int r = 0; r < scans; ++r) {
    for (int k = 0; k < ch; ++k) {
      if (headers && k % 128 == 0) dump += std::to_string(k / 128 + 1) + "枚目のデータです。\n";
      dump += hex4(static_cast<unsigned>(code(r, k)));
    }
    dump += "\n";
  }
  return dump;
}

// The dump of the bench's scan pattern: scan r, channel k reads
// (r mod 16) << 12 | k.
inline std::string pattern_dump(int scans, int ch, bool headers = false) {
  return dump_of(scans, ch, headers, [](int r, int k) { return (r % 16) << 12 | k; });
}

// The first line where two texts differ, for a readable failure; empty when
// they are the same.
inline std::string first_difference(const std::string& actual, const std::string& expected) {
  if (actual == expected) return "";
  size_t line = 1, start = 0, at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) {
    if (actual[at] == '\n') {
      ++line;
      start = at + 1;
    }
    ++at;
  }
  auto rest = [&](const std::string& text) {
    const size_t end = text.find('\n', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start + 1);
  };
  return "line " + std::to_string(line) + " is\n  " + rest(actual) + "\nnot\n  " + rest(expected);
}

// An adjustment line: "%02d-%04x " for channels first ... first + count - 1.
template <class Code>
std::string adjust_line(int first, int count, Code code) {
  std::string line;
  for (int i = first; i < first + count; ++i) {
    char entry[24];  // room for any int
    std::snprintf(entry, sizeof entry, "%02d-%04x ", i, static_cast<unsigned>(code(i)) & 0xFFFF);
    line += entry;
  }
  return line + "\n";
}

// Bench inputs whose DC level makes channel i read 0x8000 + i (offset
// binary, 312.5 uV a step), for the channels first ... first + count - 1.
inline std::string numbered_inputs(int first, int count) {
  std::string inputs;
  for (int i = first; i < first + count; ++i) {
    char text[96];
    std::snprintf(text, sizeof text, "[[board.input]]\nch = %d\ndc = %.4f\n", i, 0.3125 * i);
    inputs += text;
  }
  return inputs;
}

inline int numbered_code(int channel) { return 0x8000 + channel; }

inline std::string one_board(const std::string& model, const std::string& extra = "") {
  return "[[board]]\nslot = 0\nmodel = \"" + model + "\"\n" + extra;
}

}  // namespace sampling_test
