#include "ui/subjects/ModifySubjectDialog.h"

#include "subjects/SubjectFiles.h"
#include "ui/common/TextEditorWindow.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"
#include "ui/subjects/ArchivePickerPanel.h"
#include "ui/subjects/NameBrowserView.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace athanor {

namespace names {
constexpr const char* kWindow = "FoModifi";
constexpr const char* kArchiveList = "ListBox1";
constexpr const char* kBrowserPanel = "GroupBoxElenco";
constexpr const char* kDataPanel = "GroupBoxDati";
constexpr const char* kNotesPanel = "GroupBoxAnnot";
constexpr const char* kNotesPlaceholder = "GroupBoxAnnotFinto";
constexpr const char* kName = "EditNomeSogg";
constexpr const char* kDate = "EditDataNasc";
constexpr const char* kTime = "EditOraNasc";
constexpr const char* kCalendar = "EditCalend";
constexpr const char* kPlace = "EditLocalita";
constexpr const char* kCorrection = "EditGmt";
constexpr const char* kCoordinates = "EditCoordi";
constexpr const char* kCountry = "EditStato";
constexpr const char* kNotes[4] = {"EditMemo1", "EditMemo2", "EditMemo3", "EditMemo4"};
constexpr const char* kDocument = "EditNfile";
constexpr const char* kList = "BitBtnElenco";
constexpr const char* kSave = "BitBtnRegistra";
constexpr const char* kText = "BBtesto";
constexpr const char* kAgain = "BitBtnAncora";
constexpr const char* kBack = "BitBtn3";
}  // namespace names

using widgets::EnterKey;

ModifySubjectDialog::ModifySubjectDialog(Workstation& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName(names::kWindow);
    setWindowTitle(fromCp("Cambiar la fecha de nacimiento"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    picker_ = new ArchivePickerPanel(ws_.root,
                                     {.archiveList = names::kArchiveList,
                                      .archiveTitle = "DATABASE",
                                      .browser = &BrowserLayout::modification,
                                      .browserBox = names::kBrowserPanel,
                                      .browserTitle = "Primeras letras del nombre",
                                      .browserHint = "Doble clic en el nombre seleccionado"},
                                     this);
    // The data panel takes the browser's place once a subject is loaded.
    picker_->addInBrowserPlace(buildDataPanel());
    notesPanel_ = buildNotesPanel(names::kNotesPanel, true);
    notesPlaceholder_ = buildNotesPanel(names::kNotesPlaceholder, false);
    notesPlaceholder_->setEnabled(false);
    auto* notesPlace = new QGridLayout;
    notesPlace->addWidget(notesPanel_, 0, 0);
    notesPlace->addWidget(notesPlaceholder_, 0, 0);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picker_);
    layout->addLayout(notesPlace);
    layout->addLayout(buildButtons());
    connectParts();
    browserView();
    setFixedSize(sizeHint());
}

// ---- building ----------------------------------------------------------------------

QGroupBox* ModifySubjectDialog::buildDataPanel() {
    dataPanel_ = widgets::group(this, names::kDataPanel, "Fecha de Nacimiento");
    nameEdit_ = widgets::field(dataPanel_, names::kName, 38);
    dateEdit_ = widgets::field(dataPanel_, names::kDate, 10);
    timeEdit_ = widgets::field(dataPanel_, names::kTime, 5);
    calendarEdit_ = widgets::field(dataPanel_, names::kCalendar, 10);
    placeEdit_ = widgets::field(dataPanel_, names::kPlace, 27);
    correctionEdit_ = widgets::field(dataPanel_, names::kCorrection, 8);
    coordEdit_ = widgets::field(dataPanel_, names::kCoordinates, 12);
    countryEdit_ = widgets::field(dataPanel_, names::kCountry, 20);
    for (QLineEdit* e : {nameEdit_, calendarEdit_, placeEdit_, coordEdit_, countryEdit_}) forceUpperCase(e);
    // Row by row, as the fields stand.
    setTabOrder(calendarEdit_, correctionEdit_);
    setTabOrder(correctionEdit_, placeEdit_);
    setTabOrder(placeEdit_, coordEdit_);
    listButton_ = widgets::button(dataPanel_, names::kList, "List", EnterKey::Ignored);
    auto* grid = new QGridLayout(dataPanel_);
    grid->addWidget(widgets::label(dataPanel_, "Respetar formatos correctos"), 0, 0, 1, 4);
    const auto put = [&](int row, int column, const char* caption, QLineEdit* field, int span = 1) {
        grid->addWidget(widgets::label(dataPanel_, caption), row, column);
        grid->addWidget(field, row, column + 1, 1, span);
    };
    put(1, 0, "Nombre", nameEdit_, 3);
    put(2, 0, "Fecha", dateEdit_);
    put(2, 2, "Hora", timeEdit_);
    put(3, 0, "Calendario", calendarEdit_);
    put(3, 2, "Corr", correctionEdit_);
    put(4, 0, "Localidad", placeEdit_, 3);
    put(5, 0, "Coordenadas", coordEdit_);
    put(5, 2, "Pa\xEDs", countryEdit_);
    grid->addWidget(listButton_, 6, 3, Qt::AlignRight);
    return dataPanel_;
}

// The notes, or their greyed stand-in with the same look and no names.
QGroupBox* ModifySubjectDialog::buildNotesPanel(const char* name, bool real) {
    auto* box = widgets::group(this, name, "Anotaciones");
    auto* grid = new QGridLayout(box);
    const int capacities[] = {70, 70, 70, 65};
    for (int i = 0; i < 4; ++i) {
        QLineEdit* e = real ? widgets::field(box, names::kNotes[i], capacities[i]) : new QLineEdit(box);
        e->setFont(widgets::monospace(8));
        if (real) {
            forceUpperCase(e);
            noteEdits_[static_cast<size_t>(i)] = e;
        }
        grid->addWidget(e, i, 0, 1, 2);
    }
    QLineEdit* document = real ? widgets::field(box, names::kDocument, 5) : new QLineEdit(box);
    document->setFixedWidth(70);
    if (real) documentEdit_ = document;
    grid->addWidget(widgets::label(box, "Texto"), 4, 0, Qt::AlignRight);
    grid->addWidget(document, 4, 1);
    return box;
}

QLayout* ModifySubjectDialog::buildButtons() {
    saveButton_ = widgets::button(this, names::kSave, "&GUARDAR", EnterKey::Ignored);
    textButton_ = widgets::button(this, names::kText, "Crear / Actualizar texto ampliado", EnterKey::Ignored);
    againButton_ = widgets::button(this, names::kAgain, "&Otra vez", EnterKey::Ignored);
    backButton_ = widgets::button(this, names::kBack, "Volver al Men\xFA Principal", EnterKey::Ignored);
    auto* row = new QHBoxLayout;
    row->addWidget(saveButton_);
    row->addWidget(textButton_);
    row->addWidget(againButton_);
    row->addStretch();
    row->addWidget(backButton_);
    return row;
}

void ModifySubjectDialog::connectParts() {
    NameBrowserView& names = picker_->names();
    connect(&names, &NameBrowserView::loadRequested, this, &ModifySubjectDialog::load);
    connect(&names, &NameBrowserView::fieldEntered, this, [this] {
        picker_->reopen();
        picker_->browser().enterField();
        picker_->names().redraw();
    });
    connect(listButton_, &QPushButton::clicked, this, &ModifySubjectDialog::browserView);
    connect(againButton_, &QPushButton::clicked, this, &ModifySubjectDialog::browserView);
    connect(saveButton_, &QPushButton::clicked, this, [this] { save(); });
    connect(textButton_, &QPushButton::clicked, this, &ModifySubjectDialog::textDocument);
    connect(backButton_, &QPushButton::clicked, this, &QDialog::reject);
}

// ---- browsing, loading, saving -----------------------------------------------------------

void ModifySubjectDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    subject_.reset();
    browserView();
    guarded(this, [&] { picker_->fill(); });
    picker_->nameField()->setFocus(Qt::OtherFocusReason);  // typing starts in the search box
}

void ModifySubjectDialog::browserView() {
    picker_->browserBox()->show();
    notesPlaceholder_->show();
    dataPanel_->hide();
    notesPanel_->hide();
    dataPanel_->setEnabled(true);
    saveButton_->setEnabled(false);
    textButton_->setEnabled(false);
    againButton_->setEnabled(false);
    picker_->archiveList()->setEnabled(true);
    listButton_->setEnabled(true);
}

void ModifySubjectDialog::load(int position) {
    if (!picker_->browser().isOpen()) return;
    guarded(this, [&] {
        auto subject = loadForModify(picker_->browser().archive(), position);
        if (!subject) {
            picker_->browser().enterField();
            picker_->names().redraw();
            return;
        }
        subject_ = std::move(*subject);
        writeForm(subject_->form);
        picker_->browserBox()->hide();
        notesPlaceholder_->hide();
        dataPanel_->show();
        notesPanel_->show();
        dataPanel_->setEnabled(true);
        saveButton_->setEnabled(true);
        textButton_->setEnabled(true);
        picker_->archiveList()->setEnabled(false);
        nameEdit_->setFocus();
        if (!subject_->notesWarning.empty()) showMessage(this, MessageKind::Warning, fromCp(subject_->notesWarning));
    });
}

ModifyForm ModifySubjectDialog::readForm() const {
    ModifyForm f;
    f.name = toCp(nameEdit_->text());
    f.date = toCp(dateEdit_->text());
    f.time = toCp(timeEdit_->text());
    f.calendar = toCp(calendarEdit_->text());
    f.locality = toCp(placeEdit_->text());
    f.correction = toCp(correctionEdit_->text());
    f.coordText = toCp(coordEdit_->text());
    f.country = toCp(countryEdit_->text());
    for (size_t i = 0; i < 4; ++i) f.notes[i] = toCp(noteEdits_[i]->text());
    f.documentNumber = toCp(documentEdit_->text());
    return f;
}

void ModifySubjectDialog::writeForm(const ModifyForm& f) {
    nameEdit_->setText(fromCp(f.name));
    dateEdit_->setText(fromCp(f.date));
    timeEdit_->setText(fromCp(f.time));
    calendarEdit_->setText(fromCp(f.calendar));
    placeEdit_->setText(fromCp(f.locality));
    correctionEdit_->setText(fromCp(f.correction));
    coordEdit_->setText(fromCp(f.coordText));
    countryEdit_->setText(fromCp(f.country));
    for (size_t i = 0; i < 4; ++i) noteEdits_[i]->setText(fromCp(f.notes[i]));
    documentEdit_->setText(fromCp(f.documentNumber));
}

bool ModifySubjectDialog::save() {
    if (!subject_ || !dataPanel_->isVisible() || !picker_->browser().isOpen()) return false;
    const ModifyCheck check = checkModification(readForm());
    writeForm(check.form);
    if (!check.ok) {
        showMessage(this, MessageKind::Error, fromCp(check.message));
        return false;
    }
    if (check.needsConfirmation && !askYesNo(this, fromCp(kModifyConfirmCaption), fromCp(kModifyConfirmQuestion))) {
        return false;
    }
    dataPanel_->setEnabled(false);
    listButton_->setEnabled(false);
    const bool ok = guarded(this, [&] {
        BusyCursor busy;
        Archive archive = picker_->browser().archive();
        applyModification(ws_.chart, *ws_.corrections, archive, *subject_, check.form);
    });
    picker_->reopen();
    againButton_->setEnabled(true);
    picker_->archiveList()->setEnabled(false);
    saveButton_->setEnabled(false);
    textButton_->setEnabled(false);
    return ok;
}

void ModifySubjectDialog::textDocument() {
    if (!subject_ || !picker_->browser().isOpen()) return;
    std::string number;
    if (!guarded(this, [&] {
            Archive archive = picker_->browser().archive();
            number = prepareTextDocument(archive, toCp(documentEdit_->text()), toCp(nameEdit_->text()));
        })) {
        return;
    }
    documentEdit_->setText(fromCp(number));
    if (!save()) return;
    const std::string path = picker_->archive() + "txt\\" + number + ".txt";
    if (!guarded(this, [&] { writeEditTarget(ws_.root, path); })) return;
    TextEditorWindow editor(ws_.root, this);
    editor.exec();
}

void ModifySubjectDialog::done(int result) {
    picker_->close();
    subject_.reset();
    QDialog::done(result);
}

}  // namespace athanor
