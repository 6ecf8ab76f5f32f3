#include "ui/knowledge/SymptomConsultationDialog.h"

#include "knowledge/Consultation.h"

namespace athanor {

namespace names {
constexpr const char* kWindow = "FoSintom1";
constexpr const char* kSymptom = "EdDist";
}  // namespace names

namespace {

const ResultPageDialog::Setup kSetup{
    .window = names::kWindow,
    .caption = "S\xEDntomas y Remedios Relacionados",
    .kind = ConsultationKind::Symptom,
    .listTitle = "S\xEDntomas",
    .fourthTitle = "Posolog\xED"
                   "a",
    .selectedName = names::kSymptom,
    .selectedTitle = "S\xEDntoma",
    .infoCaption = "Informaci\xF3nes On / Off",
    .returnCaption = "&Volver al Men\xFA",
    .info = "Elija un síntoma de la lista con un clic o con Intro. Para llegar a él, escriba sus "
            "primeras letras en «Buscar».\n\n"
            "Cada fila muestra un remedio indicado para el síntoma: su nombre, sus planetas, sus "
            "signos y su posología.\n\n"
            "El botón de la fila (1°, 2°, ...) muestra por turno las advertencias, la síntesis "
            "psíquica, las notas y las notas adicionales del remedio.\n\n"
            "Doble clic en los planetas o en los signos: la signatura palabra por palabra (§ marca "
            "los planetas primarios). Doble clic en la posología: el texto completo.\n\n"
            "Cada página tiene catorce filas. El recuadro «pág» se pone rojo cuando hay más "
            "resultados en las páginas siguientes; < y > cambian de página. «Limpiar» vacía la "
            "página.\n\nDoble clic en este texto para ocultarlo.",
    .typing = TypedPrefix::Case::FirstUpper,
};

}  // namespace

SymptomConsultationDialog::SymptomConsultationDialog(DataRoot root, QWidget* parent)
    : ResultPageDialog(std::move(root), kSetup, parent) {}

std::vector<std::string> SymptomConsultationDialog::readList() { return symptomList(root()); }

}  // namespace athanor
