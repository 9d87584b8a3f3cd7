// The bench file reader: good files give the bench they describe, every bad
// one gives exactly one "<file>:<line>: <problem>" and no bench.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "bench.h"
#include "bench_fixture.h"
#include "config_file.h"

namespace {

using regio_test::write_file;

struct BadFile {
  const char* name;
  const char* text;
  int line;
  const char* problem;
};

// clang-format off
const BadFile kBadFiles[] = {
  { "unknown_top_key", "[driver]\nopen = 1\n[drivers]\n", 3, "unknown key 'drivers'" },
  { "unknown_driver_key", "[driver]\nopen = 1\nstart = 2\n", 3, "unknown key 'start'" },
  { "unknown_clock_key", "[clock]\nstart_us = 1\n", 2, "unknown key 'start_us'" },
  { "unknown_board_key", "[[board]]\nslot = 0\nmodel = \"VX-424\"\nswich = 3\n", 4, "unknown key 'swich'" },
  { "unknown_read_key", "[[board]]\nslot = 0\nmodel = \"VX-424\"\n[[board.read]]\noffset = 5\nvalue = 1\nonce = 1\n", 7, "unknown key 'once'" },
  { "unknown_model", "[[board]]\nslot = 1\nmodel = \"VX-999\"\n", 3, "unknown model 'VX-999'" },
  { "model_in_lower_case", "[[board]]\nslot = 1\nmodel = \"vx-424\"\n", 3, "unknown model 'vx-424'" },
  { "model_with_line_end", "[[board]]\nslot = 1\nmodel = \"VX-\\n424\"\n", 3, "unknown model 'VX-\\n424'" },
  { "key_with_control_character", "[driver]\n\"op\\u0001en\" = 1\n", 2, "unknown key 'op\\x01en'" },
  { "model_not_a_string", "[[board]]\nslot = 1\nmodel = 424\n", 3, "'model' must be a string" },
  { "slot_too_high", "[[board]]\nslot = 8\nmodel = \"VX-424\"\n", 2, "'slot' is out of range (0 to 7)" },
  { "slot_negative", "[[board]]\nslot = -1\nmodel = \"VX-424\"\n", 2, "'slot' is out of range (0 to 7)" },
  { "slot_not_integer", "[[board]]\nslot = \"0\"\nmodel = \"VX-424\"\n", 2, "'slot' must be an integer" },
  { "slot_twice", "[[board]]\nslot = 2\nmodel = \"VX-424\"\n\n[[board]]\nslot = 0x2\nmodel = \"VX-412\"\n", 6, "slot 2 is used twice" },
  { "slot_missing", "[[board]]\nmodel = \"VX-424\"\n", 1, "[[board]] needs 'slot'" },
  { "model_missing", "# a board\n[[board]]\nslot = 3\n", 2, "[[board]] needs 'model'" },
  { "byte_switch_too_wide", "[[board]]\nslot = 0\nmodel = \"VX-424\"\nswitch = 0x100\n", 4, "'switch' is out of range (0 to 255)" },
  { "word_switch_too_wide", "[[board]]\nslot = 0\nmodel = \"VX-418\"\nswitch = 0x10000\n", 4, "'switch' is out of range (0 to 65535)" },
  { "switch_on_model_without", "[[board]]\nslot = 0\nmodel = \"VX-412\"\nswitch = 1\n", 4, "the VX-412 has no board number switch" },
  { "board_id_too_wide", "[[board]]\nslot = 0\nmodel = \"HM-236\"\nboard_id = 0x113\n", 4, "'board_id' is out of range (0 to 255)" },
  { "expansions_not_vx428", "[[board]]\nslot = 0\nmodel = \"HM-236\"\nexpansions = 2\n", 4, "'expansions' is for the VX-428 only" },
  { "expansions_zero", "[[board]]\nslot = 0\nmodel = \"VX-428\"\nexpansions = 0\n", 4, "'expansions' is out of range (1 to 8)" },
  { "expansions_nine", "[[board]]\nslot = 0\nmodel = \"VX-428\"\nexpansions = 9\n", 4, "'expansions' is out of range (1 to 8)" },
  { "start_too_big", "[[board]]\nslot = 0\nmodel = \"VX-424\"\nstart = 0x80000000\n", 4, "'start' is out of range (-2147483648 to 2147483647)" },
  { "open_not_integer", "[driver]\nopen = 1.5\n", 2, "'open' must be an integer" },
  { "start_ms_too_big", "[clock]\nstart_ms = 0x100000000\n", 2, "'start_ms' is out of range (0 to 4294967295)" },
  { "start_ms_negative", "[clock]\nstart_ms = -1\n", 2, "'start_ms' is out of range (0 to 4294967295)" },
  { "driver_not_table", "driver = 3\n", 1, "'driver' must be a table [driver]" },
  { "board_not_array", "[board]\nslot = 0\n", 1, "'board' must be written as [[board]]" },
  { "read_offset_missing", "[[board]]\nslot = 0\nmodel = \"VX-424\"\n[[board.read]]\nvalue = 1\n", 4, "[[board.read]] needs 'offset'" },
  { "read_offset_too_big", "[[board]]\nslot = 0\nmodel = \"VX-424\"\n[[board.read]]\noffset = 0x100\nvalue = 1\n", 5, "'offset' is out of range (0 to 255)" },
  { "read_value_missing", "[[board]]\nslot = 0\nmodel = \"VX-424\"\n[[board.read]]\noffset = 5\n", 4, "[[board.read]] needs 'value', 'values', 'set' or 'clear'" },
  { "read_value_and_values", "[[board]]\nslot = 0\nmodel = \"VX-424\"\n[[board.read]]\noffset = 5\nvalue = 1\nvalues = [1, 2]\n", 7, "only one of 'value', 'values' and 'set'/'clear'" },
  { "read_values_empty", "[[board]]\nslot = 0\nmodel = \"VX-424\"\n[[board.read]]\noffset = 5\nvalues = []\n", 6, "'values' is empty" },
  { "read_byte_value_too_wide", "[[board]]\nslot = 0\nmodel = \"VX-424\"\n[[board.read]]\noffset = 5\nvalue = 0x100\n", 6, "'value' is out of range (0 to 255)" },
  { "read_word_value_in_list_too_wide", "[[board]]\nslot = 0\nmodel = \"VX-426\"\n[[board.read]]\noffset = 0x0a\nvalues = [0x83,\n  0x10000]\n", 7, "a value of 'values' is out of range (0 to 65535)" },
  { "read_values_not_integers", "[[board]]\nslot = 0\nmodel = \"VX-426\"\n[[board.read]]\noffset = 0x0a\nvalues = [1, \"2\"]\n", 6, "'values' must hold integers only" },
  { "read_after_negative", "[[board]]\nslot = 0\nmodel = \"VX-426\"\n[[board.read]]\noffset = 0x0a\nvalue = 1\nafter = -1\n", 7, "'after' is out of range (0 to 4294967295)" },
  { "data_unknown", "[[board]]\nslot = 0\nmodel = \"VX-424\"\ndata = \"ramp\"\n", 4, "unknown data 'ramp' (pattern, counting or inputs)" },
  { "data_not_string", "[[board]]\nslot = 0\nmodel = \"VX-424\"\ndata = 1\n", 4, "'data' must be a string" },
  { "inputs_with_counting", "[[board]]\nslot = 0\nmodel = \"VX-424\"\ndata = \"counting\"\n[[board.input]]\nch = 0\n", 5, "[[board.input]] with data = 'counting'" },
  { "input_ch_missing", "[[board]]\nslot = 0\nmodel = \"VX-424\"\n[[board.input]]\ndc = 1.0\n", 4, "[[board.input]] needs 'ch'" },
  { "input_ch_too_big", "[[board]]\nslot = 0\nmodel = \"VX-428\"\n[[board.input]]\nch = 1024\n", 5, "'ch' is out of range (0 to 1023)" },
  { "input_twice", "[[board]]\nslot = 0\nmodel = \"VX-424\"\n[[board.input]]\nch = 3\n[[board.input]]\nch = 3\n", 7, "input 3 is set twice" },
  { "input_unknown_key", "[[board]]\nslot = 0\nmodel = \"VX-424\"\n[[board.input]]\nch = 3\ndcc = 1\n", 6, "unknown key 'dcc'" },
  { "input_dc_too_big", "[[board]]\nslot = 0\nmodel = \"VX-424\"\n[[board.input]]\nch = 3\ndc = 20001\n", 6, "'dc' is out of range (-20000 to 20000)" },
  { "input_noise_negative", "[[board]]\nslot = 0\nmodel = \"VX-424\"\n[[board.input]]\nch = 3\nnoise = -1\n", 6, "'noise' is out of range (0 to 20000)" },
  { "input_sine_without_period", "[[board]]\nslot = 0\nmodel = \"VX-424\"\n[[board.input]]\nch = 3\nsine = { amplitude = 5 }\n", 6, "'sine' needs 'period_ms'" },
  { "read_set_with_value", "[[board]]\nslot = 0\nmodel = \"VX-424\"\n[[board.read]]\noffset = 5\nvalue = 1\nset = 2\n", 7, "only one of 'value', 'values' and 'set'/'clear'" },
  { "read_set_and_clear_overlap", "[[board]]\nslot = 0\nmodel = \"VX-424\"\n[[board.read]]\noffset = 5\nset = 0x21\nclear = 0x01\n", 4, "a bit both in 'set' and in 'clear'" },
  { "read_set_too_wide", "[[board]]\nslot = 0\nmodel = \"VX-424\"\n[[board.read]]\noffset = 5\nset = 0x100\n", 6, "'set' is out of range (0 to 255)" },
  { "clock_ppm_too_slow", "[[board]]\nslot = 0\nmodel = \"VX-424\"\nclock_ppm = -1000000\n", 4, "'clock_ppm' is out of range (-999999 to 1000000)" },
  { "dead_clock_unknown", "[[board]]\nslot = 0\nmodel = \"VX-424\"\ndead_clock = \"first\"\n", 4, "'dead_clock' is \"base\", \"second\" or \"both\"" },
  { "fifo_unknown", "[[board]]\nslot = 0\nmodel = \"VX-424\"\nfifo = \"leaky\"\n", 4, "'fifo' is \"never_full\", \"never_below_half\" or \"never_empty\"" },
  { "fifo_samples_one", "[[board]]\nslot = 0\nmodel = \"VX-424\"\nfifo_samples = 1\n", 4, "'fifo_samples' is out of range (2 to 16777216)" },
  { "memory_count_on_a_vx_board", "[[board]]\nslot = 0\nmodel = \"VX-426\"\nmemory_count = 9\n", 4, "the VX-426 has no memory count register" },
  { "interrupt_at_zero", "[clock]\ninterrupt_ms = 0\n", 2, "'interrupt_ms' is out of range (1 to 1000000000000)" },
  { "read_same_offset_twice", "[[board]]\nslot = 0\nmodel = \"VX-426\"\n[[board.read]]\noffset = 0x0a\nvalue = 1\n[[board.read]]\noffset = 10\nvalue = 2\n", 7, "a second [[board.read]] of the same offset" },
};
// clang-format on

TEST(BenchFile, BadFilesNameFileLineAndProblem) {
  for (const BadFile& bad : kBadFiles) {
    const std::string path = write_file(std::string("bad_") + bad.name + ".toml", bad.text);
    try {
      regio::read_bench_file(path);
      ADD_FAILURE() << bad.name << ": accepted";
    } catch (const config::Error& e) {
      EXPECT_EQ(e.what(), path + ":" + std::to_string(bad.line) + ": " + bad.problem) << bad.name;
    }
  }
}

// The TOML reader's own text follows the line; it stays on that line even
// where the reader quotes a line end ("saw 't<line end>'").
TEST(BenchFile, SyntaxErrorNamesItsLine) {
  const struct {
    const char* name;
    const char* text;
    int line;
  } cases[] = {
      {"bad_syntax", "[driver]\nopen = 1\nclose = = 2\n", 3},
      {"bad_boolean", "[driver]\nopen = t\n", 2},
      {"bad_control_character", "[driver]\nopen = 1\x7f\n", 2},
  };
  for (const auto& c : cases) {
    const std::string path = write_file(std::string(c.name) + ".toml", c.text);
    try {
      regio::read_bench_file(path);
      ADD_FAILURE() << c.name << ": accepted";
    } catch (const config::Error& e) {
      const std::string text = e.what();
      EXPECT_EQ(text.rfind(path + ":" + std::to_string(c.line) + ": ", 0), 0u) << text;
      EXPECT_EQ(text.find_first_of("\n\r"), std::string::npos) << c.name << ": " << text;
    }
  }
}

TEST(BenchFile, FullFileGivesItsBench) {
  const regio::BenchSetup b = regio::read_bench_file(std::string(REGIO_TEST_BENCHES) + "/everything.toml");
  EXPECT_EQ(b.open_result, 0);
  EXPECT_EQ(b.close_result, 5);
  EXPECT_EQ(b.start_ms, 0xFFFFFC00u);
  ASSERT_NE(b.slots[0].model, nullptr);
  EXPECT_EQ(b.slots[0].model->name, "VX-424");
  EXPECT_EQ(b.slots[0].switch_value, 0x03);
  EXPECT_EQ(b.slots[1].model, nullptr);
  ASSERT_NE(b.slots[2].model, nullptr);
  EXPECT_EQ(b.slots[2].model->name, "VX-428");
  EXPECT_EQ(b.slots[2].expansions, 3);
  EXPECT_EQ(b.slots[2].start_result, 7);
  EXPECT_EQ(b.slots[2].stop_result, 9);
  ASSERT_NE(b.slots[5].model, nullptr);
  EXPECT_EQ(b.slots[5].model->name, "HM-230-16MW");
  EXPECT_TRUE(b.slots[5].id_fault);
  EXPECT_EQ(b.slots[5].board_id, 0x12);
  EXPECT_TRUE(b.slots[5].memory_count_fault);
  EXPECT_EQ(b.slots[5].memory_count, 0x10u);
  EXPECT_EQ(b.interrupt_ms, 90000u);
  EXPECT_EQ(b.slots[2].fifo_samples, 99u);
  EXPECT_EQ(b.slots[2].clock_ppm, -250);
  EXPECT_EQ(b.slots[2].dead_clocks, regio::kSecondClockDead);
  EXPECT_EQ(b.slots[2].fifo, regio::FifoFault::NeverBelowHalf);
  ASSERT_EQ(b.slots[2].reads.size(), 1u);
  EXPECT_TRUE(b.slots[2].reads[0].stuck_bits());
  EXPECT_EQ(b.slots[2].reads[0].set_bits, 0x20);
  EXPECT_EQ(b.slots[2].reads[0].clear_bits, 0x08);
  EXPECT_EQ(b.slots[0].fifo, regio::FifoFault::None) << "no fault unless the file names one";
  EXPECT_EQ(b.slots[0].dead_clocks, 0);
  EXPECT_EQ(b.slots[0].fifo_samples, 0u);
  EXPECT_FALSE(b.slots[0].memory_count_fault);
  ASSERT_EQ(b.slots[5].reads.size(), 2u);
  EXPECT_EQ(b.slots[5].reads[0].offset, 0x0A);
  EXPECT_FALSE(b.slots[5].reads[0].forever);
  EXPECT_EQ(b.slots[5].reads[0].values, (std::vector<uint16_t>{0x1283, 0x0082}));
  EXPECT_EQ(b.slots[5].reads[0].after, 2u);
  EXPECT_TRUE(b.slots[5].reads[1].forever);
  EXPECT_EQ(b.slots[5].reads[1].values, (std::vector<uint16_t>{0x8000}));
  EXPECT_EQ(b.slots[0].data, regio::Data::Inputs);
  ASSERT_EQ(b.slots[0].inputs.size(), 3u);
  EXPECT_EQ(b.slots[0].inputs[0].dc_mv, 0.0) << "a channel no input sets";
  EXPECT_EQ(b.slots[0].inputs[2].dc_mv, 1000.0);
  EXPECT_EQ(b.slots[0].inputs[2].sine_mv, 500.0);
  EXPECT_EQ(b.slots[0].inputs[2].period_ms, 20.0);
  EXPECT_EQ(b.slots[0].inputs[2].phase_deg, 90.0);
  EXPECT_EQ(b.slots[0].inputs[2].noise_mv, 2.0);
  EXPECT_EQ(b.slots[0].inputs[1].dc_mv, -2500.0);
  EXPECT_EQ(b.slots[2].data, regio::Data::Counting);
  EXPECT_EQ(b.slots[5].data, regio::Data::Pattern);
  ASSERT_NE(b.slots[7].model, nullptr);
  EXPECT_EQ(b.slots[7].model->name, "DX-510");
  EXPECT_EQ(b.slots[7].switch_value, 0xA5C3);
}

TEST(BenchFile, EmptyFileIsAnEmptyBench) {
  const regio::BenchSetup b = regio::read_bench_file(write_file("empty.toml", "# nothing\n"));
  for (const regio::BoardSetup& slot : b.slots) EXPECT_EQ(slot.model, nullptr);
  EXPECT_EQ(b.open_result, 0);
  EXPECT_EQ(b.start_ms, 0u);
}

TEST(BenchFile, Vx428HasAllEightExpansionBoardsUnlessTold) {
  const regio::BenchSetup b = regio::read_bench_file(write_file("vx428.toml", regio_test::one_board("VX-428")));
  EXPECT_EQ(b.slots[0].expansions, 8);
}

TEST(BenchFile, EveryModelNameIsKnown) {
  for (const char* name :
       {"VX-410", "VX-412", "VX-414", "VX-416", "VX-418", "VX-420", "VX-422", "VX-422B", "VX-424", "VX-424B", "VX-426",
        "VX-428", "HM-230-8MW", "HM-230-16MW", "HM-232", "HM-234", "HM-236", "DX-510"}) {
    const regio::BenchSetup b = regio::read_bench_file(write_file("model.toml", regio_test::one_board(name)));
    ASSERT_NE(b.slots[0].model, nullptr) << name;
    EXPECT_EQ(b.slots[0].model->name, name);
  }
}

// Through the driver: a bad bench fails Open_Driver with -1 and one line.
class BadBenchOpen : public regio_test::Bench {};

TEST_F(BadBenchOpen, FailsWithOneLineOnStderr) {
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(open("[[board]]\nslot = 0\nmodel = \"VX-424\"\nstart = 1\nslot = 1\n"), -1);
  const std::string err = ::testing::internal::GetCapturedStderr();
  // TOML itself refuses the second 'slot'
  EXPECT_EQ(err.rfind("regio32: " + regio_test::scratch_dir() + "/FailsWithOneLineOnStderr.toml:5: ", 0), 0u) << err;
  EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
  for (int32_t slot : table) EXPECT_EQ(slot, -1);
  int32_t base = 0;
  EXPECT_EQ(Start_Driver(0, 2, &base), 1) << "the driver must not be open";
}

TEST_F(BadBenchOpen, RangeErrorLine) {
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(open("[[board]]\nslot = 9\nmodel = \"VX-424\"\n"), -1);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "regio32: " + regio_test::scratch_dir() + "/RangeErrorLine.toml:2: 'slot' is out of range (0 to 7)\n");
}

// Whatever is not a regular file is refused at once, without reading from
// it: a named pipe with no writer would block, /dev/zero never ends.
TEST_F(BadBenchOpen, NoRegularFileIsRefusedWithOneLine) {
  const std::string fifo = regio_test::scratch_dir() + "/bench.fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const struct {
    std::string path;
    const char* reason;
  } cases[] = {
      {regio_test::scratch_dir() + "/no-such-bench.toml", "No such file or directory"},
      {regio_test::scratch_dir(), "Is a directory"},
      {fifo, "Not a regular file"},
      {"/dev/zero", "Not a regular file"},
      {"/dev/null", "Not a regular file"},
  };
  for (const auto& c : cases) {
    setenv("REGIO_BENCH", c.path.c_str(), 1);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Open_Driver(table), -1) << c.path;
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "regio32: " + c.path + ": cannot read the bench file (" + c.reason + ")\n");
    int32_t base = 0;
    EXPECT_EQ(Start_Driver(0, 2, &base), 1) << c.path << ": the driver must not be open";
  }
  unlink(fifo.c_str());
}

}  // namespace
