#include "ui/common/WindowSupport.h"

#include "ui/common/UiHelpers.h"
#include "app/Workstation.h"

#include <QFileDialog>
#include <QStandardPaths>
#include <QDir>
#include <QPrinterInfo>

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

QString askPdfFileName(QWidget* parent, const QString& suggested) {
    if (pdfHook()) return pdfHook()(suggested);
    return QFileDialog::getSaveFileName(parent, fromCp("Imprimir en un archivo PDF"), suggested,
                                        QStringLiteral("PDF (*.pdf)"));
}

void setPdfFileNameHook(std::function<QString(const QString&)> hook) { pdfHook() = std::move(hook); }

QString documentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).exists() ? documents : QDir::homePath();
}

bool systemPrinterAvailable() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

}  // namespace athanor
