#include "ui/kbkeeping/KeepingWiring.h"

#include "app/Volumes.h"
#include "app/Workstation.h"
#include "ui/common/WindowHost.h"
#include "ui/kbkeeping/EditorDialog.h"
#include "ui/kbkeeping/MaintenanceViewerDialog.h"
#include "ui/kbkeeping/RankingDialog.h"
#include "ui/kbkeeping/SearchUtilityDialog.h"
#include "ui/kbkeeping/UpdateDialog.h"

#include <QDir>
#include <QWidget>

namespace athanor {

// The main window's buttons these windows take over.
namespace names {
constexpr const char* kMultipleSymptoms = "BBriceCompo";
constexpr const char* kCompositeTherapies = "BitBtn10";
constexpr const char* kPrimaryDatabase = "BitBtn4";
constexpr const char* kTherapyDatabase = "BBaggRep";
constexpr const char* kMaintenance = "Button1";
constexpr const char* kSearchUtility = "BButility";
constexpr const char* kUpdate = "EdAggiorna";
}  // namespace names

namespace {

std::string userName() {
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty()) user = QDir::home().dirName();
    return user.toStdString();
}

// A window that keeps its own place: centred on the main window.
void runCentred(WindowHost& main, QDialog* dialog) {
    QWidget* host = main.hostWidget();
    dialog->move(host->frameGeometry().center() - dialog->rect().center());
    dialog->exec();
    main.activate();
}

}  // namespace

void wireKeepingWindows(WindowHost& main) {
    Workstation& ws = main.workstation();
    QWidget* host = main.hostWidget();
    auto* database = new EditorDialog(ws, EditorKind::Remedies, host);
    auto* repertory = new EditorDialog(ws, EditorKind::Repertory, host);
    auto* viewer = new MaintenanceViewerDialog(ws, host);
    auto* utility = new SearchUtilityDialog(ws, host);
    auto* update = new UpdateDialog(ws, defaultVolumeSources(userName()), host);

    // The two searches are made afresh for each click.
    for (const auto& [button, kind] : {std::pair{names::kMultipleSymptoms, RankingKind::Symptoms},
                                       std::pair{names::kCompositeTherapies, RankingKind::Therapies}}) {
        const RankingKind k = kind;
        main.setAction(button, [&main, &ws, host, k] {
            RankingDialog dialog(ws, k, host);
            runCentred(main, &dialog);
        });
    }
    main.setAction(names::kPrimaryDatabase, [&main, database] { runCentred(main, database); });
    main.setAction(names::kTherapyDatabase, [&main, repertory] { runCentred(main, repertory); });
    main.setAction(names::kMaintenance, [&main, viewer] { runCentred(main, viewer); });
    main.setAction(names::kSearchUtility, [&main, utility] { main.runDialog(utility); });
    main.setAction(names::kUpdate, [&main, update] { main.runDialog(update); });
}

}  // namespace athanor
