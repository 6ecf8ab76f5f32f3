#pragma once
#include "foundations/DataRoot.h"
#include "subjects/ArchiveBrowser.h"

#include <QWidget>

#include <string>

class QGridLayout;
class QLineEdit;
class QListWidget;

namespace athanor {

class NameBrowserView;

// The archive picker of the archive windows: the list of the program folder's archives and
// the one chosen, and, in the windows that browse it, the archive's name browser (its
// first letters, the list of names and the list's scroll bar).
class ArchivePickerPanel : public QWidget {
    Q_OBJECT
public:
    // What differs from window to window: component names, captions, the browser's numbers.
    struct Parts {
        const char* archiveList = "";
        int archiveLines = 5;
        const char* archiveTitle = "";
        const char* chosenCaption = nullptr;  // the caption of the chosen archive, if any
        bool chosenBeside = false;            // beside its field rather than above it
        bool withTemporary = false;           // TMPR is offered too
        // Without a layout the panel only picks an archive.
        const BrowserLayout* browser = nullptr;
        const char* browserBox = nullptr;  // a group box around the browser, if any
        const char* browserTitle = "";
        const char* browserHint = "";
    };

    ArchivePickerPanel(DataRoot root, const Parts& parts, QWidget* parent);

    // Lists the archives afresh and chooses BASE when there is one.
    void fill();
    // Opens the chosen archive again, as after a change of its index.
    void reopen();
    // Closes the browser and empties the list of archives.
    void close();

    // The archive chosen ("BASE"), empty before a choice.
    const std::string& archive() const { return archive_; }
    QListWidget* archiveList() const { return archives_; }

    // The name browser's parts, in the windows that browse: its field, the view that wires
    // it, the browser itself, and its box, which a window may hide to show something else
    // in its place.
    QLineEdit* nameField() const { return nameField_; }
    NameBrowserView& names() const { return *names_; }
    ArchiveBrowser& browser() const;
    QWidget* browserBox() const { return browserBox_; }
    void addInBrowserPlace(QWidget* widget);

signals:
    // An archive was chosen; the browser opens it right after.
    void archiveChosen();

private:
    QLayout* buildArchiveColumn(const Parts& parts);
    QWidget* buildBrowser(const Parts& parts);
    void choose(const QString& caption);

    DataRoot root_;
    bool withTemporary_;
    std::string archive_;
    QListWidget* archives_ = nullptr;
    QLineEdit* chosen_ = nullptr;
    QWidget* browserBox_ = nullptr;
    QGridLayout* browserPlace_ = nullptr;
    QLineEdit* nameField_ = nullptr;
    NameBrowserView* names_ = nullptr;
};

}  // namespace athanor
