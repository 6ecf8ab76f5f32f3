#pragma once

namespace athanor {

class WindowHost;

// Creates the windows that keep the knowledge base and gives the main window's buttons
// their actions: "Sintomi Multipli", "Terapie Composite", "Base de Datos Primaria", "Base
// de Datos de Terapias", "Manutenzione", "Utility Ricerca" and "Actualización".
void wireKeepingWindows(WindowHost& main);

}  // namespace athanor
