// vx410chk: sampling check of the VX-410.
#include "frame.h"
#include "sampling.h"

namespace {

using namespace sampling;

constexpr frame::SingleBoardProgram kProgram{
    .title = "VX-410 動作確認プログラムV1.2\n",
    .usage = "USAGE: vx410chk board_no\n",
    .name = "VX-410",
    .device_code = 0x10D,
    .board_id = frame::kWordBoardId,
    .expected_id = 0x16,
};

// clang-format off
constexpr Profile kProfile{
    .map = regs::kVx410Map,
    // sampling run
    .ch = 4, .expansion_boards = false, .scans = 200, .half_fifo = 2048, .blocks = Blocks::WholeScans,
    .channels = Channels::PlainList,  // 0, 1, 2, 3
    .run_divider = {0x01E0, 0x0000},  // count 480: about 83.3 kHz
    .before_channels = {},
    .after_clock = {},
    .start = {{0x06, 0x0080}, {0x08, 0x0002}},
    .error_mask = 0x0404,
    .stop = {0x06, 0x0000},
    .end_of_run = {},
    .half_block_error = kHalfBlockError,
    .status_trace = false,
    // adjustment mode
    .style = Style::StartKey, .groups = 0, .group_prompt = nullptr,
    .adjust_ch = 4, .adjust_channels = Channels::Count,  // one write of 0x0003
    .adjust_divider = {0x0070, 0x0000},  // count 112: about 357.1 kHz
    .display_repeat = 1,
    .exit_on_pass_error = false,
};
// clang-format on

}  // namespace

int main(int argc, char** argv) { return frame::run_single_board<sampling::run>(kProgram, kProfile, argc, argv); }
