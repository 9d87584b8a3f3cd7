// vx428chk: sampling check of the VX-428.
#include "frame.h"

namespace {

constexpr frame::SingleBoardProgram kProgram{
    .title = "VX-428 動作確認プログラムV1.2\n",
    .usage = "USAGE: vx428chk board_no\n",
    .name = "VX-428",
    .device_code = 0x10C,
    .board_id = frame::kByteBoardId,
    .expected_id = 0x13,
};

}  // namespace

int main(int argc, char **argv) { return frame::start_single_board(kProgram, argc, argv).value_or(0); }
