// vx416diag: self-test of the VX-416.
#include "frame.h"
#include "members.h"

namespace {

using namespace frame;

constexpr BoardLoopProgram kProgram{
    .titles = "VX-416 動作確認プログラムV1.3\n",
    .not_found_name = "VX-416",
    .device_code = 0x110,
    .count_name = "VX-416",
    .board_id = kByteBoardId,
    .expected_id = 0x2A,
    .board_switch = kByteSwitch,
};

}  // namespace

int main() { run_board_loop<selftest::run_board>(kProgram, selftest::member("vx416diag")); }
