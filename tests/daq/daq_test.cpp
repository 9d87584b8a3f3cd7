// The daq script itself, started as a user would start it: from another
// folder, with relative paths, without arguments, with an unknown program,
// without root and under sudo.
//
// Runs that get past the checks use a copy of the script in a small tree of
// its own (a CMake project whose programs are the real hm230diag and a
// script that tells where it runs and what it got), so that they stay quick
// and never build the suite. dpkg-query and apt-get are stand-ins on PATH.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "run_program.h"

namespace {

namespace fs = std::filesystem;
using testing_support::Launch;
using testing_support::run;

constexpr uid_t kNobody = 65534;

const char* const kUsage =
    "usage: ./daq run PROGRAM [ARGS...]   build what is stale and run one program on the simulated bench\n"
    "       ./daq check [--junit FILE] PROGRAM [ARGS...] | all\n"
    "                                     run self-tests or dx510diag and give a verdict: exit 0 when\n"
    "                                     every check is normal, 1 when one is abnormal, 2 when the\n"
    "                                     boards could not be checked; FILE gets a JUnit XML report\n"
    "       ./daq test                    build and run every test, plain and under the sanitizers\n"
    "\n"
    "programs:\n"
    "  sampling checks  vx424chk hm230chk vx412chk vx420chk vx416chk vx422chk vx414chk vx410chk vx428chk "
    "vx418chk vx426chk\n"
    "  self-tests       hm236diag vx420diag vx414diag vx424diag hm230diag vx412diag vx418diag vx424bdiag "
    "vx416diag hm232diag hm234diag vx410diag vx422diag\n"
    "  DX-510 check     dx510diag\n"
    "  unit panels      qai_panel qao_panel\n";

const char* const kPrograms =
    "vx424chk hm230chk vx412chk vx420chk vx416chk vx422chk vx414chk vx410chk vx428chk vx418chk vx426chk "
    "hm236diag vx420diag vx414diag vx424diag hm230diag vx412diag vx418diag vx424bdiag vx416diag hm232diag "
    "hm234diag vx410diag vx422diag dx510diag qai_panel qao_panel";

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void write_file(const fs::path& path, const std::string& text, bool executable = false) {
  std::ofstream(path, std::ios::binary) << text;
  if (executable)
    fs::permissions(path, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                    fs::perm_options::add);
}

// The folders under a tree that a given user does not own.
std::vector<std::string> not_owned_by(const fs::path& top, uid_t uid) {
  std::vector<std::string> foreign;
  struct stat st {};
  for (const auto& entry : fs::recursive_directory_iterator(top)) {
    if (lstat(entry.path().c_str(), &st) == 0 && st.st_uid != uid) foreign.push_back(entry.path().string());
  }
  return foreign;
}

// A scratch setting: the user's folder, a tree with a copy of daq, and the
// package stand-ins. `missing` names the packages dpkg-query reports as not
// installed until apt-get installs them; apt-get's calls go to its log.
struct Setting {
  fs::path base, user, tree, stubs;

  explicit Setting(const std::string& name, const std::string& missing = "") {
    base = fs::path(testing_support::scratch_dir()) / name;
    user = base / "user";
    tree = base / "tree";
    stubs = base / "stubs";
    for (const auto& dir : {user, tree, stubs}) fs::create_directories(dir);
    // Other users (the sudo case) pass through to their tree.
    chmod(testing_support::scratch_dir().c_str(), 0755);

    fs::copy_file(DAQ_SCRIPT, tree / "daq");
    write_file(tree / "CMakePresets.json",
               R"({ "version": 6, "configurePresets": [ { "name": "default", "generator": "Ninja",
                    "binaryDir": "${sourceDir}/build/default" } ] })");
    write_file(tree / "tell.sh",
               "#!/bin/sh\n"
               "echo \"uid=$(id -u) cwd=$(pwd)\"\n"
               "for a in \"$@\"; do echo \"arg=$a\"; done\n"
               "for v in REGIO_BENCH REGIO_TRACE QAI8_UNITS QAO4_UNITS; do eval \"echo $v=\\$$v\"; done\n",
               true);
    write_file(
        tree / "CMakeLists.txt",
        "cmake_minimum_required(VERSION 3.25)\n"
        "project(daq_tree NONE)\n"
        "set(bin ${CMAKE_BINARY_DIR}/bin)\n"
        "add_custom_command(OUTPUT ${bin}/hm230diag\n"
        "  COMMAND ${CMAKE_COMMAND} -E make_directory ${bin}\n"
        "  COMMAND ${CMAKE_COMMAND} -E create_symlink " +
            testing_support::program_path("hm230diag") +
            " ${bin}/hm230diag)\n"
            "add_custom_target(hm230diag DEPENDS ${bin}/hm230diag)\n"
            "foreach(program vx424chk qai_panel daq_check dx510diag hm236diag vx420diag vx414diag\n"
            "        vx424diag vx412diag vx418diag vx424bdiag vx416diag hm232diag hm234diag vx410diag vx422diag)\n"
            "  add_custom_command(OUTPUT ${bin}/${program}\n"
            "    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/tell.sh ${bin}/${program})\n"
            "  add_custom_target(${program} DEPENDS ${bin}/${program})\n"
            "endforeach()\n"
            "file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/run/qai_panel)\n");

    write_file(stubs / "missing", missing);
    write_file(stubs / "apt.log", "");
    write_file(stubs / "dpkg-query",
               "#!/bin/sh\n"
               "# dpkg-query -W -f=${Status} PACKAGE\n"
               "for p in $(cat " +
                   (stubs / "missing").string() +
                   "); do [ \"$p\" = \"$3\" ] && exit 1; done\n"
                   "printf 'install ok installed'\n",
               true);
    write_file(stubs / "apt-get",
               "#!/bin/sh\n"
               "echo \"uid=$(id -u) $*\" >> " +
                   (stubs / "apt.log").string() +
                   "\n"
                   "[ \"$1\" = install ] && : > " +
                   (stubs / "missing").string() +
                   "\n"
                   "exit 0\n",
               true);
  }

  std::string path_env() const { return "PATH=" + stubs.string() + ":" + std::getenv("PATH"); }

  // daq run ... from the user's folder.
  Launch daq(std::vector<std::string> args, std::vector<std::string> env = {}) const {
    env.push_back(path_env());
    return Launch{.program = (tree / "daq").string(),
                  .args = std::move(args),
                  .trace = false,
                  .env = std::move(env),
                  .cwd = user.string()};
  }

  // The same, as the user nobody (when the test runs as root).
  Launch daq_as_nobody(std::vector<std::string> args) const {
    Launch launch = daq(std::move(args));
    if (geteuid() != 0) return launch;
    launch.args.insert(launch.args.begin(), {"--reuid=65534", "--regid=65534", "--clear-groups", launch.program});
    launch.program = "/usr/bin/setpriv";
    return launch;
  }

  void give_to_nobody() const {
    for (const auto& dir : {base, user, tree}) {
      if (chown(dir.c_str(), kNobody, kNobody) != 0) FAIL() << "chown " << dir;
    }
    for (const auto& entry : fs::recursive_directory_iterator(tree)) {
      if (lchown(entry.path().c_str(), kNobody, kNobody) != 0) FAIL() << "chown " << entry.path();
    }
  }
};

// The script in place: these fail before any package check or build.
struct Refusal {
  std::vector<std::string> args;
  std::string err;
};

TEST(Daq, RefusesWithUsageOrTheProgramList) {
  const std::string unknown = std::string("daq: unknown program 'nosuchprogram'; the programs: ") + kPrograms + "\n";
  const std::string all = std::string("daq: unknown program 'all'; the programs: ") + kPrograms + "\n";
  const std::string check =
      "daq: check takes a self-test or dx510diag, or all: hm236diag vx420diag vx414diag vx424diag hm230diag "
      "vx412diag vx418diag vx424bdiag vx416diag hm232diag hm234diag vx410diag vx422diag dx510diag\n";
  const Refusal cases[] = {
      {{}, kUsage},
      {{"run"}, kUsage},
      {{"frobnicate"}, kUsage},
      {{"run", "nosuchprogram"}, unknown},
      {{"run", "all"}, all},
      {{"check"}, kUsage},
      {{"check", "--junit"}, kUsage},
      {{"check", "vx424chk"}, check},
      {{"check", "all", "1"}, check},
  };
  for (const auto& c : cases) {
    const auto r =
        run(Launch{.program = DAQ_SCRIPT, .args = c.args, .trace = false, .cwd = testing_support::scratch_dir()});
    const std::string name = c.args.empty() ? "(none)" : c.args.back();
    EXPECT_EQ(r.status, 2) << name;
    EXPECT_EQ(r.err, c.err) << name;
    EXPECT_EQ(r.out, "") << name;
  }
  const auto help = run(Launch{.program = DAQ_SCRIPT, .args = {"--help"}, .trace = false});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out, kUsage);
}

TEST(Daq, RelativeBenchAndTraceFromTheUsersFolder) {
  const Setting s("bench");
  write_file(s.user / "mybench.toml", "[driver]\nopen = -3\n");
  const auto r = run(s.daq({"run", "hm230diag"}, {"REGIO_BENCH=mybench.toml", "REGIO_TRACE=run.trace"}));
  EXPECT_EQ(r.out,
            "HM-230/VX-426 動作確認プログラムV1.5\n"
            "HMボードメモリカウント対応版\n"
            "HM-230-8MW/16MW両バージョン対応版\n"
            "Open_Driverでエラー(-3)が発生しました。\n");
  EXPECT_EQ(r.status, 255) << r.err;
  EXPECT_EQ(read_file(s.user / "run.trace"), "Open_Driver() = -3\n");
}

TEST(Daq, ConsoleProgramRunsWhereTheUserStands) {
  const Setting s("console");
  const auto r = run(s.daq({"run", "vx424chk", "sub/file.txt", "1"}, {"REGIO_BENCH=b.toml"}));
  EXPECT_EQ(r.out, "uid=" + std::to_string(geteuid()) + " cwd=" + s.user.string() +
                       "\n"
                       "arg=sub/file.txt\n"
                       "arg=1\n"
                       "REGIO_BENCH=b.toml\nREGIO_TRACE=\nQAI8_UNITS=\nQAO4_UNITS=\n");
  EXPECT_EQ(r.status, 0) << r.err;
}

// daq check hands the program's path in the build and the user's arguments
// to daq_check, which runs where the user stands.
TEST(Daq, CheckRunsDaqCheckWithTheProgramsPath) {
  const Setting s("check");
  const std::string bin = (s.tree / "build/default/bin").string();
  const std::string head = "uid=" + std::to_string(geteuid()) + " cwd=" + s.user.string() + "\n";
  const std::string env = "REGIO_BENCH=b.toml\nREGIO_TRACE=\nQAI8_UNITS=\nQAO4_UNITS=\n";
  const auto one = run(s.daq({"check", "--junit", "r.xml", "dx510diag", "x"}, {"REGIO_BENCH=b.toml"}));
  EXPECT_EQ(one.out, head + "arg=--junit\narg=r.xml\narg=" + bin + "/dx510diag\narg=x\n" + env);
  EXPECT_EQ(one.status, 0) << one.err;
  const auto all = run(s.daq({"check", "all"}, {"REGIO_BENCH=b.toml"}));
  EXPECT_EQ(all.out, head + "arg=--all\narg=" + bin + "\n" + env);
  EXPECT_EQ(all.status, 0) << all.err;
}

// A panel runs in its run folder (its help texts are there), and gets the
// user's relative paths made absolute; arguments that name nothing stay.
TEST(Daq, PanelRunsInItsRunFolderWithTheUsersPathsMadeAbsolute) {
  const Setting s("panel");
  write_file(s.user / "units.toml", "");
  const auto r = run(s.daq(
      {"run", "qai_panel", "units.toml", "-style", "fusion", "nothere"},
      {"QAI8_UNITS=units.toml", "QAO4_UNITS=/elsewhere/qao.toml", "REGIO_BENCH=b.toml", "REGIO_TRACE=sub/t.trace"}));
  const std::string user = s.user.string();
  EXPECT_EQ(r.out, "uid=" + std::to_string(geteuid()) + " cwd=" + (s.tree / "build/default/run/qai_panel").string() +
                       "\n"
                       "arg=" +
                       user +
                       "/units.toml\n"
                       "arg=-style\n"
                       "arg=fusion\n"
                       "arg=nothere\n"
                       "REGIO_BENCH=" +
                       user +
                       "/b.toml\n"
                       "REGIO_TRACE=" +
                       user +
                       "/sub/t.trace\n"
                       "QAI8_UNITS=" +
                       user +
                       "/units.toml\n"
                       "QAO4_UNITS=/elsewhere/qao.toml\n");
  EXPECT_EQ(r.status, 0) << r.err;
}

TEST(Daq, WithoutRootMissingPackagesGiveTheInstallCommand) {
  const Setting s("noroot", "libxcb1-dev\nxdg-utils\n");
  const auto r = run(s.daq_as_nobody({"run", "vx424chk"}));
  EXPECT_EQ(r.err,
            "daq: Debian packages missing: libxcb1-dev xdg-utils; install them with\n"
            "  sudo apt-get update && sudo apt-get install -y --no-install-recommends libxcb1-dev xdg-utils\n"
            "or run daq itself under sudo (it installs them and builds as you)\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(read_file(s.stubs / "apt.log"), "");
  EXPECT_FALSE(fs::exists(s.tree / "build"));
}

// sudo ./daq in a user's tree: the packages are installed as root, the
// build and the program run as the tree's owner, and a file that an earlier
// run as root left in build/ is given back.
TEST(Daq, UnderSudoInstallsAsRootAndLeavesNothingOfRoot) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to give a tree to another user";
  const Setting s("sudo", "xdg-utils\n");
  fs::create_directories(s.tree / "build");
  write_file(s.tree / "build/left-by-root", "");
  s.give_to_nobody();
  ASSERT_EQ(lchown((s.tree / "build/left-by-root").c_str(), 0, 0), 0);

  Launch launch = s.daq({"run", "vx424chk"}, {"SUDO_USER=nobody", "SUDO_UID=65534", "SUDO_GID=65534"});
  const auto r = run(launch);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(read_file(s.stubs / "apt.log"),
            "uid=0 update -qq\n"
            "uid=0 install -y -qq --no-install-recommends xdg-utils\n");
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "uid=65534 cwd=" + s.user.string());
  EXPECT_EQ(not_owned_by(s.tree, kNobody), std::vector<std::string>{});
  EXPECT_TRUE(fs::exists(s.tree / "build/default/bin/vx424chk"));
}

// A user's build/ that holds a file of root fails with the command that
// gives it back, not deep in the build tool.
TEST(Daq, RootFilesInTheUsersBuildAreNamed) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to leave a file of root in another user's tree";
  const Setting s("rootfiles");
  fs::create_directories(s.tree / "build/default");
  s.give_to_nobody();
  write_file(s.tree / "build/default/build.ninja", "");  // made by root
  const auto r = run(s.daq_as_nobody({"run", "vx424chk"}));
  EXPECT_EQ(r.err, "daq: " + (s.tree / "build/default/build.ninja").string() +
                       " does not belong to you (left by a run as root?); give build/ back with\n"
                       "  sudo chown -R nobody: " +
                       (s.tree / "build").string() + "\n");
  EXPECT_EQ(r.status, 1);
}

}  // namespace
