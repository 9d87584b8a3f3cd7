// hm232diag: self-test of the HM-232 and the VX-420, told apart by registers 0x0C and 0x0B.
#include "frame.h"
#include "members.h"

namespace {

using namespace frame;

constexpr BoardLoopProgram kProgram{
    .titles =
        "HM-232/VX-420 動作確認プログラムV1.4\n"
        "HMボードメモリカウント対応版\n",
    .not_found_name = "HM-232",
    .twin = {.test = TwinTest::ReadWrite, .hm = "HM-232", .vx = "VX-420"},
    .device_code = 0x107,
    .board_id = kByteBoardId,
    .expected_id = 0x0E,
    .board_switch = kByteSwitch,
};

}  // namespace

int main() { run_board_loop<selftest::run_board>(kProgram, selftest::member("hm232diag")); }
