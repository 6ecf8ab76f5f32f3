#include "ui/shell/ManualChooserDialog.h"

#include "ui/common/UiHelpers.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace athanor {

ManualChooserDialog::ManualChooserDialog(Workstation& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName("FoIstDef");
    setWindowTitle(fromCp("Selezionare"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    rb1_ = new QRadioButton(fromCp("Summary instructions  (Istruzioni_J.pdf)"), this);
    rb1_->setObjectName("RB1");
    rb2_ = new QRadioButton(fromCp("Extended instructions  (Istruzioni.pdf)"), this);
    rb2_->setObjectName("RB2");
    auto* ok = new QPushButton(fromCp("OK"), this);
    ok->setObjectName("BitBtn1");
    ok->setDefault(true);
    auto* cancel = new QPushButton(fromCp("Cancel"), this);
    cancel->setObjectName("BitBtn2");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rb1_);
    layout->addWidget(rb2_);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(340, 0)));

    connect(ok, &QPushButton::clicked, this, [this] {
        openDocument(ws_.root.resolve(rb1_->isChecked() ? "Istruzioni_J.pdf" : "Istruzioni.pdf"));
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ManualChooserDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    rb1_->setChecked(true);
}

}  // namespace athanor
