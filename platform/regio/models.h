// The board models of the bench: one row per model, read against the
// identity tables and register maps of the boards.
//
// A model is data: its register layout (Map) picks the register handlers in
// board.cpp, and the columns below give everything a board of that layout
// varies in. No model has code of its own.
#pragma once

#include <cstdint>
#include <string_view>

namespace regio {

// Register layouts. Every board of one layout answers at the same offsets.
enum class Map : uint8_t {
  Byte,   // VX-424, VX-424B, VX-420, VX-416, VX-422, VX-422B, VX-428, HM-236, HM-232, HM-234
  Word,   // VX-412, VX-414, VX-418, VX-426, HM-230 (both versions)
  Vx410,  // VX-410
  Dx510,  // DX-510
};

// How the frame tells an HM board from the VX board that shares its device
// code and board ID.
enum class Twin : uint8_t {
  None,      // no twin-model identification register
  Invert0E,  // HM-236: byte 0x0E is a plain read/write latch
  Loop0B0C,  // HM-232, HM-234: byte 0x0C reads the complement of the last byte written to 0x0B
  Word1E,    // HM-230: word 0x1E reads the memory size bit and the complement of the last write
};

// How the divider register takes its count.
enum class Divider : uint8_t {
  Paired,   // four writes: N1 low, N1 high, N2 low, N2 high; count N1 x N2
  Count32,  // two word writes: low word, high word of one 32-bit count
  None,     // DX-510
};

// How the channel register is loaded.
enum class Channels : uint8_t {
  Last,         // one write: number of the last channel to scan
  LastTwoByte,  // VX-428, HM-236: two byte writes, low byte first
  List,         // VX-412, VX-414, VX-410: successive writes are successive list entries
  None,         // DX-510
};

// How the memory count register of an HM board reads.
enum class MemoryCount : uint8_t {
  None,
  FourBytes,     // HM-236, HM-232, HM-234: byte 0x08, four reads, lowest byte first
  TwoWordsHalf,  // HM-230-8MW: word 0x10, low then high word, counting two per word
  TwoWords,      // HM-230-16MW: word 0x10, low then high word
};

struct Model {
  std::string_view name;
  Map map;
  int32_t device_code;
  uint16_t board_id;     // what the board ID register reads
  int8_t id_offset;      // board ID register
  int8_t switch_offset;  // board number switch, -1: none
  Twin twin;
  bool hm;  // the HM model of its pair
  Divider divider;
  Channels channels;
  uint32_t base_hz;       // clock select 0x00
  uint32_t second_hz;     // clock select 0x20
  uint32_t fifo_samples;  // FIFO capacity
  uint32_t memory_words;  // HM board memory, 0 on the VX boards
  MemoryCount memory_count;
  bool status_bit3;            // status bit 3 latches with every conversion
  bool full_shows_below_half;  // the below-half bit reads 1 while the full flag is latched
  uint16_t status_high;        // what bits 8 to 15 of the status register read (word map)
};

inline constexpr uint32_t k10MHz = 10'000'000;
inline constexpr uint32_t k8MHz = 8'192'000;
inline constexpr uint32_t k40MHz = 40'000'000;
inline constexpr uint32_t k32MHz = 32'768'000;
inline constexpr uint32_t kFifo = 1024;       // half block of 512 samples
inline constexpr uint32_t kFifoVx410 = 4096;  // half block of 2048 samples
inline constexpr uint32_t k8MW = 8u << 20;
inline constexpr uint32_t k16MW = 16u << 20;

// clang-format off
inline constexpr Model kModels[] = {
// name           map         code   ID      ID@   sw@   twin            HM     divider           channels               base     second   FIFO        memory  memory count               bit3   full: below half  status high
{ "VX-410",      Map::Vx410, 0x10D, 0x16,   0x0E, 0x1A, Twin::None,     false, Divider::Count32, Channels::List,        k40MHz, k32MHz, kFifoVx410, 0,     MemoryCount::None,         false, false, 0      },
{ "VX-412",      Map::Word,  0x103, 0x0A,   0x0E, -1,   Twin::None,     false, Divider::Paired,  Channels::List,        k10MHz, k8MHz,  kFifo,      0,     MemoryCount::None,         false, true,  0x1200 },
{ "VX-414",      Map::Word,  0x104, 0x0B,   0x0E, -1,   Twin::None,     false, Divider::Paired,  Channels::List,        k10MHz, k8MHz,  kFifo,      0,     MemoryCount::None,         false, true,  0x1200 },
{ "VX-416",      Map::Byte,  0x110, 0x2A,   0x07, 0x0B, Twin::None,     false, Divider::Paired,  Channels::Last,        k10MHz, k8MHz,  kFifo,      0,     MemoryCount::None,         false, false, 0      },
{ "VX-418",      Map::Word,  0x201, 0x14,   0x0E, 0x16, Twin::None,     false, Divider::Count32, Channels::Last,        k40MHz, k32MHz, kFifo,      0,     MemoryCount::None,         false, false, 0x1200 },
{ "VX-420",      Map::Byte,  0x107, 0x0E,   0x07, 0x0B, Twin::Loop0B0C, false, Divider::Paired,  Channels::Last,        k10MHz, k8MHz,  kFifo,      0,     MemoryCount::None,         true,  false, 0      },
{ "VX-422",      Map::Byte,  0x108, 0x0F,   0x07, 0x0B, Twin::Loop0B0C, false, Divider::Paired,  Channels::Last,        k10MHz, k8MHz,  kFifo,      0,     MemoryCount::None,         true,  false, 0      },
{ "VX-422B",     Map::Byte,  0x108, 0x0F,   0x07, 0x0B, Twin::Loop0B0C, false, Divider::Paired,  Channels::Last,        k10MHz, k8MHz,  kFifo,      0,     MemoryCount::None,         true,  false, 0      },
{ "VX-424",      Map::Byte,  0x10A, 0x11,   0x07, 0x0B, Twin::None,     false, Divider::Paired,  Channels::Last,        k10MHz, k8MHz,  kFifo,      0,     MemoryCount::None,         false, false, 0      },
{ "VX-424B",     Map::Byte,  0x10A, 0x11,   0x07, 0x0B, Twin::None,     false, Divider::Paired,  Channels::Last,        k10MHz, k8MHz,  kFifo,      0,     MemoryCount::None,         true,  false, 0      },
{ "VX-426",      Map::Word,  0x202, 0x15,   0x0E, 0x16, Twin::Word1E,   false, Divider::Count32, Channels::Last,        k40MHz, k32MHz, kFifo,      0,     MemoryCount::None,         false, false, 0x1200 },
{ "VX-428",      Map::Byte,  0x10C, 0x13,   0x07, 0x0B, Twin::Invert0E, false, Divider::Paired,  Channels::LastTwoByte, k10MHz, k8MHz,  kFifo,      0,     MemoryCount::None,         false, false, 0      },
{ "HM-230-8MW",  Map::Word,  0x202, 0x15,   0x0E, 0x16, Twin::Word1E,   true,  Divider::Count32, Channels::Last,        k40MHz, k32MHz, kFifo,      k8MW,  MemoryCount::TwoWordsHalf, false, false, 0x1200 },
{ "HM-230-16MW", Map::Word,  0x202, 0x15,   0x0E, 0x16, Twin::Word1E,   true,  Divider::Count32, Channels::Last,        k40MHz, k32MHz, kFifo,      k16MW, MemoryCount::TwoWords,     false, false, 0x1200 },
{ "HM-232",      Map::Byte,  0x107, 0x0E,   0x07, 0x0B, Twin::Loop0B0C, true,  Divider::Paired,  Channels::Last,        k10MHz, k8MHz,  kFifo,      k8MW,  MemoryCount::FourBytes,    true,  false, 0      },
{ "HM-234",      Map::Byte,  0x108, 0x0F,   0x07, 0x0B, Twin::Loop0B0C, true,  Divider::Paired,  Channels::Last,        k10MHz, k8MHz,  kFifo,      k8MW,  MemoryCount::FourBytes,    true,  false, 0      },
{ "HM-236",      Map::Byte,  0x10C, 0x13,   0x07, 0x0B, Twin::Invert0E, true,  Divider::Paired,  Channels::LastTwoByte, k10MHz, k8MHz,  kFifo,      k8MW,  MemoryCount::FourBytes,    false, false, 0      },
{ "DX-510",      Map::Dx510, 0x111, 0x122B, 0x1E, 0x08, Twin::None,     false, Divider::None,    Channels::None,        k10MHz, k10MHz, kFifo,      0,     MemoryCount::None,         false, false, 0      },
};
// clang-format on

// The row of a model name, nullptr when there is none.
const Model* find_model(std::string_view name);

// Register width of a model: 8 on the byte map, 16 on the others.
inline bool byte_wide(const Model& m) { return m.map == Map::Byte; }

}  // namespace regio
