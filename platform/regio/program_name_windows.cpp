#include <windows.h>

#include <cctype>

#include "program_name.h"

namespace regio {

// Windows names files without regard to case: VX424CHK.EXE is vx424chk.
std::string program_name() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string name(path, n < sizeof path ? n : 0);
  name.erase(0, name.find_last_of("\\/") + 1);
  if (const size_t dot = name.rfind('.'); dot != std::string::npos) name.erase(dot);
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

}  // namespace regio
