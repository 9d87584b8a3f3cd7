// Wall time and board time of a full run of each sampling check on its
// default bench: title to dump, then 'E' at the end-or-adjust prompt
// (vx428chk: one XB-300, and all eight). Each run is a child process;
// board_ms is the bench's virtual clock at its exit (REGIO_CLOCK_FILE).
// The eleven together should stay well under 5 s of wall time.
//
//   build/default/bin/sampling_bench
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

#include "run_program.h"

namespace {

struct Member {
  const char* program;
  const char* keys;
};

const Member kMembers[] = {
    {"vx424chk", "E"}, {"hm230chk", "E"}, {"vx412chk", "E"},  {"vx420chk", "E"}, {"vx416chk", "E"}, {"vx422chk", "E"},
    {"vx414chk", "E"}, {"vx410chk", "E"}, {"vx428chk", "1E"}, {"vx418chk", "E"}, {"vx426chk", "E"},
};

const std::string kClockFile = testing_support::scratch_file("board-clock", "");

// One run; returns its board time in ms, or a negative value after a failure.
double run_once(const Member& m, benchmark::State& state) {
  const auto r = testing_support::run(
      {.program = m.program, .keys = m.keys, .trace = false, .env = {"REGIO_CLOCK_FILE=" + kClockFile}});
  if (r.status != 0 || r.out.find("Error") != std::string::npos) {
    state.SkipWithError((std::string(m.program) + " did not run to its end").c_str());
    return -1;
  }
  std::ifstream in(kClockFile);
  unsigned long long ns = 0;
  in >> ns;
  return static_cast<double>(ns) / 1e6;
}

void BM_FullRun(benchmark::State& state, Member m) {
  double board_ms = 0;
  for (auto _ : state) board_ms = run_once(m, state);
  state.counters["board_ms"] = board_ms;
}

void BM_ElevenTogether(benchmark::State& state) {
  double board_ms = 0;
  for (auto _ : state) {
    board_ms = 0;
    for (const Member& m : kMembers) board_ms += run_once(m, state);
  }
  state.counters["board_ms"] = board_ms;
}

const bool kRegistered = [] {
  for (const Member& m : kMembers) {
    benchmark::RegisterBenchmark((std::string("BM_FullRun/") + m.program + "/" + m.keys).c_str(), BM_FullRun, m)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  benchmark::RegisterBenchmark("BM_FullRun/vx428chk/8E", BM_FullRun, Member{"vx428chk", "8E"})
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("BM_ElevenTogether", BM_ElevenTogether)->Unit(benchmark::kMillisecond)->UseRealTime();
  return true;
}();

}  // namespace

BENCHMARK_MAIN();
