// TFoRicCom and TFoTerCom: the multiple-symptom and composite-therapy searches.
#include "ui/kbkeeping/RankingDialog.h"

#include "foundations/DataRoot.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"
#include "ui/kbkeeping/BackgroundWork.h"
#include "ui/kbkeeping/PrefixBox.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace athanor {

namespace names {
constexpr const char* kSymptomsWindow = "FoRicCom";
constexpr const char* kTherapiesWindow = "FoTerCom";
constexpr const char* kComplaints = "ListBox1";
constexpr const char* kSearchBox = "EdCerca";
constexpr const char* kFind = "BBTrova";
constexpr const char* kSearch = "BBricerca";
constexpr const char* kRanking = "ListBox3";
constexpr const char* kDetail = "Memo1";
constexpr const char* kClearDetail = "BBpuliMemo";
constexpr const char* kClearAll = "BBpuliTutto";
constexpr const char* kInstructions = "Memo2";
constexpr const char* kBack = "BBRitorna";
}  // namespace names

namespace {

const QColor kSilver(192, 192, 192);

const char* kSymptomInstructions =
    "Elija en la lista de la izquierda hasta quince s\xEDntomas presentes: cada clic copia el "
    "s\xEDntoma en la primera casilla libre y la \"X\" de una casilla la vac\xED" "a. Escriba en el "
    "cuadro de b\xFAsqueda las primeras letras para situarse en la lista, o una palabra y "
    "[Trova] para ir de una aparici\xF3n a la siguiente.\r\n"
    "[Avvia Ricerca] ordena los remedios por el n\xFAmero de s\xEDntomas elegidos para los que "
    "est\xE1n indicados. Un clic en un remedio de la clasificaci\xF3n muestra abajo, para cada "
    "s\xEDntoma que cubre, la indicaci\xF3n y la posolog\xED" "a, y resalta sus casillas.";
const char* kTherapyInstructions =
    "Elija en la lista de la izquierda hasta quince trastornos presentes: cada clic copia el "
    "trastorno en la primera casilla libre y la \"X\" de una casilla la vac\xED" "a. Escriba en el "
    "cuadro de b\xFAsqueda las primeras letras para situarse en la lista, o una palabra y "
    "[Trova] para ir de una aparici\xF3n a la siguiente.\r\n"
    "[Avvia Ricerca] ordena los remedios del repertorio por el n\xFAmero de trastornos elegidos "
    "que tratan. Un clic en un remedio muestra abajo, para cada trastorno, la patolog\xED" "a y la "
    "posolog\xED" "a, y resalta sus casillas.";

QStringList linesOf(const std::vector<std::string>& lines) {
    QStringList out;
    out.reserve(static_cast<int>(lines.size()));
    for (const auto& l : lines) out << fromCp(l);
    return out;
}

}  // namespace

QString RankingDialog::slotName(int slot) { return QStringLiteral("Ed%1").arg(slot, 2, 10, QChar('0')); }
QString RankingDialog::clearButtonName(int slot) { return QStringLiteral("BB%1").arg(slot, 2, 10, QChar('0')); }
QColor RankingDialog::highlightColour() { return QColor(254, 226, 186); }

RankingDialog::RankingDialog(Workstation& ws, RankingKind kind, QWidget* parent)
    : QDialog(parent), ws_(ws), kind_(kind) {
    const bool symptoms = kind == RankingKind::Symptoms;
    setObjectName(symptoms ? names::kSymptomsWindow : names::kTherapiesWindow);
    setWindowTitle(symptoms ? QStringLiteral("SINTOMI MULTIPLI") : QStringLiteral("TERAPIE COMPOSITE"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* row = new QHBoxLayout;
    row->addLayout(buildComplaints(), 3);
    row->addLayout(buildSlots(), 3);
    row->addLayout(buildResults(), 4);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    resize(1180, 640);
}

QLayout* RankingDialog::buildComplaints() {
    const bool symptoms = kind_ == RankingKind::Symptoms;
    complaintList_ = widgets::named<QListWidget>(this, names::kComplaints);
    complaintList_->setUniformItemSizes(true);
    searchBox_ = widgets::field(this, names::kSearchBox);
    findButton_ = widgets::button(this, names::kFind, "Trova", widgets::EnterKey::Ignored);
    findButton_->setToolTip(fromCp("Busca la palabra del cuadro en la lista; cada clic va a la siguiente aparici\xF3n"));
    prefix_ = new PrefixBox(searchBox_, complaintList_, symptoms ? TypedPrefix::Case::FirstUpper : TypedPrefix::Case::Upper,
                            [this]() -> const std::vector<std::string>& { return complaints_; });
    prefix_->onClick = [this] { finder_.restart(); };
    prefix_->onEnter = [this](int row) { pick(row); };
    onEntryPicked(complaintList_, this, [this](int row) { pick(row); });
    connect(findButton_, &QPushButton::clicked, this, &RankingDialog::find);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(searchBox_, 1);
    searchRow->addWidget(findButton_);
    auto* column = new QVBoxLayout;
    column->addWidget(widgets::label(this, symptoms ? "S\xEDntomas" : "Trastornos"));
    column->addWidget(complaintList_, 1);
    column->addLayout(searchRow);
    return column;
}

QLayout* RankingDialog::buildSlots() {
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    for (int k = 1; k <= kComplaintSlots; ++k) {
        auto* label = new QLabel(QStringLiteral("%1)").arg(k, 2, 10, QChar('0')), this);
        QLineEdit* slot = widgets::field(this, slotName(k).toLatin1().constData(), 0, true);
        slot->setFocusPolicy(Qt::NoFocus);
        slot->setAutoFillBackground(true);
        auto* clear = widgets::button(this, clearButtonName(k).toLatin1().constData(), "X", widgets::EnterKey::Ignored);
        clear->setFixedWidth(28);
        connect(clear, &QPushButton::clicked, this, [this, k] {
            slots_.clear(k);
            slotsChanged();
        });
        slotFields_[static_cast<std::size_t>(k - 1)] = slot;
        grid->addWidget(label, k - 1, 0);
        grid->addWidget(slot, k - 1, 1);
        grid->addWidget(clear, k - 1, 2);
    }
    searchButton_ = widgets::button(this, names::kSearch, "Avvia Ricerca", widgets::EnterKey::Ignored);
    connect(searchButton_, &QPushButton::clicked, this, &RankingDialog::search);
    auto* clearAllButton = widgets::button(this, names::kClearAll, "Pulisci Tutto", widgets::EnterKey::Ignored);
    connect(clearAllButton, &QPushButton::clicked, this, &RankingDialog::clearAll);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(searchButton_);
    buttons->addWidget(clearAllButton);
    auto* column = new QVBoxLayout;
    column->addWidget(widgets::label(this, kind_ == RankingKind::Symptoms ? "S\xEDntomas presentes" : "Trastornos presentes"));
    column->addLayout(grid);
    column->addLayout(buttons);
    column->addStretch();
    return column;
}

QLayout* RankingDialog::buildResults() {
    ranking_ = widgets::named<QListWidget>(this, names::kRanking);
    ranking_->setUniformItemSizes(true);
    // Each click adds its remedy's detail below the ones before.
    onEntryPicked(ranking_, this, [this](int row) { showDetail(row); });
    detail_ = widgets::memo(this, names::kDetail);
    instructions_ = widgets::memo(this, names::kInstructions);
    instructions_->setPlainText(fromCp(kind_ == RankingKind::Symptoms ? kSymptomInstructions : kTherapyInstructions));
    instructions_->setFixedHeight(120);
    auto* clearDetail = widgets::button(this, names::kClearDetail, "Pulisci", widgets::EnterKey::Ignored);
    connect(clearDetail, &QPushButton::clicked, detail_, &QPlainTextEdit::clear);
    auto* back = widgets::button(this, names::kBack, "&Ritorna al Menu", widgets::EnterKey::Ignored);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(clearDetail);
    buttons->addStretch();
    buttons->addWidget(back);
    auto* column = new QVBoxLayout;
    column->addWidget(widgets::label(this, "Clasificaci\xF3n de los remedios"));
    column->addWidget(ranking_, 2);
    column->addWidget(detail_, 3);
    column->addLayout(buttons);
    column->addWidget(instructions_);
    return column;
}

void RankingDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    slots_.clearAll();
    complaints_.clear();
    complaintList_->clear();
    prefix_->clear();
    finder_.restart();
    slotsChanged();
    // The files are read once the window is up and its own event loop runs.
    QTimer::singleShot(0, this, [this] {
        if (isVisible()) fill();
    });
}

void RankingDialog::fill() {
    guarded(this, [&] {
        // The composite-therapy window collects the remedies of the repertory first.
        runInBackground(this, QStringLiteral("Leyendo la base de conocimientos"), [&](const WorkProgress&) {
            complaints_ = openComplaints(ws_.root, kind_);
        });
    });
    complaintList_->addItems(linesOf(complaints_));
    searchBox_->setFocus(Qt::OtherFocusReason);
}

void RankingDialog::pick(int row) {
    if (row < 0 || row >= static_cast<int>(complaints_.size())) return;
    if (slots_.pick(complaints_[static_cast<std::size_t>(row)])) slotsChanged();
}

void RankingDialog::slotsChanged() {
    for (int k = 0; k < kComplaintSlots; ++k)
        slotFields_[static_cast<std::size_t>(k)]->setText(fromCp(slots_.texts()[static_cast<std::size_t>(k)]));
    const bool any = slots_.anyFilled();
    searchButton_->setEnabled(any);
    if (!any) {
        paintSlots({});
        ranked_.clear();
        ranking_->clear();
        detail_->clear();
    }
}

void RankingDialog::paintSlots(const std::array<bool, kComplaintSlots>& highlighted) {
    for (int k = 0; k < kComplaintSlots; ++k) {
        QLineEdit* slot = slotFields_[static_cast<std::size_t>(k)];
        QPalette p = slot->palette();
        p.setColor(QPalette::Base, highlighted[static_cast<std::size_t>(k)] ? highlightColour() : kSilver);
        slot->setPalette(p);
    }
}

void RankingDialog::search() {
    ranking_->clear();
    detail_->clear();
    ranked_.clear();
    const auto texts = slots_.texts();
    std::vector<RankedRemedy> ranked;
    const bool ok = guarded(this, [&] {
        runInBackground(this, QStringLiteral("Buscando los remedios"),
                        [&](const WorkProgress&) { ranked = rankRemedies(ws_.root, kind_, texts); });
    });
    if (!ok) return;
    ranked_ = std::move(ranked);
    QStringList lines;
    lines.reserve(static_cast<int>(ranked_.size()));
    for (const auto& r : ranked_) lines << fromCp(r.text());
    ranking_->addItems(lines);
}

void RankingDialog::showDetail(int row) {
    if (row < 0 || row >= static_cast<int>(ranked_.size())) return;
    paintSlots({});
    guarded(this, [&] {
        // The name comes whole from the ranking, whatever the width of its count.
        const RankingDetail d =
            rankingDetail(ws_.root, kind_, slots_.texts(), ranked_[static_cast<std::size_t>(row)].name);
        for (const auto& line : d.lines) detail_->appendPlainText(fromCp(line));
        paintSlots(d.highlighted);
    });
}

void RankingDialog::find() {
    const int row = finder_.find(complaints_, toCp(searchBox_->text()));
    if (row >= 0) {
        complaintList_->setCurrentRow(row);
        complaintList_->scrollToItem(complaintList_->item(row));
    }
}

void RankingDialog::clearAll() {
    slots_.clearAll();
    slotsChanged();
}

}  // namespace athanor
