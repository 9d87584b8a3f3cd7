#include "verdict.h"

#include <array>
#include <regex>

namespace verdict {

namespace {

// English names of the check labels the programs print.
struct Name {
  std::string_view label;
  std::string_view english;
};
constexpr Name kNames[] = {
    {"リセット時のステータス", "status at reset"},
    {"マニュアル・サンプリング後のステータス", "status after manual sampling"},
    {"データ読み取り後のステータス", "status after data read"},
    {"ステータス", "status between clock runs"},
    {"サンプリング後のステータス", "status after full sampling"},
    {"フラグ・クリア後のステータス", "status after flag clear"},
    {"トリガ禁止後のステータス", "status after trigger disable"},
    {"サンプリングスタート時のステータス", "status at sampling start"},
    {"サンプリング終了時のステータス", "status at sampling end"},
    {"終了フラグクリア時のステータス", "status after end-flag clear"},
    {"ＦＩＦＯクリア時のステータス", "status after FIFO clear"},
    {"１０ＭＨｚ", "clock 10 MHz"},
    {"８．１９２ＭＨｚ", "clock 8.192 MHz"},
    {"４０ＭＨｚ", "clock 40 MHz"},
    {"３２．７６８ＭＨｚ", "clock 32.768 MHz"},
};

std::string english(std::string_view label) {
  for (const Name& n : kNames) {
    if (n.label == label) return std::string(n.english);
  }
  return "check '" + std::string(label) + "'";
}

// The DX-510's status tests print no expected value; these are its table.
struct DxStatus {
  std::string_view label;
  std::string_view expected;
};
constexpr DxStatus kDxStatus[] = {
    {"リセット時のステータス", "06"},         {"サンプリングスタート時のステータス", "47"},
    {"サンプリング終了時のステータス", "c7"}, {"終了フラグクリア時のステータス", "07"},
    {"ＦＩＦＯクリア時のステータス", "06"},
};

enum Token {
  kBoardHeading,
  kDxHeading,
  kModel,
  kIdMatch,
  kIdMismatch,
  kClock,
  kCounter,
  kStatus,
  kFifoCount,
  kDxHalf,
  kDxCounter,
  kFinalFlags,
  kNotFound,
  kDriverError,
  kTokens
};

// One pattern per kind of line; where two match at the same place, the
// earlier in this table wins.
const std::array<std::regex, kTokens>& patterns() {
  static const std::array<std::regex, kTokens> p = {
      std::regex("([0-9]+)枚目のボードのチェックをします。\n"),
      std::regex("([0-9]+)番目に検出されたボードのチェックをします。\n"),
      std::regex("[0-9]+枚目のボードは([^\n]*)です。\n"),
      std::regex("ボードID\\(=?([0-9a-f]+)H\\)は正常で、"),
      std::regex("ボードID\\(=?([0-9a-f]+)H\\)(は|が)異常です。\n"),
      std::regex("([^\n]*)クロックのテスト中[^\n]*\nクロック数\\((-?[0-9]+)\\)、データ数\\((-?[0-9]+)\\)は"
                 "(正常です。\n|\n\t異常です。\n)"),
      std::regex("カウンタのテスト中[^\n]*\nデータ数\\((-?[0-9]+)\\)は(正常です。|異常です。)\n"),
      std::regex("\\(([0-9a-f]+)H\\)は(正常です。\n|異常です。\n(\t期待値は\\(([0-9a-f]+)H\\)です。\n)?)"),
      std::regex("FULL =（(-?[0-9]+)\\) HALF = \\((-?[0-9]+)\\)です。\n"),
      std::regex("FIFO HALF = \\((-?[0-9]+)\\)です。\n"),
      std::regex("ｶｳﾝﾀ値は \\((-?[0-9]+)\\) (正常です。|異常です。\\((-?[0-9]+)\\) )\n"),
      std::regex("フラグは\\(([0-9a-f]+)H\\)です。\n"),
      std::regex("([^\n]*)が検出できません。\n"),
      std::regex("([A-Za-z_]+)でエラー\\((-?[0-9]+)\\)が発生しました。\n"),
  };
  return p;
}

using Iterator = std::string_view::const_iterator;
using Match = std::match_results<Iterator>;

class Reader {
 public:
  explicit Reader(std::string_view out) : out_(out) {}

  Report read() {
    // The next match of every pattern from the read position on, searched
    // again only once the position has passed its start.
    Iterator at = out_.begin();
    std::array<Match, kTokens> next;
    std::array<bool, kTokens> searched{}, left{};
    for (;;) {
      int best = -1;
      for (int t = 0; t < kTokens; ++t) {
        if (!searched[t] || (left[t] && next[t][0].first < at)) {
          left[t] = std::regex_search(at, out_.end(), next[t], patterns()[t]);
          searched[t] = true;
        }
        if (!left[t]) continue;
        if (best < 0 || next[t][0].first < next[best][0].first) best = t;
      }
      if (best < 0) break;
      const Match m = next[best];
      take(static_cast<Token>(best), m, at);
      at = m[0].second;
    }
    finish();
    return std::move(report_);
  }

 private:
  Board& board() {
    if (report_.boards.empty()) report_.boards.push_back(Board{1, "", {}});
    return report_.boards.back();
  }

  void add(Check c) { board().checks.push_back(std::move(c)); }

  // The label of a status check: its line, from the last thing read.
  std::string label_before(Iterator from, Iterator to) const {
    Iterator start = from;
    for (Iterator i = from; i != to; ++i) {
      if (*i == '\n') start = i + 1;
    }
    return std::string(start, to);
  }

  void take(Token token, const Match& m, Iterator from) {
    switch (token) {
      case kBoardHeading:
      case kDxHeading:
        report_.boards.push_back(Board{std::stoi(m[1].str()), "", {}});
        dx510_ = token == kDxHeading;
        break;
      case kModel: board().model = m[1].str(); break;
      case kIdMatch: add({"board ID", "ボードID", m[1].str(), "", Result::Normal}); break;
      case kIdMismatch:
        add({"board ID", "ボードID", m[1].str(), "", Result::Abnormal});
        report_.problems.push_back("board " + std::to_string(board().number) + ": board ID " + m[1].str() +
                                   " is not this program's board");
        break;
      case kClock: {
        const bool normal = m[4].str().rfind("正常", 0) == 0;
        add({english(m[1].str()), m[1].str(), "K=" + m[2].str() + " D=" + m[3].str(), "K=11 D=11",
             normal ? Result::Normal : Result::Abnormal});
        break;
      }
      case kCounter:
        add({"counted run", "カウンタのテスト", "D=" + m[1].str(), "D=100",
             m[2].str() == "正常です。" ? Result::Normal : Result::Abnormal});
        break;
      case kStatus: {
        const std::string label = label_before(from, m[0].first);
        const bool normal = m[2].str() == "正常です。\n";
        std::string expected = m[4].matched ? m[4].str() : "";
        if (dx510_) {
          for (const DxStatus& d : kDxStatus) {
            if (d.label == label) expected = d.expected;
          }
        }
        add({english(label), label, m[1].str(), expected, normal ? Result::Normal : Result::Abnormal});
        break;
      }
      case kFifoCount:
        add({"FIFO count", "FULL/HALF", "FULL=" + m[1].str() + " HALF=" + m[2].str(), "", Result::Info});
        break;
      case kDxHalf: add({"FIFO half full", "FIFO HALF", "n=" + m[1].str(), "", Result::Info}); break;
      case kDxCounter: {
        const bool normal = m[2].str() == "正常です。";
        add({"counter", "ｶｳﾝﾀ値", normal ? "n=" + m[1].str() : "n=" + m[3].str(), "n=" + m[1].str(),
             normal ? Result::Normal : Result::Abnormal});
        break;
      }
      case kFinalFlags: add({"flags at the end", "フラグ", m[1].str(), "", Result::Info}); break;
      case kNotFound: report_.problems.push_back("no " + m[1].str() + " board found"); break;
      case kDriverError: report_.problems.push_back(m[1].str() + " failed with code " + m[2].str()); break;
      case kTokens: break;
    }
  }

  // A DX-510 board whose FIFO never reached half full has no counter check:
  // it did not pass.
  void finish() {
    if (!dx510_) return;
    for (Board& b : report_.boards) {
      bool counted = false;
      for (const Check& c : b.checks) counted = counted || c.name == "counter";
      bool id_ok = false;
      for (const Check& c : b.checks) id_ok = id_ok || (c.name == "board ID" && c.result == Result::Normal);
      if (id_ok && !counted) {
        b.checks.push_back({"FIFO half full", "FIFO HALF", "not reached", "reached", Result::Abnormal});
      }
    }
  }

  std::string_view out_;
  Report report_;
  bool dx510_ = false;
};

}  // namespace

Report read_output(std::string_view out) { return Reader(out).read(); }

int exit_code(const Report& report, int program_status) {
  // the board-loop programs end through the close-and-exit routine: -1
  if (!report.problems.empty() || program_status != 255 || report.boards.empty()) return 2;
  for (const Board& b : report.boards) {
    for (const Check& c : b.checks) {
      if (c.result == Result::Abnormal) return 1;
    }
  }
  return 0;
}

}  // namespace verdict
