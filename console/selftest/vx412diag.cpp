// vx412diag: self-test of the VX-412.
#include "frame.h"
#include "members.h"

namespace {

using namespace frame;

constexpr BoardLoopProgram kProgram{
    .titles = "VX-412 動作確認プログラムV1.3\n",
    .not_found_name = "VX-412",
    .device_code = 0x103,
    .count_name = "VX-412",
    .board_id = kWordBoardId,
    .expected_id = 0x0A,
    .id_mismatch = "ボードID(%02xH)は異常です。\n",
};

}  // namespace

int main() { run_board_loop<selftest::run_board>(kProgram, selftest::member("vx412diag")); }
