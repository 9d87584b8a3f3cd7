// vx412chk: sampling check of the VX-412.
#include "frame.h"

namespace {

constexpr frame::SingleBoardProgram kProgram{
    .title = "VX-412 動作確認プログラムV1.2\n",
    .usage = "USAGE: vx412chk board_no\n",
    .name = "VX-412",
    .device_code = 0x103,
    .board_id = frame::kWordBoardId,
    .expected_id = 0x0A,
};

}  // namespace

int main(int argc, char **argv) { return frame::start_single_board(kProgram, argc, argv).value_or(0); }
