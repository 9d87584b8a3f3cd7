// vx424chk: sampling check of the VX-424.
#include "frame.h"

namespace {

constexpr frame::SingleBoardProgram kProgram{
    .title = "VX-424 動作確認プログラムV1.2\n",
    .usage = "USAGE: vx424chk board_no\n",
    .name = "VX-424",
    .device_code = 0x10A,
    .board_id = frame::kByteBoardId,
    .expected_id = 0x11,
};

}  // namespace

int main(int argc, char **argv) { return frame::start_single_board(kProgram, argc, argv).value_or(0); }
