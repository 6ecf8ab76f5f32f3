#pragma once
#include <QDialog>

class QLineEdit;

namespace athanor {

struct Workstation;

// TFoSpeLin: line thickness. The factor of every pen width, stepped by the spin button
// within 0.5 .. 4; every change rewrites the settings file.
class LineSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit LineSettingsDialog(Workstation& ws, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void setFactor(double factor);

    Workstation& ws_;
    QLineEdit* factorEdit_ = nullptr;
};

}  // namespace athanor
