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

QString box(const PanelWindow& w, int id) { return QString::fromStdString(w.text(id)); }

void click(PanelWindow& w, int id) {
  QWidget* control = w.control(id);
  QVERIFY2(control, qPrintable(QString("no control %1").arg(id)));
  QTest::mouseClick(control, Qt::LeftButton);
}

void type(PanelWindow& w, int id, const QString& text) {
  auto* edit = qobject_cast<QLineEdit*>(w.control(id));
  QVERIFY(edit);
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, text);
}

QColor lamp(const PanelWindow& w, int id) {
  return qobject_cast<QLabel*>(w.control(id))->palette().color(QPalette::Window);
}

// The box shows one line break for each CR LF of the log.
QString shown(const std::string& log) { return QString::fromStdString(log).replace("\r\n", "\n"); }

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);

}  // namespace

class PanelsQtTest : public QObject {
  Q_OBJECT
 private slots:
  void qai_service_session();
  void qao_service_session();
  void keys_help_and_menu();
  void help_window_without_a_viewer();
  void typed_log_text_is_lost();
  void tab_order_is_table_order();
  void timer_drives_continuous_reading();
  void render_both_dialogs();
};

void PanelsQtTest::qai_service_session() {
  PanelWindow window(kQaiTemplate);
  std::vector<std::string> opened;
  QaiPanel panel(window, kQai8Library, [&](const std::string& p) { opened.push_back(p); });
  window.attach(&panel, 200);
  QVERIFY(window.timer().isActive());
  QCOMPARE(window.timer().interval(), 200);
  window.timer().stop();  // ticks are driven by the test
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));

  QCOMPARE(window.windowTitle(), QString("QAI調整用"));
  QCOMPARE(box(window, 1005), QString("…不明…"));
  QCOMPARE(box(window, 1024), QString("1"));
  const QColor dialog_colour = window.palette().color(QPalette::Window);
  QCOMPARE(lamp(window, 1014), dialog_colour);
  QCOMPARE(lamp(window, 1017), dialog_colour);
  QVERIFY(!qobject_cast<QRadioButton*>(window.control(1020))->isChecked());
  QVERIFY(!qobject_cast<QRadioButton*>(window.control(1021))->isChecked());

  type(window, 1007, "3");
  click(window, 1002);
  click(window, 1004);
  QCOMPARE(box(window, 1005), QString("2.10"));
  click(window, 1096);
  QCOMPARE(box(window, 1097), QString("QAI8 FW 1.05"));
  click(window, 1010);
  QCOMPARE(lamp(window, 1014), kRed);
  click(window, 1015);
  QCOMPARE(lamp(window, 1017), kGreen);
  click(window, 1012);
  QCOMPARE(lamp(window, 1017), kGreen);  // only the readback changes it
  click(window, 1015);
  QCOMPARE(lamp(window, 1017), kRed);

  click(window, 1021);
  QVERIFY(qobject_cast<QRadioButton*>(window.control(1021))->isChecked());
  click(window, 1075);  // ～CH3
  const char* offset_rows[4][3] = {{"32768", "8000", "0.000000"},
                                   {"0", "0", "-10240.000000"},
                                   {"49152", "C000", "5120.000000"},
                                   {"65535", "FFFF", "10239.687500"}};
  for (int i = 0; i < 4; ++i) {
    QCOMPARE(box(window, qai::kChannelRows[i].decimal_box), QString(offset_rows[i][0]));
    QCOMPARE(box(window, qai::kChannelRows[i].hex_box), QString(offset_rows[i][1]));
    QCOMPARE(box(window, qai::kChannelRows[i].millivolt_box), QString(offset_rows[i][2]));
  }
  QCOMPARE(box(window, 1077), QString(""));  // row 4 not read

  type(window, 1025, "4x");
  click(window, 1023);
  click(window, 1020);
  click(window, 1095);  // ～CH7
  const char* twos_rows[8][3] = {{"0", "0", "0.000000"},           {"-32768", "8000", "-10240.000000"},
                                 {"16384", "4000", "5120.000000"}, {"32767", "7FFF", "10239.687500"},
                                 {"100", "64", "31.250002"},       {"0", "0", "0.000000"},
                                 {"0", "0", "0.000000"},           {"0", "0", "0.000000"}};
  for (int i = 0; i < 8; ++i) {
    QCOMPARE(box(window, qai::kChannelRows[i].decimal_box), QString(twos_rows[i][0]));
    QCOMPARE(box(window, qai::kChannelRows[i].hex_box), QString(twos_rows[i][1]));
    QCOMPARE(box(window, qai::kChannelRows[i].millivolt_box), QString(twos_rows[i][2]));
  }

  // continuous reading through the real check box: a read on the sixth tick
  click(window, 1006);
  QVERIFY(qobject_cast<QCheckBox*>(window.control(1006))->isChecked());
  for (int i = 0; i < 5; ++i) panel.tick();
  const std::size_t blocks_before = panel.frame().log().blocks();
  panel.tick();
  QCOMPARE(panel.frame().log().blocks(), blocks_before + 1);
  click(window, 1006);

  click(window, 1003);
  click(window, 1010);  // library closed: a failure, the lamp keeps its colour
  QCOMPARE(lamp(window, 1014), kRed);

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
  QCOMPARE(QString::fromStdString(panel.frame().log().text()), QString::fromStdString(expected));
  auto* log = qobject_cast<QPlainTextEdit*>(window.control(1009));
  QCOMPARE(log->toPlainText(), shown(expected));
  // the caret after the newest block, which is in view
  QCOMPARE(log->textCursor().position(), log->document()->characterCount() - 1);
  QVERIFY(log->viewport()->rect().contains(log->cursorRect()));
  QVERIFY(log->verticalScrollBar()->value() > 0);
  QVERIFY(opened.empty());

  window.close();  // the title bar's close button
  QCOMPARE(window.result(), int(QDialog::Rejected));
}

void PanelsQtTest::qao_service_session() {
  PanelWindow window(kQaoTemplate);
  QaoPanel panel(window, kQao4Library, [](const std::string&) {});
  window.attach(&panel, 0);
  QVERIFY(!window.timer().isActive());
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));

  QCOMPARE(window.windowTitle(), QString("QAO調整用"));
  for (int id : {1027, 1062, 1067, 1072, 1026, 1061, 1066, 1071}) QCOMPARE(box(window, id), QString("0"));
  for (int id : {1026, 1061, 1066, 1071}) QVERIFY(qobject_cast<QLineEdit*>(window.control(id))->isReadOnly());
  QVERIFY(!qobject_cast<QLineEdit*>(window.control(1076))->isReadOnly());
  QVERIFY(window.control(1006) == nullptr);
  QVERIFY(window.control(1024) == nullptr);

  type(window, 1007, "2");
  click(window, 1002);
  click(window, 1004);
  QCOMPARE(box(window, 1005), QString("3.00"));
  click(window, 1096);
  QCOMPARE(box(window, 1097), QString("QAO4 FW 2.01"));
  click(window, 1010);
  QCOMPARE(lamp(window, 1014), kGreen);
  click(window, 1015);
  QCOMPARE(lamp(window, 1017), kRed);
  click(window, 1013);
  click(window, 1015);
  QCOMPARE(lamp(window, 1017), kGreen);
  click(window, 1021);

  type(window, 1027, "100");
  QCOMPARE(box(window, 1026), QString("64"));
  type(window, 1062, "-100");
  QCOMPARE(box(window, 1061), QString("FF9C"));
  type(window, 1067, "70000");
  QCOMPARE(box(window, 1066), QString("1170"));
  type(window, 1072, "26xyz");
  QCOMPARE(box(window, 1071), QString("1A"));

  click(window, 1065);  // write ～CH1
  click(window, 1090);  // read back ～CH2
  const char* rows[4][2] = {{"100", "64"}, {"-100", "FF9C"}, {"0", "0"}, {"", ""}};
  for (int i = 0; i < 4; ++i) {
    QCOMPARE(box(window, qao::kReadbackRows[i].decimal_box), QString(rows[i][0]));
    QCOMPARE(box(window, qao::kReadbackRows[i].hex_box), QString(rows[i][1]));
  }
  click(window, 1075);  // write ～CH3
  click(window, 1095);  // read back ～CH3
  QCOMPARE(box(window, 1087), QString("4464"));
  QCOMPARE(box(window, 1086), QString("1170"));
  QCOMPARE(box(window, 1092), QString("26"));
  QCOMPARE(box(window, 1091), QString("1A"));
  click(window, 1003);

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
  QCOMPARE(QString::fromStdString(panel.frame().log().text()), QString::fromStdString(expected));
  QCOMPARE(qobject_cast<QPlainTextEdit*>(window.control(1009))->toPlainText(), shown(expected));
}

void PanelsQtTest::keys_help_and_menu() {
  PanelWindow window(kQaiTemplate);
  std::vector<std::string> opened;
  QaiPanel panel(window, kQai8Library, [&](const std::string& p) { opened.push_back(p); });
  window.attach(&panel, 0);
  window.show();
  window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  QCOMPARE(QApplication::focusWidget(), window.control(1002));
  QCOMPARE(window.control(1020)->focusPolicy() & Qt::TabFocus, 0);  // radio buttons are not tab stops

  // Enter and Esc: no button pressed, the dialog stays open
  for (int id : {1002, 1007, 1009, 1020}) {
    window.control(id)->setFocus();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
      QTest::keyClick(window.control(id), key);
      QVERIFY2(window.isVisible(), qPrintable(QString("key %1 on %2").arg(key).arg(id)));
    }
  }
  QCOMPARE(panel.frame().log().blocks(), std::size_t{0});

  // an arrow key inside the radio group selects the other button and runs
  // its handler
  click(window, 1020);
  QCOMPARE(panel.frame().log().blocks(), std::size_t{1});
  QTest::keyClick(window.control(1020), Qt::Key_Down);
  QVERIFY(qobject_cast<QRadioButton*>(window.control(1021))->isChecked());
  QCOMPARE(panel.frame().log().blocks(), std::size_t{2});
  QVERIFY(panel.frame().log().text().ends_with(
      "　選択失敗：-24： 本機ハードウェア内部で、デバイスが選択されていない\r\n\r\n"));

  QTest::keyClick(&window, Qt::Key_F1);
  QTest::keyClick(&window, Qt::Key_F1, Qt::ShiftModifier);
  QCOMPARE(opened, (std::vector<std::string>{"./QAI8_Func.txt", "./QAI8_ErrorCode.txt"}));

  const QList<QAction*> items = window.context_menu()->actions();
  QCOMPARE(items.size(), 4);
  QCOMPARE(items[3]->text(), QString("qai_panel のﾊﾞｰｼﾞｮﾝ情報(&A)..."));
  items[1]->trigger();
  items[0]->trigger();
  items[3]->trigger();  // the about item does nothing
  QCOMPARE(opened, (std::vector<std::string>{"./QAI8_Func.txt", "./QAI8_ErrorCode.txt", "./QAI8_ErrorCode.txt",
                                             "./QAI8_Func.txt"}));
  QCOMPARE(panel.frame().log().blocks(), std::size_t{2});  // help commands log nothing
  QVERIFY(window.isVisible());
}

// F1 on a desktop without a viewer for text files (the opener fails, or
// there is none): the help text shows in the panel's own read-only window,
// one window per file. With a viewer, no window of the panel's own.
void PanelsQtTest::help_window_without_a_viewer() {
  PanelWindow window(kQaiTemplate);
  window.show();
  const QString previous = QDir::currentPath();
  QVERIFY(QDir::setCurrent(PANELS_HELP_DIR));
  const QDir help(PANELS_HELP_DIR);
  auto own_windows = [&] { return window.findChildren<QDialog*>(); };
  auto openers_done = [&] { return window.findChildren<QProcess*>().isEmpty(); };
  constexpr int kOpenerEnds = 600'000;  // ms; only a hang takes long, however busy the machine

  open_help(&window, "./QAI8_Func.txt", "true");
  QTRY_VERIFY_WITH_TIMEOUT(openers_done(), kOpenerEnds);
  QVERIFY(own_windows().isEmpty());

  for (const char* opener : {"false", "/nonexistent/xdg-open"}) {
    open_help(&window, "./QAI8_Func.txt", opener);
    QTRY_VERIFY_WITH_TIMEOUT(openers_done(), kOpenerEnds);
    QCOMPARE(own_windows().size(), 1);
  }
  QDialog* shown = own_windows().front();
  QVERIFY(shown->isVisible());
  QCOMPARE(shown->windowTitle(), QString("QAI8_Func.txt"));
  auto* text = shown->findChild<QPlainTextEdit*>();
  QVERIFY(text && text->isReadOnly());
  QFile file(help.absoluteFilePath("QAI8_Func.txt"));
  QVERIFY(file.open(QIODevice::ReadOnly));
  QCOMPARE(text->toPlainText(), QString::fromUtf8(file.readAll()));

  open_help(&window, "./QAI8_ErrorCode.txt", "false");
  open_help(&window, "./no-such-help.txt", "false");
  QTRY_VERIFY_WITH_TIMEOUT(openers_done(), kOpenerEnds);
  QCOMPARE(own_windows().size(), 3);
  const QString missing = help.absoluteFilePath("no-such-help.txt");
  auto* missing_window = window.findChild<QDialog*>("help:" + missing);
  QVERIFY(missing_window);
  QCOMPARE(missing_window->findChild<QPlainTextEdit*>()->toPlainText(), missing + ": No such file or directory");

  QDir::setCurrent(previous);
}

void PanelsQtTest::typed_log_text_is_lost() {
  PanelWindow window(kQaiTemplate);
  QaiPanel panel(window, kQai8Library, [](const std::string&) {});
  window.attach(&panel, 0);
  window.show();
  click(window, 1004);
  auto* log = qobject_cast<QPlainTextEdit*>(window.control(1009));
  log->setFocus();
  QTest::keyClicks(log, "memo");
  QVERIFY(log->toPlainText().contains("memo"));
  click(window, 1004);
  QCOMPARE(log->toPlainText(), shown(panel.frame().log().text()));
  QVERIFY(!log->toPlainText().contains("memo"));
  QCOMPARE(log->textCursor().position(), log->document()->characterCount() - 1);
}

void PanelsQtTest::tab_order_is_table_order() {
  for (const DialogTemplate* tmpl : {&kQaiTemplate, &kQaoTemplate}) {
    PanelWindow window(*tmpl);
    std::vector<QWidget*> expected;
    for (std::size_t i = 0; i < tmpl->count; ++i) {
      const panels::Control& c = tmpl->controls[i];
      const bool tab_stop =
          c.kind == Kind::PushButton || c.kind == Kind::Edit || c.kind == Kind::LogEdit || c.kind == Kind::CheckBox;
      if (tab_stop) expected.push_back(window.control(c.id));
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
    const BaseUnits u = window.units();
    QVERIFY(u.cx > 0 && u.cy > 0);
    QCOMPARE(window.size(), QSize(u.x(tmpl->width), u.y(tmpl->height)));
    QCOMPARE(window.control(1002)->geometry(), QRect(u.x(10), u.y(36), u.x(50), u.y(14)));
  }
}

// The dialog's own 200 ms timer, with the check box ticked: reads come.
void PanelsQtTest::timer_drives_continuous_reading() {
  PanelWindow window(kQaiTemplate);
  QaiPanel panel(window, kQai8Library, [](const std::string&) {});
  window.attach(&panel, 200);
  window.show();
  QTest::qWait(300);
  QCOMPARE(panel.frame().log().blocks(), std::size_t{0});  // box clear: ticks only reset the count
  click(window, 1006);
  QTRY_VERIFY_WITH_TIMEOUT(panel.frame().log().blocks() >= 1, 10000);
  QVERIFY(panel.frame().log().text().starts_with("Ａ／Ｄ読み取り 複数ＣＨ・・・\r\n"));
  click(window, 1006);
}

void PanelsQtTest::render_both_dialogs() {
  {
    PanelWindow window(kQaiTemplate);
    window.setWindowIcon(panel_icon("AI"));
    QaiPanel panel(window, kQai8Library, [](const std::string&) {});
    window.attach(&panel, 0);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    type(window, 1007, "3");
    for (int id : {1002, 1004, 1096, 1010, 1015, 1095}) click(window, id);
    QVERIFY(window.grab().save(PANELS_PNG_DIR "/qai_panel.png"));
    click(window, 1003);
  }
  {
    PanelWindow window(kQaoTemplate);
    window.setWindowIcon(panel_icon("AO"));
    QaoPanel panel(window, kQao4Library, [](const std::string&) {});
    window.attach(&panel, 0);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    type(window, 1007, "2");
    type(window, 1027, "-1");
    for (int id : {1002, 1004, 1096, 1010, 1015, 1030, 1095}) click(window, id);
    QVERIFY(window.grab().save(PANELS_PNG_DIR "/qao_panel.png"));
    click(window, 1003);
  }
}

QTEST_MAIN(PanelsQtTest)
#include "panels_qt_test.moc"
