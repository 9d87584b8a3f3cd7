// vx414chk: sampling check of the VX-414.
#include "frame.h"

namespace {

constexpr frame::SingleBoardProgram kProgram{
    .title = "VX-414 動作確認プログラムV1.2\n",
    .usage = "USAGE: vx414chk board_no\n",
    .name = "VX-414",
    .device_code = 0x104,
    .board_id = frame::kWordBoardId,
    .expected_id = 0x0B,
};

}  // namespace

int main(int argc, char **argv) { return frame::start_single_board(kProgram, argc, argv).value_or(0); }
