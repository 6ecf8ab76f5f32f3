#include "engine/Positions.h"

#include <cmath>
#include <iterator>

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

void positionsWithRetrograde(ChartState& chart, const CorrectionFiles& files, int selection, long double jd) {
    const CorrectionFiles::Batch batch(files);
    EngineContext laterCtx = makeEngineContext(jd + 0.001L), nowCtx = makeEngineContext(jd);
    // Both evaluations take the outer planets' corrections from one set of cosines.
    OuterCorrections outerNow, outerLater;
    const bool outer = selection == kSelectAll || selection == 20 || selection == 21 ||
                       (selection >= body::Jupiter && selection <= body::Pluto);
    if (outer) {
        outerCorrections(nowCtx, laterCtx, outerNow, outerLater);
        nowCtx.outer = &outerNow;
        laterCtx.outer = &outerLater;
    }
    // The first evaluation serves only its longitudes; the second writes everything else.
    drive(chart, files, selection, true, true, laterCtx);
    const BodyArray later = chart.BodyLongitude;
    drive(chart, files, selection, false, false, nowCtx);
    for (int i = 1; i <= 19; ++i) {
        const long double now = chart.BodyLongitude[i];
        // Moving backwards: smaller a thousandth of a day later. The 5-degree limit skips a
        // pass through 0 degrees.
        if (later[i] < now && std::fabs(later[i] - now) < 5.0L) chart.BodyLongitude[i] = -now;
    }
}

}  // namespace athanor
