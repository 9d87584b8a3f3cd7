#include "board_check.h"

#include "frame.h"

namespace dx510 {

namespace {

using namespace regs::dx510_map;

// clang-format off
constexpr Access kFirstSampling[] = {
    wr(kBoardId, 1), wr(kCount0C, 0x10), wr(kCount0C, 0), wr(kSamplingControl, 0x80), wr(kSamplingStart, 1),
    rd(kSamplingControl), rd(kSamplingControl)};
constexpr Access kSecondSampling[] = {
    rd(kBoardId),
    wr(kBoardId, 1), wr(kCount0C, 0x10), wr(kCount0C, 0), wr(kCounter, 5), wr(kCounter, 0),
    wr(kSamplingControl, 0x80), wr(kSamplingStart, 3)};
constexpr Access kEndFlagClear[] = {wr(kStatusClear, 0xC0)};
constexpr Access kFifoClear[] = {wr(kStatusClear, 1)};

constexpr Step kSteps[] = {
//  set-up          expected mask  name
    {{},             {0x06,   0xFF, "リセット時のステータス"}},
    {kFirstSampling, {0x47,   0xFF, "サンプリングスタート時のステータス"}},
    {kSecondSampling,{0xC7,   0xFF, "サンプリング終了時のステータス"}},
    {kEndFlagClear,  {0x07,   0xFF, "終了フラグクリア時のステータス"}},
    {kFifoClear,     {0x06,   0xFF, "ＦＩＦＯクリア時のステータス"}},
};

constexpr Access kCountSetup[] = {
    rd(kBoardId),
    wr(kBoardId, 1), wr(kCount0C, 0xFFFF), wr(kCount0C, 0xFFFF), wr(kCounter, 0xFFFF), wr(kCounter, 0xFFFF),
    wr(kSamplingControl, 0x80), wr(kSamplingStart, 3)};
constexpr Access kCountPass[] = {
    wr(kSamplingControl, 0), wr(kSamplingStart, 0), wr(kSamplingControl, 0x80), wr(kSamplingStart, 3)};
// clang-format on

constexpr frame::BoardRegister word(regs::Register reg) { return {reg.offset, regs::Width::Word}; }

void run(std::span<const Access> setup) {
  for (const Access& a : setup) {
    if (a.write)
      frame::write_register(word(a.reg), a.value);
    else
      frame::read_register(word(a.reg));
  }
}

uint32_t status_value() { return static_cast<uint32_t>(frame::read_register(word(kStatus))) & 0xFF; }

void status_test(const StatusTest& test) {
  const uint32_t s = status_value();
  frame::out("%s(%02xH)は", test.name, s);
  frame::out("%s", (s & test.mask) == test.expected ? "正常です。\n" : "異常です。\n");
}

// The counter preset 0xFFFF counts the samplings down, one more than the
// sampling count (the set-up's own sampling).
void counter_check(int32_t sampling_count) {
  frame::out("FIFO HALF = (%d)です。\n", sampling_count);
  const int32_t counter = frame::read_register(word(kCounter)) & 0xFFFF;
  frame::out("ｶｳﾝﾀ値(%d)を確認します。\n", sampling_count);
  const int32_t expected = 0xFFFF - counter - 1;
  if (sampling_count == expected) {
    frame::out("ｶｳﾝﾀ値は (%d) 正常です。\n", expected);
  } else {
    // expected, then what was found
    frame::out("ｶｳﾝﾀ値は (%d) 異常です。(%d) \n", expected, sampling_count);
  }
}

// Samplings until the status shows half full; no message when it never does.
void half_full_count(const Check& check) {
  int32_t sampling_count = 0;
  run(check.count_setup);
  for (int32_t pass = 0; pass < check.passes; ++pass) {
    const bool half_full = (status_value() & regs::status::kBelowHalf) == 0;
    if (half_full) counter_check(sampling_count);
    run(check.pass);
    ++sampling_count;
    if (half_full) break;
  }
}

}  // namespace

const Check kBoardCheck{kSteps, kCountSetup, kCountPass, 0x8000 + 1};

void check_board(const Check& check) {
  for (const Step& step : check.steps) {
    run(step.setup);
    status_test(step.test);
  }
  half_full_count(check);
}

}  // namespace dx510
