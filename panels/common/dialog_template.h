// A dialog as a table of its controls, in dialog units, the way the dialog
// templates of the unit panels are written. The table order is the tab
// order; push buttons, edit boxes and check boxes are tab stops, radio
// buttons are reached with the arrow keys inside their group.
#pragma once

#include <cstddef>

namespace panels {

enum class Kind {
  GroupBox,
  PushButton,
  Edit,       // single-line, bordered, auto horizontal scroll
  LogEdit,    // multi-line, bordered, both scroll bars
  Static,     // left-aligned text
  Indicator,  // bordered static without text, coloured by its state
  Radio,      // auto radio button
  CheckBox,   // auto check box
};

enum Style : unsigned {
  kNoStyle = 0,
  kGroupStart = 1u << 0,  // first radio button of a group
  kReadOnly = 1u << 1,
};

struct Control {
  int id;  // kNoId for controls no handler touches
  Kind kind;
  const char* text;
  int x, y, w, h;  // dialog units
  unsigned style;
};

constexpr int kNoId = -1;

struct DialogTemplate {
  const char* caption;
  int width, height;  // dialog units
  const char* font_face;
  int point_size;
  const char* about_item;  // the appended system-menu item's text
  const Control* controls;
  std::size_t count;
};

}  // namespace panels
