#include "interpretation/Weaves.h"

#include "interpretation/Structure.h"

#include <stdexcept>

namespace athanor {

namespace {

const std::array<SignClass, 13> kSignClasses = {{
    {' ', ' ', "", ' ', "", ' '},
    {'F', 'S', "FS", 'C', "CA", 'A'},  // Aries
    {'T', 'S', "TS", 'F', "FA", 'A'},  // Taurus
    {'A', 'S', "AS", 'M', "MA", 'A'},  // Gemini
    {'W', 'S', "WS", 'C', "CF", 'F'},  // Cancer
    {'F', 'Z', "FZ", 'F', "FF", 'F'},  // Leo
    {'T', 'Z', "TZ", 'M', "MF", 'F'},  // Virgo
    {'A', 'Z', "AZ", 'C', "CT", 'T'},  // Libra
    {'W', 'Z', "WZ", 'F', "FT", 'T'},  // Scorpio
    {'F', 'M', "FM", 'M', "MT", 'T'},  // Sagittarius
    {'T', 'M', "TM", 'C', "CW", 'W'},  // Capricorn
    {'A', 'M', "AM", 'F', "FW", 'W'},  // Aquarius
    {'W', 'M', "WM", 'M', "MW", 'W'},  // Pisces
}};

int indexOf(char letter, const char* letters) {
    for (int i = 0; letters[i]; ++i)
        if (letters[i] == letter) return i;
    throw std::logic_error("weave letter");
}

void addHumor(Humors& h, int elementRow) {
    switch (elementRow) {
    case element::Fire:
        ++h.fire;
        break;
    case element::Earth:
        ++h.earth;
        break;
    case element::Air:
        ++h.air;
        break;
    default:
        ++h.water;
        break;
    }
}

void qualityTotals(Humors& h) {
    h.hot = h.air + h.fire;
    h.moist = h.air + h.water;
    h.cold = h.water + h.earth;
    h.dry = h.fire + h.earth;
}

}  // namespace

const SignClass& signClass(int sign) {
    if (sign < 1 || sign > 12) throw std::out_of_range("sign " + std::to_string(sign));
    return kSignClasses[sign];
}

int elementOf(int sign) { return indexOf(signClass(sign).element, "FTAW"); }
int principleOf(int sign) { return indexOf(signClass(sign).principle, "SZM"); }
int seasonOf(int sign) { return indexOf(signClass(sign).season, "AFTW"); }
int qualityOf(int sign) { return indexOf(signClass(sign).quality, "CFM"); }

Weaves countWeaves(const std::array<int, 8>& planetSigns) {
    Weaves w;
    for (int p = 1; p <= kTraditionalPlanets; ++p) {
        const int s = planetSigns[p];
        ++w.elemental[elementOf(s)][principleOf(s)];
        ++w.seasonal[seasonOf(s)][qualityOf(s)];
        addHumor(w.humoralElemental, elementOf(s));
        // The seasons stand for their elements: spring air, summer fire, autumn earth,
        // winter water.
        static constexpr int seasonElement[] = {element::Air, element::Fire, element::Earth, element::Water};
        addHumor(w.humoralSeasonal, seasonElement[seasonOf(s)]);
    }
    qualityTotals(w.humoralElemental);
    qualityTotals(w.humoralSeasonal);
    return w;
}

Weaves countWeaves(const ChartState& chart) { return countWeaves(planetSigns(chart)); }

int rowTotal(const WeaveCounts& w, int row) { return w.at(row)[0] + w.at(row)[1] + w.at(row)[2]; }

int columnTotal(const WeaveCounts& w, int column) {
    int t = 0;
    for (const auto& row : w) t += row.at(column);
    return t;
}

}  // namespace athanor
