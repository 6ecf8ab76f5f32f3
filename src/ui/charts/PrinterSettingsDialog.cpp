#include "ui/charts/PrinterSettingsDialog.h"

#include "graphics/GraphSettings.h"
#include "ui/common/WindowSupport.h"
#include "ui/common/WidgetBuilders.h"
#include "app/Settings.h"
#include "ui/common/UiHelpers.h"
#include "app/Workstation.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace athanor {

namespace names {
constexpr const char* kWindow = "FoStampa";
constexpr const char* kNormalPanel = "Panel1";
constexpr const char* kDummyPagePanel = "Panel2";
constexpr const char* kToEpson = "BBEpson";
constexpr const char* kToNormal = "BBNormale";
constexpr const char* kApplied = "LabCambi";
constexpr const char* kWait = "LabAspetta";
}  // namespace names

namespace {

// An explanation of a printer type with the button that changes to the other.
QFrame* explanation(QWidget* parent, const char* name, const char* text, QPushButton* button) {
    auto* panel = widgets::panel(parent, name);
    auto* label = widgets::label(panel, text);
    label->setWordWrap(true);
    label->setMinimumWidth(340);
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(label);
    button->setParent(panel);
    layout->addWidget(button);
    return panel;
}

}  // namespace

PrinterSettingsDialog::PrinterSettingsDialog(Workstation& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName(names::kWindow);
    setWindowTitle(fromCp("Impresora"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* toEpson = widgets::button(nullptr, names::kToEpson, "Modifica per Epson");
    auto* toNormal = widgets::button(nullptr, names::kToNormal, "Modifica per impresi\xF3n normal");
    normalPanel_ = explanation(this, names::kNormalPanel,
                               "Impresi\xF3n normal: cada gr\xE1"
                               "fico se env\xED"
                               "a a la impresora tal cual.\n"
                               "Algunas impresoras (por ejemplo ciertas Epson) pierden la primera p\xE1gina "
                               "de cada trabajo: para ellas se imprime antes una p\xE1gina vac\xED"
                               "a.",
                               toEpson);
    dummyPagePanel_ = explanation(this, names::kDummyPagePanel,
                                  "Antes de cada trabajo de impresi\xF3n se imprime una p\xE1gina vac\xED"
                                  "a, "
                                  "para las impresoras que pierden la primera p\xE1gina.\n"
                                  "Si su impresora no lo necesita, vuelva a la impresi\xF3n normal.",
                                  toNormal);
    appliedLabel_ = widgets::label(this, "CAMBIOS APLICADO!", names::kApplied);
    appliedLabel_->setStyleSheet("color: red; font-weight: bold;");
    waitLabel_ = widgets::label(this, "esperar...", names::kWait);
    connect(toEpson, &QPushButton::clicked, this, [this] { toggle(); });
    connect(toNormal, &QPushButton::clicked, this, [this] { toggle(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(normalPanel_);
    layout->addWidget(dummyPagePanel_);
    layout->addWidget(appliedLabel_, 0, Qt::AlignHCenter);
    layout->addWidget(waitLabel_, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void PrinterSettingsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    appliedLabel_->hide();
    waitLabel_->hide();
    showType();
}

void PrinterSettingsDialog::showType() {
    normalPanel_->setVisible(ws_.settings.printerType != 1);
    dummyPagePanel_->setVisible(ws_.settings.printerType == 1);
    normalPanel_->setEnabled(true);
    dummyPagePanel_->setEnabled(true);
}

void PrinterSettingsDialog::toggle() {
    ws_.settings.printerType = toggledPrinterType(ws_.settings.printerType);
    ws_.settings.reserved1 = 1;
    if (!guarded(this, [&] { saveSettings(ws_.root, ws_.settings); })) return;
    normalPanel_->setEnabled(false);
    dummyPagePanel_->setEnabled(false);
    appliedLabel_->show();
    waitLabel_->show();
    QTimer::singleShot(600, this, [this] { accept(); });
}

}  // namespace athanor
