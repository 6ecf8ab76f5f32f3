#pragma once
#include "app/Workstation.h"
#include "knowledge/Editors.h"
#include "knowledge/KnowledgeRecords.h"
#include "knowledge/ListFind.h"

#include <QDialog>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace athanor {

class PrefixBox;

// TFoMainArc ("BASE DE DATOS PRINCIPAL") and TFoAggRep ("REPERTORIO  DE LAS TERAPIAS"):
// the editors of the remedy database and of the therapies repertory. Anyone browses; the
// maintenance code shows the controls that change the file.
class EditorDialog : public QDialog {
    Q_OBJECT
public:
    EditorDialog(Workstation& ws, EditorKind kind, QWidget* parent = nullptr);

    // Leaving asks first when something typed is not saved.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One text control and the field it edits.
    enum class Role { Name, Second, Description };
    struct TextControl {
        QWidget* widget;
        Role role;
        int capacity;  // the warning box shows beyond it
        int beepAt;    // a key beyond it beeps
    };

    QWidget* buildList();
    QWidget* buildFields();
    QWidget* buildRepertoryPanel();
    QWidget* buildLeavingPanel();
    QLayout* buildButtons();
    void addControl(QWidget* w, Role role, int capacity, int beepAt = 0);

    void setMaintenance(bool on);
    void fillList(EditorOrder order);
    void showEntries();
    void select(int row);
    bool load(const EditorEntry& entry);
    void loadPanel(const std::string& remedy);
    void showPanelText(const std::string& text, bool red);
    void clearEditor();
    void textChanged(const TextControl& c);
    void setSaveButtons(bool enabled);
    void showTotal(bool withRecord);

    RemedyRecord remedyFromControls() const;
    TherapyRecord therapyFromControls() const;
    std::string controlText(const QWidget* w) const;
    void setControlText(QWidget* w, const std::string& cp1252);

    bool save();
    bool saveAsNew();
    bool eliminate();
    void afterWrite(std::int64_t record);
    void rebuild();
    void toggleReordering();
    void cancelReordering();
    void reorderDoubleClick(int row);
    void find();
    void showLeavingPanel(const PendingChanges& changes);
    void closeEditor();

    Workstation& ws_;
    EditorKind kind_;
    EditorOrder order_ = EditorOrder::ByRemedy;
    std::vector<std::string> entries_;
    std::optional<ReorderList> reorder_;
    ListFinder finder_{ListFinder::AtEnd::RestartFromTop};

    std::int64_t current_ = 0;  // the record loaded, 0 for none
    std::int64_t total_ = 0;    // records after record 0
    std::string rememberedName_, rememberedSecond_;
    bool descriptionsChanged_ = false;
    bool loaded_ = false;
    bool loading_ = false;  // controls being filled from a record: no change to track
    bool maintenance_ = false;
    std::optional<RemedyRecord> panelRecord_;

    std::vector<TextControl> controls_;
    QListWidget* list_ = nullptr;
    QRadioButton* byRemedy_ = nullptr;
    QRadioButton* byPathology_ = nullptr;
    QLineEdit* searchBox_ = nullptr;
    PrefixBox* prefix_ = nullptr;
    QLineEdit* findBox_ = nullptr;
    QPushButton* findButton_ = nullptr;
    QLineEdit* recordNumber_ = nullptr;
    QLineEdit* lengthWarning_ = nullptr;
    QLineEdit* nameField_ = nullptr;
    QWidget* secondField_ = nullptr;
    QWidget* notesField_ = nullptr;  // the repertory's notes, which the panel fills
    QPlainTextEdit* useNumberNote_ = nullptr;
    QPlainTextEdit* notice_ = nullptr;
    QPlainTextEdit* instructions_ = nullptr;
    QFrame* repertoryPanel_ = nullptr;
    QPlainTextEdit* panelText_ = nullptr;
    std::vector<QPushButton*> panelButtons_;
    QFrame* leavingPanel_ = nullptr;
    QLabel* nameChanged_ = nullptr;
    QLabel* secondChanged_ = nullptr;
    QLabel* descriptionsChangedLabel_ = nullptr;
    QPushButton* leaveSave_ = nullptr;
    QPushButton* leaveSaveAsNew_ = nullptr;
    QPushButton* leaveDelete_ = nullptr;

    QPushButton* rebuildButton_ = nullptr;
    QPushButton* infoButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* saveAsNewButton_ = nullptr;
    QPushButton* reorderButton_ = nullptr;
    QPushButton* cancelReorderButton_ = nullptr;
    QPushButton* clearButton_ = nullptr;
};

}  // namespace athanor
