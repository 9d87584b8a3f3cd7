#include "run_program.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char **environ;

namespace testing_support {

namespace {

std::string scratch_dir() {
  static const std::string dir = [] {
    char pattern[] = "/tmp/daq-test-XXXXXX";
    if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
    return std::string(pattern);
  }();
  return dir;
}

std::string slurp(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

int unique() {
  static int n = 0;
  return ++n;
}

}  // namespace

std::string program_path(const std::string &program) { return std::string(DAQ_BIN_DIR) + "/" + program; }

std::string scratch_file(const std::string &name, const std::string &text) {
  const std::string path = scratch_dir() + "/" + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

Run run(const Launch &launch) {
  const std::string tag = std::to_string(getpid()) + "-" + std::to_string(unique());
  const std::string in_path = scratch_file("stdin-" + tag, launch.keys);
  const std::string out_path = scratch_dir() + "/stdout-" + tag;
  const std::string err_path = scratch_dir() + "/stderr-" + tag;
  const std::string trace_path = scratch_dir() + "/trace-" + tag;

  std::vector<std::string> env;
  auto overridden = [&](const char *entry) {
    if (std::strncmp(entry, "REGIO_", 6) == 0) return true;
    for (const auto &own : launch.env) {
      const size_t name = own.find('=') + 1;
      if (std::strncmp(entry, own.c_str(), name) == 0) return true;
    }
    return false;
  };
  for (char **e = environ; *e != nullptr; ++e) {
    if (!overridden(*e)) env.emplace_back(*e);
  }
  if (launch.bench) env.push_back("REGIO_BENCH=" + scratch_file("bench-" + tag + ".toml", *launch.bench));
  if (launch.trace) env.push_back("REGIO_TRACE=" + trace_path);
  env.insert(env.end(), launch.env.begin(), launch.env.end());

  std::vector<std::string> argv_text{launch.program};
  argv_text.insert(argv_text.end(), launch.args.begin(), launch.args.end());
  std::vector<char *> argv, envp;
  for (auto &a : argv_text) argv.push_back(a.data());
  argv.push_back(nullptr);
  for (auto &e : env) envp.push_back(e.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 0, in_path.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&files, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = 0;
  const std::string path = program_path(launch.program);
  const int rc = posix_spawn(&pid, path.c_str(), &files, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&files);
  if (rc != 0) throw std::runtime_error("cannot start " + path);

  int wstatus = 0;
  waitpid(pid, &wstatus, 0);
  Run result;
  result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  result.out = slurp(out_path);
  result.err = slurp(err_path);
  result.trace = slurp(trace_path);
  for (const auto &p : {in_path, out_path, err_path, trace_path}) unlink(p.c_str());
  return result;
}

std::vector<std::string> trace_lines(const std::string &trace, const std::string &prefix) {
  std::vector<std::string> lines;
  std::istringstream in(trace);
  for (std::string line; std::getline(in, line);) {
    if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line);
  }
  return lines;
}

}  // namespace testing_support
