#pragma once
#include "app/Workstation.h"
#include "subjects/BirthEntry.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;
class QToolButton;

namespace athanor {

class SaveSubjectDialog;

// The birth-data entry: name, local date and time, the birth place from the locality
// lists, and the results of the time-zone look-up, which can be unlocked and corrected.
// "Continuar" checks everything and hands the subject to the save window.
class BirthEntryDialog : public QDialog {
    Q_OBJECT
public:
    // `save` is the save window, placed by `anchor` (the main window) when it opens.
    BirthEntryDialog(Workstation& ws, SaveSubjectDialog* save, QWidget* anchor, QWidget* parent = nullptr);
    ~BirthEntryDialog() override;

    const BirthEntry& entry() const { return entry_; }

    // Every way out closes the locality list and clears the results.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    QWidget* buildManualPanel();
    void connectFields();
    void setTabOrders();

    void activate();
    void markChanged();
    void onIdle();
    DateTexts dateTexts() const;
    bool datesComplete() const;
    void showDateCheck(const DateCheck& check);
    void focusField(EntryField field);
    QLineEdit* fieldWidget(EntryField field) const;
    bool entryKey(EntryField field, QKeyEvent* event);

    void placeKey(QKeyEvent* event);
    void clickPlace();
    void choose(std::int64_t record);
    void redrawList();
    void switchList(LocalityListKind kind);
    void listKey(QKeyEvent* event, bool& handled);

    void clearResults();
    void showLookup(const ZoneLookup& lookup);
    void setLocked(bool locked);
    void localTimeClicked();
    void calendarEdited();

    void openManual();
    void manualEdited(ManualCoordinates::Field field);
    void manualRedraw();
    bool manualKey(ManualCoordinates::Field field, QKeyEvent* event);
    void manualOk();

    void today();
    void calendarPicked();
    void proceed();
    void giveUp();

    Workstation& ws_;
    SaveSubjectDialog* save_;
    QWidget* anchor_;
    BirthEntry entry_;
    ManualCoordinates manual_;
    bool firstOpening_ = true;
    bool locked_ = true;
    bool drawing_ = false;

    QLineEdit* sogg_ = nullptr;
    std::array<QLineEdit*, kDateFieldCount> date_{};
    QDateEdit* picker_ = nullptr;
    QPushButton* oggi_ = nullptr;
    QLineEdit* local_ = nullptr;
    QListWidget* list_ = nullptr;
    QScrollBar* bar_ = nullptr;
    QPushButton* italia_ = nullptr;
    QPushButton* estero_ = nullptr;
    QLabel* label1_ = nullptr;
    QComboBox* records_ = nullptr;
    QLabel* labNote_ = nullptr;

    QGroupBox* panelResult_ = nullptr;
    QLineEdit* dataEstesa_ = nullptr;
    QLineEdit* jd_ = nullptr;
    QLineEdit* locEstesa_ = nullptr;
    QLineEdit* stato_ = nullptr;
    QLineEdit* coord_ = nullptr;
    QLineEdit* fuso_ = nullptr;
    QLineEdit* calend_ = nullptr;
    QCheckBox* locale_ = nullptr;
    QToolButton* lock_ = nullptr;
    QPushButton* prosegui_ = nullptr;
    QPushButton* ritorna_ = nullptr;

    QFrame* panelMan_ = nullptr;
    std::array<QLineEdit*, ManualCoordinates::FieldCount> man_{};
    QPushButton* manOk_ = nullptr;
    QPushButton* manCanc_ = nullptr;
};

}  // namespace athanor
