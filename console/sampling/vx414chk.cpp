// vx414chk: sampling check of the VX-414.
#include "frame.h"
#include "sampling.h"

namespace {

using namespace sampling;

constexpr frame::SingleBoardProgram kProgram{
    .title = "VX-414 動作確認プログラムV1.2\n",
    .usage = "USAGE: vx414chk board_no\n",
    .name = "VX-414",
    .device_code = 0x104,
    .board_id = frame::kWordBoardId,
    .expected_id = 0x0B,
};

constexpr char kGroupPrompt[] =
    "\tチャンネル０から１５をサンプリングする時は\"0\"キーを\n"
    "\tチャンネル１６から３１をサンプリング表示する時は\"1\"キーを\n"
    "\tチャンネル３２から４７をサンプリング表示する時は\"2\"キーを\n"
    "\tまたサンプリングを終了する時は\"E/e\"キーを押して下さい。\n";

// clang-format off
constexpr Profile kProfile{
    .map = regs::kWordMap,
    // sampling run
    .ch = 48, .expansion_boards = false, .scans = 200, .half_fifo = 512, .blocks = Blocks::WholeScans,
    .channels = Channels::ListBothBytes,  // i * 0x0101, i = 0 ... 47, then status bit 3 = 0
    .run_divider = {0x00C0, 0x0012, 0x0001, 0x0000},  // N1 = 4800, N2 = 1: about 2083.3 Hz
    .before_channels = {{0x04, 0x0042}},
    .after_clock = {},
    .start = {{0x06, 0x0081}},
    .error_mask = 0x0004,
    .stop = {0x06, 0x0000},
    .end_of_run = {},
    .half_block_error = kHalfBlockError,
    .status_trace = false,
    // adjustment mode
    .style = Style::Group, .groups = 3, .group_prompt = kGroupPrompt,
    .adjust_ch = 48, .adjust_channels = Channels::ListBothBytes,
    .adjust_divider = {0x00C0, 0x0012, 0x0001, 0x0000},  // as the run
    .display_repeat = 16,
    .exit_on_pass_error = true,
};
// clang-format on

}  // namespace

int main(int argc, char** argv) { return frame::run_single_board<sampling::run>(kProgram, kProfile, argc, argv); }
