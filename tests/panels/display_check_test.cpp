// A panel without a display says so in one line and ends, instead of
// aborting inside the toolkit; platforms that need no display are left to Qt.
#include <gtest/gtest.h>

#include <string>

#include "display_check.h"
#include "run_program.h"

namespace {

struct Case {
  const char* platform;
  const char* display;
  const char* wayland;
  bool x_connects;
  const char* missing;
};

// clang-format off
const Case kCases[] = {
    // platform                      DISPLAY           WAYLAND     X answers  missing
    {"",                              "",               "",          true,  "DISPLAY is not set"},
    {"",                              ":0",             "",          false, "cannot open display ':0'"},
    {"",                              ":0",             "",          true,  ""},
    {"",                              "",               "wayland-0", false, ""},
    {"xcb",                           "",               "wayland-0", true,  "DISPLAY is not set"},
    {"xcb:nograb",                    "localhost:10.0", "",          false, "cannot open display 'localhost:10.0'"},
    {"wayland",                       ":0",             "",          true,  "WAYLAND_DISPLAY is not set"},
    {"wayland-egl",                   "",               "wayland-1", false, ""},
    {"wayland;xcb",                   ":0",             "",          true,  ""},
    {"wayland;xcb",                   "",               "",          true,  "DISPLAY is not set"},
    {"offscreen",                     "",               "",          false, ""},
    {"offscreen:fontengine=freetype", "",               "",          false, ""},
    {"minimal",                       "",               "",          false, ""},
};
// clang-format on

TEST(Display, MissingDisplayByPlatformAndEnvironment) {
  for (const Case& c : kCases) {
    std::string asked;
    const std::string missing = panels::missing_display(c.platform, c.display, c.wayland, [&](std::string_view d) {
      asked = d;
      return c.x_connects;
    });
    EXPECT_EQ(missing, c.missing) << "platform '" << c.platform << "' DISPLAY '" << c.display << "'";
    if (!asked.empty()) {
      EXPECT_EQ(asked, c.display);
    }
  }
}

TEST(Display, PanelsWithoutADisplayEndWithOneLine) {
  for (const char* panel : {"qai_panel", "qao_panel"}) {
    const auto r = testing_support::run(
        {.program = panel, .trace = false, .env = {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="}});
    EXPECT_EQ(r.err, std::string(panel) +
                         ": needs a desktop or a virtual display (DISPLAY is not set): start it in a desktop "
                         "session, or under a virtual display with xvfb-run -a (Debian package xvfb)\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.status, 1) << panel;
  }
}

}  // namespace
