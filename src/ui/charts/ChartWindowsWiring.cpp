#include "ui/charts/ChartWindowsWiring.h"

#include "graphics/Pages.h"
#include "ui/charts/ChartPageWindow.h"
#include "ui/charts/AnalysisWindow.h"
#include "ui/charts/GraphSettingsDialog.h"
#include "ui/charts/LineSettingsDialog.h"
#include "ui/charts/PrinterSettingsDialog.h"
#include "ui/common/WindowSupport.h"
#include "ui/common/WindowHost.h"
#include "app/Workstation.h"
#include "ui/common/UiHelpers.h"

#include <QGuiApplication>
#include <QScreen>

namespace athanor {

namespace {

// The full-screen windows cover the whole screen, top-left corner at 0, 0.
void coverScreen(QWidget* w) {
    if (QScreen* screen = QGuiApplication::primaryScreen()) w->setGeometry(screen->geometry());
}

void showFullScreen(QWidget* w) {
    coverScreen(w);
    if (w->isVisible()) {
        w->hide();  // opened again: the window starts afresh
    }
    w->show();
    w->raise();
    w->activateWindow();
}

}  // namespace

void wireChartWindows(WindowHost& main) {
    Workstation& ws = main.workstation();
    auto* analysis = new AnalysisWindow(ws, main.hostWidget());
    auto* chart = new ChartPageWindow(ws, main.hostWidget());
    auto* calibration = new GraphSettingsDialog(ws, main.hostWidget());
    auto* thickness = new LineSettingsDialog(ws, main.hostWidget());
    auto* printer = new PrinterSettingsDialog(ws, main.hostWidget());

    main.setAction("BBProped", [&main, &ws, analysis] {
        {
            BusyCursor busy;
            if (!guarded(main.hostWidget(), [&] { main.reloadSubject(); })) return;
            applyGraphSettings(ws);
        }
        showFullScreen(analysis);
    });
    const struct {
        const char* button;
        PageLayout layout;
    } pages[] = {{"BBOriz", PageLayout::Horizontal1},
                 {"BBoriz2", PageLayout::Horizontal2},
                 {"BBVert", PageLayout::Vertical1},
                 {"BBvert2", PageLayout::Vertical2}};
    for (const auto& p : pages) {
        const PageLayout layout = p.layout;
        main.setAction(p.button, [&main, &ws, chart, layout] {
            {
                BusyCursor busy;
                if (!guarded(main.hostWidget(), [&] { main.reloadSubject(); })) return;
                applyGraphSettings(ws);
            }
            chart->setLayout(static_cast<int>(layout));
            showFullScreen(chart);
        });
    }
    main.setAction("BBCerchio", [&main, calibration] {
        coverScreen(calibration);
        calibration->exec();
        main.activate();
    });
    main.setAction("BitBtn22", [&main, thickness] { main.runDialog(thickness); });
    main.setAction("SBtipoStamp", [&main, printer] { main.runDialog(printer); });
}

}  // namespace athanor
