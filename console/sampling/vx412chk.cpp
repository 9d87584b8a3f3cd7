// vx412chk: sampling check of the VX-412.
#include "frame.h"
#include "sampling.h"

namespace {

using namespace sampling;

constexpr frame::SingleBoardProgram kProgram{
    .title = "VX-412 動作確認プログラムV1.2\n",
    .usage = "USAGE: vx412chk board_no\n",
    .name = "VX-412",
    .device_code = 0x103,
    .board_id = frame::kWordBoardId,
    .expected_id = 0x0A,
};

// clang-format off
constexpr Profile kProfile{
    .map = regs::kWordMap,
    // sampling run
    .ch = 16, .expansion_boards = false, .scans = 200, .half_fifo = 512, .blocks = Blocks::WholeScans,
    .channels = Channels::ListBothBytes,  // i * 0x0101, i = 0 ... 15, then status bit 3 = 0
    .run_divider = {0x0020, 0x0003, 0x0001, 0x0000},  // N1 = 800, N2 = 1: 12500 Hz
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
    .adjust_ch = 16, .adjust_channels = Channels::ListBothBytes,
    .adjust_divider = {0x0020, 0x0003, 0x0001, 0x0000},  // as the run
    .display_repeat = 1,
    .exit_on_pass_error = false,
};
// clang-format on

}  // namespace

int main(int argc, char** argv) { return frame::run_single_board<sampling::run>(kProgram, kProfile, argc, argv); }
