// What a self-test prints for one board, written from the steps of the
// sequence: a healthy board's transcript from the few values in which the
// programs and models differ, and a line-by-line comparison in which '#'
// stands for a decimal number (the memory counts of a wait, which follow
// the polls).
#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace selftest_text {

inline const std::string kMegaFifoNotice = "\nメガＦＩＦＯチェック中なので、もうしばらく時間が必要です。\n";
inline const std::string kLargeMemoryNotice = "大容量メモリのチェックを行っています。もうしばらくお待ち下さい。\n";

// One healthy board of a program's default bench.
struct Healthy {
  const char* program;
  const char* model;
  const char* id;  // the frame's board ID (and switch) text
  // Status values as printed; between: the check between the clock runs, none for nullptr.
  const char* reset;
  const char* manual;
  const char* read;
  const char* between;
  const char* full;
  const char* cleared;
  const char* trigger_disabled;  // vx410diag's check after the trigger disable
  const char* base_clock;
  const char* second_clock;
  // HM model: the memory count after the manual sampling (nullptr: no memory
  // lines), the dots of the full sampling's wait with a count each, "\n"
  // after "サンプリング中．．．", the count after the full sampling.
  const char* memory;
  int progress;
  bool line_break;
  const char* memory_full;
  // The FIFO count: what its first 5000 ms tick prints (nullptr: it ends before), FULL and HALF.
  const std::string* notice;
  const char* fifo_full;
  const char* fifo_half;
  const char* flags;  // the final flag report
  bool counter_test;
};

// The sets of values the boards share.
#define BYTE_83 "02", "83", "82", "82", "a5", "01", nullptr
#define BYTE_8B "02", "8b", "8a", "8a", "ad", "01", nullptr
#define WORD_83 "1202", "1283", "1282", "1282", "12a5", "1201", nullptr
#define WORD_A7 "1202", "1283", "1282", "1282", "12a7", "1201", nullptr
#define CLOCKS_10 "１０ＭＨｚ", "８．１９２ＭＨｚ"
#define CLOCKS_40 "４０ＭＨｚ", "３２．７６８ＭＨｚ"
#define NO_MEMORY nullptr, 0, false, nullptr
#define FIFO_1024 nullptr, "1024", "511"
#define SWITCH(id) "ボードID(" id "H)は正常で、ボード番号設定は(0)です。\n"

// The word boards' status reads 0x12 in its high byte, which the word
// programs show and mask off; the VX-410's bit 0x100 (latched by the
// manual sampling) is removed from every read. Status bit 3 is raised by
// the VX-420, VX-422, VX-424B, HM-232 and HM-234: vx420diag, vx424bdiag and
// hm234diag expect it, hm232diag and vx422diag take it off the value shown.
//
// HM boards: the full sampling fills 8M (16M) words at the pacer's rate; a
// dot with the memory count comes every 5001 ms of it (the tick has to pass
// the period). HM-236: 10 MHz / 3200 x 32 channels, 100000 words/s, 83.9 s,
// 16 dots. HM-232: the clock test left the 8.192 MHz clock selected, / 1280
// x 16 channels, 102400 words/s, 81.9 s, 16 dots. HM-234: 8.192 MHz / 3200 x
// 16, 40960 words/s, 204.8 s, 40 dots. HM-230: 40 MHz / 680 x 8, 470588
// words/s: 8M words in 17.8 s, 3 dots; 16M words in 35.7 s, 7 dots. The FIFO
// count drains half the store sample by sample, 1.5 us a sample on the byte
// map (three accesses of 500 ns), 1 us on the word map: 4M samples take 6.3 s
// on the byte boards (the notice, no dot), 4.2 s on the HM-230-8MW (none),
// and 8M samples 8.4 s on the HM-230-16MW (the notice); the second half
// comes within the data count's 10000 ms everywhere.
//
// clang-format off
inline const Healthy kHealthy[] = {
// program       model          ID text          reset ... cleared, trigger  clocks     HM: memory, dots, "\n", full memory            FIFO count: notice, FULL, HALF         flags   counter
{ "hm236diag",  "HM-236",      SWITCH("13"),     BYTE_83,                    CLOCKS_10, "1", 16, false, "8388608",                   &kMegaFifoNotice, "8388608", "4194303",   "02",   false },
{ "hm236diag",  "VX-428",      SWITCH("13"),     BYTE_83,                    CLOCKS_10, NO_MEMORY,                                   FIFO_1024,                              "02",   false },
{ "vx420diag",  "VX-420",      SWITCH("0e"),     "02", "8b", "8a", nullptr, "ad", "01", nullptr,
                                                                             CLOCKS_10, NO_MEMORY,                                   FIFO_1024,                              "02",   false },
{ "vx414diag",  "VX-414",      "ボードID(0bH)は正常で、", WORD_A7,           CLOCKS_10, NO_MEMORY,                                   FIFO_1024,                              "0002", false },
{ "vx424diag",  "VX-424",      SWITCH("11"),     BYTE_83,                    CLOCKS_10, NO_MEMORY,                                   FIFO_1024,                              "02",   false },
{ "hm230diag",  "HM-230-8MW",  SWITCH("15"),     "1202", "1283", "1282", nullptr, "12a5", "1201", nullptr,
                                                                             CLOCKS_40, "1", 3, true, "8388608",                     nullptr, "8388608", "4194303",          "0002", false },
{ "hm230diag",  "HM-230-16MW", SWITCH("15"),     "1202", "1283", "1282", nullptr, "12a5", "1201", nullptr,
                                                                             CLOCKS_40, "1", 7, true, "16777216",                    &kLargeMemoryNotice, "16777216", "8388607", "0002", false },
{ "hm230diag",  "VX-426",      SWITCH("15"),     "1202", "1283", "1282", nullptr, "12a5", "1201", nullptr,
                                                                             CLOCKS_40, NO_MEMORY,                                   FIFO_1024,                              "0002", false },
{ "vx412diag",  "VX-412",      "ボードID(0aH)は正常で、", WORD_A7,           CLOCKS_10, NO_MEMORY,                                   FIFO_1024,                              "0002", false },
{ "vx418diag",  "VX-418",      SWITCH("14"),     WORD_83,                    CLOCKS_40, NO_MEMORY,                                   FIFO_1024,                              "0002", false },
{ "vx424bdiag", "VX-424B",     SWITCH("11"),     BYTE_8B,                    CLOCKS_10, NO_MEMORY,                                   FIFO_1024,                              "02",   false },
{ "vx416diag",  "VX-416",      SWITCH("2a"),     BYTE_83,                    CLOCKS_10, NO_MEMORY,                                   FIFO_1024,                              "02",   false },
{ "hm232diag",  "HM-232",      SWITCH("0e"),     BYTE_83,                    CLOCKS_10, "1", 16, true, "8388608",                    &kMegaFifoNotice, "8388608", "4194303",   "02",   false },
{ "hm232diag",  "VX-420",      SWITCH("0e"),     BYTE_83,                    CLOCKS_10, NO_MEMORY,                                   FIFO_1024,                              "02",   false },
{ "hm234diag",  "HM-234",      SWITCH("0f"),     BYTE_8B,                    CLOCKS_10, "1", 40, true, "8388608",                    &kMegaFifoNotice, "8388608", "4194303",   "02",   false },
{ "hm234diag",  "VX-422",      SWITCH("0f"),     BYTE_8B,                    CLOCKS_10, NO_MEMORY,                                   FIFO_1024,                              "02",   false },
{ "vx410diag",  "VX-410",      "ボードID(=16H)は正常で、ボード番号設定は(0)です。\n",
                                                 "0002", "0083", "0082", "0082", "00b5", "0011", "0001",
                                                                             CLOCKS_40, NO_MEMORY,                                   nullptr, "4096", "2047",                "0002", true  },
{ "vx422diag",  "VX-422",      SWITCH("0f"),     BYTE_83,                    CLOCKS_10, NO_MEMORY,                                   FIFO_1024,                              "02",   false },
};
// clang-format on

#undef BYTE_83
#undef BYTE_8B
#undef WORD_83
#undef WORD_A7
#undef CLOCKS_10
#undef CLOCKS_40
#undef NO_MEMORY
#undef FIFO_1024
#undef SWITCH

inline const Healthy& healthy(const std::string& program, const std::string& model) {
  for (const Healthy& h : kHealthy) {
    if (program == h.program && model == h.model) return h;
  }
  throw std::string("no healthy transcript of ") + program + " on " + model;
}

inline std::string normal(const std::string& label, const std::string& value) {
  return label + "(" + value + "H)は正常です。\n";
}

inline std::string memory_line(const std::string& count) {
  return "現在のメモリ内データは " + count + " ワードです。\n";
}

inline std::string clock_run(const std::string& label) {
  return label + "クロックのテスト中．．．終了しました。\nクロック数(11)、データ数(11)は正常です。\n";
}

// What the stages print for a healthy board, after the frame's texts.
inline std::string stages(const Healthy& h) {
  std::string t = normal("リセット時のステータス", h.reset);
  t += normal("マニュアル・サンプリング後のステータス", h.manual);
  if (h.memory != nullptr) t += memory_line(h.memory);
  t += normal("データ読み取り後のステータス", h.read);
  t += clock_run(h.base_clock);
  if (h.between != nullptr) t += normal("ステータス", h.between);
  t += clock_run(h.second_clock);
  t += "サンプリング中．．．";
  if (h.line_break) t += "\n";
  for (int i = 0; i < h.progress; ++i) t += "．" + memory_line("#");
  t += "終了しました。\n";
  t += normal("サンプリング後のステータス", h.full);
  if (h.memory_full != nullptr) t += memory_line(h.memory_full);
  t += normal("フラグ・クリア後のステータス", h.cleared);
  if (h.trigger_disabled != nullptr) t += normal("トリガ禁止後のステータス", h.trigger_disabled);
  t += "ＦＩＦＯカウント中．．．" + (h.notice != nullptr ? *h.notice : std::string()) + "終了しました。\n";
  t += std::string("FULL =（") + h.fifo_full + ") HALF = (" + h.fifo_half + ")です。\n";
  t += std::string("フラグは(") + h.flags + "H)です。\n";
  if (h.counter_test) t += "カウンタのテスト中．．．終了しました。\nデータ数(100)は正常です。\n";
  return t;
}

inline std::string heading(int k) { return std::to_string(k) + "枚目のボードのチェックをします。\n"; }

// Board k (from 1) of a program's run: the frame's heading, the twin-model
// line where the program has one, its ID text, then the stages.
inline std::string board(const Healthy& h, int k, bool twin) {
  std::string t = heading(k);
  if (twin) t += std::to_string(k) + "枚目のボードは" + h.model + "です。\n";
  return t + h.id + stages(h);
}

// The output from board k's heading up to the next board's (or the end).
inline std::string board_part(const std::string& out, int k) {
  const size_t at = out.find(heading(k));
  if (at == std::string::npos) return "";
  const size_t next = out.find(heading(k + 1), at);
  return out.substr(at, next == std::string::npos ? std::string::npos : next - at);
}

inline std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  size_t from = 0;
  while (from < text.size()) {
    const size_t end = text.find('\n', from);
    if (end == std::string::npos) {
      out.push_back(text.substr(from) + "  (no line end)");
      break;
    }
    out.push_back(text.substr(from, end - from));
    from = end + 1;
  }
  return out;
}

// A line against its expected text, in which '#' takes one or more digits.
inline bool line_matches(const std::string& line, const std::string& expected) {
  size_t i = 0;
  for (size_t j = 0; j < expected.size(); ++j) {
    if (expected[j] == '#') {
      const size_t start = i;
      while (i < line.size() && line[i] >= '0' && line[i] <= '9') ++i;
      if (i == start) return false;
    } else if (i >= line.size() || line[i++] != expected[j]) {
      return false;
    }
  }
  return i == line.size();
}

// "" when the text matches line by line, else the first difference.
inline std::string first_difference(const std::string& actual, const std::string& expected) {
  const std::vector<std::string> a = lines(actual), e = lines(expected);
  for (size_t n = 0; n < std::max(a.size(), e.size()); ++n) {
    const std::string got = n < a.size() ? a[n] : "(no line)";
    const std::string want = n < e.size() ? e[n] : "(no line)";
    if (n >= a.size() || n >= e.size() || !line_matches(got, want)) {
      return "line " + std::to_string(n + 1) + " is\n  " + got + "\nnot\n  " + want + "\n";
    }
  }
  return "";
}

}  // namespace selftest_text
