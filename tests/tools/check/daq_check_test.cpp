// daq_check end to end: the real programs on healthy and faulty benches, the
// verdict in the exit status, the summary after the program's own output,
// and the JUnit report.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "run_program.h"

namespace {

using testing_support::Launch;
using testing_support::program_path;
using testing_support::run;

const std::string kDxBoard = "[[board]]\nslot = 0\nmodel = \"DX-510\"\n";

std::string dx_read(int offset, const std::string& rest) {
  return "[[board.read]]\noffset = " + std::to_string(offset) + "\n" + rest;
}

Launch check(std::vector<std::string> args, std::optional<std::string> bench) {
  return Launch{.program = "daq_check", .args = std::move(args), .bench = std::move(bench), .trace = false};
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

struct Case {
  const char* name;
  std::string bench;
  int code;
  std::vector<std::string> lines;  // summary lines, in this order
};

TEST(DaqCheck, VerdictOfDx510diagRuns) {
  const Case cases[] = {
      {"healthy",
       kDxBoard,
       0,
       {"---- dx510diag: PASS: every check of every board normal",
        "board  check                           value             expected          result",
        "1      status at sampling start        47                47                normal",
        "1      counter                         n=511             n=511             normal"}},
      {"0x46 where 0x47 is expected",
       kDxBoard + dx_read(0x18, "after = 1\nvalues = [0x46]\n"),
       1,
       {"---- dx510diag: FAIL: a check abnormal",
        "1      status at reset                 06                06                normal",
        "1      status at sampling start        46                47                ABNORMAL",
        "1      status at sampling end          c7                c7                normal"}},
      {"a counter one count behind",
       kDxBoard + dx_read(0x0E, "value = 0xFE00\n"),
       1,
       {"---- dx510diag: FAIL: a check abnormal", "ABNORMAL"}},
      {"no board", "", 2, {"---- dx510diag: ERROR: the boards could not be checked", "problem: no DX-510 board found"}},
      {"driver error",
       "[driver]\nopen = -3\n",
       2,
       {"---- dx510diag: ERROR: the boards could not be checked", "problem: Open_Driver failed with code -3"}},
  };
  for (const Case& c : cases) {
    const auto r = run(check({program_path("dx510diag")}, c.bench));
    EXPECT_EQ(r.status, c.code) << c.name << "\n" << r.out << r.err;
    // the program's own output comes first, unchanged
    if (c.code != 2) {
      EXPECT_TRUE(r.out.starts_with("DX-510を1枚検出しました。\n\n1番目に検出されたボードのチェックをします。\n"))
          << c.name << "\n"
          << r.out;
    }
    size_t at = 0;
    for (const std::string& line : c.lines) {
      const size_t found = r.out.find(line, at);
      ASSERT_NE(found, std::string::npos) << c.name << ": no line \"" << line << "\" in order in\n" << r.out;
      at = found + line.size();
    }
  }
}

std::string board(const char* model, const std::string& rest = "") {
  return std::string("[[board]]\nslot = 0\nmodel = \"") + model + "\"\n" + rest;
}

TEST(DaqCheck, VerdictOfSelfTestRuns) {
  struct SelfTestCase {
    const char* name;
    const char* program;
    std::optional<std::string> bench;  // none: the program's default bench
    int code;
    std::vector<std::string> lines;
  };
  const SelfTestCase cases[] = {
      {"healthy boards of the default bench",
       "vx424diag",
       std::nullopt,
       0,
       {"---- vx424diag: PASS: every check of every board normal",
        "1      clock 10 MHz                    K=11 D=11         K=11 D=11         normal",
        "1      FIFO count                      FULL=1024 HALF=511                    info",
        "2      status after flag clear         01                                  normal"}},
      {"twin models: the model of each board",
       "hm232diag",
       std::nullopt,
       0,
       {"---- hm232diag: PASS", "board  model         check"}},
      {"a clock 20 % fast",
       "vx424diag",
       board("VX-424", "clock_ppm = 200000\n"),
       1,
       {"---- vx424diag: FAIL: a check abnormal",
        "1      clock 10 MHz                    K=13 D=13         K=11 D=11         ABNORMAL",
        "1      clock 8.192 MHz                 K=13 D=13         K=11 D=11         ABNORMAL"}},
      {"status bit 0x20 that will not clear",
       "vx424diag",
       board("VX-424", "[[board.read]]\noffset = 0x05\nset = 0x20\n"),
       1,
       {"---- vx424diag: FAIL: a check abnormal", "ABNORMAL"}},
      {"a board ID mismatch",
       "vx424diag",
       board("VX-424", "[[board.read]]\noffset = 0x07\nvalue = 0x12\n"),
       2,
       {"---- vx424diag: ERROR: the boards could not be checked", "problem: board 1: board ID"}},
  };
  for (const SelfTestCase& c : cases) {
    const auto r = run(check({program_path(c.program)}, c.bench));
    EXPECT_EQ(r.status, c.code) << c.name << "\n" << r.out << r.err;
    size_t at = 0;
    for (const std::string& line : c.lines) {
      const size_t found = r.out.find(line, at);
      ASSERT_NE(found, std::string::npos) << c.name << ": no line \"" << line << "\" in order in\n" << r.out;
      at = found + line.size();
    }
  }
}

// Every self-test and dx510diag on its own default bench: all normal.
TEST(DaqCheck, AllOnTheDefaultBenches) {
  const std::string bin = program_path("dx510diag").substr(0, program_path("dx510diag").rfind('/'));
  const auto r = run(check({"--all", bin}, std::nullopt));
  EXPECT_EQ(r.status, 0) << r.out;
  for (const char* program :
       {"hm236diag", "vx420diag", "vx414diag", "vx424diag", "hm230diag", "vx412diag", "vx418diag", "vx424bdiag",
        "vx416diag", "hm232diag", "hm234diag", "vx410diag", "vx422diag", "dx510diag"}) {
    EXPECT_NE(r.out.find(std::string("---- ") + program + ": PASS"), std::string::npos) << program;
  }
  EXPECT_TRUE(r.out.ends_with("\n==== all: PASS: every check of every board normal\n")) << r.out;
}

TEST(DaqCheck, JunitReportHasOneCasePerCheckPerBoard) {
  const std::string xml = testing_support::scratch_dir() + "/dx510.xml";
  const auto r =
      run(check({"--junit", xml, program_path("dx510diag")}, kDxBoard + dx_read(0x18, "after = 1\nvalues = [0x46]\n")));
  ASSERT_EQ(r.status, 1) << r.out << r.err;
  const std::string report = read_file(xml);
  EXPECT_TRUE(report.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"daq check\">\n"))
      << report;
  // board ID, five statuses and the counter; the half-full count is shown, not judged
  EXPECT_NE(report.find("<testsuite name=\"dx510diag\" tests=\"7\" failures=\"1\" errors=\"0\">"), std::string::npos)
      << report;
  EXPECT_NE(report.find("<testcase classname=\"dx510diag.board1\" name=\"status at sampling start\">"
                        "<failure message=\"サンプリングスタート時のステータス: 46, expected 47\"/></testcase>"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("<testcase classname=\"dx510diag.board1\" name=\"counter\"></testcase>"), std::string::npos)
      << report;

  // a program that could not check its boards: one case in error
  const auto none = run(check({"--junit", xml, program_path("dx510diag")}, ""));
  ASSERT_EQ(none.status, 2);
  EXPECT_NE(read_file(xml).find("<testcase classname=\"dx510diag\" name=\"boards checked\">"
                                "<error message=\"no DX-510 board found; \"/></testcase>"),
            std::string::npos)
      << read_file(xml);
}

TEST(DaqCheck, AllSkipsModelsThatAreNotThere) {
  const std::string bin = program_path("dx510diag").substr(0, program_path("dx510diag").rfind('/'));
  const auto healthy = run(check({"--all", bin}, kDxBoard));
  EXPECT_EQ(healthy.status, 0) << healthy.out;
  EXPECT_NE(healthy.out.find("---- vx424diag: no board of this model"), std::string::npos) << healthy.out;
  EXPECT_NE(healthy.out.find("\n==== all: PASS: every check of every board normal\n"), std::string::npos);

  const auto faulty = run(check({"--all", bin}, kDxBoard + dx_read(0x0E, "value = 0xFE00\n")));
  EXPECT_EQ(faulty.status, 1);
  EXPECT_NE(faulty.out.find("\n==== all: FAIL: a check abnormal\n"), std::string::npos);

  const auto empty = run(check({"--all", bin}, ""));
  EXPECT_EQ(empty.status, 2) << "no board of any model: nothing was checked";
}

TEST(DaqCheck, UsageAndAProgramThatCannotStart) {
  EXPECT_EQ(run(check({}, std::nullopt)).status, 2);
  const auto r = run(check({"/nonexistent/vx424diag"}, std::nullopt));
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("daq check: cannot start /nonexistent/vx424diag"), std::string::npos) << r.err;
}

}  // namespace
