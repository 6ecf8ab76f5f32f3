#pragma once
#include <QDialog>

class QFrame;
class QLabel;

namespace athanor {

struct Workstation;

// Printer type: ordinary printing, or a dummy page before every print job for the
// printers that need one. The button toggles the type, rewrites the settings file and
// closes the window after a moment.
class PrinterSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit PrinterSettingsDialog(Workstation& ws, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void toggle();
    void showType();

    Workstation& ws_;
    QFrame* panel1_ = nullptr;
    QFrame* panel2_ = nullptr;
    QLabel* applied_ = nullptr;
    QLabel* wait_ = nullptr;
};

}  // namespace athanor
