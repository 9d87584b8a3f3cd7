// vx410chk: sampling check of the VX-410.
#include "frame.h"

namespace {

constexpr frame::SingleBoardProgram kProgram{
    .title = "VX-410 動作確認プログラムV1.2\n",
    .usage = "USAGE: vx410chk board_no\n",
    .name = "VX-410",
    .device_code = 0x10D,
    .board_id = frame::kWordBoardId,
    .expected_id = 0x16,
};

}  // namespace

int main(int argc, char **argv) { return frame::start_single_board(kProgram, argc, argv).value_or(0); }
