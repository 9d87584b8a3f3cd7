// dx510diag: check of every DX-510 board.
#include "board_check.h"
#include "frame.h"

namespace {

using namespace frame;
using namespace regs::dx510_map;

constexpr BoardLoopProgram kProgram{
    .not_found_name = "DX-510",
    .device_code = 0x111,
    .count_name = "DX-510",
    .after_count = "\n",
    .board_id = BoardRegister{kBoardId.offset, Width::Word},
    .expected_id = 0x2B,
    .id_mask = 0xFF,
    .board_switch = BoardRegister{kBoardSwitch.offset, Width::Word},
    .switch_text = "ボード番号設定は(%x)です。\n",
    .board_heading = "%d番目に検出されたボードのチェックをします。\n",
    .after_stop = "\n",
};

}  // namespace

int main() { run_board_loop<dx510::check_board>(kProgram, dx510::kBoardCheck); }
