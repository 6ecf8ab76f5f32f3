#include "interpretation/Structure.h"

#include "foundations/TextFile.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace athanor {

namespace {

struct DignityRow {
    std::array<int, 2> domicile;
    int exaltation;
    std::array<int, 2> exile;
    int fall;
};

// Signs 1 Aries .. 12 Pisces; 0 = none.
constexpr std::array<DignityRow, 8> kDignities = {{
    {{0, 0}, 0, {0, 0}, 0},
    {{5, 0}, 1, {11, 0}, 7},   // Sun
    {{4, 0}, 2, {10, 0}, 8},   // Moon
    {{3, 6}, 11, {9, 12}, 5},  // Mercury
    {{2, 7}, 12, {1, 8}, 6},   // Venus
    {{1, 8}, 10, {2, 7}, 4},   // Mars
    {{9, 12}, 4, {3, 6}, 10},  // Jupiter
    {{10, 11}, 7, {4, 5}, 1},  // Saturn
}};

const std::array<std::array<int, 3>, 8> kDomiciles = {{
    {0, 0, 0},
    {0, 5, 0},
    {0, 4, 0},
    {3, 6, 0},
    {2, 7, 0},
    {1, 8, 0},
    {0, 9, 12},
    {0, 10, 11},
}};

void checkPlanet(int planet) {
    if (planet < 1 || planet > kTraditionalPlanets) throw std::out_of_range("planet " + std::to_string(planet));
}

// Index sets (1-based into the list of free planets) tried by one reception stage, in
// their order: the first set, then by growing largest index. The triples with largest
// index 4 or 5 are tried in reverse lexicographic order, every other group in
// lexicographic order.
std::vector<std::vector<int>> candidates(int size, int freeCount) {
    std::vector<std::vector<int>> out;
    for (int largest = size; largest <= freeCount; ++largest) {
        std::vector<std::vector<int>> group;
        std::vector<int> pick(size - 1);
        // Lexicographic combinations of size-1 indices from 1..largest-1.
        for (int i = 0; i < size - 1; ++i) pick[i] = i + 1;
        while (true) {
            std::vector<int> c = pick;
            c.push_back(largest);
            group.push_back(c);
            int i = size - 2;
            while (i >= 0 && pick[i] == largest - 1 - (size - 2 - i)) --i;
            if (i < 0) break;
            ++pick[i];
            for (int k = i + 1; k < size - 1; ++k) pick[k] = pick[k - 1] + 1;
        }
        if (size == 3 && (largest == 4 || largest == 5)) std::reverse(group.begin(), group.end());
        out.insert(out.end(), group.begin(), group.end());
    }
    return out;
}

class Builder {
public:
    Builder(const std::array<int, 8>& signs, ExchangeTables& tables) : signs_(signs), tables_(tables) {}

    ArchetypalStructure run() {
        dignities();
        pairs();
        groupOf(3, reception::Triple);
        groupOf(4, reception::Quadruple);
        groupOf(5, reception::Quintuple);
        secondLevel();
        deeperLevels();
        order();
        return s_;
    }

private:
    void dignities() {
        for (int p = 1; p <= kTraditionalPlanets; ++p) {
            auto& row = s_.rows[p];
            row.entries[0].planet = static_cast<std::uint8_t>(p);
            const std::uint8_t code = dignity(p, signs_[p]);
            if (code != condition::None) {
                row.code = code;
                row.entries[0].level = 1;
                used_[p] = true;
            }
        }
    }

    void receive(int p, std::uint8_t group) {
        auto& row = s_.rows[p];
        if (row.code == condition::None) row.code = condition::Reception;
        row.group = group;
        row.entries[0].level = 1;
        used_[p] = true;
    }

    // Pairs among the planets free when the stage starts. A planet joins one pair at most
    // (with well-formed files it could not belong to two), and every pair found has its
    // own group: seven planets can hold three mutual receptions, and each is drawn as its
    // own bridged pair.
    void pairs() {
        std::uint8_t next = reception::FirstPair;
        for (int i = 1; i <= kTraditionalPlanets; ++i) {
            for (int j = i + 1; j <= kTraditionalPlanets && !used_[i]; ++j) {
                if (used_[j]) continue;
                if (!tables_.contains(2, exchangeLine({i, j}, signs_))) continue;
                receive(i, next);
                receive(j, next);
                ++next;
            }
        }
    }

    void groupOf(int size, std::uint8_t group) {
        std::vector<int> freePlanets;
        for (int p = 1; p <= kTraditionalPlanets; ++p)
            if (!used_[p]) freePlanets.push_back(p);
        for (const auto& c : candidates(size, static_cast<int>(freePlanets.size()))) {
            std::vector<int> planets;
            for (int index : c) planets.push_back(freePlanets[index - 1]);
            if (!tables_.contains(size, exchangeLine(planets, signs_))) continue;
            for (int p : planets) receive(p, group);
            return;
        }
    }

    void place(StructureRow& row, int planet, int level, int parent) {
        for (auto& slot : row.entries) {
            if (slot.planet != 0) continue;
            slot = {static_cast<std::uint8_t>(planet), static_cast<std::uint8_t>(level),
                    static_cast<std::uint8_t>(parent)};
            used_[planet] = true;
            return;
        }
    }

    void secondLevel() {
        for (int r = 1; r <= kTraditionalPlanets; ++r) {
            if (s_.rows[r].code == condition::None) continue;
            for (int v = 1; v <= kTraditionalPlanets; ++v)
                if (v != r && rules(r, signs_[v]) && !used_[v]) place(s_.rows[r], v, 2, r);
        }
    }

    void deeperLevels() {
        for (int k = 1; k <= 5; ++k) {
            for (int j = 1; j <= kTraditionalPlanets; ++j) {
                auto& row = s_.rows[j];
                const int x = row.entries[k].planet;
                if (x == 0) continue;
                for (int v = 1; v <= kTraditionalPlanets; ++v) {
                    if (!rules(x, signs_[v])) continue;
                    const bool inRow = std::any_of(row.entries.begin(), row.entries.end(),
                                                   [&](const StructureSlot& s) { return s.planet == v; });
                    if (inRow || used_[v]) continue;
                    place(row, v, row.entries[k].level + 1, x);
                }
            }
        }
    }

    void order() {
        auto take = [&](auto matches) {
            for (int p = 1; p <= kTraditionalPlanets; ++p)
                if (s_.rows[p].code != condition::None && matches(s_.rows[p])) s_.columns.push_back(s_.rows[p]);
        };
        auto byCode = [&](std::uint8_t code) { take([=](const StructureRow& r) { return r.code == code; }); };
        auto byGroup = [&](std::uint8_t group) {
            take([=](const StructureRow& r) { return r.code == condition::Reception && r.group == group; });
        };
        byCode(condition::Exile);
        byCode(condition::Fall);
        for (std::uint8_t g : {reception::FirstPair, reception::SecondPair, reception::ThirdPair, reception::Triple,
                               reception::Quadruple, reception::Quintuple})
            byGroup(g);
        byCode(condition::Exaltation);
        byCode(condition::Domicile);
    }

    const std::array<int, 8>& signs_;
    ExchangeTables& tables_;
    ArchetypalStructure s_;
    std::array<bool, 8> used_{};
};

}  // namespace

std::uint8_t dignity(int planet, int sign) {
    checkPlanet(planet);
    const auto& d = kDignities[planet];
    if (sign == d.domicile[0] || sign == d.domicile[1]) return condition::Domicile;
    if (sign == d.exaltation) return condition::Exaltation;
    if (sign == d.exile[0] || sign == d.exile[1]) return condition::Exile;
    if (sign == d.fall) return condition::Fall;
    return condition::None;
}

const char* dignityCode(int planet, int sign) {
    static constexpr const char* codes[] = {"", "Ad", "Ae", "De", "Dc"};
    return codes[dignity(planet, sign)];
}

const std::array<int, 3>& domiciles(int planet) {
    checkPlanet(planet);
    return kDomiciles[planet];
}

bool rules(int planet, int sign) {
    if (sign == 0) return false;
    const auto& d = domiciles(planet);
    return std::find(d.begin(), d.end(), sign) != d.end();
}

int domicileRuler(int sign) {
    for (int p = 1; p <= kTraditionalPlanets; ++p)
        if (rules(p, sign)) return p;
    throw std::out_of_range("sign " + std::to_string(sign));
}

const char* conditionScreenCaption(std::uint8_t code) {
    static constexpr const char* captions[] = {"", "Domic.", "Exaltac.", "Exilio", "Caida", "Intercam."};
    return code <= 5 ? captions[code] : "";
}

const char* conditionPrintCaption(std::uint8_t code) {
    static constexpr const char* captions[] = {"", "Domic.", "Exaltac", "Exilio", "Caida", "Intercam"};
    return code <= 5 ? captions[code] : "";
}

const char* parentTag(int planet) {
    static constexpr const char* tags[] = {"", "sun", "moo", "mer", "ven", "mar", "jup", "sat"};
    return planet >= 1 && planet <= 7 ? tags[planet] : "";
}

std::string exchangeLine(const std::vector<int>& planets, const std::array<int, 8>& signs) {
    std::string line;
    for (int p : planets) {
        char group[8];
        std::snprintf(group, sizeof group, "%02d%02d", p, signs.at(p));
        line += group;
    }
    return line;
}

std::string ExchangeFiles::fileName(int planets) {
    return "Scambi\\Scambio" + std::to_string(planets) + std::to_string(planets) + ".txt";
}

bool ExchangeFiles::contains(int planets, std::string_view line) {
    if (planets < 2 || planets > 5) throw std::out_of_range("exchange file size");
    auto& kept = lines_[static_cast<std::size_t>(planets)];
    if (!kept) {
        auto l = std::make_unique<Lines>();
        l->text = readWholeFile(root_.resolve(fileName(planets)));
        l->sorted = splitLineViews(l->text);
        std::sort(l->sorted.begin(), l->sorted.end());
        kept = std::move(l);
    }
    return std::binary_search(kept->sorted.begin(), kept->sorted.end(), line);
}

std::array<int, 8> planetSigns(const ChartState& chart) {
    std::array<int, 8> signs{};
    for (int p = 1; p <= kTraditionalPlanets; ++p) signs[p] = signOf(chart.BodyLongitude[p]);
    return signs;
}

ArchetypalStructure computeStructure(const std::array<int, 8>& signs, ExchangeTables& tables) {
    return Builder(signs, tables).run();
}

ArchetypalStructure computeStructure(const ChartState& chart, ExchangeTables& tables) {
    return computeStructure(planetSigns(chart), tables);
}

int filledLevels(const StructureRow& column) {
    int n = 0;
    for (int i = 0; i < 7; ++i)
        if (column.entries[i].planet != 0) ++n;
    return n;
}

}  // namespace athanor
