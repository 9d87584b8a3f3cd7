// vx420chk: sampling check of the VX-420.
#include "frame.h"

namespace {

constexpr frame::SingleBoardProgram kProgram{
    .title = "VX-420 動作確認プログラムV1.2\n",
    .usage = "USAGE: vx420chk board_no\n",
    .name = "VX-420",
    .device_code = 0x107,
    .board_id = frame::kByteBoardId,
    .expected_id = 0x0E,
};

}  // namespace

int main(int argc, char **argv) { return frame::start_single_board(kProgram, argc, argv).value_or(0); }
