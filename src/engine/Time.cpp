#include "engine/Time.h"

#include <cmath>

namespace athanor {

long double greenwichSiderealTheta(long double jd) {
    const long double T = centuriesSince1900(jd);
    long double theta = 18.6460655L + 2400.05126L * T + 0.000025805555L * T * T;
    if (!std::isfinite(theta)) return theta;
    // Adding 24 at a time would take millions of steps for remote dates; the remainder
    // below is what the repeated addition reaches.
    if (theta < 0) theta = theta - 24.0L * std::floor(theta / 24.0L);
    theta = (theta / 24.0L - Int(theta / 24.0L)) * 24.0L;
    return theta;
}

}  // namespace athanor
