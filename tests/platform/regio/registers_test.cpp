// The registers the frame reads and writes, on every model: board ID, board
// number switch, twin-model identification; and the read overrides.
#include <gtest/gtest.h>

#include <string>

#include "bench_fixture.h"

namespace {

using regio_test::one_board;

class Registers : public regio_test::Bench {
 protected:
  int32_t read(bool byte_wide, int32_t base, int32_t offset) {
    return byte_wide ? ReadByte(base, offset) : ReadWord(base, offset);
  }
};

struct IdRow {
  const char* model;
  bool byte_wide;
  int32_t id_offset;
  int32_t id;
  int32_t switch_offset;  // -1: none
  int32_t switch_value;   // written into the bench file
};

// clang-format off
const IdRow kIds[] = {
// model          byte   ID@   ID      switch@ switch
{ "VX-410",      false, 0x0E, 0x16,   0x1A,   0x1234 },
{ "VX-412",      false, 0x0E, 0x0A,   -1,     0      },
{ "VX-414",      false, 0x0E, 0x0B,   -1,     0      },
{ "VX-416",      true,  0x07, 0x2A,   0x0B,   0x05   },
{ "VX-418",      false, 0x0E, 0x14,   0x16,   0xFFF7 },
{ "VX-420",      true,  0x07, 0x0E,   0x0B,   0xF3   },
{ "VX-422",      true,  0x07, 0x0F,   0x0B,   0x0F   },
{ "VX-422B",     true,  0x07, 0x0F,   0x0B,   0x10   },
{ "VX-424",      true,  0x07, 0x11,   0x0B,   0x03   },
{ "VX-424B",     true,  0x07, 0x11,   0x0B,   0x81   },
{ "VX-426",      false, 0x0E, 0x15,   0x16,   0x0002 },
{ "VX-428",      true,  0x07, 0x13,   0x0B,   0x07   },
{ "HM-230-8MW",  false, 0x0E, 0x15,   0x16,   0x000C },
{ "HM-230-16MW", false, 0x0E, 0x15,   0x16,   0x8001 },
{ "HM-232",      true,  0x07, 0x0E,   0x0B,   0x0A   },
{ "HM-234",      true,  0x07, 0x0F,   0x0B,   0xFF   },
{ "HM-236",      true,  0x07, 0x13,   0x0B,   0x5A   },
{ "DX-510",      false, 0x1E, 0x122B, 0x08,   0x00A3 },
};
// clang-format on

TEST_F(Registers, BoardIdAndSwitchOfEveryModel) {
  for (const IdRow& row : kIds) {
    const std::string sw = row.switch_offset >= 0 ? "switch = " + std::to_string(row.switch_value) + "\n" : "";
    const int32_t base = start(one_board(row.model, sw));
    EXPECT_EQ(read(row.byte_wide, base, row.id_offset), row.id) << row.model;
    EXPECT_EQ(read(row.byte_wide, base, row.id_offset), row.id) << row.model << " second read";
    if (row.switch_offset >= 0) {
      EXPECT_EQ(read(row.byte_wide, base, row.switch_offset), row.switch_value) << row.model;
    }
  }
}

TEST_F(Registers, SwitchDefaultsToZero) {
  for (const IdRow& row : kIds) {
    if (row.switch_offset < 0) continue;
    const int32_t base = start(one_board(row.model));
    EXPECT_EQ(read(row.byte_wide, base, row.switch_offset), 0) << row.model;
  }
}

TEST_F(Registers, WrongBoardIdFault) {
  for (const IdRow& row : kIds) {
    const int32_t base = start(one_board(row.model, "board_id = 0x12\n"));
    EXPECT_EQ(read(row.byte_wide, base, row.id_offset), 0x12) << row.model;
  }
}

// The identification sequences as the twin-model programs make them.

// hm236diag: byte 0x0E, inverting test. Returns whether the board is the HM model.
bool invert_test(int32_t base) {
  const int32_t v = ReadByte(base, 0x0E);
  WriteByte(base, 0x0E, v == 0 ? 1 : 0);
  const int32_t r = ReadByte(base, 0x0E);
  WriteByte(base, 0x0E, v);
  if (r == v) return false;
  WriteByte(base, 0x0E, 0);
  return true;
}

// hm232diag, hm234diag: read 0x0C, write 0x0B.
bool loop_test(int32_t base) {
  const int32_t v = ReadByte(base, 0x0C);
  WriteByte(base, 0x0B, v);
  const int32_t r = ReadByte(base, 0x0C);
  WriteByte(base, 0x0B, v);
  if (r == v) return false;
  WriteByte(base, 0x0B, 0);
  return true;
}

// hm230diag: word 0x1E write-back; *big gets the memory size bit.
bool write_back_test(int32_t base, bool* big) {
  const int32_t v = ReadWord(base, 0x1E);
  WriteWord(base, 0x1E, v);
  const int32_t r = ReadWord(base, 0x1E);
  if (r == v) return false;
  *big = (ReadWord(base, 0x1E) & 0x8000) != 0;
  WriteWord(base, 0x1E, 0);
  return true;
}

TEST_F(Registers, TwinModelIdentification) {
  struct Row {
    const char* model;
    char test;  // 'i' invert 0x0E, 'l' 0x0C/0x0B, 'w' word 0x1E
    bool hm;
    bool big;
  };
  const Row rows[] = {
      {"HM-236", 'i', true, false},   {"VX-428", 'i', false, false},    {"HM-232", 'l', true, false},
      {"VX-420", 'l', false, false},  {"HM-234", 'l', true, false},     {"VX-422", 'l', false, false},
      {"VX-422B", 'l', false, false}, {"HM-230-8MW", 'w', true, false}, {"HM-230-16MW", 'w', true, true},
      {"VX-426", 'w', false, false},
  };
  for (const Row& row : rows) {
    const int32_t base = start(one_board(row.model));
    for (int pass = 0; pass < 2; ++pass) {  // a second identification gives the same answer
      bool big = false;
      const bool hm = row.test == 'i'   ? invert_test(base)
                      : row.test == 'l' ? loop_test(base)
                                        : write_back_test(base, &big);
      EXPECT_EQ(hm, row.hm) << row.model << " pass " << pass;
      EXPECT_EQ(big, row.big) << row.model << " pass " << pass;
    }
  }
}

TEST_F(Registers, Hm236LatchEndsAtZero) {
  const int32_t base = start(one_board("HM-236"));
  EXPECT_EQ(ReadByte(base, 0x0E), 0x00);
  WriteByte(base, 0x0E, 0x1A5);  // the low 8 bits count
  EXPECT_EQ(ReadByte(base, 0x0E), 0xA5);
  EXPECT_EQ(ReadByte(base, 0x07), 0x13);  // the reset read leaves the latch
  EXPECT_EQ(ReadByte(base, 0x0E), 0xA5);
  ASSERT_TRUE(invert_test(base));
  EXPECT_EQ(ReadByte(base, 0x0E), 0x00);
}

TEST_F(Registers, Vx428KeepsRegister0E) {
  const int32_t base = start(one_board("VX-428"));
  const int32_t before = ReadByte(base, 0x0E);
  WriteByte(base, 0x0E, before == 0 ? 1 : 0);
  EXPECT_EQ(ReadByte(base, 0x0E), before);
}

TEST_F(Registers, Hm230SizeBitOnEveryRead) {
  int32_t base = start(one_board("HM-230-16MW"));
  for (int32_t written : {0x0000, 0x7FFF, 0x8000, 0x1234}) {
    WriteWord(base, 0x1E, written);
    EXPECT_EQ(ReadWord(base, 0x1E) & 0x8000, 0x8000) << written;
  }
  base = start(one_board("HM-230-8MW"));
  for (int32_t written : {0x0000, 0x7FFF, 0x8000, 0x1234}) {
    WriteWord(base, 0x1E, written);
    EXPECT_EQ(ReadWord(base, 0x1E) & 0x8000, 0) << written;
  }
}

TEST_F(Registers, BoardsInOneBenchAreApart) {
  ASSERT_EQ(open("[[board]]\nslot = 2\nmodel = \"HM-236\"\n[[board]]\nslot = 6\nmodel = \"HM-236\"\n"), 0);
  int32_t a = 0, b = 0;
  ASSERT_EQ(Start_Driver(2, 2, &a), 0);
  ASSERT_EQ(Start_Driver(6, 2, &b), 0);
  WriteByte(a, 0x0E, 0x33);
  EXPECT_EQ(ReadByte(a, 0x0E), 0x33);
  EXPECT_EQ(ReadByte(b, 0x0E), 0x00);
}

// --- read overrides -------------------------------------------------------------

TEST_F(Registers, SequenceThenBackToTheModel) {
  const int32_t base = start(one_board("VX-424", "[[board.read]]\noffset = 0x05\nvalues = [0x03, 0x01]\n"));
  EXPECT_EQ(ReadByte(base, 0x05), 0x03);
  EXPECT_EQ(ReadByte(base, 0x05), 0x01);
  EXPECT_EQ(ReadByte(base, 0x05), 0x02) << "the model: empty FIFO";
  EXPECT_EQ(ReadByte(base, 0x05), 0x02);
  EXPECT_EQ(ReadByte(base, 0x07), 0x11) << "other registers untouched";
}

TEST_F(Registers, FixedValueForEver) {
  const int32_t base = start(one_board("VX-418", "[[board.read]]\noffset = 0x0A\nvalue = 0x1283\n"));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(ReadWord(base, 0x0A), 0x1283) << i;
}

TEST_F(Registers, AfterLeavesTheFirstReadsToTheModel) {
  const int32_t base = start(one_board("VX-426",
                                       "[[board.read]]\noffset = 0x0E\nvalues = [0x99]\nafter = 2\n"
                                       "[[board.read]]\noffset = 0x16\nvalue = 0x7\nafter = 1\n"));
  EXPECT_EQ(ReadWord(base, 0x0E), 0x15);
  EXPECT_EQ(ReadWord(base, 0x0E), 0x15);
  EXPECT_EQ(ReadWord(base, 0x0E), 0x99);
  EXPECT_EQ(ReadWord(base, 0x0E), 0x15);
  EXPECT_EQ(ReadWord(base, 0x16), 0x0);
  EXPECT_EQ(ReadWord(base, 0x16), 0x7);
  EXPECT_EQ(ReadWord(base, 0x16), 0x7);
}

TEST_F(Registers, OverrideOfAnOffsetTheModelLacks) {
  const int32_t base = start(one_board("VX-424", "[[board.read]]\noffset = 0x1F\nvalues = [0x5A]\n"));
  EXPECT_EQ(ReadByte(base, 0x1F), 0x5A);
  EXPECT_EQ(ReadByte(base, 0x1F), 0xFF);
}

TEST_F(Registers, OverriddenReadStillActsOnTheBoard) {
  // the board ID read still resets: the manual sample is gone afterwards
  const int32_t base = start(one_board("VX-424", "[[board.read]]\noffset = 0x07\nvalue = 0x12\n"));
  ReadByte(base, 0x06);
  EXPECT_EQ(ReadByte(base, 0x05), 0x83);
  EXPECT_EQ(ReadByte(base, 0x07), 0x12);
  EXPECT_EQ(ReadByte(base, 0x05), 0x02);
}

TEST_F(Registers, BlockReadsTakeOverriddenValues) {
  const int32_t base = start(one_board("VX-426", "[[board.read]]\noffset = 0x00\nvalues = [1, 2, 3]\n"));
  uint16_t words[5] = {};
  ReadWordBlock(base, 0x00, 5, words);
  EXPECT_EQ(words[0], 1);
  EXPECT_EQ(words[1], 2);
  EXPECT_EQ(words[2], 3);
  EXPECT_EQ(words[3], 0xFFFF) << "empty FIFO";
}

TEST_F(Registers, ManyOverridesOnOneBoard) {
  std::string reads;
  for (int offset = 0x10; offset < 0x30; ++offset) {
    reads += "[[board.read]]\noffset = " + std::to_string(offset) + "\nvalue = " + std::to_string(offset + 1) + "\n";
  }
  const int32_t base = start(one_board("VX-418", reads));
  for (int32_t offset = 0x10; offset < 0x30; ++offset) {
    EXPECT_EQ(ReadWord(base, offset), offset + 1) << offset;
  }
}

TEST_F(Registers, TraceShowsTheOverriddenValue) {
  ASSERT_EQ(open(one_board("DX-510", "[[board.read]]\noffset = 0x1E\nvalues = [0x002B, 0x012C]\n"), true), 0);
  int32_t base = 0;
  Start_Driver(0, 2, &base);
  ReadWord(base, 0x1E);
  ReadWord(base, 0x1E);
  ReadWord(base, 0x1E);
  EXPECT_EQ(trace_text(),
            "Open_Driver() = 0 [0x111 -1 -1 -1 -1 -1 -1 -1]\n"
            "Start_Driver(0, 2) = 0 io_base=0xd000\n"
            "ReadWord(0xd000, 0x1e) = 0x002b\n"
            "ReadWord(0xd000, 0x1e) = 0x012c\n"
            "ReadWord(0xd000, 0x1e) = 0x122b\n"
            "Close_Driver() = 0\n");
}

}  // namespace
