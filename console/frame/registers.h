// Register maps of the analog-input boards.
//
// Three layouts: the byte register map (VX-424, VX-424B, VX-420, VX-416,
// VX-422, VX-428, HM-236, HM-232, HM-234), the word register map (VX-412,
// VX-414, VX-418, VX-426, HM-230) and the VX-410's own map. Offsets are from
// the board I/O base; a read and a write at one offset may reach two
// different registers, so each register carries its direction.
#pragma once

#include <cstdint>

namespace regs {

enum class Access { Read, Write, ReadWrite };

// Every register of a board is reached with one access width (byte boards:
// ReadByte, WriteByte, ReadByteBlock; the others the word calls).
enum class Width { Byte, Word };

struct Register {
  int32_t offset;
  Access access;
};

// clang-format off
namespace byte_map {
constexpr Register kData{0x00, Access::Read};              // FIFO; a sample is two reads, low byte first
constexpr Register kChannel{0x00, Access::Write};          // last channel to scan (VX-428, HM-236: two writes, low first)
constexpr Register kRegister02{0x02, Access::Write};       // VX-424B: 0x01 before each conversion run
constexpr Register kSamplingControl{0x03, Access::Write};  // 0x81 start paced, 0x00 stop
constexpr Register kStatus{0x05, Access::Read};
constexpr Register kFlagClear{0x05, Access::Write};        // a 1 bit clears that latched flag
constexpr Register kManualSampling{0x06, Access::Read};    // a read starts one conversion
constexpr Register kBoardId{0x07, Access::Read};           // also the reset read
constexpr Register kClockSelect{0x08, Access::Write};
constexpr Register kMemoryCount{0x08, Access::Read};       // HM-236/232/234: four reads, lowest byte first
constexpr Register kDivider{0x09, Access::Write};          // paired-count divider, four bytes
constexpr Register kBoardSwitch{0x0B, Access::Read};
constexpr Register kTwinWrite{0x0B, Access::Write};        // HM-232, HM-234 identification
constexpr Register kTwinRead{0x0C, Access::ReadWrite};     // HM-232, HM-234 identification
constexpr Register kRegister0D{0x0D, Access::Write};       // VX-428, HM-236: 0x00 after the clock select
constexpr Register kTwinInvert{0x0E, Access::ReadWrite};   // HM-236 identification
}  // namespace byte_map
// clang-format on

// clang-format off
namespace word_map {
constexpr Register kData{0x00, Access::Read};              // FIFO; one word per sample
constexpr Register kChannel{0x00, Access::Write};          // last channel, or (VX-412, VX-414) the channel list
constexpr Register kRegister04{0x04, Access::Write};       // VX-414: 0x0042 before the channel list
constexpr Register kSamplingControl{0x06, Access::Write};  // 0x81 start paced, 0x00 stop
constexpr Register kStatus{0x0A, Access::Read};
constexpr Register kFlagClear{0x0A, Access::Write};
constexpr Register kManualSampling{0x0C, Access::Read};
constexpr Register kBoardId{0x0E, Access::Read};           // also the reset read
constexpr Register kClockSelect{0x10, Access::Write};
constexpr Register kMemoryCount{0x10, Access::Read};       // HM-230: low 16 bits, then high 16 bits
constexpr Register kDivider{0x12, Access::Write};          // paired-count (VX-412, VX-414) or 32-bit
constexpr Register kBoardSwitch{0x16, Access::Read};       // VX-418, HM-230
constexpr Register kTwinWriteBack{0x1E, Access::ReadWrite};  // HM-230 identification
constexpr uint16_t kMemorySizeBit = 0x8000;                // in kTwinWriteBack: the 16M-word version
}  // namespace word_map
// clang-format on

// clang-format off
namespace vx410_map {
constexpr Register kData{0x00, Access::Read};
constexpr Register kChannel{0x00, Access::Write};          // successive writes build the channel list
constexpr Register kTriggerControl{0x06, Access::Write};   // 0x80 enable, 0x00 disable
constexpr Register kSamplingControl{0x08, Access::Write};  // 0x02 paced, 0x04 counted run, 0x00 stop
constexpr Register kManualSampling{0x08, Access::Read};
constexpr Register kStatus{0x0A, Access::Read};
constexpr Register kFlagClear{0x0A, Access::Write};
constexpr Register kBoardId{0x0E, Access::Read};
constexpr Register kClockSelect{0x12, Access::Write};
constexpr Register kDivider{0x14, Access::Write};          // 32-bit divider
constexpr Register kSampleCounter{0x16, Access::Write};    // 32-bit count, low word first
constexpr Register kBoardSwitch{0x1A, Access::Read};
}  // namespace vx410_map
// clang-format on

// DX-510: every register is a word register.
// clang-format off
namespace dx510_map {
constexpr Register kBoardSwitch{0x08, Access::Read};
constexpr Register kCount0C{0x0C, Access::Write};          // two writes before each set-up
constexpr Register kCounter{0x0E, Access::ReadWrite};      // two writes preset it; a read gives its value
constexpr Register kSamplingControl{0x10, Access::ReadWrite};  // 0x80 or 0, paired with kSamplingStart
constexpr Register kSamplingStart{0x12, Access::Write};    // 1 first sampling, 3 later ones, 0 between
constexpr Register kStatus{0x18, Access::Read};            // low 8 bits: the status value
constexpr Register kStatusClear{0x18, Access::Write};      // 0xC0 clears the end flags, 1 the FIFO
constexpr Register kBoardId{0x1E, Access::ReadWrite};      // ID in the low 8 bits; 1 is written before each set-up
}  // namespace dx510_map
// clang-format on

// Sampling control values.
constexpr int32_t kStartPaced = 0x81;
constexpr int32_t kStop = 0x00;
constexpr int32_t kVx410StartPaced = 0x02;
constexpr int32_t kVx410StartCounted = 0x04;
constexpr int32_t kVx410TriggerEnable = 0x80;

// Status register bits; word programs read 16 of them.
namespace status {
constexpr uint32_t kNotEmpty = 0x01;      // the FIFO holds at least one sample
constexpr uint32_t kBelowHalf = 0x02;     // clear from half full up: a half block can be read
constexpr uint32_t kFull = 0x04;          // latched: paced sampling filled the FIFO or board memory
constexpr uint32_t kBit3 = 0x08;          // latched on some boards after conversions
constexpr uint32_t kBit4 = 0x10;          // VX-410: set after the full sampling
constexpr uint32_t kClock = 0x20;         // latched on each pacer clock pulse
constexpr uint32_t kSampling = 0x80;      // latched by a conversion
constexpr uint32_t kVx410Masked = 0x100;  // VX-410: masked off every self-test status read
constexpr uint32_t kCounter = 0x200;      // VX-410: a counted run has taken its samples
constexpr uint32_t kVx410Error = 0x400;   // VX-410: an error bit beside the full flag
}  // namespace status

// One register layout as the stages use it: where each register sits, the
// access width, the bits one status read carries and how a value prints.
// The stages read these rows instead of branching on the layout.
inline constexpr int32_t kNone = -1;  // the layout has no such register

struct Map {
  const char* name;
  Width width;
  int32_t data;              // FIFO (read)
  int32_t channel;           // channel register (write)
  int32_t sampling_control;  // (write)
  int32_t status;            // status register (read)
  int32_t flag_clear;        // (write) a 1 bit clears that latched flag
  int32_t manual_sampling;   // (read) starts one conversion
  int32_t board_id;          // (read) also the reset read
  int32_t clock_select;      // (write)
  int32_t divider;           // (write)
  int32_t memory_count;      // (read) HM boards
  int32_t trigger_control;   // (write) VX-410
  int32_t sample_counter;    // (write) VX-410
  int32_t start_paced;       // sampling control value that starts paced sampling
  uint32_t value_mask;       // the bits one access carries: 0xFF or 0xFFFF
  const char* hex;           // a register value in console texts: "%02x" or "%04x"
};

// clang-format off
//                          name      width        data  chan  ctrl  status clear manual ID    clock divider memcount trigger counter start value   hex
inline constexpr Map kByteMap {"byte",  Width::Byte, 0x00, 0x00, 0x03, 0x05, 0x05, 0x06, 0x07, 0x08, 0x09, 0x08,  kNone, kNone, 0x81, 0xFF,   "%02x"};
inline constexpr Map kWordMap {"word",  Width::Word, 0x00, 0x00, 0x06, 0x0A, 0x0A, 0x0C, 0x0E, 0x10, 0x12, 0x10,  kNone, kNone, 0x81, 0xFFFF, "%04x"};
inline constexpr Map kVx410Map{"VX-410",Width::Word, 0x00, 0x00, 0x08, 0x0A, 0x0A, 0x08, 0x0E, 0x12, 0x14, kNone, 0x06,  0x16,  0x02, 0xFFFF, "%04x"};
// clang-format on

// Clock select values and the clocks they choose.
constexpr int32_t kBaseClock = 0x00;
constexpr int32_t kSecondClock = 0x20;

struct Clocks {
  uint32_t base_hz;
  uint32_t second_hz;
};
constexpr Clocks kClocks10MHz{10'000'000, 8'192'000};   // byte map, VX-412, VX-414
constexpr Clocks kClocks40MHz{40'000'000, 32'768'000};  // VX-418, VX-426, HM-230, VX-410

// The pacer rate is the selected clock divided by the division count.
enum class DividerFormat {
  PairedCount,  // four bytes: N1 low, N1 high, N2 low, N2 high; count N1 * N2
  Bits32,       // two words: low, high of one 32-bit count
};

constexpr uint64_t paired_count(uint8_t n1_low, uint8_t n1_high, uint8_t n2_low, uint8_t n2_high) {
  return uint64_t{static_cast<uint16_t>(n1_low | n1_high << 8)} *
         uint64_t{static_cast<uint16_t>(n2_low | n2_high << 8)};
}

constexpr uint32_t count_32(uint16_t low, uint16_t high) { return uint32_t{low} | uint32_t{high} << 16; }

constexpr double pacer_hz(uint32_t clock_hz, uint64_t division_count) {
  return static_cast<double>(clock_hz) / static_cast<double>(division_count);
}

}  // namespace regs
