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
class QLayout;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;
class QToolButton;

namespace athanor {

class SaveSubjectDialog;

// TFoInputSpa: the birth-data entry. Name, local date and time, the birth place from the
// locality lists, and the results of the time-zone look-up, which can be unlocked and
// corrected. "Continuar" checks everything and hands the subject to the save window.
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
    QLayout* buildNameAndDate();
    QGroupBox* buildPlacePanel();
    QLayout* buildResultColumn();
    QFrame* buildManualPanel();
    void connectEntryFields();
    void connectPlaceAndResults();
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
    void forgetPlace();
    // Closes the date notices still on screen.
    void closeNotices();
    void choose(std::int64_t record);
    void scrollList(int action);
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

    QLineEdit* nameEdit_ = nullptr;
    std::array<QLineEdit*, kDateFieldCount> dateEdits_{};
    QDateEdit* calendarPicker_ = nullptr;
    QPushButton* todayButton_ = nullptr;
    QLineEdit* placeEdit_ = nullptr;
    QListWidget* placeList_ = nullptr;
    QScrollBar* placeBar_ = nullptr;
    QPushButton* italianButton_ = nullptr;
    QPushButton* foreignButton_ = nullptr;
    QLabel* recordsLabel_ = nullptr;
    QComboBox* zoneRecords_ = nullptr;
    QLabel* outdatedNote_ = nullptr;

    QGroupBox* resultPanel_ = nullptr;
    QLineEdit* dateResult_ = nullptr;
    QLineEdit* julianDayResult_ = nullptr;
    QLineEdit* placeResult_ = nullptr;
    QLineEdit* countryResult_ = nullptr;
    QLineEdit* coordResult_ = nullptr;
    QLineEdit* correctionResult_ = nullptr;
    QLineEdit* calendarResult_ = nullptr;
    QCheckBox* localTimeCheck_ = nullptr;
    QToolButton* lockButton_ = nullptr;
    QPushButton* continueButton_ = nullptr;
    QPushButton* giveUpButton_ = nullptr;

    QFrame* manualPanel_ = nullptr;
    std::array<QLineEdit*, ManualCoordinates::FieldCount> manualEdits_{};
    QPushButton* manualOk_ = nullptr;
    QPushButton* manualCancel_ = nullptr;
};

}  // namespace athanor
