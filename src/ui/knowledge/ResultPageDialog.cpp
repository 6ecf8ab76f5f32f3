#include "ui/knowledge/ResultPageDialog.h"

#include "foundations/FileError.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"

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

#include <algorithm>

namespace athanor {

// The names the three windows share.
namespace names {
constexpr const char* kRowButton = "SB";     // SB1 .. SB14
constexpr const char* kRemedyBox = "EdP";    // EdP1 .. EdP14
constexpr const char* kPlanetsBox = "EdA";   // EdA1 .. EdA14
constexpr const char* kSignsBox = "EdS";     // EdS1 .. EdS14
constexpr const char* kFourthBox = "EdD";    // EdD1 .. EdD14
constexpr const char* kRows = "PanelRighe";  // the fourteen rows
constexpr const char* kPageBox = "Edit1";
constexpr const char* kPrevious = "BBAnticipo";
constexpr const char* kNext = "BBseguito";
constexpr const char* kNoResults = "LabNessunRisultato";
constexpr const char* kNoteCaption = "LabNote";
constexpr const char* kNote = "MemoNote";
constexpr const char* kSearch = "EdCerca";
constexpr const char* kList = "ListBox1";
constexpr const char* kClear = "BitBtn1";
constexpr const char* kInfoButton = "BitBtn2";
constexpr const char* kInfo = "MemoInfo";
constexpr const char* kPopup = "list";
constexpr const char* kZoom = "MemoZoom";
constexpr const char* kReturn = "BBVolver";
}  // namespace names

namespace {

constexpr int kPopupLineHeight = 20;

QString rowName(const char* stem, int n) { return QString::fromLatin1(stem) + QString::number(n); }

QLineEdit* rowBox(QWidget* parent, const char* stem, int n) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(rowName(stem, n));
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::ClickFocus);
    box->setMinimumWidth(60);
    return box;
}

void setBox(QLineEdit* box, const std::string& cp1252) {
    if (!box) return;
    const QString text = fromCp(cp1252);
    box->setText(text);
    box->setCursorPosition(0);
    // A long text reads whole in the tooltip, wrapped.
    box->setToolTip(text.isEmpty() ? QString() : QStringLiteral("<p>%1</p>").arg(text.toHtmlEscaped()));
}

}  // namespace

ResultPageDialog::ResultPageDialog(DataRoot root, const Setup& setup, QWidget* parent)
    : QDialog(parent), root_(std::move(root)), setup_(setup), page_(root_, setup.kind), prefix_(setup.typing) {
    setObjectName(QString::fromLatin1(setup.window));
    setWindowTitle(fromCp(setup.caption));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setSizeGripEnabled(true);

    selectedBox_ = widgets::field(this, setup.selectedName, 0, true);
    selectedBox_->setFocusPolicy(Qt::ClickFocus);
    auto* top = new QHBoxLayout;
    top->addWidget(widgets::label(this, setup.selectedTitle));
    top->addWidget(selectedBox_, 1);
    ownArea_ = new QVBoxLayout;
    ownArea_->setSpacing(4);

    auto* middle = new QHBoxLayout;
    middle->addWidget(buildRows(), 5);
    middle->addLayout(buildSide(), 2);

    noteCaption_ = widgets::label(this, "Notas", names::kNoteCaption);
    noteCaption_->setWordWrap(true);
    noteMemo_ = widgets::memo(this, names::kNote);
    noteMemo_->setMinimumHeight(QFontMetrics(noteMemo_->font()).lineSpacing() * 5 + 12);

    auto* back = widgets::button(this, names::kReturn, setup.returnCaption, widgets::EnterKey::Ignored);
    connect(back, &QPushButton::clicked, this, &QDialog::accept);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(back);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(ownArea_);
    layout->addLayout(middle);
    layout->addWidget(noteCaption_);
    layout->addWidget(noteMemo_, 1);
    layout->addLayout(bottom);

    // Over the window, outside the layouts.
    popup_ = widgets::named<QListWidget>(this, names::kPopup);
    popup_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    popup_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    popup_->viewport()->installEventFilter(this);
    popup_->hide();
    zoom_ = widgets::memo(this, names::kZoom);
    zoom_->setStyleSheet(kOverlayStyle);
    zoom_->setToolTip(fromCp("Clic para cerrar"));
    zoom_->viewport()->installEventFilter(this);
    zoom_->hide();
    resize(1180, 700);
}

QWidget* ResultPageDialog::buildRows() {
    rowsPanel_ = widgets::named<QWidget>(this, names::kRows);
    auto* grid = new QGridLayout(rowsPanel_);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(2);
    const bool signatures = setup_.kind != ConsultationKind::Therapy;
    int column = 1;
    grid->addWidget(widgets::label(rowsPanel_, "Remedio"), 0, column++);
    if (signatures) {
        grid->addWidget(widgets::label(rowsPanel_, "Planetas"), 0, column++);
        grid->addWidget(widgets::label(rowsPanel_, "Signos"), 0, column++);
    }
    grid->addWidget(widgets::label(rowsPanel_, setup_.fourthTitle), 0, column);
    for (int n = 1; n <= kPageRows; ++n) {
        Row& row = rows_[static_cast<std::size_t>(n - 1)];
        row.button = new QPushButton(fromCp(std::to_string(n) + "\xB0"), rowsPanel_);
        row.button->setObjectName(rowName(names::kRowButton, n));
        row.button->setAutoDefault(false);
        row.button->setFixedWidth(40);
        connect(row.button, &QPushButton::clicked, this, [this, n] { pressRow(n); });
        row.remedy = rowBox(rowsPanel_, names::kRemedyBox, n);
        column = 0;
        grid->addWidget(row.button, n, column++);
        grid->addWidget(row.remedy, n, column++);
        if (signatures) {
            row.planets = rowBox(rowsPanel_, names::kPlanetsBox, n);
            row.signs = rowBox(rowsPanel_, names::kSignsBox, n);
            row.planets->installEventFilter(this);
            row.signs->installEventFilter(this);
            grid->addWidget(row.planets, n, column++);
            grid->addWidget(row.signs, n, column++);
        }
        row.fourth = rowBox(rowsPanel_, names::kFourthBox, n);
        row.fourth->installEventFilter(this);
        grid->addWidget(row.fourth, n, column);
    }
    if (signatures) {
        grid->setColumnStretch(1, 3);
        grid->setColumnStretch(2, 2);
        grid->setColumnStretch(3, 2);
        grid->setColumnStretch(4, 4);
    } else {
        grid->setColumnStretch(1, 2);
        grid->setColumnStretch(2, 5);
    }
    grid->setRowStretch(kPageRows + 1, 1);
    return rowsPanel_;
}

QLayout* ResultPageDialog::buildSide() {
    searchBox_ = widgets::field(this, names::kSearch);
    searchBox_->installEventFilter(this);
    searchBox_->setToolTip(fromCp("Escriba las primeras letras; Intro elige la l\xEDnea marcada"));
    auto* searchLabel = widgets::label(this, "Buscar");
    searchLabel->setBuddy(searchBox_);

    list_ = widgets::named<QListWidget>(this, names::kList);
    list_->installEventFilter(this);
    list_->setMinimumWidth(260);
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { selectEntry(list_->row(item)); });
    infoMemo_ = widgets::memo(this, names::kInfo);
    infoMemo_->setPlainText(QString::fromUtf8(setup_.info));
    infoMemo_->setToolTip(fromCp("Doble clic para ocultar"));
    infoMemo_->viewport()->installEventFilter(this);
    infoMemo_->hide();
    // The help lies over the list while it is shown.
    auto* listCell = new QGridLayout;
    listCell->addWidget(list_, 0, 0);
    listCell->addWidget(infoMemo_, 0, 0);

    pageBox_ = widgets::field(this, names::kPageBox, 0, true);
    pageBox_->setFocusPolicy(Qt::NoFocus);
    pageBox_->setAlignment(Qt::AlignCenter);
    pageBox_->setFixedWidth(64);
    setStateColour(pageBox_, StateColour::White);
    previousButton_ = widgets::button(this, names::kPrevious, "<", widgets::EnterKey::Ignored);
    previousButton_->setToolTip(fromCp("P\xE1gina anterior"));
    nextButton_ = widgets::button(this, names::kNext, ">", widgets::EnterKey::Ignored);
    nextButton_->setToolTip(fromCp("P\xE1gina siguiente"));
    for (QPushButton* b : {previousButton_, nextButton_}) b->setFixedWidth(36);
    connect(previousButton_, &QPushButton::clicked, this, [this] { movePage(false); });
    connect(nextButton_, &QPushButton::clicked, this, [this] { movePage(true); });
    auto* pageRow = new QHBoxLayout;
    pageRow->addWidget(widgets::label(this, "p\xE1g"));
    pageRow->addWidget(pageBox_);
    pageRow->addWidget(previousButton_);
    pageRow->addWidget(nextButton_);
    pageRow->addStretch();
    noResults_ = widgets::label(this, kNoResultsHint, names::kNoResults);
    noResults_->setStyleSheet("QLabel { color: #a00000; font-weight: bold; }");
    noResults_->hide();

    clearButton_ = widgets::button(this, names::kClear, "Limpiar", widgets::EnterKey::Ignored);
    connect(clearButton_, &QPushButton::clicked, this, &ResultPageDialog::clearPage);
    infoButton_ = widgets::button(this, names::kInfoButton, setup_.infoCaption, widgets::EnterKey::Ignored);
    connect(infoButton_, &QPushButton::clicked, this, &ResultPageDialog::toggleInfo);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(clearButton_);
    buttons->addWidget(infoButton_);

    auto* side = new QVBoxLayout;
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(searchBox_, 1);
    side->addLayout(searchRow);
    side->addWidget(widgets::label(this, setup_.listTitle));
    side->addLayout(listCell, 1);
    side->addLayout(pageRow);
    side->addWidget(noResults_);
    side->addLayout(buttons);
    return side;
}

// ---- the list ---------------------------------------------------------------------

bool ResultPageDialog::load() {
    BusyCursor busy;
    std::vector<std::string> lines;
    if (!guarded(this, [&] { lines = readList(); })) return false;
    entries_ = std::move(lines);
    list_->clear();
    QStringList items;
    items.reserve(static_cast<int>(entries_.size()));
    for (const auto& e : entries_) items << fromCp(displayText(e));
    list_->addItems(items);
    if (page_.hasSelection()) {
        const auto at = std::find(entries_.begin(), entries_.end(), page_.selected());
        if (at != entries_.end()) list_->setCurrentRow(static_cast<int>(at - entries_.begin()));
    }
    // A window kept between openings keeps its typed text too.
    searchBox_->setFocus(Qt::OtherFocusReason);
    return true;
}

void ResultPageDialog::searchKey(char key) {
    if (key == '\b') prefix_.backspace();
    else prefix_.type(key);
    const int at = sortedPrefixPosition(entries_, prefix_.text());
    if (at < 0) return;
    list_->setCurrentRow(at);
    list_->scrollToItem(list_->item(at), QAbstractItemView::PositionAtCenter);
}

void ResultPageDialog::selectEntry(int index) {
    if (index < 0 || index >= static_cast<int>(entries_.size())) return;
    list_->setCurrentRow(index);
    selectText(entries_[static_cast<std::size_t>(index)]);
}

void ResultPageDialog::selectText(const std::string& item) {
    BusyCursor busy;
    hideOverlays();
    setNote(QStringLiteral("Notas"), QString());
    try {
        page_.select(item);
    } catch (const FileError& e) {
        emptyRows();
        pageBox_->clear();
        setStateColour(pageBox_, StateColour::White);
        noResults_->hide();
        showFileError(this, e);
        return;
    }
    selectedBox_->setText(fromCp(page_.selected()));
    selectedBox_->setCursorPosition(0);
    showRows();
    showSelection();
}

// ---- the rows --------------------------------------------------------------------------

void ResultPageDialog::emptyRows() {
    for (Row& row : rows_)
        for (QLineEdit* box : {row.remedy, row.planets, row.signs, row.fourth}) setBox(box, {});
}

void ResultPageDialog::showRows() {
    std::vector<ConsultationRow> shown;
    if (!guarded(this, [&] { shown = page_.rows(); })) shown.clear();
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const Row& row = rows_[i];
        const ConsultationRow r = i < shown.size() ? shown[i] : ConsultationRow{};
        setBox(row.remedy, r.remedy);
        setBox(row.planets, r.planets);
        setBox(row.signs, r.signs);
        setBox(row.fourth, r.fourth);
    }
    const bool empty = !page_.rowsShown() || page_.nothingFound();
    noResults_->setVisible(page_.rowsShown() && page_.nothingFound());
    if (empty) {
        pageBox_->clear();
        setStateColour(pageBox_, StateColour::White);
        return;
    }
    pageBox_->setText(fromCp(page_.pager().pageText()));
    setStateColour(pageBox_, page_.pager().morePending() ? StateColour::Red : StateColour::Aqua);
}

void ResultPageDialog::movePage(bool forward) {
    if (!(forward ? page_.next() : page_.previous())) return;
    hideOverlays();
    setNote(QStringLiteral("Notas"), QString());
    showRows();
}

void ResultPageDialog::clearPage() {
    page_.clear();
    emptyRows();
    pageBox_->clear();
    setStateColour(pageBox_, StateColour::White);
    noResults_->hide();
    setNote(QStringLiteral("Notas"), QString());
    selectedBox_->clear();
    hideOverlays();
    if (setup_.kind != ConsultationKind::Therapy) {
        searchBox_->clear();
        prefix_.clear();
    }
    clearOwnBoxes();
}

void ResultPageDialog::pressRow(int n) {
    guarded(this, [&] {
        if (const auto note = page_.press(n)) setNote(fromCp(note->caption), fromCp(note->text));
    });
}

void ResultPageDialog::setNote(const QString& caption, const QString& text) {
    noteCaption_->setText(caption);
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    noteMemo_->setPlainText(t);
}

// ---- overlays -------------------------------------------------------------------------

void ResultPageDialog::hideOverlays() {
    popup_->hide();
    zoom_->hide();
    infoMemo_->hide();
    hideOwnOverlays();
}

void ResultPageDialog::showPopup(QLineEdit* box, bool planets) {
    const auto words = signaturePopup(toCp(box->text()), planets);
    popup_->clear();
    for (const auto& w : words) popup_->addItem(fromCp(w));
    const QPoint at = box->mapTo(this, QPoint(0, 0));
    const int height = kPopupLineHeight * static_cast<int>(words.size()) + 4;
    const int width = std::max(box->width(), 150);
    popup_->setGridSize(QSize(width - 4, kPopupLineHeight));
    popup_->setGeometry(std::min(at.x(), std::max(0, this->width() - width)),
                        std::min(at.y(), std::max(0, this->height() - height)), width, height);
    popup_->raise();
    popup_->show();
}

void ResultPageDialog::showZoom(QLineEdit* box) {
    if (box->text().isEmpty()) return;
    zoom_->setPlainText(box->text());
    const QPoint at = box->mapTo(this, QPoint(0, 0));
    const int width = std::max(box->width(), 360);
    const int height = 150;
    zoom_->setGeometry(std::min(at.x(), std::max(0, this->width() - width)),
                       std::min(at.y(), std::max(0, this->height() - height)), width, height);
    zoom_->raise();
    zoom_->show();
}

void ResultPageDialog::toggleInfo() {
    infoMemo_->setVisible(!infoMemo_->isVisible());
    if (infoMemo_->isVisible()) infoMemo_->raise();
}

bool ResultPageDialog::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == searchBox_) {
        if (type == QEvent::MouseButtonPress) {
            searchBox_->clear();
            prefix_.clear();
        } else if (type == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) {
                const int step = key->key() == Qt::Key_Down ? 1 : -1;
                list_->setCurrentRow(std::clamp(list_->currentRow() + step, 0, std::max(0, list_->count() - 1)));
                return true;
            }
            const char c = keyChar(key);
            if (c == '\r') {
                selectEntry(list_->currentRow());
                return true;
            }
            if (c != 0) searchKey(c);
        }
        return false;
    }
    if (watched == list_ && type == QEvent::KeyPress) {
        const int k = static_cast<QKeyEvent*>(event)->key();
        if (k == Qt::Key_Return || k == Qt::Key_Enter) {
            selectEntry(list_->currentRow());
            return true;
        }
        return false;
    }
    if (watched == popup_->viewport() && type == QEvent::MouseButtonPress) {
        popup_->hide();
        return true;
    }
    if (watched == zoom_->viewport() && type == QEvent::MouseButtonPress) {
        zoom_->hide();
        return true;
    }
    if (watched == infoMemo_->viewport() && type == QEvent::MouseButtonDblClick) {
        infoMemo_->hide();
        return true;
    }
    if (type == QEvent::MouseButtonDblClick || type == QEvent::MouseButtonPress) {
        for (const Row& row : rows_) {
            if (watched == row.fourth && type == QEvent::MouseButtonDblClick) {
                showZoom(row.fourth);
                return true;
            }
            if (watched != row.planets && watched != row.signs) continue;
            if (type == QEvent::MouseButtonDblClick) {
                showPopup(static_cast<QLineEdit*>(watched), watched == row.planets);
                return true;
            }
            popup_->hide();
            return false;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace athanor
