// vx418chk: sampling check of the VX-418.
#include "frame.h"
#include "sampling.h"

namespace {

using namespace sampling;

constexpr frame::SingleBoardProgram kProgram{
    .title = "VX-418 動作確認プログラムV1.2\n",
    .usage = "USAGE: vx418chk board_no\n",
    .name = "VX-418",
    .device_code = 0x201,
    .board_id = frame::kWordBoardId,
    .expected_id = 0x14,
};

// clang-format off
constexpr Profile kProfile{
    .map = regs::kWordMap,
    // sampling run
    .ch = 16, .expansion_boards = false, .scans = 319, .half_fifo = 512, .blocks = Blocks::WholeScans,
    .channels = Channels::Count,  // 0x000F
    .run_divider = {0x0500, 0x0000},  // count 1280: 31250 Hz
    .before_channels = {},
    .after_clock = {},
    .start = {{0x06, 0x0081}},
    .error_mask = 0x0004,
    .stop = {0x06, 0x0000},
    .end_of_run = {},
    .half_block_error = kHalfBlockError,
    .status_trace = false,
    // adjustment mode
    .style = Style::StartKey, .groups = 0, .group_prompt = nullptr,
    .adjust_ch = 16, .adjust_channels = Channels::Count,
    .adjust_divider = {0x0280, 0x0001},  // count 66176: about 604.4 Hz
    .display_repeat = 1,
    .exit_on_pass_error = false,
};
// clang-format on

}  // namespace

int main(int argc, char** argv) { return frame::run_single_board<sampling::run>(kProgram, kProfile, argc, argv); }
