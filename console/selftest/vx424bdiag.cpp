// vx424bdiag: self-test of the VX-424B.
#include "frame.h"
#include "members.h"

namespace {

using namespace frame;

constexpr BoardLoopProgram kProgram{
    .titles = "VX-424B 動作確認プログラムV1.3\n",
    .not_found_name = "VX-424B",
    .device_code = 0x10A,
    .count_name = "VX-424B",
    .board_id = kByteBoardId,
    .expected_id = 0x11,
    .board_switch = kByteSwitch,
};

}  // namespace

int main() { run_board_loop<selftest::run_board>(kProgram, selftest::member("vx424bdiag")); }
