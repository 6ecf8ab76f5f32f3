#pragma once
// The reference ephemeris the corrections are measured against: the Swiss Ephemeris with
// its compressed JPL files. Its state is per thread: make one Reference in each thread
// that asks it anything.
#include <string>

namespace athanor::corrections {

inline constexpr const char* kDefaultEphePath = "/usr/share/libswe/ephe";

struct SkyPosition {
    double longitude = 0;  // degrees, ecliptic and equinox of date
    double latitude = 0;
    bool covered = false;  // false: the reference files do not reach this date
};

class Reference {
public:
    explicit Reference(const std::string& ephePath = kDefaultEphePath);
    ~Reference();
    Reference(const Reference&) = delete;
    Reference& operator=(const Reference&) = delete;

    // TT - UT in days at a universal time.
    double deltaT(double jdUt) const;

    // Body b in the engine's numbering at universal time jdUt, evaluated at TT = UT + deltaT:
    // the Sun, the Moon, Mercury to Pluto (1..10) and Ceres to Chiron (15..19) apparent
    // geocentric, light time, aberration and nutation included, and the Sun's deflection of
    // light unless `deflection` is false; 11 the ascending node and 12 the apogee of the
    // Moon's osculating geocentric orbit.
    SkyPosition at(int b, double jdUt, bool deflection = true) const;
};

}  // namespace athanor::corrections
