// vx428chk: sampling check of the VX-428.
#include "frame.h"
#include "sampling.h"

namespace {

using namespace sampling;

constexpr frame::SingleBoardProgram kProgram{
    .title = "VX-428 動作確認プログラムV1.2\n",
    .usage = "USAGE: vx428chk board_no\n",
    .name = "VX-428",
    .device_code = 0x10C,
    .board_id = frame::kByteBoardId,
    .expected_id = 0x13,
};

constexpr char kGroupPrompt[] =
    "\tチャンネル０から１５をサンプリングする時は\"0\"キーを\n"
    "\t１６から３１をサンプリング表示する時は\"1\"キーを\n"
    "\t３２から４７をサンプリング表示する時は\"2\"キーを\n"
    "\t４８から６３をサンプリング表示する時は\"3\"キーを\n"
    "\t６４から７９をサンプリング表示する時は\"4\"キーを\n"
    "\t８０から９５をサンプリング表示する時は\"5\"キーを\n"
    "\t９６から１１１をサンプリング表示する時は\"6\"キーを\n"
    "\t１１２から１２７をサンプリング表示する時は\"7\"キーを\n"
    "\tまたサンプリングを終了する時は\"E/e\"キーを押して下さい。\n";

// clang-format off
constexpr Profile kProfile{
    .map = regs::kByteMap,
    // sampling run
    .ch = 128, .expansion_boards = true, .scans = 20, .half_fifo = 512, .blocks = Blocks::ExactlyF,  // CH = 128 k
    .channels = Channels::CountTwoBytes,  // (CH - 1) AND 0xFF, (CH - 1) >> 8
    .run_divider = {0x00, 0x80, 0x0C, 0x00},  // N1 = 32768, N2 = 12: about 25.4 Hz
    .before_channels = {},
    .after_clock = {{0x0D, 0x00}},
    .start = {{0x03, 0x81}},
    .error_mask = 0x04,
    .stop = {0x03, 0x00},
    .end_of_run = {{0x03, 0x00}, {0x05, 0x01}},
    .half_block_error = kHalfBlockError,
    .status_trace = false,
    // adjustment mode
    .style = Style::BoardAndGroup, .groups = 8, .group_prompt = kGroupPrompt,
    .adjust_ch = 1024, .adjust_channels = Channels::CountTwoBytes,  // 0xFF, 0x03
    .adjust_divider = {0x00, 0x60, 0x09, 0x00},  // N1 = 24576, N2 = 9: about 45.2 Hz
    .display_repeat = 1,
    .exit_on_pass_error = false,
};
// clang-format on

}  // namespace

int main(int argc, char** argv) { return frame::run_single_board<sampling::run>(kProgram, kProfile, argc, argv); }
