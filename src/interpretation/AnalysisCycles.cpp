#include "interpretation/AnalysisCycles.h"

#include <vector>

namespace athanor {

namespace {

// Message sections of the views, button by button.
const std::vector<int>& messages(AnalysisButton b) {
    static const std::array<std::vector<int>, kAnalysisButtons> table = {{
        {2, 3, 4},         // coordinates: relative, absolute longitudes, latitudes
        {9},               // archetypal structure
        {5, 6, 7, 8},      // the four weaves
        {10, 24, 25, 26},  // aspect panel, list only, ecliptic grid, spherical grid
        {11, 12, 13},      // energetic affinities
        {14, 15, 16, 17},  // antiscia
        {18},              // dodecatemoria
        {22, 23},          // masters
        {19},              // planetary powers
    }};
    return table[static_cast<int>(b)];
}

}  // namespace

int viewCount(AnalysisButton b) { return static_cast<int>(messages(b).size()); }

int viewMessage(AnalysisButton b, int view) {
    const auto& m = messages(b);
    return view >= 1 && view <= static_cast<int>(m.size()) ? m[view - 1] : 0;
}

AnalysisStep AnalysisCycles::press(AnalysisButton b) {
    const int own = counters_[index(b)];
    counters_.fill(0);
    const int view = own % viewCount(b) + 1;
    counters_[index(b)] = view % viewCount(b);
    return AnalysisStep{b, view, viewMessage(b, view)};
}

GlyphStep AnalysisCycles::clickBody(int body) {
    static const GlyphStep planet[] = {{GlyphAction::Texts, 28},
                                       {GlyphAction::Plants, 29},
                                       {GlyphAction::HidePlants, 28},
                                       {GlyphAction::Antiscia, 30}};
    // Nodes: no antiscia of their own; ascendant and midheaven: no plants either.
    const int steps = body <= 7 ? 4 : body <= 9 ? 3 : 1;
    int& c = counters_[kBodyBase + body - 1];
    const GlyphStep step = planet[c % steps];
    c = (c + 1) % steps;
    return step;
}

GlyphStep AnalysisCycles::clickSign(int sign) {
    static const GlyphStep steps[] = {{GlyphAction::Texts, 31},
                                      {GlyphAction::Plants, 32},
                                      {GlyphAction::HidePlants, 31},
                                      {GlyphAction::Antiscia, 33}};
    int& c = counters_[kSignBase + sign - 1];
    const GlyphStep step = steps[c % 4];
    c = (c + 1) % 4;
    return step;
}

}  // namespace athanor
