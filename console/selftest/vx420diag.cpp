// vx420diag: self-test of the VX-420 (no title).
#include "frame.h"
#include "members.h"

namespace {

using namespace frame;

constexpr BoardLoopProgram kProgram{
    .not_found_name = "VX-420",
    .device_code = 0x107,
    .count_name = "VX-420",
    .board_id = kByteBoardId,
    .expected_id = 0x0E,
    .board_switch = kByteSwitch,
};

}  // namespace

int main() { run_board_loop<selftest::run_board>(kProgram, selftest::member("vx420diag")); }
