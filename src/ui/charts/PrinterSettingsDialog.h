#pragma once
#include <QDialog>

class QFrame;
class QLabel;

namespace athanor {

struct Workstation;

// TFoStampa: printer type. Ordinary printing, or a dummy page before every print job for
// the printers that need one. The button toggles the type, rewrites the settings file and
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
    QFrame* normalPanel_ = nullptr;
    QFrame* dummyPagePanel_ = nullptr;
    QLabel* appliedLabel_ = nullptr;
    QLabel* waitLabel_ = nullptr;
};

}  // namespace athanor
