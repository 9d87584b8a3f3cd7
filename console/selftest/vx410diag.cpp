// vx410diag: self-test of the VX-410.
#include "frame.h"
#include "members.h"

namespace {

using namespace frame;

constexpr BoardLoopProgram kProgram{
    .titles = "VX-410 動作確認プログラムV1.3\n",
    .not_found_name = "VX-410",
    .device_code = 0x10D,
    .count_name = "VX-410",
    .board_id = kWordBoardId,
    .expected_id = 0x16,
    .board_switch = kVx410Switch,
    .id_match = "ボードID(=%02xH)は正常で、",
};

}  // namespace

int main() { run_board_loop<selftest::run_board>(kProgram, selftest::member("vx410diag")); }
