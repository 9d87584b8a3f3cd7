// qao_panel: service panel of the QAO4 analog-output unit.
#include <QApplication>

#include "panel_window.h"
#include "qao_panel.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    panels::PanelWindow window(panels::kQaoTemplate);
    window.setWindowIcon(panels::PanelIcon(QStringLiteral("AO")));
    panels::QaoPanel panel(window, panels::kQao4Library, panels::OpenWithDesktop);
    window.Attach(&panel, 0);
    window.exec();
    return 0;
}
