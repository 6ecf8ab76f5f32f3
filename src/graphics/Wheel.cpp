#include "graphics/Wheel.h"

#include "interpretation/Sectors.h"

#include "foundations/Format.h"
#include "graphics/PageCanvas.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace athanor {

namespace {

constexpr double kDeg = M_PI / 180.0;
constexpr double kMinSeparation = 8.0;

double norm360(double x) { return static_cast<double>(normalize360(static_cast<long double>(x))); }

const char* const kHouseNumerals[13] = {"", "I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX", "X", "XI", "XII"};
// The second style names the angular houses only in numerals.
const char* const kAxisLabels[13] = {"", "I", "2", "3", "IV", "5", "6", "VII", "8", "9", "X", "11", "12"};

}  // namespace

double screenAngle(double longitude, double ascendant) { return longitude - ascendant + 180.0; }

std::pair<double, double> wheelPoint(const WheelGeometry& g, double k, double r, double theta) {
    const double a = theta * kDeg;
    return {g.cy - r * std::sin(a) * k, g.cx + r * std::cos(a)};
}

int roundHalfEven(double x) { return static_cast<int>(std::nearbyint(x)); }

std::vector<double> spreadAngles(const std::vector<double>& trueAngles) {
    const int n = static_cast<int>(trueAngles.size());
    if (n == 0) return {};
    std::vector<double> theta(n);
    for (int i = 0; i < n; ++i) theta[i] = norm360(trueAngles[i]);

    // Bubble sort that swaps only on strictly greater: equal angles keep body order.
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    for (int pass = 0; pass < n - 1; ++pass)
        for (int j = 0; j < n - 1 - pass; ++j)
            if (theta[order[j]] > theta[order[j + 1]]) std::swap(order[j], order[j + 1]);
    std::vector<double> t(n + 1);  // t[1..n]
    for (int v = 1; v <= n; ++v) t[v] = theta[order[v - 1]];

    // The first of the largest gaps.
    int h = 1;
    double largest = -1;
    for (int v = 1; v <= n; ++v) {
        double gap = v == 1 ? t[1] - t[n] + 360.0 : t[v] - t[v - 1];
        if (gap < 0) gap += 360.0;
        if (gap > largest) {
            largest = gap;
            h = v;
        }
    }

    // Unroll so that the largest gap lies before s[1] and after s[n].
    std::vector<double> s(n + 1);
    std::vector<int> who(n + 1, -1);
    int v = 1;
    for (int u = h; u <= n; ++u, ++v) {
        s[v] = t[u];
        who[v] = order[u - 1];
    }
    for (int u = 1; u < h; ++u, ++v) {
        s[v] = t[u] + 360.0;
        who[v] = order[u - 1];
    }
    s[0] = s[n] - 360.0;
    const std::vector<double> s0 = s;

    int moved = 0;
    for (v = 1; v <= n; ++v) {
        if (s[v] - s[v - 1] <= kMinSeparation) {
            s[v] = s[v - 1] + kMinSeparation;
            ++moved;
            continue;
        }
        // The run ending at v-1: its first body unmoved, `moved` bodies pushed forward.
        const int first = v - 1 - moved, last = v - 1;
        if (moved > 0 && first >= 1) {
            const double m = (s[last] - s0[last]) / 2.0;
            const double gapBefore = s[first] - s[first - 1];
            double back = 0;
            if (gapBefore >= m + kMinSeparation) back = m;
            else if (gapBefore > kMinSeparation && moved > 1) back = gapBefore - kMinSeparation;
            for (int u = first; u <= last; ++u) s[u] -= back;
        }
        moved = 0;
    }

    std::vector<double> spread(n);
    for (v = 1; v <= n; ++v) spread[who[v]] = s[v] >= 360.0 ? s[v] - 360.0 : s[v];
    return spread;
}

std::vector<WheelAspect> wheelAspects(const ChartState& chart, const OrbSettings& orbs, int lastBody, bool skipNodes) {
    std::vector<WheelAspect> out;
    for (int i = 1; i <= lastBody; ++i) {
        for (int j = i + 1; j <= lastBody; ++j) {
            if (skipNodes &&
                (i == body::NorthNode || i == body::SouthNode || j == body::NorthNode || j == body::SouthNode))
                continue;
            const long double sep = eclipticSeparation(chart.BodyLongitude[i], chart.BodyLongitude[j]);
            const auto kind = majorAspect(sep, orbs);
            if (!kind || *kind == aspect::Conjunction) continue;
            const int dev = roundHalfEven(static_cast<double>(std::fabs(aspectKind(*kind).angle - sep)));
            if (*kind == aspect::Opposition && dev == 0) continue;
            out.push_back({i, j, *kind, dev});
        }
    }
    return out;
}

namespace {

class WheelPainter {
public:
    WheelPainter(PageCanvas& c, const ChartState& chart, const OrbSettings& orbs, const WheelGeometry& g,
                 const WheelOptions& o)
        : c_(c),
          chart_(chart),
          orbs_(orbs),
          g_(g),
          o_(o),
          k_(c.state().verticalAspect),
          asc_(static_cast<double>(chart.HouseCusp[0])) {}

    WheelHitTable draw() {
        zodiacRing();
        planets();
        houseRing();
        axes();
        if (o_.aspectLines) aspects();
        return std::move(hits_);
    }

private:
    bool analysis() const { return o_.style == WheelStyle::Analysis; }

    std::pair<double, double> at(double r, double theta) const { return wheelPoint(g_, k_, r, theta); }
    double angleOf(double longitude) const { return screenAngle(longitude, asc_); }

    void circle(double r) { c_.circle(r, g_.cy, g_.cx); }

    void radial(double r1, double r2, double theta) {
        const auto [y1, x1] = at(r1, theta);
        const auto [y2, x2] = at(r2, theta);
        c_.line(y1, x1, y2, x2);
    }

    void dot(double r, double y, double x, const QColor& fill) {
        c_.selectBrush(fill);
        c_.ellipse(y + r, x + r, y - r, x - r);
        c_.releaseBrush();
    }

    // Height of a font in page units (vertical).
    double fontUnits(int font) const {
        const auto& s = c_.state();
        return c_.fontHeight(font) / (s.ppu * s.zoom) * s.vc;
    }

    // A label centred on a point of the wheel, vertically too.
    void label(double r, double theta, const std::string& text, int font) {
        const auto [y, x] = at(r, theta);
        c_.textCentred(y - fontUnits(font) / 2.0, x, text, font);
    }

    void clickMarker(double y, double x) {
        c_.selectPen(13);
        c_.releaseBrush();
        c_.circle(1.5, y, x);
    }

    void zodiacRing() {
        const double glyph = analysis() ? 9.0 : 7.0;
        c_.selectLogicalPen(0);
        c_.releaseBrush();
        circle(g_.r1 + 5);
        circle(g_.r1);
        circle(g_.r2);
        radial(g_.r1 + 5, g_.r1 + 15, 180.0);
        radial(g_.r1 + 5, g_.r1 + 15, 0.0);

        c_.selectLogicalPen(10);
        for (int mark = 0; mark < 36; ++mark) radial(g_.r1 + 5, g_.r1 - 3, angleOf(mark * 10.0));

        for (int sign = 1; sign <= 12; ++sign) {
            const double boundary = angleOf((sign - 1) * 30.0);
            c_.selectLogicalPen(0);
            radial(g_.r1 + 5, g_.r2, boundary);
            const auto [y, x] = at((g_.r2 + g_.r1) / 2.0, boundary + 15.0);
            if (analysis()) clickMarker(y, x);
            c_.signGlyph(sign, 'M', y, x, glyph);
            hits_.push_back({WheelHit::Kind::Sign, sign, y, x});
        }

        for (int decan = 1; decan <= 36; ++decan) {
            const auto [y, x] = at(g_.r1 + 2.5, angleOf((decan - 1) * 10.0 + 5.0));
            c_.planetGlyph(decanFaceRuler(decan), y, x, 3.5);
        }
    }

    void planets() {
        const int count = analysis() ? 11 : 9;
        constexpr double glyph = 7.0;
        const double rGlyph = (g_.r3 + g_.r4) / 2.0;
        std::vector<double> trueAngles;
        for (int b = 1; b <= count; ++b) trueAngles.push_back(norm360(angleOf(double(chart_.BodyLongitude[b]))));
        const std::vector<double> spread = spreadAngles(trueAngles);

        for (int b = 1; b <= count; ++b) {
            const double tTrue = trueAngles[b - 1], tSpread = spread[b - 1];
            // Pointer lines from the true place on both circles to the glyph's square.
            c_.selectLogicalPen(10);
            radialPair(g_.r3, tTrue, rGlyph + glyph / 2 + 1, tSpread);
            radialPair(g_.r4, tTrue, rGlyph - glyph / 2 - 1, tSpread);
            const QColor ink = c_.state().onPaper() ? colour::Black : colour::White;
            for (double r : {g_.r3, g_.r4}) {
                const auto [y, x] = at(r, tTrue);
                dot(0.2, y, x, ink);
            }

            const auto [y, x] = at(rGlyph, tSpread);
            if (analysis()) clickMarker(y, x);
            c_.planetGlyph(b, y, x, glyph);
            if (analysis()) hits_.push_back({WheelHit::Kind::Body, b, y, x});

            if (b <= 9 && chart_.RetroMark[b] == 'r') {
                c_.setTextColour(colour::Red);
                c_.textLeft(y - 3, x + 3, "R", glyph < 7 ? 10 : 15);
            }

            if (!analysis()) {
                const double lon = static_cast<double>(chart_.BodyLongitude[b]);
                const double fromAsc = std::fabs(std::remainder(lon - asc_, 360.0));
                const double fromDsc = std::fabs(std::remainder(lon - asc_ - 180.0, 360.0));
                const double m = (fromAsc <= 5.0 || fromDsc <= 5.0) ? 25.0 : 15.0;
                c_.selectLogicalPen(10);
                radial(g_.r1 + m, g_.r1 + 29, tTrue);
                c_.setLogicalTextColour(0);
                label(g_.r1 + 35, tSpread, degreesMinutesInSign(lon), 2);
            }
        }
        c_.selectLogicalPen(0);
        circle(g_.r4);
    }

    void radialPair(double r1, double t1, double r2, double t2) {
        const auto [y1, x1] = at(r1, t1);
        const auto [y2, x2] = at(r2, t2);
        c_.line(y1, x1, y2, x2);
    }

    void houseRing() {
        c_.selectLogicalPen(0);
        c_.releaseBrush();
        circle(g_.r5);
        circle(g_.r6);
        circle(g_.r5 + 3);
        c_.selectLogicalPen(10);
        for (int t = 0; t < 60; ++t) radial(g_.r5, g_.r5 + 3, 180.0 + 6.0 * t);

        const bool throughCentre = o_.houseAxesThroughCentre;
        for (int h = 1; h <= 6; ++h) {
            const bool angular = h == 1 || h == 4;
            c_.selectLogicalPen(angular ? 0 : 10);
            for (int end : {h, h + 6})
                radial(throughCentre ? 0.0 : g_.r6, g_.r5 + 3, angleOf(double(chart_.HouseCusp[end - 1])));
        }
        c_.setLogicalTextColour(0);
        const char* const* numerals = throughCentre ? kAxisLabels : kHouseNumerals;
        for (int h = 1; h <= 12; ++h)
            label((g_.r5 + g_.r6) / 2.0, angleOf(double(chart_.HouseCusp[h - 1]) - 5.0), numerals[h], 2);
    }

    void yellowDot(double theta) {
        const auto [y, x] = at(g_.r1 + 5, theta);
        c_.selectPen(2);
        dot(1.5, y, x, colour::Yellow);
    }

    // A text beside an axis at radius r: its near edge one unit off the axis, on the side
    // of decreasing (before) or increasing screen angle.
    void besideAxis(double r, double theta, const std::string& text, int font, bool before) {
        const double a = theta * M_PI / 180.0;
        const double tx = -std::sin(a), ty = -std::cos(a) * k_;  // direction of increasing angle
        const double norm = std::hypot(tx, ty);
        const double w = c_.textWidthUnits(text, font), h = fontUnits(font);
        const double half = (std::fabs(tx) * w + std::fabs(ty) * h) / (2 * norm) + 1.0;
        const double side = before ? -1.0 : 1.0;
        const auto [y, x] = at(r, theta);
        c_.textCentred(y + side * half * ty / norm - h / 2, x + side * half * tx / norm, text, font);
    }

    void axes() {
        // The Ascendant axis; its own glyph stands on it, so the line leaves the planet band.
        c_.selectPen(2);
        for (double t : {180.0, 0.0}) {
            radial(g_.r6, g_.r4, t);
            radial(g_.r3, g_.r1 + 5, t);
        }
        c_.setLogicalTextColour(0);
        for (double t : {180.0, 0.0}) {
            yellowDot(t);
            // Below the stub of the horizontal axis.
            const auto [y, x] = at(g_.r1 + 12, t);
            c_.setLogicalTextColour(0);
            c_.textCentred(y, x, degreesMinutesInSign(t == 180.0 ? asc_ : norm360(asc_ + 180.0)), 1);
        }
        {
            const auto [y, x] = at(g_.r1 + 6, 180.0);
            c_.textRight(y - fontUnits(4) - 0.5, x, "AS", 4);
        }

        if (chart_.HouseSystem != "CASE_MEDIE") return;
        // Mean houses: the Midheaven, which is no cusp, gets its own dots, label and degree ...
        const double mc = static_cast<double>(chart_.BodyLongitude[body::Midheaven]);
        const double mcAngle = angleOf(mc);
        yellowDot(mcAngle);
        yellowDot(mcAngle + 180.0);
        c_.setLogicalTextColour(0);
        besideAxis(g_.r1 + 11, mcAngle, "MC", 4, true);
        besideAxis(g_.r1 + 11, mcAngle, degreesMinutesInSign(mc), 1, false);

        // ... and each cusp axis is marked 15 degrees before the cusp. The axes nearest the
        // Midheaven (3-9 and 4-10) keep only the label away from it.
        for (int h = 1; h <= 6; ++h) {
            for (int end : {h, h + 6}) {
                const double point = norm360(double(chart_.HouseCusp[end - 1]) - 15.0);
                const auto [y, x] = at(g_.r1 + 5, angleOf(point));
                c_.selectPen(2);
                dot(1.0, y, x, colour::Red);
                if ((h == 3 || h == 4) && end == h + 6) continue;
                c_.setLogicalTextColour(0);
                label(g_.r1 + 12, angleOf(point), degreesMinutesInSign(point), 1);
            }
        }
    }

    void aspects() {
        const bool print = !analysis();
        const int last = o_.powersBodies ? 14 : 11;
        const double r = print ? g_.r6 - 3 : g_.r6;
        const double ascRounded = roundHalfEven(asc_);
        const auto endPoint = [&](int b) {
            return at(r, screenAngle(roundHalfEven(double(chart_.BodyLongitude[b])), ascRounded));
        };
        for (const WheelAspect& a : wheelAspects(chart_, orbs_, print ? std::min(last, 9) : last, print)) {
            const auto [y1, x1] = endPoint(a.a);
            const auto [y2, x2] = endPoint(a.b);
            const bool hard = a.orbIndex == aspect::Opposition || a.orbIndex == aspect::Square;
            if (o_.lineVariant) {
                if (hard) {
                    c_.selectLogicalPen(2);
                    c_.dashedLine(y1, x1, y2, x2);
                } else {
                    c_.selectLogicalPen(5);
                    c_.line(y1, x1, y2, x2);
                }
            } else {
                c_.selectLogicalPen(hard ? 7 : 25);
                c_.selectBrush(hard ? colour::Red : colour::Blue);
                spindle(y1, x1, y2, x2, 1.0 / (1.2 * std::sqrt(std::max<double>(a.deviation, 0.2))));
                c_.releaseBrush();
            }
            c_.selectLogicalPen(60);
            for (const auto& [y, x] : {std::pair{y1, x1}, std::pair{y2, x2}}) {
                c_.selectBrush(colour::Cyan);
                c_.ellipse(y + 0.5, x + 0.5, y - 0.5, x - 0.5);
                c_.releaseBrush();
            }
        }
    }

    // A filled spindle of half-width w that narrows to its ends over the last 8 units.
    void spindle(double y1, double x1, double y2, double x2, double w) {
        const double dy = y2 - y1, dx = x2 - x1;
        const double length = std::hypot(dy, dx);
        if (length <= 0) return;
        const double uy = dy / length, ux = dx / length;  // along
        const double ny = ux, nx = -uy;                   // across
        const double taper = std::min(8.0, length / 2.0);
        std::vector<std::pair<double, double>> pts;
        pts.emplace_back(y1, x1);
        pts.emplace_back(y1 + uy * taper + ny * w, x1 + ux * taper + nx * w);
        pts.emplace_back(y2 - uy * taper + ny * w, x2 - ux * taper + nx * w);
        pts.emplace_back(y2, x2);
        pts.emplace_back(y2 - uy * taper - ny * w, x2 - ux * taper - nx * w);
        pts.emplace_back(y1 + uy * taper - ny * w, x1 + ux * taper - nx * w);
        c_.polygon(pts);
    }

    PageCanvas& c_;
    const ChartState& chart_;
    const OrbSettings& orbs_;
    const WheelGeometry& g_;
    const WheelOptions& o_;
    double k_;
    double asc_;
    WheelHitTable hits_;
};

}  // namespace

WheelHitTable drawWheel(PageCanvas& canvas, const ChartState& chart, const OrbSettings& orbs,
                        const WheelGeometry& geometry, const WheelOptions& options) {
    return WheelPainter(canvas, chart, orbs, geometry, options).draw();
}

std::optional<WheelHit> findHit(const WheelHitTable& table, const DrawingState& s, QPoint click) {
    const double k = s.ppu * s.zoom;
    const double px = click.x() - s.ox, py = click.y() - s.oy;
    for (const WheelHit& h : table) {
        const double cx = std::lround(h.x / s.hc * k), cy = std::lround(h.y / s.vc * k);
        if (std::fabs(px - cx) <= 15.0 / s.hc && std::fabs(py - cy) <= 15.0 / s.vc) return h;
    }
    return std::nullopt;
}

}  // namespace athanor
