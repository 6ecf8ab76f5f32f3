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

namespace {
// The test figure: a circle of radius 100 units around the page point (102, 140), the
// reach of the axes' last ticks.
constexpr double kY0 = 102, kX0 = 140, kRadius = 100;
}  // namespace

GraphSettingsDialog::GraphSettingsDialog(Workstation& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName("FgrTxtSpa");
    setWindowTitle(fromCp("Redondez de los c\xEDrculos"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setStyleSheet("QDialog { background: black; } QLabel { color: yellow; }");

    page_ = new PageWidget(this);
    page_->setObjectName("PaintBox1");
    page_->onResized = [this] { drawFigure(); };

    scBO_ = new QScrollBar(Qt::Horizontal, this);
    scBO_->setObjectName("ScBO");
    scBV_ = new QScrollBar(Qt::Vertical, this);
    scBV_->setObjectName("ScBV");
    for (QScrollBar* bar : {scBO_, scBV_}) {
        bar->setRange(-kCalibrationRange, kCalibrationRange);
        bar->setSingleStep(1);
        bar->setPageStep(10);
        connect(bar, &QScrollBar::valueChanged, this, [this] { barMoved(); });
    }
    scBO_->setMinimumWidth(260);
    scBV_->setMinimumHeight(260);

    auto* panel = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setStyleSheet("QFrame#Panel1 { background: #202020; border: 1px solid yellow; }");
    auto* l1 = new QLabel(fromCp("Obrar sobre los cursores hasta"), panel);
    auto* l2 = new QLabel(fromCp("comprender el marco amarillo"), panel);
    auto* l3 = new QLabel(fromCp("y obtener un c\xEDrculo"), panel);
    l1->setObjectName("Label1");
    l2->setObjectName("Label2");
    l3->setObjectName("Label3");
    auto* res = widgets::button(panel, "BBres", "Reset");
    auto* ok = widgets::button(panel, "BBok", "OK");
    ok->setDefault(true);
    connect(res, &QPushButton::clicked, this, [this] { reset(); });
    connect(ok, &QPushButton::clicked, this, [this] { save(); });

    auto* bars = new QGridLayout;
    bars->addWidget(scBV_, 0, 0, Qt::AlignHCenter);
    bars->addWidget(scBO_, 1, 0);
    auto* pv = new QVBoxLayout(panel);
    pv->addWidget(l1);
    pv->addWidget(l2);
    pv->addWidget(l3);
    pv->addSpacing(12);
    pv->addLayout(bars);
    pv->addSpacing(12);
    pv->addWidget(res);
    pv->addWidget(ok);
    pv->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 8, 8);
    layout->addWidget(page_, 1);
    layout->addWidget(panel, 0, Qt::AlignBottom);
}

void GraphSettingsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Read only: a missing file keeps the settings in memory.
    guarded(this, [&] { readSettings(ws_.root, ws_.settings); });
    quiet_ = true;
    scBO_->setValue(calibrationPosition(static_cast<double>(ws_.settings.scaleX)));
    scBV_->setValue(calibrationPosition(static_cast<double>(ws_.settings.scaleY)));
    quiet_ = false;
    applyGraphSettings(ws_);
    drawFigure();
}

void GraphSettingsDialog::barMoved() {
    if (quiet_) return;
    ws_.settings.scaleX = calibrationFactor(scBO_->value());
    ws_.settings.scaleY = calibrationFactor(scBV_->value());
    applyGraphSettings(ws_);
    guarded(this, [&] { saveSettings(ws_.root, ws_.settings); });
    drawFigure();
}

void GraphSettingsDialog::reset() {
    quiet_ = true;
    scBO_->setValue(0);
    scBV_->setValue(0);
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
