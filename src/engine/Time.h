#pragma once
#include "foundations/Calendar.h"

namespace athanor {

// Julian centuries from JD 2415020.
inline long double centuriesSince1900(long double jd) { return (jd - 2415020.0L) / 36525.0L; }

// Sidereal angle theta in hours [0, 24) at a Julian day; the houses add the clock time
// and the longitude to it.
long double greenwichSiderealTheta(long double jd);

// Obliquity of the ecliptic in degrees for T centuries.
inline long double obliquityDegrees(long double T) { return 23.4522944L - 0.0130125L * T; }

}  // namespace athanor
