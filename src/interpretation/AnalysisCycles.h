#pragma once
#include <array>

namespace athanor {

// The analysis buttons of the analysis window, each cycling through its views.
enum class AnalysisButton {
    Coordinates,    // BBcoordi
    Structure,      // BBarchetip
    Constitution,   // BBstoffa
    Aspects,        // BBaspetti
    Energies,       // BBEnergi
    Antiscia,       // BBantisce
    Dodecatemoria,  // BBdodecate
    Masters,        // BBmaestri
    Powers,         // BBtarquell
};
inline constexpr int kAnalysisButtons = 9;

// What one press of a button shows: its view (1-based) and the message section that
// explains it (0: the message stays as it is).
struct AnalysisStep {
    AnalysisButton button;
    int view = 1;
    int message = 0;
};

// How many views a button cycles through.
int viewCount(AnalysisButton b);
// The message section of a view.
int viewMessage(AnalysisButton b, int view);

// What a click on a glyph of the wheel does this time.
enum class GlyphAction {
    Texts,       // the interpretation texts
    Plants,      // the plants or remedies panel
    HidePlants,  // that panel hidden again
    Antiscia,    // the wheel redrawn with the glyph's own antiscia
};
struct GlyphStep {
    GlyphAction action;
    int message;
};

// The click counters of the analysis window: one per button, one per body 1..11 and one
// per sign 1..12, in one array. A button press clears every counter but its own, so a
// button pressed again after another one starts from its first view; the glyph
// counters are cleared by the buttons too, and a glyph's clicks leave the other
// counters alone.
class AnalysisCycles {
public:
    AnalysisStep press(AnalysisButton b);

    // Bodies 1..7 cycle through texts, plants, hidden plants and antiscia; the nodes
    // have no antiscia of their own, the ascendant and the midheaven only texts.
    GlyphStep clickBody(int body);
    // Signs cycle through all four.
    GlyphStep clickSign(int sign);

    // Every counter back to 0 (the window opening).
    void reset() { counters_.fill(0); }

    int buttonCounter(AnalysisButton b) const { return counters_[index(b)]; }
    int bodyCounter(int body) const { return counters_[kBodyBase + body - 1]; }
    int signCounter(int sign) const { return counters_[kSignBase + sign - 1]; }

private:
    static constexpr int kBodyBase = kAnalysisButtons;
    static constexpr int kSignBase = kBodyBase + 11;
    static constexpr int kCounters = kSignBase + 12;
    static int index(AnalysisButton b) { return static_cast<int>(b); }

    std::array<int, kCounters> counters_{};
};

}  // namespace athanor
