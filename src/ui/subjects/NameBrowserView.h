#pragma once
#include "subjects/ArchiveBrowser.h"

#include <QObject>

class QLineEdit;
class QListWidget;
class QScrollBar;

namespace athanor {

// Wires the name field, the name list and its scroll bar of an archive window to the name
// browser: keys, clicks, the scroll bar and the list's keys move the browser, and the
// widgets are redrawn from it. A request to load an entry, or a message for the user, is
// passed on by signal.
class NameBrowserView : public QObject {
    Q_OBJECT
public:
    NameBrowserView(const BrowserLayout& layout, QLineEdit* field, QListWidget* list, QScrollBar* bar,
                    QObject* parent = nullptr);

    ArchiveBrowser& browser() { return browser_; }
    const ArchiveBrowser& browser() const { return browser_; }

    // Opens an archive and draws it; false for TMPR (refused).
    bool open(const Archive& archive);
    void close();
    // Redraws the field, the list and the scroll bar.
    void redraw();
    // Empties the field without the focus rule (after a subject is loaded).
    void clearField();

signals:
    void loadRequested(int position);
    void message(const QString& text);
    // The field was entered: the window empties its subject fields.
    void fieldEntered();
    // A line was picked by a click.
    void picked(int position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void act(const ArchiveBrowser::Action& action);
    void scrollAction(int action);

    ArchiveBrowser browser_;
    QLineEdit* field_;
    QListWidget* list_;
    QWidget* listViewport_;  // kept: the filter still sees events while the list is being destroyed
    QScrollBar* bar_;
    bool drawing_ = false;
};

}  // namespace athanor
