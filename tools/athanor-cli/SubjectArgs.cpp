#include "Cli.h"

#include "subjects/CoordText.h"

namespace athanor::cli {

// Degrees and minutes a place can have: latitude to 90°, longitude to 180°, minutes to 59, and
// nothing beyond a pole or the date line ("90S59", "180E59").
bool coordinatesOnTheGlobe(const std::string& text) {
    auto digits = [&](std::size_t at, std::size_t n) {
        int v = 0;
        for (std::size_t i = at; i < at + n; ++i) {
            if (i >= text.size() || text[i] < '0' || text[i] > '9') return -1;
            v = v * 10 + (text[i] - '0');
        }
        return v;
    };
    if (text.size() != 12) return false;
    const int latDeg = digits(0, 2), latMin = digits(3, 2), lonDeg = digits(6, 3), lonMin = digits(10, 2);
    if (latDeg < 0 || latMin < 0 || lonDeg < 0 || lonMin < 0) return false;
    return latMin <= 59 && lonMin <= 59 && (latDeg < 90 || (latDeg == 90 && latMin == 0)) &&
           (lonDeg < 180 || (lonDeg == 180 && lonMin == 0));
}

SubjectArgs subjectArgs(const Args& args) {
    SubjectArgs a;
    a.stamp = args.require("stamp");
    if (a.stamp.size() < 13 || a.stamp.size() > 20 || a.stamp.find_first_not_of("0123456789") < 12)
        throw UsageError("--stamp: expected YYYYMMDDhhmm and the correction, e.g. 199003211430-1, got: " + a.stamp);
    checkCorrection("stamp", a.stamp.substr(12));
    a.coord = args.require("coord");
    std::string checked = a.coord;
    if (checked.size() == 12 && checked[9] == 'O') checked[9] = 'W';
    if (!parseCoordText(checked, CoordCheck::Entry) || !coordinatesOnTheGlobe(checked))
        throw UsageError("--coord: expected the form 41N54-012E29, got: " + a.coord);
    a.calendar = args.get("calendar").value_or("GR");
    if (a.calendar != "GR" && a.calendar != "GI") throw UsageError("--calendar: GR or GI");
    requireExistingMoment(a.stamp, a.calendar);

    const auto data = args.get("data");
    a.root = DataRoot(data ? std::filesystem::absolute(*data) : DataRoot::defaultLocation());
    if (!data) a.root.seedFrom(DataRoot::installedDefaults());
    return a;
}

}  // namespace athanor::cli
