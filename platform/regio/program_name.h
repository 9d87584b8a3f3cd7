// The name of the program that loaded the bench, which picks its default
// bench: the file name without folder (and, on Windows, without ".exe").
#pragma once

#include <string>

namespace regio {

std::string program_name();

}  // namespace regio
