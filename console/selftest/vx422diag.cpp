// vx422diag: self-test of the VX-422.
#include "frame.h"
#include "members.h"

namespace {

using namespace frame;

constexpr BoardLoopProgram kProgram{
    .titles = "VX-422 動作確認プログラムV1.3\n",
    .not_found_name = "VX-422",
    .device_code = 0x108,
    .count_name = "VX-422",
    .board_id = kByteBoardId,
    .expected_id = 0x0F,
    .board_switch = kByteSwitch,
};

}  // namespace

int main() { run_board_loop<selftest::run_board>(kProgram, selftest::member("vx422diag")); }
