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

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The log holds CR LF line ends; the box shows one line break for each.
QString LogLines(std::string_view text) {
    QString lines = FromUtf8(text);
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return lines;
}

// Indicator colours: OFF green, ON red, not read yet the dialog's own.
void PaintIndicator(QLabel* lamp, int32_t state, const QPalette& dialog) {
    QPalette palette = dialog;
    if (state == kOff) palette.setColor(QPalette::Window, QColor(0, 255, 0));
    if (state == kOn) palette.setColor(QPalette::Window, QColor(255, 0, 0));
    lamp->setPalette(palette);
}

// Context-menu and shortcut texts of the two help commands.
constexpr const char* kFuncHelpItem = "関数の説明(&F)\tF1";
constexpr const char* kErrorHelpItem = "エラーコードの説明(&E)\tShift+F1";

}  // namespace

QFont DialogFont(const DialogTemplate& tmpl) {
    const QString face = QString::fromUtf8(tmpl.fontFace);
    QFont::insertSubstitution(face, QStringLiteral("IPAPGothic"));
    QFont font(face);
    font.setPointSize(tmpl.pointSize);
    return font;
}

BaseUnits DialogBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return BaseUnits{(letters / 26 + 1) / 2, metrics.height()};
}

// The opener runs on its own; the panel waits for nothing and only hears
// how it ended. Its messages are not passed on: a failure shows the window.
void OpenHelp(QWidget* panel, const std::string& path, const QString& opener) {
    const QString file = QFileInfo(QString::fromStdString(path)).absoluteFilePath();
    auto* process = new QProcess(panel);
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, panel, [panel, process, file](int code, QProcess::ExitStatus how) {
        if (how != QProcess::NormalExit || code != 0) ShowHelpText(panel, file);
        process->deleteLater();
    });
    QObject::connect(process, &QProcess::errorOccurred, panel, [panel, process, file](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;  // the others end in finished
        ShowHelpText(panel, file);
        process->deleteLater();
    });
    process->start(opener, {file});
}

QWidget* ShowHelpText(QWidget* panel, const QString& path) {
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

QIcon PanelIcon(const QString& letters) {
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
    setFont(DialogFont(tmpl));
    units_ = DialogBaseUnits(font());
    setFixedSize(units_.X(tmpl.width), units_.Y(tmpl.height));
    installEventFilter(this);
    Build();
    BuildContextMenu();

    auto* funcHelp = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(funcHelp, &QShortcut::activated, this, [this] { if (handlers_) handlers_->Command(ctl::kFuncHelp); });
    auto* errorHelp = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1), this);
    connect(errorHelp, &QShortcut::activated, this, [this] { if (handlers_) handlers_->Command(ctl::kErrorHelp); });
}

void PanelWindow::Build() {
    QWidget* previousTabStop = nullptr;
    for (std::size_t i = 0; i < tmpl_.count; ++i) {
        const panels::Control& c = tmpl_.controls[i];
        const QString text = QString::fromUtf8(c.text);
        QWidget* widget = nullptr;
        bool tabStop = false;
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
            connect(button, &QPushButton::clicked, this, [this, id = c.id] { if (handlers_) handlers_->Command(id); });
            widget = button;
            tabStop = true;
            break;
        }
        case Kind::Edit: {
            auto* edit = new QLineEdit(this);
            edit->setReadOnly((c.style & kReadOnly) != 0);
            connect(edit, &QLineEdit::textChanged, this, [this, id = c.id] { if (handlers_) handlers_->EditChanged(id); });
            widget = edit;
            tabStop = true;
            break;
        }
        case Kind::LogEdit: {
            auto* log = new QPlainTextEdit(this);
            log->setLineWrapMode(QPlainTextEdit::NoWrap);
            log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            log->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            log->setUndoRedoEnabled(false);  // the log would otherwise be kept twice, for ever
            log->setTabChangesFocus(true);
            connect(log, &QPlainTextEdit::textChanged, this, [this] { if (!writingLog_) logEdited_ = true; });
            widget = log;
            tabStop = true;
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
            connect(radio, &QRadioButton::clicked, this, [this, id = c.id] { if (handlers_) handlers_->Command(id); });
            widget = radio;
            break;
        }
        case Kind::CheckBox:
            widget = new QCheckBox(text, this);
            tabStop = true;
            break;
        }
        widget->setGeometry(units_.X(c.x), units_.Y(c.y), units_.X(c.w), units_.Y(c.h));
        widget->installEventFilter(this);
        if (tabStop) {
            widget->setFocusPolicy(Qt::StrongFocus);
            if (previousTabStop) setTabOrder(previousTabStop, widget);
            previousTabStop = widget;
        } else if (c.kind != Kind::Radio) {
            widget->setFocusPolicy(Qt::NoFocus);
        }
        if (c.kind == Kind::GroupBox) widget->lower();  // a frame behind its controls
        if (c.id != kNoId) controls_[c.id] = widget;
    }
}

void PanelWindow::Attach(PanelHandlers* handlers, int timerMs) {
    handlers_ = handlers;
    handlers_->Start();
    Repaint();
    if (timerMs > 0) {
        connect(&timer_, &QTimer::timeout, this, [this] { handlers_->Tick(); });
        timer_.start(timerMs);
    }
    if (QWidget* first = Control(ctl::kOpen)) first->setFocus();
}

QWidget* PanelWindow::Control(int id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

QPlainTextEdit* PanelWindow::Log(int id) const { return qobject_cast<QPlainTextEdit*>(Control(id)); }

std::string PanelWindow::Text(int id) const {
    QWidget* widget = Control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text().toStdString();
    if (auto* log = qobject_cast<QPlainTextEdit*>(widget)) return log->toPlainText().toStdString();
    return {};
}

// Setting the same text again still reports a change, so a decimal box's
// hexadecimal box always follows.
void PanelWindow::SetText(int id, std::string_view text) {
    QWidget* widget = Control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        const QString value = FromUtf8(text);
        if (edit->text() == value) {
            if (handlers_) handlers_->EditChanged(id);
        } else {
            edit->setText(value);
        }
        edit->setCursorPosition(0);
    } else if (auto* log = qobject_cast<QPlainTextEdit*>(widget)) {
        writingLog_ = true;
        log->setPlainText(LogLines(text));
        writingLog_ = false;
        logEdited_ = false;
    }
}

bool PanelWindow::IsChecked(int id) const {
    auto* button = qobject_cast<QAbstractButton*>(Control(id));
    return button && button->isChecked();
}

void PanelWindow::Repaint() {
    for (int id : {ctl::kInputLamp, ctl::kOutputLamp}) {
        if (auto* lamp = qobject_cast<QLabel*>(Control(id))) {
            PaintIndicator(lamp, handlers_ ? handlers_->IndicatorState(id) : kNotRead, palette());
        }
    }
    update();
}

void PanelWindow::AppendText(int id, std::string_view text) {
    QPlainTextEdit* log = Log(id);
    if (!log) return;
    writingLog_ = true;
    QTextCursor cursor(log->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(LogLines(text));
    writingLog_ = false;
}

void PanelWindow::RemoveLeadingLines(int id, long lines) {
    QPlainTextEdit* log = Log(id);
    if (!log) return;
    writingLog_ = true;
    QTextCursor cursor(log->document());
    cursor.movePosition(QTextCursor::Start);
    cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, static_cast<int>(lines));
    cursor.removeSelectedText();
    writingLog_ = false;
}

bool PanelWindow::EditedByUser(int id) const {
    if (Log(id)) return logEdited_;
    auto* edit = qobject_cast<QLineEdit*>(Control(id));
    return edit && edit->isModified();
}

void PanelWindow::SelectEnd(int id) {
    QPlainTextEdit* log = Log(id);
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
void PanelWindow::BuildContextMenu() {
    contextMenu_ = new QMenu(this);
    QAction* funcHelp = contextMenu_->addAction(QString::fromUtf8(kFuncHelpItem));
    connect(funcHelp, &QAction::triggered, this, [this] { if (handlers_) handlers_->Command(ctl::kFuncHelp); });
    QAction* errorHelp = contextMenu_->addAction(QString::fromUtf8(kErrorHelpItem));
    connect(errorHelp, &QAction::triggered, this, [this] { if (handlers_) handlers_->Command(ctl::kErrorHelp); });
    if (tmpl_.aboutItem && *tmpl_.aboutItem) {
        contextMenu_->addSeparator();
        contextMenu_->addAction(QString::fromUtf8(tmpl_.aboutItem));
    }
}

void PanelWindow::contextMenuEvent(QContextMenuEvent* event) { contextMenu_->exec(event->globalPos()); }

}  // namespace panels
