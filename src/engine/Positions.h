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

// What every caller outside the engine uses: the driver twice, a thousandth of a day
// apart, with retrograde bodies marked by a negative longitude.
void positionsWithRetrograde(ChartState& chart, const CorrectionFiles& files, int selection, long double jd);

// Steps of the driver (one per body family), over the working context.
void sunStep(ChartState& chart, EngineContext& ctx);
void moonStep(ChartState& chart, EngineContext& ctx);
void planetStep(ChartState& chart, EngineContext& ctx, int body);  // 3..10, 15..19
// planetStep for each body, computed side by side; the same results.
void planetSteps(ChartState& chart, EngineContext& ctx, const int* bodies, int count);
void nodeStep(ChartState& chart, EngineContext& ctx);
void blackMoonStep(ChartState& chart, EngineContext& ctx);

}  // namespace athanor
