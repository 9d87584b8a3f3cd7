// Speed of the bench in virtual time, in the two cases that weigh most: a
// status poll that a program traces (one folded trace line for a million
// reads), and the slowest self-test there is, an HM-230-16MW filled by
// pacing and drained sample by sample with a tick read in every poll.
//
//   build/default/bin/regio_bench_speed
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <string>

#include "bench_fixture.h"
#include "regio32.h"

namespace {

int32_t open_one(const std::string& model, bool traced) {
  setenv("REGIO_BENCH", regio_test::write_file("speed.toml", regio_test::one_board(model)).c_str(), 1);
  if (traced) {
    setenv("REGIO_TRACE", (regio_test::scratch_dir() + "/speed.trace").c_str(), 1);
  } else {
    unsetenv("REGIO_TRACE");
  }
  int32_t table[REGIO_SLOTS] = {-1, -1, -1, -1, -1, -1, -1, -1};
  int32_t base = 0;
  if (Open_Driver(table) != 0 || Start_Driver(0, 2, &base) != 0) return -1;
  return base;
}

// A status wait of 2 s virtual time (each read followed by a 1 µs step), traced.
void BM_TracedPoll(benchmark::State& state) {
  constexpr int kReads = 1'000'000;
  for (auto _ : state) {
    const int32_t base = open_one("VX-426", true);
    if (base < 0) state.SkipWithError("the bench did not open");
    for (int i = 0; i < kReads; ++i) {
      benchmark::DoNotOptimize(ReadWord(base, 0x0A));
      Regio_Clock_ns(1000);
    }
    Close_Driver();
  }
  state.SetItemsProcessed(state.iterations() * kReads);
}
BENCHMARK(BM_TracedPoll)->Unit(benchmark::kMillisecond);

uint32_t tick() { return Regio_Tick_ms(); }

// The 16M-word FIFO filled by the pacer and read empty, one sample per
// status poll, as the HM-230 self-test's FIFO count does.
void BM_SixteenMegawords(benchmark::State& state) {
  int64_t samples = 0;
  for (auto _ : state) {
    const int32_t base = open_one("HM-230-16MW", false);
    if (base < 0) state.SkipWithError("the bench did not open");
    ReadWord(base, 0x0E);
    WriteWord(base, 0x00, 0x0007);
    WriteWord(base, 0x10, 0x00);
    WriteWord(base, 0x12, 0x02A8);
    WriteWord(base, 0x12, 0x0000);
    WriteWord(base, 0x06, 0x81);
    while ((ReadWord(base, 0x0A) & 0x04) == 0) tick();  // full
    WriteWord(base, 0x06, 0x00);
    do {
      ReadWord(base, 0x00);
      ++samples;
      tick();
    } while ((ReadWord(base, 0x0A) & 0x01) != 0);  // until empty
    Close_Driver();
  }
  state.SetItemsProcessed(samples);
}
BENCHMARK(BM_SixteenMegawords)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
