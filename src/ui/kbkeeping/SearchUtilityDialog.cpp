// TFoUtilit: the search utility of the knowledge base.
#include "ui/kbkeeping/SearchUtilityDialog.h"

#include "knowledge/KnowledgeRecords.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"
#include "ui/kbkeeping/BackgroundWork.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <span>

namespace athanor {

namespace names {
constexpr const char* kWindow = "FoUtilit";
constexpr const char* kDatabase = "RadioButton5";
constexpr const char* kRepertory = "RadioButton6";
constexpr const char* kDatabasePanel = "PanelPrima";
constexpr const char* kRepertoryPanel = "PanelTerap";
constexpr const char* kPhrase = "EditCerca";
constexpr const char* kSearch = "BBcerca";
constexpr const char* kRemedy = "EdRime";
constexpr const char* kPosition = "Edit1";
constexpr const char* kLength = "Edit2";
constexpr const char* kBefore = "Memo1";
constexpr const char* kAfter = "Memo2";
constexpr const char* kSave = "BBsalva";
constexpr const char* kBack = "BBritorna";
}  // namespace names

namespace {

struct FieldChoice {
    const char* name;
    const char* caption;
    UtilityField field;
};
const FieldChoice kDatabaseFields[] = {
    {"RbRime", "Rimedio", UtilityField::Name},
    {"RBindi", "Indicazioni", UtilityField::Indication},
    {"RBposo", "Posologia", UtilityField::Posology},
    {"RBavve", "Avvertenze", UtilityField::Warnings},
    {"RBSpri", "Segnat. Primaria", UtilityField::PrimarySignature},
    {"RBSSec", "Segnat.Second.", UtilityField::SecondarySignature},
    {"RBSZod", "Segnat. Zodiac.", UtilityField::ZodiacSignature},
    {"RBpsic", "Sintesi Psichica", UtilityField::Synthesis},
    {"RBnote", "Note", UtilityField::Notes},
    {"RBnoSu", "Note Supplementari", UtilityField::ExtraNotes},
};
const FieldChoice kRepertoryFields[] = {
    {"RBrimed", "Rimedio", UtilityField::TherapyRemedy},
    {"RBpatol", "Patologia", UtilityField::TherapyPathology},
    {"RBposol", "Posologia", UtilityField::TherapyPosology},
    {"RBnotes", "Note", UtilityField::TherapyNotes},
};

const char* kSaveQuestion = "\xBFGuardar los cambios hecho?";

QString storedForm(QString text) { return text.replace('\n', QStringLiteral("\r\n")); }
QString shownForm(QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

}  // namespace

SearchUtilityDialog::SearchUtilityDialog(Workstation& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName(names::kWindow);
    setWindowTitle(QStringLiteral("Utility Ricerca"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    databaseChoice_ = widgets::named<QRadioButton>(this, names::kDatabase, QStringLiteral("Database Primario"));
    repertoryChoice_ = widgets::named<QRadioButton>(this, names::kRepertory, QStringLiteral("Repertorio Terapie"));
    auto* archives = new QButtonGroup(this);
    archives->addButton(databaseChoice_);
    archives->addButton(repertoryChoice_);
    connect(databaseChoice_, &QRadioButton::clicked, this, [this] { chooseArchive(false); });
    connect(repertoryChoice_, &QRadioButton::clicked, this, [this] { chooseArchive(true); });
    databasePanel_ = buildFieldPanel(names::kDatabasePanel, false);
    repertoryPanel_ = buildFieldPanel(names::kRepertoryPanel, true);

    phrase_ = widgets::field(this, names::kPhrase);
    connect(phrase_, &QLineEdit::textEdited, this, [this] {
        if (finder_) finder_->setPhrase(toCp(phrase_->text()));
        stop();
    });
    searchButton_ = widgets::button(this, names::kSearch, "Cerca");
    searchButton_->setDefault(true);
    connect(searchButton_, &QPushButton::clicked, this, &SearchUtilityDialog::search);
    remedy_ = widgets::field(this, names::kRemedy, 0, true);
    position_ = widgets::field(this, names::kPosition, 0, true);
    position_->setFixedWidth(90);
    length_ = widgets::field(this, names::kLength, 0, true);
    length_->setFixedWidth(110);
    before_ = widgets::memo(this, names::kBefore, false);
    after_ = widgets::memo(this, names::kAfter, false);
    for (QPlainTextEdit* m : {before_, after_}) {
        m->setTabChangesFocus(true);
        connect(m, &QPlainTextEdit::textChanged, this, [this] {
            if (!filling_ && !atEnd_ && finder_ && finder_->underWay()) saveButton_->setEnabled(true);
        });
    }
    saveButton_ = widgets::button(this, names::kSave, "Salva", widgets::EnterKey::Ignored);
    saveButton_->setEnabled(false);
    connect(saveButton_, &QPushButton::clicked, this, [this] { saveCorrection(); });
    auto* back = widgets::button(this, names::kBack, "Volver al Men\xFA", widgets::EnterKey::Ignored);
    connect(back, &QPushButton::clicked, this, &SearchUtilityDialog::reject);

    auto* archiveRow = new QHBoxLayout;
    archiveRow->addWidget(databaseChoice_);
    archiveRow->addWidget(repertoryChoice_);
    archiveRow->addStretch();
    auto* phraseRow = new QHBoxLayout;
    phraseRow->addWidget(widgets::label(this, "Frase da cercare"));
    phraseRow->addWidget(phrase_, 1);
    phraseRow->addWidget(searchButton_);
    auto* foundRow = new QHBoxLayout;
    foundRow->addWidget(widgets::label(this, "Remedio"));
    foundRow->addWidget(remedy_, 1);
    foundRow->addWidget(widgets::label(this, "posizione"));
    foundRow->addWidget(position_);
    foundRow->addWidget(widgets::label(this, "Caratteri Totali:"));
    foundRow->addWidget(length_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(saveButton_);
    buttons->addStretch();
    buttons->addWidget(back);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(archiveRow);
    layout->addWidget(databasePanel_);
    layout->addWidget(repertoryPanel_);
    layout->addLayout(phraseRow);
    layout->addLayout(foundRow);
    layout->addWidget(widgets::label(this, "Texto antes de la frase"));
    layout->addWidget(before_, 1);
    layout->addWidget(widgets::label(this, "Texto desde la frase hasta el final"));
    layout->addWidget(after_, 1);
    layout->addLayout(buttons);
    // Placed by the main window, which fits a dialog to its contents: this is the least it keeps.
    setMinimumSize(900, 640);
}

QFrame* SearchUtilityDialog::buildFieldPanel(const char* name, bool repertory) {
    QFrame* panel = widgets::panel(this, name);
    auto* group = new QButtonGroup(panel);
    auto* grid = new QGridLayout(panel);
    int i = 0;
    for (const FieldChoice& c : repertory ? std::span<const FieldChoice>(kRepertoryFields)
                                          : std::span<const FieldChoice>(kDatabaseFields)) {
        auto* b = widgets::named<QRadioButton>(panel, c.name, fromCp(c.caption));
        group->addButton(b);
        const UtilityField field = c.field;
        connect(b, &QRadioButton::clicked, this, [this, field] { chooseField(field); });
        fieldChoices_.emplace_back(b, field);
        grid->addWidget(b, i / 5, i % 5);
        ++i;
    }
    return panel;
}

void SearchUtilityDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    finder_.emplace(ws_.root);
    phrase_->clear();
    for (auto& [button, field] : fieldChoices_)
        button->setChecked(field == UtilityField::Name || field == UtilityField::TherapyRemedy);
    databaseChoice_->setChecked(true);
    chooseArchive(false);
    phrase_->setFocus(Qt::OtherFocusReason);
    // Both files must be there, as the window works on them.
    guarded(this, [&] {
        (void)KnowledgeFile<RemedyRecord>(ws_.root.resolve(kRemedyDatabaseFile)).count();
        (void)KnowledgeFile<TherapyRecord>(ws_.root.resolve(kRepertoryFile)).count();
    });
}

void SearchUtilityDialog::chooseArchive(bool repertory) {
    databasePanel_->setVisible(!repertory);
    repertoryPanel_->setVisible(repertory);
    for (auto& [button, field] : fieldChoices_)
        if (button->isChecked() && isRepertoryField(field) == repertory) {
            chooseField(field);
            return;
        }
}

void SearchUtilityDialog::chooseField(UtilityField field) {
    if (finder_) finder_->setField(field);
    stop();
    filling_ = true;
    before_->clear();
    after_->clear();
    filling_ = false;
    position_->clear();
    remedy_->clear();
    saveButton_->setEnabled(false);
}

// Any change of the phrase, the field or the archive ends the search under way.
void SearchUtilityDialog::stop() {
    searchButton_->setText(QStringLiteral("Cerca"));
    atEnd_ = false;
}

void SearchUtilityDialog::setTexts(const QString& before, const QString& after) {
    filling_ = true;
    before_->setPlainText(before);
    after_->setPlainText(after);
    filling_ = false;
}

void SearchUtilityDialog::search() {
    if (!finder_) return;
    if (saveButton_->isEnabled() && askYesNo(this, QStringLiteral("Utility Ricerca"), fromCp(kSaveQuestion))) {
        saveCorrection();
        return;
    }
    saveButton_->setEnabled(false);
    if (!finder_->underWay()) finder_->setPhrase(toCp(phrase_->text()));
    std::optional<UtilityFind> find;
    const bool ok = guarded(this, [&] {
        runInBackground(this, QStringLiteral("Buscando la frase"), [&](const WorkProgress&) { find = finder_->next(); });
    });
    if (!ok) return;
    if (!find) {
        atEnd_ = true;
        const QString end = fromCp(kEndOfArchive);
        setTexts(end, end);
        remedy_->setText(end);
        position_->setText(QString::number(finder_->lastRecord()));
        length_->clear();
        searchButton_->setText(QStringLiteral("Cerca"));
        return;
    }
    atEnd_ = false;
    remedy_->setText(fromCp(find->remedy));
    length_->setText(fromCp(find->lengthText));
    setTexts(shownForm(fromCp(find->before)), shownForm(fromCp(find->after)));
    position_->setText(QString::number(find->next));
    searchButton_->setText(QStringLiteral("Continua"));
    saveButton_->setEnabled(false);
}

bool SearchUtilityDialog::saveCorrection() {
    if (atEnd_ || !finder_) return false;
    const std::string before = toCp(storedForm(before_->toPlainText()));
    const std::string after = toCp(storedForm(after_->toPlainText()));
    bool saved = false;
    const bool ok = guarded(this, [&] {
        runInBackground(this, QStringLiteral("Guardando la correcci\u00F3n"),
                        [&](const WorkProgress&) { saved = finder_->save(before, after); });
    });
    if (!ok || !saved) return false;
    saveButton_->setEnabled(false);
    return true;
}

void SearchUtilityDialog::reject() {
    if (saveButton_->isEnabled() && askYesNo(this, QStringLiteral("Utility Ricerca"), fromCp(kSaveQuestion)) &&
        !saveCorrection())
        return;  // the save failed: the correction stays on screen
    saveButton_->setEnabled(false);
    QDialog::reject();
}

}  // namespace athanor
