// qai_panel: service panel of the QAI8 analog-input unit.
#include <QApplication>

#include "display_check.h"
#include "panel_window.h"
#include "qai_panel.h"

int main(int argc, char** argv) {
    if (!panels::DisplayUsable(argc, argv)) return 1;
    QApplication app(argc, argv);
    panels::PanelWindow window(panels::kQaiTemplate);
    window.setWindowIcon(panels::PanelIcon(QStringLiteral("AI")));
    panels::QaiPanel panel(window, panels::kQai8Library,
                           [&window](const std::string& path) { panels::OpenHelp(&window, path); });
    window.Attach(&panel, 200);
    window.exec();
    return 0;
}
