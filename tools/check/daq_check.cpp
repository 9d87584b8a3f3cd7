// daq_check: a verdict for test stations. Runs a self-test or dx510diag (or
// all of them), shows the program's output as it comes, reads every check
// line, and ends with 0 when every check of every board is normal, 1 when a
// check is abnormal, 2 when the program could not check its boards.
//
//   daq_check [--junit FILE] PROGRAM [ARGS...]
//   daq_check [--junit FILE] --all BIN_DIR
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "verdict.h"

namespace {

// The programs that end in a verdict, in the order `--all` runs them.
constexpr const char* kPrograms[] = {
    "hm236diag",  "vx420diag", "vx414diag", "vx424diag", "hm230diag", "vx412diag", "vx418diag",
    "vx424bdiag", "vx416diag", "hm232diag", "hm234diag", "vx410diag", "vx422diag", "dx510diag",
};

struct Outcome {
  std::string program;
  verdict::Report report;
  int status = 0;       // the program's exit status, 128 + signal when it died of one
  int code = 2;         // the verdict
  bool absent = false;  // --all: no board of this program's model
};

std::string base_name(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Runs the program with our standard input and error, copying its output to
// ours the moment it comes; returns the output and the exit status.
int run(const std::vector<std::string>& argv, std::string& out) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  const pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    dup2(fds[1], STDOUT_FILENO);
    close(fds[0]);
    close(fds[1]);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    std::fprintf(stderr, "daq check: cannot start %s (%s)\n", args[0], std::strerror(errno));
    _exit(127);
  }
  close(fds[1]);
  char chunk[4096];
  for (;;) {
    const ssize_t n = read(fds[0], chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    out.append(chunk, static_cast<size_t>(n));
    std::fwrite(chunk, 1, static_cast<size_t>(n), stdout);
    std::fflush(stdout);
  }
  close(fds[0]);
  int wstatus = 0;
  while (waitpid(pid, &wstatus, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
}

const char* result_text(verdict::Result r) {
  switch (r) {
    case verdict::Result::Normal: return "normal";
    case verdict::Result::Abnormal: return "ABNORMAL";
    case verdict::Result::Info: return "info";
  }
  return "";
}

const char* code_text(int code) {
  return code == 0   ? "PASS: every check of every board normal"
         : code == 1 ? "FAIL: a check abnormal"
                     : "ERROR: the boards could not be checked";
}

void summary(const Outcome& o) {
  std::printf("\n---- %s: %s\n", o.program.c_str(), o.absent ? "no board of this model" : code_text(o.code));
  if (!o.report.boards.empty()) {
    // The model column only for programs that serve two models.
    const bool models = std::any_of(o.report.boards.begin(), o.report.boards.end(),
                                    [](const verdict::Board& b) { return !b.model.empty(); });
    std::printf("%-5s  ", "board");
    if (models) std::printf("%-12s  ", "model");
    std::printf("%-30s  %-16s  %-16s  %s\n", "check", "value", "expected", "result");
    for (const verdict::Board& b : o.report.boards) {
      for (const verdict::Check& c : b.checks) {
        std::printf("%-5d  ", b.number);
        if (models) std::printf("%-12s  ", b.model.c_str());
        std::printf("%-30s  %-16s  %-16s  %s\n", c.name.c_str(), c.value.c_str(), c.expected.c_str(),
                    result_text(c.result));
      }
    }
  }
  for (const std::string& p : o.report.problems) std::printf("problem: %s\n", p.c_str());
  if (o.status != 255) std::printf("problem: the program ended with status %d, not through its normal end\n", o.status);
  std::fflush(stdout);
}

std::string xml(const std::string& text) {
  std::string s;
  for (char c : text) {
    switch (c) {
      case '&': s += "&amp;"; break;
      case '<': s += "&lt;"; break;
      case '>': s += "&gt;"; break;
      case '"': s += "&quot;"; break;
      case '\t': s += "&#9;"; break;
      case '\n': s += "&#10;"; break;
      default: s += c;
    }
  }
  return s;
}

// One test case per check per board; a program that could not check its
// boards has one case in error.
bool write_junit(const std::string& path, const std::vector<Outcome>& outcomes) {
  std::ofstream f(path, std::ios::binary);
  f << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"daq check\">\n";
  for (const Outcome& o : outcomes) {
    std::string cases;
    int tests = 0, failures = 0, errors = 0;
    for (const verdict::Board& b : o.report.boards) {
      for (const verdict::Check& c : b.checks) {
        if (c.result == verdict::Result::Info) continue;
        ++tests;
        cases += "    <testcase classname=\"" + xml(o.program) + ".board" + std::to_string(b.number) + "\" name=\"" +
                 xml(c.name) + "\">";
        if (c.result == verdict::Result::Abnormal) {
          ++failures;
          cases += "<failure message=\"" +
                   xml(c.label + ": " + c.value + (c.expected.empty() ? "" : ", expected " + c.expected)) + "\"/>";
        }
        cases += "</testcase>\n";
      }
    }
    if (o.code == 2 && !o.absent) {
      std::string why;
      for (const std::string& p : o.report.problems) why += p + "; ";
      if (o.status != 255) why += "ended with status " + std::to_string(o.status);
      if (why.empty()) why = "no board checked";
      ++tests;
      ++errors;
      cases += "    <testcase classname=\"" + xml(o.program) + "\" name=\"boards checked\"><error message=\"" +
               xml(why) + "\"/></testcase>\n";
    }
    f << "  <testsuite name=\"" << xml(o.program) << "\" tests=\"" << tests << "\" failures=\"" << failures
      << "\" errors=\"" << errors << "\"" << (o.absent ? " skipped=\"1\"" : "") << ">\n"
      << cases << "  </testsuite>\n";
  }
  f << "</testsuites>\n";
  return static_cast<bool>(f);
}

Outcome check(const std::vector<std::string>& argv) {
  Outcome o;
  o.program = base_name(argv[0]);
  std::string out;
  o.status = run(argv, out);
  o.report = verdict::read_output(out);
  o.code = verdict::exit_code(o.report, o.status);
  return o;
}

int usage() {
  std::fprintf(stderr,
               "usage: daq_check [--junit FILE] PROGRAM [ARGS...]\n"
               "       daq_check [--junit FILE] --all BIN_DIR\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string junit;
  if (args.size() >= 2 && args[0] == "--junit") {
    junit = args[1];
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty()) return usage();

  std::vector<Outcome> outcomes;
  int code = 0;
  if (args[0] == "--all") {
    if (args.size() != 2) return usage();
    bool any_board = false;
    for (const char* program : kPrograms) {
      std::printf("\n==== %s\n", program);
      std::fflush(stdout);
      Outcome o = check({args[1] + "/" + program});
      // on one machine, a program whose model is not there has nothing to check
      o.absent = o.report.boards.empty() && o.status == 255 && o.report.problems.size() == 1 &&
                 o.report.problems[0].rfind("no ", 0) == 0;
      any_board = any_board || !o.report.boards.empty();
      if (!o.absent) code = std::max(code, o.code);
      summary(o);
      outcomes.push_back(std::move(o));
    }
    if (!any_board) code = 2;
    std::printf("\n==== all: %s\n", code_text(code));
  } else {
    Outcome o = check(args);
    code = o.code;
    summary(o);
    outcomes.push_back(std::move(o));
  }
  if (!junit.empty() && !write_junit(junit, outcomes)) {
    std::fprintf(stderr, "daq check: cannot write %s\n", junit.c_str());
    return 2;
  }
  return code;
}
