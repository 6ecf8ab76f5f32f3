#pragma once
#include "interpretation/OrbEditor.h"
#include "app/Workstation.h"

#include <QDialog>

#include <array>
#include <functional>
#include <string>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace athanor {

// The orb editor: the fixed set A and the personal sets B and C side by side, the two
// extra orbs, and "Adoptar" under each set.
class OrbEditorDialog : public QDialog {
    Q_OBJECT
public:
    // `showCaption` sets the main window's orb-set selector after a set is adopted.
    OrbEditorDialog(Workstation& ws, std::function<void(const std::string&)> showCaption, QWidget* parent = nullptr);
    ~OrbEditorDialog() override;

    // Object names of the fields of a row: "EditCongB", "EditOppoC", ...
    static QString fieldName(char column, int row);

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refresh();
    void onIdle();
    void adopt(char column);

    Workstation& ws_;
    std::function<void(const std::string&)> showCaption_;
    OrbEditor editor_;
    std::array<QLineEdit*, kAspectKinds> columnA_{};
    std::array<QLineEdit*, kAspectKinds> columnB_{};
    std::array<QLineEdit*, kAspectKinds> columnC_{};
    QLineEdit* parallel_ = nullptr;
    QLineEdit* antiscia_ = nullptr;
    std::array<QFrame*, 3> bevels_{};
    QLineEdit* edit1_ = nullptr;
    QPushButton* ritorna_ = nullptr;
    bool filling_ = false;
    bool closing_ = false;
};

}  // namespace athanor
