#include <errno.h>

#include "program_name.h"

namespace regio {

std::string program_name() { return program_invocation_short_name; }

}  // namespace regio
