#include "ui/subjects/ArchiveList.h"

#include "ui/common/UiHelpers.h"
#include "subjects/Archive.h"

#include <QListWidget>

namespace athanor {

int fillArchiveList(QListWidget* list, const DataRoot& root, bool withTemporary) {
    list->clear();
    int base = -1;
    for (const auto& name : listArchives(root)) {
        if (name == "TMPR" && !withTemporary) continue;
        if (name == "BASE") base = list->count();
        list->addItem(fromCp(archiveCaption(name)));
    }
    if (base >= 0) list->setCurrentRow(base);
    return base;
}

}  // namespace athanor
