#pragma once
#include "app/Workstation.h"

#include <QDialog>

class QRadioButton;
class QPushButton;

namespace athanor {

// TFoIstDef: the choice of the instruction manual, opened with the desktop's viewer.
class ManualChooserDialog : public QDialog {
    Q_OBJECT
public:
    explicit ManualChooserDialog(Workstation& ws, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    Workstation& ws_;
    QRadioButton* summaryRadio_ = nullptr;
    QRadioButton* extendedRadio_ = nullptr;
};

}  // namespace athanor
