// TFoManut1: the maintenance viewer of the plant-symptom records.
#include "ui/kbkeeping/MaintenanceViewerDialog.h"

#include "knowledge/MaintenanceViewer.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"
#include "ui/kbkeeping/BackgroundWork.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace athanor {

namespace names {
constexpr const char* kWindow = "FoManut1";
constexpr const char* kList = "ListBox1";
constexpr const char* kOrder = "BBordina";
constexpr const char* kBack = "BBritorna";
constexpr const char* kSymptom = "EdSintomo";
constexpr const char* kPlant = "EdPianta";
constexpr const char* kCode = "EdSigla";
constexpr const char* kSynthesis = "EdSintesi";
constexpr const char* kPrimary = "EdSegPri";
constexpr const char* kSecondary = "EdSegSec";
constexpr const char* kZodiac = "EdSegZod";
constexpr const char* kAuthors = "EdAutori";
constexpr const char* kNote = "EdNote";
}  // namespace names

MaintenanceViewerDialog::MaintenanceViewerDialog(Workstation& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName(names::kWindow);
    setWindowTitle(QStringLiteral("AGGIORNAMENTI / MODIFICHE DATABASE"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    list_ = widgets::named<QListWidget>(this, names::kList);
    list_->setFont(widgets::monospace(9));
    list_->setUniformItemSizes(true);
    connect(list_, &QListWidget::currentRowChanged, this, &MaintenanceViewerDialog::select);
    orderButton_ = widgets::button(this, names::kOrder, "Ordinamento", widgets::EnterKey::Ignored);
    connect(orderButton_, &QPushButton::clicked, this, [this] {
        sorted_ = !sorted_;
        fill();
    });
    auto* back = widgets::button(this, names::kBack, "Volver al Men\xFA", widgets::EnterKey::Ignored);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);

    auto* form = new QFormLayout;
    const struct {
        const char* name;
        const char* caption;
    } fields[] = {{names::kSymptom, "S\xEDntoma"},
                  {names::kPlant, "Planta"},
                  {names::kCode, "Sigla"},
                  {names::kSynthesis, "S\xEDntesis ps\xEDquica"},
                  {names::kPrimary, "Signatura primaria"},
                  {names::kSecondary, "Signatura secundaria"},
                  {names::kZodiac, "Signatura zodiacal"},
                  {names::kAuthors, "Autores"},
                  {names::kNote, "Nota"}};
    for (const auto& f : fields) {
        QLineEdit* e = widgets::field(this, f.name, 0, true);
        e->setMinimumWidth(520);
        fields_.push_back(e);
        form->addRow(widgets::label(this, f.caption), e);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(orderButton_);
    buttons->addStretch();
    buttons->addWidget(back);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(form);
    layout->addLayout(buttons);
    resize(900, 680);
}

void MaintenanceViewerDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    sorted_ = false;
    list_->clear();
    entries_.clear();
    list_->setFocus(Qt::OtherFocusReason);
    // The file is read once the window is up and its own event loop runs.
    QTimer::singleShot(0, this, [this] {
        if (isVisible()) fill();
    });
}

void MaintenanceViewerDialog::fill() {
    for (QLineEdit* e : fields_) e->clear();
    std::vector<std::string> entries;
    guarded(this, [&] {
        runInBackground(this, QStringLiteral("Leyendo las plantas"),
                        [&](const WorkProgress&) { entries = maintenanceList(ws_.root, sorted_); });
    });
    entries_ = std::move(entries);
    QStringList lines;
    lines.reserve(static_cast<int>(entries_.size()));
    for (const auto& e : entries_) lines << fromCp(e);
    list_->blockSignals(true);
    list_->clear();
    list_->addItems(lines);
    list_->blockSignals(false);
}

void MaintenanceViewerDialog::select(int row) {
    if (row < 0) return;
    guarded(this, [&] {
        const auto r = maintenanceRecord(ws_.root, sorted_, entries_, row);
        if (!r) return;
        const std::string* texts[] = {&r->symptom,          &r->plant,           &r->code,
                                      &r->synthesis,        &r->primarySignature, &r->secondarySignature,
                                      &r->zodiacSignature,  &r->authors,          &r->note};
        for (std::size_t i = 0; i < fields_.size(); ++i) fields_[i]->setText(fromCp(*texts[i]));
    });
}

}  // namespace athanor
