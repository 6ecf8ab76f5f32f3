#include "interpretation/OrbEditor.h"

#include "foundations/TextFile.h"

#include <cstdio>
#include <stdexcept>

namespace athanor {

namespace {

std::optional<long double> fieldValue(const std::string& text) {
    std::string t = text;
    for (char& c : t)
        if (c == ',') c = '.';
    return parseReal(t);
}

bool check(auto& field, long double high) {
    const auto v = fieldValue(field.text);
    if (v && *v >= 0 && *v <= high) {
        field.state = FieldState::Valid;
        return true;
    }
    field.text.clear();
    field.state = FieldState::Invalid;
    return false;
}

}  // namespace

std::string OrbEditor::setAText(int row) { return "\xB1 " + std::to_string(kAspectsByDisplay.at(row).setA); }

std::string OrbEditor::fieldText(long double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.6Lf", value);
    std::string s = buf;
    while (s.size() > 1 && s.back() == '0' && s[s.size() - 2] != '.') s.pop_back();
    for (char& c : s)
        if (c == '.') c = ',';
    return s;
}

OrbEditor::Field& OrbEditor::fieldRef(char column, int row) {
    if (column == 'B') return columnB_.at(row);
    if (column == 'C') return columnC_.at(row);
    throw std::invalid_argument(std::string("orb editor column ") + column);
}

const OrbEditor::Field& OrbEditor::fieldRef(char column, int row) const {
    return const_cast<OrbEditor*>(this)->fieldRef(column, row);
}

const std::string& OrbEditor::field(char column, int row) const { return fieldRef(column, row).text; }
FieldState OrbEditor::fieldState(char column, int row) const { return fieldRef(column, row).state; }

void OrbEditor::setField(char column, int row, std::string text) {
    fieldRef(column, row).text = std::move(text);
    changed_ = true;
}

void OrbEditor::setParallelField(std::string text) {
    parallel_.text = std::move(text);
    changed_ = extrasChanged_ = true;
}

void OrbEditor::setAntisciaField(std::string text) {
    antiscia_.text = std::move(text);
    changed_ = extrasChanged_ = true;
}

void OrbEditor::readSets(OrbSettings& orbs) {
    const OrbSets sets = readOrbSets(root_);
    for (int row = 0; row < kAspectKinds; ++row) {
        orbs.AspectOrb[kAspectsByDisplay[row].orbIndex] = sets.sets[0][row];
        columnB_[row].text = fieldText(sets.sets[1][row]);
        columnC_[row].text = fieldText(sets.sets[2][row]);
    }
    // Each set carries the extra orbs; the last copy is the one shown.
    for (const auto& set : sets.sets) {
        orbs.ParallelOrb = set[14];
        orbs.AntisciaOrb = set[15];
    }
    parallel_.text = fieldText(orbs.ParallelOrb);
    antiscia_.text = fieldText(orbs.AntisciaOrb);
    orbs.OrbSetLetter = sets.letter;
    frame_ = sets.letter == "A" || sets.letter == "B" || sets.letter == "C" ? sets.letter[0] : ' ';
}

void OrbEditor::activate(OrbSettings& orbs, ChartState& chart) {
    readSets(orbs);
    for (auto& f : columnB_) f.state = FieldState::Untested;
    for (auto& f : columnC_) f.state = FieldState::Untested;
    parallel_.state = antiscia_.state = FieldState::Untested;
    changed_ = extrasChanged_ = false;
    loadOrbSettings(root_, orbs, chart);
    edit1_ = orbs.OrbSetLetter;
    valid_ = false;  // until the next idle check
}

bool OrbEditor::validate() {
    bool ok = true;
    for (auto& f : columnB_) ok = check(f, 15.0L) && ok;
    for (auto& f : columnC_) ok = check(f, 15.0L) && ok;
    ok = check(parallel_, 6.0L) && ok;
    ok = check(antiscia_, 6.0L) && ok;
    valid_ = ok;
    return ok;
}

OrbSets OrbEditor::setsFromFields(char letter) const {
    OrbSets sets;
    const long double par = *fieldValue(parallel_.text);
    const long double ant = *fieldValue(antiscia_.text);
    for (int row = 0; row < kAspectKinds; ++row) {
        sets.sets[0][row] = kAspectsByDisplay[row].setA;
        sets.sets[1][row] = *fieldValue(columnB_[row].text);
        sets.sets[2][row] = *fieldValue(columnC_[row].text);
    }
    for (auto& set : sets.sets) {
        set[14] = par;
        set[15] = ant;
    }
    sets.letter = std::string(1, letter);
    return sets;
}

OrbEditor::AdoptResult OrbEditor::adopt(char column, OrbSettings& orbs, ChartState& chart) {
    if (column != 'A' && column != 'B' && column != 'C')
        throw std::invalid_argument(std::string("orb set letter ") + column);
    if (!validate()) return {false, kBadOrbsMessage, {}};
    edit1_ = std::string(1, column);
    orbs.OrbSetLetter = edit1_;
    const OrbSets sets = setsFromFields(column);
    writeOrbSets(root_, sets);
    // Only the sets file is read back here: the settings file still names the old set.
    readSets(orbs);
    writeOrbSettings(root_, sets.sets[column - 'A'], chart, orbs.OrbSetLetter);
    loadOrbSettings(root_, orbs, chart);
    return {true, {}, orbSetCaption(column)};
}

void OrbEditor::close(OrbSettings& orbs, ChartState& chart) {
    if (!validate()) return;
    writeOrbSets(root_, setsFromFields(frame_));
    if (extrasChanged_ && edit1_.size() == 1 && edit1_[0] >= 'A' && edit1_[0] <= 'C') {
        adopt(edit1_[0], orbs, chart);
        extrasChanged_ = false;
    }
}

}  // namespace athanor
