// The twin-model identification: which model the frame names, and the exact
// register accesses that tell the HM model from the VX model of a pair.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_program.h"

namespace {

using testing_support::run;
using testing_support::trace_calls;
using testing_support::trace_lines;

struct TwinCase {
  const char* what;
  const char* program;
  std::string bench;
  std::string named;                  // the identification line of board 1
  std::vector<std::string> accesses;  // trace lines of the identification registers
};

std::string one_board(const char* model, const char* overrides = "") {
  return std::string("[[board]]\nslot = 0\nmodel = \"") + model + "\"\n" + overrides;
}

// Keeps the accesses of the identification registers of the board at 0xd000,
// up to its board ID read (the stages that follow read other registers at
// some of these offsets).
std::vector<std::string> identification(const std::string& trace) {
  std::vector<std::string> kept;
  for (const auto& line : trace_calls(trace, 1000)) {
    if (line.rfind("ReadByte(0xd000, 0x07)", 0) == 0 || line.rfind("ReadWord(0xd000, 0x0e)", 0) == 0) break;
    for (const char* reg : {"(0xd000, 0x0e", "(0xd000, 0x0b, ", "(0xd000, 0x0c", "(0xd000, 0x1e"}) {
      if (line.find(reg) != std::string::npos) kept.push_back(line);
    }
  }
  return kept;
}

const TwinCase kCases[] = {
    {"inverting test reads back the value held before: VX-428, register keeps its value",
     "hm236diag",
     one_board("HM-236", "[[board.read]]\noffset = 0x0e\nvalues = [0x05, 0x05]\n"),
     "1枚目のボードはVX-428です。\n",
     {"ReadByte(0xd000, 0x0e) = 0x05", "WriteByte(0xd000, 0x0e, 0x0)", "ReadByte(0xd000, 0x0e) = 0x05",
      "WriteByte(0xd000, 0x0e, 0x5)"}},
    {"inverting test from 0 reads back 1: HM-236, register ends at 0",
     "hm236diag",
     one_board("VX-428", "[[board.read]]\noffset = 0x0e\nvalues = [0x00, 0x01]\n"),
     "1枚目のボードはHM-236です。\n",
     {"ReadByte(0xd000, 0x0e) = 0x00", "WriteByte(0xd000, 0x0e, 0x1)", "ReadByte(0xd000, 0x0e) = 0x01",
      "WriteByte(0xd000, 0x0e, 0x0)", "WriteByte(0xd000, 0x0e, 0x0)"}},
    {"read 0x0C, write 0x0B: a changed read-back is the HM-232",
     "hm232diag",
     one_board("VX-420", "[[board.read]]\noffset = 0x0c\nvalues = [0x5a, 0xa5]\n"),
     "1枚目のボードはHM-232です。\n",
     {"ReadByte(0xd000, 0x0c) = 0x5a", "WriteByte(0xd000, 0x0b, 0x5a)", "ReadByte(0xd000, 0x0c) = 0xa5",
      "WriteByte(0xd000, 0x0b, 0x5a)", "WriteByte(0xd000, 0x0b, 0x0)"}},
    {"read 0x0C, write 0x0B: the same read-back is the VX-422",
     "hm234diag",
     one_board("HM-234", "[[board.read]]\noffset = 0x0c\nvalues = [0x33, 0x33]\n"),
     "1枚目のボードはVX-422です。\n",
     {"ReadByte(0xd000, 0x0c) = 0x33", "WriteByte(0xd000, 0x0b, 0x33)", "ReadByte(0xd000, 0x0c) = 0x33",
      "WriteByte(0xd000, 0x0b, 0x33)"}},
    {"write-back differs, memory size bit set on the third read: HM-230-16MW",
     "hm230diag",
     one_board("VX-426", "[[board.read]]\noffset = 0x1e\nvalues = [0x1234, 0x1235, 0x8000]\n"),
     "1枚目のボードはHM-230-16MWです。\n",
     {"ReadWord(0xd000, 0x1e) = 0x1234", "WriteWord(0xd000, 0x1e, 0x1234)", "ReadWord(0xd000, 0x1e) = 0x1235",
      "ReadWord(0xd000, 0x1e) = 0x8000", "WriteWord(0xd000, 0x1e, 0x0)"}},
    {"write-back differs, memory size bit clear: HM-230-8MW",
     "hm230diag",
     one_board("VX-426", "[[board.read]]\noffset = 0x1e\nvalues = [0x8001, 0x0001, 0x7fff]\n"),
     "1枚目のボードはHM-230-8MWです。\n",
     {"ReadWord(0xd000, 0x1e) = 0x8001", "WriteWord(0xd000, 0x1e, 0x8001)", "ReadWord(0xd000, 0x1e) = 0x0001",
      "ReadWord(0xd000, 0x1e) = 0x7fff", "WriteWord(0xd000, 0x1e, 0x0)"}},
    {"write-back reads the same: VX-426, no third read",
     "hm230diag",
     one_board("HM-230-16MW", "[[board.read]]\noffset = 0x1e\nvalues = [0xbeef, 0xbeef]\n"),
     "1枚目のボードはVX-426です。\n",
     {"ReadWord(0xd000, 0x1e) = 0xbeef", "WriteWord(0xd000, 0x1e, 0xbeef)", "ReadWord(0xd000, 0x1e) = 0xbeef"}},
};

TEST(TwinModels, IdentificationByRegisterTest) {
  for (const TwinCase& c : kCases) {
    const auto r = run({.program = c.program, .bench = c.bench});
    EXPECT_NE(r.out.find("1枚目のボードのチェックをします。\n" + c.named), std::string::npos) << c.what << "\n"
                                                                                              << r.out;
    EXPECT_EQ(identification(r.trace), c.accesses) << c.what << "\n" << r.trace;
    EXPECT_EQ(r.status, 255) << c.what;
  }
}

// The bench's own boards answer the tests as their models, and the
// identification leaves each HM register at 0.
struct ModelCase {
  const char* program;
  const char* model;
  const char* named;
  const char* last_write;  // the last write to the identification register
};

// The last write, without the count of a folded run.
std::string last_write(const std::vector<std::string>& accesses) {
  for (auto it = accesses.rbegin(); it != accesses.rend(); ++it) {
    if (it->rfind("Write", 0) == 0) return it->substr(0, it->find(" [x "));
  }
  return "";
}

// The value of "WriteByte(0xd000, 0x0e, 0x5)".
unsigned long written_value(const std::string& line) {
  const size_t at = line.rfind(", 0x");
  return at == std::string::npos ? ~0ul : std::stoul(line.substr(at + 4), nullptr, 16);
}

const ModelCase kModels[] = {
    {"hm236diag", "HM-236", "HM-236", "WriteByte(0xd000, 0x0e, 0x0)"},
    {"hm236diag", "VX-428", "VX-428", nullptr},
    {"hm232diag", "HM-232", "HM-232", "WriteByte(0xd000, 0x0b, 0x0)"},
    {"hm232diag", "VX-420", "VX-420", nullptr},
    {"hm234diag", "HM-234", "HM-234", "WriteByte(0xd000, 0x0b, 0x0)"},
    {"hm234diag", "VX-422", "VX-422", nullptr},
    {"hm230diag", "HM-230-8MW", "HM-230-8MW", "WriteWord(0xd000, 0x1e, 0x0)"},
    {"hm230diag", "HM-230-16MW", "HM-230-16MW", "WriteWord(0xd000, 0x1e, 0x0)"},
    {"hm230diag", "VX-426", "VX-426", nullptr},
};

TEST(TwinModels, BenchBoardsAnswerAsTheirModels) {
  for (const ModelCase& c : kModels) {
    const auto r = run({.program = c.program, .bench = one_board(c.model)});
    EXPECT_NE(r.out.find(std::string("1枚目のボードは") + c.named + "です。\n"), std::string::npos)
        << c.program << " " << c.model << "\n"
        << r.out;
    const auto accesses = identification(r.trace);
    ASSERT_FALSE(accesses.empty()) << c.model;
    if (c.last_write != nullptr) {
      EXPECT_EQ(last_write(accesses), c.last_write) << c.model;
    } else {
      // The VX model gets the value it held written back last.
      const std::string first = accesses.front();
      const std::string held = first.substr(first.find(" = ") + 3);
      EXPECT_EQ(written_value(last_write(accesses)), std::stoul(held, nullptr, 16)) << c.model;
    }
  }
}

}  // namespace
