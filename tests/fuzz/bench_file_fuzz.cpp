// The bench-file reader on any bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "bench.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  fuzz::read_or_one_line_error([&] {
    const regio::BenchSetup bench = regio::read_bench_text(text, fuzz::kFileName);
    // A bench that was read holds only what a board can do.
    for (const regio::BoardSetup& board : bench.slots) {
      if (board.model == nullptr) continue;
      if (board.expansions < 1 || board.expansions > 8) std::abort();
      for (const regio::ReadOverride& read : board.reads) {
        if (read.stuck_bits() ? read.forever || (read.set_bits & read.clear_bits) != 0
                              : read.forever && read.values.size() != 1) {
          std::abort();
        }
      }
      if (board.fifo_samples == 1 || board.fifo_samples > regio::kMaxStoreSamples) std::abort();
      if (board.clock_ppm < regio::kMinClockPpm || board.clock_ppm > regio::kMaxClockPpm) std::abort();
      if (board.memory_count_fault && board.model->memory_count == regio::MemoryCount::None) std::abort();
    }
  });
  return 0;
}
