#include "ui/knowledge/SignatureWiring.h"

#include "ui/common/WindowHost.h"
#include "ui/knowledge/PrinciplesDialog.h"
#include "ui/knowledge/RemedyTextDialog.h"
#include "ui/knowledge/SignatureDialog.h"
#include "ui/knowledge/WeaknessDialog.h"

#include <QGuiApplication>
#include <QScreen>

namespace athanor {

namespace names {
constexpr const char* kSignatures = "BitBtn5";
constexpr const char* kWeaknesses = "BitBtn6";
constexpr const char* kPlants = "BitBtn7";
constexpr const char* kSynthesis = "BitBtn9";
constexpr const char* kPrinciples = "BitBtn8";
}  // namespace names

namespace {

// These windows are larger than the main window: they open in the middle of the screen,
// never past its edges.
void runCentred(WindowHost& main, QDialog* dialog) {
    if (QScreen* screen = main.hostWidget()->screen()) {
        const QRect area = screen->availableGeometry();
        dialog->resize(dialog->size().boundedTo(area.size() - QSize(20, 60)));
        dialog->move(area.center() - dialog->rect().center());
    }
    dialog->exec();
    main.activate();
}

}  // namespace

void wireSignatureWindows(WindowHost& main) {
    QWidget* host = main.hostWidget();
    Workstation& ws = main.workstation();
    auto* signatures = new SignatureDialog(ws, host);
    auto* weaknesses = new WeaknessDialog(ws, host);
    auto* plants = new RemedyTextDialog(ws, RemedyText::Composition, host);
    auto* synthesis = new RemedyTextDialog(ws, RemedyText::Synthesis, host);
    auto* principles = new PrinciplesDialog(ws, host);
    // A double click on a remedy in any of them opens the remedy window on it.
    const auto showRemedy = [&main](const QString& name) { main.showRemedy(name); };
    signatures->setRemedyAction(showRemedy);
    weaknesses->setRemedyAction(showRemedy);
    plants->setRemedyAction(showRemedy);
    synthesis->setRemedyAction(showRemedy);

    main.setAction(names::kSignatures, [&main, signatures] {
        if (signatures->load()) runCentred(main, signatures);
    });
    main.setAction(names::kWeaknesses, [&main, weaknesses] {
        if (weaknesses->load()) runCentred(main, weaknesses);
    });
    main.setAction(names::kPlants, [&main, plants] {
        if (plants->load()) runCentred(main, plants);
    });
    main.setAction(names::kSynthesis, [&main, synthesis] {
        if (synthesis->load()) runCentred(main, synthesis);
    });
    main.setAction(names::kPrinciples, [&main, principles] {
        principles->load();
        runCentred(main, principles);
    });
}

}  // namespace athanor
