// dx510diag: check of every DX-510 board.
#include "frame.h"

namespace {

using namespace frame;

constexpr BoardLoopProgram kProgram{
    .not_found_name = "DX-510",
    .device_code = 0x111,
    .count_name = "DX-510",
    .after_count = "\n",
    .board_id = BoardRegister{0x1E, Width::Word},
    .expected_id = 0x2B,
    .id_mask = 0xFF,
    .board_switch = BoardRegister{0x08, Width::Word},
    .switch_text = "ボード番号設定は(%x)です。\n",
    .board_heading = "%d番目に検出されたボードのチェックをします。\n",
    .after_stop = "\n",
};

}  // namespace

int main() { run_board_loop(kProgram, {}); }
