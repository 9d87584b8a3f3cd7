// vx422chk: sampling check of the VX-422.
#include "frame.h"
#include "sampling.h"

namespace {

using namespace sampling;

constexpr frame::SingleBoardProgram kProgram{
    .title = "VX-422 動作確認プログラムV1.2\n",
    .usage = "USAGE: vx422chk board_no\n",
    .name = "VX-422",
    .device_code = 0x108,
    .board_id = frame::kByteBoardId,
    .expected_id = 0x0F,
};

// clang-format off
constexpr Profile kProfile{
    .map = regs::kByteMap,
    // sampling run
    .ch = 16, .expansion_boards = false, .scans = 200, .half_fifo = 512, .blocks = Blocks::WholeScans,
    .channels = Channels::Count,  // 0x0F
    .run_divider = {0x80, 0x0C, 0x01, 0x00},  // N1 = 3200, N2 = 1: 3125 Hz
    .before_channels = {},
    .after_clock = {},
    .start = {{0x03, 0x81}},
    .error_mask = 0x04,
    .stop = {0x03, 0x00},
    .end_of_run = {},
    .half_block_error = kHalfBlockError,
    .status_trace = false,
    // adjustment mode
    .style = Style::StartKey, .groups = 0, .group_prompt = nullptr,
    .adjust_ch = 16, .adjust_channels = Channels::Count,
    .adjust_divider = {0x80, 0x0C, 0x01, 0x00},  // as the run
    .display_repeat = 1,
    .exit_on_pass_error = false,
};
// clang-format on

}  // namespace

int main(int argc, char** argv) { return frame::run_single_board<sampling::run>(kProgram, kProfile, argc, argv); }
