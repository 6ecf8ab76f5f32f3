#include "ui/subjects/ModifySubjectDialog.h"

#include "ui/common/TextEditorDialog.h"
#include "subjects/SubjectFiles.h"
#include "ui/subjects/ArchiveList.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"
#include "ui/subjects/NameBrowserView.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

namespace athanor {

ModifySubjectDialog::ModifySubjectDialog(Workstation& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName("FoModifi");
    setWindowTitle(fromCp("Cambiar la fecha de nacimiento"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    archives_ = widgets::lineList(this, "ListBox1", 5, 17);
    editArchi_ = widgets::field(this, "EditArchi", 4, true);
    editArchi_->setFixedWidth(60);
    editArchi_->setFocusPolicy(Qt::ClickFocus);
    auto* archiveBox = new QVBoxLayout;
    archiveBox->addWidget(new QLabel(fromCp("DATABASE"), this));
    archiveBox->addWidget(archives_);
    archiveBox->addWidget(editArchi_);
    archiveBox->addStretch();

    // The browser and the data panel share one place.
    elenco_ = new QGroupBox(this);
    elenco_->setObjectName("GroupBoxElenco");
    soggetto_ = widgets::field(elenco_, "EditSoggetto", 43);
    soggetto_->setFont(QFont("DejaVu Sans Mono", 9));
    auto* nomi = widgets::lineList(elenco_, "ListaNomi", 8, 43);
    auto* bar = widgets::scrollBar(elenco_, "ScrollBar1");
    bar->setFixedHeight(nomi->height());
    auto* listRow = new QHBoxLayout;
    listRow->setSpacing(0);
    listRow->addWidget(nomi);
    listRow->addWidget(bar);
    listRow->addStretch();
    auto* elencoLayout = new QVBoxLayout(elenco_);
    elencoLayout->addWidget(new QLabel(fromCp("Primeras letras del nombre"), elenco_));
    elencoLayout->addWidget(soggetto_);
    elencoLayout->addLayout(listRow);
    elencoLayout->addWidget(new QLabel(fromCp("Doble clic en el nombre seleccionado"), elenco_));

    dati_ = new QGroupBox(fromCp("Fecha de Nacimiento"), this);
    dati_->setObjectName("GroupBoxDati");
    nome_ = widgets::field(dati_, "EditNomeSogg", 38);
    data_ = widgets::field(dati_, "EditDataNasc", 10);
    ora_ = widgets::field(dati_, "EditOraNasc", 5);
    calend_ = widgets::field(dati_, "EditCalend", 10);
    localita_ = widgets::field(dati_, "EditLocalita", 27);
    gmt_ = widgets::field(dati_, "EditGmt", 8);
    coordi_ = widgets::field(dati_, "EditCoordi", 12);
    stato_ = widgets::field(dati_, "EditStato", 20);
    for (QLineEdit* e : {nome_, calend_, localita_, coordi_, stato_}) forceUpperCase(e);
    // Row by row, as the fields stand.
    setTabOrder(calend_, gmt_);
    setTabOrder(gmt_, localita_);
    setTabOrder(localita_, coordi_);
    elencoButton_ = widgets::button(dati_, "BitBtnElenco", "List", widgets::EnterKey::Ignored);
    auto* datiGrid = new QGridLayout(dati_);
    datiGrid->addWidget(new QLabel(fromCp("Respetar formatos correctos"), dati_), 0, 0, 1, 4);
    datiGrid->addWidget(new QLabel(fromCp("Nombre"), dati_), 1, 0);
    datiGrid->addWidget(nome_, 1, 1, 1, 3);
    datiGrid->addWidget(new QLabel(fromCp("Fecha"), dati_), 2, 0);
    datiGrid->addWidget(data_, 2, 1);
    datiGrid->addWidget(new QLabel(fromCp("Hora"), dati_), 2, 2);
    datiGrid->addWidget(ora_, 2, 3);
    datiGrid->addWidget(new QLabel(fromCp("Calendario"), dati_), 3, 0);
    datiGrid->addWidget(calend_, 3, 1);
    datiGrid->addWidget(new QLabel(fromCp("Corr"), dati_), 3, 2);
    datiGrid->addWidget(gmt_, 3, 3);
    datiGrid->addWidget(new QLabel(fromCp("Localidad"), dati_), 4, 0);
    datiGrid->addWidget(localita_, 4, 1, 1, 3);
    datiGrid->addWidget(new QLabel(fromCp("Coordenadas"), dati_), 5, 0);
    datiGrid->addWidget(coordi_, 5, 1);
    datiGrid->addWidget(new QLabel(fromCp("Pa\xEDs"), dati_), 5, 2);
    datiGrid->addWidget(stato_, 5, 3);
    datiGrid->addWidget(elencoButton_, 6, 3, Qt::AlignRight);

    auto notesPanel = [this](QGroupBox* box, bool real) {
        auto* grid = new QGridLayout(box);
        const int caps[] = {70, 70, 70, 65};
        for (int i = 0; i < 4; ++i) {
            const std::string name = "EditMemo" + std::to_string(i + 1);
            QLineEdit* e = real ? widgets::field(box, name.c_str(), caps[i]) : new QLineEdit(box);
            e->setFont(QFont("DejaVu Sans Mono", 8));
            if (real) {
                forceUpperCase(e);
                memo_[static_cast<size_t>(i)] = e;
            }
            grid->addWidget(e, i, 0, 1, 2);
        }
        QLineEdit* n = real ? widgets::field(box, "EditNfile", 5) : new QLineEdit(box);
        n->setFixedWidth(70);
        if (real) nfile_ = n;
        grid->addWidget(new QLabel(fromCp("Texto"), box), 4, 0, Qt::AlignRight);
        grid->addWidget(n, 4, 1);
    };
    annot_ = new QGroupBox(fromCp("Anotaciones"), this);
    annot_->setObjectName("GroupBoxAnnot");
    notesPanel(annot_, true);
    annotFinto_ = new QGroupBox(fromCp("Anotaciones"), this);
    annotFinto_->setObjectName("GroupBoxAnnotFinto");
    notesPanel(annotFinto_, false);
    annotFinto_->setEnabled(false);

    registra_ = widgets::button(this, "BitBtnRegistra", "&GUARDAR", widgets::EnterKey::Ignored);
    testo_ = widgets::button(this, "BBtesto", "Crear / Actualizar texto ampliado", widgets::EnterKey::Ignored);
    ancora_ = widgets::button(this, "BitBtnAncora", "&Otra vez", widgets::EnterKey::Ignored);
    auto* ritorna = widgets::button(this, "BitBtn3", "Volver al Men\xFA Principal", widgets::EnterKey::Ignored);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(registra_);
    buttons->addWidget(testo_);
    buttons->addWidget(ancora_);
    buttons->addStretch();
    buttons->addWidget(ritorna);

    auto* place = new QGridLayout;
    place->addWidget(elenco_, 0, 0);
    place->addWidget(dati_, 0, 0);
    auto* top = new QHBoxLayout;
    top->addLayout(archiveBox);
    top->addLayout(place, 1);
    auto* notesPlace = new QGridLayout;
    notesPlace->addWidget(annot_, 0, 0);
    notesPlace->addWidget(annotFinto_, 0, 0);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(notesPlace);
    layout->addLayout(buttons);

    names_ = new NameBrowserView(BrowserLayout::modification, soggetto_, nomi, bar, this);
    connect(names_, &NameBrowserView::loadRequested, this, &ModifySubjectDialog::load);
    connect(names_, &NameBrowserView::message, this,
            [this](const QString& text) { showMessage(this, MessageKind::Error, text); });
    connect(names_, &NameBrowserView::fieldEntered, this, [this] {
        openArchive();
        names_->browser().enterField();
        names_->redraw();
    });
    connect(archives_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { chooseArchive(item->text()); });
    connect(elencoButton_, &QPushButton::clicked, this, &ModifySubjectDialog::browserView);
    connect(ancora_, &QPushButton::clicked, this, &ModifySubjectDialog::browserView);
    connect(registra_, &QPushButton::clicked, this, [this] { save(); });
    connect(testo_, &QPushButton::clicked, this, &ModifySubjectDialog::textDocument);
    connect(ritorna, &QPushButton::clicked, this, &QDialog::reject);
    browserView();
    setFixedSize(sizeHint());
}

void ModifySubjectDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    subject_.reset();
    browserView();
    guarded(this, [&] {
        const int base = fillArchiveList(archives_, ws_.root, false);
        if (base >= 0) chooseArchive(archives_->item(base)->text());
    });
}

void ModifySubjectDialog::chooseArchive(const QString& caption) {
    archive_ = toCp(caption.left(4));
    editArchi_->setText(fromCp(archive_));
    openArchive();
}

void ModifySubjectDialog::openArchive() {
    if (archive_.empty()) return;
    guarded(this, [&] {
        if (!names_->open(Archive(ws_.root, archive_))) showMessage(this, MessageKind::Error, kArchiveRefused);
    });
}

void ModifySubjectDialog::browserView() {
    elenco_->show();
    annotFinto_->show();
    dati_->hide();
    annot_->hide();
    dati_->setEnabled(true);
    registra_->setEnabled(false);
    testo_->setEnabled(false);
    ancora_->setEnabled(false);
    archives_->setEnabled(true);
    elencoButton_->setEnabled(true);
}

void ModifySubjectDialog::load(int position) {
    if (!names_->browser().isOpen()) return;
    guarded(this, [&] {
        auto subject = loadForModify(names_->browser().archive(), position);
        if (!subject) {
            names_->browser().enterField();
            names_->redraw();
            return;
        }
        subject_ = std::move(*subject);
        writeForm(subject_->form);
        elenco_->hide();
        annotFinto_->hide();
        dati_->show();
        annot_->show();
        dati_->setEnabled(true);
        registra_->setEnabled(true);
        testo_->setEnabled(true);
        archives_->setEnabled(false);
        nome_->setFocus();
    });
}

ModifyForm ModifySubjectDialog::readForm() const {
    ModifyForm f;
    f.name = toCp(nome_->text());
    f.date = toCp(data_->text());
    f.time = toCp(ora_->text());
    f.calendar = toCp(calend_->text());
    f.locality = toCp(localita_->text());
    f.correction = toCp(gmt_->text());
    f.coordText = toCp(coordi_->text());
    f.country = toCp(stato_->text());
    for (size_t i = 0; i < 4; ++i) f.notes[i] = toCp(memo_[i]->text());
    f.documentNumber = toCp(nfile_->text());
    return f;
}

void ModifySubjectDialog::writeForm(const ModifyForm& f) {
    nome_->setText(fromCp(f.name));
    data_->setText(fromCp(f.date));
    ora_->setText(fromCp(f.time));
    calend_->setText(fromCp(f.calendar));
    localita_->setText(fromCp(f.locality));
    gmt_->setText(fromCp(f.correction));
    coordi_->setText(fromCp(f.coordText));
    stato_->setText(fromCp(f.country));
    for (size_t i = 0; i < 4; ++i) memo_[i]->setText(fromCp(f.notes[i]));
    nfile_->setText(fromCp(f.documentNumber));
}

bool ModifySubjectDialog::save() {
    if (!subject_ || !dati_->isVisible() || !names_->browser().isOpen()) return false;
    const ModifyCheck check = checkModification(readForm());
    writeForm(check.form);
    if (!check.ok) {
        showMessage(this, MessageKind::Error, fromCp(check.message));
        return false;
    }
    if (check.needsConfirmation &&
        !askYesNo(this, fromCp(kModifyConfirmCaption), fromCp(kModifyConfirmQuestion))) {
        return false;
    }
    dati_->setEnabled(false);
    elencoButton_->setEnabled(false);
    const bool ok = guarded(this, [&] {
        BusyCursor busy;
        Archive archive = names_->browser().archive();
        applyModification(ws_.chart, *ws_.corrections, archive, *subject_, check.form);
    });
    openArchive();
    ancora_->setEnabled(true);
    archives_->setEnabled(false);
    registra_->setEnabled(false);
    testo_->setEnabled(false);
    return ok;
}

void ModifySubjectDialog::textDocument() {
    if (!subject_ || !names_->browser().isOpen()) return;
    std::string number;
    if (!guarded(this, [&] {
            Archive archive = names_->browser().archive();
            number = prepareTextDocument(archive, toCp(nfile_->text()), toCp(nome_->text()));
        })) {
        return;
    }
    nfile_->setText(fromCp(number));
    if (!save()) return;
    const std::string path = archive_ + "txt\\" + number + ".txt";
    if (!guarded(this, [&] { writeEditTarget(ws_.root, path); })) return;
    TextEditorDialog editor(ws_.root, path, this);
    editor.exec();
}

void ModifySubjectDialog::done(int result) {
    names_->close();
    archives_->clear();
    subject_.reset();
    QDialog::done(result);
}

}  // namespace athanor
