// The handlers' view of the dialog: controls by id, nothing of the widgets.
// Texts are UTF-8. The Qt dialog binds these calls to its widgets; the
// handler tests bind them to a table of strings.
#pragma once

#include <string>
#include <string_view>

namespace panels {

class DialogPort {
 public:
  virtual ~DialogPort() = default;

  virtual std::string text(int id) const = 0;
  // Setting an edit box's text reports the change to the panel
  // (edit_changed) before it returns, even when the text stays the same.
  virtual void set_text(int id, std::string_view text) = 0;
  virtual bool is_checked(int id) const = 0;
  // Invalidate the whole dialog so the indicators repaint in their states.
  virtual void repaint_indicators() = 0;

  // The message log box. Appending costs the size of the new text only.
  virtual void append_text(int id, std::string_view text) = 0;
  // Drop the first `lines` line breaks' worth of text (whole lines).
  virtual void remove_leading_lines(int id, long lines) = 0;
  // True when the user changed the box since the program last wrote it.
  virtual bool edited_by_user(int id) const = 0;
  // Caret after the last character (selection start = end = length),
  // scrolled into view.
  virtual void select_end(int id) = 0;
};

}  // namespace panels
