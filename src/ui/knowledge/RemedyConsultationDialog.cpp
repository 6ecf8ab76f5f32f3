#include "ui/knowledge/RemedyConsultationDialog.h"

#include "foundations/FileError.h"
#include "knowledge/Consultation.h"
#include "knowledge/TextLists.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"

#include <QEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace athanor {

namespace names {
constexpr const char* kWindow = "FoRimed";
constexpr const char* kRemedy = "EdRime";
constexpr const char* kWarnings = "EdAvve";
constexpr const char* kProductType = "LabSpeci";
constexpr const char* kUseNumberNote = "MemoPare";
constexpr const char* kLargeWarnings = "MemoAvveLarge";
}  // namespace names

namespace {

const ResultPageDialog::Setup kSetup{
    .window = names::kWindow,
    .caption = "Remedios y s\xEDntomas relacionados",
    .kind = ConsultationKind::Remedy,
    .listTitle = "Remedios",
    .fourthTitle = "Indicaci\xF3n",
    .selectedName = names::kRemedy,
    .selectedTitle = "Remedio",
    .infoCaption = "Informaci\xF3n On/Off ",
    .returnCaption = "&Volver al Men\xFA",
    .info = "Elija un remedio de la lista con un clic o con Intro. Para llegar a él, escriba sus "
            "primeras letras en «Buscar». Un remedio con prefijo de tipo (TSA, MSA, QSPC) aparece "
            "también por el resto de su nombre: «Romero (TSA)» lleva a «TSA Romero».\n\n"
            "Cada fila muestra una indicación del remedio con sus planetas y sus signos. Arriba "
            "quedan el nombre, las advertencias y el tipo de producto; en las notas, la síntesis "
            "psíquica.\n\n"
            "El botón de la fila (1°, 2°, ...) muestra por turno la posología, la síntesis "
            "psíquica, las notas y las notas adicionales.\n\n"
            "Doble clic en las advertencias: el texto completo en grande; un clic lo cierra. Doble "
            "clic en los planetas o en los signos: la signatura palabra por palabra (§ marca los "
            "planetas primarios).\n\n"
            "Cada página tiene catorce filas. El recuadro «pág» se pone rojo cuando hay más "
            "resultados en las páginas siguientes; < y > cambian de página. «Limpiar» vacía la "
            "página.\n\nDoble clic en este texto para ocultarlo.",
    .typing = TypedPrefix::Case::Upper,
};

}  // namespace

RemedyConsultationDialog::RemedyConsultationDialog(DataRoot root, QWidget* parent)
    : ResultPageDialog(std::move(root), kSetup, parent) {
    warnings_ = widgets::field(this, names::kWarnings, 0, true);
    warnings_->setFocusPolicy(Qt::ClickFocus);
    warnings_->setToolTip(fromCp("Doble clic: las advertencias completas"));
    warnings_->installEventFilter(this);
    productType_ = widgets::label(this, "", names::kProductType);
    productType_->setStyleSheet("QLabel { color: #00008b; font-weight: bold; }");
    useNumberNote_ = widgets::label(this, kUseNumberNote, names::kUseNumberNote);
    useNumberNote_->setWordWrap(true);
    useNumberNote_->setStyleSheet("QLabel { background: #ffffc0; border: 1px solid #b0a000; padding: 2px; }");
    useNumberNote_->hide();
    auto* row = new QHBoxLayout;
    row->addWidget(widgets::label(this, "Advertencias"));
    row->addWidget(warnings_, 1);
    row->addWidget(productType_);
    ownArea()->addLayout(row);
    ownArea()->addWidget(useNumberNote_);

    largeWarnings_ = widgets::memo(this, names::kLargeWarnings);
    largeWarnings_->setToolTip(fromCp("Clic para cerrar"));
    largeWarnings_->setStyleSheet(kOverlayStyle);
    largeWarnings_->setFont(QFont(largeWarnings_->font().family(), largeWarnings_->font().pointSize() + 3));
    largeWarnings_->viewport()->installEventFilter(this);
    largeWarnings_->hide();
}

std::vector<std::string> RemedyConsultationDialog::readList() { return remedyLineList(root()); }

// An alias line shows its first 70 characters; the name it points at stays in the entry.
std::string RemedyConsultationDialog::displayText(const std::string& entry) const {
    if (entry.size() <= kAliasWidth) return entry;
    std::string shown = entry.substr(0, kAliasWidth);
    while (!shown.empty() && shown.back() == ' ') shown.pop_back();
    return shown;
}

void RemedyConsultationDialog::showSelection() {
    std::optional<RemedyHeader> header;
    if (!guarded(this, [&] { header = page().remedyHeader(); })) header.reset();
    useNumberNote_->setVisible(hasUseNumber(page().selected()));
    productType_->clear();
    if (!header) {
        selectedBox()->clear();
        warnings_->clear();
        return;
    }
    selectedBox()->setText(fromCp(header->name));
    warnings_->setText(fromCp(header->warnings));
    warnings_->setCursorPosition(0);
    setNote(QStringLiteral("Notas"), fromCp(header->synthesis));
    productType_->setText(fromCp(header->productType));
}

void RemedyConsultationDialog::clearOwnBoxes() {
    warnings_->clear();
    productType_->clear();
    useNumberNote_->hide();
}

void RemedyConsultationDialog::hideOwnOverlays() { largeWarnings_->hide(); }

void RemedyConsultationDialog::showLargeWarnings() {
    QString text = warnings_->text();
    largeWarnings_->setPlainText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    largeWarnings_->setGeometry(rowsPanel()->geometry().adjusted(20, 10, -20, -10));
    largeWarnings_->raise();
    largeWarnings_->show();
}

void RemedyConsultationDialog::showRemedy(const std::string& name) {
    const int at = remedyLineIndex(entries(), name);
    if (at >= 0) {
        selectEntry(at);
        return;
    }
    // Not in the list (a list older than the database): the database decides.
    std::string trimmed = name;
    while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
    selectText(trimmed);
}

bool RemedyConsultationDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == warnings_ && event->type() == QEvent::MouseButtonDblClick) {
        showLargeWarnings();
        return true;
    }
    if (watched == largeWarnings_->viewport() && event->type() == QEvent::MouseButtonPress) {
        largeWarnings_->hide();
        return true;
    }
    return ResultPageDialog::eventFilter(watched, event);
}

}  // namespace athanor
