// The register accesses of one board, in their order, against the tables of
// the sequence: the manual sampling, the clock test with its two clock
// counts, the full sampling set-up in each program's write order, the memory
// count reports of the HM model, the flag clear and vx410diag's counter
// test. Status and data reads (the polls and drains) are left out; the
// writes of 0x20 that clear each counted clock flag stay in (11 a run).
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "run_program.h"

namespace {

using testing_support::run;
using testing_support::trace_calls;

// Register offsets of a layout by the names the tables use.
struct Layout {
  bool byte;
  int ch, ctrl, status, flag, manual, id, clock, div, mem, trig, counter, sw, data;
};

// clang-format off
//                           byte   ch    ctrl  status flag  manual id    clock div   mem   trig  counter switch data
constexpr Layout kByte {     true,  0x00, 0x03, 0x05,  0x05, 0x06,  0x07, 0x08, 0x09, 0x08, -1,   -1,     0x0B,  0x00};
constexpr Layout kWord {     false, 0x00, 0x06, 0x0A,  0x0A, 0x0C,  0x0E, 0x10, 0x12, 0x10, -1,   -1,     0x16,  0x00};
constexpr Layout kVx410{     false, 0x00, 0x08, 0x0A,  0x0A, 0x08,  0x0E, 0x12, 0x14, -1,   0x06, 0x16,   0x1A,  0x00};
// clang-format on

struct Member {
  const char* program;
  const char* bench_model;  // a one-board bench of this model (HM boards with a 1024-word store)
  const Layout* map;
  const char* channel;      // the channel writes of the manual sampling and the clock test (and what follows them)
  const char* manual;       // between those and the manual sampling read
  const char* clocks;       // "10" or "40" MHz pair
  const char* count;        // after the channel writes of each clock count
  bool reset_before_clock;  // hm230diag
  bool reset_between;       // between the clock runs
  const char* start;        // sampling control value of paced sampling
  const char* full;         // the full sampling set-up, in its write order
  const char* memory;       // a memory count report; "" for none
  const char* flag_clear;   // and after it vx410diag's trigger disable and counter test:
  const char* end;
};

// Divider values of the clock pairs in write order: base clock, then second clock.
const char* const kPaired10 = "div=e8 div=3 div=e8 div=3";
const char* const kPaired8 = "div=0 div=4 div=20 div=3";
const char* const kCount40 = "div=900 div=3d";
const char* const kCount32 = "div=0 div=32";

// clang-format off
const Member kMembers[] = {
// program       bench model    map      channel writes     manual       clocks count          reset: clock between  start  full sampling set-up in write order
//     memory count report    flag clear   end
{ "hm236diag",  "HM-236",      &kByte,  "ch=0 ch=0",       "",          "10",  "",            false, true,  "81",  "R:id ch=1f ch=0 clock=0 r0d=0 div=80 div=c div=1 div=0 ctrl=81",
      "R:mem R:mem R:mem R:mem", "flag=a4",  "" },
{ "vx420diag",  "VX-420",      &kByte,  "ch=0",            "",          "10",  "",            false, false, "81",  "ch=f div=0 div=5 div=1 div=0 ctrl=81",
      "",                        "flag=ac",  "" },
{ "vx414diag",  "VX-414",      &kWord,  "ch=0",            "ctrl=0",    "10",  "",            false, true,  "81",  "LIST48 clock=0 div=c0 div=12 div=1 div=0 ctrl=81",
      "",                        "flag=a4",  "" },
{ "vx424diag",  "VX-424",      &kByte,  "ch=0",            "",          "10",  "",            false, true,  "81",  "ch=1f div=80 div=c div=1 div=0 ctrl=81",
      "",                        "flag=a4",  "" },
{ "hm230diag",  "HM-230-8MW",  &kWord,  "ch=0",            "",          "40",  "",            true,  true,  "81",  "ch=7 clock=0 div=2a8 div=0 ctrl=81",
      "R:mem R:mem R:r1e",       "flag=a4",  "" },
{ "vx412diag",  "VX-412",      &kWord,  "ch=0",            "",          "10",  "",            false, true,  "81",  "LIST16 clock=0 div=20 div=3 div=1 div=0 ctrl=81",
      "",                        "flag=a4",  "" },
{ "vx418diag",  "VX-418",      &kWord,  "ch=0",            "",          "40",  "",            false, true,  "81",  "ch=f clock=0 div=280 div=0 ctrl=81",
      "",                        "flag=a4",  "" },
{ "vx424bdiag", "VX-424B",     &kByte,  "ch=0 r02=1",      "",          "10",  "",            false, true,  "81",  "ch=1f r02=1 div=40 div=6 div=1 div=0 ctrl=81",
      "",                        "flag=ac",  "" },
{ "vx416diag",  "VX-416",      &kByte,  "ch=0",            "",          "10",  "",            false, true,  "81",  "ch=7 div=41 div=1 div=1 div=0 ctrl=81",
      "",                        "flag=a4",  "" },
{ "hm232diag",  "HM-232",      &kByte,  "ch=0",            "",          "10",  "",            false, true,  "81",  "ch=f div=0 div=5 div=1 div=0 ctrl=81",
      "R:mem R:mem R:mem R:mem", "flag=ac",  "" },
{ "hm234diag",  "HM-234",      &kByte,  "ch=0",            "",          "10",  "",            false, true,  "81",  "ch=f div=80 div=c div=1 div=0 ctrl=81",
      "R:mem R:mem R:mem R:mem", "flag=ac",  "" },
{ "vx410diag",  "VX-410",      &kVx410, "ch=0",            "",          "40",  "trig=80",     false, true,  "2",   "ch=0 ch=1 ch=2 ch=3 clock=0 div=28 div=0 trig=80 ctrl=2",
      "",                        "flag=2a4", "trig=0 clock=0 div=40 div=0 counter=64 counter=0 ch=0 trig=80 ctrl=4" },
{ "vx422diag",  "VX-422",      &kByte,  "ch=0",            "",          "10",  "",            false, true,  "81",  "ch=f div=80 div=c div=1 div=0 ctrl=81",
      "",                        "flag=ac",  "" },
};
// clang-format on

int offset_of(const Layout& m, const std::string& name) {
  if (name == "ch") return m.ch;
  if (name == "ctrl") return m.ctrl;
  if (name == "flag") return m.flag;
  if (name == "manual") return m.manual;
  if (name == "id") return m.id;
  if (name == "clock") return m.clock;
  if (name == "div") return m.div;
  if (name == "mem") return m.mem;
  if (name == "trig") return m.trig;
  if (name == "counter") return m.counter;
  if (name == "r02") return 0x02;
  if (name == "r0d") return 0x0D;
  if (name == "r1e") return 0x1E;
  throw std::string("no register ") + name;
}

// One access as the trace shows it, without a read's value: "ch=1f" is
// "WriteByte(0xd000, 0x00, 0x1f)", "R:id" is "ReadByte(0xd000, 0x07)";
// "LISTn" is the channel list of n entries i x 0x0101.
void add(std::vector<std::string>& out, const Layout& m, const std::string& access) {
  if (access.rfind("LIST", 0) == 0) {
    for (int i = 0; i < std::stoi(access.substr(4)); ++i) {
      char value[16];
      std::snprintf(value, sizeof value, "%x", i * 0x101);
      add(out, m, std::string("ch=") + value);
    }
    return;
  }
  char line[96];
  const char* width = m.byte ? "Byte" : "Word";
  if (access.rfind("R:", 0) == 0) {
    std::snprintf(line, sizeof line, "Read%s(0xd000, 0x%02x)", width, offset_of(m, access.substr(2)));
  } else {
    const size_t eq = access.find('=');
    std::snprintf(line, sizeof line, "Write%s(0xd000, 0x%02x, 0x%s)", width, offset_of(m, access.substr(0, eq)),
                  access.substr(eq + 1).c_str());
  }
  out.push_back(line);
}

void add_all(std::vector<std::string>& out, const Layout& m, const std::string& accesses) {
  std::istringstream in(accesses);
  for (std::string a; in >> a;) add(out, m, a);
}

std::vector<std::string> expected(const Member& x) {
  const Layout& m = *x.map;
  std::vector<std::string> out;
  const bool clocks10 = std::string(x.clocks) == "10";
  const std::string clock_count =
      std::string(x.channel) + " " + x.count + " ctrl=" + x.start +
      " flag=20 flag=20 flag=20 flag=20 flag=20 flag=20 flag=20 flag=20 flag=20 flag=20 flag=20"
      " ctrl=0";
  add_all(out, m, std::string(x.channel) + " " + x.manual + " R:manual");  // manual sampling
  add_all(out, m, x.memory);
  if (x.reset_before_clock) add_all(out, m, "R:id");
  add_all(out, m, std::string("clock=0 ") + (clocks10 ? kPaired10 : kCount40) + " " + x.channel);  // clock test
  add_all(out, m, clock_count);
  if (x.reset_between) add_all(out, m, "R:id");
  add_all(out, m, std::string("clock=20 ") + (clocks10 ? kPaired8 : kCount32));
  add_all(out, m, clock_count);
  add_all(out, m, std::string("R:id ") + x.full + " ctrl=0");  // full sampling
  add_all(out, m, x.memory);
  add_all(out, m, std::string(x.flag_clear) + " " + x.end);
  return out;
}

// The board's accesses after the frame's board ID read: status and data
// reads and the board switch read left out, read values cut off.
std::vector<std::string> accesses(const std::string& trace, const Layout& m) {
  char id[32], status[32], data[32], sw[32];
  const char* width = m.byte ? "Byte" : "Word";
  std::snprintf(id, sizeof id, "Read%s(0xd000, 0x%02x)", width, m.id);
  std::snprintf(status, sizeof status, "Read%s(0xd000, 0x%02x)", width, m.status);
  std::snprintf(data, sizeof data, "Read%s(0xd000, 0x%02x)", width, m.data);
  std::snprintf(sw, sizeof sw, "Read%s(0xd000, 0x%02x)", width, m.sw);
  std::vector<std::string> out;
  bool after_id = false;
  for (std::string line : trace_calls(trace)) {
    if (line.rfind("Read", 0) == 0) line.erase(line.find(" = "));
    if (!after_id) {
      after_id = line == id;
      continue;
    }
    if (line == status || line == data || line == sw || line.find("_Driver(") != std::string::npos) continue;
    out.push_back(line);
  }
  return out;
}

TEST(EveryMember, RegisterSequenceOfOneBoard) {
  for (const Member& x : kMembers) {
    const bool hm = std::string(x.bench_model).rfind("HM-", 0) == 0;
    const std::string bench =
        std::string("[[board]]\nslot = 0\nmodel = \"") + x.bench_model + "\"\n" + (hm ? "fifo_samples = 1024\n" : "");
    const auto r = run({.program = x.program, .bench = bench});
    EXPECT_EQ(accesses(r.trace, *x.map), expected(x)) << x.program;
    EXPECT_EQ(r.status, 255) << x.program;
  }
}

}  // namespace
