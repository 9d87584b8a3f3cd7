#include "run_program.h"

#include <fcntl.h>
#include <iconv.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/personality.h>
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

// The Windows build tree whose programs run under Wine, or nullptr.
const char* windows_build() {
  const char* build = std::getenv("DAQ_WINDOWS_BUILD");
  return build != nullptr && *build != '\0' ? build : nullptr;
}

// A folder of this build tree stands for the same folder of the Windows
// build tree (a test's library of the same name, built for Windows there).
std::string windows_folder(const std::string& folder) {
  const std::string own = DAQ_BUILD_DIR;
  if (folder.compare(0, own.size(), own) != 0) return folder;
  return windows_build() + folder.substr(own.size());
}

// A folder as Wine names it: the Linux root is drive Z:.
std::string wine_folder(const std::string& path) { return "Z:" + path; }

// The command line and environment of a Windows program under Wine. The
// library path a test sets (LD_LIBRARY_PATH) becomes the DLL path, ahead of
// the bench's folder, so that a library of the same name there takes the
// bench's place.
void run_on_wine(std::vector<std::string>& argv, std::vector<std::string>& env) {
  // Wine's 64-bit loader comes without the preloader that keeps its fixed
  // addresses free, and once in a while a randomised mapping takes one ("failed
  // to map the shared user data"): the programs start without address
  // randomisation (inherited by the children started from here on).
  static const bool fixed_addresses = personality(personality(0xFFFFFFFF) | ADDR_NO_RANDOMIZE) != -1;
  (void)fixed_addresses;
  const char* wine = std::getenv("DAQ_WINE");
  argv.insert(argv.begin(), wine != nullptr ? wine : "wine");
  std::string dll_path;
  std::vector<std::string> kept;
  for (std::string& entry : env) {
    if (entry.rfind("LD_LIBRARY_PATH=", 0) == 0) {
      dll_path += wine_folder(windows_folder(entry.substr(entry.find('=') + 1))) + ";";
    } else if (entry.rfind("WINEPATH=", 0) != 0) {
      kept.push_back(std::move(entry));
    }
  }
  kept.push_back("WINEPATH=" + dll_path + wine_folder(std::string(windows_build()) + "/bench"));
  env = std::move(kept);
}

}  // namespace

bool windows_programs() { return windows_build() != nullptr; }

int interrupted_status() { return windows_programs() ? 3 : 128 + SIGINT; }

std::string program_path(const std::string& program) {
  if (const char* build = windows_build()) return std::string(build) + "/bin/" + program + ".exe";
  return std::string(DAQ_BIN_DIR) + "/" + program;
}

std::string from_windows_text(const std::string& text) {
  std::string lf;
  lf.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) lf += text[i];
  }
  const iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::system_error(errno, std::generic_category(), "iconv_open CP932");
  std::string utf8(lf.size() * 3 + 16, '\0');
  char *in = lf.data(), *out = utf8.data();
  size_t in_left = lf.size(), out_left = utf8.size();
  while (in_left > 0) {
    if (iconv(cd, &in, &in_left, &out, &out_left) != static_cast<size_t>(-1)) break;
    // A byte that is no code page 932 text: kept as "\x..", so a test shows it.
    char shown[8];
    std::snprintf(shown, sizeof shown, "\\x%02X", static_cast<unsigned char>(*in));
    for (const char* c = shown; *c != '\0' && out_left > 0; ++c, --out_left) *out++ = *c;
    ++in;
    --in_left;
  }
  iconv_close(cd);
  utf8.resize(utf8.size() - out_left);
  return utf8;
}

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

  const bool by_name = launch.program.find('/') == std::string::npos;
  const bool on_wine = by_name && windows_programs();
  const std::string path = by_name ? program_path(launch.program) : launch.program;
  std::vector<std::string> argv_text{on_wine ? path : launch.program};
  argv_text.insert(argv_text.end(), launch.args.begin(), launch.args.end());
  if (on_wine) run_on_wine(argv_text, env);
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
  const std::string executable = on_wine ? argv_text[0] : path;
  const int rc = posix_spawn(&pid, executable.c_str(), &files, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&files);
  const auto remove_files = [&] {
    for (const auto& p : {in_path, out_path, err_path, trace_path}) unlink(p.c_str());
  };
  if (rc != 0) {
    remove_files();
    throw std::runtime_error("cannot start " + executable + ": " + std::strerror(rc));
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
  if (on_wine) {
    result.out = from_windows_text(result.out);
    result.err = from_windows_text(result.err);
    result.trace = from_windows_text(result.trace);
  }
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
