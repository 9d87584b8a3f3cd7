// The frame of every console program: title, board discovery through the
// driver, selection and start-up of boards, the board ID check, the
// twin-model identification, and the close-and-exit routine.
//
// Two forms. The single-board form (sampling checks) starts the one board
// named on the command line and hands it to its stages, which end the
// process. The board-loop form (self-tests, DX-510 check) ignores its command
// line and takes every board of its device code in turn.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "registers.h"

namespace frame {

using regs::Width;

struct BoardRegister {
  int32_t offset;
  Width width;
};

// Process-wide state that the stages read.
extern int32_t board_io_base;  // of the board being worked on
extern int model_flag;         // twin-model programs: 1 while the board is the HM model
extern int bit3_seen;          // self-tests that tolerate status bit 3: 1 from the first status
                               // check that meets it on, for every later board too

// Register access on the current board, with the width of the register.
int32_t read_register(BoardRegister reg);
void write_register(BoardRegister reg, int32_t value);

// Register access through a layout's row: the access width is the map's.
int32_t read(const regs::Map& map, int32_t offset);
void write(const regs::Map& map, int32_t offset, int32_t value);
// Moves n samples from the data register into samples[0 ... n - 1] with one
// block-read call: 2n byte reads (low byte first) on the byte map, n word
// reads on the others.
void read_samples(const regs::Map& map, uint16_t* samples, int32_t n);

// printf to standard output; the text shows at once, line end or not.
void out(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Closes the driver and ends the process with status -1, on every path.
[[noreturn]] void close_and_exit();

// One key from the console, without echo; and the test for a waiting key.
int key_wait();
int key_poll();

// The board number of the command line: the leading decimal integer as "%d"
// reads it. No integer, or one outside 32 bits, is no board number.
std::optional<int32_t> parse_board_no(std::string_view text);

struct SingleBoardProgram {
  const char* title;
  const char* usage;
  const char* name;  // in the detection messages
  int32_t device_code;
  BoardRegister board_id;
  uint16_t expected_id;
};

// The single-board form up to the board ID check. Returns the exit status
// when the program ends without its stages (the usage line), nothing when
// the board is started and its stages follow.
std::optional<int> start_single_board(const SingleBoardProgram& program, int argc, char** argv);

// A program of the single-board form: the frame, then Stages(member), whose
// result is the exit status. For example
//   return frame::run_single_board<sampling::run>(kProgram, kProfile, argc, argv);
template <auto Stages, class Member>
int run_single_board(const SingleBoardProgram& program, const Member& member, int argc, char** argv) {
  if (const std::optional<int> status = start_single_board(program, argc, argv)) return *status;
  return Stages(member);
}

enum class TwinTest {
  None,
  Inverting,  // HM-236/VX-428: byte 0x0E
  ReadWrite,  // HM-232/VX-420, HM-234/VX-422: read byte 0x0C, write byte 0x0B
  WriteBack,  // HM-230/VX-426: word 0x1E, memory version from bit 0x8000
};

struct TwinModels {
  TwinTest test = TwinTest::None;
  const char* hm = nullptr;       // the HM model (HM-230: the 8M-word version)
  const char* hm_16mw = nullptr;  // HM-230: the 16M-word version
  const char* vx = nullptr;       // the VX model of the pair
};

struct BoardLoopProgram {
  const char* titles = nullptr;  // all title lines; none for nullptr
  const char* not_found_name;
  TwinModels twin = {};
  int32_t device_code;
  const char* count_name = nullptr;  // none: no count message
  const char* after_count = "";
  BoardRegister board_id;
  uint16_t expected_id;
  uint16_t id_mask = 0;  // bits compared and printed; 0: all bits of the register
  std::optional<BoardRegister> board_switch = std::nullopt;
  const char* switch_text = "ボード番号設定は(%d)です。\n";
  const char* board_heading = "%d枚目のボードのチェックをします。\n";
  const char* id_match = "ボードID(%02xH)は正常で、";
  const char* id_mismatch = "ボードID(=%02xH)は異常です。\n";
  const char* after_stop = "";
};

// The stages of one board, with the program's member row; they return to
// the frame, which stops the board.
struct BoardStages {
  void (*run)(const void* member) = nullptr;
  const void* member = nullptr;
};

[[noreturn]] void run_board_loop(const BoardLoopProgram& program, BoardStages stages);

// A program of the board-loop form: Stages(member) for every board. For example
//   frame::run_board_loop<selftest::run_board>(kProgram, kMember);
template <auto Stages, class Member>
[[noreturn]] void run_board_loop(const BoardLoopProgram& program, const Member& member) {
  run_board_loop(program, BoardStages{[](const void* m) { Stages(*static_cast<const Member*>(m)); }, &member});
}

// Common shapes of the identity rows.
constexpr BoardRegister kByteBoardId{regs::byte_map::kBoardId.offset, Width::Byte};
constexpr BoardRegister kWordBoardId{regs::word_map::kBoardId.offset, Width::Word};
constexpr BoardRegister kByteSwitch{regs::byte_map::kBoardSwitch.offset, Width::Byte};
constexpr BoardRegister kWordSwitch{regs::word_map::kBoardSwitch.offset, Width::Word};
constexpr BoardRegister kVx410Switch{regs::vx410_map::kBoardSwitch.offset, Width::Word};

}  // namespace frame
