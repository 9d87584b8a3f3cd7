// hm230diag: self-test of the HM-230 (both memory versions) and the VX-426.
#include "frame.h"
#include "members.h"

namespace {

using namespace frame;

constexpr BoardLoopProgram kProgram{
    .titles =
        "HM-230/VX-426 動作確認プログラムV1.5\n"
        "HMボードメモリカウント対応版\n"
        "HM-230-8MW/16MW両バージョン対応版\n",
    .not_found_name = "HM-230",
    .twin = {.test = TwinTest::WriteBack, .hm = "HM-230-8MW", .hm_16mw = "HM-230-16MW", .vx = "VX-426"},
    .device_code = 0x202,
    .board_id = kWordBoardId,
    .expected_id = 0x15,
    .board_switch = kWordSwitch,
};

}  // namespace

int main() { run_board_loop<selftest::run_board>(kProgram, selftest::member("hm230diag")); }
