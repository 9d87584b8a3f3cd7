// vx426chk: sampling check of the VX-426.
#include "frame.h"

namespace {

constexpr frame::SingleBoardProgram kProgram{
    .title = "VX-426 動作確認プログラムV1.2\n",
    .usage = "USAGE: vx426chk board_no\n",
    .name = "VX-426",
    .device_code = 0x202,
    .board_id = frame::kWordBoardId,
    .expected_id = 0x15,
};

}  // namespace

int main(int argc, char **argv) { return frame::start_single_board(kProgram, argc, argv).value_or(0); }
