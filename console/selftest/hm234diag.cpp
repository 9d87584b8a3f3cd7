// hm234diag: self-test of the HM-234 and the VX-422, told apart by registers 0x0C and 0x0B.
#include "frame.h"
#include "members.h"

namespace {

using namespace frame;

constexpr BoardLoopProgram kProgram{
    .titles =
        "HM-234/VX-422B 動作確認プログラムV1.4\n"
        "HMボードメモリカウント対応版\n",
    .not_found_name = "HM-234",
    .twin = {.test = TwinTest::ReadWrite, .hm = "HM-234", .vx = "VX-422"},
    .device_code = 0x108,
    .board_id = kByteBoardId,
    .expected_id = 0x0F,
    .board_switch = kByteSwitch,
};

}  // namespace

int main() { run_board_loop<selftest::run_board>(kProgram, selftest::member("hm234diag")); }
