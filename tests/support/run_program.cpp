#include "run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

extern char** environ;

namespace testing_support {

namespace {

// Made at first use, removed at exit by the process that made it (not by a
// forked child that calls exit(), as a death test does).
class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "daq-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::system_error(errno, std::generic_category(), "mkdtemp");
    path_ = pattern;
  }
  ~ScratchDir() {
    if (getpid() != owner_) return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  pid_t owner_ = getpid();
};

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

int unique() {
  static int n = 0;
  return ++n;
}

// Waits for the child; past the deadline it is killed and the run fails.
// A pidfd lets poll() wake at the child's exit; without one (old kernels)
// the wait polls every few milliseconds.
int wait_with_deadline(pid_t pid, std::chrono::milliseconds deadline, const std::string& program) {
  using std::chrono::steady_clock;
  const steady_clock::time_point end = steady_clock::now() + deadline;
  const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
  for (;;) {
    int wstatus = 0;
    const pid_t done = waitpid(pid, &wstatus, WNOHANG);
    if (done == pid || (done < 0 && errno != EINTR)) {
      if (pidfd >= 0) close(pidfd);
      if (done < 0) throw std::system_error(errno, std::generic_category(), "waitpid " + program);
      return wstatus;
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - steady_clock::now());
    if (left.count() <= 0) {
      kill(pid, SIGKILL);
      while (waitpid(pid, &wstatus, 0) < 0 && errno == EINTR) {
      }
      if (pidfd >= 0) close(pidfd);
      throw std::runtime_error(program + " was still running after " +
                               std::to_string(std::chrono::ceil<std::chrono::seconds>(deadline).count()) +
                               " s and was killed (a hang?)");
    }
    if (pidfd >= 0) {
      pollfd exited{pidfd, POLLIN, 0};
      poll(&exited, 1, static_cast<int>(std::min<long long>(left.count(), 60'000)));
    } else {
      usleep(static_cast<useconds_t>(std::min<long long>(left.count(), 5) * 1000));
    }
  }
}

}  // namespace

std::string program_path(const std::string& program) { return std::string(DAQ_BIN_DIR) + "/" + program; }

const std::string& scratch_dir() {
  static const ScratchDir dir;
  return dir.path();
}

std::string scratch_file(const std::string& name, const std::string& text) {
  const std::string path = scratch_dir() + "/" + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

Run run(const Launch& launch) {
  const std::string tag = std::to_string(getpid()) + "-" + std::to_string(unique());
  const std::string in_path = scratch_file("stdin-" + tag, launch.keys);
  const std::string out_path = scratch_dir() + "/stdout-" + tag;
  const std::string err_path = scratch_dir() + "/stderr-" + tag;
  const std::string trace_path = scratch_dir() + "/trace-" + tag;

  std::vector<std::string> env;
  auto overridden = [&](const char* entry) {
    if (std::strncmp(entry, "REGIO_", 6) == 0) return true;
    for (const auto& own : launch.env) {
      const size_t name = own.find('=') + 1;
      if (std::strncmp(entry, own.c_str(), name) == 0) return true;
    }
    return false;
  };
  for (char** e = environ; *e != nullptr; ++e) {
    if (!overridden(*e)) env.emplace_back(*e);
  }
  if (launch.bench) env.push_back("REGIO_BENCH=" + scratch_file("bench-" + tag + ".toml", *launch.bench));
  if (launch.trace) env.push_back("REGIO_TRACE=" + trace_path);
  env.insert(env.end(), launch.env.begin(), launch.env.end());

  std::vector<std::string> argv_text{launch.program};
  argv_text.insert(argv_text.end(), launch.args.begin(), launch.args.end());
  std::vector<char*> argv, envp;
  for (auto& a : argv_text) argv.push_back(a.data());
  argv.push_back(nullptr);
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 0, in_path.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&files, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (!launch.cwd.empty()) posix_spawn_file_actions_addchdir_np(&files, launch.cwd.c_str());
  pid_t pid = 0;
  const std::string path =
      launch.program.find('/') == std::string::npos ? program_path(launch.program) : launch.program;
  const int rc = posix_spawn(&pid, path.c_str(), &files, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&files);
  const auto remove_files = [&] {
    for (const auto& p : {in_path, out_path, err_path, trace_path}) unlink(p.c_str());
  };
  if (rc != 0) {
    remove_files();
    throw std::runtime_error("cannot start " + path + ": " + std::strerror(rc));
  }

  int wstatus = 0;
  try {
    wstatus = wait_with_deadline(pid, launch.deadline, path);
  } catch (...) {
    remove_files();
    throw;
  }
  Run result;
  result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  result.out = slurp(out_path);
  result.err = slurp(err_path);
  result.trace = slurp(trace_path);
  remove_files();
  return result;
}

std::vector<std::string> trace_lines(const std::string& trace, const std::string& prefix) {
  std::vector<std::string> lines;
  std::istringstream in(trace);
  for (std::string line; std::getline(in, line);) {
    if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line);
  }
  return lines;
}

namespace {

// The repeat count of a folded line, which loses its " [x N]"; 1 when none.
size_t fold_count(std::string& line) {
  const size_t at = line.rfind(" [x ");
  if (at == std::string::npos || line.back() != ']') return 1;
  const size_t n = std::stoul(line.substr(at + 4));
  line.erase(at);
  return n;
}

}  // namespace

std::vector<std::string> trace_calls(const std::string& trace, size_t limit) {
  std::vector<std::string> calls;
  std::vector<std::string> group;
  bool in_group = false;
  for (std::string line : trace_lines(trace)) {
    if (calls.size() >= limit) break;
    if (line == "{") {
      in_group = true;
      group.clear();
    } else if (in_group && line.rfind("}", 0) == 0) {
      in_group = false;
      const size_t n = fold_count(line);
      for (size_t i = 0; i < n && calls.size() < limit; ++i) calls.insert(calls.end(), group.begin(), group.end());
    } else if (in_group) {
      group.push_back(line);
    } else {
      const size_t n = fold_count(line);
      calls.insert(calls.end(), std::min(n, limit - calls.size()), line);
    }
  }
  if (calls.size() > limit) calls.resize(limit);
  return calls;
}

}  // namespace testing_support
