#include "ui/kbkeeping/PrefixBox.h"

#include "ui/common/UiHelpers.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QStyle>

namespace athanor {

void onEntryPicked(QListWidget* list, QObject* context, std::function<void(int row)> picked) {
    QObject::connect(list, &QListWidget::itemClicked, context,
                     [list, picked](QListWidgetItem* item) { picked(list->row(item)); });
    // Where a single click already activates, the click has done it.
    if (list->style()->styleHint(QStyle::SH_ItemView_ActivateItemOnSingleClick, nullptr, list)) return;
    QObject::connect(list, &QListWidget::itemActivated, context,
                     [list, picked](QListWidgetItem* item) { picked(list->row(item)); });
}

PrefixBox::PrefixBox(QLineEdit* box, QListWidget* list, TypedPrefix::Case mode,
                     std::function<const std::vector<std::string>&()> entries)
    : QObject(box), box_(box), list_(list), prefix_(mode), entries_(std::move(entries)) {
    box_->installEventFilter(this);
}

void PrefixBox::setCase(TypedPrefix::Case mode) {
    prefix_ = TypedPrefix(mode);
    box_->clear();
}

void PrefixBox::clear() {
    prefix_.clear();
    box_->clear();
}

bool PrefixBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched != box_) return false;
    if (event->type() == QEvent::MouseButtonPress) {
        clear();
        if (onClick) onClick();
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    const char c = keyChar(static_cast<QKeyEvent*>(event));
    if (c == '\r') {
        if (onEnter && list_->currentRow() >= 0) onEnter(list_->currentRow());
        return onEnter != nullptr;
    }
    if (c == 0) return false;
    prefix_.type(c);
    // The list follows the text kept beside the box, not the box's own text.
    const int row = sortedPrefixPosition(entries_(), prefix_.text());
    if (row >= 0 && row < list_->count()) {
        list_->setCurrentRow(row);
        list_->scrollToItem(list_->item(row));
    }
    return false;
}

}  // namespace athanor
