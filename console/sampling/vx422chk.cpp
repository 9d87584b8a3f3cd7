// vx422chk: sampling check of the VX-422.
#include "frame.h"

namespace {

constexpr frame::SingleBoardProgram kProgram{
    .title = "VX-422 動作確認プログラムV1.2\n",
    .usage = "USAGE: vx422chk board_no\n",
    .name = "VX-422",
    .device_code = 0x108,
    .board_id = frame::kByteBoardId,
    .expected_id = 0x0F,
};

}  // namespace

int main(int argc, char **argv) { return frame::start_single_board(kProgram, argc, argv).value_or(0); }
