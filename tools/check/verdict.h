// The verdict of a self-test or DX-510 check run, read from the console
// output as the program prints it: every check of every board, normal or
// abnormal, and whether the program could check its boards at all.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace verdict {

enum class Result { Normal, Abnormal, Info };

struct Check {
  std::string name;      // in English, e.g. "status at reset"
  std::string label;     // as the program printed it (Japanese), or the line it read
  std::string value;     // what the program found
  std::string expected;  // what it expected; empty where the program does not say
  Result result = Result::Info;
};

struct Board {
  int number = 0;     // as the program counts them, from 1
  std::string model;  // twin-model programs: the model found; else empty
  std::vector<Check> checks;
};

struct Report {
  std::vector<Board> boards;
  std::vector<std::string> problems;  // why the program could not check its boards
};

// Reads the whole console output of one run (UTF-8 texts).
Report read_output(std::string_view out);

// 0: every check of every board normal; 1: a check abnormal; 2: the program
// could not check its boards (no board found, a driver error, a board ID
// mismatch, no board checked, or a run that ended early).
int exit_code(const Report& report, int program_status);

}  // namespace verdict
