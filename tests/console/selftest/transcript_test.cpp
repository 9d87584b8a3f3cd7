// Every self-test on its default bench: the title and count lines, then each
// board line by line against its healthy transcript (both models of each twin
// pair), and the end: every board stopped, the driver closed, status -1.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_program.h"
#include "transcript.h"

namespace {

using selftest_text::board;
using selftest_text::board_part;
using selftest_text::first_difference;
using selftest_text::healthy;
using testing_support::run;
using testing_support::trace_lines;

struct DefaultBench {
  const char* program;
  const char* head;                 // title lines and count message
  std::vector<const char*> models;  // the boards, from slot 0 up
  bool twin;                        // the frame names each board's model
};

// clang-format off
const DefaultBench kBenches[] = {
  { "hm236diag",  "HM-236/VX-428 動作確認プログラムV1.4\nHMボードメモリカウント対応版\n",                      {"HM-236", "VX-428"},                    true  },
  { "vx420diag",  "VX-420を2枚検出しました。\n",                                                               {"VX-420", "VX-420"},                    false },
  { "vx414diag",  "VX-414 動作確認プログラムV1.3\nVX-414を2枚検出しました。\n",                                  {"VX-414", "VX-414"},                    false },
  { "vx424diag",  "VX-424 動作確認プログラムV1.3\nVX-424を2枚検出しました。\n",                                  {"VX-424", "VX-424"},                    false },
  { "hm230diag",  "HM-230/VX-426 動作確認プログラムV1.5\nHMボードメモリカウント対応版\nHM-230-8MW/16MW両バージョン対応版\n",
                                                                                                               {"HM-230-8MW", "HM-230-16MW", "VX-426"}, true  },
  { "vx412diag",  "VX-412 動作確認プログラムV1.3\nVX-412を2枚検出しました。\n",                                  {"VX-412", "VX-412"},                    false },
  { "vx418diag",  "VX-418 動作確認プログラムV1.3\nVX-418を2枚検出しました。\n",                                  {"VX-418", "VX-418"},                    false },
  { "vx424bdiag", "VX-424B 動作確認プログラムV1.3\nVX-424Bを2枚検出しました。\n",                                {"VX-424B", "VX-424B"},                  false },
  { "vx416diag",  "VX-416 動作確認プログラムV1.3\nVX-416を2枚検出しました。\n",                                  {"VX-416", "VX-416"},                    false },
  { "hm232diag",  "HM-232/VX-420 動作確認プログラムV1.4\nHMボードメモリカウント対応版\n",                      {"HM-232", "VX-420"},                    true  },
  { "hm234diag",  "HM-234/VX-422B 動作確認プログラムV1.4\nHMボードメモリカウント対応版\n",                     {"HM-234", "VX-422"},                    true  },
  { "vx410diag",  "VX-410 動作確認プログラムV1.3\nVX-410を2枚検出しました。\n",                                  {"VX-410", "VX-410"},                    false },
  { "vx422diag",  "VX-422 動作確認プログラムV1.3\nVX-422を2枚検出しました。\n",                                  {"VX-422", "VX-422"},                    false },
};
// clang-format on

TEST(EveryProgram, EveryCheckNormalOnEveryBoardOfItsDefaultBench) {
  for (const DefaultBench& b : kBenches) {
    SCOPED_TRACE(b.program);
    const auto r = run({.program = b.program});
    EXPECT_EQ(r.out.substr(0, r.out.find(selftest_text::heading(1))), b.head);
    std::string expected = b.head;
    for (size_t k = 1; k <= b.models.size(); ++k) {
      const std::string model = b.models[k - 1];
      const std::string part = board_part(r.out, static_cast<int>(k));
      const std::string want = board(healthy(b.program, model), static_cast<int>(k), b.twin);
      EXPECT_EQ(first_difference(part, want), "") << "board " << k << ", " << model;
      expected += want;
    }
    EXPECT_EQ(first_difference(r.out, expected), "") << "the whole output";
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(trace_lines(r.trace, "Stop_Driver(").size(), b.models.size());
    EXPECT_EQ(trace_lines(r.trace, "Close_Driver(").size(), 1u);
  }
}

// The memory counts of the full sampling's wait grow with the store and stay
// below the whole memory, which the count after the wait shows.
TEST(EveryProgram, MemoryCountsOfTheWaitGrow) {
  const std::string dot = "．現在のメモリ内データは ";
  for (const char* program : {"hm236diag", "hm232diag", "hm234diag", "hm230diag"}) {
    const auto r = run({.program = program, .trace = false});
    size_t waits = 0;
    for (size_t wait = r.out.find("サンプリング中．．．"); wait != std::string::npos;
         wait = r.out.find("サンプリング中．．．", wait + 1)) {
      const size_t end = r.out.find("終了しました。\n", wait);
      const size_t after = r.out.find("現在のメモリ内データは ", end);
      if (r.out.find(dot, wait) > end) continue;  // a VX model: no counts
      ++waits;
      const long long whole = std::stoll(r.out.substr(after + dot.size() - std::string("．").size()));
      long long before = 0;
      for (size_t at = r.out.find(dot, wait); at < end; at = r.out.find(dot, at + 1)) {
        const long long count = std::stoll(r.out.substr(at + dot.size()));
        EXPECT_GT(count, before) << program;
        EXPECT_LT(count, whole) << program;
        before = count;
      }
    }
    EXPECT_EQ(waits, program == std::string("hm230diag") ? 2u : 1u) << program;
  }
}

}  // namespace
