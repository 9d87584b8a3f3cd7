// Wall time against board time of each self-test on its default bench (all
// in virtual time: hm230diag's three boards take about 120 s of board time,
// most of it filling and draining 24M words one by one), and of the thirteen
// one after another. Each run is a child process; board_ms is the bench's
// virtual clock at its exit (REGIO_CLOCK_FILE), board_per_wall how many
// times faster than the boards the run went. hm230diag should stay under
// 3 s of wall time in a plain build, the thirteen together under 10 s.
//
//   build/default/bin/selftest_bench
#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <string>

#include "run_program.h"

namespace {

const char* const kPrograms[] = {"hm236diag", "vx420diag", "vx414diag",  "vx424diag", "hm230diag",
                                 "vx412diag", "vx418diag", "vx424bdiag", "vx416diag", "hm232diag",
                                 "hm234diag", "vx410diag", "vx422diag"};

const std::string kClockFile = testing_support::scratch_file("board-clock", "");

// One run; returns its board time in ms, or a negative value after a failure.
double run_once(const char* program, benchmark::State& state) {
  const auto r = testing_support::run({.program = program, .trace = false, .env = {"REGIO_CLOCK_FILE=" + kClockFile}});
  if (r.status != 255 || r.out.find("異常です") != std::string::npos) {
    state.SkipWithError((std::string(program) + " did not pass its default bench").c_str());
    return -1;
  }
  std::ifstream in(kClockFile);
  unsigned long long ns = 0;
  in >> ns;
  return static_cast<double>(ns) / 1e6;
}

void report(benchmark::State& state, double board_ms, double wall_ms) {
  state.counters["board_ms"] = board_ms;
  state.counters["board_per_wall"] = wall_ms > 0 ? board_ms / wall_ms : 0;
}

double wall_ms_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void BM_FullRun(benchmark::State& state, const char* program) {
  double board_ms = 0, wall_ms = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    board_ms = run_once(program, state);
    wall_ms = wall_ms_since(start);
  }
  report(state, board_ms, wall_ms);
}

void BM_ThirteenTogether(benchmark::State& state) {
  double board_ms = 0, wall_ms = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    board_ms = 0;
    for (const char* program : kPrograms) board_ms += run_once(program, state);
    wall_ms = wall_ms_since(start);
  }
  report(state, board_ms, wall_ms);
}

const bool kRegistered = [] {
  for (const char* program : kPrograms) {
    benchmark::RegisterBenchmark((std::string("BM_FullRun/") + program).c_str(), BM_FullRun, program)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  benchmark::RegisterBenchmark("BM_ThirteenTogether", BM_ThirteenTogether)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  return true;
}();

}  // namespace

BENCHMARK_MAIN();
