#pragma once

namespace athanor {

class WindowHost;

// Gives the main window's "Copia de Seguridad/Restauración…" button its window, made anew for
// each use.
void wireBackupWindows(WindowHost& main);

}  // namespace athanor
