// Writes the orb settings a new program folder starts with: the orb sets file with the
// fixed set A and the editor's initial values of the personal sets B and C, and the
// settings file with set A current, Placidus houses, the true node and the corrected
// Black Moon. Parallels and antiscia start with an orb of 1°.
//
//   gen-orb-defaults --out data    writes data/FileSet/OrbiDomi.Stt, data/FileDum/MMVarOrb.dum

#include "foundations/ChartState.h"
#include "foundations/TextFile.h"
#include "interpretation/Aspects.h"
#include "interpretation/OrbFiles.h"

#include <iostream>
#include <string>

using namespace athanor;

int main(int argc, char* argv[]) {
    if (argc != 3 || std::string(argv[1]) != "--out") {
        std::cerr << "usage: gen-orb-defaults --out DATA_FOLDER\n";
        return 2;
    }
    constexpr long double parallelOrb = 1, antisciaOrb = 1;
    OrbSets sets;
    for (int row = 0; row < kAspectKinds; ++row) {
        const AspectKind& k = kAspectsByDisplay[row];
        sets.sets[0][row] = k.setA;
        sets.sets[1][row] = *parseReal(k.defaultB);
        sets.sets[2][row] = *parseReal(k.defaultC);
    }
    for (auto& set : sets.sets) {
        set[14] = parallelOrb;
        set[15] = antisciaOrb;
    }
    sets.letter = "A";
    ChartState engine;
    engine.HouseSystem = "PLACIDO";
    engine.NodeKind = "VERO";
    engine.BlackMoonKind = "VERA";
    const DataRoot out(argv[2]);
    writeOrbSets(out, sets);
    writeOrbSettings(out, sets.sets[0], engine, sets.letter);
    std::cout << "orb settings written below " << argv[2] << '\n';
    return 0;
}
