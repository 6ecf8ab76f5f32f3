#pragma once
#include "foundations/ChartState.h"

namespace athanor {

class CorrectionFiles;
struct OuterCorrections;
namespace supplement {
class File;
}

// Working context of one driver call: the fundamental arguments, the Earth vector and
// the switches of the call. Lives for one call only.
struct EngineContext {
    long double jd = 0;  // the files are looked up at this instant
    double d = 0;        // days from JD 2415020
    double T = 0;        // Julian centuries from JD 2415020
    double T2 = 0;

    // Fundamental arguments, degrees in [0, 360).
    double Om = 0;  // node of the Moon's orbit
    double Ls = 0;  // Sun's mean longitude
    double D = 0;   // Moon's mean elongation
    double Gp = 0;  // longitude of the Moon's perigee
    double Ms = 0;  // Sun's mean anomaly
    double Lm = 0;  // Moon's mean longitude
    double Mm = 0;  // Moon's mean anomaly

    double dpsi = 0;  // nutation in longitude, degrees
    double eps = 0;   // obliquity, degrees
    double cosEps = 0, sinEps = 0;

    // Earth's heliocentric ecliptic position (AU) and the Sun's geocentric velocity
    // (AU/day), written by the Sun step, read by the planet steps.
    double XE = 0, YE = 0, ZE = 0;
    double sunVX = 0, sunVY = 0, sunVZ = 0;

    bool speedPass = false;  // first evaluation of the retrograde wrapper
    // The wrapper's first evaluation keeps only the longitudes, and its second writes every
    // other value again: with this set, the steps skip what only the second one shows
    // (latitudes, equatorial and heliocentric coordinates, the equation of time). The Sun's
    // position and coordinates stay: its step writes them only when its light-time term is
    // not zero, so the first evaluation's may be the ones that remain.
    bool longitudesOnly = false;
    int selection = 0;

    const CorrectionFiles* files = nullptr;
    // The precision supplement, applied after the three files when the folder has it.
    const supplement::File* supplement = nullptr;
    // The 1900-2100 corrections of Jupiter to Pluto at this instant, when the caller has
    // them already; otherwise the planet step evaluates them.
    const OuterCorrections* outer = nullptr;
    // When set, the steps note what the retrograde forecast needs (forecastMoves).
    struct RateRecord* rates = nullptr;
};

// For the retrograde forecast: the rates of longitude the steps know, the change of their
// file and supplement corrections up to a later instant, the bodies whose move no rate
// tells (deflected by the Sun), and whether a theory's or a file's range begins or ends in
// between (then the rates say nothing).
struct RateRecord {
    long double laterJd = 0;
    BodyArray perDay{};    // degrees per day
    BodyArray fileMove{};  // degrees, from jd to laterJd
    std::array<bool, kBodySlots> undecided{};
    bool straddles = false;
};

// Fills d, T, T2, the fundamental arguments, nutation and obliquity for a Julian day.
EngineContext makeEngineContext(long double jd);

// Right ascension and declination of body b from |longitude|, latitude and the obliquity.
void equatorialCoordinates(ChartState& chart, const EngineContext& ctx, int b);
// The same conversion for a given longitude and latitude (degrees).
void equatorialFrom(long double longitude, long double latitude, long double epsDegrees, long double& rightAscension,
                    long double& declination);

}  // namespace athanor
