#pragma once
#include <QString>

namespace athanor {

class WindowHost;

// Creates the therapies and Corvell windows, hidden, and gives the main window's buttons
// "Síntomas", "Remedios", "Terapias", "Corvell-1" and "Corvell-2" their actions. The
// symptom and remedy windows are made anew at each opening.
void wireConsultationWindows(WindowHost& main);

// Opens the remedy window on a remedy of that name, over the window in front.
void openRemedyConsultation(WindowHost& main, const QString& name);

}  // namespace athanor
