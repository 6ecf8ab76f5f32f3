#include "ui/subjects/DeleteSubjectDialog.h"

#include "foundations/Format.h"
#include "subjects/ArchiveRecords.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"
#include "ui/subjects/ArchivePickerPanel.h"
#include "ui/subjects/NameBrowserView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace athanor {

namespace names {
constexpr const char* kWindow = "FoCancel";
constexpr const char* kArchiveList = "ListaArchivi";
constexpr const char* kSubject = "MemoSogg";
constexpr const char* kNotes = "MemoAnnotaz";
constexpr const char* kDocumentNumber = "Label10";
constexpr const char* kDelete = "BitBtnElimina";
constexpr const char* kBack = "BitBtnRitorna";
}  // namespace names

using widgets::EnterKey;

DeleteSubjectDialog::DeleteSubjectDialog(Workstation& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName(names::kWindow);
    setWindowTitle(fromCp("Deleting data from database"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    picker_ = new ArchivePickerPanel(ws_.root,
                                     {.archiveList = names::kArchiveList,
                                      .archiveTitle = "Elegir el base de datos",
                                      .chosenCaption = "BASE de\nDATOS",
                                      .chosenBeside = true,
                                      .browser = &BrowserLayout::deletion,
                                      .browserTitle = "Escribir las primeras letras del nombre",
                                      .browserHint = "Doble clic en el nombre que desea borrar"},
                                     this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picker_);
    layout->addLayout(buildShownPanel());
    layout->addLayout(buildButtons());
    connectParts();
    setFixedSize(sizeHint());
}

// ---- building ----------------------------------------------------------------------

QLayout* DeleteSubjectDialog::buildShownPanel() {
    subjectMemo_ = widgets::memo(this, names::kSubject);
    subjectMemo_->setFixedHeight(QFontMetrics(subjectMemo_->font()).lineSpacing() * 7 + 10);
    notesMemo_ = widgets::memo(this, names::kNotes);
    notesMemo_->setFixedHeight(QFontMetrics(notesMemo_->font()).lineSpacing() * 4 + 10);
    documentNumber_ = widgets::label(this, "", names::kDocumentNumber);
    documentNumber_->hide();
    auto* notesHead = new QHBoxLayout;
    notesHead->addWidget(widgets::label(this, "Anotaciones"));
    notesHead->addStretch();
    notesHead->addWidget(documentNumber_);
    auto* column = new QVBoxLayout;
    column->addWidget(widgets::label(this, "Verificaci\xF3n de Datos a Eliminar"));
    column->addWidget(subjectMemo_);
    column->addLayout(notesHead);
    column->addWidget(notesMemo_);
    return column;
}

QLayout* DeleteSubjectDialog::buildButtons() {
    deleteButton_ = widgets::button(this, names::kDelete, "&Eliminar los Datos", EnterKey::Ignored);
    backButton_ = widgets::button(this, names::kBack, "&Volver al Men\xFA Principal", EnterKey::Ignored);
    auto* row = new QHBoxLayout;
    row->addWidget(deleteButton_);
    row->addStretch();
    row->addWidget(backButton_);
    return row;
}

void DeleteSubjectDialog::connectParts() {
    NameBrowserView& names = picker_->names();
    connect(&names, &NameBrowserView::loadRequested, this, [this](int position) { show(position); });
    connect(&names, &NameBrowserView::fieldEntered, this, [this] {
        // The archive is opened again as the name field is entered.
        if (!picker_->archive().empty()) {
            picker_->reopen();
            picker_->browser().enterField();
            picker_->names().redraw();
        }
        clearShown();
    });
    connect(&names, &NameBrowserView::picked, this, [this] { clearShown(); });
    connect(picker_, &ArchivePickerPanel::archiveChosen, this, &DeleteSubjectDialog::clearShown);
    connect(deleteButton_, &QPushButton::clicked, this, &DeleteSubjectDialog::eliminate);
    connect(backButton_, &QPushButton::clicked, this, [this] {
        subjectMemo_->clear();
        notesMemo_->clear();
        reject();
    });
}

// ---- showing and deleting ------------------------------------------------------------

void DeleteSubjectDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    clearShown();
    guarded(this, [&] { picker_->fill(); });
    picker_->nameField()->setFocus(Qt::OtherFocusReason);  // typing starts in the search box
}

void DeleteSubjectDialog::clearShown() {
    shown_.reset();
    subjectMemo_->clear();
    notesMemo_->clear();
    documentNumber_->hide();
    deleteButton_->setEnabled(false);
}

bool DeleteSubjectDialog::show(int position) {
    if (!picker_->browser().isOpen()) return false;
    bool ok = false;
    guarded(this, [&] {
        auto subject = showForDeletion(picker_->browser().archive(), position);
        if (!subject) {
            picker_->browser().enterField();
            picker_->names().redraw();
            return;
        }
        QStringList lines;
        for (const auto& l : subject->lines) lines << fromCp(l);
        subjectMemo_->setPlainText(lines.join('\n'));
        QStringList memo;
        for (const auto& l : subject->memo) memo << fromCp(l);
        notesMemo_->setPlainText(memo.join('\n'));
        documentNumber_->setText(fromCp(subject->documentNumber));
        documentNumber_->show();
        deleteButton_->setEnabled(true);
        const std::string warning = subject->notesWarning;
        shown_ = std::move(*subject);
        ok = true;
        if (!warning.empty()) showMessage(this, MessageKind::Warning, fromCp(warning));
    });
    return ok;
}

void DeleteSubjectDialog::eliminate() {
    if (!shown_) {
        showMessage(this, MessageKind::Information, "Haga doble clic en la lista");
        return;
    }
    ArchiveBrowser& b = picker_->browser();
    const int position = shown_->position;
    if (!show(position)) return;
    if (b.fieldColour() == ArchiveBrowser::Colour::Red) {
        picker_->nameField()->clear();
        setStateColour(picker_->nameField(), StateColour::Aqua);
        showMessage(this, MessageKind::Error, "Selecci\xF3n Inv\xE1lida");
        return;
    }
    if (b.fieldColour() != ArchiveBrowser::Colour::Aqua || !b.isOpen() || position <= 0) {
        showMessage(this, MessageKind::Error, "Selecci\xF3n Inv\xE1lida");
        return;
    }
    // A deletion cannot be undone: the practitioner confirms it, with the name in view.
    const std::string& entry = shown_->entryText;
    const QString name = fromCp(trimRight(entry.substr(0, std::min<std::size_t>(entry.size(), kNameWidth))));
    if (!askYesNo(this, QStringLiteral("Eliminar los Datos"),
                  QStringLiteral("¿Eliminar a %1 del archivo, con su texto ampliado? No se puede deshacer.").arg(name)))
        return;
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
    picker_->names().redraw();
    picker_->nameField()->clear();
    picker_->nameField()->setFocus(Qt::OtherFocusReason);
}

void DeleteSubjectDialog::done(int result) {
    picker_->close();
    QDialog::done(result);
}

}  // namespace athanor
