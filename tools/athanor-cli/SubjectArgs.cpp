#include "Cli.h"

#include "subjects/CoordText.h"

namespace athanor::cli {

SubjectArgs subjectArgs(const Args& args) {
    SubjectArgs a;
    a.stamp = args.require("stamp");
    if (a.stamp.size() < 13 || a.stamp.size() > 20 || a.stamp.find_first_not_of("0123456789") < 12)
        throw UsageError("--stamp: expected YYYYMMDDhhmm and the correction, e.g. 199003211430-1, got: " + a.stamp);
    checkCorrection("stamp", a.stamp.substr(12));
    a.coord = args.require("coord");
    std::string checked = a.coord;
    if (checked.size() == 12 && checked[9] == 'O') checked[9] = 'W';
    if (!parseCoordText(checked, CoordCheck::Entry))
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
