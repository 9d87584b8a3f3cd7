// vx414diag: self-test of the VX-414.
#include "frame.h"
#include "members.h"

namespace {

using namespace frame;

constexpr BoardLoopProgram kProgram{
    .titles = "VX-414 動作確認プログラムV1.3\n",
    .not_found_name = "VX-414",
    .device_code = 0x104,
    .count_name = "VX-414",
    .board_id = kWordBoardId,
    .expected_id = 0x0B,
    .id_mismatch = "ボードID(%02xH)は異常です。\n",
};

}  // namespace

int main() { run_board_loop<selftest::run_board>(kProgram, selftest::member("vx414diag")); }
