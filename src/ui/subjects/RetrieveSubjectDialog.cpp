#include "ui/subjects/RetrieveSubjectDialog.h"

#include "subjects/SubjectFiles.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"
#include "ui/subjects/ArchivePickerPanel.h"
#include "ui/subjects/NameBrowserView.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace athanor {

namespace names {
constexpr const char* kWindow = "FormRich";
constexpr const char* kArchiveList = "ListaArchivi";
constexpr const char* kName = "EditNome";
constexpr const char* kDate = "EditData";
constexpr const char* kPlace = "EditLocal";
constexpr const char* kCountry = "EditNaz";
constexpr const char* kCorrection = "EditCorr";
constexpr const char* kCoordinates = "EditCoord";
constexpr const char* kCalendar = "EditCal";
constexpr const char* kNotes = "MemoAnnotaz";
constexpr const char* kOk = "BitBtnOK";
constexpr const char* kInvert = "BitBtnInverti";
constexpr const char* kCancel = "BitBtnAnnulla";
}  // namespace names

using widgets::EnterKey;

RetrieveSubjectDialog::RetrieveSubjectDialog(Workstation& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName(names::kWindow);
    setWindowTitle(fromCp("Llame los datos desde la base de datos"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    picker_ = new ArchivePickerPanel(ws_.root,
                                     {.archiveList = names::kArchiveList,
                                      .archiveTitle = "Base de datos",
                                      .chosenCaption = "Seleccionada",
                                      .browser = &BrowserLayout::retrieval,
                                      .browserTitle = "Escribir las primeras letras del nombre",
                                      .browserHint = "Haga doble clic para seleccionar"},
                                     this);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(buildSubjectPanel(), 1);
    bottom->addSpacing(8);
    bottom->addLayout(buildNotesPanel(), 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picker_);
    layout->addLayout(bottom);
    layout->addLayout(buildButtons());
    connectParts();
    setFixedSize(sizeHint());
}

// ---- building ----------------------------------------------------------------------

QLayout* RetrieveSubjectDialog::buildSubjectPanel() {
    nameEdit_ = widgets::field(this, names::kName, 38);
    forceUpperCase(nameEdit_);
    dateField_ = widgets::field(this, names::kDate, 0, true);
    placeEdit_ = widgets::field(this, names::kPlace, 27);
    forceUpperCase(placeEdit_);
    countryEdit_ = widgets::field(this, names::kCountry, 20);
    forceUpperCase(countryEdit_);
    correctionField_ = widgets::field(this, names::kCorrection, 0, true);
    coordField_ = widgets::field(this, names::kCoordinates, 0, true);
    calendarField_ = widgets::field(this, names::kCalendar, 0, true);
    // Shown, not edited: Tab goes from one editable field to the next.
    for (QLineEdit* e : {dateField_, correctionField_, coordField_, calendarField_}) e->setFocusPolicy(Qt::ClickFocus);
    auto* grid = new QGridLayout;
    int row = 0;
    for (auto [caption, w] : {std::pair{"Nombre", nameEdit_},
                              {"Fecha", dateField_},
                              {"Localidad", placeEdit_},
                              {"Pa\xEDs", countryEdit_},
                              {"Correcci\xF3n", correctionField_},
                              {"Coordenadas", coordField_},
                              {"Calendario", calendarField_}}) {
        grid->addWidget(widgets::label(this, caption), row, 0);
        grid->addWidget(w, row++, 1);
    }
    auto* column = new QVBoxLayout;
    column->addLayout(grid);
    column->addStretch();
    return column;
}

QLayout* RetrieveSubjectDialog::buildNotesPanel() {
    notesMemo_ = widgets::memo(this, names::kNotes);
    notesMemo_->setFixedHeight(QFontMetrics(notesMemo_->font()).lineSpacing() * 8 + 10);
    auto* column = new QVBoxLayout;
    column->addWidget(widgets::label(this, "Notas"));
    column->addWidget(notesMemo_);
    column->addStretch();
    return column;
}

QLayout* RetrieveSubjectDialog::buildButtons() {
    okButton_ = widgets::button(this, names::kOk, "&OK", EnterKey::Ignored);
    invertButton_ = widgets::button(this, names::kInvert, "Invertir Apellido / Nombre", EnterKey::Ignored);
    cancelButton_ = widgets::button(this, names::kCancel, "&Anular", EnterKey::Ignored);
    // The buttons in the order they stand.
    setTabOrder(notesMemo_, invertButton_);
    setTabOrder(invertButton_, okButton_);
    setTabOrder(okButton_, cancelButton_);
    auto* row = new QHBoxLayout;
    row->addWidget(invertButton_);
    row->addStretch();
    row->addWidget(okButton_);
    row->addWidget(cancelButton_);
    return row;
}

void RetrieveSubjectDialog::connectParts() {
    NameBrowserView& names = picker_->names();
    connect(&names, &NameBrowserView::loadRequested, this, &RetrieveSubjectDialog::load);
    connect(&names, &NameBrowserView::fieldEntered, this, &RetrieveSubjectDialog::clearSubject);
    connect(&names, &NameBrowserView::picked, this, [this] { clearSubject(); });
    connect(picker_, &ArchivePickerPanel::archiveChosen, this, [this] {
        loaded_.reset();
        clearSubject();
    });
    connect(invertButton_, &QPushButton::clicked, this, &RetrieveSubjectDialog::invertName);
    connect(okButton_, &QPushButton::clicked, this, &RetrieveSubjectDialog::ok);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

// ---- opening, loading and leaving ----------------------------------------------------

void RetrieveSubjectDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    inversion_.reset();
    loaded_.reset();
    loadedPosition_ = 0;
    clearSubject();
    guarded(this, [&] { picker_->fill(); });
    // Typing starts in the search box: no key is lost.
    picker_->nameField()->setFocus(Qt::OtherFocusReason);
}

void RetrieveSubjectDialog::clearSubject() {
    for (QLineEdit* e :
         {nameEdit_, dateField_, placeEdit_, countryEdit_, correctionField_, coordField_, calendarField_})
        e->clear();
    notesMemo_->clear();
    for (QLineEdit* e : {nameEdit_, placeEdit_, countryEdit_}) e->setEnabled(false);
    okButton_->setEnabled(false);
    invertButton_->setEnabled(false);
}

void RetrieveSubjectDialog::load(int position) {
    ArchiveBrowser& b = picker_->browser();
    if (b.fieldColour() == ArchiveBrowser::Colour::Red) {
        picker_->names().clearField();
        return;
    }
    if (b.fieldText().empty() || !b.isOpen()) return;
    guarded(this, [&] {
        const auto lines = b.lines();
        const std::string fifth = lines.size() > 4 ? lines[4] : std::string();
        // The entry asked for: typed, clicked or picked with the keys.
        const std::string entry = position > 0 ? b.archive().readEntry(position) : b.fieldText();
        auto subject = retrieveSubject(ws_.root, b.archive(), entry, fifth);
        if (!subject) {
            b.enterField();
            picker_->names().redraw();
            return;
        }
        loaded_ = std::move(*subject);
        loadedPosition_ = position;
        nameEdit_->setText(fromCp(loaded_->name.substr(0, 38)));
        nameEdit_->setCursorPosition(0);  // a long name shows its beginning
        dateField_->setText(fromCp(loaded_->displayDate));
        correctionField_->setText(fromCp(loaded_->correction));
        coordField_->setText(fromCp(loaded_->coordText));
        placeEdit_->setText(fromCp(loaded_->locality));
        countryEdit_->setText(fromCp(loaded_->country));
        calendarField_->setText(fromCp(loaded_->calendar));
        QStringList memo;
        if (loaded_->hasNotes) {
            for (const auto& l : loaded_->memo) memo << fromCp(l);
        }
        notesMemo_->setPlainText(memo.join('\n'));
        for (QLineEdit* e : {nameEdit_, placeEdit_, countryEdit_}) e->setEnabled(true);
        okButton_->setEnabled(true);
        invertButton_->setEnabled(true);
        okButton_->setFocus();
        picker_->names().clearField();
        b.setLoaded(true);
    });
}

void RetrieveSubjectDialog::invertName() {
    if (!loaded_) return;
    const QString name = fromCp(inversion_.press(loaded_->words));
    nameEdit_->setText(name);
    picker_->nameField()->setText(name);
}

void RetrieveSubjectDialog::ok() {
    if (picker_->browser().fieldColour() == ArchiveBrowser::Colour::Red) {
        picker_->nameField()->clear();
        setStateColour(picker_->nameField(), StateColour::Aqua);
        return;
    }
    if (!loaded_) return;
    if (!guarded(this, [&] {
            makeRetrievedCurrent(ws_.root, *loaded_, toCp(nameEdit_->text()), toCp(placeEdit_->text()),
                                 toCp(countryEdit_->text()));
        })) {
        return;
    }
    accept();
}

void RetrieveSubjectDialog::done(int result) {
    if (loaded_ && picker_->browser().isOpen()) {
        guarded(this, [&] {
            writeArchiveMemo(ws_.root, {picker_->browser().archive().name(), loaded_->entryText, loadedPosition_,
                                        toCp(nameEdit_->text())});
        });
    }
    picker_->close();
    QDialog::done(result);
}

}  // namespace athanor
