// Cost of one AppendLog as the log grows: with 10 blocks in the log and with
// 100,000. The log alone (a dialog that does nothing) and the real log box
// (QPlainTextEdit on the offscreen platform) are measured; the cost of one
// append should not depend on the number of blocks already there.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>

#include <memory>

#include "panel_window.h"
#include "qai_panel.h"

namespace panels {
namespace {

// A block of continuous reading, the log's usual growth.
constexpr const char* kBlock =
    "Ａ／Ｄ読み取り 複数ＣＨ・・・\r\n　関数呼び出し：ret = Qai8_Get_AdValue(RotSw, CH, AdVal[])\r\n"
    "　読み取り成功： 3200 -8000 12000 6400 -312 28800 0 -24000\r\n";

// Holds every block, so 100,000 of them stay in the log.
constexpr std::size_t kUncapped = std::size_t{1} << 30;

class NullPort : public DialogPort {
 public:
  std::string text(int) const override { return {}; }
  void set_text(int, std::string_view) override {}
  bool is_checked(int) const override { return false; }
  void repaint_indicators() override {}
  void append_text(int, std::string_view text) override { benchmark::DoNotOptimize(text.data()); }
  void remove_leading_lines(int, long) override {}
  bool edited_by_user(int) const override { return false; }
  void select_end(int) override {}
};

void BM_AppendLog(benchmark::State& state) {
  NullPort port;
  MessageLog log(port, ctl::kLog, kUncapped);
  for (int64_t i = 0; i < state.range(0); ++i) log.append(kBlock);
  for (auto _ : state) log.append(kBlock);
  state.counters["blocks"] = static_cast<double>(log.blocks());
}
BENCHMARK(BM_AppendLog)->Arg(10)->Arg(100000)->Iterations(20000);

// The log box of the real dialog, shown; the whole append as the handler
// makes it (insert at the end, caret to the end, scrolled into view).
void BM_AppendLogBox(benchmark::State& state) {
  PanelWindow window(kQaiTemplate);
  window.show();
  MessageLog log(window, ctl::kLog, state.range(1) != 0 ? MessageLog::kDefaultCapacity : kUncapped);
  for (int64_t i = 0; i < state.range(0); ++i) log.append(kBlock);
  QApplication::processEvents();
  for (auto _ : state) log.append(kBlock);
  state.counters["blocks"] = static_cast<double>(log.blocks());
}
// blocks in the log before, capped at 1 MiB (1) or not (0)
// Fixed iterations: the log is filled once per case, and the small log
// stays small (10 + 2,000 blocks at the end).
BENCHMARK(BM_AppendLogBox)
    ->Args({10, 0})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Iterations(2000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace panels

int main(int argc, char** argv) {
  // The figures are those of the offscreen platform, which needs no display.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
