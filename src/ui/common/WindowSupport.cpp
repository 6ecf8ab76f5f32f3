#include "ui/common/WindowSupport.h"

#include "ui/common/UiHelpers.h"
#include "app/Workstation.h"

#include <QFileDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace athanor {

namespace {
std::function<QString(const QString&)>& pdfHook() {
    static std::function<QString(const QString&)> h;
    return h;
}
}  // namespace

void applyGraphSettings(Workstation& ws) {
    ws.drawing.hc = ws.settings.scaleX == 0 ? 1.0 : static_cast<double>(ws.settings.scaleX);
    ws.drawing.vc = ws.settings.scaleY == 0 ? 1.0 : static_cast<double>(ws.settings.scaleY);
    ws.drawing.lineFactor = static_cast<double>(ws.settings.lineFactor);
}

QPushButton* namedButton(QWidget* parent, const char* name, const char* cp1252Caption) {
    auto* b = new QPushButton(fromCp(cp1252Caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QString askPdfFileName(QWidget* parent, const QString& suggested) {
    if (pdfHook()) return pdfHook()(suggested);
    return QFileDialog::getSaveFileName(parent, fromCp("Imprimir en un archivo PDF"), suggested,
                                        QStringLiteral("PDF (*.pdf)"));
}

void setPdfFileNameHook(std::function<QString(const QString&)> hook) { pdfHook() = std::move(hook); }

QWidget* spinButton(QWidget* parent, const char* name, std::function<void()> up, std::function<void()> down) {
    auto* box = new QWidget(parent);
    box->setObjectName(QString::fromLatin1(name));
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const auto arrow = [&](const char* suffix, Qt::ArrowType type, std::function<void()> fn) {
        auto* b = new QToolButton(box);
        b->setObjectName(QString::fromLatin1(name) + QString::fromLatin1(suffix));
        b->setArrowType(type);
        b->setAutoRepeat(true);
        b->setFixedSize(22, 14);
        QObject::connect(b, &QToolButton::clicked, box, [fn = std::move(fn)] { fn(); });
        layout->addWidget(b);
    };
    arrow("Up", Qt::UpArrow, std::move(up));
    arrow("Down", Qt::DownArrow, std::move(down));
    return box;
}

bool systemPrinterAvailable() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

}  // namespace athanor
