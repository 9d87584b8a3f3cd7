// Whether a panel can show its dialog, checked before QApplication exists:
// Qt's desktop platforms abort the program when they find no display.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace panels {

// What is missing, or empty when the panel can start. `platform` is Qt's
// platform choice (the -platform argument or QT_QPA_PLATFORM; empty: the
// default, X11 or Wayland); platforms other than X11 and Wayland (offscreen,
// for one) need no display. `x_connects` tries to connect to an X display.
std::string missing_display(std::string_view platform, std::string_view display, std::string_view wayland_display,
                            const std::function<bool(std::string_view display)>& x_connects);

// For a panel's main: looks at the arguments and the environment and, when
// there is no usable display, prints one line on stderr that says how to
// get one and returns false.
bool display_usable(int argc, char** argv);

}  // namespace panels
