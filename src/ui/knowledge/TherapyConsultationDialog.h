#pragma once
// TFoTerapi: "Terapias", the remedies of the repertory for a pathology.
#include "ui/knowledge/ResultPageDialog.h"

namespace athanor {

class TherapyConsultationDialog : public ResultPageDialog {
    Q_OBJECT
public:
    explicit TherapyConsultationDialog(DataRoot root, QWidget* parent = nullptr);

protected:
    std::vector<std::string> readList() override;
};

}  // namespace athanor
