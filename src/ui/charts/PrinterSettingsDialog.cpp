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

namespace {

QFrame* explanation(QWidget* parent, const char* name, const char* text, QPushButton* button) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameShape(QFrame::StyledPanel);
    auto* label = new QLabel(fromCp(text), panel);
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
    setObjectName("FoStampa");
    setWindowTitle(fromCp("Impresora"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* toEpson = widgets::button(nullptr, "BBEpson", "Modifica per Epson");
    auto* toNormal = widgets::button(nullptr, "BBNormale", "Modifica per impresi\xF3n normal");
    panel1_ = explanation(this, "Panel1",
                          "Impresi\xF3n normal: cada gr\xE1" "fico se env\xED" "a a la impresora tal cual.\n"
                          "Algunas impresoras (por ejemplo ciertas Epson) pierden la primera p\xE1gina "
                          "de cada trabajo: para ellas se imprime antes una p\xE1gina vac\xED" "a.",
                          toEpson);
    panel2_ = explanation(this, "Panel2",
                          "Antes de cada trabajo de impresi\xF3n se imprime una p\xE1gina vac\xED" "a, "
                          "para las impresoras que pierden la primera p\xE1gina.\n"
                          "Si su impresora no lo necesita, vuelva a la impresi\xF3n normal.",
                          toNormal);
    applied_ = new QLabel(fromCp("CAMBIOS APLICADO!"), this);
    applied_->setObjectName("LabCambi");
    applied_->setStyleSheet("color: red; font-weight: bold;");
    wait_ = new QLabel(fromCp("esperar..."), this);
    wait_->setObjectName("LabAspetta");
    connect(toEpson, &QPushButton::clicked, this, [this] { toggle(); });
    connect(toNormal, &QPushButton::clicked, this, [this] { toggle(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel1_);
    layout->addWidget(panel2_);
    layout->addWidget(applied_, 0, Qt::AlignHCenter);
    layout->addWidget(wait_, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void PrinterSettingsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    applied_->hide();
    wait_->hide();
    showType();
}

void PrinterSettingsDialog::showType() {
    panel1_->setVisible(ws_.settings.printerType != 1);
    panel2_->setVisible(ws_.settings.printerType == 1);
    panel1_->setEnabled(true);
    panel2_->setEnabled(true);
}

void PrinterSettingsDialog::toggle() {
    ws_.settings.printerType = toggledPrinterType(ws_.settings.printerType);
    ws_.settings.reserved1 = 1;
    if (!guarded(this, [&] { saveSettings(ws_.root, ws_.settings); })) return;
    panel1_->setEnabled(false);
    panel2_->setEnabled(false);
    applied_->show();
    wait_->show();
    QTimer::singleShot(600, this, [this] { accept(); });
}

}  // namespace athanor
