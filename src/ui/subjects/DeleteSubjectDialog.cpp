#include "ui/subjects/DeleteSubjectDialog.h"

#include "ui/subjects/ArchiveList.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"
#include "ui/subjects/NameBrowserView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

namespace athanor {

DeleteSubjectDialog::DeleteSubjectDialog(Workstation& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName("FoCancel");
    setWindowTitle(fromCp("Deleting data from database"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    archives_ = widgets::lineList(this, "ListaArchivi", 5, 17);
    editArchi_ = widgets::field(this, "EditArchi", 4, true);
    editArchi_->setFocusPolicy(Qt::ClickFocus);
    editArchi_->setFixedWidth(60);
    auto* archiveBox = new QVBoxLayout;
    archiveBox->addWidget(new QLabel(fromCp("Elegir el base de datos"), this));
    archiveBox->addWidget(archives_);
    auto* chosen = new QHBoxLayout;
    chosen->addWidget(new QLabel(fromCp("BASE de\nDATOS"), this));
    chosen->addWidget(editArchi_);
    chosen->addStretch();
    archiveBox->addLayout(chosen);
    archiveBox->addStretch();

    soggetto_ = widgets::field(this, "EditSoggetto", 43);
    soggetto_->setFont(QFont("DejaVu Sans Mono", 9));
    auto* nomi = widgets::lineList(this, "ListaNomi", 9, 43);
    auto* bar = widgets::scrollBar(this, "ScrollBar1");
    bar->setFixedHeight(nomi->height());
    auto* listRow = new QHBoxLayout;
    listRow->setSpacing(0);
    listRow->addWidget(nomi);
    listRow->addWidget(bar);
    auto* browserBox = new QVBoxLayout;
    browserBox->addWidget(new QLabel(fromCp("Escribir las primeras letras del nombre"), this));
    browserBox->addWidget(soggetto_);
    browserBox->addLayout(listRow);
    browserBox->addWidget(new QLabel(fromCp("Doble clic en el nombre que desea borrar"), this));

    memoSogg_ = new QPlainTextEdit(this);
    memoSogg_->setObjectName("MemoSogg");
    memoSogg_->setReadOnly(true);
    memoSogg_->setFixedHeight(QFontMetrics(memoSogg_->font()).lineSpacing() * 7 + 10);
    memoAnnotaz_ = new QPlainTextEdit(this);
    memoAnnotaz_->setObjectName("MemoAnnotaz");
    memoAnnotaz_->setReadOnly(true);
    memoAnnotaz_->setFixedHeight(QFontMetrics(memoAnnotaz_->font()).lineSpacing() * 4 + 10);
    label10_ = new QLabel(this);
    label10_->setObjectName("Label10");
    label10_->hide();
    auto* shownBox = new QVBoxLayout;
    shownBox->addWidget(new QLabel(fromCp("Verificaci\xF3n de Datos a Eliminar"), this));
    shownBox->addWidget(memoSogg_);
    auto* notesHead = new QHBoxLayout;
    notesHead->addWidget(new QLabel(fromCp("Anotaciones"), this));
    notesHead->addStretch();
    notesHead->addWidget(label10_);
    shownBox->addLayout(notesHead);
    shownBox->addWidget(memoAnnotaz_);

    elimina_ = widgets::button(this, "BitBtnElimina", "&Eliminar los Datos", widgets::EnterKey::Ignored);
    auto* ritorna = widgets::button(this, "BitBtnRitorna", "&Volver al Men\xFA Principal", widgets::EnterKey::Ignored);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(elimina_);
    buttons->addStretch();
    buttons->addWidget(ritorna);

    auto* top = new QHBoxLayout;
    top->addLayout(archiveBox);
    top->addSpacing(8);
    top->addLayout(browserBox);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(shownBox);
    layout->addLayout(buttons);

    names_ = new NameBrowserView(BrowserLayout::deletion, soggetto_, nomi, bar, this);
    connect(names_, &NameBrowserView::loadRequested, this, [this](int position) { show(position); });
    connect(names_, &NameBrowserView::message, this,
            [this](const QString& text) { showMessage(this, MessageKind::Error, text); });
    connect(names_, &NameBrowserView::fieldEntered, this, [this] {
        // The archive is opened again as the name field is entered.
        if (!archive_.empty()) {
            guarded(this, [&] { names_->open(Archive(ws_.root, archive_)); });
            names_->browser().enterField();
            names_->redraw();
        }
        clearShown();
    });
    connect(names_, &NameBrowserView::picked, this, [this] { clearShown(); });
    connect(archives_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { chooseArchive(item->text()); });
    connect(elimina_, &QPushButton::clicked, this, &DeleteSubjectDialog::eliminate);
    connect(ritorna, &QPushButton::clicked, this, [this] {
        memoSogg_->clear();
        memoAnnotaz_->clear();
        reject();
    });
    setFixedSize(sizeHint());
}

void DeleteSubjectDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    clearShown();
    guarded(this, [&] {
        const int base = fillArchiveList(archives_, ws_.root, false);
        if (base >= 0) chooseArchive(archives_->item(base)->text());
    });
}

void DeleteSubjectDialog::chooseArchive(const QString& caption) {
    archive_ = toCp(caption.left(4));
    editArchi_->setText(fromCp(archive_));
    clearShown();
    guarded(this, [&] {
        if (!names_->open(Archive(ws_.root, archive_))) showMessage(this, MessageKind::Error, kArchiveRefused);
    });
}

void DeleteSubjectDialog::clearShown() {
    shown_.reset();
    memoSogg_->clear();
    memoAnnotaz_->clear();
    label10_->hide();
    elimina_->setEnabled(false);
}

bool DeleteSubjectDialog::show(int position) {
    if (!names_->browser().isOpen()) return false;
    bool ok = false;
    guarded(this, [&] {
        auto subject = showForDeletion(names_->browser().archive(), position);
        if (!subject) {
            names_->browser().enterField();
            names_->redraw();
            return;
        }
        QStringList lines;
        for (const auto& l : subject->lines) lines << fromCp(l);
        memoSogg_->setPlainText(lines.join('\n'));
        QStringList memo;
        for (const auto& l : subject->memo) memo << fromCp(l);
        memoAnnotaz_->setPlainText(memo.join('\n'));
        label10_->setText(fromCp(subject->documentNumber));
        label10_->show();
        elimina_->setEnabled(true);
        shown_ = std::move(*subject);
        ok = true;
    });
    return ok;
}

void DeleteSubjectDialog::eliminate() {
    if (!shown_) {
        showMessage(this, MessageKind::Information, "Haga doble clic en la lista");
        return;
    }
    ArchiveBrowser& b = names_->browser();
    const int position = shown_->position;
    if (!show(position)) return;
    if (b.fieldColour() == ArchiveBrowser::Colour::Red) {
        soggetto_->clear();
        setStateColour(soggetto_, StateColour::Aqua);
        showMessage(this, MessageKind::Error, "Selecci\xF3n Inv\xE1lida");
        return;
    }
    if (b.fieldColour() != ArchiveBrowser::Colour::Aqua || !b.isOpen() || position <= 0) {
        showMessage(this, MessageKind::Error, "Selecci\xF3n Inv\xE1lida");
        return;
    }
    guarded(this, [&] {
        BusyCursor busy;
        Archive archive = b.archive();
        if (!deleteSubject(ws_.root, archive, *shown_)) {
            showMessage(this, MessageKind::Error, "Selecci\xF3n Inv\xE1lida");
            return;
        }
        b.afterRemoval();
    });
    clearShown();
    names_->redraw();
    soggetto_->clear();
    soggetto_->setFocus(Qt::OtherFocusReason);
}

void DeleteSubjectDialog::done(int result) {
    names_->close();
    archives_->clear();
    QDialog::done(result);
}

}  // namespace athanor
