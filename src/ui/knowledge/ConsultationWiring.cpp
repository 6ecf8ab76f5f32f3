#include "ui/knowledge/ConsultationWiring.h"

#include "app/Workstation.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WindowHost.h"
#include "ui/knowledge/PlantConsultationDialog.h"
#include "ui/knowledge/PlantSymptomDialog.h"
#include "ui/knowledge/RemedyConsultationDialog.h"
#include "ui/knowledge/SymptomConsultationDialog.h"
#include "ui/knowledge/TherapyConsultationDialog.h"

#include <QApplication>
#include <QScreen>

namespace athanor {

// The main window's buttons these windows take over.
namespace names {
constexpr const char* kSymptoms = "BBSintomi";
constexpr const char* kRemedies = "BitBtn2";
constexpr const char* kTherapies = "BitBtn3";
constexpr const char* kPlants1 = "Bcorv1";
constexpr const char* kPlants2 = "Bcorv2";
}  // namespace names

namespace {

// The consultation windows keep their own place: the middle of the screen, within it.
void centre(QDialog* dialog) {
    QScreen* screen = dialog->screen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QSize size = dialog->size().boundedTo(area.size()).expandedTo(dialog->minimumSizeHint());
    dialog->resize(size);
    dialog->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

void run(WindowHost& main, QDialog* dialog) {
    centre(dialog);
    dialog->exec();
    main.activate();
}

}  // namespace

void wireConsultationWindows(WindowHost& main) {
    const DataRoot root = main.workstation().root;
    QWidget* host = main.hostWidget();
    auto* therapies = new TherapyConsultationDialog(root, host);
    auto* plants = new PlantConsultationDialog(root, host);
    auto* plantSymptoms = new PlantSymptomDialog(root, host);

    main.setAction(names::kSymptoms, [&main, root] {
        SymptomConsultationDialog dialog(root, main.hostWidget());
        if (dialog.load()) run(main, &dialog);
    });
    main.setAction(names::kRemedies, [&main, root] {
        RemedyConsultationDialog dialog(root, main.hostWidget());
        if (dialog.load()) run(main, &dialog);
    });
    main.setAction(names::kTherapies, [&main, therapies] {
        if (therapies->load()) run(main, therapies);
    });
    main.setAction(names::kPlants1, [&main, plants] {
        if (plants->load()) run(main, plants);
    });
    main.setAction(names::kPlants2, [&main, plantSymptoms] {
        if (plantSymptoms->load()) run(main, plantSymptoms);
    });
}

void openRemedyConsultation(WindowHost& main, const QString& name) {
    QWidget* front = QApplication::activeWindow();
    RemedyConsultationDialog dialog(main.workstation().root, front ? front : main.hostWidget());
    if (!dialog.load()) return;
    dialog.showRemedy(toCp(name));
    centre(&dialog);
    dialog.exec();
}

}  // namespace athanor
