#pragma once
#include "foundations/DataRoot.h"

class QListWidget;

namespace athanor {

// Fills an archive list with the captions of the archives of the program folder, TMPR
// left out unless `withTemporary`; returns the row of BASE, or -1.
int fillArchiveList(QListWidget* list, const DataRoot& root, bool withTemporary);

}  // namespace athanor
