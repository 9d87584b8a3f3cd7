// A dialog made of strings, for the handler tests and the log benchmark.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>

#include "dialog_port.h"
#include "unit_panel.h"

namespace panels::testing {

class FakePort : public DialogPort {
 public:
  std::map<int, std::string> texts;
  std::set<int> checked;
  std::set<int> user_edited;       // boxes the user typed into
  PanelHandlers* panel = nullptr;  // told of every edit box change
  int repaints = 0;
  int select_ends = 0;
  int full_rewrites = 0;

  std::string text(int id) const override {
    const auto it = texts.find(id);
    return it == texts.end() ? std::string() : it->second;
  }
  void set_text(int id, std::string_view text) override {
    texts[id] = std::string(text);
    user_edited.erase(id);
    if (id == ctl::kLog) ++full_rewrites;
    if (panel) panel->edit_changed(id);
  }
  // The user typing into a box.
  void type(int id, std::string_view text) {
    texts[id] = std::string(text);
    user_edited.insert(id);
    if (panel) panel->edit_changed(id);
  }
  bool is_checked(int id) const override { return checked.count(id) != 0; }
  void repaint_indicators() override { ++repaints; }
  void append_text(int id, std::string_view text) override { texts[id] += text; }
  void remove_leading_lines(int id, long lines) override {
    std::string& t = texts[id];
    std::size_t at = 0;
    for (long i = 0; i < lines && at != std::string::npos; ++i) {
      at = t.find('\n', at);
      if (at != std::string::npos) ++at;
    }
    t.erase(0, at == std::string::npos ? t.size() : at);
  }
  bool edited_by_user(int id) const override { return user_edited.count(id) != 0; }
  void select_end(int id) override {
    (void)id;
    ++select_ends;
  }
};

}  // namespace panels::testing
