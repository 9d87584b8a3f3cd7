// The register sequence of every member: its set-up, start, the block reads
// of each phase, the end of its run and one adjust pass, in the driver trace
// on its default bench. Status polls are left out: their number follows the
// pacer; everything else is fixed by the member tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_program.h"

namespace {

using testing_support::run;
using testing_support::trace_calls;
using testing_support::trace_lines;

struct W {
  int offset;
  int value;
};
using Writes = std::vector<W>;

Writes operator+(Writes a, const Writes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// n channel-list entries to the channel register: i * step.
Writes channel_list(int n, int step) {
  Writes list;
  for (int i = 0; i < n; ++i) list.push_back({0x00, i * step});
  return list;
}

enum Width { Byte, Word };

struct Layout {
  Width width;
  int status;  // status register and flag clear
  int board_id;
  int manual;  // manual sampling register
};
constexpr Layout kByteMap{Byte, 0x05, 0x07, 0x06};
constexpr Layout kWordMap{Word, 0x0A, 0x0E, 0x0C};
constexpr Layout kVx410Map{Word, 0x0A, 0x0E, 0x08};

struct Member {
  const char* program;
  const char* keys;  // one adjust pass, then the end
  Layout map;
  int board_id;
  Writes setup;  // before the start, in order
  Writes start;
  int half_blocks;
  int block_count;  // count argument of each half-block read (bytes on the byte map)
  int scans;        // scans of the scan phase
  int scan_count;   // count argument of each scan's read
  Writes end_of_run;
  Writes pass;     // an adjust pass between the reset read and the manual sampling read
  int pass_count;  // count argument of the pass's block read
};

const Writes kPaired3200{{0x09, 0x80}, {0x09, 0x0C}, {0x09, 0x01}, {0x09, 0x00}};

// clang-format off
const Member kMembers[] = {
  {"vx424chk", "C0E", kByteMap, 0x11,
   Writes{{0x00, 0x1F}, {0x08, 0x00}} + kPaired3200, {{0x03, 0x81}}, 12, 1024, 8, 64, {},
   Writes{{0x00, 0x1F}, {0x08, 0x00}} + kPaired3200, 64},
  {"vx420chk", "CSx", kByteMap, 0x0E,
   {{0x00, 0x0F}, {0x08, 0x00}, {0x09, 0x00}, {0x09, 0x05}, {0x09, 0x01}, {0x09, 0x00}}, {{0x03, 0x81}},
   6, 1024, 8, 32, {},
   {{0x00, 0x0F}, {0x08, 0x00}, {0x09, 0x00}, {0x09, 0x05}, {0x09, 0x01}, {0x09, 0x00}}, 32},
  {"vx416chk", "CSx", kByteMap, 0x2A,
   {{0x00, 0x07}, {0x08, 0x00}, {0x09, 0x40}, {0x09, 0x01}, {0x09, 0x01}, {0x09, 0x00}}, {{0x03, 0x81}},
   3, 1024, 8, 16, {},
   {{0x00, 0x07}, {0x08, 0x00}, {0x09, 0x40}, {0x09, 0x01}, {0x09, 0x01}, {0x09, 0x00}}, 16},
  {"vx422chk", "CSx", kByteMap, 0x0F,
   Writes{{0x00, 0x0F}, {0x08, 0x00}} + kPaired3200, {{0x03, 0x81}}, 6, 1024, 8, 32, {},
   Writes{{0x00, 0x0F}, {0x08, 0x00}} + kPaired3200, 32},
  {"vx428chk", "1C00E", kByteMap, 0x13,  // one XB-300: CH = 128, B = 5
   {{0x00, 0x7F}, {0x00, 0x00}, {0x08, 0x00}, {0x0D, 0x00}, {0x09, 0x00}, {0x09, 0x80}, {0x09, 0x0C}, {0x09, 0x00}},
   {{0x03, 0x81}}, 5, 1024, 0, 0, {{0x03, 0x00}, {0x05, 0x01}},
   {{0x00, 0xFF}, {0x00, 0x03}, {0x08, 0x00}, {0x0D, 0x00}, {0x09, 0x00}, {0x09, 0x60}, {0x09, 0x09}, {0x09, 0x00}}, 2048},
  {"vx412chk", "CSx", kWordMap, 0x0A,
   channel_list(16, 0x0101) + Writes{{0x10, 0x0000}, {0x12, 0x0020}, {0x12, 0x0003}, {0x12, 0x0001}, {0x12, 0x0000}},
   {{0x06, 0x0081}}, 6, 512, 8, 16, {},
   channel_list(16, 0x0101) + Writes{{0x10, 0x0000}, {0x12, 0x0020}, {0x12, 0x0003}, {0x12, 0x0001}, {0x12, 0x0000}}, 16},
  {"vx414chk", "C2E", kWordMap, 0x0B,
   Writes{{0x04, 0x0042}} + channel_list(48, 0x0101) +
       Writes{{0x10, 0x0000}, {0x12, 0x00C0}, {0x12, 0x0012}, {0x12, 0x0001}, {0x12, 0x0000}},
   {{0x06, 0x0081}}, 20, 480, 0, 0, {},
   Writes{{0x04, 0x0042}} + channel_list(48, 0x0101) +
       Writes{{0x10, 0x0000}, {0x12, 0x00C0}, {0x12, 0x0012}, {0x12, 0x0001}, {0x12, 0x0000}}, 48},
  {"vx418chk", "CSx", kWordMap, 0x14,
   {{0x00, 0x000F}, {0x10, 0x0000}, {0x12, 0x0500}, {0x12, 0x0000}}, {{0x06, 0x0081}}, 9, 512, 31, 16, {},
   {{0x00, 0x000F}, {0x10, 0x0000}, {0x12, 0x0280}, {0x12, 0x0001}}, 16},
  {"vx426chk", "CSx", kWordMap, 0x15,
   {{0x00, 0x0007}, {0x10, 0x0000}, {0x12, 0x0168}, {0x12, 0x0000}}, {{0x06, 0x0081}}, 3, 512, 8, 8, {},
   {{0x00, 0x0007}, {0x10, 0x0000}, {0x12, 0x0168}, {0x12, 0x0001}}, 8},
  {"hm230chk", "CSx", kWordMap, 0x15,
   {{0x00, 0x0007}, {0x10, 0x0000}, {0x12, 0x0168}, {0x12, 0x0000}}, {{0x06, 0x0081}}, 3, 512, 8, 8, {},
   {{0x00, 0x0007}, {0x10, 0x0000}, {0x12, 0x0168}, {0x12, 0x0001}}, 8},
  {"vx410chk", "CSx", kVx410Map, 0x16,
   channel_list(4, 1) + Writes{{0x12, 0x0000}, {0x14, 0x01E0}, {0x14, 0x0000}},
   {{0x06, 0x0080}, {0x08, 0x0002}}, 0, 0, 200, 4, {},
   {{0x00, 0x0003}, {0x12, 0x0000}, {0x14, 0x0070}, {0x14, 0x0000}}, 4},
};
// clang-format on

std::string hex(int v) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", v);
  return text;
}

std::string two(int v) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%02x", v);
  return text;
}

std::string read_line(const Layout& m, int offset, int value) {
  char text[64];
  std::snprintf(text, sizeof text,
                m.width == Byte ? "ReadByte(0xd000, 0x%02x) = 0x%02x" : "ReadWord(0xd000, 0x%02x) = 0x%04x", offset,
                value);
  return text;
}

std::string write_line(const Layout& m, const W& w) {
  return std::string(m.width == Byte ? "WriteByte" : "WriteWord") + "(0xd000, " + two(w.offset) + ", " + hex(w.value) +
         ")";
}

std::string block_line(const Layout& m, int count) {
  return std::string(m.width == Byte ? "ReadByteBlock" : "ReadWordBlock") + "(0xd000, 0x00, " + std::to_string(count) +
         ")";
}

std::vector<std::string> expected(const Member& m) {
  const Layout& map = m.map;
  std::vector<std::string> lines;
  for (const W& w : m.setup + m.start) lines.push_back(write_line(map, w));
  for (int i = 0; i < m.half_blocks; ++i) lines.push_back(block_line(map, m.block_count));
  for (int i = 0; i < m.scans; ++i) {
    lines.push_back(write_line(map, {map.status, 0x80}));
    lines.push_back(block_line(map, m.scan_count));
  }
  for (const W& w : m.end_of_run) lines.push_back(write_line(map, w));
  lines.push_back(read_line(map, map.board_id, m.board_id));
  for (const W& w : m.pass) lines.push_back(write_line(map, w));
  lines.push_back(read_line(map, map.manual, 0));
  lines.push_back(write_line(map, {map.status, 0x80}));
  lines.push_back(block_line(map, m.pass_count));
  return lines;
}

// The register accesses after the frame's board ID read, folded lines
// unfolded, status reads left out.
std::vector<std::string> accesses(const std::string& trace, const Layout& map) {
  const std::string status = read_line(map, map.status, 0).substr(0, 22);  // "ReadByte(0xd000, 0x05)"
  std::vector<std::string> lines;
  bool after_id = false;
  for (const std::string& line : trace_calls(trace)) {
    if (!after_id) {
      after_id = line.find(", " + two(map.board_id) + ") = ") != std::string::npos;
      continue;
    }
    if (line.compare(0, status.size(), status) == 0) continue;
    lines.push_back(line);
  }
  return lines;
}

TEST(EveryMember, RegisterSequenceOfARunAndOfAnAdjustPass) {
  for (const Member& m : kMembers) {
    const auto r = run({.program = m.program, .keys = m.keys});
    EXPECT_EQ(r.status, 0) << m.program << "\n" << r.err;
    EXPECT_EQ(accesses(r.trace, m.map), expected(m)) << m.program;
  }
}

}  // namespace
