#pragma once

namespace athanor {

class WindowHost;

// Creates the signature, weakness, plants, psychic-synthesis and principles windows, hidden,
// and gives the main window's buttons their actions: "Signaturas Astrológicas / S",
// "Debilidades Astrológicas / T", "Plantas y Ingredientes activos", "Síntesis Psíquica" and
// the principles button without caption.
void wireSignatureWindows(WindowHost& main);

}  // namespace athanor
