#pragma once
#include "app/Workstation.h"

#include <QDialog>

#include <string>
#include <vector>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace athanor {

// TFoManut1 ("AGGIORNAMENTI / MODIFICHE DATABASE"): the plant-symptom records of
// OpzioneS\DataQvl.rnd, one per line, with the nine fields of the one selected. Reads only.
class MaintenanceViewerDialog : public QDialog {
    Q_OBJECT
public:
    explicit MaintenanceViewerDialog(Workstation& ws, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fill();
    void select(int row);

    Workstation& ws_;
    bool sorted_ = false;
    std::vector<std::string> entries_;
    QListWidget* list_ = nullptr;
    QPushButton* orderButton_ = nullptr;
    std::vector<QLineEdit*> fields_;
};

}  // namespace athanor
