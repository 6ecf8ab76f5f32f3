#pragma once
#include "app/Workstation.h"
#include "interpretation/OrbEditor.h"

#include <QDialog>

#include <array>
#include <string>

class QFrame;
class QGridLayout;
class QLayout;
class QLineEdit;
class QPushButton;

namespace athanor {

// TFoOrbSpa: the orb editor. The fixed set A and the personal sets B and C side by side,
// the two extra orbs, and "Adoptar" under each set.
class OrbEditorDialog : public QDialog {
    Q_OBJECT
public:
    explicit OrbEditorDialog(Workstation& ws, QWidget* parent = nullptr);
    ~OrbEditorDialog() override;

    // Object names of the fields of a row: "EditCongB", "EditOppoC", ...
    static QString fieldName(char column, int row);

    void done(int result) override;

signals:
    // A set was adopted; the caption names it as the main window's selector shows it
    // (Windows-1252).
    void setAdopted(const std::string& caption);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QGridLayout* buildSetColumns();
    QLayout* buildExtraOrbs();
    QLayout* buildBottomRow();
    void connectFields();

    void refresh();
    void onIdle();
    void adopt(char column);

    Workstation& ws_;
    OrbEditor editor_;
    std::array<QLineEdit*, kAspectKinds> columnA_{};
    std::array<QLineEdit*, kAspectKinds> columnB_{};
    std::array<QLineEdit*, kAspectKinds> columnC_{};
    QLineEdit* parallelEdit_ = nullptr;
    QLineEdit* antisciaEdit_ = nullptr;
    // The frame around the set in force.
    std::array<QFrame*, 3> columnFrames_{};
    QLineEdit* selectedSet_ = nullptr;
    QPushButton* backButton_ = nullptr;
    bool closing_ = false;
};

}  // namespace athanor
