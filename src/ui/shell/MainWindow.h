#pragma once
#include "app/Login.h"
#include "app/Workstation.h"
#include "ui/common/WindowHost.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <string>

class QAbstractButton;
class QComboBox;
class QDialog;
class QFrame;
class QLabel;
class QLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class QVBoxLayout;
class QWidget;

namespace athanor {

class PractitionerNameDialog;
class ManualChooserDialog;
class OrbEditorDialog;
class BirthEntryDialog;
class SaveSubjectDialog;
class RetrieveSubjectDialog;
class DeleteSubjectDialog;
class ModifySubjectDialog;

// TFoSpagyr: the main window. Login, the current subject, the shared chart options, and
// the three pages of buttons that open every other window.
class MainWindow : public QMainWindow, public WindowHost {
    Q_OBJECT
public:
    explicit MainWindow(DataRoot root, QWidget* parent = nullptr);
    ~MainWindow() override;

    QWidget* hostWidget() override { return this; }
    Workstation& workstation() override { return ws_; }
    const DataRoot& dataRoot() const { return ws_.root; }

    // Program start: clears the chart state, keeps the screen ratio and the drawing
    // scale, loads the orb settings and probes the printer. Then the window is centred
    // and shown, which activates it.
    void start();

    // Each time the window becomes active again (at start and after every dialog): the
    // settings, BASE, the password panel, the practitioner's name, the current subject
    // and its chart, and the lock of the chart options.
    void activate() override;

    // Reads the current subject, shows it and computes its chart.
    void reloadSubject() override;

    // Opens one of the main window's dialogs at its place and waits for it; then the
    // window is activated again.
    void runDialog(QDialog* dialog, int offset = 10) override;

    // Opens the remedy consultation on a remedy ("Remedios para el tema").
    void showRemedy(const QString& name) override;

    // Gives a button its action and enables it (for the windows of later steps).
    void setAction(const char* buttonName, std::function<void()> action) override;

    // The node type and the orb-set letter in force.
    const std::string& nodeType() const { return nodeType_; }
    long double todayJulianDay() const { return todayJd_; }

    // Sets the orb-set selector to a caption without marking a change (the orb editor's
    // "Adoptar").
    void showOrbSetCaption(const std::string& caption);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void checkBaseIndex();
    void runReporting(std::string& lastShown, const std::function<void()>& work);
    QWidget* buildBanner(QWidget* central);
    QLayout* buildTopButtons(QWidget* central);
    QWidget* buildPages(QWidget* central);
    QWidget* buildAstrologyPage();
    QWidget* buildRemediesPage();
    QWidget* buildAccessoryPage();
    QWidget* buildOptionsPanel(QWidget* central);
    QWidget* buildPasswordPanel(QWidget* central);
    void addNewPasswordRows(QVBoxLayout* layout);
    void connectActions();
    void wire(QAbstractButton* button, std::function<void()> action);

    void showLoggedInControls();
    void passwordKey(char key);
    bool newPasswordKey(char key);
    void enter();
    void saveNewPassword();
    void codeKey(char key);
    bool codeFieldEvent(QEvent* event);
    void applyMaintenanceCode();
    void fillLoginList(const std::vector<std::string>& days);
    void toggleLock();
    void setLocked(bool locked);
    void onIdle();
    void openTextDocument();

    Workstation ws_;
    PasswordEntry password_;
    CodeEntry code_;
    std::string nodeType_ = "VERO";
    bool orbChangePending_ = false;
    bool nodeChangePending_ = false;
    bool quietCombos_ = false;
    bool locked_ = true;
    bool activating_ = false;
    bool shownOnce_ = false;
    bool indexChecked_ = false;  // BASE's index against its records, once per start
    // The messages of the settings and of the current chart at the last activation, so that
    // a damaged file is not reported again after every window that closes.
    std::string settingsFault_;
    std::string chartFault_;
    bool built_ = false;
    long double todayJd_ = 0;

    QLabel* banner_ = nullptr;
    QToolButton* codeStrip_ = nullptr;
    QLineEdit* codeField_ = nullptr;
    QComboBox* loginList_ = nullptr;
    QPushButton* practitionerButton_ = nullptr;
    QPushButton* updateButton_ = nullptr;
    QPushButton* bookletButton_ = nullptr;
    QPushButton* manualsButton_ = nullptr;

    QTabWidget* pages_ = nullptr;
    QPlainTextEdit* subjectMemo_ = nullptr;
    QPlainTextEdit* notesMemo_ = nullptr;
    QPushButton* retrieveButton_ = nullptr;
    QPushButton* entryButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
    QPushButton* modifyButton_ = nullptr;
    std::array<QPushButton*, 2> plantButtons_{};  // shown by the plants code
    QPushButton* orbEditorButton_ = nullptr;
    QPushButton* searchUtilityButton_ = nullptr;  // shown by the maintenance code

    QFrame* optionsPanel_ = nullptr;
    QComboBox* orbSetCombo_ = nullptr;
    QComboBox* nodeCombo_ = nullptr;
    QToolButton* lockButton_ = nullptr;
    QPushButton* openTextButton_ = nullptr;
    QLabel* exitPicture_ = nullptr;

    QFrame* passwordPanel_ = nullptr;
    QLabel* passwordStars_ = nullptr;
    QLineEdit* passwordField_ = nullptr;
    QPushButton* enterButton_ = nullptr;
    QLabel* initialPasswordNote_ = nullptr;
    QLineEdit* newPasswordField_ = nullptr;
    QPushButton* savePasswordButton_ = nullptr;

    PractitionerNameDialog* practitionerDialog_ = nullptr;
    ManualChooserDialog* manualChooser_ = nullptr;
    OrbEditorDialog* orbEditor_ = nullptr;
    RetrieveSubjectDialog* retrieveDialog_ = nullptr;
    SaveSubjectDialog* saveDialog_ = nullptr;
    BirthEntryDialog* birthEntry_ = nullptr;
    DeleteSubjectDialog* deleteDialog_ = nullptr;
    ModifySubjectDialog* modifyDialog_ = nullptr;
};

}  // namespace athanor
