// The unit panel's dialog in Qt Widgets: built from its template, bound to
// the handlers through DialogPort. Everything the handlers decide stays in
// them; this layer only creates widgets, forwards clicks and edits, and
// reads and writes widget texts.
#pragma once

#include <QDialog>
#include <QFont>
#include <QIcon>
#include <QString>
#include <QTimer>

#include <map>
#include <string>

#include "dialog_port.h"
#include "dialog_template.h"
#include "unit_panel.h"

class QMenu;
class QPlainTextEdit;

namespace panels {

// Dialog base units of a font, as the original platform derives them:
// average width of the 52 Latin letters, rounded, and the font's height.
struct BaseUnits {
    int cx, cy;
    int X(int dlu) const { return (dlu * cx + 2) / 4; }
    int Y(int dlu) const { return (dlu * cy + 4) / 8; }
};
QFont DialogFont(const DialogTemplate& tmpl);  // "ＭＳ Ｐゴシック" falls back to IPAPGothic
BaseUnits DialogBaseUnits(const QFont& font);

// Opens a help file, given relative to the current directory, with the
// desktop's viewer for text files (`opener`, xdg-open). Where that fails (no
// viewer, no desktop tools) the text shows in the panel's own help window.
void OpenHelp(QWidget* panel, const std::string& path, const QString& opener = QStringLiteral("xdg-open"));

// The panel's read-only window with a text file, one per file: shown, or
// raised when it is already open.
QWidget* ShowHelpText(QWidget* panel, const QString& path);

// The application icon: the unit's letters on a plate.
QIcon PanelIcon(const QString& letters);

class PanelWindow : public QDialog, public DialogPort {
    Q_OBJECT
public:
    explicit PanelWindow(const DialogTemplate& tmpl, QWidget* parent = nullptr);

    // Binds the handlers, runs their dialog start and puts the focus on the
    // first tab stop. With timerMs > 0 the timer ticks the handlers.
    void Attach(PanelHandlers* handlers, int timerMs);

    QWidget* Control(int id) const;
    QTimer& Timer() { return timer_; }
    QMenu* ContextMenu() const { return contextMenu_; }
    const BaseUnits& Units() const { return units_; }

    // DialogPort
    std::string Text(int id) const override;
    void SetText(int id, std::string_view text) override;
    bool IsChecked(int id) const override;
    void Repaint() override;
    void AppendText(int id, std::string_view text) override;
    void RemoveLeadingLines(int id, long lines) override;
    bool EditedByUser(int id) const override;
    void SelectEnd(int id) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void Build();
    void BuildContextMenu();
    QPlainTextEdit* Log(int id) const;

    const DialogTemplate& tmpl_;
    BaseUnits units_{};
    PanelHandlers* handlers_ = nullptr;
    std::map<int, QWidget*> controls_;
    QTimer timer_;
    QMenu* contextMenu_ = nullptr;
    bool writingLog_ = false;  // our own change to the log box, not the user's
    bool logEdited_ = false;
};

}  // namespace panels
