#pragma once
#include "engine/CorrectionFiles.h"
#include "engine/EngineContext.h"
#include "foundations/ChartState.h"

namespace athanor {

// Body selection of the driver: 0 all bodies; 1..19 one body index; 20 and 21 the Sun,
// the Moon and Mercury to Pluto.
inline constexpr int kSelectAll = 0;

// The engine's single entry point: runs the steps for `selection` at `jd` and writes the
// chart state. Throws FileError when a correction file it needs fails.
void runDriver(ChartState& chart, const CorrectionFiles& files, int selection, bool speedPass, long double jd);

// What every caller outside the engine uses: the positions at jd, with retrograde bodies
// (smaller a thousandth of a day later) marked by a negative longitude. The marks are
// those of two full evaluations; the second runs only for bodies whose move the first
// cannot decide.
void positionsWithRetrograde(ChartState& chart, const CorrectionFiles& files, int selection, long double jd);

// The fitted 1900-2100 corrections of the heliocentric positions of Jupiter to Pluto (AU,
// x y z per body) at one instant; `applies` is false outside their range.
struct OuterCorrections {
    bool applies = false;
    double d[5][3] = {};
};

// The corrections at the instants of two contexts, a moment apart, from one evaluation of
// their cosines: those of `now` as the planet step computes them, those of `later` turned
// from them by the few arc-seconds each argument moves.
void outerCorrections(const EngineContext& now, const EngineContext& later, OuterCorrections& atNow,
                      OuterCorrections& atLater);

// Steps of the driver (one per body family), over the working context.
void sunStep(ChartState& chart, EngineContext& ctx);
void moonStep(ChartState& chart, EngineContext& ctx);
void planetStep(ChartState& chart, EngineContext& ctx, int body);  // 3..10, 15..19
// planetStep for each body, computed side by side; the same results.
void planetSteps(ChartState& chart, EngineContext& ctx, const int* bodies, int count);
void nodeStep(ChartState& chart, EngineContext& ctx);
void blackMoonStep(ChartState& chart, EngineContext& ctx);
// The mean node's longitude, and the Black Moon's as its step writes it.
double meanNodeLongitude(const EngineContext& ctx);
double blackMoonLongitude(const ChartState& chart, const EngineContext& ctx);

// What one evaluation at jd foretells of each body's longitude a thousandth of a day later,
// for the retrograde mark: `move` is the displacement in degrees, `bound` what it may be
// off by (negative when the forecast cannot be trusted and the body needs the second
// evaluation). Fills the chart state as runDriver(chart, files, kSelectAll, false, jd)
// does. Exact for the Black Moon and the mean node.
struct MoveForecast {
    BodyArray move{};
    BodyArray bound{};
};
void forecastMoves(ChartState& chart, const CorrectionFiles& files, long double jd, MoveForecast& forecast);

}  // namespace athanor
