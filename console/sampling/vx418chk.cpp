// vx418chk: sampling check of the VX-418.
#include "frame.h"

namespace {

constexpr frame::SingleBoardProgram kProgram{
    .title = "VX-418 動作確認プログラムV1.2\n",
    .usage = "USAGE: vx418chk board_no\n",
    .name = "VX-418",
    .device_code = 0x201,
    .board_id = frame::kWordBoardId,
    .expected_id = 0x14,
};

}  // namespace

int main(int argc, char **argv) { return frame::start_single_board(kProgram, argc, argv).value_or(0); }
