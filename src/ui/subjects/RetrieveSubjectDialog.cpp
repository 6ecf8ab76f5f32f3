#include "ui/subjects/RetrieveSubjectDialog.h"

#include "ui/subjects/ArchiveList.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"
#include "ui/subjects/NameBrowserView.h"
#include "subjects/SubjectFiles.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

namespace athanor {

RetrieveSubjectDialog::RetrieveSubjectDialog(Workstation& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName("FormRich");
    setWindowTitle(fromCp("Llame los datos desde la base de datos"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    archives_ = widgets::lineList(this, "ListaArchivi", 5, 17);
    editArchi_ = widgets::field(this, "EditArchi", 4, true);
    editArchi_->setFixedWidth(60);
    auto* archiveBox = new QVBoxLayout;
    archiveBox->addWidget(new QLabel(fromCp("Base de datos"), this));
    archiveBox->addWidget(archives_);
    archiveBox->addWidget(new QLabel(fromCp("Seleccionada"), this));
    archiveBox->addWidget(editArchi_);
    archiveBox->addStretch();

    soggetto_ = widgets::field(this, "EditSoggetto", 43);
    soggetto_->setFont(QFont("DejaVu Sans Mono", 9));
    nomi_ = widgets::lineList(this, "ListaNomi", 9, 43);
    bar_ = widgets::scrollBar(this, "ScrollBar1");
    bar_->setFixedHeight(nomi_->height());
    auto* listRow = new QHBoxLayout;
    listRow->setSpacing(0);
    listRow->addWidget(nomi_);
    listRow->addWidget(bar_);
    auto* browserBox = new QVBoxLayout;
    browserBox->addWidget(new QLabel(fromCp("Escribir las primeras letras del nombre"), this));
    browserBox->addWidget(soggetto_);
    browserBox->addLayout(listRow);
    browserBox->addWidget(new QLabel(fromCp("Haga doble clic para seleccionar"), this));
    browserBox->addStretch();

    nome_ = widgets::field(this, "EditNome", 38);
    forceUpperCase(nome_);
    data_ = widgets::field(this, "EditData", 0, true);
    local_ = widgets::field(this, "EditLocal", 27);
    forceUpperCase(local_);
    naz_ = widgets::field(this, "EditNaz", 20);
    forceUpperCase(naz_);
    corr_ = widgets::field(this, "EditCorr", 0, true);
    coord_ = widgets::field(this, "EditCoord", 0, true);
    cal_ = widgets::field(this, "EditCal", 0, true);
    // Shown, not edited: Tab goes from one editable field to the next.
    for (QLineEdit* e : {editArchi_, data_, corr_, coord_, cal_}) e->setFocusPolicy(Qt::ClickFocus);
    auto* subject = new QGridLayout;
    int row = 0;
    for (auto [label, w] : {std::pair{"Nombre", nome_}, {"Fecha", data_}, {"Localidad", local_}, {"Pa\xEDs", naz_},
                            {"Correcci\xF3n", corr_}, {"Coordenadas", coord_}, {"Calendario", cal_}}) {
        subject->addWidget(new QLabel(fromCp(label), this), row, 0);
        subject->addWidget(w, row++, 1);
    }
    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName("MemoAnnotaz");
    memo_->setReadOnly(true);
    memo_->setFixedHeight(QFontMetrics(memo_->font()).lineSpacing() * 8 + 10);
    auto* notesBox = new QVBoxLayout;
    notesBox->addWidget(new QLabel(fromCp("Notas"), this));
    notesBox->addWidget(memo_);
    notesBox->addStretch();

    ok_ = widgets::button(this, "BitBtnOK", "&OK", widgets::EnterKey::Ignored);
    inverti_ = widgets::button(this, "BitBtnInverti", "Invertir Apellido / Nombre", widgets::EnterKey::Ignored);
    auto* annulla = widgets::button(this, "BitBtnAnnulla", "&Anular", widgets::EnterKey::Ignored);
    // The buttons in the order they stand.
    setTabOrder(memo_, inverti_);
    setTabOrder(inverti_, ok_);
    setTabOrder(ok_, annulla);

    auto* top = new QHBoxLayout;
    top->addLayout(archiveBox);
    top->addSpacing(8);
    top->addLayout(browserBox);
    auto* bottom = new QHBoxLayout;
    auto* subjectBox = new QVBoxLayout;
    subjectBox->addLayout(subject);
    subjectBox->addStretch();
    bottom->addLayout(subjectBox, 1);
    bottom->addSpacing(8);
    bottom->addLayout(notesBox, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(inverti_);
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(annulla);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);
    layout->addLayout(buttons);

    names_ = new NameBrowserView(BrowserLayout::retrieval, soggetto_, nomi_, bar_, this);
    connect(names_, &NameBrowserView::loadRequested, this, &RetrieveSubjectDialog::load);
    connect(names_, &NameBrowserView::message, this,
            [this](const QString& text) { showMessage(this, MessageKind::Error, text); });
    connect(names_, &NameBrowserView::fieldEntered, this, &RetrieveSubjectDialog::clearSubject);
    connect(names_, &NameBrowserView::picked, this, [this] { clearSubject(); });
    connect(archives_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { chooseArchive(item->text()); });
    connect(inverti_, &QPushButton::clicked, this, [this] {
        if (!loaded_) return;
        const QString name = fromCp(inversion_.press(loaded_->words));
        nome_->setText(name);
        soggetto_->setText(name);
    });
    connect(ok_, &QPushButton::clicked, this, &RetrieveSubjectDialog::ok);
    connect(annulla, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(sizeHint());
}

void RetrieveSubjectDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    inversion_.reset();
    loaded_.reset();
    loadedPosition_ = 0;
    clearSubject();
    guarded(this, [&] {
        const int base = fillArchiveList(archives_, ws_.root, false);
        editArchi_->clear();
        names_->close();
        if (base >= 0) chooseArchive(archives_->item(base)->text());
    });
}

void RetrieveSubjectDialog::chooseArchive(const QString& caption) {
    const std::string name = toCp(caption.left(4));
    editArchi_->setText(fromCp(name));
    loaded_.reset();
    clearSubject();
    guarded(this, [&] {
        if (!names_->open(Archive(ws_.root, name))) showMessage(this, MessageKind::Error, kArchiveRefused);
    });
}

void RetrieveSubjectDialog::clearSubject() {
    for (QLineEdit* e : {nome_, data_, local_, naz_, corr_, coord_, cal_}) e->clear();
    memo_->clear();
    for (QWidget* w : {static_cast<QWidget*>(nome_), static_cast<QWidget*>(local_), static_cast<QWidget*>(naz_)}) {
        w->setEnabled(false);
    }
    ok_->setEnabled(false);
    inverti_->setEnabled(false);
}

void RetrieveSubjectDialog::load(int position) {
    ArchiveBrowser& b = names_->browser();
    if (b.fieldColour() == ArchiveBrowser::Colour::Red) {
        names_->clearField();
        return;
    }
    if (b.fieldText().empty() || !b.isOpen()) return;
    guarded(this, [&] {
        const auto lines = b.lines();
        const std::string fifth = lines.size() > 4 ? lines[4] : std::string();
        auto subject = retrieveSubject(ws_.root, b.archive(), b.fieldText(), fifth);
        if (!subject) {
            b.enterField();
            names_->redraw();
            return;
        }
        loaded_ = std::move(*subject);
        loadedPosition_ = position;
        nome_->setText(fromCp(loaded_->name.substr(0, 38)));
        data_->setText(fromCp(loaded_->displayDate));
        corr_->setText(fromCp(loaded_->correction));
        coord_->setText(fromCp(loaded_->coordText));
        local_->setText(fromCp(loaded_->locality));
        naz_->setText(fromCp(loaded_->country));
        cal_->setText(fromCp(loaded_->calendar));
        QStringList memo;
        if (loaded_->hasNotes) {
            for (const auto& l : loaded_->memo) memo << fromCp(l);
        }
        memo_->setPlainText(memo.join('\n'));
        for (QLineEdit* e : {nome_, local_, naz_}) e->setEnabled(true);
        ok_->setEnabled(true);
        inverti_->setEnabled(true);
        ok_->setFocus();
        names_->clearField();
        b.setLoaded(true);
    });
}

void RetrieveSubjectDialog::ok() {
    if (names_->browser().fieldColour() == ArchiveBrowser::Colour::Red) {
        soggetto_->clear();
        setStateColour(soggetto_, StateColour::Aqua);
        return;
    }
    if (!loaded_) return;
    if (!guarded(this, [&] {
            makeRetrievedCurrent(ws_.root, *loaded_, toCp(nome_->text()), toCp(local_->text()), toCp(naz_->text()));
        })) {
        return;
    }
    accept();
}

void RetrieveSubjectDialog::done(int result) {
    if (loaded_ && names_->browser().isOpen()) {
        guarded(this, [&] {
            writeArchiveMemo(ws_.root, {names_->browser().archive().name(), loaded_->entryText, loadedPosition_,
                                        toCp(nome_->text())});
        });
    }
    names_->close();
    archives_->clear();
    QDialog::done(result);
}

}  // namespace athanor
