// Writes the year table of the masters of the year and of the cycle for 1765 to 2016 from
// the traditional scheme: seven cycles of 36 years, ruled in turn by Saturn, Venus,
// Jupiter, Mercury, Mars, the Moon and the Sun from 1765; within a cycle the years are
// ruled in Chaldean order (Saturn, Jupiter, Mars, Sun, Venus, Mercury, Moon) starting
// with the cycle's ruler. Each line: the year (4 digits), the year's master and the
// cycle's master as planet numbers (2 digits each; 1 Sun .. 7 Saturn).
//
//   gen-year-masters --out data    writes data/Appoggio/GoverAnno.txt

#include "foundations/Format.h"
#include "foundations/TextFile.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

int main(int argc, char* argv[]) {
    if (argc != 3 || std::string(argv[1]) != "--out") {
        std::cerr << "usage: gen-year-masters --out DATA_FOLDER\n";
        return 2;
    }
    constexpr int first = 1765, cycleYears = 36;
    constexpr int cycleRulers[7] = {7, 4, 6, 3, 5, 2, 1};
    constexpr int chaldean[7] = {7, 6, 5, 1, 4, 3, 2};
    std::vector<std::string> lines;
    for (int c = 0; c < 7; ++c) {
        const int ruler = cycleRulers[c];
        const int start = static_cast<int>(std::find(chaldean, chaldean + 7, ruler) - chaldean);
        for (int i = 0; i < cycleYears; ++i) {
            const int year = first + c * cycleYears + i;
            lines.push_back(athanor::zeroPadded(year, 4) + athanor::zeroPadded(chaldean[(start + i) % 7], 2) +
                            athanor::zeroPadded(ruler, 2));
        }
    }
    const fs::path file = fs::path(argv[2]) / "Appoggio" / "GoverAnno.txt";
    fs::create_directories(file.parent_path());
    athanor::writeLines(file, lines);
    std::cout << file.string() << ": " << lines.size() << " years\n";
    return 0;
}
