// The built shared library: it exports the C interface and nothing else, and
// works through it.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include "regio32.h"

namespace {

TEST(SharedLibrary, ExportsTheDriverInterface) {
  void* lib = dlopen(REGIO_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(lib, nullptr) << dlerror();
  for (const char* name :
       {"Open_Driver", "Start_Driver", "Stop_Driver", "Close_Driver", "ReadByte", "WriteByte", "ReadWord", "WriteWord",
        "ReadByteBlock", "ReadWordBlock", "Regio_Clock_ns", "Regio_Tick_ms"}) {
    EXPECT_NE(dlsym(lib, name), nullptr) << name;
  }
  dlclose(lib);
}

TEST(SharedLibrary, LinkedProgramReachesTheBench) {
  unsetenv("REGIO_BENCH");
  unsetenv("REGIO_TRACE");
  int32_t table[REGIO_SLOTS] = {0, 0, 0, 0, 0, 0, 0, 0};
  ASSERT_EQ(Open_Driver(table), 0);
  for (int32_t slot : table) EXPECT_EQ(slot, -1) << "no default bench for this program's name";
  const uint64_t t = Regio_Clock_ns(0);
  EXPECT_EQ(Regio_Clock_ns(10), t + 10);
  EXPECT_EQ(Close_Driver(), 0);
}

}  // namespace
