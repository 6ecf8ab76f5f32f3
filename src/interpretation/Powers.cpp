#include "interpretation/Powers.h"

#include "foundations/Format.h"
#include "foundations/TextFile.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace athanor {

std::string scoreText(long double score) {
    if (score == 0) return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15Lg", score);
    std::string s = buf;
    for (char& c : s)
        if (c == '.') c = ',';
    return s.substr(0, 4);
}

Powers computePowers(const std::array<long double, 11>& scores) {
    Powers p;
    p.maximum = scores[1];
    long double largestMagnitude = 0;
    for (int b = 1; b <= 10; ++b) {
        if (scores[b] > p.maximum) {
            p.maximum = scores[b];
            p.dominant = b;
        }
        largestMagnitude = std::fmax(largestMagnitude, std::fabs(scores[b]));
    }
    const long double scale = p.maximum > 0 ? p.maximum : largestMagnitude;
    for (int b = 1; b <= 10; ++b) {
        PowerBar& bar = p.bars[b];
        bar.score = scores[b];
        bar.text = scoreText(scores[b]);
        bar.negative = !bar.text.empty() && bar.text[0] == '-';
        long double h = scale > 0 ? scores[b] / (scale / 30.0L) : 0;
        if (std::fabs(h) < 3) h = 3;
        bar.height = static_cast<int>(std::fabs(std::nearbyint(h)));
    }
    return p;
}

std::array<long double, 11> readPowerScores(const DataRoot& root) {
    TextReader in(root.resolve("FileDum\\MMMaitr2.dum"));
    std::array<long double, 11> scores{};
    for (int b = 1; b <= 10; ++b) scores[b] = in.real();
    return scores;
}

const char* dominantName(int body) {
    static constexpr const char* names[] = {"",           "SOLE",    "LUNA",  "MERCURIO", "VENUS",    "MARTE",
                                            "J\xDAPITER", "SATURNO", "URANO", "NEPTUNO",  "PLUT\xD3N"};
    if (body < 1 || body > 10) throw std::out_of_range("body " + std::to_string(body));
    return names[body];
}

void writeSummary(const DataRoot& root, const ChartState& chart, const Powers& powers) {
    writeLines(root.resolveForWriting(kSummaryFile),
               {signName(signOf(chart.BodyLongitude[body::Sun])),
                signName(signOf(chart.BodyLongitude[body::Ascendant])), dominantName(powers.dominant)});
}

Powers runPowers(const DataRoot& root, const ChartState& chart) {
    const Powers p = computePowers(readPowerScores(root));
    writeSummary(root, chart, p);
    return p;
}

}  // namespace athanor
