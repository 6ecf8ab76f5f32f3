#pragma once
#include <QString>

#include <functional>

class QAbstractButton;
class QPushButton;
class QWidget;

namespace athanor {

struct Workstation;

// The general settings that the drawings read: the corrections and the line factor.
void applyGraphSettings(Workstation& ws);

// A push button with its component name and caption (Windows-1252).
QPushButton* namedButton(QWidget* parent, const char* name, const char* cp1252Caption);

// The name of the PDF file that printing writes when the system has no printer: asked
// of the user; tests replace the question with a hook. An empty name cancels.
QString askPdfFileName(QWidget* parent, const QString& suggested);
void setPdfFileNameHook(std::function<QString(const QString& suggested)> hook);

// A spin button: two arrows, named name + "Up" and name + "Down", inside a box named name.
QWidget* spinButton(QWidget* parent, const char* name, std::function<void()> up, std::function<void()> down);

// The system has a printer to print on.
bool systemPrinterAvailable();

}  // namespace athanor
