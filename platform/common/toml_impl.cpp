// The TOML reader compiled into the fuzz build, so that libFuzzer sees its
// branches too; the ordinary builds link Debian's shared library instead.
// The reader is built as Debian builds it, without its own internal asserts:
// one of them fails on "[[" followed by a control character, where the
// reader goes on to report a plain parse error. (Its header code that our
// calls reach keeps its asserts.)
#define TOML_ASSERT(expr) static_assert(true)
#define TOML_IMPLEMENTATION
#include <toml++/toml.h>
