// The real dialogs on the offscreen platform against the simulated units
// (unit files files/qai_session.toml and files/qao_session.toml): a service
// session through each panel, the frame's keys, help commands, indicators
// and the log box, and PNG pictures of both dialogs.
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include <string>
#include <vector>

#include "panel_window.h"
#include "qai_panel.h"
#include "qao_panel.h"

using namespace panels;

namespace {

QString Box(const PanelWindow& w, int id) { return QString::fromStdString(w.Text(id)); }

void Click(PanelWindow& w, int id) {
    QWidget* control = w.Control(id);
    QVERIFY2(control, qPrintable(QString("no control %1").arg(id)));
    QTest::mouseClick(control, Qt::LeftButton);
}

void Type(PanelWindow& w, int id, const QString& text) {
    auto* edit = qobject_cast<QLineEdit*>(w.Control(id));
    QVERIFY(edit);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

QColor Lamp(const PanelWindow& w, int id) {
    return qobject_cast<QLabel*>(w.Control(id))->palette().color(QPalette::Window);
}

// The box shows one line break for each CR LF of the log.
QString Shown(const std::string& log) { return QString::fromStdString(log).replace("\r\n", "\n"); }

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);

}  // namespace

class PanelsQtTest : public QObject {
    Q_OBJECT
private slots:
    void qaiServiceSession();
    void qaoServiceSession();
    void keysHelpAndMenu();
    void helpWindowWithoutAViewer();
    void typedLogTextIsLost();
    void tabOrderIsTableOrder();
    void timerDrivesContinuousReading();
    void renderBothDialogs();
};

void PanelsQtTest::qaiServiceSession() {
    PanelWindow window(kQaiTemplate);
    std::vector<std::string> opened;
    QaiPanel panel(window, kQai8Library, [&](const std::string& p) { opened.push_back(p); });
    window.Attach(&panel, 200);
    QVERIFY(window.Timer().isActive());
    QCOMPARE(window.Timer().interval(), 200);
    window.Timer().stop();  // ticks are driven by the test
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QCOMPARE(window.windowTitle(), QString("QAI調整用"));
    QCOMPARE(Box(window, 1005), QString("…不明…"));
    QCOMPARE(Box(window, 1024), QString("1"));
    const QColor dialogColour = window.palette().color(QPalette::Window);
    QCOMPARE(Lamp(window, 1014), dialogColour);
    QCOMPARE(Lamp(window, 1017), dialogColour);
    QVERIFY(!qobject_cast<QRadioButton*>(window.Control(1020))->isChecked());
    QVERIFY(!qobject_cast<QRadioButton*>(window.Control(1021))->isChecked());

    Type(window, 1007, "3");
    Click(window, 1002);
    Click(window, 1004);
    QCOMPARE(Box(window, 1005), QString("2.10"));
    Click(window, 1096);
    QCOMPARE(Box(window, 1097), QString("QAI8 FW 1.05"));
    Click(window, 1010);
    QCOMPARE(Lamp(window, 1014), kRed);
    Click(window, 1015);
    QCOMPARE(Lamp(window, 1017), kGreen);
    Click(window, 1012);
    QCOMPARE(Lamp(window, 1017), kGreen);  // only the readback changes it
    Click(window, 1015);
    QCOMPARE(Lamp(window, 1017), kRed);

    Click(window, 1021);
    QVERIFY(qobject_cast<QRadioButton*>(window.Control(1021))->isChecked());
    Click(window, 1075);  // ～CH3
    const char* offsetRows[4][3] = {{"32768", "8000", "0.000000"},
                                    {"0", "0", "-10240.000000"},
                                    {"49152", "C000", "5120.000000"},
                                    {"65535", "FFFF", "10239.687500"}};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(Box(window, qai::kChannelRows[i].decimalBox), QString(offsetRows[i][0]));
        QCOMPARE(Box(window, qai::kChannelRows[i].hexBox), QString(offsetRows[i][1]));
        QCOMPARE(Box(window, qai::kChannelRows[i].millivoltBox), QString(offsetRows[i][2]));
    }
    QCOMPARE(Box(window, 1077), QString(""));  // row 4 not read

    Type(window, 1025, "4x");
    Click(window, 1023);
    Click(window, 1020);
    Click(window, 1095);  // ～CH7
    const char* twosRows[8][3] = {{"0", "0", "0.000000"},           {"-32768", "8000", "-10240.000000"},
                                  {"16384", "4000", "5120.000000"},  {"32767", "7FFF", "10239.687500"},
                                  {"100", "64", "31.250002"},        {"0", "0", "0.000000"},
                                  {"0", "0", "0.000000"},            {"0", "0", "0.000000"}};
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(Box(window, qai::kChannelRows[i].decimalBox), QString(twosRows[i][0]));
        QCOMPARE(Box(window, qai::kChannelRows[i].hexBox), QString(twosRows[i][1]));
        QCOMPARE(Box(window, qai::kChannelRows[i].millivoltBox), QString(twosRows[i][2]));
    }

    // continuous reading through the real check box: a read on the sixth tick
    Click(window, 1006);
    QVERIFY(qobject_cast<QCheckBox*>(window.Control(1006))->isChecked());
    for (int i = 0; i < 5; ++i) panel.Tick();
    const std::size_t blocksBefore = panel.Frame().Log().Blocks();
    panel.Tick();
    QCOMPARE(panel.Frame().Log().Blocks(), blocksBefore + 1);
    Click(window, 1006);

    Click(window, 1003);
    Click(window, 1010);  // library closed: a failure, the lamp keeps its colour
    QCOMPARE(Lamp(window, 1014), kRed);

    const std::string expected =
        "ＤＬＬオープン・・・\r\n　関数呼び出し：ret = Qai8_OpenDriver()\r\n　オープン成功\r\n\r\n"
        "ＤＬＬバージョンの読み出し・・・\r\n　関数呼び出し：ret = Qai8_Get_Libver(Dll_Ver, Len(Dll_Ver))\r\n　読み出し成功：2.10\r\n\r\n"
        "ファームバージョン読み出し・・・\r\n　関数呼び出し：ret = Qai8_Get_Firmver(RotSw, F_Ver, Len(F_Ver))\r\n　読み出し成功：QAI8 FW 1.05\r\n\r\n"
        "入力の読み取り・・・\r\n　関数呼び出し：ret = Qai8_Get_Din(RotSw)\r\n　読み取り成功：入力はON\r\n\r\n"
        "出力の読み取り・・・\r\n　関数呼び出し：ret = Qai8_Get_DoutMon(RotSw)\r\n　読み取り成功：出力はOFF\r\n\r\n"
        "出力をONにする・・・\r\n　関数呼び出し：ret = Qai8_Set_Dout(RotSw, 1)\r\n　出力制御成功：ON\r\n\r\n"
        "出力の読み取り・・・\r\n　関数呼び出し：ret = Qai8_Get_DoutMon(RotSw)\r\n　読み取り成功：出力はON\r\n\r\n"
        "コード形式の選択・・・\r\n　関数呼び出し：ret = Qai8_Set_AdCode(RotSw, code)\r\n　選択成功：オフセットバイナリ\r\n\r\n"
        "Ａ／Ｄ読み取り 複数ＣＨ・・・\r\n　関数呼び出し：ret = Qai8_Get_AdValue(RotSw, CH, AdVal[])\r\n　読み取り成功： 32768 0 49152 65535\r\n\r\n"
        "平均数の設定・・・\r\n　関数呼び出し：ret = Qai8_Set_MultiScan(RotSw, AveNum)\r\n　設定成功:4x\r\n\r\n"
        "コード形式の選択・・・\r\n　関数呼び出し：ret = Qai8_Set_AdCode(RotSw, code)\r\n　選択成功：２の補数コード\r\n\r\n"
        "Ａ／Ｄ読み取り 複数ＣＨ・・・\r\n　関数呼び出し：ret = Qai8_Get_AdValue(RotSw, CH, AdVal[])\r\n　読み取り成功： 0 -32768 16384 32767 100 0 0 0\r\n\r\n"
        "Ａ／Ｄ読み取り 複数ＣＨ・・・\r\n　関数呼び出し：ret = Qai8_Get_AdValue(RotSw, CH, AdVal[])\r\n　読み取り成功： 0 -32768 16384 32767 100 0 0 0\r\n\r\n"
        "ＤＬＬクローズ・・・\r\n　関数呼び出し：ret = Qai8_CloseDriver()\r\n　クローズ成功\r\n\r\n"
        "入力の読み取り・・・\r\n　関数呼び出し：ret = Qai8_Get_Din(RotSw)\r\n　読み取り失敗：-24： 本機ハードウェア内部で、デバイスが選択されていない\r\n\r\n";
    QCOMPARE(QString::fromStdString(panel.Frame().Log().Text()), QString::fromStdString(expected));
    auto* log = qobject_cast<QPlainTextEdit*>(window.Control(1009));
    QCOMPARE(log->toPlainText(), Shown(expected));
    // the caret after the newest block, which is in view
    QCOMPARE(log->textCursor().position(), log->document()->characterCount() - 1);
    QVERIFY(log->viewport()->rect().contains(log->cursorRect()));
    QVERIFY(log->verticalScrollBar()->value() > 0);
    QVERIFY(opened.empty());

    window.close();  // the title bar's close button
    QCOMPARE(window.result(), int(QDialog::Rejected));
}

void PanelsQtTest::qaoServiceSession() {
    PanelWindow window(kQaoTemplate);
    QaoPanel panel(window, kQao4Library, [](const std::string&) {});
    window.Attach(&panel, 0);
    QVERIFY(!window.Timer().isActive());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QCOMPARE(window.windowTitle(), QString("QAO調整用"));
    for (int id : {1027, 1062, 1067, 1072, 1026, 1061, 1066, 1071}) QCOMPARE(Box(window, id), QString("0"));
    for (int id : {1026, 1061, 1066, 1071}) QVERIFY(qobject_cast<QLineEdit*>(window.Control(id))->isReadOnly());
    QVERIFY(!qobject_cast<QLineEdit*>(window.Control(1076))->isReadOnly());
    QVERIFY(window.Control(1006) == nullptr);
    QVERIFY(window.Control(1024) == nullptr);

    Type(window, 1007, "2");
    Click(window, 1002);
    Click(window, 1004);
    QCOMPARE(Box(window, 1005), QString("3.00"));
    Click(window, 1096);
    QCOMPARE(Box(window, 1097), QString("QAO4 FW 2.01"));
    Click(window, 1010);
    QCOMPARE(Lamp(window, 1014), kGreen);
    Click(window, 1015);
    QCOMPARE(Lamp(window, 1017), kRed);
    Click(window, 1013);
    Click(window, 1015);
    QCOMPARE(Lamp(window, 1017), kGreen);
    Click(window, 1021);

    Type(window, 1027, "100");
    QCOMPARE(Box(window, 1026), QString("64"));
    Type(window, 1062, "-100");
    QCOMPARE(Box(window, 1061), QString("FF9C"));
    Type(window, 1067, "70000");
    QCOMPARE(Box(window, 1066), QString("1170"));
    Type(window, 1072, "26xyz");
    QCOMPARE(Box(window, 1071), QString("1A"));

    Click(window, 1065);  // write ～CH1
    Click(window, 1090);  // read back ～CH2
    const char* rows[4][2] = {{"100", "64"}, {"-100", "FF9C"}, {"0", "0"}, {"", ""}};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(Box(window, qao::kReadbackRows[i].decimalBox), QString(rows[i][0]));
        QCOMPARE(Box(window, qao::kReadbackRows[i].hexBox), QString(rows[i][1]));
    }
    Click(window, 1075);  // write ～CH3
    Click(window, 1095);  // read back ～CH3
    QCOMPARE(Box(window, 1087), QString("4464"));
    QCOMPARE(Box(window, 1086), QString("1170"));
    QCOMPARE(Box(window, 1092), QString("26"));
    QCOMPARE(Box(window, 1091), QString("1A"));
    Click(window, 1003);

    const std::string expected =
        "ＤＬＬオープン・・・\r\n　関数呼び出し：ret = Qao4_OpenDriver()\r\n　オープン成功\r\n\r\n"
        "ＤＬＬバージョンの読み出し・・・\r\n　関数呼び出し：ret = Qao4_Get_Libver(Dll_Ver, Len(Dll_Ver))\r\n　読み出し成功：3.00\r\n\r\n"
        "ファームバージョン読み出し・・・\r\n　関数呼び出し：ret = Qao4_Get_Firmver(RotSw, F_Ver, Len(F_Ver))\r\n　読み出し成功：QAO4 FW 2.01\r\n\r\n"
        "入力の読み取り・・・\r\n　関数呼び出し：ret = Qao4_Get_Din(RotSw)\r\n　読み取り成功：入力はOFF\r\n\r\n"
        "出力の読み取り・・・\r\n　関数呼び出し：ret = Qao4_Get_DoutMon(RotSw)\r\n　読み取り成功：出力はON\r\n\r\n"
        "出力をOFFにする・・・\r\n　関数呼び出し：ret = Qao4_Set_Dout(RotSw, 0)\r\n　出力制御成功：OFF\r\n\r\n"
        "出力の読み取り・・・\r\n　関数呼び出し：ret = Qao4_Get_DoutMon(RotSw)\r\n　読み取り成功：出力はOFF\r\n\r\n"
        "コード形式の選択・・・\r\n　関数呼び出し：ret = Qao4_Set_DaCode(RotSw, code)\r\n　選択成功：オフセットバイナリ\r\n\r\n"
        "Ｄ／Ａ出力 複数ＣＨ・・・\r\n　関数呼び出し：ret = Qao4_Set_DaValue(RotSw, CH, Da_Val[])\r\n　出力成功： 100  -100 \r\n\r\n"
        "Ｄ／Ａ読み取り 複数ＣＨ・・・\r\n　関数呼び出し：ret = Qao4_Get_DaValue(RotSw, CH, DaVal)\r\n　読み取り成功： 100  -100  0 \r\n\r\n"
        "Ｄ／Ａ出力 複数ＣＨ・・・\r\n　関数呼び出し：ret = Qao4_Set_DaValue(RotSw, CH, Da_Val[])\r\n　出力成功： 100  -100  4464  26 \r\n\r\n"
        "Ｄ／Ａ読み取り 複数ＣＨ・・・\r\n　関数呼び出し：ret = Qao4_Get_DaValue(RotSw, CH, DaVal)\r\n　読み取り成功： 100  -100  4464  26 \r\n\r\n"
        "ＤＬＬクローズ・・・\r\n　関数呼び出し：ret = Qao4_CloseDriver()\r\n　クローズ成功\r\n\r\n";
    QCOMPARE(QString::fromStdString(panel.Frame().Log().Text()), QString::fromStdString(expected));
    QCOMPARE(qobject_cast<QPlainTextEdit*>(window.Control(1009))->toPlainText(), Shown(expected));
}

void PanelsQtTest::keysHelpAndMenu() {
    PanelWindow window(kQaiTemplate);
    std::vector<std::string> opened;
    QaiPanel panel(window, kQai8Library, [&](const std::string& p) { opened.push_back(p); });
    window.Attach(&panel, 0);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(QApplication::focusWidget(), window.Control(1002));
    QCOMPARE(window.Control(1020)->focusPolicy() & Qt::TabFocus, 0);  // radio buttons are not tab stops

    // Enter and Esc: no button pressed, the dialog stays open
    for (int id : {1002, 1007, 1009, 1020}) {
        window.Control(id)->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(window.Control(id), key);
            QVERIFY2(window.isVisible(), qPrintable(QString("key %1 on %2").arg(key).arg(id)));
        }
    }
    QCOMPARE(panel.Frame().Log().Blocks(), std::size_t{0});

    // an arrow key inside the radio group selects the other button and runs
    // its handler
    Click(window, 1020);
    QCOMPARE(panel.Frame().Log().Blocks(), std::size_t{1});
    QTest::keyClick(window.Control(1020), Qt::Key_Down);
    QVERIFY(qobject_cast<QRadioButton*>(window.Control(1021))->isChecked());
    QCOMPARE(panel.Frame().Log().Blocks(), std::size_t{2});
    QVERIFY(panel.Frame().Log().Text().ends_with("　選択失敗：-24： 本機ハードウェア内部で、デバイスが選択されていない\r\n\r\n"));

    QTest::keyClick(&window, Qt::Key_F1);
    QTest::keyClick(&window, Qt::Key_F1, Qt::ShiftModifier);
    QCOMPARE(opened, (std::vector<std::string>{"./QAI8_Func.txt", "./QAI8_ErrorCode.txt"}));

    const QList<QAction*> items = window.ContextMenu()->actions();
    QCOMPARE(items.size(), 4);
    QCOMPARE(items[3]->text(), QString("qai_panel のﾊﾞｰｼﾞｮﾝ情報(&A)..."));
    items[1]->trigger();
    items[0]->trigger();
    items[3]->trigger();  // the about item does nothing
    QCOMPARE(opened, (std::vector<std::string>{"./QAI8_Func.txt", "./QAI8_ErrorCode.txt", "./QAI8_ErrorCode.txt",
                                               "./QAI8_Func.txt"}));
    QCOMPARE(panel.Frame().Log().Blocks(), std::size_t{2});  // help commands log nothing
    QVERIFY(window.isVisible());
}

// F1 on a desktop without a viewer for text files (the opener fails, or
// there is none): the help text shows in the panel's own read-only window,
// one window per file. With a viewer, no window of the panel's own.
void PanelsQtTest::helpWindowWithoutAViewer() {
    PanelWindow window(kQaiTemplate);
    window.show();
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(PANELS_HELP_DIR));
    const QDir help(PANELS_HELP_DIR);
    auto ownWindows = [&] { return window.findChildren<QDialog*>(); };
    auto openersDone = [&] { return window.findChildren<QProcess*>().isEmpty(); };
    constexpr int kOpenerEnds = 600'000;  // ms; only a hang takes long, however busy the machine

    OpenHelp(&window, "./QAI8_Func.txt", "true");
    QTRY_VERIFY_WITH_TIMEOUT(openersDone(), kOpenerEnds);
    QVERIFY(ownWindows().isEmpty());

    for (const char* opener : {"false", "/nonexistent/xdg-open"}) {
        OpenHelp(&window, "./QAI8_Func.txt", opener);
        QTRY_VERIFY_WITH_TIMEOUT(openersDone(), kOpenerEnds);
        QCOMPARE(ownWindows().size(), 1);
    }
    QDialog* shown = ownWindows().front();
    QVERIFY(shown->isVisible());
    QCOMPARE(shown->windowTitle(), QString("QAI8_Func.txt"));
    auto* text = shown->findChild<QPlainTextEdit*>();
    QVERIFY(text && text->isReadOnly());
    QFile file(help.absoluteFilePath("QAI8_Func.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(text->toPlainText(), QString::fromUtf8(file.readAll()));

    OpenHelp(&window, "./QAI8_ErrorCode.txt", "false");
    OpenHelp(&window, "./no-such-help.txt", "false");
    QTRY_VERIFY_WITH_TIMEOUT(openersDone(), kOpenerEnds);
    QCOMPARE(ownWindows().size(), 3);
    const QString missing = help.absoluteFilePath("no-such-help.txt");
    auto* missingWindow = window.findChild<QDialog*>("help:" + missing);
    QVERIFY(missingWindow);
    QCOMPARE(missingWindow->findChild<QPlainTextEdit*>()->toPlainText(), missing + ": No such file or directory");

    QDir::setCurrent(previous);
}

void PanelsQtTest::typedLogTextIsLost() {
    PanelWindow window(kQaiTemplate);
    QaiPanel panel(window, kQai8Library, [](const std::string&) {});
    window.Attach(&panel, 0);
    window.show();
    Click(window, 1004);
    auto* log = qobject_cast<QPlainTextEdit*>(window.Control(1009));
    log->setFocus();
    QTest::keyClicks(log, "memo");
    QVERIFY(log->toPlainText().contains("memo"));
    Click(window, 1004);
    QCOMPARE(log->toPlainText(), Shown(panel.Frame().Log().Text()));
    QVERIFY(!log->toPlainText().contains("memo"));
    QCOMPARE(log->textCursor().position(), log->document()->characterCount() - 1);
}

void PanelsQtTest::tabOrderIsTableOrder() {
    for (const DialogTemplate* tmpl : {&kQaiTemplate, &kQaoTemplate}) {
        PanelWindow window(*tmpl);
        std::vector<QWidget*> expected;
        for (std::size_t i = 0; i < tmpl->count; ++i) {
            const panels::Control& c = tmpl->controls[i];
            const bool tabStop = c.kind == Kind::PushButton || c.kind == Kind::Edit || c.kind == Kind::LogEdit ||
                                 c.kind == Kind::CheckBox;
            if (tabStop) expected.push_back(window.Control(c.id));
        }
        std::vector<QWidget*> chain;
        QWidget* w = expected.front();
        do {
            if (w->focusPolicy() & Qt::TabFocus) chain.push_back(w);
            w = w->nextInFocusChain();
        } while (w != expected.front());
        QCOMPARE(chain.size(), expected.size());
        for (std::size_t i = 0; i < chain.size(); ++i) QVERIFY2(chain[i] == expected[i], tmpl->caption);
        // dialog units → pixels from the font's base units
        const BaseUnits u = window.Units();
        QVERIFY(u.cx > 0 && u.cy > 0);
        QCOMPARE(window.size(), QSize(u.X(tmpl->width), u.Y(tmpl->height)));
        QCOMPARE(window.Control(1002)->geometry(), QRect(u.X(10), u.Y(36), u.X(50), u.Y(14)));
    }
}

// The dialog's own 200 ms timer, with the check box ticked: reads come.
void PanelsQtTest::timerDrivesContinuousReading() {
    PanelWindow window(kQaiTemplate);
    QaiPanel panel(window, kQai8Library, [](const std::string&) {});
    window.Attach(&panel, 200);
    window.show();
    QTest::qWait(300);
    QCOMPARE(panel.Frame().Log().Blocks(), std::size_t{0});  // box clear: ticks only reset the count
    Click(window, 1006);
    QTRY_VERIFY_WITH_TIMEOUT(panel.Frame().Log().Blocks() >= 1, 10000);
    QVERIFY(panel.Frame().Log().Text().starts_with("Ａ／Ｄ読み取り 複数ＣＨ・・・\r\n"));
    Click(window, 1006);
}

void PanelsQtTest::renderBothDialogs() {
    {
        PanelWindow window(kQaiTemplate);
        window.setWindowIcon(PanelIcon("AI"));
        QaiPanel panel(window, kQai8Library, [](const std::string&) {});
        window.Attach(&panel, 0);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        Type(window, 1007, "3");
        for (int id : {1002, 1004, 1096, 1010, 1015, 1095}) Click(window, id);
        QVERIFY(window.grab().save(PANELS_PNG_DIR "/qai_panel.png"));
        Click(window, 1003);
    }
    {
        PanelWindow window(kQaoTemplate);
        window.setWindowIcon(PanelIcon("AO"));
        QaoPanel panel(window, kQao4Library, [](const std::string&) {});
        window.Attach(&panel, 0);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        Type(window, 1007, "2");
        Type(window, 1027, "-1");
        for (int id : {1002, 1004, 1096, 1010, 1015, 1030, 1095}) Click(window, id);
        QVERIFY(window.grab().save(PANELS_PNG_DIR "/qao_panel.png"));
        Click(window, 1003);
    }
}

QTEST_MAIN(PanelsQtTest)
#include "panels_qt_test.moc"
