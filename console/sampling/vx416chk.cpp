// vx416chk: sampling check of the VX-416.
#include "frame.h"
#include "sampling.h"

namespace {

using namespace sampling;

constexpr frame::SingleBoardProgram kProgram{
    .title = "VX-416 動作確認プログラムV1.2\n",
    .usage = "USAGE: vx416chk board_no\n",
    .name = "VX-416",
    .device_code = 0x110,
    .board_id = frame::kByteBoardId,
    .expected_id = 0x2A,
};

// clang-format off
constexpr Profile kProfile{
    .map = regs::kByteMap,
    // sampling run
    .ch = 8, .expansion_boards = false, .scans = 200, .half_fifo = 512, .blocks = Blocks::WholeScans,
    .channels = Channels::Count,  // 0x07
    .run_divider = {0x40, 0x01, 0x01, 0x00},  // N1 = 320, N2 = 1: 31250 Hz
    .before_channels = {},
    .after_clock = {},
    .start = {{0x03, 0x81}},
    .error_mask = 0x04,
    .stop = {0x03, 0x00},
    .end_of_run = {},
    .half_block_error = "Sampling Error !!\n",
    .status_trace = false,
    // adjustment mode
    .style = Style::StartKey, .groups = 0, .group_prompt = nullptr,
    .adjust_ch = 8, .adjust_channels = Channels::Count,
    .adjust_divider = {0x40, 0x01, 0x01, 0x00},  // as the run
    .display_repeat = 1,
    .exit_on_pass_error = false,
};
// clang-format on

}  // namespace

int main(int argc, char** argv) { return frame::run_single_board<sampling::run>(kProgram, kProfile, argc, argv); }
