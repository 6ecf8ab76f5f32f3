#include "interpretation/OrbFiles.h"

#include "foundations/FileError.h"
#include "foundations/TextFile.h"

#include <stdexcept>

namespace athanor {

namespace {

constexpr int kSettingsLines = 20;

int setIndex(char letter) {
    switch (letter) {
    case 'A':
        return 0;
    case 'B':
        return 1;
    case 'C':
        return 2;
    default:
        throw std::invalid_argument(std::string("orb set letter ") + letter);
    }
}

}  // namespace

void loadOrbSettings(const DataRoot& root, OrbSettings& orbs, ChartState& chart) {
    TextReader in(root.resolve(kOrbSettingsFile));
    OrbSettings loaded;
    for (const auto& kind : kAspectsByDisplay) loaded.AspectOrb[kind.orbIndex] = in.real();
    loaded.ParallelOrb = in.real();
    loaded.AntisciaOrb = in.real();
    std::string house = in.line().substr(0, 15);
    std::string node = in.line().substr(0, 5);
    loaded.OrbSetLetter = in.line().substr(0, 1);
    std::string blackMoon = in.line().substr(0, 5);
    // Only a complete file changes anything.
    orbs = loaded;
    chart.HouseSystem = house;
    chart.NodeKind = node;
    chart.BlackMoonKind = blackMoon;
}

void writeOrbSettings(const DataRoot& root, const OrbSetValues& values, const ChartState& chart,
                      const std::string& letter) {
    TextWriter out;
    for (long double v : values) out.real(v);
    out.line(chart.HouseSystem.substr(0, 15));
    out.line(chart.NodeKind.substr(0, 5));
    out.line(letter.substr(0, 1));
    out.line(chart.BlackMoonKind.substr(0, 5));
    out.save(root.resolveForWriting(kOrbSettingsFile));
}

void replaceSettingsLine(const DataRoot& root, int line, const std::string& text, OrbSettings& orbs,
                         ChartState& chart) {
    if (line < 1 || line > kSettingsLines) throw std::out_of_range("settings line " + std::to_string(line));
    const auto path = root.resolve(kOrbSettingsFile);
    std::vector<std::string> lines = readLines(path);
    if (lines.size() < kSettingsLines) throw FileError(path, "Read beyond end of file", FileFault::Damaged);
    lines.resize(kSettingsLines);
    lines[line - 1] = text;
    for (auto& l : lines)
        if (l.size() > 25) l.resize(25);
    writeLines(path, lines);
    loadOrbSettings(root, orbs, chart);
}

OrbSets readOrbSets(const DataRoot& root, bool withLetter) {
    TextReader in(root.resolve(kOrbSetsFile));
    OrbSets result;
    for (auto& set : result.sets)
        for (auto& v : set) v = in.real();
    if (withLetter) result.letter = in.line().substr(0, 1);
    return result;
}

void writeOrbSets(const DataRoot& root, const OrbSets& sets) {
    TextWriter out;
    for (const auto& set : sets.sets)
        for (long double v : set) out.real(v);
    out.line(sets.letter.substr(0, 1));
    out.save(root.resolveForWriting(kOrbSetsFile));
}

bool orbSetsFileMissing(const DataRoot& root) {
    std::error_code ec;
    return !std::filesystem::is_regular_file(root.resolve(kOrbSetsFile), ec);
}

char switchOrbSet(const DataRoot& root, char letter, OrbSettings& orbs, ChartState& chart) {
    const int index = setIndex(letter);
    OrbSets sets = readOrbSets(root, false);
    const std::string text(1, letter);
    writeOrbSettings(root, sets.sets[index], chart, text);
    sets.letter = text;
    writeOrbSets(root, sets);
    loadOrbSettings(root, orbs, chart);
    return orbs.OrbSetLetter.empty() ? ' ' : orbs.OrbSetLetter[0];
}

}  // namespace athanor
