#include "ui/backup/BackupWiring.h"

#include "app/Volumes.h"
#include "ui/backup/BackupDialog.h"
#include "ui/common/WindowHost.h"

#include <QDir>

namespace athanor {

namespace names {
constexpr const char* kBackupButton = "BBSalva";
}  // namespace names

void wireBackupWindows(WindowHost& main) {
    main.setAction(names::kBackupButton, [&main] {
        const std::string user = qEnvironmentVariable("USER", QDir::home().dirName()).toStdString();
        BackupDialog dialog(main.workstation(), defaultVolumeSources(user), main.hostWidget());
        main.runDialog(&dialog);
    });
}

}  // namespace athanor
