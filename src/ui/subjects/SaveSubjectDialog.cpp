#include "ui/subjects/SaveSubjectDialog.h"

#include "ui/common/TextEditorDialog.h"
#include "subjects/Archive.h"
#include "subjects/SubjectFiles.h"
#include "subjects/TimeZones.h"
#include "ui/subjects/ArchiveList.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

namespace athanor {

SaveSubjectDialog::SaveSubjectDialog(Workstation& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName("FormRegSpa");
    setWindowTitle(fromCp("Registro de las fechas de nacimiento"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    archives_ = widgets::lineList(this, "ListBox1", 6, 17);
    archives_->setToolTip(fromCp("Clic para elegir el archivo"));
    editArchi_ = widgets::field(this, "EditArchi", 4, true);
    editArchi_->setFixedWidth(60);
    auto* archiveBox = new QVBoxLayout;
    archiveBox->addWidget(new QLabel(fromCp("Archivos"), this));
    archiveBox->addWidget(archives_);
    archiveBox->addWidget(new QLabel(fromCp("Seleccionado"), this));
    archiveBox->addWidget(editArchi_);
    archiveBox->addStretch();

    auto* data = new QGroupBox(fromCp("Los datos ya no son editables"), this);
    data->setObjectName("GroupBoxDati");
    nome_ = widgets::field(data, "EditNomeSogg", 0, true);
    data_ = widgets::field(data, "EditDataNasc", 0, true);
    gmt_ = widgets::field(data, "EditGmt", 0, true);
    localita_ = widgets::field(data, "EditLocalita", 0, true);
    calend_ = widgets::field(data, "EditCalend", 0, true);
    jd_ = widgets::field(data, "EditJd", 0, true);
    coord_ = widgets::field(data, "EditCoord", 0, true);
    stato_ = widgets::field(data, "EditStato", 0, true);
    auto* grid = new QGridLayout(data);
    grid->addWidget(new QLabel(fromCp("Nombre"), data), 0, 0);
    grid->addWidget(nome_, 0, 1, 1, 3);
    grid->addWidget(new QLabel(fromCp("Fecha"), data), 1, 0);
    grid->addWidget(data_, 1, 1);
    grid->addWidget(new QLabel(fromCp("GMT"), data), 1, 2);
    grid->addWidget(gmt_, 1, 3);
    grid->addWidget(new QLabel(fromCp("Localidad"), data), 2, 0);
    grid->addWidget(localita_, 2, 1, 1, 3);
    grid->addWidget(new QLabel(fromCp("Calendario"), data), 3, 0);
    grid->addWidget(calend_, 3, 1);
    grid->addWidget(new QLabel(fromCp("D\xED" "a juliano"), data), 3, 2);
    grid->addWidget(jd_, 3, 3);
    grid->addWidget(new QLabel(fromCp("Coordenadas"), data), 4, 0);
    grid->addWidget(coord_, 4, 1);
    grid->addWidget(new QLabel(fromCp("Pa\xEDs"), data), 4, 2);
    grid->addWidget(stato_, 4, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    // Shown, not edited: Tab goes from the archives to the notes.
    for (QLineEdit* e : {editArchi_, nome_, data_, gmt_, localita_, calend_, jd_, coord_, stato_})
        e->setFocusPolicy(Qt::ClickFocus);

    auto* notes = new QGroupBox(fromCp("Notas"), this);
    notes->setObjectName("GroupBoxNote");
    auto* notesGrid = new QGridLayout(notes);
    const int caps[] = {70, 70, 70, 65};
    const QFontMetrics mono(QFont("DejaVu Sans Mono", 9));
    for (int i = 0; i < 4; ++i) {
        const std::string name = "EditMemo" + std::to_string(i + 1);
        QLineEdit* e = widgets::field(notes, name.c_str(), caps[i]);
        e->setFont(QFont("DejaVu Sans Mono", 9));
        e->setMinimumWidth(mono.horizontalAdvance(QString(70, 'M')) + 12);
        forceUpperCase(e);
        e->installEventFilter(this);
        memo_[static_cast<size_t>(i)] = e;
        notesGrid->addWidget(e, i, 0, 1, 3);
    }
    nfile_ = widgets::field(notes, "EditNfile", 5, true);
    nfile_->setFocusPolicy(Qt::ClickFocus);
    nfile_->setFixedWidth(70);
    notesGrid->addWidget(new QLabel(fromCp("Documento de texto"), notes), 4, 1, Qt::AlignRight);
    notesGrid->addWidget(nfile_, 4, 2);
    notesGrid->setColumnStretch(0, 1);

    registra_ = widgets::button(this, "BitBtnRegistra", "GUARDAR", widgets::EnterKey::Ignored);
    regText_ = widgets::button(this, "BBregText", "Guardar y Crear Archivos de Texto", widgets::EnterKey::Ignored);
    auto* annulla = widgets::button(this, "BBannulla", "&Anular  y  Volver", widgets::EnterKey::Ignored);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(registra_);
    buttons->addWidget(regText_);
    buttons->addStretch();
    buttons->addWidget(annulla);

    auto* top = new QHBoxLayout;
    top->addLayout(archiveBox);
    top->addWidget(data, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(notes);
    layout->addLayout(buttons);

    setTabOrder(archives_, memo_[0]);
    for (size_t i = 1; i < memo_.size(); ++i) setTabOrder(memo_[i - 1], memo_[i]);
    setTabOrder(memo_[3], registra_);
    setTabOrder(registra_, regText_);
    setTabOrder(regText_, annulla);

    connect(archives_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { chooseArchive(item->text()); });
    connect(registra_, &QPushButton::clicked, this, [this] {
        if (save()) accept();
    });
    connect(regText_, &QPushButton::clicked, this, &SaveSubjectDialog::saveWithText);
    connect(annulla, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(sizeHint());
}

void SaveSubjectDialog::setHandOff(const SaveInput& input) { input_ = input; }

void SaveSubjectDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    saved_.reset();
    savedArchive_.clear();
    for (QLineEdit* e : memo_) e->clear();
    nfile_->clear();
    editArchi_->clear();
    guarded(this, [&] {
        const int base = fillArchiveList(archives_, ws_.root, true);
        if (base >= 0) chooseArchive(archives_->item(base)->text());
    });
    registra_->setEnabled(!editArchi_->text().isEmpty());
    regText_->setEnabled(!editArchi_->text().isEmpty());
    nome_->setText(fromCp(input_.name));
    data_->setText(fromCp(input_.displayDate));
    localita_->setText(fromCp(input_.locality));
    coord_->setText(fromCp(input_.coordText));
    gmt_->setText(fromCp(input_.zoneText));
    calend_->setText(fromCp(calendarCaption(input_.calendarFlag)));
    stato_->setText(fromCp(input_.country));
    // The first 12 characters of its decimal text, with the comma of the other windows.
    jd_->setText(fromCp(zoneDecimalText(localJulianDay(input_)).substr(0, 12)));
    memo_[0]->setFocus(Qt::OtherFocusReason);
}

void SaveSubjectDialog::chooseArchive(const QString& caption) {
    editArchi_->setText(caption.left(4));
    registra_->setEnabled(true);
    regText_->setEnabled(true);
}

bool SaveSubjectDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        for (int i = 0; i < 4; ++i) {
            if (watched != memo_[static_cast<size_t>(i)]) continue;
            const int key = static_cast<QKeyEvent*>(event)->key();
            const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
            if (enter || key == Qt::Key_Down) {
                if (i < 3) memo_[static_cast<size_t>(i + 1)]->setFocus(Qt::TabFocusReason);
                else if (enter) registra_->setFocus(Qt::TabFocusReason);
                return true;
            }
            if (key == Qt::Key_Up) {
                if (i > 0) memo_[static_cast<size_t>(i - 1)]->setFocus(Qt::TabFocusReason);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool SaveSubjectDialog::save() {
    const std::string archive = toCp(editArchi_->text());
    if (!isArchiveName(archive)) return false;
    SaveRequest request;
    request.archive = archive;
    for (size_t i = 0; i < memo_.size(); ++i) request.notes[i] = toCp(memo_[i]->text());
    request.documentNumber = toCp(nfile_->text());
    return guarded(this, [&] {
        BusyCursor busy;
        saved_ = saveSubject(ws_.root, ws_.chart, *ws_.corrections, input_, request);
        savedArchive_ = Archive(ws_.root, archive).name();
    });
}

void SaveSubjectDialog::saveWithText() {
    const std::string archive = toCp(editArchi_->text());
    if (!isArchiveName(archive)) return;
    std::string number;
    if (!guarded(this, [&] { number = createTextDocument(ws_.root, archive, input_.name); })) return;
    nfile_->setText(fromCp(number));
    TextEditorDialog editor(ws_.root, Archive(ws_.root, archive).textDocument(number), this);
    editor.exec();
    if (save()) accept();
}

void SaveSubjectDialog::done(int result) {
    if (saved_ && !savedArchive_.empty()) {
        guarded(this, [&] {
            writeArchiveMemo(ws_.root, {savedArchive_, saved_->entryText, saved_->position, input_.name});
        });
    }
    archives_->clear();
    QDialog::done(result);
}

}  // namespace athanor
