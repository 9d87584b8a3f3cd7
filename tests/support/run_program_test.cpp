// The test runner itself: a hanging child is killed at the deadline, the
// scratch folder goes away with the process that made it, and a child can
// be started in a folder of the test's choosing.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "run_program.h"

namespace {

using testing_support::Launch;
using testing_support::run;

TEST(RunProgram, KillsAChildPastItsDeadline) {
  try {
    run(Launch{.program = "/bin/sleep", .args = {"1000"}, .trace = false, .deadline = std::chrono::milliseconds(100)});
    FAIL() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), "/bin/sleep was still running after 1 s and was killed (a hang?)");
  }
}

TEST(RunProgram, StartsTheChildInTheGivenFolder) {
  const auto r = run(Launch{.program = "/bin/pwd", .trace = false, .cwd = testing_support::scratch_dir()});
  EXPECT_EQ(r.out, testing_support::scratch_dir() + "\n");
  EXPECT_EQ(r.status, 0);
}

// Run by the next test in a child process: writes a scratch file and names
// the folder it is in.
TEST(RunProgram, ScratchFileHelper) {
  const std::string path = testing_support::scratch_file("note.txt", "kept until exit\n");
  ASSERT_TRUE(std::filesystem::exists(path));
  std::printf("scratch=%s\n", testing_support::scratch_dir().c_str());
}

TEST(RunProgram, ScratchFolderGoesAwayAtExit) {
  const std::string tmp = testing_support::scratch_dir() + "/tmp";
  std::filesystem::create_directory(tmp);
  const auto r = run(Launch{.program = std::filesystem::read_symlink("/proc/self/exe").string(),
                            .args = {"--gtest_filter=RunProgram.ScratchFileHelper"},
                            .trace = false,
                            .env = {"TMPDIR=" + tmp}});
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  const auto at = r.out.find("scratch=" + tmp + "/daq-test-");
  ASSERT_NE(at, std::string::npos) << r.out;
  EXPECT_TRUE(std::filesystem::is_empty(tmp));
}

}  // namespace
