#include "ui/knowledge/WeaknessDialog.h"

#include "app/Workstation.h"
#include "foundations/Format.h"
#include "knowledge/KnowledgeRecords.h"
#include "knowledge/SignatureSearch.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"
#include "ui/knowledge/SignatureCriteria.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace athanor {

namespace names {
constexpr const char* kWindow = "FoMali";
constexpr const char* kPlanet = "EdPianeta";
constexpr const char* kSign = "EdSegno";
constexpr const char* kSearch = "BBcerca";
constexpr const char* kTotal = "EdTot";
constexpr const char* kPathologies = "ListBox2";
constexpr const char* kRemedies = "ListBox3";
constexpr const char* kHelp = "MemoZoom";
constexpr const char* kBack = "BBritorna";
constexpr const char* kNoResult = "LabNessunRisultato";
}  // namespace names

namespace {

// The sign buttons show the weakened sign: the one opposite the sign searched.
std::array<std::string, 12> weakenedSigns() {
    std::array<std::string, 12> out;
    for (int s = 1; s <= 12; ++s) out[static_cast<std::size_t>(s - 1)] = signName((s + 5) % 12 + 1);
    return out;
}

const char* const kHelpText =
    "Elija el planeta debilitado y el signo debilitado y pulse \"Buscar Patolog\xED"
    "as\". Se buscan "
    "los remedios cuya signatura planetaria contiene el planeta y cuya signatura zodiacal "
    "contiene el signo opuesto al debilitado (Libra debilitado: remedios de Aries). La lista 1) "
    "muestra las patolog\xED"
    "as del repertorio de terapias que esos remedios tratan.\n\n"
    "Un clic en una patolog\xED"
    "a llena la lista 2) con todos los remedios del repertorio que la "
    "tratan; los que adem\xE1s responden a la debilidad aparecen as\xED: >>> Remedio <<<. Los "
    "dem\xE1s tratan la patolog\xED"
    "a sin la signatura buscada.";

std::string withoutMarks(std::string entry) {
    if (entry.starts_with(">>> ") && entry.ends_with(" <<<")) entry = entry.substr(4, entry.size() - 8);
    return entry;
}

}  // namespace

WeaknessDialog::WeaknessDialog(Workstation& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName(names::kWindow);
    setWindowTitle(fromCp("DEBILITAMIENTO ASTROL\xD3GICO / PATOLOG\xCD"
                          "AS"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    criteria_ = new SignatureCriteria("Planeta debilitado", "Signo debilitado", weakenedSigns(), this);
    planetBox_ = widgets::field(this, names::kPlanet, 0, true);
    signBox_ = widgets::field(this, names::kSign, 0, true);
    search_ = widgets::button(this, names::kSearch,
                              "Buscar Patolog\xED"
                              "as");
    total_ = widgets::field(this, names::kTotal, 0, true);
    total_->setMaximumWidth(80);
    noResult_ = widgets::label(this, "Ning\xFAn resultado", names::kNoResult);
    noResult_->hide();

    auto* form = new QGridLayout;
    form->addWidget(widgets::label(this, "Planeta"), 0, 0);
    form->addWidget(planetBox_, 0, 1);
    form->addWidget(widgets::label(this, "Signo debilitado"), 1, 0);
    form->addWidget(signBox_, 1, 1);
    form->addWidget(search_, 2, 0, 1, 2);
    form->addWidget(widgets::label(this, "Patolog\xED"
                                         "as"),
                    3, 0);
    form->addWidget(total_, 3, 1, Qt::AlignLeft);
    form->addWidget(noResult_, 4, 0, 1, 2);
    form->setRowStretch(5, 1);

    help_ = widgets::memo(this, names::kHelp);
    help_->setPlainText(fromCp(kHelpText));
    help_->setMinimumWidth(260);

    auto* top = new QHBoxLayout;
    top->addWidget(criteria_);
    top->addLayout(form);
    top->addWidget(help_, 1);

    pathologies_ = widgets::named<QListWidget>(this, names::kPathologies);
    remedies_ = widgets::named<QListWidget>(this, names::kRemedies);
    for (QListWidget* l : {pathologies_, remedies_}) l->setMinimumHeight(260);
    auto* left = new QVBoxLayout;
    left->addWidget(widgets::label(this, "1)  Patolog\xED"
                                         "as"));
    left->addWidget(pathologies_, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(widgets::label(this, "2)  Remedios del repertorio (>>> responden a la debilidad <<<)"));
    right->addWidget(remedies_, 1);
    auto* lists = new QHBoxLayout;
    lists->addLayout(left, 1);
    lists->addLayout(right, 1);

    back_ = widgets::button(this, names::kBack, "&Volver al Men\xFA");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(back_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);
    resize(1100, 700);

    connect(criteria_, &SignatureCriteria::changed, this, &WeaknessDialog::showCriteria);
    connect(search_, &QPushButton::clicked, this, &WeaknessDialog::searchPathologies);
    connect(pathologies_, &QListWidget::currentRowChanged, this, &WeaknessDialog::choosePathology);
    connect(remedies_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (remedyAction_) remedyAction_(fromCp(withoutMarks(toCp(item->text()))));
    });
    connect(back_, &QPushButton::clicked, this, &QDialog::reject);
}

bool WeaknessDialog::load() {
    criteria_->reset();
    showCriteria();
    pathologies_->clear();
    remedies_->clear();
    total_->setText(QStringLiteral("0"));
    noResult_->hide();
    return guarded(this, [&] {
        KnowledgeFile<RemedyRecord> database(ws_.root.resolve(kRemedyDatabaseFile));
        KnowledgeFile<TherapyRecord> repertory(ws_.root.resolve(kRepertoryFile));
        (void)database.count();
        (void)repertory.count();
    });
}

void WeaknessDialog::setRemedyAction(std::function<void(const QString&)> action) {
    remedyAction_ = std::move(action);
    remedies_->setToolTip(fromCp("Doble clic: la ventana del remedio"));
}

void WeaknessDialog::showCriteria() {
    planetBox_->setText(fromCp(criteria_->planet()));
    signBox_->setText(fromCp(criteria_->sign()));
}

void WeaknessDialog::searchPathologies() {
    BusyCursor busy;
    planet_ = toCp(planetBox_->text());
    weakenedSign_ = toCp(signBox_->text());
    pathologies_->clear();
    remedies_->clear();
    std::vector<std::string> found;
    if (!guarded(this, [&] { found = weaknessPathologies(ws_.root, planet_, weakenedSign_); })) {
        total_->setText(QStringLiteral("0"));
        return;
    }
    {
        const QSignalBlocker quiet(pathologies_);  // filling is not choosing
        for (const auto& p : found) pathologies_->addItem(fromCp(p));
        pathologies_->setCurrentRow(-1);
    }
    total_->setText(QString::number(found.size()));
    noResult_->setVisible(found.empty());
}

void WeaknessDialog::choosePathology(int row) {
    remedies_->clear();
    if (row < 0) return;
    BusyCursor busy;
    std::vector<std::string> found;
    const std::string pathology = toCp(pathologies_->item(row)->text());
    if (!guarded(this, [&] { found = weaknessRemedies(ws_.root, pathology, planet_, weakenedSign_); })) return;
    for (const auto& r : found) remedies_->addItem(fromCp(r));
}

}  // namespace athanor
