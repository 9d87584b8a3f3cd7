// Runs a program of the suite as a child process on a bench of the test's
// choosing and collects what it printed, its exit status and the driver trace.
//
// The same tests run the Windows programs under Wine when DAQ_WINDOWS_BUILD
// names a Windows build tree (programs in bin/, the bench Regio32.dll in
// bench/, put on the programs' DLL path) and DAQ_WINE Wine's loader. Their
// output, in code page 932 with the CR LF line ends of a Windows text
// stream, comes back as UTF-8 with LF, as the Linux programs write it; so
// does the trace.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

struct Run {
  std::string out;    // standard output, byte for byte
  std::string err;    // standard error
  int status = -1;    // exit status (0 to 255), or 128 + signal
  std::string trace;  // the driver library's trace; empty when it wrote none
};

struct Launch {
  std::string program;                    // a program of the suite by name, or a path with a '/'
  std::vector<std::string> args = {};     // arguments after the program name
  std::optional<std::string> bench = {};  // bench file text; none: the default bench
  std::string keys = {};                  // standard input
  bool trace = true;
  std::vector<std::string> env = {};  // NAME=value entries added to the environment
  std::string cwd = {};               // working directory; empty: the test's own
  // Only catches a hang: a child still running after this long is killed and
  // run() throws.
  std::chrono::milliseconds deadline = std::chrono::minutes(10);
};

Run run(const Launch& launch);

// A program's executable in the build tree (its .exe under Wine).
std::string program_path(const std::string& program);

// True when the programs run are the Windows programs under Wine. Their
// sample buffer is the system's global memory, built in: no library of the
// same name can take its place, as on Linux.
bool windows_programs();

// The exit status of a program that SIGINT ended (the bench's interrupt, as
// a user's Ctrl-C): 128 + 2 on Linux; on Windows the runtime's default
// action ends the program with exit code 3.
int interrupted_status();

// A Windows text stream as Linux writes it: code page 932 decoded to UTF-8,
// CR LF to LF.
std::string from_windows_text(const std::string& text);

// The test process's scratch folder in the temporary directory ($TMPDIR or
// /tmp); it is removed with everything in it when the process exits.
const std::string& scratch_dir();

// A scratch file that lives as long as the test process.
std::string scratch_file(const std::string& name, const std::string& text);

// The trace lines that match a prefix, in order (for register sequences).
std::vector<std::string> trace_lines(const std::string& trace, const std::string& prefix = "");

// The trace with its folds undone: one line per call, a line "... [x N]"
// as N lines, a group "{ ... } [x N]" as N copies of its lines. A FIFO read
// of a group keeps its "first .. last" values on every copy. At most `limit`
// calls (a drained board memory is millions of them).
std::vector<std::string> trace_calls(const std::string& trace, size_t limit = 100'000'000);

}  // namespace testing_support
