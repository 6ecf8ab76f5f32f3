#include "ui/knowledge/PlantSymptomDialog.h"

#include "knowledge/Consultation.h"
#include "knowledge/ConsultationPage.h"
#include "knowledge/PrefixSearch.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace athanor {

namespace names {
constexpr const char* kWindow = "FoSintom2";
constexpr const char* kSearch = "EditCerca";
constexpr const char* kList = "ListBox1";
constexpr const char* kSymptom = "EdSintomo";
constexpr const char* kPlants = "ListBoxPiante";
constexpr const char* kSyntheses = "ListBoxSintesi";
constexpr const char* kNumbers = "ListBoxNum";
constexpr const char* kPlant = "EdPianta";
constexpr const char* kPrimary = "EdSegPri";
constexpr const char* kSecondary = "EdSegSec";
constexpr const char* kZodiac = "EdSegZod";
constexpr const char* kAuthors = "EdAutori";
constexpr const char* kAlternative = "EdAlternativa";
constexpr const char* kNoResults = "LabNessunRisultato";
constexpr const char* kReturn = "BBVolver";
}  // namespace names

namespace {

QLineEdit* shownField(QWidget* parent, const char* name) {
    QLineEdit* e = widgets::field(parent, name, 0, true);
    e->setFocusPolicy(Qt::ClickFocus);
    return e;
}

}  // namespace

PlantSymptomDialog::PlantSymptomDialog(DataRoot root, QWidget* parent) : QDialog(parent), root_(std::move(root)) {
    setObjectName(names::kWindow);
    setWindowTitle(fromCp("Corvell-2: s\xEDntomas y plantas"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setSizeGripEnabled(true);

    search_ = widgets::field(this, names::kSearch);
    search_->installEventFilter(this);
    search_->setToolTip(fromCp("Escriba las primeras letras; Intro elige la l\xEDnea marcada"));
    auto* searchLabel = widgets::label(this, "Buscar");
    searchLabel->setBuddy(search_);
    list_ = widgets::named<QListWidget>(this, names::kList);
    list_->setMinimumWidth(260);
    list_->installEventFilter(this);
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { selectEntry(list_->row(item)); });
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(search_, 1);
    auto* left = new QVBoxLayout;
    left->addLayout(searchRow);
    left->addWidget(widgets::label(this, "S\xEDntomas"));
    left->addWidget(list_, 1);

    symptom_ = shownField(this, names::kSymptom);
    plants_ = widgets::named<QListWidget>(this, names::kPlants);
    plants_->setToolTip(fromCp("Clic en una planta: sus datos"));
    syntheses_ = widgets::named<QListWidget>(this, names::kSyntheses);
    numbers_ = widgets::named<QListWidget>(this, names::kNumbers);
    numbers_->setFixedWidth(QFontMetrics(numbers_->font()).horizontalAdvance(QStringLiteral("000000")) + 24);
    for (QListWidget* l : {plants_, syntheses_, numbers_}) {
        l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        connect(l, &QListWidget::currentRowChanged, this, [this](int row) {
            // The three lists move together.
            for (QListWidget* other : {plants_, syntheses_, numbers_})
                if (other->currentRow() != row) other->setCurrentRow(row);
        });
    }
    for (QListWidget* a : {plants_, syntheses_, numbers_})
        for (QListWidget* b : {plants_, syntheses_, numbers_})
            if (a != b)
                connect(a->verticalScrollBar(), &QScrollBar::valueChanged, b->verticalScrollBar(),
                        &QScrollBar::setValue);
    connect(plants_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { showPlant(plants_->row(item)); });

    auto* lists = new QGridLayout;
    lists->addWidget(widgets::label(this, "Plantas"), 0, 0);
    lists->addWidget(widgets::label(this, "S\xEDntesis ps\xEDquica"), 0, 1);
    lists->addWidget(widgets::label(this, "Registro"), 0, 2);
    lists->addWidget(plants_, 1, 0);
    lists->addWidget(syntheses_, 1, 1);
    lists->addWidget(numbers_, 1, 2);
    lists->setColumnStretch(0, 2);
    lists->setColumnStretch(1, 4);
    lists->setRowStretch(1, 1);

    plant_ = shownField(this, names::kPlant);
    primary_ = shownField(this, names::kPrimary);
    secondary_ = shownField(this, names::kSecondary);
    zodiac_ = shownField(this, names::kZodiac);
    authors_ = shownField(this, names::kAuthors);
    alternative_ = shownField(this, names::kAlternative);
    alternativeLabel_ = widgets::label(this, "Sin planta, lo refieren");
    auto* fields = new QGridLayout;
    int row = 0;
    for (auto [caption, w] : {std::pair<const char*, QWidget*>{"Planta", plant_},
                              {"Signatura primaria", primary_},
                              {"Signatura secundaria", secondary_},
                              {"Signatura zodiacal", zodiac_},
                              {"Autores", authors_}}) {
        fields->addWidget(widgets::label(this, caption), row, 0);
        fields->addWidget(w, row++, 1);
    }
    fields->addWidget(alternativeLabel_, row, 0);
    fields->addWidget(alternative_, row, 1);

    noResults_ = widgets::label(this, kNoResultsHint, names::kNoResults);
    noResults_->setStyleSheet("QLabel { color: #a00000; font-weight: bold; }");
    auto* back = widgets::button(this, names::kReturn, "&Ritorna al Menu", widgets::EnterKey::Ignored);
    connect(back, &QPushButton::clicked, this, &QDialog::accept);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(noResults_);
    bottom->addStretch();
    bottom->addWidget(back);

    auto* symptomRow = new QHBoxLayout;
    symptomRow->addWidget(widgets::label(this, "S\xEDntoma"));
    symptomRow->addWidget(symptom_, 1);
    auto* right = new QVBoxLayout;
    right->addLayout(symptomRow);
    right->addLayout(lists, 1);
    right->addLayout(fields);
    right->addLayout(bottom);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 2);
    layout->addLayout(right, 5);
    clearResult();
    resize(1150, 700);
}

bool PlantSymptomDialog::load() {
    BusyCursor busy;
    std::vector<std::string> symptoms;
    if (!guarded(this, [&] { symptoms = plantSymptomList(root_); })) return false;
    entries_ = std::move(symptoms);
    list_->clear();
    for (const auto& e : entries_) list_->addItem(fromCp(e));
    // The window is kept between openings, and so is its typed text.
    search_->setFocus(Qt::OtherFocusReason);
    return true;
}

void PlantSymptomDialog::clearResult() {
    for (QLineEdit* e : {symptom_, plant_, primary_, secondary_, zodiac_, authors_, alternative_}) e->clear();
    for (QListWidget* l : {plants_, syntheses_, numbers_}) l->clear();
    alternative_->hide();
    alternativeLabel_->hide();
    noResults_->hide();
}

void PlantSymptomDialog::selectEntry(int index) {
    if (index < 0 || index >= static_cast<int>(entries_.size())) return;
    list_->setCurrentRow(index);
    BusyCursor busy;
    clearResult();
    SymptomConsultation c;
    if (!guarded(this, [&] { c = consultPlantSymptom(root_, entries_[static_cast<std::size_t>(index)]); })) return;
    symptom_->setText(fromCp(c.symptom));
    for (const auto& p : c.plants) {
        plants_->addItem(fromCp(p.plantLine));
        syntheses_->addItem(fromCp(p.synthesis));
        syntheses_->item(syntheses_->count() - 1)->setToolTip(fromCp(p.synthesis));
        numbers_->addItem(fromCp(p.numberText));
    }
    if (!c.plants.empty()) {
        plant_->setText(fromCp(c.details.plant));
        primary_->setText(fromCp(c.details.primary));
        secondary_->setText(fromCp(c.details.secondary));
        zodiac_->setText(fromCp(c.details.zodiac));
        authors_->setText(fromCp(c.details.authors));
        authors_->setCursorPosition(0);
    } else if (c.alternative) {
        alternative_->setText(fromCp(*c.alternative));
        alternative_->setCursorPosition(0);
        alternative_->show();
        alternativeLabel_->show();
    } else {
        noResults_->show();
    }
}

void PlantSymptomDialog::showPlant(int row) {
    if (row < 0 || row >= numbers_->count()) return;
    const std::int64_t record = numbers_->item(row)->text().toLongLong();
    PlantDetails d;
    if (!guarded(this, [&] { d = plantDetails(root_, record); })) return;
    plant_->setText(fromCp(d.plant));
    primary_->setText(fromCp(d.primary));
    secondary_->setText(fromCp(d.secondary));
    zodiac_->setText(fromCp(d.zodiac));
    authors_->setText(fromCp(d.authors));
    authors_->setCursorPosition(0);
}

bool PlantSymptomDialog::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == search_) {
        if (type == QEvent::MouseButtonPress) {
            search_->clear();
            prefix_.clear();
        } else if (type == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) {
                const int step = key->key() == Qt::Key_Down ? 1 : -1;
                list_->setCurrentRow(std::clamp(list_->currentRow() + step, 0, std::max(0, list_->count() - 1)));
                return true;
            }
            const char c = keyChar(key);
            if (c == '\r') {
                selectEntry(list_->currentRow());
                return true;
            }
            if (c == '\b') prefix_.backspace();
            else if (c != 0) prefix_.type(c);
            if (c != 0) {
                const int at = sortedPrefixPosition(entries_, prefix_.text());
                if (at >= 0) {
                    list_->setCurrentRow(at);
                    list_->scrollToItem(list_->item(at), QAbstractItemView::PositionAtCenter);
                }
            }
        }
        return false;
    }
    if (watched == list_ && type == QEvent::KeyPress) {
        const int k = static_cast<QKeyEvent*>(event)->key();
        if (k == Qt::Key_Return || k == Qt::Key_Enter) {
            selectEntry(list_->currentRow());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace athanor
