#include "graphics/GraphSettings.h"

#include <algorithm>
#include <cmath>

namespace athanor {

double clampLineFactor(double factor) { return std::clamp(factor, kLineFactorMin, kLineFactorMax); }
double lineFactorDown(double factor) { return clampLineFactor(factor * 0.95); }
double lineFactorUp(double factor) { return clampLineFactor(factor / 0.95); }

double calibrationFactor(int position) { return 1.0 - position / 1000.0; }

int calibrationPosition(double factor) {
    const long p = std::lround((1.0 - factor) * 1000.0);
    return static_cast<int>(std::clamp<long>(p, -kCalibrationRange, kCalibrationRange));
}

}  // namespace athanor
