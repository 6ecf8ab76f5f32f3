#pragma once
#include "app/Workstation.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace athanor {

// The practitioner's name, shown on the main window's name button.
class PractitionerNameDialog : public QDialog {
    Q_OBJECT
public:
    explicit PractitionerNameDialog(Workstation& ws, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ok();

    Workstation& ws_;
    QLineEdit* editNome_ = nullptr;
    QLineEdit* editCognome_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* annulla_ = nullptr;
    bool changed_ = false;
};

}  // namespace athanor
