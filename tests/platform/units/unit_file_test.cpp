// The unit file: what a good file sets up, and the one stderr line and the
// failed open that every kind of bad file gives.
#include <sys/stat.h>

#include <cstring>
#include <vector>

#include "units_fixture.h"

namespace {

using UnitFile = Units;

struct Library {
  const char* name;  // start of its stderr lines
  const char* env;
  int32_t (*open)();
  int32_t (*din)(int32_t);
};
const Library kQai8{"qai8_2k", "QAI8_UNITS", Qai8_OpenDriver, Qai8_Get_Din};
const Library kQao4{"qao4_2k", "QAO4_UNITS", Qao4_OpenDriver, Qao4_Get_Din};

struct BadFile {
  const Library* lib;
  const char* text;
  const char* problem;  // "<line>: <problem>" after the path
};

const BadFile kBadFiles[] = {
    {&kQai8, "[libary]\nversion = \"1\"\n", "1: unknown key 'libary'"},
    {&kQai8, "[library]\nversion = 1.5\n", "2: 'version' must be a string"},
    {&kQai8, "[library]\nnoise_seed = -1\n", "2: 'noise_seed' is out of range (0 to 9223372036854775807)"},
    {&kQai8, "[clock]\nfrozen = 1\n", "2: 'frozen' must be true or false"},
    {&kQai8, "[clock]\nstep_ms = 10\n", "2: 'step_ms' needs 'frozen = true'"},
    {&kQai8, "[clock]\nfrozen = true\nstep_ms = -1\n", "3: 'step_ms' is out of range (0 to 1e+09)"},
    {&kQai8, "[unit]\nrotsw = 0\n", "1: 'unit' must be written as [[unit]]"},
    {&kQai8, "[[unit]]\nfirmware = \"1.0\"\n", "1: 'rotsw' is missing"},
    {&kQai8, "[[unit]]\nrotsw = 16\n", "2: 'rotsw' is out of range (0 to 15)"},
    {&kQai8, "[[unit]]\nrotsw = -1\n", "2: 'rotsw' is out of range (0 to 15)"},
    {&kQai8, "[[unit]]\nrotsw = 0\ndcc = 5\n", "3: unknown key 'dcc'"},
    {&kQai8, "[[unit]]\nrotsw = 0\n\"d\\ncc\" = 5\n", "3: unknown key 'd\\ncc'"},
    {&kQai8, "[[unit]]\nrotsw = 0\ndin = \"on\"\n", "3: 'din' must be an integer"},
    {&kQai8, "[[unit]]\nrotsw = 0\ndin = 0x2\n", "3: 'din' is out of range (0 to 1)"},
    {&kQai8, "[[unit]]\nrotsw = 0\ncode = 2\n", "3: 'code' is out of range (0 to 1)"},
    {&kQai8, "[[unit]]\nrotsw = 0\nspeed = 10\n", "3: 'speed' is out of range (0 to 9)"},
    {&kQai8, "[[unit]]\nrotsw = 0\naverage = 0\n", "3: 'average' is out of range (1 to 256)"},
    {&kQai8, "[[unit]]\nrotsw = 0\n[[unit.output]]\nch = 0\ncode = 0\n", "3: unknown key 'output'"},
    {&kQai8, "[[unit]]\nrotsw = 0\n[[unit.input]]\ndc = 1.0\n", "3: 'ch' is missing"},
    {&kQai8, "[[unit]]\nrotsw = 0\n[[unit.input]]\nch = 8\n", "4: 'ch' is out of range (0 to 7)"},
    {&kQai8, "[[unit]]\nrotsw = 0\n[[unit.input]]\nch = 2\n[[unit.input]]\nch = 2\n", "6: input 2 is set twice"},
    {&kQai8, "[[unit]]\nrotsw = 0\n[[unit.input]]\nch = 0\ndc = 20001\n", "5: 'dc' is out of range (-20000 to 20000)"},
    {&kQai8, "[[unit]]\nrotsw = 0\n[[unit.input]]\nch = 0\ndc = \"1V\"\n", "5: 'dc' must be a number"},
    {&kQai8, "[[unit]]\nrotsw = 0\n[[unit.input]]\nch = 0\nnoise = -1\n", "5: 'noise' is out of range (0 to 20000)"},
    {&kQai8, "[[unit]]\nrotsw = 0\n[[unit.input]]\nch = 0\nsine = { amplitude = 100 }\n", "5: 'period_ms' is missing"},
    {&kQai8, "[[unit]]\nrotsw = 0\n[[unit.input]]\nch = 0\nsine = { period_ms = 100 }\n", "5: 'amplitude' is missing"},
    {&kQai8, "[[unit]]\nrotsw = 0\n[[unit.input]]\nch = 0\nsine = { amplitude = 1, period_ms = 0 }\n",
     "5: 'period_ms' is out of range (0.001 to 1e+09)"},
    {&kQai8, "[[unit]]\nrotsw = 0\n[[unit.input]]\nch = 0\nsine = { amplitude = 1, period = 5 }\n",
     "5: unknown key 'period'"},
    {&kQai8, "[[unit]]\nrotsw = 0\n[[unit.fault]]\ncode = -18\n", "3: 'call' is missing"},
    {&kQai8, "[[unit]]\nrotsw = 0\n[[unit.fault]]\ncall = \"Get_AdValue\"\n", "3: 'code' is missing"},
    {&kQai8, "[[unit]]\nrotsw = 0\n[[unit.fault]]\ncall = \"Get_DaValue\"\ncode = -18\n",
     "4: 'Get_DaValue' is not a call of a unit (Get_Firmver, Get_Din, Get_DoutMon, Set_Dout, "
     "Set_AdCode, Set_ScanSpeed, Set_MultiScan, Get_AdValue)"},
    {&kQai8, "[[unit]]\nrotsw = 0\n[[unit.fault]]\ncall = \"OpenDriver\"\ncode = 1\n",
     "4: 'OpenDriver' is not a call of a unit (Get_Firmver, Get_Din, Get_DoutMon, Set_Dout, "
     "Set_AdCode, Set_ScanSpeed, Set_MultiScan, Get_AdValue)"},
    {&kQai8, "[[unit]]\nrotsw = 0\n[[unit.fault]]\ncall = \"Get_Din\"\ncode = -1\nfrom = 0\n",
     "6: 'from' is out of range (1 to 9223372036854775807)"},
    {&kQai8, "[[unit]]\nrotsw = 0\n[[unit.fault]]\ncall = \"Get_Din\"\ncode = 0x80000000\n",
     "5: 'code' is out of range (-2147483648 to 2147483647)"},
    {&kQai8, "[[fault]]\ncall = \"Get_Din\"\ncode = -1\n",
     "2: 'Get_Din' is not a call of the library (OpenDriver, CloseDriver, Get_Libver)"},
    {&kQai8, "[[fault]]\ncall = \"CloseDriver\"\ncode = -16\nwhen = 2\n", "4: unknown key 'when'"},
    {&kQao4, "[[unit]]\nrotsw = 0\nspeed = 1\n", "3: unknown key 'speed'"},
    {&kQao4, "[[unit]]\nrotsw = 0\n[[unit.input]]\nch = 0\n", "3: unknown key 'input'"},
    {&kQao4, "[[unit]]\nrotsw = 0\n[[unit.output]]\nch = 4\ncode = 0\n", "4: 'ch' is out of range (0 to 3)"},
    {&kQao4, "[[unit]]\nrotsw = 0\n[[unit.output]]\nch = 0\n", "3: 'code' is missing"},
    {&kQao4, "[[unit]]\nrotsw = 0\n[[unit.output]]\nch = 0\ncode = 65536\n",
     "5: 'code' is out of range (-32768 to 65535)"},
    {&kQao4, "[[unit]]\nrotsw = 0\n[[unit.output]]\nch = 1\ncode = 1\n[[unit.output]]\nch = 1\ncode = 2\n",
     "7: output 1 is set twice"},
    {&kQao4, "[[unit]]\nrotsw = 0\n[[unit.fault]]\ncall = \"Get_AdValue\"\ncode = -18\n",
     "4: 'Get_AdValue' is not a call of a unit (Get_Firmver, Get_Din, Get_DoutMon, Set_Dout, "
     "Set_DaCode, Set_DaValue, Get_DaValue)"},
};

TEST_F(UnitFile, EveryBadFileFailsTheOpenWithOneLineNamingFileLineAndProblem) {
  int n = 0;
  for (const BadFile& bad : kBadFiles) {
    const std::string path = Write("bad" + std::to_string(n++) + ".toml", bad.text);
    setenv(bad.lib->env, path.c_str(), 1);
    testing::internal::CaptureStderr();
    const int32_t ret = bad.lib->open();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(ret, -60) << bad.text;
    EXPECT_EQ(err, std::string(bad.lib->name) + ": " + path + ":" + bad.problem + "\n") << bad.text;
    EXPECT_EQ(bad.lib->din(0), -24) << "library left open by: " << bad.text;
    unsetenv(bad.lib->env);
  }
}

// A named pipe, a device or a directory is refused at once, without reading
// from it (a pipe with no writer would block, a directory is no empty bus).
TEST_F(UnitFile, FileThatIsNoTomlOrNoRegularFileFailsTheOpenWithOneLine) {
  const std::string broken = Write("broken.toml", "[[unit]]\nrotsw = = 0\n");
  // The reader quotes what it saw, a line end included: still one line.
  const std::string cut = Write("cut.toml", "[clock]\nfrozen = t\n");
  const std::string missing = ::testing::TempDir() + "no-such-units.toml";
  const std::string fifo = Write("units.fifo", "");
  ASSERT_EQ(std::remove(fifo.c_str()), 0);
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string dir = ::testing::TempDir();
  auto unreadable = [](const std::string& path, const char* reason) {
    return "qai8_2k: " + path + ": cannot read the unit file (" + reason + ")\n";
  };
  const struct {
    std::string path;
    std::string starts;  // the TOML reader's own problem text follows
  } cases[] = {
      {broken, "qai8_2k: " + broken + ":2: "},
      {cut, "qai8_2k: " + cut + ":2: "},
      {missing, unreadable(missing, "No such file or directory")},
      {dir, unreadable(dir, "Is a directory")},
      {fifo, unreadable(fifo, "Not a regular file")},
      {"/dev/zero", unreadable("/dev/zero", "Not a regular file")},
  };
  for (const auto& c : cases) {
    UseQai8(c.path);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Qai8_OpenDriver(), -60) << c.path;
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind(c.starts, 0), 0u) << err;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << "not one line: " << err;
    EXPECT_EQ(Qai8_Get_Din(0), -24);
  }
}

TEST_F(UnitFile, GoodFileSetsUpItsUnitsAndNothingElse) {
  UseQai8(Fixture("qai8_service.toml"));
  testing::internal::CaptureStderr();
  ASSERT_EQ(Qai8_OpenDriver(), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  char text[50] = {};
  ASSERT_EQ(Qai8_Get_Libver(text, 50), 0);
  EXPECT_STREQ(text, "QAI8 sim 2.10");
  const struct {
    int32_t rotsw;
    int32_t din, dout;     // or the failure code of both
    const char* firmware;  // nullptr: refused like din
  } units[] = {
      {0, 1, 0, "1.02"},       {3, 0, 1, "2.00b"},
      {1, -21, -21, nullptr},   // no such unit: unit 0 of the default is gone
      {9, -22, -22, nullptr},   // two units share the number
      {16, -21, -21, nullptr},  // no rotary switch has it
      {-1, -21, -21, nullptr},
  };
  for (const auto& u : units) {
    EXPECT_EQ(Qai8_Get_Din(u.rotsw), u.din) << "unit " << u.rotsw;
    EXPECT_EQ(Qai8_Get_DoutMon(u.rotsw), u.dout) << "unit " << u.rotsw;
    std::memset(text, 'x', sizeof text);
    if (u.firmware != nullptr) {
      EXPECT_EQ(Qai8_Get_Firmver(u.rotsw, text, 50), 0) << "unit " << u.rotsw;
      EXPECT_STREQ(text, u.firmware) << "unit " << u.rotsw;
    } else {
      EXPECT_EQ(Qai8_Get_Firmver(u.rotsw, text, 50), u.din) << "unit " << u.rotsw;
      EXPECT_EQ(text[0], 'x') << "unit " << u.rotsw;
    }
  }
}

TEST_F(UnitFile, DocumentedExamplesOpen) {
  UseQai8(Fixture("example_qai8.toml"));
  UseQao4(Fixture("example_qao4.toml"));
  testing::internal::CaptureStderr();
  EXPECT_EQ(Qai8_OpenDriver(), 0);
  EXPECT_EQ(Qao4_OpenDriver(), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  int16_t codes[4] = {};
  EXPECT_EQ(Qai8_Get_AdValue(5, 1, codes), 0);
  EXPECT_EQ(static_cast<uint16_t>(codes[0]), 0x8000);
  EXPECT_EQ(Qao4_Get_DaValue(1, 4, codes), 0);
  EXPECT_EQ(codes[0], 0x4000);
  EXPECT_EQ(codes[3], -1);
  EXPECT_EQ(Qao4_Set_DaValue(2, 4, codes), -51);
}

TEST_F(UnitFile, FileWithoutUnitsIsABusWithNoUnit) {
  UseQao4(Write("empty.toml", "# nothing connected\n"));
  ASSERT_EQ(Qao4_OpenDriver(), 0);
  EXPECT_EQ(Qao4_Get_Din(0), -21);
  char text[50] = {};
  ASSERT_EQ(Qao4_Get_Libver(text, 50), 0);
  EXPECT_STREQ(text, "1.00");
}

TEST_F(UnitFile, OpenAfterCloseRereadsTheFileAndOpenWhileOpenKeepsIt) {
  const std::string a = Write("a.toml", "[library]\nversion = \"A\"\n[[unit]]\nrotsw = 1\n");
  const std::string b = Write("b.toml", "[library]\nversion = \"B\"\n[[unit]]\nrotsw = 2\n");
  char text[50] = {};
  UseQai8(a);
  ASSERT_EQ(Qai8_OpenDriver(), 0);
  ASSERT_EQ(Qai8_Set_Dout(1, 1), 0);
  UseQai8(b);
  EXPECT_EQ(Qai8_OpenDriver(), 0);  // already open: nothing changes
  ASSERT_EQ(Qai8_Get_Libver(text, 50), 0);
  EXPECT_STREQ(text, "A");
  EXPECT_EQ(Qai8_Get_DoutMon(1), 1);

  ASSERT_EQ(Qai8_CloseDriver(), 0);
  ASSERT_EQ(Qai8_OpenDriver(), 0);
  ASSERT_EQ(Qai8_Get_Libver(text, 50), 0);
  EXPECT_STREQ(text, "B");
  EXPECT_EQ(Qai8_Get_Din(1), -21);
  EXPECT_EQ(Qai8_Get_Din(2), 0);

  ASSERT_EQ(Qai8_CloseDriver(), 0);
  UseQai8(a);
  ASSERT_EQ(Qai8_OpenDriver(), 0);
  EXPECT_EQ(Qai8_Get_DoutMon(1), 0) << "a reopen starts from the file again";

  // A bad file after a good one: the open fails and the library stays closed.
  ASSERT_EQ(Qai8_CloseDriver(), 0);
  UseQai8(Write("c.toml", "[[unit]]\nrotsw = 99\n"));
  testing::internal::CaptureStderr();
  EXPECT_EQ(Qai8_OpenDriver(), -60);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(Qai8_Get_Libver(text, 50), -24);
}

TEST_F(UnitFile, NoFileOrAnEmptyVariableGivesUnitZero) {
  for (const char* value : {static_cast<const char*>(nullptr), ""}) {
    if (value != nullptr) {
      setenv("QAI8_UNITS", value, 1);
      setenv("QAO4_UNITS", value, 1);
    }
    ASSERT_EQ(Qai8_OpenDriver(), 0);
    ASSERT_EQ(Qao4_OpenDriver(), 0);
    char text[50] = {};
    ASSERT_EQ(Qai8_Get_Libver(text, 50), 0);
    EXPECT_STREQ(text, "1.00");
    ASSERT_EQ(Qai8_Get_Firmver(0, text, 50), 0);
    EXPECT_STREQ(text, "1.02");
    ASSERT_EQ(Qao4_Get_Firmver(0, text, 50), 0);
    EXPECT_STREQ(text, "1.01");
    EXPECT_EQ(Qai8_Get_Din(0), 1);
    EXPECT_EQ(Qao4_Get_Din(0), 0);
    EXPECT_EQ(Qai8_Get_Din(1), -21);
    EXPECT_EQ(Qao4_Get_Din(1), -21);
    Reset();
  }
}

}  // namespace
