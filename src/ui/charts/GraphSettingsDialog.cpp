#include "ui/charts/GraphSettingsDialog.h"

#include "graphics/GraphSettings.h"
#include "graphics/PageCanvas.h"
#include "ui/common/PageWidget.h"
#include "ui/common/WindowSupport.h"
#include "ui/common/WidgetBuilders.h"
#include "app/Settings.h"
#include "ui/common/UiHelpers.h"
#include "app/Workstation.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace athanor {

namespace names {
constexpr const char* kWindow = "FgrTxtSpa";
constexpr const char* kPage = "PaintBox1";
constexpr const char* kPanel = "Panel1";
constexpr const char* kLabels[3] = {"Label1", "Label2", "Label3"};
constexpr const char* kHorizontalBar = "ScBO";
constexpr const char* kVerticalBar = "ScBV";
constexpr const char* kReset = "BBres";
constexpr const char* kOk = "BBok";
}  // namespace names

namespace {
// The test figure: a circle of radius 100 units around the page point (102, 140), the
// reach of the axes' last ticks.
constexpr double kY0 = 102, kX0 = 140, kRadius = 100;
}  // namespace

GraphSettingsDialog::GraphSettingsDialog(Workstation& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName(names::kWindow);
    setWindowTitle(fromCp("Redondez de los c\xEDrculos"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setStyleSheet("QDialog { background: black; } QLabel { color: yellow; }");
    page_ = widgets::named<PageWidget>(this, names::kPage);
    page_->onResized = [this] { drawFigure(); };
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 8, 8);
    layout->addWidget(page_, 1);
    layout->addWidget(buildPanel(), 0, Qt::AlignBottom);
}

// The instructions, the two bars, Reset and OK.
QFrame* GraphSettingsDialog::buildPanel() {
    auto* panel = widgets::panel(this, names::kPanel, QFrame::NoFrame);
    panel->setStyleSheet("QFrame#Panel1 { background: #202020; border: 1px solid yellow; }");
    horizontalBar_ = widgets::scrollBar(panel, names::kHorizontalBar, Qt::Horizontal);
    verticalBar_ = widgets::scrollBar(panel, names::kVerticalBar, Qt::Vertical);
    for (QScrollBar* bar : {horizontalBar_, verticalBar_}) {
        bar->setRange(-kCalibrationRange, kCalibrationRange);
        bar->setSingleStep(1);
        bar->setPageStep(10);
        connect(bar, &QScrollBar::valueChanged, this, [this] { barMoved(); });
    }
    horizontalBar_->setMinimumWidth(260);
    verticalBar_->setMinimumHeight(260);
    auto* reset = widgets::button(panel, names::kReset, "Reset");
    auto* ok = widgets::button(panel, names::kOk, "OK");
    ok->setDefault(true);
    connect(reset, &QPushButton::clicked, this, [this] { this->reset(); });
    connect(ok, &QPushButton::clicked, this, [this] { save(); });

    auto* bars = new QGridLayout;
    bars->addWidget(verticalBar_, 0, 0, Qt::AlignHCenter);
    bars->addWidget(horizontalBar_, 1, 0);
    auto* column = new QVBoxLayout(panel);
    column->addWidget(widgets::label(panel, "Obrar sobre los cursores hasta", names::kLabels[0]));
    column->addWidget(widgets::label(panel, "comprender el marco amarillo", names::kLabels[1]));
    column->addWidget(widgets::label(panel, "y obtener un c\xEDrculo", names::kLabels[2]));
    column->addSpacing(12);
    column->addLayout(bars);
    column->addSpacing(12);
    column->addWidget(reset);
    column->addWidget(ok);
    column->addStretch();
    return panel;
}

void GraphSettingsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Read only: a missing file keeps the settings in memory.
    guarded(this, [&] { readSettings(ws_.root, ws_.settings); });
    quiet_ = true;
    horizontalBar_->setValue(calibrationPosition(static_cast<double>(ws_.settings.scaleX)));
    verticalBar_->setValue(calibrationPosition(static_cast<double>(ws_.settings.scaleY)));
    quiet_ = false;
    applyGraphSettings(ws_);
    drawFigure();
}

void GraphSettingsDialog::barMoved() {
    if (quiet_) return;
    ws_.settings.scaleX = calibrationFactor(horizontalBar_->value());
    ws_.settings.scaleY = calibrationFactor(verticalBar_->value());
    applyGraphSettings(ws_);
    guarded(this, [&] { saveSettings(ws_.root, ws_.settings); });
    drawFigure();
}

void GraphSettingsDialog::reset() {
    quiet_ = true;
    horizontalBar_->setValue(0);
    verticalBar_->setValue(0);
    quiet_ = false;
    ws_.settings.scaleX = ws_.settings.scaleY = 1;
    applyGraphSettings(ws_);
    guarded(this, [&] { saveSettings(ws_.root, ws_.settings); });
    drawFigure();
}

void GraphSettingsDialog::save() {
    if (guarded(this, [&] { saveSettings(ws_.root, ws_.settings); })) accept();
}

void GraphSettingsDialog::drawFigure() {
    page_->clear(Qt::black);
    QPainter painter(&page_->picture());
    painter.setRenderHint(QPainter::Antialiasing);
    DrawingState s = ws_.drawing;
    s.zoom = 1;
    s.ox = s.oy = 0;
    s.printing = s.recording = s.monochrome = false;
    PageCanvas c(painter, s, &ws_.root);
    c.selectPen(7);
    c.releaseBrush();
    c.rectangle(kY0 + kRadius, kX0 + kRadius, kY0 - kRadius, kX0 - kRadius);
    c.selectPen(1);
    c.line(kY0, kX0 - kRadius, kY0, kX0 + kRadius);
    c.line(kY0 - kRadius, kX0, kY0 + kRadius, kX0);
    for (int i = -10; i <= 10; ++i) {
        const double d = 10.0 * i;
        c.line(kY0 - 2, kX0 + d, kY0 + 2, kX0 + d);
        c.line(kY0 + d, kX0 - 2, kY0 + d, kX0 + 2);
    }
    c.selectPen(64);
    c.circle(kRadius, kY0, kX0);
    painter.end();
    page_->update();
}

}  // namespace athanor
