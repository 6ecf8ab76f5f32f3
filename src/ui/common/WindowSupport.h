#pragma once
#include <QString>

#include <functional>

class QWidget;

namespace athanor {

struct Workstation;

// The general settings that the drawings read: the corrections and the line factor.
void applyGraphSettings(Workstation& ws);

// The name of the PDF file that printing writes when the system has no printer: asked
// of the user; tests replace the question with a hook. An empty name cancels.
QString askPdfFileName(QWidget* parent, const QString& suggested);
// Where a PDF is offered: the user's documents folder, or the home folder without one.
QString documentsFolder();
void setPdfFileNameHook(std::function<QString(const QString& suggested)> hook);

// The system has a printer to print on.
bool systemPrinterAvailable();

}  // namespace athanor
