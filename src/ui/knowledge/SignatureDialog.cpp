#include "ui/knowledge/SignatureDialog.h"

#include "app/Workstation.h"
#include "foundations/Format.h"
#include "knowledge/Signatures.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"
#include "ui/knowledge/SignatureCriteria.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace athanor {

namespace names {
constexpr const char* kWindow = "FoSegnat";
constexpr const char* kPlanet = "EdPianeta";
constexpr const char* kSign = "EdSegno";
constexpr const char* kRemedies = "ListBox2";
constexpr const char* kRowColumns[] = {"EdP", "EdD", "EdE", "EdF"};
constexpr const char* kTotal = "EdTot";
constexpr const char* kPage = "EdPage";
constexpr const char* kNext = "BBseguito";
constexpr const char* kPrevious = "BBAnticipo";
constexpr const char* kSearch = "BBcerca";
constexpr const char* kClear = "BBpulisci";
constexpr const char* kBack = "BBritorna";
constexpr const char* kHelp = "MemoZoom";
constexpr const char* kNoResult = "LabNessunRisultato";
}  // namespace names

namespace {

std::array<std::string, 12> signNames() {
    std::array<std::string, 12> out;
    for (int s = 1; s <= 12; ++s) out[static_cast<std::size_t>(s - 1)] = signName(s);
    return out;
}

const char* const kHelpText =
    "Elija un planeta y un signo y pulse \"Iniciar B\xFAsqueda Remedios\": se listan los remedios "
    "cuya signatura planetaria (primaria o secundaria) contiene el planeta y cuya signatura "
    "zodiacal contiene el signo. \"Cualquier\" no pone condici\xF3n. Cada remedio se juzga por su "
    "primer registro. Con m\xE1s de catorce remedios el cuadro de p\xE1gina se pone rojo: "
    "p\xE1selas con las flechas.\n\n"
    "Un clic en un remedio de la lista muestra su signatura en la primera fila libre; se "
    "acumulan hasta catorce, uno al lado del otro. \"Limpiar\" vac\xED"
    "a las filas.";

}  // namespace

SignatureDialog::SignatureDialog(Workstation& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName(names::kWindow);
    setWindowTitle(fromCp("SIGNATURAS ASTROL\xD3GICAS "));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    criteria_ = new SignatureCriteria("Planeta", "Signo", signNames(), this);
    planet_ = widgets::field(this, names::kPlanet, 0, true);
    sign_ = widgets::field(this, names::kSign, 0, true);
    search_ = widgets::button(this, names::kSearch, "Iniciar B\xFAsqueda Remedios");
    total_ = widgets::field(this, names::kTotal, 0, true);
    total_->setMaximumWidth(80);
    page_ = widgets::field(this, names::kPage, 0, true);
    page_->setMaximumWidth(80);
    page_->setAlignment(Qt::AlignCenter);
    previous_ = widgets::button(this, names::kPrevious, "<");
    previous_->setToolTip(fromCp("P\xE1gina anterior"));
    next_ = widgets::button(this, names::kNext, ">");
    next_->setToolTip(fromCp("P\xE1gina siguiente"));
    for (QPushButton* b : {previous_, next_}) b->setMaximumWidth(40);
    noResult_ = widgets::label(this, "Ning\xFAn resultado", names::kNoResult);
    noResult_->hide();

    auto* criteriaForm = new QGridLayout;
    criteriaForm->addWidget(widgets::label(this, "Planeta"), 0, 0);
    criteriaForm->addWidget(planet_, 0, 1, 1, 4);
    criteriaForm->addWidget(widgets::label(this, "Signo"), 1, 0);
    criteriaForm->addWidget(sign_, 1, 1, 1, 4);
    criteriaForm->addWidget(search_, 2, 0, 1, 5);
    criteriaForm->addWidget(widgets::label(this, "Encontrados"), 3, 0);
    criteriaForm->addWidget(total_, 3, 1);
    criteriaForm->addWidget(previous_, 3, 2);
    criteriaForm->addWidget(page_, 3, 3);
    criteriaForm->addWidget(next_, 3, 4);
    criteriaForm->addWidget(noResult_, 4, 0, 1, 5);
    criteriaForm->setRowStretch(5, 1);

    help_ = widgets::memo(this, names::kHelp);
    help_->setPlainText(fromCp(kHelpText));
    help_->setMinimumWidth(260);

    auto* top = new QHBoxLayout;
    top->addWidget(criteria_);
    top->addLayout(criteriaForm);
    top->addWidget(help_, 1);

    remedies_ = widgets::named<QListWidget>(this, names::kRemedies);
    remedies_->setSortingEnabled(false);  // the list comes sorted as the base sorts it
    remedies_->setMinimumWidth(240);
    remedies_->installEventFilter(this);
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(widgets::label(this, "Lista de los Remedios"));
    listColumn->addWidget(remedies_, 1);

    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    const char* headings[] = {"Remedio", "Signatura planetaria primaria", "Signatura planetaria secundaria",
                              "Signatura zodiacal"};
    for (int c = 0; c < 4; ++c) grid->addWidget(widgets::label(this, headings[c]), 0, c);
    for (int r = 0; r < kSignatureRows; ++r)
        for (int c = 0; c < 4; ++c) {
            const std::string name = names::kRowColumns[c] + std::to_string(r + 1);
            QLineEdit* box = widgets::field(this, name.c_str(), 0, true);
            box->setFocusPolicy(Qt::ClickFocus);
            if (c == 0) box->installEventFilter(this);
            rows_[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = box;
            grid->addWidget(box, r + 1, c);
        }
    grid->setRowStretch(kSignatureRows + 1, 1);  // the rows stay under their headings
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 2);
    grid->setColumnStretch(3, 3);

    auto* middle = new QHBoxLayout;
    middle->addLayout(listColumn);
    middle->addLayout(grid, 1);

    clear_ = widgets::button(this, names::kClear, "Limpiar");
    back_ = widgets::button(this, names::kBack, "&Volver al Men\xFA");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(clear_);
    buttons->addStretch();
    buttons->addWidget(back_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);
    resize(1200, 720);

    connect(criteria_, &SignatureCriteria::changed, this, &SignatureDialog::showCriteria);
    connect(remedies_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { choose(remedies_->row(item)); });
    connect(search_, &QPushButton::clicked, this, &SignatureDialog::search);
    connect(next_, &QPushButton::clicked, this, [this] {
        if (pages_.next()) showPage();
    });
    connect(previous_, &QPushButton::clicked, this, [this] {
        if (pages_.previous()) showPage();
    });
    connect(clear_, &QPushButton::clicked, this, [this] {
        chosen_.clear();
        clearRows();
    });
    connect(back_, &QPushButton::clicked, this, &QDialog::reject);
}

bool SignatureDialog::load() {
    BusyCursor busy;
    criteria_->reset();
    showCriteria();
    chosen_.clear();
    pages_.clear();
    clearRows();
    total_->setText(QStringLiteral("0"));
    page_->clear();
    setStateColour(page_, StateColour::White);
    remedies_->clear();
    list_.clear();
    if (!guarded(this, [&] { list_ = openRemedyNameList(ws_.root); })) return false;
    QStringList names;  // added at once: the base may hold many thousands
    names.reserve(static_cast<qsizetype>(list_.size()));
    for (const auto& e : list_) names << fromCp(e.name);
    remedies_->addItems(names);
    return true;
}

void SignatureDialog::setRemedyAction(std::function<void(const QString&)> action) {
    remedyAction_ = std::move(action);
    for (auto& row : rows_) row[0]->setToolTip(fromCp("Doble clic: la ventana del remedio"));
}

void SignatureDialog::showCriteria() {
    planet_->setText(fromCp(criteria_->planet()));
    sign_->setText(fromCp(criteria_->sign()));
}

void SignatureDialog::clearRows() {
    for (auto& row : rows_)
        for (QLineEdit* box : row) {
            box->clear();
            box->setToolTip(remedyAction_ && box == row[0] ? fromCp("Doble clic: la ventana del remedio") : QString());
        }
    noResult_->hide();
}

void SignatureDialog::showRows(const std::vector<SignatureRow>& rows) {
    clearRows();
    for (std::size_t r = 0; r < rows.size() && r < rows_.size(); ++r) {
        const std::string* texts[] = {&rows[r].name, &rows[r].primary, &rows[r].secondary, &rows[r].zodiac};
        for (std::size_t c = 0; c < 4; ++c) {
            rows_[r][c]->setText(fromCp(*texts[c]));
            rows_[r][c]->setCursorPosition(0);
            if (c > 0) rows_[r][c]->setToolTip(fromCp(*texts[c]));
        }
    }
}

void SignatureDialog::choose(int entry) {
    if (entry < 0 || entry >= static_cast<int>(list_.size())) return;
    if (pages_.holdsSearch()) {
        pages_.clear();
        chosen_.clear();
        page_->clear();
        setStateColour(page_, StateColour::White);
        total_->clear();
    }
    BusyCursor busy;
    guarded(this, [&] {
        if (auto record = firstRecordNamed(ws_.root, list_[static_cast<std::size_t>(entry)].name)) {
            chosen_.choose(*record);
            showRows(chosen_.rows());
        }
    });
}

void SignatureDialog::search() {
    BusyCursor busy;
    chosen_.clear();
    clearRows();
    std::size_t found = 0;
    const bool ok =
        guarded(this, [&] { found = runSignatureSearch(ws_.root, list_, toCp(planet_->text()), toCp(sign_->text())); });
    if (!ok) return;
    pages_.found(found);
    total_->setText(QString::number(found));
    showPage();
    setStateColour(page_, pages_.red() ? StateColour::Red : StateColour::White);
    noResult_->setVisible(found == 0);
}

void SignatureDialog::showPage() {
    page_->setText(fromCp(pages_.text()));
    setStateColour(page_, pages_.red() ? StateColour::Red : StateColour::White);
    guarded(this, [&] { showRows(signatureResultPage(ws_.root, pages_.page())); });
}

bool SignatureDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == remedies_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            choose(remedies_->currentRow());
            return true;  // Enter chooses, it does not close the window
        }
    }
    if (event->type() == QEvent::MouseButtonDblClick && remedyAction_)
        if (auto* box = qobject_cast<QLineEdit*>(watched); box && !box->text().isEmpty()) {
            remedyAction_(box->text());
            return true;
        }
    return QDialog::eventFilter(watched, event);
}

}  // namespace athanor
