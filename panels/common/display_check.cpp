#include "display_check.h"

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace panels {
namespace {

bool x_display_connects(std::string_view display) {
  const std::string name(display);
  xcb_connection_t* connection = xcb_connect(name.c_str(), nullptr);
  const bool connected = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return connected;
}

// The platform names of a choice such as "wayland;xcb" or "xcb:nograb".
std::vector<std::string_view> platform_names(std::string_view platform) {
  std::vector<std::string_view> names;
  while (!platform.empty()) {
    const std::size_t end = platform.find(';');
    std::string_view entry = platform.substr(0, end);
    entry = entry.substr(0, entry.find(':'));
    if (!entry.empty()) names.push_back(entry);
    if (end == std::string_view::npos) break;
    platform.remove_prefix(end + 1);
  }
  return names;
}

std::string_view env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

std::string missing_display(std::string_view platform, std::string_view display, std::string_view wayland_display,
                            const std::function<bool(std::string_view display)>& x_connects) {
  std::vector<std::string_view> names = platform_names(platform);
  if (names.empty()) names = {"xcb", "wayland"};
  bool x11 = false;
  for (std::string_view name : names) {
    if (name == "xcb") {
      x11 = true;
      if (!display.empty() && x_connects(display)) return {};
    } else if (name.starts_with("wayland")) {
      if (!wayland_display.empty()) return {};
    } else {
      return {};  // offscreen, minimal, vnc, eglfs, ...: Qt's own business
    }
  }
  if (!x11) return "WAYLAND_DISPLAY is not set";
  if (display.empty()) return "DISPLAY is not set";
  return "cannot open display '" + std::string(display) + "'";
}

bool display_usable(int argc, char** argv) {
  std::string_view platform = env("QT_QPA_PLATFORM");
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) platform = argv[i + 1];
  }
  const std::string missing = missing_display(platform, env("DISPLAY"), env("WAYLAND_DISPLAY"), x_display_connects);
  if (missing.empty()) return true;
  const char* slash = std::strrchr(argv[0], '/');
  std::fprintf(stderr,
               "%s: needs a desktop or a virtual display (%s): start it in a desktop session, or under a "
               "virtual display with xvfb-run -a (Debian package xvfb)\n",
               slash ? slash + 1 : argv[0], missing.c_str());
  return false;
}

}  // namespace panels
