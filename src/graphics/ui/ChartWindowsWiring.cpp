#include "graphics/ui/ChartWindowsWiring.h"

#include "graphics/Pages.h"
#include "graphics/ui/TFgrNaSpa.h"
#include "graphics/ui/TFgrSpagy.h"
#include "graphics/ui/TFgrTxtSpa.h"
#include "graphics/ui/TFoSpeLin.h"
#include "graphics/ui/TFoStampa.h"
#include "graphics/ui/WindowSupport.h"
#include "shell/TFoSpagyr.h"
#include "shell/UiHelpers.h"

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

void wireChartWindows(TFoSpagyr& main) {
    Workstation& ws = main.workstation();
    auto* analysis = new TFgrSpagy(ws, &main);
    auto* chart = new TFgrNaSpa(ws, &main);
    auto* calibration = new TFgrTxtSpa(ws, &main);
    auto* thickness = new TFoSpeLin(ws, &main);
    auto* printer = new TFoStampa(ws, &main);

    main.setAction("BBProped", [&main, &ws, analysis] {
        {
            BusyCursor busy;
            if (!guarded(&main, [&] { main.reloadSubject(); })) return;
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
                if (!guarded(&main, [&] { main.reloadSubject(); })) return;
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
