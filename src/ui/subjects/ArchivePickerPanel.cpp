#include "ui/subjects/ArchivePickerPanel.h"

#include "subjects/Archive.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"
#include "ui/subjects/NameBrowserView.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QVBoxLayout>

namespace athanor {

namespace names {
constexpr const char* kChosen = "EditArchi";
constexpr const char* kNameField = "EditSoggetto";
constexpr const char* kNameList = "ListaNomi";
constexpr const char* kNameBar = "ScrollBar1";
}  // namespace names

ArchivePickerPanel::ArchivePickerPanel(DataRoot root, const Parts& parts, QWidget* parent)
    : QWidget(parent), root_(std::move(root)), withTemporary_(parts.withTemporary) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(buildArchiveColumn(parts));
    if (parts.browser) {
        layout->addSpacing(8);
        browserPlace_ = new QGridLayout;
        browserPlace_->addWidget(buildBrowser(parts), 0, 0);
        layout->addLayout(browserPlace_, 1);
    }
    connect(archives_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { choose(item->text()); });
}

QLayout* ArchivePickerPanel::buildArchiveColumn(const Parts& parts) {
    archives_ = widgets::lineList(this, parts.archiveList, parts.archiveLines, 17);
    chosen_ = widgets::field(this, names::kChosen, 4, true);
    chosen_->setFixedWidth(60);
    chosen_->setFocusPolicy(Qt::ClickFocus);  // shown, not edited
    auto* column = new QVBoxLayout;
    column->addWidget(widgets::label(this, parts.archiveTitle));
    column->addWidget(archives_);
    if (!parts.chosenCaption) {
        column->addWidget(chosen_);
    } else if (parts.chosenBeside) {
        auto* row = new QHBoxLayout;
        row->addWidget(widgets::label(this, parts.chosenCaption));
        row->addWidget(chosen_);
        row->addStretch();
        column->addLayout(row);
    } else {
        column->addWidget(widgets::label(this, parts.chosenCaption));
        column->addWidget(chosen_);
    }
    column->addStretch();
    return column;
}

QWidget* ArchivePickerPanel::buildBrowser(const Parts& parts) {
    if (parts.browserBox) {
        browserBox_ = widgets::group(this, parts.browserBox, "");
    } else {
        browserBox_ = new QWidget(this);
    }
    nameField_ = widgets::field(browserBox_, names::kNameField, 43);
    nameField_->setFont(widgets::monospace(9));
    auto* list = widgets::lineList(browserBox_, names::kNameList, parts.browser->lines, 43);
    auto* bar = widgets::scrollBar(browserBox_, names::kNameBar);
    bar->setFixedHeight(list->height());
    auto* listRow = new QHBoxLayout;
    listRow->setSpacing(0);
    listRow->addWidget(list);
    listRow->addWidget(bar);
    // In its frame the list keeps to the left of what may take its place.
    if (parts.browserBox) listRow->addStretch();
    auto* column = new QVBoxLayout(browserBox_);
    if (!parts.browserBox) column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(widgets::label(browserBox_, parts.browserTitle));
    column->addWidget(nameField_);
    column->addLayout(listRow);
    column->addWidget(widgets::label(browserBox_, parts.browserHint));
    column->addStretch();

    names_ = new NameBrowserView(*parts.browser, nameField_, list, bar, this);
    connect(names_, &NameBrowserView::message, this,
            [this](const QString& text) { showMessage(this, MessageKind::Error, text); });
    return browserBox_;
}

ArchiveBrowser& ArchivePickerPanel::browser() const { return names_->browser(); }

void ArchivePickerPanel::addInBrowserPlace(QWidget* widget) { browserPlace_->addWidget(widget, 0, 0); }

void ArchivePickerPanel::fill() {
    archive_.clear();
    chosen_->clear();
    if (names_) names_->close();
    archives_->clear();
    int base = -1;
    for (const auto& name : listArchives(root_)) {
        if (name == "TMPR" && !withTemporary_) continue;
        if (name == "BASE") base = archives_->count();
        archives_->addItem(fromCp(archiveCaption(name)));
    }
    if (base < 0) return;
    archives_->setCurrentRow(base);
    choose(archives_->item(base)->text());
}

void ArchivePickerPanel::choose(const QString& caption) {
    archive_ = toCp(caption.left(4));
    chosen_->setText(fromCp(archive_));
    emit archiveChosen();
    reopen();
}

void ArchivePickerPanel::reopen() {
    if (!names_ || archive_.empty()) return;
    guarded(this, [&] {
        if (!names_->open(Archive(root_, archive_))) showMessage(this, MessageKind::Error, kArchiveRefused);
    });
}

void ArchivePickerPanel::close() {
    if (names_) names_->close();
    archives_->clear();
}

}  // namespace athanor
