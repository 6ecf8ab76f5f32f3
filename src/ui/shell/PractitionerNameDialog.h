#pragma once
#include "app/Workstation.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace athanor {

// TFoNomUte: the practitioner's name, shown on the main window's name button.
class PractitionerNameDialog : public QDialog {
    Q_OBJECT
public:
    explicit PractitionerNameDialog(Workstation& ws, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ok();

    Workstation& ws_;
    QLineEdit* firstNameEdit_ = nullptr;
    QLineEdit* surnameEdit_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    bool changed_ = false;
};

}  // namespace athanor
