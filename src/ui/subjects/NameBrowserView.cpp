#include "ui/subjects/NameBrowserView.h"

#include "ui/common/UiHelpers.h"

#include <QAbstractSlider>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>

namespace athanor {

NameBrowserView::NameBrowserView(const BrowserLayout& layout, QLineEdit* field, QListWidget* list, QScrollBar* bar,
                                 QObject* parent)
    : QObject(parent), browser_(layout), field_(field), list_(list), bar_(bar) {
    field_->installEventFilter(this);
    list_->installEventFilter(this);
    listViewport_ = list_->viewport();
    listViewport_->installEventFilter(this);
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (drawing_) return;
        const int line = list_->row(item);
        browser_.clickLine(line);
        redraw();
        list_->setCurrentRow(line);
        if (browser_.picked()) emit picked(browser_.picked());
    });
    connect(bar_, &QAbstractSlider::actionTriggered, this, &NameBrowserView::scrollAction);
}

bool NameBrowserView::open(const Archive& archive) {
    const bool ok = browser_.open(archive);
    redraw();
    return ok;
}

void NameBrowserView::close() {
    browser_.close();
    redraw();
}

void NameBrowserView::clearField() { field_->clear(); }

void NameBrowserView::redraw() {
    drawing_ = true;
    const int row = list_->currentRow();
    list_->clear();
    for (const auto& line : browser_.lines()) list_->addItem(fromCp(line));
    // The picked entry is the highlighted one; otherwise the line stays where it was.
    if (const auto picked = browser_.pickedLine()) list_->setCurrentRow(*picked);
    else if (row >= 0 && row < list_->count()) list_->setCurrentRow(row);
    list_->setEnabled(browser_.enabled());
    field_->setText(fromCp(browser_.fieldText()));
    switch (browser_.fieldColour()) {
    case ArchiveBrowser::Colour::Red:
        setStateColour(field_, StateColour::Red);
        break;
    case ArchiveBrowser::Colour::Aqua:
        setStateColour(field_, StateColour::Aqua);
        break;
    case ArchiveBrowser::Colour::None:
        setStateColour(field_, StateColour::White);
        break;
    }
    const QSignalBlocker block(bar_);
    bar_->setRange(1, browser_.count() > 1 ? browser_.count() : 1);
    bar_->setPageStep(9);
    bar_->setValue(browser_.centre());
    bar_->setEnabled(browser_.enabled() && !browser_.shortList());
    drawing_ = false;
}

void NameBrowserView::act(const ArchiveBrowser::Action& action) {
    if (!action.message.empty()) emit message(fromCp(action.message));
    if (action.load) emit loadRequested(action.load);
}

void NameBrowserView::scrollAction(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        browser_.lineDown();
        break;
    case QAbstractSlider::SliderSingleStepSub:
        browser_.lineUp();
        break;
    case QAbstractSlider::SliderPageStepAdd:
        browser_.pageDown();
        break;
    case QAbstractSlider::SliderPageStepSub:
        browser_.pageUp();
        break;
    case QAbstractSlider::SliderMove:
        browser_.thumb(bar_->sliderPosition());
        break;
    default:
        return;
    }
    redraw();
    bar_->setSliderPosition(browser_.centre());
}

bool NameBrowserView::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == field_) {
        if (type == QEvent::FocusIn || type == QEvent::MouseButtonPress) {
            // Coming back to the window (after a message box) is no entering of the field.
            if (type == QEvent::FocusIn) {
                const Qt::FocusReason why = static_cast<QFocusEvent*>(event)->reason();
                if (why == Qt::ActiveWindowFocusReason || why == Qt::PopupFocusReason) return false;
            }
            browser_.enterField();
            redraw();
            emit fieldEntered();
            return false;
        }
        if (type == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            const char ch = keyChar(key);
            if (ch == '\r') {
                act(browser_.enterInField());
                return true;
            }
            if (ch == 0) return false;
            if (!browser_.enabled()) return true;
            browser_.typeKey(ch);
            redraw();
            return true;
        }
    } else if (watched == list_ && type == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const int row = list_->currentRow();
        const int last = list_->count() - 1;
        if (key->key() == Qt::Key_Down && row == last && row >= 0) {
            browser_.keyDownOnLastLine();
            redraw();
            list_->setCurrentRow(list_->count() - 1);
            return true;
        }
        if (key->key() == Qt::Key_Up && row == 0) {
            browser_.keyUpOnFirstLine();
            redraw();
            list_->setCurrentRow(0);
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            act(browser_.enterInList(row));
            redraw();
            return true;
        }
    } else if (watched == listViewport_ && type == QEvent::MouseButtonDblClick) {
        QListWidgetItem* item = list_->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (item && browser_.picked() == 0) browser_.clickLine(list_->row(item));
        act(browser_.doubleClick());
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace athanor
