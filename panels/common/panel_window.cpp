#include "panel_window.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTextCursor>
#include <QVBoxLayout>

namespace panels {
namespace {

QString from_utf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The log holds CR LF line ends; the box shows one line break for each.
QString log_lines(std::string_view text) {
  QString lines = from_utf8(text);
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return lines;
}

// Indicator colours: OFF green, ON red, not read yet the dialog's own.
void paint_indicator(QLabel* lamp, int32_t state, const QPalette& dialog) {
  QPalette palette = dialog;
  if (state == kOff) palette.setColor(QPalette::Window, QColor(0, 255, 0));
  if (state == kOn) palette.setColor(QPalette::Window, QColor(255, 0, 0));
  lamp->setPalette(palette);
}

// Context-menu and shortcut texts of the two help commands.
constexpr const char* kFuncHelpItem = "関数の説明(&F)\tF1";
constexpr const char* kErrorHelpItem = "エラーコードの説明(&E)\tShift+F1";

}  // namespace

QFont dialog_font(const DialogTemplate& tmpl) {
  const QString face = QString::fromUtf8(tmpl.font_face);
  QFont::insertSubstitution(face, QStringLiteral("IPAPGothic"));
  QFont font(face);
  font.setPointSize(tmpl.point_size);
  return font;
}

BaseUnits dialog_base_units(const QFont& font) {
  const QFontMetrics metrics(font);
  const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return BaseUnits{(letters / 26 + 1) / 2, metrics.height()};
}

// The opener runs on its own; the panel waits for nothing and only hears
// how it ended. Its messages are not passed on: a failure shows the window.
void open_help(QWidget* panel, const std::string& path, const QString& opener) {
  const QString file = QFileInfo(QString::fromStdString(path)).absoluteFilePath();
  auto* process = new QProcess(panel);
  process->setStandardOutputFile(QProcess::nullDevice());
  process->setStandardErrorFile(QProcess::nullDevice());
  QObject::connect(process, &QProcess::finished, panel, [panel, process, file](int code, QProcess::ExitStatus how) {
    if (how != QProcess::NormalExit || code != 0) show_help_text(panel, file);
    process->deleteLater();
  });
  QObject::connect(process, &QProcess::errorOccurred, panel, [panel, process, file](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart) return;  // the others end in finished
    show_help_text(panel, file);
    process->deleteLater();
  });
  process->start(opener, {file});
}

QWidget* show_help_text(QWidget* panel, const QString& path) {
  const QString name = QStringLiteral("help:") + path;
  auto* window = panel->findChild<QDialog*>(name, Qt::FindDirectChildrenOnly);
  if (!window) {
    window = new QDialog(panel, Qt::Window);
    window->setObjectName(name);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QFileInfo(path).fileName());
    auto* text = new QPlainTextEdit(window);
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
      text->setPlainText(QString::fromUtf8(file.readAll()));
    } else {
      text->setPlainText(path + QStringLiteral(": ") + file.errorString());
    }
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text);
    window->resize(640, 480);
  }
  window->show();
  window->raise();
  window->activateWindow();
  return window;
}

QIcon panel_icon(const QString& letters) {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(QColor(0, 90, 160));
  painter.setPen(Qt::NoPen);
  painter.drawRoundedRect(QRectF(1, 1, 30, 30), 5, 5);
  painter.setPen(Qt::white);
  QFont font(QStringLiteral("IPAPGothic"));
  font.setPixelSize(14);
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(pixmap.rect(), Qt::AlignCenter, letters);
  painter.end();
  return QIcon(pixmap);
}

PanelWindow::PanelWindow(const DialogTemplate& tmpl, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      tmpl_(tmpl) {
  setWindowTitle(QString::fromUtf8(tmpl.caption));
  setFont(dialog_font(tmpl));
  units_ = dialog_base_units(font());
  setFixedSize(units_.x(tmpl.width), units_.y(tmpl.height));
  installEventFilter(this);
  build();
  build_context_menu();

  auto* func_help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(func_help, &QShortcut::activated, this, [this] {
    if (handlers_) handlers_->command(ctl::kFuncHelp);
  });
  auto* error_help = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1), this);
  connect(error_help, &QShortcut::activated, this, [this] {
    if (handlers_) handlers_->command(ctl::kErrorHelp);
  });
}

void PanelWindow::build() {
  QWidget* previous_tab_stop = nullptr;
  for (std::size_t i = 0; i < tmpl_.count; ++i) {
    const panels::Control& c = tmpl_.controls[i];
    const QString text = QString::fromUtf8(c.text);
    QWidget* widget = nullptr;
    bool tab_stop = false;
    switch (c.kind) {
      case Kind::GroupBox: {
        auto* box = new QGroupBox(text, this);
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        widget = box;
        break;
      }
      case Kind::PushButton: {
        auto* button = new QPushButton(text, this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, id = c.id] {
          if (handlers_) handlers_->command(id);
        });
        widget = button;
        tab_stop = true;
        break;
      }
      case Kind::Edit: {
        auto* edit = new QLineEdit(this);
        edit->setReadOnly((c.style & kReadOnly) != 0);
        connect(edit, &QLineEdit::textChanged, this, [this, id = c.id] {
          if (handlers_) handlers_->edit_changed(id);
        });
        widget = edit;
        tab_stop = true;
        break;
      }
      case Kind::LogEdit: {
        auto* log = new QPlainTextEdit(this);
        log->setLineWrapMode(QPlainTextEdit::NoWrap);
        log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        log->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        log->setUndoRedoEnabled(false);  // the log would otherwise be kept twice, for ever
        log->setTabChangesFocus(true);
        connect(log, &QPlainTextEdit::textChanged, this, [this] {
          if (!writing_log_) log_edited_ = true;
        });
        widget = log;
        tab_stop = true;
        break;
      }
      case Kind::Static: {
        auto* label = new QLabel(text, this);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        widget = label;
        break;
      }
      case Kind::Indicator: {
        auto* lamp = new QLabel(this);
        lamp->setFrameShape(QFrame::Box);
        lamp->setLineWidth(1);
        lamp->setAutoFillBackground(true);
        widget = lamp;
        break;
      }
      case Kind::Radio: {
        auto* radio = new QRadioButton(text, this);
        radio->setFocusPolicy(Qt::ClickFocus);  // not a tab stop; arrows move within the group
        connect(radio, &QRadioButton::clicked, this, [this, id = c.id] {
          if (handlers_) handlers_->command(id);
        });
        widget = radio;
        break;
      }
      case Kind::CheckBox:
        widget = new QCheckBox(text, this);
        tab_stop = true;
        break;
    }
    widget->setGeometry(units_.x(c.x), units_.y(c.y), units_.x(c.w), units_.y(c.h));
    widget->installEventFilter(this);
    if (tab_stop) {
      widget->setFocusPolicy(Qt::StrongFocus);
      if (previous_tab_stop) setTabOrder(previous_tab_stop, widget);
      previous_tab_stop = widget;
    } else if (c.kind != Kind::Radio) {
      widget->setFocusPolicy(Qt::NoFocus);
    }
    if (c.kind == Kind::GroupBox) widget->lower();  // a frame behind its controls
    if (c.id != kNoId) controls_[c.id] = widget;
  }
}

void PanelWindow::attach(PanelHandlers* handlers, int timer_ms) {
  handlers_ = handlers;
  handlers_->start();
  repaint_indicators();
  if (timer_ms > 0) {
    connect(&timer_, &QTimer::timeout, this, [this] { handlers_->tick(); });
    timer_.start(timer_ms);
  }
  if (QWidget* first = control(ctl::kOpen)) first->setFocus();
}

QWidget* PanelWindow::control(int id) const {
  const auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

QPlainTextEdit* PanelWindow::log_box(int id) const { return qobject_cast<QPlainTextEdit*>(control(id)); }

std::string PanelWindow::text(int id) const {
  QWidget* widget = control(id);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text().toStdString();
  if (auto* log = qobject_cast<QPlainTextEdit*>(widget)) return log->toPlainText().toStdString();
  return {};
}

// Setting the same text again still reports a change, so a decimal box's
// hexadecimal box always follows.
void PanelWindow::set_text(int id, std::string_view text) {
  QWidget* widget = control(id);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    const QString value = from_utf8(text);
    if (edit->text() == value) {
      if (handlers_) handlers_->edit_changed(id);
    } else {
      edit->setText(value);
    }
    edit->setCursorPosition(0);
  } else if (auto* log = qobject_cast<QPlainTextEdit*>(widget)) {
    writing_log_ = true;
    log->setPlainText(log_lines(text));
    writing_log_ = false;
    log_edited_ = false;
  }
}

bool PanelWindow::is_checked(int id) const {
  auto* button = qobject_cast<QAbstractButton*>(control(id));
  return button && button->isChecked();
}

void PanelWindow::repaint_indicators() {
  for (int id : {ctl::kInputLamp, ctl::kOutputLamp}) {
    if (auto* lamp = qobject_cast<QLabel*>(control(id))) {
      paint_indicator(lamp, handlers_ ? handlers_->indicator_state(id) : kNotRead, palette());
    }
  }
  update();
}

void PanelWindow::append_text(int id, std::string_view text) {
  QPlainTextEdit* log = log_box(id);
  if (!log) return;
  writing_log_ = true;
  QTextCursor cursor(log->document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(log_lines(text));
  writing_log_ = false;
}

void PanelWindow::remove_leading_lines(int id, long lines) {
  QPlainTextEdit* log = log_box(id);
  if (!log) return;
  writing_log_ = true;
  QTextCursor cursor(log->document());
  cursor.movePosition(QTextCursor::Start);
  cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, static_cast<int>(lines));
  cursor.removeSelectedText();
  writing_log_ = false;
}

bool PanelWindow::edited_by_user(int id) const {
  if (log_box(id)) return log_edited_;
  auto* edit = qobject_cast<QLineEdit*>(control(id));
  return edit && edit->isModified();
}

void PanelWindow::select_end(int id) {
  QPlainTextEdit* log = log_box(id);
  if (!log) return;
  QTextCursor cursor = log->textCursor();
  cursor.movePosition(QTextCursor::End);
  log->setTextCursor(cursor);
  log->ensureCursorVisible();
}

// Enter and Esc neither close the dialog nor press a button, wherever the
// focus is.
bool PanelWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) return true;
  }
  return QDialog::eventFilter(watched, event);
}

// The help commands and the about item, which the original offers in the
// window's system menu: the about item does nothing.
void PanelWindow::build_context_menu() {
  context_menu_ = new QMenu(this);
  QAction* func_help = context_menu_->addAction(QString::fromUtf8(kFuncHelpItem));
  connect(func_help, &QAction::triggered, this, [this] {
    if (handlers_) handlers_->command(ctl::kFuncHelp);
  });
  QAction* error_help = context_menu_->addAction(QString::fromUtf8(kErrorHelpItem));
  connect(error_help, &QAction::triggered, this, [this] {
    if (handlers_) handlers_->command(ctl::kErrorHelp);
  });
  if (tmpl_.about_item && *tmpl_.about_item) {
    context_menu_->addSeparator();
    context_menu_->addAction(QString::fromUtf8(tmpl_.about_item));
  }
}

void PanelWindow::contextMenuEvent(QContextMenuEvent* event) { context_menu_->exec(event->globalPos()); }

}  // namespace panels
