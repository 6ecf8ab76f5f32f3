#include "shell/TFoSpagyr.h"

#include <QLabel>

namespace athanor {

TFoSpagyr::TFoSpagyr(DataRoot root, QWidget* parent) : QMainWindow(parent), root_(std::move(root)) {
    setObjectName("FoSpagyr");
    setWindowTitle("Athanor");
    auto* label = new QLabel(QString::fromUtf8("Athanor — astrología espagírica"), this);
    label->setAlignment(Qt::AlignCenter);
    setCentralWidget(label);
    setFixedSize(636, 453);
}

}  // namespace athanor
