// Writes the reception tables of the archetypal structure from the rule they encode:
// planets receive one another by domicile. A configuration of k planets (Sun .. Saturn)
// is a reception when they form one cycle of disposition: each stands in a domicile of
// the next and the last in a domicile of the first. For two planets that is the mutual
// reception; for three, four and five the cyclic receptions. A line holds, in ascending
// planet order, two digits of planet number and two of sign number per planet.
//
//   gen-exchange --out data        writes data/Scambi/Scambio22.txt .. Scambio55.txt

#include "foundations/TextFile.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Domiciles of Sun .. Saturn; signs 1 Aries .. 12 Pisces.
const std::array<std::vector<int>, 8> kDomiciles = {{
    {},
    {5},
    {4},
    {3, 6},
    {2, 7},
    {1, 8},
    {9, 12},
    {10, 11},
}};

std::string lineOf(const std::array<int, 8>& signOfPlanet, const std::vector<int>& planets) {
    std::string line;
    for (int p : planets) {
        char group[8];
        std::snprintf(group, sizeof group, "%02d%02d", p, signOfPlanet[p]);
        line += group;
    }
    return line;
}

// Every sign choice that puts planet cycle[i] in a domicile of cycle[i+1].
void assign(const std::vector<int>& cycle, std::size_t i, std::array<int, 8>& signs, const std::vector<int>& ascending,
            std::set<std::string>& out) {
    if (i == cycle.size()) {
        out.insert(lineOf(signs, ascending));
        return;
    }
    const int next = cycle[(i + 1) % cycle.size()];
    for (int sign : kDomiciles[next]) {
        signs[cycle[i]] = sign;
        assign(cycle, i + 1, signs, ascending, out);
    }
}

std::set<std::string> receptions(int k) {
    std::set<std::string> out;
    std::vector<bool> pick(7, false);
    std::fill(pick.begin(), pick.begin() + k, true);
    do {
        std::vector<int> planets;
        for (int i = 0; i < 7; ++i)
            if (pick[i]) planets.push_back(i + 1);
        // Cycles: the first planet fixed, the others in every order.
        std::vector<int> rest(planets.begin() + 1, planets.end());
        do {
            std::vector<int> cycle{planets.front()};
            cycle.insert(cycle.end(), rest.begin(), rest.end());
            std::array<int, 8> signs{};
            assign(cycle, 0, signs, planets, out);
        } while (std::next_permutation(rest.begin(), rest.end()));
    } while (std::prev_permutation(pick.begin(), pick.end()));
    return out;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3 || std::string(argv[1]) != "--out") {
        std::cerr << "usage: gen-exchange --out DATA_FOLDER\n";
        return 2;
    }
    const fs::path folder = fs::path(argv[2]) / "Scambi";
    fs::create_directories(folder);
    for (int k = 2; k <= 5; ++k) {
        const auto lines = receptions(k);
        const fs::path file = folder / ("Scambio" + std::to_string(k) + std::to_string(k) + ".txt");
        athanor::writeLines(file, std::vector<std::string>(lines.begin(), lines.end()));
        std::cout << file.string() << ": " << lines.size() << " configurations\n";
    }
    return 0;
}
