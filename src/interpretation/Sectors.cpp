#include "interpretation/Sectors.h"

#include "foundations/Format.h"
#include "foundations/TextFile.h"

#include <stdexcept>

namespace athanor {

long double dodecatemorion(long double longitude) { return normalize360(longitude + 12.0L * reduce30(longitude)); }

long double antiscion(long double longitude) { return 360.0L - longitude; }

long double contrantiscion(long double longitude) { return normalize360(540.0L - longitude); }

int decanOf(long double longitude) {
    const int d = static_cast<int>(std::trunc(normalize360(longitude) / 10.0L)) + 1;
    return d > 36 ? 36 : d;
}

int decanFaceRuler(int decan) {
    static constexpr int faces[] = {5, 1, 4, 3, 2, 7, 6};
    if (decan < 1 || decan > 36) throw std::out_of_range("decan " + std::to_string(decan));
    return faces[(decan - 1) % 7];
}

std::string decanCode(int body, int decan) { return std::string(kBodyTag3.at(body)) + "Dec" + zeroPadded(decan, 2); }

int sectorOf(long double longitude, long double ascendant) {
    const int s = static_cast<int>(std::trunc(normalize360(longitude - ascendant + 15.0L) / 6.0L)) + 1;
    return s > 60 ? 60 : s;
}

namespace {

DerivedPosition derive(int body, long double longitude, long double ascendant) {
    DerivedPosition p;
    p.longitude = longitude;
    p.sign = signOf(longitude);
    p.decan = decanOf(longitude);
    p.sector = sectorOf(longitude, ascendant);
    p.decanCode = decanCode(body, p.decan);
    return p;
}

// Antiscion codes of a list of (tag, longitude), then their contrantiscion codes.
std::vector<std::string> mirrorCodes(const std::vector<std::pair<std::string, long double>>& points) {
    std::vector<std::string> out;
    for (const auto& [tag, lon] : points)
        if (lon > 0 && lon < 360) out.push_back(tag + "An" + signAbbreviation(signOf(antiscion(lon))));
    for (const auto& [tag, lon] : points)
        if (lon > 0 && lon < 360) out.push_back(tag + "Ca" + signAbbreviation(signOf(contrantiscion(lon))));
    return out;
}

const char* aspectTag(int orbIndex) {
    switch (orbIndex) {
    case aspect::Conjunction:
        return "Co";
    case aspect::Sextile:
        return "Se";
    case aspect::Square:
        return "Qu";
    case aspect::Trine:
        return "Tr";
    default:
        return "Op";
    }
}

}  // namespace

std::array<BodySectors, kChartBodies + 1> computeSectors(const ChartState& chart) {
    std::array<BodySectors, kChartBodies + 1> out{};
    const long double asc = chart.BodyLongitude[body::Ascendant];
    for (int b = 1; b <= kChartBodies; ++b) {
        const long double lon = chart.BodyLongitude[b];
        out[b].natal = derive(b, lon, asc);
        out[b].dodecatemorion = derive(b, dodecatemorion(lon), asc);
        out[b].antiscion = antiscion(lon);
        out[b].contrantiscion = contrantiscion(lon);
    }
    return out;
}

std::vector<std::string> antisciaCodes(const ChartState& chart) {
    std::vector<std::pair<std::string, long double>> points;
    for (int b = 1; b <= kChartBodies; ++b) points.emplace_back(kBodyTag3[b], chart.BodyLongitude[b]);
    return mirrorCodes(points);
}

std::vector<std::string> signAntisciaCodes() {
    std::vector<std::pair<std::string, long double>> points;
    for (int s = 1; s <= 12; ++s) points.emplace_back(kSignTag2[s], 30.0L * s - 15.0L);
    return mirrorCodes(points);
}

std::vector<std::string> positionCodes(const ChartState& chart, const OrbSettings& orbs) {
    std::vector<std::string> out;
    const auto sectors = computeSectors(chart);
    const auto& lon = chart.BodyLongitude;
    for (int b = 1; b <= kChartBodies; ++b) out.push_back(std::string(kBodyCode4[b]) + kSignTag4[signOf(lon[b])]);
    // The texts are written for mean houses, whatever system the cusps came from.
    for (int b = 1; b <= kChartBodies; ++b)
        out.push_back(std::string(kBodyCode4[b]) + kHouseTag4[meanHouseOf(lon[b], chart.HouseCusp)]);
    for (int b = 1; b <= kChartBodies; ++b) out.push_back(kBodyCode4[b] + zeroPadded(sectors[b].natal.sector, 2));
    for (int b = 1; b <= kChartBodies; ++b) out.push_back(sectors[b].natal.decanCode);
    for (int b = 1; b <= kChartBodies; ++b) out.push_back(kBodyCode2[b] + zeroPadded(sectors[b].natal.decan, 2));
    for (auto& code : antisciaCodes(chart)) out.push_back(std::move(code));
    for (int i = 1; i <= 9; ++i)
        for (int j = i + 1; j <= kChartBodies; ++j)
            if (const auto k = majorAspect(eclipticSeparation(lon[i], lon[j]), orbs))
                out.push_back(std::string(kBodyTag3[i]) + aspectTag(*k) + kBodyTag3[j]);
    return out;
}

void writePositionCodes(const DataRoot& root, const ChartState& chart, const OrbSettings& orbs) {
    writeLines(root.resolveForWriting(kPositionCodesFile), positionCodes(chart, orbs));
    writeLines(root.resolveForWriting(kSignCodesFile), signAntisciaCodes());
}

SpecificTexts SpecificTexts::load(const DataRoot& root) {
    return SpecificTexts(readLines(root.resolve(kSpecificTextsFile)));
}

std::optional<std::string> SpecificTexts::find(std::string_view key) const {
    for (const auto& line : lines_)
        if (line.compare(0, key.size(), key) == 0) return line.size() > 21 ? line.substr(21, 70) : std::string();
    return std::nullopt;
}

std::array<TitledList, 3> sectorLists(const std::array<BodySectors, kChartBodies + 1>& sectors,
                                      const SpecificTexts& texts, bool dodecatemoria) {
    const std::string who = dodecatemoria ? "DODECATEMORIAS" : "PLANETAS";
    std::array<TitledList, 3> lists = {{
        {who + " EN LOS T\xC9RMINOS", {}},
        {who + " EN LOS DECANOS", {}},
        {who + " EN LAS D\xC9"
               "CADAS",
         {}},
    }};
    for (int b = 1; b <= kChartBodies; ++b) {
        const DerivedPosition& p = dodecatemoria ? sectors[b].dodecatemorion : sectors[b].natal;
        const std::string keys[3] = {kBodyCode4[b] + zeroPadded(p.sector, 2), p.decanCode,
                                     kBodyCode2[b] + zeroPadded(p.decan, 2)};
        for (int l = 0; l < 3; ++l)
            if (auto text = texts.find(keys[l])) lists[l].lines.push_back(std::move(*text));
    }
    return lists;
}

}  // namespace athanor
