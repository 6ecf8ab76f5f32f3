#pragma once
// TFoSintom1: "Síntomas y Remedios Relacionados", the remedies indicated for a symptom.
#include "ui/knowledge/ResultPageDialog.h"

namespace athanor {

class SymptomConsultationDialog : public ResultPageDialog {
    Q_OBJECT
public:
    explicit SymptomConsultationDialog(DataRoot root, QWidget* parent = nullptr);

protected:
    std::vector<std::string> readList() override;
};

}  // namespace athanor
