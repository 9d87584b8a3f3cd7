// qai_panel: service panel of the QAI8 analog-input unit.
#include <QApplication>

#include "display_check.h"
#include "panel_window.h"
#include "qai_panel.h"

int main(int argc, char** argv) {
  if (!panels::display_usable(argc, argv)) return 1;
  QApplication app(argc, argv);
  panels::PanelWindow window(panels::kQaiTemplate);
  window.setWindowIcon(panels::panel_icon(QStringLiteral("AI")));
  panels::QaiPanel panel(window, panels::kQai8Library,
                         [&window](const std::string& path) { panels::open_help(&window, path); });
  window.attach(&panel, 200);
  window.exec();
  return 0;
}
