#pragma once
// The page of fourteen result rows that the symptom (TFoSintom1), remedy (TFoRimed) and
// therapies (TFoTerapi) windows share: the list with its search box, the rows with their
// buttons, paging, the note area, the signature pop-up, MemoZoom, MemoInfo and "Limpiar".
#include "foundations/DataRoot.h"
#include "knowledge/ConsultationPage.h"
#include "knowledge/PrefixSearch.h"

#include <QDialog>

#include <array>
#include <string>
#include <vector>

class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;

namespace athanor {

// The look of the boxes that open over the window (MemoZoom, MemoAvveLarge).
inline constexpr const char* kOverlayStyle = "QPlainTextEdit { background: #fffbe0; border: 2px solid #806000; }";

class ResultPageDialog : public QDialog {
    Q_OBJECT
public:
    struct Setup {
        const char* window;         // objectName
        const char* caption;        // window title
        ConsultationKind kind;
        const char* listTitle;      // over the list
        const char* fourthTitle;    // heading of the fourth column
        const char* selectedName;   // the box of the selected item
        const char* selectedTitle;  // its label
        const char* infoCaption;    // the MemoInfo button
        const char* returnCaption;  // the return button
        const char* info;           // the help text, UTF-8
        TypedPrefix::Case typing;
    };

    // Fills the list from its file. False, with the file's message shown, when the list
    // cannot be read: the window is then not opened.
    bool load();
    // Selects entry `index` of the list, as a click on it does.
    void selectEntry(int index);
    const std::vector<std::string>& entries() const { return entries_; }
    const ConsultationPage& page() const { return page_; }

protected:
    ResultPageDialog(DataRoot root, const Setup& setup, QWidget* parent);

    virtual std::vector<std::string> readList() = 0;
    // How an entry reads in the list.
    virtual std::string displayText(const std::string& entry) const { return entry; }
    // After a selection: the window's own boxes.
    virtual void showSelection() {}
    // "Limpiar": the window's own boxes.
    virtual void clearOwnBoxes() {}
    // Overlays the window hides on "Limpiar" and on a page move.
    virtual void hideOwnOverlays() {}

    bool eventFilter(QObject* watched, QEvent* event) override;

    // Where a window puts its own boxes, under the selected item.
    QVBoxLayout* ownArea() const { return ownArea_; }
    QLineEdit* selectedBox() const { return selectedBox_; }
    QPlainTextEdit* noteMemo() const { return noteMemo_; }
    QWidget* rowsPanel() const { return rowsPanel_; }
    const DataRoot& root() const { return root_; }
    // Selects a text as if it were an entry of the list.
    void selectText(const std::string& item);
    void setNote(const QString& caption, const QString& text);

private:
    struct Row {
        QPushButton* button = nullptr;
        QLineEdit* remedy = nullptr;
        QLineEdit* planets = nullptr;  // none in the therapies window
        QLineEdit* signs = nullptr;
        QLineEdit* fourth = nullptr;
    };

    QWidget* buildRows();
    QLayout* buildSide();
    void searchKey(char key);
    void showRows();
    void emptyRows();
    void hideOverlays();
    void clearPage();
    void movePage(bool forward);
    void pressRow(int n);
    void showPopup(QLineEdit* box, bool planets);
    void showZoom(QLineEdit* box);
    void toggleInfo();

    DataRoot root_;
    Setup setup_;
    ConsultationPage page_;
    TypedPrefix prefix_;
    std::vector<std::string> entries_;

    std::array<Row, kPageRows> rows_{};
    QWidget* rowsPanel_ = nullptr;
    QLineEdit* selectedBox_ = nullptr;
    QVBoxLayout* ownArea_ = nullptr;
    QLineEdit* pageBox_ = nullptr;
    QLabel* noResults_ = nullptr;
    QPushButton* previousButton_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    QLabel* noteCaption_ = nullptr;
    QPlainTextEdit* noteMemo_ = nullptr;
    QLineEdit* searchBox_ = nullptr;
    QListWidget* list_ = nullptr;
    QPushButton* clearButton_ = nullptr;
    QPushButton* infoButton_ = nullptr;
    QPlainTextEdit* infoMemo_ = nullptr;
    QListWidget* popup_ = nullptr;
    QPlainTextEdit* zoom_ = nullptr;
};

}  // namespace athanor
