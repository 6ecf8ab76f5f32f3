#include "ui/subjects/SaveSubjectDialog.h"

#include "foundations/Format.h"
#include "subjects/Archive.h"
#include "subjects/SubjectFiles.h"
#include "subjects/TimeZones.h"
#include "ui/common/TextEditorWindow.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"
#include "ui/subjects/ArchivePickerPanel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace athanor {

namespace names {
constexpr const char* kWindow = "FormRegSpa";
constexpr const char* kArchiveList = "ListBox1";
constexpr const char* kDataPanel = "GroupBoxDati";
constexpr const char* kName = "EditNomeSogg";
constexpr const char* kDate = "EditDataNasc";
constexpr const char* kCorrection = "EditGmt";
constexpr const char* kPlace = "EditLocalita";
constexpr const char* kCalendar = "EditCalend";
constexpr const char* kJulianDay = "EditJd";
constexpr const char* kCoordinates = "EditCoord";
constexpr const char* kCountry = "EditStato";
constexpr const char* kNotesPanel = "GroupBoxNote";
constexpr const char* kNotes[4] = {"EditMemo1", "EditMemo2", "EditMemo3", "EditMemo4"};
constexpr const char* kDocument = "EditNfile";
constexpr const char* kSave = "BitBtnRegistra";
constexpr const char* kSaveWithText = "BBregText";
constexpr const char* kCancel = "BBannulla";
}  // namespace names

using widgets::EnterKey;

SaveSubjectDialog::SaveSubjectDialog(Workstation& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName(names::kWindow);
    setWindowTitle(fromCp("Registro de las fechas de nacimiento"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    picker_ = new ArchivePickerPanel(ws_.root,
                                     {.archiveList = names::kArchiveList,
                                      .archiveLines = 6,
                                      .archiveTitle = "Archivos",
                                      .chosenCaption = "Seleccionado",
                                      .withTemporary = true},
                                     this);
    picker_->archiveList()->setToolTip(fromCp("Clic para elegir el archivo"));
    auto* top = new QHBoxLayout;
    top->addWidget(picker_);
    top->addWidget(buildDataPanel(), 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buildNotesPanel());
    layout->addLayout(buildButtons());
    setTabOrders();

    connect(picker_, &ArchivePickerPanel::archiveChosen, this, [this] {
        saveButton_->setEnabled(true);
        saveWithTextButton_->setEnabled(true);
    });
    connect(saveButton_, &QPushButton::clicked, this, [this] {
        if (save()) accept();
    });
    connect(saveWithTextButton_, &QPushButton::clicked, this, &SaveSubjectDialog::saveWithText);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(sizeHint());
}

// ---- building ----------------------------------------------------------------------

QGroupBox* SaveSubjectDialog::buildDataPanel() {
    auto* panel = widgets::group(this, names::kDataPanel, "Los datos ya no son editables");
    nameField_ = widgets::field(panel, names::kName, 0, true);
    dateField_ = widgets::field(panel, names::kDate, 0, true);
    correctionField_ = widgets::field(panel, names::kCorrection, 0, true);
    placeField_ = widgets::field(panel, names::kPlace, 0, true);
    calendarField_ = widgets::field(panel, names::kCalendar, 0, true);
    julianDayField_ = widgets::field(panel, names::kJulianDay, 0, true);
    coordField_ = widgets::field(panel, names::kCoordinates, 0, true);
    countryField_ = widgets::field(panel, names::kCountry, 0, true);
    // Shown, not edited: Tab goes from the archives to the notes.
    for (QLineEdit* e : {nameField_, dateField_, correctionField_, placeField_, calendarField_, julianDayField_,
                         coordField_, countryField_})
        e->setFocusPolicy(Qt::ClickFocus);
    auto* grid = new QGridLayout(panel);
    const auto put = [&](int row, int column, const char* caption, QLineEdit* field, int span = 1) {
        grid->addWidget(widgets::label(panel, caption), row, column);
        grid->addWidget(field, row, column + 1, 1, span);
    };
    put(0, 0, "Nombre", nameField_, 3);
    put(1, 0, "Fecha", dateField_);
    put(1, 2, "GMT", correctionField_);
    put(2, 0, "Localidad", placeField_, 3);
    put(3, 0, "Calendario", calendarField_);
    put(3, 2,
        "D\xED"
        "a juliano (TU)",
        julianDayField_);
    put(4, 0, "Coordenadas", coordField_);
    put(4, 2, "Pa\xEDs", countryField_);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return panel;
}

QGroupBox* SaveSubjectDialog::buildNotesPanel() {
    auto* panel = widgets::group(this, names::kNotesPanel, "Notas");
    auto* grid = new QGridLayout(panel);
    const int capacities[] = {70, 70, 70, 65};
    const QFontMetrics mono(widgets::monospace(9));
    for (int i = 0; i < 4; ++i) {
        QLineEdit* e = widgets::field(panel, names::kNotes[i], capacities[i]);
        e->setFont(widgets::monospace(9));
        e->setMinimumWidth(mono.horizontalAdvance(QString(70, 'M')) + 12);
        forceUpperCase(e);
        e->installEventFilter(this);
        noteEdits_[static_cast<size_t>(i)] = e;
        grid->addWidget(e, i, 0, 1, 3);
    }
    documentField_ = widgets::field(panel, names::kDocument, 5, true);
    documentField_->setFocusPolicy(Qt::ClickFocus);
    documentField_->setFixedWidth(70);
    grid->addWidget(widgets::label(panel, "Documento de texto"), 4, 1, Qt::AlignRight);
    grid->addWidget(documentField_, 4, 2);
    grid->setColumnStretch(0, 1);
    return panel;
}

QLayout* SaveSubjectDialog::buildButtons() {
    saveButton_ = widgets::button(this, names::kSave, "GUARDAR", EnterKey::Ignored);
    saveWithTextButton_ =
        widgets::button(this, names::kSaveWithText, "Guardar y Crear Archivos de Texto", EnterKey::Ignored);
    cancelButton_ = widgets::button(this, names::kCancel, "&Anular  y  Volver", EnterKey::Ignored);
    auto* row = new QHBoxLayout;
    row->addWidget(saveButton_);
    row->addWidget(saveWithTextButton_);
    row->addStretch();
    row->addWidget(cancelButton_);
    return row;
}

void SaveSubjectDialog::setTabOrders() {
    setTabOrder(picker_->archiveList(), noteEdits_[0]);
    for (size_t i = 1; i < noteEdits_.size(); ++i) setTabOrder(noteEdits_[i - 1], noteEdits_[i]);
    setTabOrder(noteEdits_[3], saveButton_);
    setTabOrder(saveButton_, saveWithTextButton_);
    setTabOrder(saveWithTextButton_, cancelButton_);
}

// ---- opening, saving and leaving ---------------------------------------------------------

void SaveSubjectDialog::setHandOff(const SaveInput& input) { input_ = input; }

void SaveSubjectDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    saved_.reset();
    savedArchive_.clear();
    for (QLineEdit* e : noteEdits_) e->clear();
    documentField_->clear();
    guarded(this, [&] { picker_->fill(); });
    saveButton_->setEnabled(!picker_->archive().empty());
    saveWithTextButton_->setEnabled(!picker_->archive().empty());
    nameField_->setText(fromCp(input_.name));
    dateField_->setText(fromCp(input_.moment.dateText()));
    placeField_->setText(fromCp(input_.locality));
    coordField_->setText(fromCp(input_.coordText));
    correctionField_->setText(fromCp(input_.zoneText));
    calendarField_->setText(fromCp(calendarCaption(input_.moment.calendarFlag())));
    countryField_->setText(fromCp(input_.country));
    // The first 12 characters of its decimal text, with the comma of the other windows.
    // The day in Universal Time, as the entry window shows it and the chart uses it.
    julianDayField_->setText(fromCp(zoneDecimalText(input_.moment.julianDay()).substr(0, 12)));
    noteEdits_[0]->setFocus(Qt::OtherFocusReason);
}

bool SaveSubjectDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        for (int i = 0; i < 4; ++i) {
            if (watched != noteEdits_[static_cast<size_t>(i)]) continue;
            const int key = static_cast<QKeyEvent*>(event)->key();
            const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
            if (enter || key == Qt::Key_Down) {
                if (i < 3) noteEdits_[static_cast<size_t>(i + 1)]->setFocus(Qt::TabFocusReason);
                else if (enter) saveButton_->setFocus(Qt::TabFocusReason);
                return true;
            }
            if (key == Qt::Key_Up) {
                if (i > 0) noteEdits_[static_cast<size_t>(i - 1)]->setFocus(Qt::TabFocusReason);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool SaveSubjectDialog::save() {
    const std::string archive = picker_->archive();
    if (!isArchiveName(archive)) return false;
    SaveRequest request;
    request.archive = archive;
    for (size_t i = 0; i < noteEdits_.size(); ++i) request.notes[i] = toCp(noteEdits_[i]->text());
    request.documentNumber = toCp(documentField_->text());
    return guarded(this, [&] {
        BusyCursor busy;
        saved_ = saveSubject(ws_.root, ws_.chart, *ws_.corrections, input_, request);
        savedArchive_ = Archive(ws_.root, archive).name();
        showStatus(
            QStringLiteral("%1 guardado en el archivo %2").arg(fromCp(trimRight(input_.name)), fromCp(savedArchive_)));
    });
}

void SaveSubjectDialog::saveWithText() {
    const std::string archive = picker_->archive();
    if (!isArchiveName(archive)) return;
    std::string number;
    if (!guarded(this, [&] { number = createTextDocument(ws_.root, archive, input_.name); })) return;
    documentField_->setText(fromCp(number));
    TextEditorWindow editor(ws_.root, this);
    editor.exec();
    if (save()) accept();
}

void SaveSubjectDialog::done(int result) {
    if (saved_ && !savedArchive_.empty()) {
        guarded(this, [&] {
            writeArchiveMemo(ws_.root, {savedArchive_, saved_->entryText, saved_->position, input_.name});
        });
    }
    picker_->close();
    QDialog::done(result);
}

}  // namespace athanor
