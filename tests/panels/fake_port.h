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
    std::set<int> editedByUser;
    PanelHandlers* panel = nullptr;  // told of every edit box change
    int repaints = 0;
    int selectEnds = 0;
    int fullRewrites = 0;

    std::string Text(int id) const override {
        const auto it = texts.find(id);
        return it == texts.end() ? std::string() : it->second;
    }
    void SetText(int id, std::string_view text) override {
        texts[id] = std::string(text);
        editedByUser.erase(id);
        if (id == ctl::kLog) ++fullRewrites;
        if (panel) panel->EditChanged(id);
    }
    // The user typing into a box.
    void Type(int id, std::string_view text) {
        texts[id] = std::string(text);
        editedByUser.insert(id);
        if (panel) panel->EditChanged(id);
    }
    bool IsChecked(int id) const override { return checked.count(id) != 0; }
    void Repaint() override { ++repaints; }
    void AppendText(int id, std::string_view text) override { texts[id] += text; }
    void RemoveLeadingLines(int id, long lines) override {
        std::string& t = texts[id];
        std::size_t at = 0;
        for (long i = 0; i < lines && at != std::string::npos; ++i) {
            at = t.find('\n', at);
            if (at != std::string::npos) ++at;
        }
        t.erase(0, at == std::string::npos ? t.size() : at);
    }
    bool EditedByUser(int id) const override { return editedByUser.count(id) != 0; }
    void SelectEnd(int id) override { (void)id; ++selectEnds; }
};

}  // namespace panels::testing
