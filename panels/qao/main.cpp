// qao_panel: service panel of the QAO4 analog-output unit.
#include <QApplication>

#include "display_check.h"
#include "panel_window.h"
#include "qao_panel.h"

int main(int argc, char** argv) {
  if (!panels::display_usable(argc, argv)) return 1;
  QApplication app(argc, argv);
  panels::PanelWindow window(panels::kQaoTemplate);
  window.setWindowIcon(panels::panel_icon(QStringLiteral("AO")));
  panels::QaoPanel panel(window, panels::kQao4Library,
                         [&window](const std::string& path) { panels::open_help(&window, path); });
  window.attach(&panel, 0);
  window.exec();
  return 0;
}
