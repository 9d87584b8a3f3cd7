// vx416chk: sampling check of the VX-416.
#include "frame.h"

namespace {

constexpr frame::SingleBoardProgram kProgram{
    .title = "VX-416 動作確認プログラムV1.2\n",
    .usage = "USAGE: vx416chk board_no\n",
    .name = "VX-416",
    .device_code = 0x110,
    .board_id = frame::kByteBoardId,
    .expected_id = 0x2A,
};

}  // namespace

int main(int argc, char **argv) { return frame::start_single_board(kProgram, argc, argv).value_or(0); }
