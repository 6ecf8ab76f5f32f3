#include "graphics/SectorDrawings.h"

#include "graphics/DrawingKit.h"
#include "graphics/PageCanvas.h"
#include "graphics/TableDrawings.h"
#include "interpretation/Sectors.h"

#include <cmath>

namespace athanor {

namespace {

constexpr double kDotInset = 0.8;  // the midpoint dots stand just inside the circle

QColor penColour(int pen) { return penSpec(pen).colour; }

// The thin pen of a chord's colour, for the outline of its dots.
int dotPen(int pen) {
    switch (pen) {
    case 22:
        return 13;
    case 33:
        return 25;
    case 77:
        return 7;
    default:
        return pen;
    }
}

double wholeAngle(long double longitude, long double ascendant) {
    return screenAngle(std::nearbyint(static_cast<double>(longitude)), std::nearbyint(static_cast<double>(ascendant)));
}

void titleLines(PageCanvas& c, const char* title, const char* subtitle) {
    c.setTextColour(ink(c, colour::Cyan));
    c.textLeft(5, 5, title, 2);
    if (subtitle) c.textLeft(10, 5, subtitle, 15);
}

// On the background, so that it reads over the chords.
void caption(PageCanvas& c, const WheelGeometry& g, const char* text) {
    const double w = c.textWidthUnits(text, 15), h = fontUnits(c, 15);
    eraseBox(c, g.cy - 2 + h, g.cx - 10 + w + 0.5, g.cy - 2, g.cx - 10 - 0.5);
    c.setLogicalTextColour(0);
    c.textLeft(g.cy - 2, g.cx - 10, text, 15);
}

WheelOptions plainWheel() {
    WheelOptions o;
    o.aspectLines = false;
    return o;
}

void dot(PageCanvas& c, double y, double x, double r, const QColor& fill) {
    c.selectBrush(fill);
    c.ellipse(y + r, x + r, y - r, x - r);
    c.releaseBrush();
}

}  // namespace

std::pair<double, double> signMidpoint(const WheelGeometry& g, double k, const ChartState& chart, int sign, double r) {
    return wheelPoint(g, k, r, wholeAngle(30.0L * sign - 15.0L, chart.HouseCusp[0]));
}

void drawSignCircle(PageCanvas& c, const ChartState& chart, const WheelGeometry& g) {
    const double k = c.state().verticalAspect;
    c.selectLogicalPen(0);
    c.releaseBrush();
    c.circle(g.r6, g.cy, g.cx);
    c.selectPen(59);
    for (int sign = 1; sign <= 12; ++sign) {
        const auto [y, x] = signMidpoint(g, k, chart, sign, g.r6 - kDotInset);
        dot(c, y, x, 0.5, colour::Green);
    }
}

void drawSignChords(PageCanvas& c, const ChartState& chart, const WheelGeometry& g, std::span<const SignChord> chords,
                    bool dotted) {
    const double k = c.state().verticalAspect;
    const double r = g.r6 - kDotInset;
    for (const SignChord& chord : chords) {
        const auto [y1, x1] = signMidpoint(g, k, chart, chord.from, r);
        const auto [y2, x2] = signMidpoint(g, k, chart, chord.to, r);
        const int pen = inkPen(c, chord.pen);
        if (dotted) {
            // The dots keep their size: outlined thinly in their own colour.
            const int thin = inkPen(c, dotPen(chord.pen));
            c.selectPen(thin);
            c.selectBrush(penColour(thin));
            c.dottedLine(y1, x1, y2, x2);
            c.releaseBrush();
        } else {
            c.selectPen(pen);
            c.line(y1, x1, y2, x2);
        }
    }
}

void drawSignQuadrilaterals(PageCanvas& c, const ChartState& chart, const WheelGeometry& g,
                            std::span<const SignQuadrilateral> figures) {
    const double k = c.state().verticalAspect;
    const double r = g.r6 - kDotInset;
    for (const SignQuadrilateral& f : figures) {
        c.selectPen(inkPen(c, f.pen));
        const auto [y0, x0] = signMidpoint(g, k, chart, f.signs[0], r);
        c.moveTo(y0, x0);
        for (int i = 1; i <= 4; ++i) {
            const auto [y, x] = signMidpoint(g, k, chart, f.signs[i % 4], r);
            c.lineTo(y, x);
        }
    }
}

void drawAntisciaView(PageCanvas& c, const ChartState& chart, const OrbSettings& orbs, int view) {
    const WheelGeometry g;
    drawWheel(c, chart, orbs, g, plainWheel());
    drawSignCircle(c, chart, g);
    if (view == 1 || view == 3) drawSignChords(c, chart, g, kAntisciaChords, false);
    if (view == 2 || view == 3) drawSignChords(c, chart, g, kContrantisciaChords, false);
    if (view == 4) drawSignQuadrilaterals(c, chart, g, kAntisciaQuadrilaterals);
    titleLines(c, "ANTISCIA & CONTRANTISCIA", nullptr);
    if (view == 1) caption(c, g, "Antiscia");
    if (view == 2) caption(c, g, "Contrantiscia");
}

void drawAffinityView(PageCanvas& c, const ChartState& chart, const OrbSettings& orbs, int view) {
    const WheelGeometry g;
    drawWheel(c, chart, orbs, g, plainWheel());
    drawSignCircle(c, chart, g);
    if (view == 1 || view == 3) drawSignChords(c, chart, g, kMagneticChords, false);
    if (view == 2 || view == 3) drawSignChords(c, chart, g, kSoliLunarChords, true);
    titleLines(c, "AFINIDADES ENERG\xC9TICAS", "(Relaciones Magneticas y Soli-lunares)");
    if (view == 1) caption(c, g, "Magn\xE9ticas");
    if (view == 2) caption(c, g, "Soli-lunares");
}

void drawPointAntiscia(PageCanvas& c, const ChartState& chart, const WheelGeometry& g, long double longitude) {
    const double k = c.state().verticalAspect;
    const double r = g.r6 - kDotInset;
    const long double asc = chart.HouseCusp[0];
    const auto at = [&](long double lon) { return wheelPoint(g, k, r, wholeAngle(normalize360(lon), asc)); };
    const auto [y0, x0] = at(longitude);
    const struct {
        long double target;
        int pen;
        QColor fill;
    } mirrors[2] = {{antiscion(longitude), 33, colour::Cyan}, {contrantiscion(longitude), 22, colour::Red}};
    for (const auto& m : mirrors) {
        const auto [y, x] = at(m.target);
        c.selectPen(inkPen(c, m.pen));
        c.line(y0, x0, y, x);
        dot(c, y, x, 1.2, ink(c, m.fill));
    }
    c.selectLogicalPen(0);
    dot(c, y0, x0, 1.2, colour::Yellow);
}

void drawDodecatemoriaView(PageCanvas& base, const DataRoot& data, const ChartState& chart, const OrbSettings& orbs) {
    // The wheel is drawn smaller and to the left, so that the table fits at its right.
    constexpr double kScale = 0.78;
    constexpr double kCentreY = 102, kCentreX = 78;
    ScaledCanvas wheel(base, data, kScale);
    PageCanvas& c = *wheel;

    WheelGeometry g;
    g.cy = kCentreY / kScale;
    g.cx = kCentreX / kScale;
    g.r4 = 54;  // the planet band keeps its outer edge and gives 4 units inside
    g.r5 = 38;  // the house ring moves in to make room for the inner band
    g.r6 = 31;
    drawWheel(c, chart, orbs, g, plainWheel());

    // The inner band between the house ring and the planet band.
    const double outer = g.r4, inner = g.r5 + 3;
    constexpr double glyph = 5;
    const double rGlyph = (outer + inner) / 2;
    const double k = c.state().verticalAspect;
    const auto sectors = computeSectors(chart);
    const double asc = static_cast<double>(chart.HouseCusp[0]);
    std::vector<double> trueAngles;
    for (int b = 1; b <= kChartBodies; ++b)
        trueAngles.push_back(static_cast<double>(
            normalize360(screenAngle(static_cast<double>(sectors[b].dodecatemorion.longitude), asc))));
    const std::vector<double> spread = spreadAngles(trueAngles);
    for (int b = 1; b <= kChartBodies; ++b) {
        const double t = trueAngles[b - 1], s = spread[b - 1];
        c.selectLogicalPen(10);
        const auto [yo, xo] = wheelPoint(g, k, outer, t);
        const auto [yo2, xo2] = wheelPoint(g, k, rGlyph + glyph / 2 + 1, s);
        c.line(yo, xo, yo2, xo2);
        const auto [yi, xi] = wheelPoint(g, k, inner, t);
        const auto [yi2, xi2] = wheelPoint(g, k, rGlyph - glyph / 2 - 1, s);
        c.line(yi, xi, yi2, xi2);
        const auto [y, x] = wheelPoint(g, k, rGlyph, s);
        c.planetGlyph(b, y, x, glyph);
    }

    titleLines(base, "DODECATEMORIAS", "(En el c\xEDrculo interior)");
    TableStyle style;
    style.glyph = 4;
    style.rowStep = 6.5;
    drawDodecatemoriaTable(base, sectors, kChartBodies, "", 62, 152, style);
}

}  // namespace athanor
