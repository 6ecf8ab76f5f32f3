#include "ui/knowledge/RemedyTextDialog.h"

#include "app/Workstation.h"
#include "foundations/Format.h"
#include "knowledge/SignatureSearch.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace athanor {

namespace names {
constexpr const char* kPlantsWindow = "FoPiante";
constexpr const char* kSynthesisWindow = "FoSintesi";
constexpr const char* kRemedies = "ListBox2";
constexpr const char* kFound = "ListBox3";
constexpr const char* kSearchBox = "EditCerca";
constexpr const char* kSearch = "BBcerca";
constexpr const char* kHeading = "LabelMemo";
constexpr const char* kText = "MemoNote";
constexpr const char* kHelp = "MemoZoom";
constexpr const char* kBack = "BBritorna";
}  // namespace names

namespace {

struct Texts {
    const char* window;
    const char* caption;
    const char* resting;      // the heading at rest
    const char* listedAs;     // + name, for a remedy of list 1
    const char* foundAs;      // + name, for a remedy of list 2
    const char* searchLabel;  // beside the search box
    const char* help;
};

const Texts kPlants = {names::kPlantsWindow,
                       "PLANTAS y INGREDIENTES ACTIVOS",
                       "Composici\xF3n del Remedio",
                       "Ingredients of ",
                       "Composici\xF3n de ",
                       "Planta o ingrediente activo",
                       "Escriba el nombre de una planta o de un ingrediente activo (o parte de \xE9l) y pulse "
                       "\"Buscar\" o Intro: la lista de la derecha muestra los remedios cuya composici\xF3n lo "
                       "contiene, sin distinguir may\xFAsculas de min\xFAsculas.\n\n"
                       "Un clic en un remedio muestra su composici\xF3n; en la de un remedio encontrado, lo "
                       "buscado aparece en may\xFAsculas."};

const Texts kSynthesis = {
    names::kSynthesisWindow,
    "S\xCDNTESIS PS\xCDQUICA ",
    "S\xEDntesis Ps\xEDquica del Remedio",
    "S\xEDntesis Ps\xEDquica de ",
    "S\xEDntesis Ps\xEDquica de ",
    "Palabra o frase",
    "Escriba una palabra o una frase y pulse \"Buscar\" o Intro: la lista de la derecha muestra "
    "los remedios cuya s\xEDntesis ps\xEDquica la contiene, sin distinguir may\xFAsculas de "
    "min\xFAsculas.\n\n"
    "Un clic en un remedio muestra su s\xEDntesis ps\xEDquica; en la de un remedio encontrado, lo "
    "buscado aparece en may\xFAsculas."};

const Texts& textsOf(RemedyText field) { return field == RemedyText::Composition ? kPlants : kSynthesis; }

}  // namespace

RemedyTextDialog::RemedyTextDialog(Workstation& ws, RemedyText field, QWidget* parent)
    : QDialog(parent), ws_(ws), field_(field) {
    const Texts& t = textsOf(field_);
    setObjectName(t.window);
    setWindowTitle(fromCp(t.caption));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    remedies_ = widgets::named<QListWidget>(this, names::kRemedies);
    found_ = widgets::named<QListWidget>(this, names::kFound);
    for (QListWidget* l : {remedies_, found_}) l->setMinimumWidth(230);
    searchBox_ = widgets::field(this, names::kSearchBox);
    search_ = widgets::button(this, names::kSearch, "Buscar");
    heading_ = widgets::label(this, t.resting, names::kHeading);
    heading_->setWordWrap(true);
    text_ = widgets::memo(this, names::kText);
    text_->setMinimumWidth(360);
    help_ = widgets::memo(this, names::kHelp);
    help_->setPlainText(fromCp(t.help));
    help_->setMaximumHeight(130);
    back_ = widgets::button(this, names::kBack, "&Volver al Men\xFA");

    auto* left = new QVBoxLayout;
    left->addWidget(widgets::label(this, "Lista de los Remedios"));
    left->addWidget(remedies_, 1);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(searchBox_, 1);
    searchRow->addWidget(search_);
    auto* middle = new QVBoxLayout;
    middle->addWidget(widgets::label(this, t.searchLabel));
    middle->addLayout(searchRow);
    middle->addWidget(widgets::label(this, "Remedios encontrados"));
    middle->addWidget(found_, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(heading_);
    right->addWidget(text_, 1);
    right->addWidget(help_);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 2);
    columns->addLayout(middle, 2);
    columns->addLayout(right, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(back_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);
    resize(1150, 680);

    // Enter in the search box searches; it never closes the window.
    for (QPushButton* b : {search_, back_}) b->setAutoDefault(false);
    connect(searchBox_, &QLineEdit::returnPressed, this, &RemedyTextDialog::search);
    connect(remedies_, &QListWidget::currentRowChanged, this, &RemedyTextDialog::chooseListed);
    connect(found_, &QListWidget::currentRowChanged, this, &RemedyTextDialog::chooseFound);
    connect(found_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (remedyAction_ && item->text() != fromCp(noResultEntry(field_))) remedyAction_(item->text());
    });
    connect(search_, &QPushButton::clicked, this, &RemedyTextDialog::search);
    connect(back_, &QPushButton::clicked, this, &QDialog::reject);
}

bool RemedyTextDialog::load() {
    BusyCursor busy;
    const QSignalBlocker quiet1(remedies_), quiet2(found_);
    remedies_->clear();
    found_->clear();
    text_->clear();
    heading_->setText(fromCp(textsOf(field_).resting));
    word_.clear();
    list_.clear();
    if (!guarded(this, [&] { list_ = openRemedyNameList(ws_.root); })) return false;
    QStringList names;  // added at once: the base may hold many thousands
    names.reserve(static_cast<qsizetype>(list_.size()));
    for (const auto& e : list_) names << fromCp(e.name);
    remedies_->addItems(names);
    searchBox_->setFocus();
    return true;
}

void RemedyTextDialog::setRemedyAction(std::function<void(const QString&)> action) {
    remedyAction_ = std::move(action);
    found_->setToolTip(fromCp("Doble clic: la ventana del remedio"));
}

void RemedyTextDialog::chooseListed(int row) {
    if (row < 0 || row >= static_cast<int>(list_.size())) return;
    const Texts& t = textsOf(field_);
    heading_->setText(fromCp(t.resting));
    const std::string& name = list_[static_cast<std::size_t>(row)].name;
    BusyCursor busy;
    guarded(this, [&] {
        const auto text = findRemedyText(ws_.root, field_, name);
        if (!text) return;
        heading_->setText(fromCp(t.listedAs + name));
        text_->setPlainText(fromCp(*text));
    });
}

void RemedyTextDialog::search() {
    BusyCursor busy;
    {
        const QSignalBlocker quiet(found_);
        found_->clear();
    }
    text_->clear();
    heading_->setText(fromCp(textsOf(field_).resting));
    word_ = upperCased(toCp(searchBox_->text()));
    std::vector<std::string> hits;
    if (!guarded(this, [&] { hits = searchRemedyTexts(ws_.root, field_, list_, word_); })) return;
    const QSignalBlocker quiet(found_);
    for (const auto& h : hits) found_->addItem(fromCp(h));
    if (hits.empty()) found_->addItem(fromCp(noResultEntry(field_)));
    found_->setCurrentRow(-1);
}

void RemedyTextDialog::chooseFound(int row) {
    if (row < 0) return;
    const std::string name = toCp(found_->item(row)->text());
    if (name == noResultEntry(field_)) return;
    heading_->setText(fromCp(textsOf(field_).foundAs + name));
    text_->clear();
    BusyCursor busy;
    guarded(this, [&] {
        if (const auto text = findRemedyText(ws_.root, field_, name))
            text_->setPlainText(fromCp(withCapitalisedHit(*text, word_)));
    });
}

}  // namespace athanor
