// TFoMainArc and TFoAggRep: the editors of the remedy database and of the repertory.
#include "ui/kbkeeping/EditorDialog.h"

#include "knowledge/Consultation.h"
#include "knowledge/Rebuild.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"
#include "ui/kbkeeping/BackgroundWork.h"
#include "ui/kbkeeping/PrefixBox.h"

#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdlib>

namespace athanor {

namespace names {
constexpr const char* kDatabaseWindow = "FoMainArc";
constexpr const char* kRepertoryWindow = "FoAggRep";
constexpr const char* kList = "ListBox1";
constexpr const char* kByRemedy = "RBprod";
constexpr const char* kByIndication = "RBindi";
constexpr const char* kByPathology = "RBpato";
constexpr const char* kSearchBox = "EdCerca";
constexpr const char* kRecordNumber = "EdNumRec";
constexpr const char* kLengthWarning = "EdLimite";
constexpr const char* kUseNumberNote = "MemoPare";
constexpr const char* kNotice = "MemoInfo";
constexpr const char* kInstructions = "MemoIstruz";
constexpr const char* kRebuild = "BBRico";
constexpr const char* kInfo = "BBinfo";
constexpr const char* kDelete = "BBelimina";
constexpr const char* kSave = "BBsalva";
constexpr const char* kSaveAsNew = "BBnuovo";
constexpr const char* kReorder = "BBmodifEle";
constexpr const char* kCancelReorder = "BBannulla";
constexpr const char* kFind = "BBtrova";
constexpr const char* kFindBox = "EdTrova";
constexpr const char* kClear = "BBlimpiar";
constexpr const char* kBack = "BBritorna";
// Database fields
constexpr const char* kName = "EdProd";
constexpr const char* kIndication = "MemoIndi";
constexpr const char* kPosology = "MemoPoso";
constexpr const char* kWarnings = "MemoAvve";
constexpr const char* kPrimary = "EdPlane";
constexpr const char* kSecondary = "EdSeco";
constexpr const char* kZodiac = "EdZodi";
constexpr const char* kSynthesis = "MemoSint";
constexpr const char* kNotes = "MemoNote";
constexpr const char* kExtraNotes = "MemoNoteSupp";
// Repertory fields and panel
constexpr const char* kPathology = "EdPato";
constexpr const char* kTherapyPosology = "EdPoso";
constexpr const char* kRepertoryPanel = "PanelPrimario";
constexpr const char* kPanelText = "MemoPrim";
constexpr const char* kPanelWarnings = "BBaltro";
constexpr const char* kPanelSignatures = "BBsegna";
constexpr const char* kPanelSynthesis = "BBsinte";
constexpr const char* kPanelNotes = "BBnote";
// Leaving panel
constexpr const char* kLeavingPanel = "PanelSalva";
constexpr const char* kNameChanged = "LabNome";
constexpr const char* kSecondChanged = "LabIndicazione";
constexpr const char* kDescriptionsChanged = "LabDescrizioni";
constexpr const char* kLeaveSave = "BBpanSalva";
constexpr const char* kLeaveSaveAsNew = "BBpanNuovo";
constexpr const char* kLeaveIgnore = "BBpanIgnora";
constexpr const char* kLeaveDelete = "BBpanElimina";
constexpr const char* kLeaveStay = "BBpanResta";
}  // namespace names

namespace {

const char* kNoticeText =
    "ATTENZIONE: Sono consentite MODIFICHE ed AGGIUNTE.\r\n"
    "Los cambios guardados llegan a las ventanas de consulta s\xF3lo despu\xE9s de reconstruir los "
    "archivos de apoyo con [Ricostruisci File].";

const char* kDatabaseInstructions =
    "Capacidad de cada campo: remedio 50 caracteres, indicaciones 300, posolog\xED" "a 900, "
    "advertencias 400, signatura planetaria primaria 30, secundaria 40, zodiacal 70, s\xEDntesis "
    "ps\xEDquica 1500, notas 750, notas adicionales 750. Lo que pasa de la capacidad se pierde al "
    "guardar; el aviso \"Superato Limite Lunghezza\" lo se\xF1" "ala mientras escribe.\r\n"
    "[Salva] escribe sobre el registro cargado, [Salva come Nuovo] a\xF1" "ade uno nuevo al final. "
    "Una eliminaci\xF3n es definitiva.\r\n"
    "Para cambiar el orden de los registros: [Modifica Elenco], doble clic en la entrada que se "
    "mueve y doble clic en el lugar de destino; al terminar, [Definitivo] escribe el nuevo "
    "orden y [Annulla Modifiche] lo descarta.";
const char* kRepertoryInstructions =
    "Capacidad de cada campo: patolog\xED" "a 100 caracteres, remedio 100, posolog\xED" "a 250, notas "
    "300 (se guardan hasta 750). Lo que pasa de la capacidad se pierde al guardar.\r\n"
    "El panel \"Informaci\xF3n desde el Men\xFA Principal\" muestra los textos del remedio en la base "
    "de datos principal; un doble clic en \xE9l copia el texto en las notas, un doble clic en las "
    "notas las vac\xED" "a.\r\n"
    "[Salva] escribe sobre el registro cargado, [Salva come Nuovo] a\xF1" "ade uno nuevo al final. "
    "Una eliminaci\xF3n es definitiva.\r\n"
    "Para cambiar el orden de los registros: [Modifica Elenco], doble clic en la entrada que se "
    "mueve y doble clic en el lugar de destino; al terminar, [Definitivo] escribe el nuevo "
    "orden y [Annulla Modifiche] lo descarta.";

// The text of a control as the record stores it: line breaks as CR LF.
QString storedForm(QString text) { return text.replace('\n', QStringLiteral("\r\n")); }

QStringList linesOf(const std::vector<std::string>& lines) {
    QStringList out;
    out.reserve(static_cast<int>(lines.size()));
    for (const auto& l : lines) out << fromCp(l);
    return out;
}

QPlainTextEdit* textBox(QWidget* parent, const char* name, const char* placeholder, int lines) {
    QPlainTextEdit* m = widgets::memo(parent, name, false);
    m->setPlaceholderText(fromCp(placeholder));
    m->setTabChangesFocus(true);
    m->setFixedHeight(QFontMetrics(m->font()).lineSpacing() * lines + 10);
    return m;
}

}  // namespace

EditorDialog::EditorDialog(Workstation& ws, EditorKind kind, QWidget* parent) : QDialog(parent), ws_(ws), kind_(kind) {
    const bool database = kind == EditorKind::Remedies;
    setObjectName(database ? names::kDatabaseWindow : names::kRepertoryWindow);
    setWindowTitle(database ? QStringLiteral("BASE DE DATOS PRINCIPAL") : QStringLiteral("REPERTORIO  DE LAS TERAPIAS"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* body = new QHBoxLayout;
    body->addWidget(buildList(), 4);
    body->addWidget(buildFields(), 5);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buildButtons());

    lengthWarning_ = widgets::field(this, names::kLengthWarning, 0, true);
    lengthWarning_->setText(QStringLiteral("Superato Limite Lunghezza"));
    lengthWarning_->setStyleSheet("QLineEdit { background: red; color: white; font-weight: bold; }");
    lengthWarning_->setFixedWidth(QFontMetrics(lengthWarning_->font()).horizontalAdvance(lengthWarning_->text()) + 30);
    lengthWarning_->setFocusPolicy(Qt::NoFocus);
    lengthWarning_->hide();
    leavingPanel_ = static_cast<QFrame*>(buildLeavingPanel());
    leavingPanel_->hide();
    resize(database ? 1200 : 1100, database ? 760 : 620);
}

// ---- building ----------------------------------------------------------------------

QWidget* EditorDialog::buildList() {
    const bool database = kind_ == EditorKind::Remedies;
    auto* box = new QWidget(this);
    list_ = widgets::named<QListWidget>(box, names::kList);
    // One line each: a list of a large base lays out and scrolls without measuring every entry.
    list_->setUniformItemSizes(true);
    byRemedy_ = widgets::named<QRadioButton>(box, names::kByRemedy, fromCp("Ordenar por remedio"));
    byPathology_ = widgets::named<QRadioButton>(box, database ? names::kByIndication : names::kByPathology,
                                                fromCp("Ordenar por Patolog\xED" "a"));
    auto* group = new QButtonGroup(box);
    group->addButton(byRemedy_);
    group->addButton(byPathology_);
    connect(byRemedy_, &QRadioButton::clicked, this, [this] { fillList(EditorOrder::ByRemedy); });
    connect(byPathology_, &QRadioButton::clicked, this, [this] { fillList(EditorOrder::ByPathology); });

    searchBox_ = widgets::field(box, names::kSearchBox);
    searchBox_->setPlaceholderText(QStringLiteral("Buscar en la lista"));
    prefix_ = new PrefixBox(searchBox_, list_, TypedPrefix::Case::Upper,
                            [this]() -> const std::vector<std::string>& { return entries_; });
    // The keyboard moves through the list; the record is loaded by a click or Enter.
    onEntryPicked(list_, this, [this](int row) { select(row); });
    prefix_->onEnter = [this](int row) { select(row); };
    connect(list_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { reorderDoubleClick(list_->row(item)); });

    findBox_ = widgets::field(box, names::kFindBox);
    findBox_->installEventFilter(this);
    findButton_ = widgets::button(box, names::kFind, "trova");
    connect(findButton_, &QPushButton::clicked, this, &EditorDialog::find);

    auto* orders = new QHBoxLayout;
    orders->addWidget(byRemedy_);
    orders->addWidget(byPathology_);
    auto* findRow = new QHBoxLayout;
    findRow->addWidget(findBox_, 1);
    findRow->addWidget(findButton_);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->addLayout(orders);
    column->addWidget(searchBox_);
    column->addWidget(list_, 1);
    column->addLayout(findRow);
    return box;
}

void EditorDialog::addControl(QWidget* w, Role role, int capacity, int beepAt) {
    controls_.push_back({w, role, capacity, beepAt > 0 ? beepAt : capacity});
    const std::size_t index = controls_.size() - 1;
    auto changed = [this, index] { textChanged(controls_[index]); };
    if (auto* e = qobject_cast<QLineEdit*>(w)) connect(e, &QLineEdit::textChanged, this, changed);
    if (auto* m = qobject_cast<QPlainTextEdit*>(w)) connect(m, &QPlainTextEdit::textChanged, this, changed);
}

QWidget* EditorDialog::buildFields() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    int row = 0;
    auto put = [&](const char* caption, QWidget* w) {
        grid->addWidget(widgets::label(box, caption), row, 0, Qt::AlignTop);
        grid->addWidget(w, row, 1);
        ++row;
    };
    recordNumber_ = widgets::field(box, names::kRecordNumber, 0, true);
    recordNumber_->setFocusPolicy(Qt::NoFocus);
    if (kind_ == EditorKind::Remedies) {
        nameField_ = widgets::field(box, names::kName);
        auto* nameRow = new QWidget(box);
        auto* nameLayout = new QHBoxLayout(nameRow);
        nameLayout->setContentsMargins(0, 0, 0, 0);
        nameLayout->addWidget(nameField_, 1);
        nameLayout->addWidget(widgets::label(box, "Registro"));
        nameLayout->addWidget(recordNumber_);
        recordNumber_->setFixedWidth(120);
        put("Remedio", nameRow);
        // Typing the name positions the list on it, in the remedy order.
        connect(nameField_, &QLineEdit::textEdited, this, [this](const QString& text) {
            if (reorder_ || order_ != EditorOrder::ByRemedy) return;
            const int at = sortedPrefixPosition(entries_, toCp(text));
            if (at >= 0 && at < list_->count()) list_->setCurrentRow(at);
        });
        auto* indication = textBox(box, names::kIndication, "Indicaciones", 3);
        secondField_ = indication;
        put("Indicaciones", indication);
        useNumberNote_ = widgets::memo(box, names::kUseNumberNote);
        useNumberNote_->setPlainText(fromCp("Il numero tra parentesi si riferisce ad un impiego specifico \r\n") +
                                     fromCp(kUseNumberNote));
        useNumberNote_->setFixedHeight(QFontMetrics(useNumberNote_->font()).lineSpacing() * 3 + 10);
        useNumberNote_->setStyleSheet("QPlainTextEdit { background: rgb(255,255,192); }");
        useNumberNote_->hide();
        grid->addWidget(useNumberNote_, row++, 1);
        auto* posology = textBox(box, names::kPosology, "Posolog\xED" "a", 4);
        put("Posolog\xED" "a", posology);
        auto* warnings = textBox(box, names::kWarnings, "Advertencias", 3);
        put("Advertencias", warnings);
        auto* primary = widgets::field(box, names::kPrimary);
        put("Signatura planetaria primaria", primary);
        auto* secondary = widgets::field(box, names::kSecondary);
        put("Signatura planetaria secundaria", secondary);
        auto* zodiac = widgets::field(box, names::kZodiac);
        put("Signatura zodiacal", zodiac);
        auto* synthesis = textBox(box, names::kSynthesis, "S\xEDntesis Ps\xEDquica", 5);
        put("S\xEDntesis ps\xEDquica", synthesis);
        auto* notes = textBox(box, names::kNotes, "Notas", 4);
        put("Notas", notes);
        auto* extra = textBox(box, names::kExtraNotes, "Notas Adicionales", 4);
        put("Notas adicionales", extra);

        addControl(nameField_, Role::Name, RemedyRecord::kNameCapacity);
        addControl(indication, Role::Second, 300);
        addControl(posology, Role::Description, 900);
        addControl(warnings, Role::Description, 400);
        addControl(primary, Role::Description, RemedyRecord::kPrimarySignatureCapacity);
        addControl(secondary, Role::Description, RemedyRecord::kSecondarySignatureCapacity);
        addControl(zodiac, Role::Description, RemedyRecord::kZodiacSignatureCapacity);
        addControl(synthesis, Role::Description, 1500);
        addControl(notes, Role::Description, 750);
        addControl(extra, Role::Description, 750);
    } else {
        auto* pathology = widgets::field(box, names::kPathology);
        secondField_ = pathology;
        auto* pathologyRow = new QWidget(box);
        auto* pathologyLayout = new QHBoxLayout(pathologyRow);
        pathologyLayout->setContentsMargins(0, 0, 0, 0);
        pathologyLayout->addWidget(pathology, 1);
        pathologyLayout->addWidget(widgets::label(box, "Registro"));
        pathologyLayout->addWidget(recordNumber_);
        recordNumber_->setFixedWidth(120);
        put("Patolog\xED" "a", pathologyRow);
        nameField_ = widgets::field(box, names::kName);
        put("Remedio", nameField_);
        auto* posology = widgets::field(box, names::kTherapyPosology);
        put("Posolog\xED" "a", posology);
        auto* notes = textBox(box, names::kNotes, "Notas", 5);
        notes->viewport()->installEventFilter(this);
        notesField_ = notes;
        put("Notas", notes);
        grid->addWidget(buildRepertoryPanel(), row++, 0, 1, 2);

        addControl(pathology, Role::Second, 100);
        addControl(nameField_, Role::Name, 100);
        addControl(posology, Role::Description, 250);
        // The notes are announced as 300 characters and stored up to 750.
        addControl(notes, Role::Description, 750, 300);
    }
    notice_ = widgets::memo(box, names::kNotice);
    notice_->setPlainText(fromCp(kNoticeText));
    notice_->setStyleSheet("QPlainTextEdit { color: rgb(160,0,0); }");
    notice_->setFixedHeight(QFontMetrics(notice_->font()).lineSpacing() * 3 + 10);
    grid->addWidget(notice_, row++, 0, 1, 2);
    instructions_ = widgets::memo(box, names::kInstructions);
    instructions_->setPlainText(fromCp(kind_ == EditorKind::Remedies ? kDatabaseInstructions : kRepertoryInstructions));
    instructions_->hide();
    grid->addWidget(instructions_, 0, 0, row, 2);  // over the fields while shown
    grid->setRowStretch(row, 1);
    return box;
}

QWidget* EditorDialog::buildRepertoryPanel() {
    repertoryPanel_ = widgets::panel(this, names::kRepertoryPanel);
    panelText_ = widgets::memo(repertoryPanel_, names::kPanelText);
    panelText_->viewport()->installEventFilter(this);
    panelText_->setFixedHeight(QFontMetrics(panelText_->font()).lineSpacing() * 6 + 10);
    auto* title = new QVBoxLayout;
    title->addWidget(widgets::label(repertoryPanel_, "Informaci\xF3n desde"));
    title->addWidget(widgets::label(repertoryPanel_, "el Men\xFA Principal"));
    const struct {
        const char* name;
        const char* caption;
        int which;
    } buttons[] = {{names::kPanelWarnings, "Advertencias", 0},
                   {names::kPanelSignatures, "Signaturas astrol\xF3gicas", 1},
                   {names::kPanelSynthesis, "S\xEDntesis Ps\xEDquica", 2},
                   {names::kPanelNotes, "Notas", 3}};
    for (const auto& b : buttons) {
        QPushButton* button = widgets::button(repertoryPanel_, b.name, b.caption, widgets::EnterKey::Ignored);
        const int which = b.which;
        connect(button, &QPushButton::clicked, this, [this, which] {
            if (!panelRecord_) return;
            const RemedyPanelTexts t = remedyPanelTexts(*panelRecord_);
            const std::string* texts[] = {&t.warnings, &t.signatures, &t.synthesis, &t.notes};
            showPanelText(*texts[which], false);
        });
        button->setEnabled(false);
        panelButtons_.push_back(button);
        title->addWidget(button);
    }
    auto* layout = new QHBoxLayout(repertoryPanel_);
    layout->addLayout(title);
    layout->addWidget(panelText_, 1);
    return repertoryPanel_;
}

QWidget* EditorDialog::buildLeavingPanel() {
    const bool database = kind_ == EditorKind::Remedies;
    auto* panel = widgets::panel(this, names::kLeavingPanel, QFrame::Box);
    panel->setAutoFillBackground(true);
    panel->setStyleSheet("QFrame#PanelSalva { background: rgb(255,240,200); border: 2px solid rgb(160,0,0); }");
    auto* title = widgets::label(panel, "ATTENZIONE:");
    title->setStyleSheet("font-weight: bold; color: rgb(160,0,0);");
    nameChanged_ = widgets::label(
        panel, database ? "Cambiamento nel Nome del Prodotto" : "Cambiamento nel Nome del Rimedio", names::kNameChanged);
    secondChanged_ =
        widgets::label(panel, database ? "Cambiamento nell'indicazione Terapeutica" : "Cambiamento nell nome della Patologia",
                       names::kSecondChanged);
    descriptionsChangedLabel_ = widgets::label(panel, "Cambiamento nelle Descrizioni", names::kDescriptionsChanged);
    leaveSave_ = widgets::button(panel, names::kLeaveSave, "Salva", widgets::EnterKey::Ignored);
    leaveSaveAsNew_ = widgets::button(panel, names::kLeaveSaveAsNew, "Salva come Nuovo", widgets::EnterKey::Ignored);
    auto* ignore = widgets::button(panel, names::kLeaveIgnore, "Ignora", widgets::EnterKey::Ignored);
    leaveDelete_ = widgets::button(panel, names::kLeaveDelete,
                                   database ? "Elimina dal Database" : "Elimina dal Repertorio", widgets::EnterKey::Ignored);
    auto* stay = widgets::button(panel, names::kLeaveStay, "Seguir editando", widgets::EnterKey::Ignored);
    connect(leaveSave_, &QPushButton::clicked, this, [this] {
        if (save()) closeEditor();
    });
    connect(leaveSaveAsNew_, &QPushButton::clicked, this, [this] {
        if (saveAsNew()) closeEditor();
    });
    connect(ignore, &QPushButton::clicked, this, [this] {
        clearEditor();
        closeEditor();
    });
    connect(leaveDelete_, &QPushButton::clicked, this, [this] {
        if (eliminate()) closeEditor();
    });
    connect(stay, &QPushButton::clicked, this, [this] { leavingPanel_->hide(); });

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {leaveSave_, leaveSaveAsNew_, ignore, leaveDelete_, stay}) buttons->addWidget(b);
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(title);
    layout->addWidget(widgets::label(panel, "Che cosa vuoi fare?"));
    layout->addWidget(nameChanged_);
    layout->addWidget(secondChanged_);
    layout->addWidget(descriptionsChangedLabel_);
    layout->addLayout(buttons);
    return panel;
}

QLayout* EditorDialog::buildButtons() {
    const bool database = kind_ == EditorKind::Remedies;
    using widgets::EnterKey;
    rebuildButton_ = widgets::button(this, names::kRebuild, "Ricostruisci File", EnterKey::Ignored);
    infoButton_ = widgets::button(this, names::kInfo, "Info On/Off", EnterKey::Ignored);
    deleteButton_ = widgets::button(this, names::kDelete, database ? "Elimina dal Database" : "Elimina dal Repertorio",
                                    EnterKey::Ignored);
    saveButton_ = widgets::button(this, names::kSave, "Salva", EnterKey::Ignored);
    saveAsNewButton_ = widgets::button(this, names::kSaveAsNew, "Salva come Nuovo", EnterKey::Ignored);
    reorderButton_ = widgets::button(this, names::kReorder, "Modifica Elenco", EnterKey::Ignored);
    cancelReorderButton_ = widgets::button(this, names::kCancelReorder, "Annulla Modifiche", EnterKey::Ignored);
    cancelReorderButton_->hide();
    clearButton_ = widgets::button(this, names::kClear, "Limpiar", EnterKey::Ignored);
    auto* back = widgets::button(this, names::kBack, database ? "Volver al Men\xFA" : "Volver al men\xFA", EnterKey::Ignored);

    connect(rebuildButton_, &QPushButton::clicked, this, &EditorDialog::rebuild);
    connect(infoButton_, &QPushButton::clicked, this, [this] { instructions_->setVisible(!instructions_->isVisible()); });
    connect(deleteButton_, &QPushButton::clicked, this, [this] { eliminate(); });
    connect(saveButton_, &QPushButton::clicked, this, [this] { save(); });
    connect(saveAsNewButton_, &QPushButton::clicked, this, [this] { saveAsNew(); });
    connect(reorderButton_, &QPushButton::clicked, this, &EditorDialog::toggleReordering);
    connect(cancelReorderButton_, &QPushButton::clicked, this, [this] {
        cancelReordering();
        fillList(order_);
    });
    connect(clearButton_, &QPushButton::clicked, this, [this] {
        clearEditor();
        list_->clearSelection();
    });
    connect(back, &QPushButton::clicked, this, &EditorDialog::reject);

    auto* row = new QHBoxLayout;
    for (QPushButton* b : {rebuildButton_, infoButton_, reorderButton_, cancelReorderButton_}) row->addWidget(b);
    row->addStretch();
    for (QPushButton* b : {clearButton_, deleteButton_, saveButton_, saveAsNewButton_, back}) row->addWidget(b);
    return row;
}

// ---- opening -------------------------------------------------------------------------

void EditorDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    leavingPanel_->hide();
    instructions_->hide();
    setMaintenance(ws_.maintenanceMode);
    reorder_.reset();
    cancelReorderButton_->hide();
    reorderButton_->setText(QStringLiteral("Modifica Elenco"));
    clearEditor();
    list_->clear();
    entries_.clear();
    searchBox_->setFocus(Qt::OtherFocusReason);
    // The file is read once the window is up and its own event loop runs.
    QTimer::singleShot(0, this, [this] {
        if (isVisible()) fillList(kind_ == EditorKind::Remedies ? EditorOrder::ByRemedy : EditorOrder::ByPathology);
    });
}

void EditorDialog::setMaintenance(bool on) {
    maintenance_ = on;
    for (QWidget* w : std::initializer_list<QWidget*>{notice_, rebuildButton_, infoButton_, deleteButton_, saveButton_,
                                                      saveAsNewButton_, reorderButton_, findButton_, findBox_})
        w->setVisible(on);
    // Without the code the records are only read: nothing typed could be saved.
    for (const TextControl& c : controls_) {
        if (auto* e = qobject_cast<QLineEdit*>(c.widget)) e->setReadOnly(!on);
        if (auto* m = qobject_cast<QPlainTextEdit*>(c.widget)) m->setReadOnly(!on);
    }
    clearButton_->setVisible(on);
}

void EditorDialog::fillList(EditorOrder order) {
    order_ = order;
    (order == EditorOrder::ByRemedy ? byRemedy_ : byPathology_)->setChecked(true);
    // The database listed by indication upper-cases only the first typed character.
    prefix_->setCase(kind_ == EditorKind::Remedies && order == EditorOrder::ByPathology ? TypedPrefix::Case::FirstUpper
                                                                                        : TypedPrefix::Case::Upper);
    finder_.restart();
    std::vector<std::string> entries;
    guarded(this, [&] {
        runInBackground(this, QStringLiteral("Leyendo la lista"),
                        [&](const WorkProgress&) { entries = editorList(ws_.root, kind_, order); });
    });
    entries_ = std::move(entries);
    showEntries();
}

void EditorDialog::showEntries() {
    // A pick or a drop keeps the part of the list in view.
    const int scroll = list_->verticalScrollBar()->value();
    list_->setUpdatesEnabled(false);
    list_->clear();
    list_->addItems(linesOf(entries_));
    if (reorder_ && reorder_->picked()) {
        if (QListWidgetItem* item = list_->item(*reorder_->picked())) {
            item->setBackground(QColor(255, 200, 120));
            QFont f = item->font();
            f.setBold(true);
            item->setFont(f);
        }
    }
    list_->verticalScrollBar()->setValue(scroll);
    list_->setUpdatesEnabled(true);
}

// ---- selecting and loading ------------------------------------------------------------

void EditorDialog::select(int row) {
    if (row < 0 || row >= static_cast<int>(entries_.size())) return;
    if (reorder_ && kind_ == EditorKind::Remedies) return;
    instructions_->hide();
    const std::string& text = entries_[static_cast<std::size_t>(row)];
    const EditorEntry entry = splitEditorEntry(text, reorder_ ? EditorOrder::ByRemedy : order_);
    if (useNumberNote_) useNumberNote_->setVisible(hasUseNumber(text));
    load(entry);
}

bool EditorDialog::load(const EditorEntry& entry) {
    std::optional<std::int64_t> found;
    std::int64_t count = 0;
    std::optional<RemedyRecord> remedy;
    std::optional<TherapyRecord> therapy;
    const bool ok = guarded(this, [&] {
        runInBackground(this, QStringLiteral("Buscando el registro"), [&](const WorkProgress&) {
            found = findEditorRecord(ws_.root, kind_, entry);
            if (kind_ == EditorKind::Remedies) {
                KnowledgeFile<RemedyRecord> file(ws_.root.resolve(kRemedyDatabaseFile));
                count = file.count();
                if (found) remedy = file.read(*found);
            } else {
                KnowledgeFile<TherapyRecord> file(ws_.root.resolve(kRepertoryFile));
                count = file.count();
                if (found) therapy = file.read(*found);
            }
        });
    });
    if (!ok || !found) return false;
    loading_ = true;
    if (remedy) {
        const RemedyRecord& r = *remedy;
        const std::string texts[] = {r.name,          r.indicationText(),   r.posologyText(),    r.warningsText(),
                                     r.primarySignature, r.secondarySignature, r.zodiacSignature, r.synthesisText(),
                                     r.notesText(),   r.extraNotesText()};
        for (std::size_t i = 0; i < controls_.size(); ++i) setControlText(controls_[i].widget, texts[i]);
    } else {
        const TherapyRecord& t = *therapy;
        const std::string texts[] = {t.pathology, t.remedy, t.posology, t.notesText()};
        for (std::size_t i = 0; i < controls_.size(); ++i) setControlText(controls_[i].widget, texts[i]);
    }
    loading_ = false;
    lengthWarning_->hide();
    current_ = *found;
    total_ = count - 1;
    showTotal(true);
    rememberedName_ = entry.remedy;
    rememberedSecond_ = entry.second;
    descriptionsChanged_ = false;
    loaded_ = true;
    deleteButton_->setEnabled(!reorder_);
    setSaveButtons(false);
    if (kind_ == EditorKind::Repertory) loadPanel(entry.remedy);
    return true;
}

void EditorDialog::loadPanel(const std::string& remedy) {
    panelRecord_.reset();
    guarded(this, [&] {
        runInBackground(this, QStringLiteral("Buscando el remedio en la base de datos"),
                        [&](const WorkProgress&) { panelRecord_ = databaseRecordOf(ws_.root, remedy); });
    });
    for (QPushButton* b : panelButtons_) b->setEnabled(panelRecord_.has_value());
    if (panelRecord_) showPanelText(remedyPanelTexts(*panelRecord_).warnings, false);
    else showPanelText(remedy + kNotInDatabase, true);
}

void EditorDialog::showPanelText(const std::string& text, bool red) {
    QPalette p = panelText_->palette();
    p.setColor(QPalette::Text, red ? Qt::red : Qt::black);
    panelText_->setPalette(p);
    panelText_->setProperty("stateColour", red ? "red" : "black");
    panelText_->setPlainText(fromCp(text));
}

void EditorDialog::clearEditor() {
    loading_ = true;
    for (const TextControl& c : controls_) setControlText(c.widget, "");
    loading_ = false;
    lengthWarning_->hide();
    current_ = 0;
    loaded_ = false;
    descriptionsChanged_ = false;
    rememberedName_.clear();
    rememberedSecond_.clear();
    recordNumber_->clear();
    if (useNumberNote_) useNumberNote_->hide();
    deleteButton_->setEnabled(false);
    setSaveButtons(false);
    if (repertoryPanel_) {
        panelRecord_.reset();
        for (QPushButton* b : panelButtons_) b->setEnabled(false);
        panelText_->clear();
    }
}

void EditorDialog::setSaveButtons(bool enabled) {
    saveButton_->setEnabled(enabled);
    saveAsNewButton_->setEnabled(enabled);
}

void EditorDialog::showTotal(bool withRecord) {
    recordNumber_->setText(withRecord ? QStringLiteral("%1 / %2").arg(current_).arg(total_)
                                      : QStringLiteral("Tot=%1").arg(total_));
}

std::string EditorDialog::controlText(const QWidget* w) const {
    if (auto* e = qobject_cast<const QLineEdit*>(w)) return toCp(e->text());
    if (auto* m = qobject_cast<const QPlainTextEdit*>(w)) return toCp(storedForm(m->toPlainText()));
    return {};
}

void EditorDialog::setControlText(QWidget* w, const std::string& cp1252) {
    QString text = fromCp(cp1252);
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(text);
    if (auto* m = qobject_cast<QPlainTextEdit*>(w)) m->setPlainText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

// ---- change tracking ---------------------------------------------------------------------

void EditorDialog::textChanged(const TextControl& c) {
    if (loading_) return;
    if (c.role == Role::Description && loaded_) descriptionsChanged_ = true;
    if (maintenance_ && !reorder_) setSaveButtons(true);
    const int length = static_cast<int>(controlText(c.widget).size());
    if (length > c.beepAt) QApplication::beep();
    if (length > c.capacity) {
        // Beside the control, at its top.
        const QPoint at = c.widget->mapTo(this, QPoint(c.widget->width() - lengthWarning_->width(), -2));
        lengthWarning_->move(at.x(), std::max(0, at.y() - lengthWarning_->height() + 4));
        lengthWarning_->setProperty("control", c.widget->objectName());
        lengthWarning_->show();
        lengthWarning_->raise();
    } else if (lengthWarning_->property("control").toString() == c.widget->objectName()) {
        lengthWarning_->hide();
    }
}

RemedyRecord EditorDialog::remedyFromControls() const {
    RemedyRecord r;
    r.name = controlText(controls_[0].widget);
    r.setIndication(controlText(controls_[1].widget));
    r.setPosology(controlText(controls_[2].widget));
    r.setWarnings(controlText(controls_[3].widget));
    r.primarySignature = controlText(controls_[4].widget);
    r.secondarySignature = controlText(controls_[5].widget);
    r.zodiacSignature = controlText(controls_[6].widget);
    r.setSynthesis(controlText(controls_[7].widget));
    r.setNotes(controlText(controls_[8].widget));
    r.setExtraNotes(controlText(controls_[9].widget));
    return r;
}

TherapyRecord EditorDialog::therapyFromControls() const {
    TherapyRecord t;
    t.pathology = controlText(controls_[0].widget);
    t.remedy = controlText(controls_[1].widget);
    t.posology = controlText(controls_[2].widget);
    t.setNotes(controlText(controls_[3].widget));
    return t;
}

// ---- writing -------------------------------------------------------------------------------

bool EditorDialog::save() {
    if (current_ < 1) {
        showMessage(this, MessageKind::Error, kOnlySaveAsNew);
        return false;
    }
    const std::int64_t k = current_;
    const bool ok = guarded(this, [&] {
        if (kind_ == EditorKind::Remedies) {
            const RemedyRecord r = remedyFromControls();
            runInBackground(this, QStringLiteral("Guardando el registro"),
                            [&](const WorkProgress&) { saveRecord(ws_.root, k, r); });
        } else {
            const TherapyRecord t = therapyFromControls();
            runInBackground(this, QStringLiteral("Guardando el registro"),
                            [&](const WorkProgress&) { saveRecord(ws_.root, k, t); });
        }
    });
    if (!ok) return false;
    afterWrite(k);
    showTotal(true);
    return true;
}

bool EditorDialog::saveAsNew() {
    std::int64_t k = 0;
    const bool ok = guarded(this, [&] {
        if (kind_ == EditorKind::Remedies) {
            const RemedyRecord r = remedyFromControls();
            runInBackground(this, QStringLiteral("Guardando el registro nuevo"),
                            [&](const WorkProgress&) { k = saveRecordAsNew(ws_.root, r); });
        } else {
            const TherapyRecord t = therapyFromControls();
            runInBackground(this, QStringLiteral("Guardando el registro nuevo"),
                            [&](const WorkProgress&) { k = saveRecordAsNew(ws_.root, t); });
        }
    });
    if (!ok) return false;
    // The new record is the one loaded now: a later "Salva" changes it, not the one it came from.
    total_ = k;
    afterWrite(k);
    showTotal(false);
    return true;
}

// What a save leaves: the values written are the remembered ones, the list shows them.
void EditorDialog::afterWrite(std::int64_t record) {
    current_ = record;
    loaded_ = true;
    if (kind_ == EditorKind::Remedies) {
        const RemedyRecord r = remedyFromControls();
        rememberedName_ = r.name.substr(0, RemedyRecord::kNameCapacity);
        rememberedSecond_ = r.indicationText();
    } else {
        const TherapyRecord t = therapyFromControls();
        rememberedName_ = t.remedy.substr(0, 100);
        rememberedSecond_ = t.pathology.substr(0, 100);
    }
    descriptionsChanged_ = false;
    setSaveButtons(false);
    deleteButton_->setEnabled(true);
    if (reorder_) return;
    fillList(order_);
    // The list stays on the record just written.
    const std::string entry = order_ == EditorOrder::ByRemedy ? rememberedName_ + "**" + rememberedSecond_
                                                              : rememberedSecond_ + "**" + rememberedName_;
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i] == entry) {
            list_->setCurrentRow(static_cast<int>(i));
            list_->scrollToItem(list_->item(static_cast<int>(i)));
            break;
        }
}

bool EditorDialog::eliminate() {
    if (current_ < 1) return false;
    const QString what = fromCp(rememberedName_ + " - " + rememberedSecond_);
    if (!askYesNo(this, QStringLiteral("Eliminar el registro"),
                  QStringLiteral("¿Eliminar el registro %1 (%2)? No se puede deshacer.").arg(current_).arg(what)))
        return false;
    const std::int64_t k = current_;
    std::int64_t count = 0;
    const bool ok = guarded(this, [&] {
        runInBackground(this, QStringLiteral("Eliminando el registro"), [&](const WorkProgress&) {
            deleteRecord(ws_.root, kind_, k);
            count = RecordFile(ws_.root.resolve(editorFile(kind_)),
                               kind_ == EditorKind::Remedies ? RemedyRecord::kSize : TherapyRecord::kSize)
                        .count();
        });
    });
    if (!ok) return false;
    clearEditor();
    total_ = count - 1;
    showTotal(false);
    if (reorder_) {
        // The records moved: the order starts again from the file.
        reorder_.reset();
        toggleReordering();
    }
    else fillList(order_);
    return true;
}

void EditorDialog::rebuild() {
    const bool ok = guarded(this, [&] {
        RebuildSummary summary;
        runInBackground(this, QStringLiteral("Reconstruyendo los archivos de apoyo"), [&](const WorkProgress& progress) {
            const RebuildProgress told = [&](std::string_view file) {
                progress.report(0, 0, "Escribiendo " + std::string(file));
            };
            if (kind_ == EditorKind::Remedies) rebuildRemedyLists(ws_.root, summary, told);
            else rebuildRepertoryLists(ws_.root, summary, told);
        });
    });
    clearEditor();
    fillList(EditorOrder::ByPathology);
    if (ok) showStatus(QStringLiteral("Archivos de apoyo reconstruidos"));
}

// ---- re-ordering ------------------------------------------------------------------------

void EditorDialog::toggleReordering() {
    if (!reorder_) {
        std::vector<std::string> entries;
        const bool ok = guarded(this, [&] {
            runInBackground(this, QStringLiteral("Leyendo el orden de los registros"),
                            [&](const WorkProgress&) { entries = reorderingList(ws_.root, kind_); });
        });
        if (!ok) return;
        reorder_.emplace(std::move(entries));
        entries_ = reorder_->entries();
        showEntries();
        list_->scrollToTop();
        byRemedy_->hide();
        byPathology_->hide();
        searchBox_->setEnabled(false);
        reorderButton_->setText(QStringLiteral("Definitivo"));
        cancelReorderButton_->show();
        // Nothing is written while the order is being changed: the list must stay the file's.
        setSaveButtons(false);
        deleteButton_->setEnabled(false);
        return;
    }
    const std::vector<std::string> order = reorder_->entries();
    const auto total = static_cast<std::int64_t>(order.size());
    std::int64_t missing = 0;
    const bool ok = guarded(this, [&] {
        runInBackground(
            this, QStringLiteral("Escribiendo el nuevo orden"),
            [&](const WorkProgress& progress) {
                // Every record must keep its place in the file: written only when the list takes them all.
                const std::int64_t count =
                    RecordFile(ws_.root.resolve(editorFile(kind_)),
                               kind_ == EditorKind::Remedies ? RemedyRecord::kSize : TherapyRecord::kSize)
                        .count();
                missing = count - 1 - static_cast<std::int64_t>(planReordering(ws_.root, kind_, order).size());
                if (missing != 0) return;
                commitReordering(ws_.root, kind_, order,
                                 [&](std::int64_t written) { progress.report(written, total); });
            },
            [this](std::int64_t done, std::int64_t, const QString&) {
                reorderButton_->setText(QString::number(done + 1));
            });
    });
    if (ok && missing != 0)
        showMessage(this, MessageKind::Error,
                    QStringLiteral("El nuevo orden no se ha escrito: %1 registros del archivo no se reconocen en la lista "
                                   "(por ejemplo, un nombre o una indicación que contiene «*»). El archivo queda como "
                                   "estaba.")
                        .arg(std::llabs(missing)));
    if (!ok || missing != 0) {
        // The file is as it was; the new order stays on screen to try again or cancel.
        reorderButton_->setText(QStringLiteral("Definitivo"));
        return;
    }
    cancelReordering();
    fillList(EditorOrder::ByRemedy);
}

void EditorDialog::cancelReordering() {
    reorder_.reset();
    byRemedy_->show();
    byPathology_->show();
    searchBox_->setEnabled(true);
    searchBox_->clear();
    reorderButton_->setText(QStringLiteral("Modifica Elenco"));
    cancelReorderButton_->hide();
}

void EditorDialog::reorderDoubleClick(int row) {
    if (!reorder_) return;
    reorder_->doubleClick(row);
    entries_ = reorder_->entries();
    showEntries();
    if (reorder_->picked()) searchBox_->setText(fromCp(entries_[static_cast<std::size_t>(*reorder_->picked())]));
    else searchBox_->clear();
    list_->setCurrentRow(row);
}

// ---- find and leaving ----------------------------------------------------------------------

void EditorDialog::find() {
    const int row = finder_.find(entries_, toCp(findBox_->text()));
    if (row < 0) return;
    list_->setCurrentRow(row);
    list_->scrollToItem(list_->item(row));
}

bool EditorDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == findBox_ && event->type() == QEvent::MouseButtonPress) {
        finder_.restart();
        findButton_->setDefault(true);
    } else if (panelText_ && watched == panelText_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        if (maintenance_) static_cast<QPlainTextEdit*>(notesField_)->setPlainText(panelText_->toPlainText());
        return true;
    } else if (notesField_ && watched == static_cast<QPlainTextEdit*>(notesField_)->viewport() &&
               event->type() == QEvent::MouseButtonDblClick) {
        if (maintenance_) static_cast<QPlainTextEdit*>(notesField_)->clear();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void EditorDialog::reject() {
    instructions_->hide();
    if (leavingPanel_->isVisible()) {
        leavingPanel_->hide();  // Escape on the panel goes back to the editor
        return;
    }
    const std::string second = controlText(secondField_);
    const PendingChanges changes =
        pendingChanges(rememberedName_, rememberedSecond_, controlText(nameField_), second, descriptionsChanged_);
    // Whatever code was typed last, nothing typed is dropped without asking.
    if (maintenance_ && changes.any()) {
        showLeavingPanel(changes);
        return;
    }
    closeEditor();
}

void EditorDialog::showLeavingPanel(const PendingChanges& changes) {
    nameChanged_->setEnabled(changes.name);
    secondChanged_->setEnabled(changes.second);
    descriptionsChangedLabel_->setEnabled(changes.descriptions);
    leaveSave_->setEnabled(true);
    leaveSaveAsNew_->setEnabled(changes.name || changes.second);
    leaveDelete_->setEnabled(current_ >= 1);
    leavingPanel_->adjustSize();
    leavingPanel_->move((width() - leavingPanel_->width()) / 2, (height() - leavingPanel_->height()) / 2);
    leavingPanel_->show();
    leavingPanel_->raise();
    leaveSave_->setFocus(Qt::OtherFocusReason);
}

void EditorDialog::closeEditor() {
    leavingPanel_->hide();
    if (reorder_) cancelReordering();
    QDialog::reject();
}

}  // namespace athanor
