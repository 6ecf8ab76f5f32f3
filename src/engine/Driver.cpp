#include "engine/Positions.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <stdexcept>
#include <string>

namespace athanor {

namespace {

// Entry 13: the ascendant of the last house computation, as a body.
void ascendantEntry(ChartState& chart, EngineContext& ctx) {
    chart.BodyLongitude[body::EngineAscendant] = chart.HouseCusp[0];
    chart.BodyLatitude[body::EngineAscendant] = 0.0L;
    if (!ctx.longitudesOnly) equatorialCoordinates(chart, ctx, body::EngineAscendant);
}

// Entry 14: equatorial coordinates of the descendant; its longitude is left alone.
void descendantEntry(ChartState& chart, EngineContext& ctx) {
    chart.BodyLatitude[body::Entry14] = 0.0L;
    if (ctx.longitudesOnly) return;
    equatorialFrom(chart.HouseCusp[6], 0.0L, ctx.eps, chart.BodyRightAscension[body::Entry14],
                   chart.BodyDeclination[body::Entry14]);
}

bool isPlanet(int b) { return b >= body::Mercury && b <= body::Pluto; }
bool isMinorBody(int b) { return b >= kFirstAsteroid && b <= kLastAsteroid; }

}  // namespace

namespace {

void drive(ChartState& chart, const CorrectionFiles& files, int selection, bool speedPass, bool longitudesOnly,
           EngineContext ctx) {
    const CorrectionFiles::Batch batch(files);
    ctx.files = &files;
    ctx.supplement = files.supplement();
    ctx.speedPass = speedPass;
    ctx.longitudesOnly = longitudesOnly;
    ctx.selection = selection;

    // The planets and the minor bodies depend on the Sun's step alone and nothing after
    // them reads them, so they go in one batch.
    static constexpr int kPlanets[] = {body::Mercury, body::Venus,  body::Mars,    body::Jupiter,
                                       body::Saturn,  body::Uranus, body::Neptune, body::Pluto};
    static constexpr int kAllPlanetary[] = {body::Mercury,
                                            body::Venus,
                                            body::Mars,
                                            body::Jupiter,
                                            body::Saturn,
                                            body::Uranus,
                                            body::Neptune,
                                            body::Pluto,
                                            15,
                                            16,
                                            17,
                                            18,
                                            19};
    static_assert(kFirstAsteroid == 15 && kLastAsteroid == 19);

    if (selection == kSelectAll) {
        sunStep(chart, ctx);
        moonStep(chart, ctx);
        planetSteps(chart, ctx, kAllPlanetary, static_cast<int>(std::size(kAllPlanetary)));
        nodeStep(chart, ctx);
        blackMoonStep(chart, ctx);
        ascendantEntry(chart, ctx);
        descendantEntry(chart, ctx);
        return;
    }
    if (selection < 1) return;

    sunStep(chart, ctx);
    if (selection == body::Moon) {
        moonStep(chart, ctx);
    } else if (isPlanet(selection) || isMinorBody(selection)) {
        planetStep(chart, ctx, selection);
    } else if (selection == body::Node) {
        nodeStep(chart, ctx);
    } else if (selection == body::BlackMoon) {
        blackMoonStep(chart, ctx);
    } else if (selection == 20 || selection == 21) {
        moonStep(chart, ctx);
        planetSteps(chart, ctx, kPlanets, static_cast<int>(std::size(kPlanets)));
    }
    // 13, 14 and any other number: the Sun alone.
}

}  // namespace

void runDriver(ChartState& chart, const CorrectionFiles& files, int selection, bool speedPass, long double jd) {
    drive(chart, files, selection, speedPass, false, makeEngineContext(jd));
}

namespace {

constexpr long double kLaterBy = 0.001L;

// Moving backwards: smaller a thousandth of a day later; the 5-degree limit
// skips a pass through 0 degrees.
bool backwards(long double now, long double later) { return later < now && std::fabs(later - now) < 5.0L; }

// Within this much of 0/360 degrees the forecast leaves the mark to the second evaluation.
constexpr long double kNearZero = 0.1L;

// How far each forecast may be off over a thousandth of a day, in degrees: about five times
// the largest error found every six hours from 1900 to 2100 and every day from year 1 to
// 1900. The rates are those of the geometric positions: they leave out the change of the
// light time (Mercury, Pallas, Juno and Chiron near their stations), precession, nutation,
// the motion of the outer planets' corrections and of the Moon's small terms.
constexpr long double kBound[kBodySlots] = {
    0,       // unused
    1.0e-5,  // Sun
    5.0e-5,  // Moon
    3.0e-5,  // Mercury
    1.0e-6,  // Venus
    1.0e-6,  // Mars
    1.5e-6,  // Jupiter
    1.5e-6,  // Saturn
    1.0e-6,  // Uranus
    1.0e-6,  // Neptune
    1.0e-6,  // Pluto
    5.0e-7,  // true node
    0,       // Black Moon: exact
    0,       // ascendant: the same at both instants
    0,       // entry 14: left alone
    1.0e-6,  // Ceres
    1.2e-5,  // Pallas
    1.8e-5,  // Juno
    1.0e-6,  // Vesta
    1.6e-5,  // Chiron
};

// The forecast is made from year 1 (where the five-day file begins) up to 2100, where the
// planets' theories and their corrections were checked against the second evaluation.
constexpr long double kForecastFirstJd = 1721423.5L;
constexpr long double kForecastEndJd = 2488070.0L;

void forecastWith(ChartState& chart, const CorrectionFiles& files, EngineContext nowCtx, const EngineContext& laterCtx,
                  MoveForecast& forecast) {
    RateRecord rates;
    rates.laterJd = laterCtx.jd;
    nowCtx.rates = &rates;
    drive(chart, files, kSelectAll, false, false, nowCtx);

    forecast.move.fill(0);
    forecast.bound.fill(-1);
    if (rates.straddles || !(nowCtx.jd >= kForecastFirstJd && laterCtx.jd < kForecastEndJd)) return;

    const BodyArray& now = chart.BodyLongitude;
    auto byRate = [&](int b, long double perDay) {
        forecast.move[b] = perDay * kLaterBy + rates.fileMove[b];
        forecast.bound[b] = rates.undecided[b] ? -1 : kBound[b];
    };
    auto exactly = [&](int b, long double later) {
        forecast.move[b] = later - now[b];
        forecast.bound[b] = 0;
    };
    byRate(body::Sun, rates.perDay[body::Sun]);
    byRate(body::Moon, rates.perDay[body::Moon]);
    for (int b = body::Mercury; b <= body::Pluto; ++b) byRate(b, rates.perDay[b]);
    for (int b = kFirstAsteroid; b <= kLastAsteroid; ++b) byRate(b, rates.perDay[b]);
    if (chart.NodeKind == "VERO") byRate(body::Node, rates.perDay[body::Node]);
    else exactly(body::Node, meanNodeLongitude(laterCtx));
    exactly(body::BlackMoon, blackMoonLongitude(chart, laterCtx));
    exactly(body::EngineAscendant, now[body::EngineAscendant]);
    exactly(body::Entry14, now[body::Entry14]);
}

// The first evaluation of the wrapper for some of the bodies: the steps a full one runs for
// them, in its order.
void driveLongitudes(ChartState& chart, const CorrectionFiles& files, const int* bodies, int count, EngineContext ctx) {
    ctx.files = &files;
    ctx.supplement = files.supplement();
    ctx.speedPass = true;
    ctx.longitudesOnly = true;
    ctx.selection = kSelectAll;
    int planets[kBodySlots];
    int n = 0;
    bool moon = false, node = false, blackMoon = false, ascendant = false;
    for (int k = 0; k < count; ++k) {
        const int b = bodies[k];
        if (b == body::Moon) moon = true;
        else if (b == body::Node) node = true;
        else if (b == body::BlackMoon) blackMoon = true;
        else if (b == body::EngineAscendant) ascendant = true;
        else if (isPlanet(b) || isMinorBody(b)) planets[n++] = b;
        else if (b != body::Sun && b != body::Entry14)  // entry 14's longitude is left alone
            throw std::logic_error("driveLongitudes: no evaluation for body " + std::to_string(b));
    }
    sunStep(chart, ctx);
    if (moon || node) moonStep(chart, ctx);
    if (n > 0) planetSteps(chart, ctx, planets, n);
    if (node) nodeStep(chart, ctx);
    if (blackMoon) blackMoonStep(chart, ctx);
    if (ascendant) ascendantEntry(chart, ctx);
}

// Both instants' contexts. When both evaluations run, the outer planets' corrections come
// from one set of cosines (pairOuter); the first evaluation alone computes its own, the same.
struct Contexts {
    EngineContext now, later;
    OuterCorrections outerNow, outerLater;
    Contexts(const CorrectionFiles& files, long double jd)
        : now(makeEngineContext(jd)), later(makeEngineContext(jd + kLaterBy)) {
        later.files = &files;
    }
    Contexts(const Contexts&) = delete;
    void pairOuter() {
        outerCorrections(now, later, outerNow, outerLater);
        now.outer = &outerNow;
        later.outer = &outerLater;
    }
};

}  // namespace

void forecastMoves(ChartState& chart, const CorrectionFiles& files, long double jd, MoveForecast& forecast) {
    const CorrectionFiles::Batch batch(files);
    const Contexts c(files, jd);
    forecastWith(chart, files, c.now, c.later, forecast);
}

void positionsWithRetrograde(ChartState& chart, const CorrectionFiles& files, int selection, long double jd) {
    const CorrectionFiles::Batch batch(files);
    const bool outer = selection == kSelectAll || selection == 20 || selection == 21 ||
                       (selection >= body::Jupiter && selection <= body::Pluto);
    Contexts c(files, jd);

    if (selection != kSelectAll) {
        if (outer) c.pairOuter();
        // Both evaluations in full. The first serves only its longitudes; the second writes
        // everything else.
        drive(chart, files, selection, true, true, c.later);
        const BodyArray later = chart.BodyLongitude;
        drive(chart, files, selection, false, false, c.now);
        for (int i = 1; i <= 19; ++i)
            if (backwards(chart.BodyLongitude[i], later[i])) chart.BodyLongitude[i] = -chart.BodyLongitude[i];
        return;
    }

    // One evaluation, and the forecast decides every mark it can.
    MoveForecast forecast;
    forecastWith(chart, files, c.now, c.later, forecast);
    int pending[kBodySlots];
    int count = 0;
    for (int i = 1; i <= 19; ++i) {
        const long double now = chart.BodyLongitude[i], move = forecast.move[i], bound = forecast.bound[i];
        if (bound == 0) {
            // move is later - now as the rule computes it: later < now exactly when it is negative.
            if (move < 0 && std::fabs(move) < 5.0L) chart.BodyLongitude[i] = -now;
        } else if (bound > 0 && now >= kNearZero && now <= 360.0L - kNearZero && std::fabs(move) > bound) {
            if (move < 0) chart.BodyLongitude[i] = -now;
        } else {
            pending[count++] = i;
        }
    }
    if (count == 0) return;

    // The second evaluation for the undecided bodies, on a copy: the chart keeps the first.
    ChartState later = chart;
    if (std::any_of(pending, pending + count, [](int b) { return b >= body::Jupiter && b <= body::Pluto; }))
        c.pairOuter();
    driveLongitudes(later, files, pending, count, c.later);
    for (int n = 0; n < count; ++n) {
        const int b = pending[n];
        if (backwards(chart.BodyLongitude[b], later.BodyLongitude[b])) chart.BodyLongitude[b] = -chart.BodyLongitude[b];
    }
}

}  // namespace athanor
