#pragma once
#include "app/Login.h"
#include "app/Workstation.h"
#include "ui/common/WindowHost.h"

#include <QMainWindow>

#include <functional>
#include <string>

class QComboBox;
class QDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
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

// The main window: login, the current subject, the shared chart options, and the three
// pages of buttons that open every other window.
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
    void buildBanner(QWidget* central);
    void buildPages(QWidget* central);
    void buildSidePanel(QWidget* central);
    void buildPasswordPanel(QWidget* central);
    void connectActions();

    void showLoggedInControls();
    void passwordKey(char key);
    bool newPasswordKey(char key);
    void enter();
    void saveNewPassword();
    void codeKey(char key);
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
    bool built_ = false;
    long double todayJd_ = 0;

    QWidget* image1_ = nullptr;
    QToolButton* sbPass_ = nullptr;
    QLineEdit* edPass_ = nullptr;
    QComboBox* cbox1_ = nullptr;
    QPushButton* nomeCognome_ = nullptr;
    QPushButton* aggiorna_ = nullptr;
    QPushButton* dispensa_ = nullptr;
    QPushButton* istruz_ = nullptr;

    QTabWidget* pages_ = nullptr;
    QPlainTextEdit* memoDati_ = nullptr;
    QPlainTextEdit* memoAnnotaz_ = nullptr;

    QFrame* panel9_ = nullptr;
    QComboBox* comboOrb_ = nullptr;
    QComboBox* comboNodo_ = nullptr;
    QToolButton* lock_ = nullptr;
    QPushButton* apriTesto_ = nullptr;
    QLabel* image9_ = nullptr;

    QFrame* panelPass_ = nullptr;
    QLabel* panMainPass_ = nullptr;
    QLineEdit* edMainPass1_ = nullptr;
    QPushButton* bbOk_ = nullptr;
    QLabel* labPivona_ = nullptr;
    QLineEdit* edNewPass_ = nullptr;
    QPushButton* bbOkRegi_ = nullptr;

    PractitionerNameDialog* nomUte_ = nullptr;
    ManualChooserDialog* istDef_ = nullptr;
    OrbEditorDialog* orbSpa_ = nullptr;
    RetrieveSubjectDialog* formRich_ = nullptr;
    SaveSubjectDialog* formRegSpa_ = nullptr;
    BirthEntryDialog* inputSpa_ = nullptr;
    DeleteSubjectDialog* cancel_ = nullptr;
    ModifySubjectDialog* modifi_ = nullptr;
};

}  // namespace athanor
