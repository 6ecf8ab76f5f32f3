#include "ui/charts/ChartWindowsWiring.h"

#include "graphics/Pages.h"
#include "ui/charts/ChartPageWindow.h"
#include "ui/charts/AnalysisWindow.h"
#include "ui/charts/ChartRemediesWindow.h"
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

// The main window's buttons these windows take over.
namespace names {
constexpr const char* kAnalysis = "BBProped";
constexpr const char* kHorizontal1 = "BBOriz";
constexpr const char* kHorizontal2 = "BBoriz2";
constexpr const char* kVertical1 = "BBVert";
constexpr const char* kVertical2 = "BBvert2";
constexpr const char* kCircles = "BBCerchio";
constexpr const char* kLines = "BitBtn22";
constexpr const char* kPrinterType = "SBtipoStamp";
constexpr const char* kChartRemedies = "BBRemTema";
}  // namespace names

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

    main.setAction(names::kAnalysis, [&main, &ws, analysis] {
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
    } pages[] = {{names::kHorizontal1, PageLayout::Horizontal1},
                 {names::kHorizontal2, PageLayout::Horizontal2},
                 {names::kVertical1, PageLayout::Vertical1},
                 {names::kVertical2, PageLayout::Vertical2}};
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
    auto* remedies = new ChartRemediesWindow(ws, main.hostWidget());
    remedies->setHost(&main);
    auto showRemedies = [remedies] {
        if (!remedies->isVisible())
            if (QScreen* screen = remedies->screen())
                remedies->move(screen->availableGeometry().center() - remedies->rect().center());
        remedies->refresh();
        remedies->show();
        remedies->raise();
        remedies->activateWindow();
    };
    // The analysis window holds the current chart already; the main window reads the subject first.
    analysis->setChartRemediesAction(showRemedies);
    main.setAction(names::kChartRemedies, [&main, showRemedies] {
        if (!guarded(main.hostWidget(), [&] { main.reloadSubject(); })) return;
        showRemedies();
    });
    main.setAction(names::kCircles, [&main, calibration] {
        coverScreen(calibration);
        calibration->exec();
        main.activate();
    });
    main.setAction(names::kLines, [&main, thickness] { main.runDialog(thickness); });
    main.setAction(names::kPrinterType, [&main, printer] { main.runDialog(printer); });
}

}  // namespace athanor
