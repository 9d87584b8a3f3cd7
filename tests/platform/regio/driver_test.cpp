// The control calls, their faults, the default benches, virtual time and the
// trace.
#include <gtest/gtest.h>

#include <csignal>

#include <string>

#include "bench.h"
#include "bench_fixture.h"

namespace {

using regio_test::one_board;

class Driver : public regio_test::Bench {};

const char kMixed[] = R"(
[[board]]
slot = 1
model = "VX-412"
[[board]]
slot = 3
model = "HM-236"
[[board]]
slot = 5
model = "VX-424B"
[[board]]
slot = 7
model = "DX-510"
)";

TEST_F(Driver, DeviceTableHoldsEachBoardsCode) {
  ASSERT_EQ(open(kMixed), 0);
  const int32_t expected[REGIO_SLOTS] = {-1, 0x103, -1, 0x10C, -1, 0x10A, -1, 0x111};
  for (int i = 0; i < REGIO_SLOTS; ++i) EXPECT_EQ(table[i], expected[i]) << "slot " << i;
}

TEST_F(Driver, DeviceCodeOfEveryModel) {
  struct Row {
    const char* model;
    int32_t code;
  };
  const Row rows[] = {
      {"VX-410", 0x10D}, {"VX-412", 0x103}, {"VX-414", 0x104},     {"VX-416", 0x110},      {"VX-418", 0x201},
      {"VX-420", 0x107}, {"VX-422", 0x108}, {"VX-422B", 0x108},    {"VX-424", 0x10A},      {"VX-424B", 0x10A},
      {"VX-426", 0x202}, {"VX-428", 0x10C}, {"HM-230-8MW", 0x202}, {"HM-230-16MW", 0x202}, {"HM-232", 0x107},
      {"HM-234", 0x108}, {"HM-236", 0x10C}, {"DX-510", 0x111},
  };
  for (const Row& row : rows) {
    ASSERT_EQ(open("[[board]]\nslot = 6\nmodel = \"" + std::string(row.model) + "\"\n"), 0);
    EXPECT_EQ(table[6], row.code) << row.model;
    EXPECT_EQ(table[0], -1) << row.model;
  }
}

TEST_F(Driver, EachSlotHasItsOwnIoBase) {
  ASSERT_EQ(open(kMixed), 0);
  for (int32_t slot : {1, 3, 5, 7}) {
    int32_t base = 0;
    EXPECT_EQ(Start_Driver(slot, 2, &base), 0) << slot;
    EXPECT_EQ(base, 0xD000 + 0x100 * slot) << slot;
  }
}

TEST_F(Driver, ControlCallErrors) {
  int32_t base = 0x1234;
  EXPECT_EQ(Start_Driver(0, 2, &base), 1) << "before Open_Driver";
  EXPECT_EQ(Stop_Driver(0xD000), 1) << "before Open_Driver";
  EXPECT_EQ(Close_Driver(), 1) << "before Open_Driver";
  ASSERT_EQ(open(kMixed), 0);
  EXPECT_EQ(Start_Driver(8, 2, &base), 2);
  EXPECT_EQ(Start_Driver(-1, 2, &base), 2);
  EXPECT_EQ(Start_Driver(0, 2, &base), 3) << "empty slot";
  EXPECT_EQ(Start_Driver(1, 2, nullptr), 4);
  EXPECT_EQ(base, 0x1234) << "no base on a failure";
  EXPECT_EQ(Stop_Driver(0xD100), 5) << "not started";
  ASSERT_EQ(Start_Driver(1, 2, &base), 0);
  EXPECT_EQ(Stop_Driver(0xD101), 5) << "not a base";
  EXPECT_EQ(Stop_Driver(0xD000), 5) << "empty slot's base";
  EXPECT_EQ(Stop_Driver(base), 0);
  EXPECT_EQ(Stop_Driver(base), 5) << "stopped twice";
  EXPECT_EQ(Close_Driver(), 0);
  EXPECT_EQ(Close_Driver(), 1) << "closed twice";
  EXPECT_EQ(Open_Driver(nullptr), -2);
}

TEST_F(Driver, FaultsOfTheControlCalls) {
  ASSERT_EQ(open("[driver]\nopen = -3\n" + one_board("VX-424")), -3);
  for (int32_t slot : table) EXPECT_EQ(slot, -1) << "device table not filled";
  int32_t base = 0;
  EXPECT_EQ(Start_Driver(0, 2, &base), 1) << "a failed open leaves the driver closed";

  ASSERT_EQ(open("[driver]\nclose = 5\n" + one_board("VX-424", "start = 7\n") +
                 "[[board]]\nslot = 1\nmodel = \"VX-424\"\nstop = 9\n"),
            0);
  base = 0x55;
  EXPECT_EQ(Start_Driver(0, 2, &base), 7);
  EXPECT_EQ(base, 0x55);
  EXPECT_EQ(ReadByte(0xD000, 0x07), 0xFF) << "a board whose start failed is not started";
  ASSERT_EQ(Start_Driver(1, 2, &base), 0);
  EXPECT_EQ(Stop_Driver(base), 9);
  EXPECT_EQ(ReadByte(base, 0x07), 0x11) << "a failed stop leaves the board running";
  EXPECT_EQ(Close_Driver(), 5);
  EXPECT_EQ(Close_Driver(), 1) << "a failing close still closes";
}

TEST_F(Driver, NoStartedBoardReadsAllOnes) {
  ASSERT_EQ(open(kMixed), 0);
  EXPECT_EQ(ReadByte(0xD300, 0x07), 0xFF) << "not started";
  EXPECT_EQ(ReadWord(0xD100, 0x0E), 0xFFFF) << "not started";
  EXPECT_EQ(ReadWord(0, 0), 0xFFFF);
  WriteByte(0xD300, 0x0E, 1);
  uint8_t bytes[3] = {1, 2, 3};
  ReadByteBlock(0xD000, 0, 3, bytes);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[2], 0xFF);
  uint16_t words[2] = {1, 2};
  ReadWordBlock(-5, 0, 2, words);
  EXPECT_EQ(words[1], 0xFFFF);
  ReadWordBlock(0xD100, 0, 5, nullptr);  // no buffer: nothing happens
  ReadWordBlock(0xD100, 0, -5, words);
  int32_t base = 0;
  ASSERT_EQ(Start_Driver(3, 2, &base), 0);
  EXPECT_EQ(ReadByte(base, 0x0E), 0x00) << "the write before the start did not reach the board";
  ASSERT_EQ(Close_Driver(), 0);
  EXPECT_EQ(ReadByte(base, 0x07), 0xFF) << "after Close_Driver";
}

TEST_F(Driver, OffsetsAModelDoesNotHave) {
  int32_t base = start(one_board("VX-424"));
  for (int32_t offset : {0x01, 0x04, 0x0F, 0x10, 0x7F, 0x100, -1}) {
    EXPECT_EQ(ReadByte(base, offset), 0xFF) << offset;
  }
  base = start(one_board("VX-418"));
  for (int32_t offset : {0x02, 0x14, 0x1E, 0x20, 0x1001, INT32_MAX, INT32_MIN}) {
    EXPECT_EQ(ReadWord(base, offset), 0xFFFF) << offset;
    EXPECT_EQ(ReadByte(base, offset), 0xFF) << offset;
  }
  base = start(one_board("VX-424"));
  WriteWord(base, INT32_MAX, 0x0181);  // no offset + 1 beyond the last offset
  EXPECT_EQ(ReadWord(base, 0xFF), 0xFFFF) << "the window's last byte and the nothing past it";
}

TEST_F(Driver, AnyIoBaseIsNoBoardOrOne) {
  ASSERT_EQ(open(kMixed), 0);
  for (int32_t io_base : {INT32_MIN, INT32_MIN + 0xD000, -1, 0xD000 - 0x100, 0xD000 + 8 * 0x100, 0xD001, INT32_MAX}) {
    EXPECT_EQ(ReadByte(io_base, 0x07), 0xFF) << io_base;
    EXPECT_EQ(Stop_Driver(io_base), 5) << io_base;
  }
}

TEST_F(Driver, OpenAgainRereadsTheEnvironment) {
  ASSERT_EQ(open(one_board("VX-424")), 0);
  EXPECT_EQ(table[0], 0x10A);
  ASSERT_EQ(Close_Driver(), 0);
  ASSERT_EQ(open("[[board]]\nslot = 4\nmodel = \"VX-418\"\n"), 0);
  EXPECT_EQ(table[0], -1);
  EXPECT_EQ(table[4], 0x201);
}

// --- default benches ---------------------------------------------------------

TEST(DefaultBench, EveryProgramFindsItsBoards) {
  struct Row {
    const char* program;
    std::vector<std::string> models;
  };
  const Row rows[] = {
      {"vx424chk", {"VX-424", "VX-424"}},     {"hm230chk", {"VX-426", "VX-426"}},
      {"vx412chk", {"VX-412", "VX-412"}},     {"vx420chk", {"VX-420", "VX-420"}},
      {"vx416chk", {"VX-416", "VX-416"}},     {"vx422chk", {"VX-422", "VX-422"}},
      {"vx414chk", {"VX-414", "VX-414"}},     {"vx410chk", {"VX-410", "VX-410"}},
      {"vx428chk", {"VX-428", "VX-428"}},     {"vx418chk", {"VX-418", "VX-418"}},
      {"vx426chk", {"VX-426", "VX-426"}},     {"hm236diag", {"HM-236", "VX-428"}},
      {"vx420diag", {"VX-420", "VX-420"}},    {"vx414diag", {"VX-414", "VX-414"}},
      {"vx424diag", {"VX-424", "VX-424"}},    {"hm230diag", {"HM-230-8MW", "HM-230-16MW", "VX-426"}},
      {"vx412diag", {"VX-412", "VX-412"}},    {"vx418diag", {"VX-418", "VX-418"}},
      {"vx424bdiag", {"VX-424B", "VX-424B"}}, {"vx416diag", {"VX-416", "VX-416"}},
      {"hm232diag", {"HM-232", "VX-420"}},    {"hm234diag", {"HM-234", "VX-422"}},
      {"vx410diag", {"VX-410", "VX-410"}},    {"vx422diag", {"VX-422", "VX-422"}},
      {"dx510diag", {"DX-510", "DX-510"}},
  };
  for (const Row& row : rows) {
    const regio::BenchSetup bench = regio::default_bench(row.program);
    for (size_t slot = 0; slot < regio::kSlots; ++slot) {
      const regio::BoardSetup& b = bench.slots[slot];
      if (slot < row.models.size()) {
        ASSERT_NE(b.model, nullptr) << row.program << " slot " << slot;
        EXPECT_EQ(b.model->name, row.models[slot]) << row.program << " slot " << slot;
        EXPECT_FALSE(b.id_fault) << row.program;
        EXPECT_EQ(b.start_result, 0) << row.program;
        EXPECT_TRUE(b.reads.empty()) << row.program;
      } else {
        EXPECT_EQ(b.model, nullptr) << row.program << " slot " << slot;
      }
    }
  }
}

TEST(DefaultBench, OtherProgramsFindAnEmptyBench) {
  for (const char* program : {"", "vx424", "VX424CHK", "vx424chk2", "qai_panel"}) {
    const regio::BenchSetup bench = regio::default_bench(program);
    for (const regio::BoardSetup& b : bench.slots) EXPECT_EQ(b.model, nullptr) << program;
  }
}

TEST_F(Driver, WithoutBenchFileTheProgramNameChooses) {
  // this test program's name is in no row
  unsetenv("REGIO_BENCH");
  setenv("REGIO_BENCH", "", 1);  // empty counts as unset
  for (int32_t& slot : table) slot = 0;
  ASSERT_EQ(Open_Driver(table), 0);
  for (int32_t slot : table) EXPECT_EQ(slot, -1);
}

// --- virtual time --------------------------------------------------------------

TEST_F(Driver, CostsOfTheCalls) {
  ASSERT_EQ(open("[clock]\nstart_ms = 7\n" + one_board("VX-426")), 0);
  const uint64_t t0 = Regio_Clock_ns(0);
  EXPECT_EQ(t0, 7'000'000u + 50'000u) << "start_ms, then Open_Driver's cost";
  int32_t base = 0;
  ASSERT_EQ(Start_Driver(0, 2, &base), 0);
  EXPECT_EQ(Regio_Clock_ns(0), t0 + 50'000);
  ReadWord(base, 0x0E);
  WriteWord(base, 0x00, 0);
  EXPECT_EQ(Regio_Clock_ns(0), t0 + 51'000) << "500 ns an access";
  uint16_t words[100];
  ReadWordBlock(base, 0x00, 100, words);
  EXPECT_EQ(Regio_Clock_ns(0), t0 + 101'000) << "500 ns an element";
  uint8_t bytes[100];
  ReadByteBlock(base, 0x00, 100, bytes);
  EXPECT_EQ(Regio_Clock_ns(0), t0 + 151'000);
  Regio_Tick_ms();
  EXPECT_EQ(Regio_Clock_ns(0), t0 + 151'020) << "20 ns a tick read";
  ReadByte(0xD700, 0x05);  // a register access costs also where no board answers
  EXPECT_EQ(Regio_Clock_ns(0), t0 + 151'520);
  Stop_Driver(base);
  Stop_Driver(base);  // failing calls cost too
  EXPECT_EQ(Regio_Clock_ns(0), t0 + 251'520);
}

TEST_F(Driver, TheBenchFileSetsTheAccessCost) {
  ASSERT_EQ(open("[driver]\naccess_ns = 2000\n" + one_board("VX-424")), 0);
  int32_t base = 0;
  ASSERT_EQ(Start_Driver(0, 2, &base), 0);
  const uint64_t t0 = Regio_Clock_ns(0);
  WriteByte(base, 0x03, 0);
  uint8_t bytes[10];
  ReadByteBlock(base, 0x00, 10, bytes);
  EXPECT_EQ(Regio_Clock_ns(0), t0 + 22'000);
}

TEST_F(Driver, ABusyPollRunsOnToTheNextPulseOrMillisecond) {
  // VX-426 pacing at 10 Hz: pulses at the start write, then every 100 ms
  ASSERT_EQ(open(one_board("VX-426")), 0);
  int32_t base = 0;
  ASSERT_EQ(Start_Driver(0, 2, &base), 0);
  WriteWord(base, 0x00, 0);
  WriteWord(base, 0x10, 0);
  WriteWord(base, 0x12, 0x0900);
  WriteWord(base, 0x12, 0x003D);
  const uint64_t start = Regio_Clock_ns(0);
  WriteWord(base, 0x06, 0x81);
  WriteWord(base, 0x0A, 0x20);  // clear the clock flag of the first pulse
  // the status poll with the tick between its reads, as a status wait makes it
  uint32_t ticks = 0, last = Regio_Tick_ms(), polls = 0;
  while ((ReadWord(base, 0x0A) & 0x20) == 0) {
    ++polls;
    const uint32_t now = Regio_Tick_ms();
    EXPECT_LE(now - last, 1u) << "the tick shows every millisecond";
    ticks += now - last;
    last = now;
  }
  EXPECT_EQ(Regio_Clock_ns(0) - start, 100'000'000u + 20u + 500u)
      << "the clock stood at the pulse for the tick read and the read that saw it";
  EXPECT_EQ(ticks, 100u);
  EXPECT_LT(polls, 300u) << "about one poll a millisecond, not one every 520 ns";
  // a wait on the tick alone
  const uint32_t t = Regio_Tick_ms();
  uint32_t reads = 0;
  while (Regio_Tick_ms() - t < 500) ++reads;
  EXPECT_LE(reads, 1000u);
  EXPECT_GE(reads, 500u);
}

TEST_F(Driver, ClockIsTheSameOnEveryRun) {
  uint64_t first = 0;
  for (int run = 0; run < 2; ++run) {
    ASSERT_EQ(open("[clock]\nstart_ms = 0xFFFFFFFF\n" + one_board("VX-424")), 0);
    int32_t base = 0;
    Start_Driver(0, 2, &base);
    for (int i = 0; i < 10; ++i) ReadByte(base, i % 2 == 0 ? 0x05 : 0x0B);
    const uint64_t now = Regio_Clock_ns(3);
    if (run == 0) first = now;
    EXPECT_EQ(now, first);
    EXPECT_EQ(now, 0xFFFFFFFFull * 1'000'000 + 50'000 + 50'000 + 10 * 500 + 3) << "no wrap in the nanosecond clock";
    EXPECT_EQ(Regio_Tick_ms(), 0xFFFFFFFFu);
  }
}

// --- trace --------------------------------------------------------------------

TEST_F(Driver, TraceLines) {
  ASSERT_EQ(open("[driver]\nclose = 5\n"
                 "[[board]]\nslot = 0\nmodel = \"VX-424\"\nswitch = 0x13\n"
                 "[[board]]\nslot = 1\nmodel = \"VX-426\"\n"
                 "[[board]]\nslot = 3\nmodel = \"VX-424\"\nstart = 7\n",
                 true),
            0);
  int32_t base = 0;
  Start_Driver(0, 2, &base);
  Start_Driver(3, 2, &base);
  ReadByte(0xD000, 0x07);
  WriteByte(0xD000, 0x03, 0x181);
  WriteByte(0xD000, 0x03, -1);
  ReadByte(0xD000, 0x0B);
  Start_Driver(1, 2, &base);
  ReadWord(0xD100, 0x0E);
  WriteWord(0xD100, 0x12, 0x0900);
  uint8_t bytes[64];
  ReadByteBlock(0xD000, 0x00, 64, bytes);
  uint16_t words[512];
  ReadWordBlock(0xD100, 0x00, 512, words);
  regio_test::clock_us(5);
  Stop_Driver(0xD000);
  Close_Driver();
  EXPECT_EQ(regio_test::read_file(trace_path),
            "Open_Driver() = 0 [0x10a 0x202 -1 0x10a -1 -1 -1 -1]\n"
            "Start_Driver(0, 2) = 0 io_base=0xd000\n"
            "Start_Driver(3, 2) = 7\n"
            "ReadByte(0xd000, 0x07) = 0x11\n"
            "WriteByte(0xd000, 0x03, 0x181)\n"
            "WriteByte(0xd000, 0x03, 0xffffffff)\n"
            "ReadByte(0xd000, 0x0b) = 0x13\n"
            "Start_Driver(1, 2) = 0 io_base=0xd100\n"
            "ReadWord(0xd100, 0x0e) = 0x0015\n"
            "WriteWord(0xd100, 0x12, 0x900)\n"
            "ReadByteBlock(0xd000, 0x00, 64)\n"
            "ReadWordBlock(0xd100, 0x00, 512)\n"
            "Stop_Driver(0xd000) = 0\n"
            "Close_Driver() = 5\n");
}

TEST_F(Driver, TraceFoldsRunsOfIdenticalLines) {
  ASSERT_EQ(open(one_board("VX-424"), true), 0);
  int32_t base = 0;
  Start_Driver(0, 2, &base);
  for (int i = 0; i < 1000; ++i) ReadByte(base, 0x05);
  ReadByte(base, 0x0B);
  ReadByte(base, 0x05);
  WriteByte(base, 0x09, 0xE8);
  WriteByte(base, 0x09, 0xE8);
  WriteByte(base, 0x09, 0x03);
  EXPECT_EQ(trace_text(),
            "Open_Driver() = 0 [0x10a -1 -1 -1 -1 -1 -1 -1]\n"
            "Start_Driver(0, 2) = 0 io_base=0xd000\n"
            "ReadByte(0xd000, 0x05) = 0x02 [x 1000]\n"
            "ReadByte(0xd000, 0x0b) = 0x00\n"
            "ReadByte(0xd000, 0x05) = 0x02\n"
            "WriteByte(0xd000, 0x09, 0xe8) [x 2]\n"
            "WriteByte(0xd000, 0x09, 0x3)\n"
            "Close_Driver() = 0\n");
}

// A drain reads data and status in turn: the pair folds from its third
// time on, the data reads showing their first and last value; a status value
// that changes ends the group, so every new status has a line. Two repeats
// stay as they are.
TEST_F(Driver, TraceFoldsRepeatingGroups) {
  ASSERT_EQ(open(one_board("VX-426", "fifo_samples = 8\n"), true), 0);
  int32_t base = 0;
  Start_Driver(0, 2, &base);
  for (int i = 0; i < 8; ++i) ReadWord(base, 0x0C);  // scans 0 to 7 of channel 0
  for (int i = 0; i < 8; ++i) {
    ReadWord(base, 0x00);
    ReadWord(base, 0x0A);
  }
  for (int i = 0; i < 2; ++i) {
    WriteWord(base, 0x12, 0x0900);
    WriteWord(base, 0x12, 0x003D);
  }
  EXPECT_EQ(trace_text(),
            "Open_Driver() = 0 [0x202 -1 -1 -1 -1 -1 -1 -1]\n"
            "Start_Driver(0, 2) = 0 io_base=0xd000\n"
            "ReadWord(0xd000, 0x0c) = 0x0000 [x 8]\n"
            "{\n"
            "ReadWord(0xd000, 0x00) = 0x0000 .. 0x3000\n"
            "ReadWord(0xd000, 0x0a) = 0x1281\n"
            "} [x 4]\n"
            "{\n"
            "ReadWord(0xd000, 0x00) = 0x4000 .. 0x6000\n"
            "ReadWord(0xd000, 0x0a) = 0x1283\n"
            "} [x 3]\n"
            "ReadWord(0xd000, 0x00) = 0x7000\n"
            "ReadWord(0xd000, 0x0a) = 0x1282\n"
            "WriteWord(0xd000, 0x12, 0x900)\n"
            "WriteWord(0xd000, 0x12, 0x3d)\n"
            "WriteWord(0xd000, 0x12, 0x900)\n"
            "WriteWord(0xd000, 0x12, 0x3d)\n"
            "Close_Driver() = 0\n");
}

TEST_F(Driver, TracedPollIsOneFoldedLine) {
  // a status wait of 2 s virtual time, traced (its speed: regio_bench_speed)
  ASSERT_EQ(open(one_board("VX-426"), true), 0);
  int32_t base = 0;
  Start_Driver(0, 2, &base);
  for (int i = 0; i < 1'000'000; ++i) {
    ReadWord(base, 0x0A);
    regio_test::clock_us(1);
  }
  EXPECT_EQ(trace_text(),
            "Open_Driver() = 0 [0x202 -1 -1 -1 -1 -1 -1 -1]\n"
            "Start_Driver(0, 2) = 0 io_base=0xd000\n"
            "ReadWord(0xd000, 0x0a) = 0x1202 [x 1000000]\n"
            "Close_Driver() = 0\n");
}

TEST_F(Driver, TraceOfAFailedOpen) {
  ASSERT_EQ(open("[driver]\nopen = -3\n", true), -3);
  EXPECT_EQ(Close_Driver(), 1);
  EXPECT_EQ(regio_test::read_file(trace_path), "Open_Driver() = -3\nClose_Driver() = 1\n");
}

TEST_F(Driver, TraceOfABadBench) {
  ::testing::internal::CaptureStderr();
  ASSERT_EQ(open("[driver]\nopen = x\n", true), -1);
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(trace_text(), "Open_Driver() = -1\nClose_Driver() = 1\n");
}

TEST_F(Driver, TraceIsTruncatedByTheNextSession) {
  ASSERT_EQ(open(one_board("VX-424"), true), 0);
  ReadByte(0xD000, 0x05);
  Close_Driver();
  ASSERT_EQ(Open_Driver(table), 0);
  EXPECT_EQ(trace_text(), "Open_Driver() = 0 [0x10a -1 -1 -1 -1 -1 -1 -1]\nClose_Driver() = 0\n");
}

TEST_F(Driver, UnwritableTraceFailsTheOpen) {
  setenv("REGIO_TRACE", "/nonexistent-dir/trace", 1);
  ::testing::internal::CaptureStderr();
  const std::string path = regio_test::write_file("ok.toml", one_board("VX-424"));
  setenv("REGIO_BENCH", path.c_str(), 1);
  EXPECT_EQ(Open_Driver(table), -1);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "regio32: /nonexistent-dir/trace: cannot write the trace file (No such file or "
            "directory)\n");
}

// A program that ends with exit() leaves its folded last line complete.
void run_then_exit(const std::string& bench, const std::string& trace) {
  setenv("REGIO_BENCH", bench.c_str(), 1);
  setenv("REGIO_TRACE", trace.c_str(), 1);
  int32_t t[REGIO_SLOTS] = {-1, -1, -1, -1, -1, -1, -1, -1};
  Open_Driver(t);
  int32_t base = 0;
  Start_Driver(0, 2, &base);
  for (int i = 0; i < 3; ++i) ReadByte(base, 0x05);
  std::exit(-1);
}

TEST(TraceAtExit, LastRunSurvivesExit) {
  const std::string bench = regio_test::write_file("exit.toml", one_board("VX-424"));
  const std::string trace = regio_test::scratch_dir() + "/exit.trace";
  EXPECT_EXIT(run_then_exit(bench, trace), ::testing::ExitedWithCode(255), "");
  EXPECT_EQ(regio_test::read_file(trace),
            "Open_Driver() = 0 [0x10a -1 -1 -1 -1 -1 -1 -1]\n"
            "Start_Driver(0, 2) = 0 io_base=0xd000\n"
            "ReadByte(0xd000, 0x05) = 0x02 [x 3]\n");
}

// A signal that ends the program finds the trace complete: what the buffer
// held is written, and the folded line ends with its count.
void run_then_signal(const std::string& bench, const std::string& trace, int sig) {
  setenv("REGIO_BENCH", bench.c_str(), 1);
  setenv("REGIO_TRACE", trace.c_str(), 1);
  int32_t t[REGIO_SLOTS] = {-1, -1, -1, -1, -1, -1, -1, -1};
  Open_Driver(t);
  int32_t base = 0;
  Start_Driver(0, 2, &base);
  for (int i = 0; i < 3; ++i) ReadByte(base, 0x05);
  raise(sig);
  std::exit(0);
}

TEST(TraceAtExit, SignalsThatEndTheProgramLeaveItComplete) {
  const std::string bench = regio_test::write_file("signal.toml", one_board("VX-424"));
  for (const int sig : {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGPIPE}) {
    const std::string trace = regio_test::scratch_dir() + "/signal" + std::to_string(sig) + ".trace";
    EXPECT_EXIT(run_then_signal(bench, trace, sig), ::testing::KilledBySignal(sig), "") << sig;
    EXPECT_EQ(regio_test::read_file(trace),
              "Open_Driver() = 0 [0x10a -1 -1 -1 -1 -1 -1 -1]\n"
              "Start_Driver(0, 2) = 0 io_base=0xd000\n"
              "ReadByte(0xd000, 0x05) = 0x02 [x 3]\n")
        << sig;
  }
}

// The bench file's interrupt comes as the user's Ctrl-C would, at a board
// time, in the middle of a wait that has no end of its own.
void poll_for_ever(const std::string& bench, const std::string& trace) {
  setenv("REGIO_BENCH", bench.c_str(), 1);
  setenv("REGIO_TRACE", trace.c_str(), 1);
  int32_t t[REGIO_SLOTS] = {-1, -1, -1, -1, -1, -1, -1, -1};
  Open_Driver(t);
  int32_t base = 0;
  Start_Driver(0, 2, &base);
  for (;;) {
    if (ReadByte(base, 0x05) == 0x04) break;  // a full flag that never comes
    Regio_Tick_ms();
  }
  std::exit(0);
}

TEST(TraceAtExit, BenchInterruptEndsAWaitWithSigint) {
  const std::string bench =
      regio_test::write_file("interrupt.toml", "[clock]\ninterrupt_ms = 25\n" + one_board("VX-424"));
  const std::string trace = regio_test::scratch_dir() + "/interrupt.trace";
  EXPECT_EXIT(poll_for_ever(bench, trace), ::testing::KilledBySignal(SIGINT), "");
  // Open_Driver and Start_Driver take 100 us, the polls run on a millisecond
  // at a time: the 25th millisecond's poll is the last.
  EXPECT_EQ(regio_test::read_file(trace),
            "Open_Driver() = 0 [0x10a -1 -1 -1 -1 -1 -1 -1]\n"
            "Start_Driver(0, 2) = 0 io_base=0xd000\n"
            "ReadByte(0xd000, 0x05) = 0x02 [x 26]\n");
}

}  // namespace
