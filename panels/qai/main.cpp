// qai_panel: service panel of the QAI8 analog-input unit.
#include <QApplication>

#include "panel_window.h"
#include "qai_panel.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    panels::PanelWindow window(panels::kQaiTemplate);
    window.setWindowIcon(panels::PanelIcon(QStringLiteral("AI")));
    panels::QaiPanel panel(window, panels::kQai8Library, panels::OpenWithDesktop);
    window.Attach(&panel, 200);
    window.exec();
    return 0;
}
