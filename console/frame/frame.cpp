#include "frame.h"

#include <bit>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "keys.h"
#include "regio32.h"

// Sample buffers take the byte map's block reads in memory order.
static_assert(std::endian::native == std::endian::little);

namespace frame {

int32_t board_io_base = 0;
int model_flag = 0;
int bit3_seen = 0;

namespace {

constexpr int32_t kStartMode = 2;
constexpr int kExitFailure = -1;

struct MatchList {
  int32_t slots[REGIO_SLOTS];
  int count;
};

uint16_t width_mask(Width width) { return width == Width::Byte ? 0xFF : 0xFFFF; }

// Steps shared by both forms: open the driver and list the slots that hold
// the program's device code, in ascending order.
MatchList find_boards(int32_t device_code) {
  int32_t device_table[REGIO_SLOTS];
  MatchList list{};
  for (int i = 0; i < REGIO_SLOTS; ++i) device_table[i] = list.slots[i] = -1;
  const int32_t rc = Open_Driver(device_table);
  if (rc != 0) {
    out("Open_Driverでエラー(%d)が発生しました。\n", rc);
    std::exit(kExitFailure);
  }
  for (int32_t slot = 0; slot < REGIO_SLOTS; ++slot) {
    if (device_table[slot] == device_code) list.slots[list.count++] = slot;
  }
  return list;
}

void start_board(int32_t slot) {
  const int32_t rc = Start_Driver(slot, kStartMode, &board_io_base);
  if (rc != 0) {
    out("Start_Driverでエラー(%d)が発生しました。\n", rc);
    close_and_exit();
  }
}

// Byte latch test of the HM-236 (0x0E) and of the HM-232 and HM-234 (read
// 0x0C, write 0x0B): read, write a probe, read back, write the value read
// first. A changed read-back is the HM model, whose register is then set to 0.
bool latch_answers(BoardRegister read, BoardRegister write, bool invert) {
  const int32_t v = read_register(read) & 0xFF;
  write_register(write, invert ? (v == 0 ? 1 : 0) : v);
  const int32_t r = read_register(read) & 0xFF;
  write_register(write, v);
  if (r == v) return false;
  write_register(write, 0);
  return true;
}

// Tells the HM model of a pair from the VX model by a register test, sets
// the model flag and returns the model's name.
const char* identify_twin(const TwinModels& twin) {
  constexpr BoardRegister kInvert{regs::byte_map::kTwinInvert.offset, Width::Byte};
  constexpr BoardRegister kReadBack{regs::byte_map::kTwinRead.offset, Width::Byte};
  constexpr BoardRegister kWriteTo{regs::byte_map::kTwinWrite.offset, Width::Byte};
  constexpr BoardRegister kWriteBack{regs::word_map::kTwinWriteBack.offset, Width::Word};

  model_flag = 0;
  switch (twin.test) {
    case TwinTest::None: return nullptr;
    case TwinTest::Inverting:
      model_flag = latch_answers(kInvert, kInvert, true) ? 1 : 0;
      return model_flag ? twin.hm : twin.vx;
    case TwinTest::ReadWrite:
      model_flag = latch_answers(kReadBack, kWriteTo, false) ? 1 : 0;
      return model_flag ? twin.hm : twin.vx;
    case TwinTest::WriteBack: {
      const int32_t v = read_register(kWriteBack) & 0xFFFF;
      write_register(kWriteBack, v);
      const int32_t r = read_register(kWriteBack) & 0xFFFF;
      if (r == v) return twin.vx;
      const bool large = (read_register(kWriteBack) & regs::word_map::kMemorySizeBit) != 0;
      model_flag = 1;
      write_register(kWriteBack, 0);
      return large ? twin.hm_16mw : twin.hm;
    }
  }
  return nullptr;
}

}  // namespace

int32_t read_register(BoardRegister reg) {
  return reg.width == Width::Byte ? ReadByte(board_io_base, reg.offset) : ReadWord(board_io_base, reg.offset);
}

void write_register(BoardRegister reg, int32_t value) {
  if (reg.width == Width::Byte) {
    WriteByte(board_io_base, reg.offset, value);
  } else {
    WriteWord(board_io_base, reg.offset, value);
  }
}

int32_t read(const regs::Map& map, int32_t offset) {
  return map.width == Width::Byte ? ReadByte(board_io_base, offset) : ReadWord(board_io_base, offset);
}

void write(const regs::Map& map, int32_t offset, int32_t value) {
  if (map.width == Width::Byte) {
    WriteByte(board_io_base, offset, value);
  } else {
    WriteWord(board_io_base, offset, value);
  }
}

void read_samples(const regs::Map& map, uint16_t* samples, int32_t n) {
  if (map.width == Width::Byte) {
    // the buffer's bytes in memory order: each sample's low byte first
    ReadByteBlock(board_io_base, map.data, 2 * n, reinterpret_cast<uint8_t*>(samples));
  } else {
    ReadWordBlock(board_io_base, map.data, n, samples);
  }
}

void out(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
  std::fflush(stdout);
}

void close_and_exit() {
  const int32_t rc = Close_Driver();
  if (rc != 0) out("Close_Driverでエラー(%d)が発生しました。\n", rc);
  std::exit(kExitFailure);
}

int key_wait() { return console::getch(); }

int key_poll() { return console::kbhit(); }

std::optional<int32_t> parse_board_no(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
  constexpr int64_t kLimit = int64_t{INT32_MAX} + 1;
  int64_t value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kLimit) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

std::optional<int> start_single_board(const SingleBoardProgram& program, int argc, char** argv) {
  out("%s", program.title);
  std::optional<int32_t> board_no = 0;
  if (argc == 2) {
    board_no = parse_board_no(argv[1]);
  } else if (argc > 2) {
    out("%s", program.usage);
    return kExitFailure;
  }

  const MatchList list = find_boards(program.device_code);
  if (list.count == 0) {
    out("%sが検出できません。\n", program.name);
    close_and_exit();
  }
  out("%sを%d枚検出しました。\n", program.name, list.count);
  if (!board_no || *board_no < 0 || *board_no >= list.count) {
    out("board_noの指定が誤っています。");
    close_and_exit();
  }

  start_board(list.slots[*board_no]);
  const int32_t id = read_register(program.board_id) & 0xFFFF;
  if (id != program.expected_id) {
    out("ボードID(=%02xH)が異常です。\n", id);
    close_and_exit();
  }
  return std::nullopt;
}

void run_board_loop(const BoardLoopProgram& program, BoardStages stages) {
  if (program.titles != nullptr) out("%s", program.titles);
  const MatchList list = find_boards(program.device_code);
  if (list.count == 0) {
    out("%sが検出できません。\n", program.not_found_name);
    close_and_exit();
  }
  if (program.count_name != nullptr) {
    out("%sを%d枚検出しました。\n", program.count_name, list.count);
    out("%s", program.after_count);
  }

  for (int k = 0; k < list.count; ++k) {
    out(program.board_heading, k + 1);
    start_board(list.slots[k]);
    if (program.twin.test != TwinTest::None) {
      out("%d枚目のボードは", k + 1);
      out("%sです。\n", identify_twin(program.twin));
    }
    const uint16_t mask = program.id_mask != 0 ? program.id_mask : width_mask(program.board_id.width);
    const int32_t id = read_register(program.board_id) & mask;
    if (id != program.expected_id) {
      out(program.id_mismatch, id);
      close_and_exit();
    }
    out(program.id_match, id);
    if (program.board_switch) out(program.switch_text, read_register(*program.board_switch) & 0x0F);
    if (stages.run != nullptr) stages.run(stages.member);
    const int32_t rc = Stop_Driver(board_io_base);
    if (rc != 0) {
      out("Stop_Driverでエラー(%d)が発生しました。\n", rc);
      close_and_exit();
    }
    out("%s", program.after_stop);
  }
  close_and_exit();
}

}  // namespace frame
