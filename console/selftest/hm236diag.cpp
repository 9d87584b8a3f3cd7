// hm236diag: self-test of the HM-236 and the VX-428, told apart by register 0x0E.
#include "frame.h"
#include "members.h"

namespace {

using namespace frame;

constexpr BoardLoopProgram kProgram{
    .titles =
        "HM-236/VX-428 動作確認プログラムV1.4\n"
        "HMボードメモリカウント対応版\n",
    .not_found_name = "VX-428",
    .twin = {.test = TwinTest::Inverting, .hm = "HM-236", .vx = "VX-428"},
    .device_code = 0x10C,
    .board_id = kByteBoardId,
    .expected_id = 0x13,
    .board_switch = kByteSwitch,
};

}  // namespace

int main() { run_board_loop<selftest::run_board>(kProgram, selftest::member("hm236diag")); }
