#pragma once
#include "foundations/DataRoot.h"

#include <QMainWindow>

namespace athanor {

// The main window: the hub that opens every other window.
class TFoSpagyr : public QMainWindow {
    Q_OBJECT
public:
    explicit TFoSpagyr(DataRoot root, QWidget* parent = nullptr);

    const DataRoot& dataRoot() const { return root_; }

private:
    DataRoot root_;
};

}  // namespace athanor
