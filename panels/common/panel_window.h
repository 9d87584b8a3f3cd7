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
  int x(int dlu) const { return (dlu * cx + 2) / 4; }
  int y(int dlu) const { return (dlu * cy + 4) / 8; }
};
QFont dialog_font(const DialogTemplate& tmpl);  // "ＭＳ Ｐゴシック" falls back to IPAPGothic
BaseUnits dialog_base_units(const QFont& font);

// Opens a help file, given relative to the current directory, with the
// desktop's viewer for text files (`opener`, xdg-open). Where that fails (no
// viewer, no desktop tools) the text shows in the panel's own help window.
void open_help(QWidget* panel, const std::string& path, const QString& opener = QStringLiteral("xdg-open"));

// The panel's read-only window with a text file, one per file: shown, or
// raised when it is already open.
QWidget* show_help_text(QWidget* panel, const QString& path);

// The application icon: the unit's letters on a plate.
QIcon panel_icon(const QString& letters);

class PanelWindow : public QDialog, public DialogPort {
  Q_OBJECT
 public:
  explicit PanelWindow(const DialogTemplate& tmpl, QWidget* parent = nullptr);

  // Binds the handlers, runs their dialog start and puts the focus on the
  // first tab stop. With timer_ms > 0 the timer ticks the handlers.
  void attach(PanelHandlers* handlers, int timer_ms);

  QWidget* control(int id) const;
  QTimer& timer() { return timer_; }
  QMenu* context_menu() const { return context_menu_; }
  const BaseUnits& units() const { return units_; }

  // DialogPort
  std::string text(int id) const override;
  void set_text(int id, std::string_view text) override;
  bool is_checked(int id) const override;
  void repaint_indicators() override;
  void append_text(int id, std::string_view text) override;
  void remove_leading_lines(int id, long lines) override;
  bool edited_by_user(int id) const override;
  void select_end(int id) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void build();
  void build_context_menu();
  QPlainTextEdit* log_box(int id) const;

  const DialogTemplate& tmpl_;
  BaseUnits units_{};
  PanelHandlers* handlers_ = nullptr;
  std::map<int, QWidget*> controls_;
  QTimer timer_;
  QMenu* context_menu_ = nullptr;
  bool writing_log_ = false;  // our own change to the log box, not the user's
  bool log_edited_ = false;
};

}  // namespace panels
