#include "ui/knowledge/PlantConsultationDialog.h"

#include "foundations/FileError.h"
#include "knowledge/Consultation.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace athanor {

namespace names {
constexpr const char* kWindow = "FoSintom3";
constexpr const char* kList = "ListBox1";
constexpr const char* kPlant = "EdPianta";
constexpr const char* kPrimary = "EdSegPri";
constexpr const char* kSecondary = "EdSegSec";
constexpr const char* kZodiac = "EdSegZod";
constexpr const char* kSynthesis = "EdSintesi";
constexpr const char* kSymptoms[] = {"ListBoxSintomi", "ListBoxSintomiBis", "ListBoxSintomiTer", "ListBoxSintomiQua"};
constexpr const char* kAuthors[] = {"ListBoxAutori", "ListBoxAutoriBis", "ListBoxAutoriTer", "ListBoxAutoriQua"};
constexpr const char* kSpin = "SpinButton1";
constexpr const char* kPageLabel = "LabPagine";
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

PlantConsultationDialog::PlantConsultationDialog(DataRoot root, QWidget* parent) : QDialog(parent), root_(std::move(root)) {
    setObjectName(names::kWindow);
    setWindowTitle(fromCp("Corvell-1: plantas y s\xEDntomas"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setSizeGripEnabled(true);

    list_ = widgets::named<QListWidget>(this, names::kList);
    list_->setMinimumWidth(200);
    list_->installEventFilter(this);
    list_->setToolTip(fromCp("Clic o Intro: los s\xEDntomas de la planta"));
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { selectEntry(list_->row(item)); });
    auto* left = new QVBoxLayout;
    left->addWidget(widgets::label(this, "Plantas"));
    left->addWidget(list_, 1);

    plant_ = shownField(this, names::kPlant);
    primary_ = shownField(this, names::kPrimary);
    secondary_ = shownField(this, names::kSecondary);
    zodiac_ = shownField(this, names::kZodiac);
    synthesis_ = widgets::memo(this, names::kSynthesis);
    synthesis_->setFixedHeight(QFontMetrics(synthesis_->font()).lineSpacing() * 3 + 12);
    auto* fields = new QGridLayout;
    int row = 0;
    for (auto [caption, w] : {std::pair<const char*, QWidget*>{"Planta", plant_},
                              {"Signatura primaria", primary_},
                              {"Signatura secundaria", secondary_},
                              {"Signatura zodiacal", zodiac_},
                              {"S\xEDntesis ps\xEDquica", synthesis_}}) {
        auto* l = widgets::label(this, caption);
        fields->addWidget(l, row, 0, Qt::AlignTop);
        fields->addWidget(w, row++, 1);
    }

    // The four page pairs lie in one place; only the pair of the current page shows.
    auto* pagesGrid = new QGridLayout;
    pagesGrid->addWidget(widgets::label(this, "S\xEDntomas"), 0, 0);
    pagesGrid->addWidget(widgets::label(this, "Autores"), 0, 1);
    for (std::size_t i = 0; i < pairs_.size(); ++i) {
        PagePair& p = pairs_[i];
        p.symptoms = widgets::named<QListWidget>(this, names::kSymptoms[i]);
        p.authors = widgets::named<QListWidget>(this, names::kAuthors[i]);
        for (QListWidget* l : {p.symptoms, p.authors}) {
            l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            l->setTextElideMode(Qt::ElideNone);
        }
        // A symptom and its authors stay side by side.
        connect(p.symptoms->verticalScrollBar(), &QScrollBar::valueChanged, p.authors->verticalScrollBar(),
                &QScrollBar::setValue);
        connect(p.authors->verticalScrollBar(), &QScrollBar::valueChanged, p.symptoms->verticalScrollBar(),
                &QScrollBar::setValue);
        pagesGrid->addWidget(p.symptoms, 1, 0);
        pagesGrid->addWidget(p.authors, 1, 1);
    }
    pagesGrid->setColumnStretch(0, 3);
    pagesGrid->setColumnStretch(1, 2);
    pagesGrid->setRowStretch(1, 1);

    spin_ = widgets::spinButton(
        this, names::kSpin,
        [this] {
            if (pages_.back()) showPage();
        },
        [this] {
            if (pages_.forward()) showPage();
        });
    spin_->setToolTip(fromCp("Flecha abajo: p\xE1gina siguiente; flecha arriba: p\xE1gina anterior"));
    pageLabel_ = widgets::label(this, "", names::kPageLabel);
    noResults_ = widgets::label(this, kNoResultsHint, names::kNoResults);
    noResults_->setStyleSheet("QLabel { color: #a00000; font-weight: bold; }");
    noResults_->hide();
    auto* back = widgets::button(this, names::kReturn, "&Ritorna al Menu", widgets::EnterKey::Ignored);
    connect(back, &QPushButton::clicked, this, &QDialog::accept);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(spin_);
    bottom->addWidget(pageLabel_);
    bottom->addWidget(noResults_);
    bottom->addStretch();
    bottom->addWidget(back);

    auto* right = new QVBoxLayout;
    right->addLayout(fields);
    right->addLayout(pagesGrid, 1);
    right->addLayout(bottom);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right, 3);
    clearResult();
    resize(1150, 720);
}

bool PlantConsultationDialog::load() {
    BusyCursor busy;
    std::vector<std::string> plants;
    if (!guarded(this, [&] { plants = plantList(root_); })) return false;
    entries_ = std::move(plants);
    list_->clear();
    for (const auto& e : entries_) list_->addItem(fromCp(e));
    list_->setFocus(Qt::OtherFocusReason);
    return true;
}

void PlantConsultationDialog::clearResult() {
    for (QLineEdit* e : {plant_, primary_, secondary_, zodiac_}) e->clear();
    synthesis_->clear();
    for (const PagePair& p : pairs_) {
        p.symptoms->clear();
        p.authors->clear();
    }
    pages_.reset(1);
    noResults_->hide();
    showPage();
}

void PlantConsultationDialog::selectEntry(int index) {
    if (index < 0 || index >= static_cast<int>(entries_.size())) return;
    list_->setCurrentRow(index);
    BusyCursor busy;
    clearResult();
    PlantConsultation c;
    if (!guarded(this, [&] { c = consultPlant(root_, entries_[static_cast<std::size_t>(index)]); })) return;
    plant_->setText(fromCp(c.plant));
    primary_->setText(fromCp(c.primary));
    secondary_->setText(fromCp(c.secondary));
    zodiac_->setText(fromCp(c.zodiac));
    synthesis_->setPlainText(fromCp(c.synthesis));
    bool any = false;
    for (std::size_t i = 0; i < pairs_.size(); ++i)
        for (const auto& [symptom, authors] : c.pages[i]) {
            pairs_[i].symptoms->addItem(fromCp(symptom));
            pairs_[i].authors->addItem(fromCp(authors));
            any = true;
        }
    noResults_->setVisible(!any);
    pages_.reset(c.pageCount);
    showPage();
}

void PlantConsultationDialog::showPage() {
    for (std::size_t i = 0; i < pairs_.size(); ++i) {
        const bool current = static_cast<int>(i) + 1 == pages_.page();
        pairs_[i].symptoms->setVisible(current);
        pairs_[i].authors->setVisible(current);
    }
    const bool several = pages_.count() >= 2;
    spin_->setVisible(several);
    pageLabel_->setVisible(several);
    pageLabel_->setText(fromCp(pages_.label()));
}

bool PlantConsultationDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int k = static_cast<QKeyEvent*>(event)->key();
        if (k == Qt::Key_Return || k == Qt::Key_Enter) {
            selectEntry(list_->currentRow());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace athanor
