#include "ui/knowledge/TherapyConsultationDialog.h"

#include "knowledge/Consultation.h"

namespace athanor {

namespace names {
constexpr const char* kWindow = "FoTerapi";
constexpr const char* kPathology = "EdPato";
}  // namespace names

namespace {

const ResultPageDialog::Setup kSetup{
    .window = names::kWindow,
    .caption = "Terapias",
    .kind = ConsultationKind::Therapy,
    .listTitle = "Patolog\xED"
                 "as",
    .fourthTitle = "Posolog\xED"
                   "a",
    .selectedName = names::kPathology,
    .selectedTitle = "Patolog\xED"
                     "a",
    .infoCaption = "Informaci\xF3nes On/Off",
    .returnCaption = "Volver al Men\xFA",
    .info = "Elija una patología de la lista con un clic o con Intro. Para llegar a ella, escriba "
            "sus primeras letras en «Buscar».\n\n"
            "Cada fila muestra un remedio del repertorio para la patología y la posología de esa "
            "combinación.\n\n"
            "El botón de la fila (1°, 2°, ...) muestra por turno las notas de la combinación "
            "patología-remedio y las advertencias del remedio en la base de datos principal.\n\n"
            "Doble clic en la posología: el texto completo; un clic lo cierra.\n\n"
            "Cada página tiene catorce filas. El recuadro «pág» se pone rojo cuando hay más "
            "resultados en las páginas siguientes; < y > cambian de página. «Limpiar» vacía la "
            "página.\n\nDoble clic en este texto para ocultarlo.",
    .typing = TypedPrefix::Case::Upper,
};

}  // namespace

TherapyConsultationDialog::TherapyConsultationDialog(DataRoot root, QWidget* parent)
    : ResultPageDialog(std::move(root), kSetup, parent) {}

std::vector<std::string> TherapyConsultationDialog::readList() { return pathologyList(root()); }

}  // namespace athanor
