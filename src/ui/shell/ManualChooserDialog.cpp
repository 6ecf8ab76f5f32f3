#include "ui/shell/ManualChooserDialog.h"

#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace athanor {

namespace names {
constexpr const char* kWindow = "FoIstDef";
constexpr const char* kSummary = "RB1";
constexpr const char* kExtended = "RB2";
constexpr const char* kOk = "BitBtn1";
constexpr const char* kCancel = "BitBtn2";
}  // namespace names

ManualChooserDialog::ManualChooserDialog(Workstation& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName(names::kWindow);
    setWindowTitle(fromCp("Selezionare"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    summaryRadio_ =
        widgets::named<QRadioButton>(this, names::kSummary, fromCp("Summary instructions  (Istruzioni_J.pdf)"));
    extendedRadio_ =
        widgets::named<QRadioButton>(this, names::kExtended, fromCp("Extended instructions  (Istruzioni.pdf)"));
    auto* ok = widgets::button(this, names::kOk, "OK");
    ok->setDefault(true);
    auto* cancel = widgets::button(this, names::kCancel, "Cancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summaryRadio_);
    layout->addWidget(extendedRadio_);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(340, 0)));

    connect(ok, &QPushButton::clicked, this, [this] {
        openDocument(ws_.root.resolve(summaryRadio_->isChecked() ? "Istruzioni_J.pdf" : "Istruzioni.pdf"));
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ManualChooserDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    summaryRadio_->setChecked(true);
}

}  // namespace athanor
