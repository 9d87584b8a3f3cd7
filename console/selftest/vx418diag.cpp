// vx418diag: self-test of the VX-418.
#include "frame.h"
#include "members.h"

namespace {

using namespace frame;

constexpr BoardLoopProgram kProgram{
    .titles = "VX-418 動作確認プログラムV1.3\n",
    .not_found_name = "VX-418",
    .device_code = 0x201,
    .count_name = "VX-418",
    .board_id = kWordBoardId,
    .expected_id = 0x14,
    .board_switch = kWordSwitch,
};

}  // namespace

int main() { run_board_loop<selftest::run_board>(kProgram, selftest::member("vx418diag")); }
