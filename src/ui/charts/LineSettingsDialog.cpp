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

LineSettingsDialog::LineSettingsDialog(Workstation& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName("FoSpeLin");
    setWindowTitle(fromCp("Espesor de las l\xEDneas "));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* label = new QLabel(fromCp("Factor de espesor (0,5 - 4)"), this);
    edit_ = new QLineEdit(this);
    edit_->setObjectName("EditSpeLin");
    edit_->setMaxLength(4);
    edit_->setFixedWidth(60);
    edit_->setToolTip(fromCp("Multiplica el espesor de todas las l\xEDneas de los gr\xE1" "ficos"));
    auto* spin = widgets::spinButton(
        this, "SpinButton1", [this] { setFactor(lineFactorUp(static_cast<double>(ws_.settings.lineFactor))); },
        [this] { setFactor(lineFactorDown(static_cast<double>(ws_.settings.lineFactor))); });
    auto* reset = widgets::button(this, "BitBtn1", "Reajustar");
    auto* back = widgets::button(this, "BitBtnRitorna", "&Atr\xE1s");
    connect(reset, &QPushButton::clicked, this, [this] { setFactor(1.0); });
    connect(back, &QPushButton::clicked, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(edit_);
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
    edit_->setText(fromCp(fixedDecimal(ws_.settings.lineFactor, 4)));
}

void LineSettingsDialog::setFactor(double factor) {
    ws_.settings.lineFactor = factor;
    applyGraphSettings(ws_);
    edit_->setText(fromCp(fixedDecimal(factor, 4)));
    guarded(this, [&] { saveSettings(ws_.root, ws_.settings); });
}

void LineSettingsDialog::done(int result) {
    // The value shown is kept, within the limits; a text that is no number keeps the factor.
    if (const auto typed = parseReal(toCp(edit_->text()))) {
        const double f = clampLineFactor(static_cast<double>(*typed));
        if (f != static_cast<double>(ws_.settings.lineFactor)) setFactor(f);
    }
    QDialog::done(result);
}

}  // namespace athanor
