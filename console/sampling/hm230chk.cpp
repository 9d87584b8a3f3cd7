// hm230chk: sampling check of the VX-426, under the HM-230 title.
#include "frame.h"
#include "sampling.h"

namespace {

using namespace sampling;

constexpr frame::SingleBoardProgram kProgram{
    .title = "HM-230 動作確認プログラムV1.2\n",
    .usage = "USAGE: hm230chk board_no\n",
    .name = "VX-426",
    .device_code = 0x202,
    .board_id = frame::kWordBoardId,
    .expected_id = 0x15,
};

// clang-format off
constexpr Profile kProfile{
    .map = regs::kWordMap,
    // sampling run
    .ch = 8, .expansion_boards = false, .scans = 200, .half_fifo = 512, .blocks = Blocks::WholeScans,
    .channels = Channels::Count,  // 0x0007
    .run_divider = {0x0168, 0x0000},  // count 360: about 111.1 kHz
    .before_channels = {},
    .after_clock = {},
    .start = {{0x06, 0x0081}},
    .error_mask = 0x0004,
    .stop = {0x06, 0x0000},
    .end_of_run = {},
    .half_block_error = kHalfBlockError,
    .status_trace = true,
    // adjustment mode
    .style = Style::StartKey, .groups = 0, .group_prompt = nullptr,
    .adjust_ch = 8, .adjust_channels = Channels::Count,
    .adjust_divider = {0x0168, 0x0001},  // count 65896: about 607.0 Hz
    .display_repeat = 1,
    .exit_on_pass_error = false,
};
// clang-format on

}  // namespace

int main(int argc, char** argv) { return frame::run_single_board<sampling::run>(kProgram, kProfile, argc, argv); }
