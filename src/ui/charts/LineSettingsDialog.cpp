#include "ui/charts/LineSettingsDialog.h"

#include "foundations/Format.h"
#include "foundations/TextFile.h"
#include "graphics/GraphSettings.h"
#include "ui/common/WindowSupport.h"
#include "ui/common/WidgetBuilders.h"
#include "app/Settings.h"
#include "ui/common/UiHelpers.h"
#include "app/Workstation.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace athanor {

namespace names {
constexpr const char* kWindow = "FoSpeLin";
constexpr const char* kFactor = "EditSpeLin";
constexpr const char* kSpin = "SpinButton1";
constexpr const char* kReset = "BitBtn1";
constexpr const char* kBack = "BitBtnRitorna";
}  // namespace names

LineSettingsDialog::LineSettingsDialog(Workstation& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName(names::kWindow);
    setWindowTitle(fromCp("Espesor de las l\xEDneas "));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* label = widgets::label(this, "Factor de espesor (0,5 - 4)");
    factorEdit_ = widgets::field(this, names::kFactor, 4);
    factorEdit_->setFixedWidth(60);
    factorEdit_->setToolTip(fromCp("Multiplica el espesor de todas las l\xEDneas de los gr\xE1"
                                   "ficos"));
    auto* spin = widgets::spinButton(
        this, names::kSpin, [this] { setFactor(lineFactorUp(static_cast<double>(ws_.settings.lineFactor))); },
        [this] { setFactor(lineFactorDown(static_cast<double>(ws_.settings.lineFactor))); });
    auto* reset = widgets::button(this, names::kReset, "Reajustar");
    auto* back = widgets::button(this, names::kBack, "&Atr\xE1s");
    connect(reset, &QPushButton::clicked, this, [this] { setFactor(1.0); });
    connect(back, &QPushButton::clicked, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(factorEdit_);
    row->addWidget(spin);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(reset);
    buttons->addStretch();
    buttons->addWidget(back);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

void LineSettingsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    factorEdit_->setText(fromCp(fixedDecimal(ws_.settings.lineFactor, 4)));
}

void LineSettingsDialog::setFactor(double factor) {
    ws_.settings.lineFactor = factor;
    applyGraphSettings(ws_);
    factorEdit_->setText(fromCp(fixedDecimal(factor, 4)));
    guarded(this, [&] { saveSettings(ws_.root, ws_.settings); });
}

void LineSettingsDialog::done(int result) {
    // The value shown is kept, within the limits; a text that is no number keeps the factor.
    if (const auto typed = parseReal(toCp(factorEdit_->text()))) {
        const double f = clampLineFactor(static_cast<double>(*typed));
        if (f != static_cast<double>(ws_.settings.lineFactor)) setFactor(f);
    }
    QDialog::done(result);
}

}  // namespace athanor
