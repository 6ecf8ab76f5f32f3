#include "Cli.h"
#include "Json.h"

#include "engine/Positions.h"
#include "foundations/DataRoot.h"

#include <cmath>
#include <iostream>

namespace athanor::cli {
namespace {

int selectionOf(const Args& args) {
    const auto s = args.optionalNumber("select");
    if (!s) return kSelectAll;
    if (!(*s >= 0 && *s <= 21) || *s != std::trunc(*s)) throw UsageError("--select: a body selection from 0 to 21");
    return static_cast<int>(*s);
}

std::string choice(const Args& args, const std::string& name, const std::string& fallback,
                   std::initializer_list<const char*> allowed) {
    const auto v = args.get(name);
    if (!v) return fallback;
    for (const char* a : allowed)
        if (*v == a) return *v;
    std::string list;
    for (const char* a : allowed) list += (list.empty() ? "" : "|") + std::string(a);
    throw UsageError("--" + name + ": one of " + list);
}

int positions(const Args& args) {
    args.allowOnly({"jd", "select", "node", "black-moon", "no-retro", "data"});
    const long double jd = args.number("jd");
    const int selection = selectionOf(args);

    ChartState chart;
    chart.NodeKind = choice(args, "node", chart.NodeKind, {"VERO", "MEDIO"});
    chart.BlackMoonKind = choice(args, "black-moon", chart.BlackMoonKind, {"VERA", "MEDIA"});
    const auto data = args.get("data");
    const CorrectionFiles files{DataRoot(data ? std::filesystem::path(*data) : DataRoot::defaultLocation())};

    if (args.flag("no-retro")) runDriver(chart, files, selection, false, jd);
    else positionsWithRetrograde(chart, files, selection, jd);

    Json j;
    j.beginObject().field("jd", jd).key("bodies").beginArray();
    for (int i = 1; i <= 19; ++i) {
        j.beginObject()
            .field("index", i)
            .field("longitude", chart.BodyLongitude[i])
            .field("latitude", chart.BodyLatitude[i])
            .field("rightAscension", chart.BodyRightAscension[i])
            .field("declination", chart.BodyDeclination[i])
            .endObject();
    }
    j.endArray().endObject();
    std::cout << j.str() << '\n';
    return 0;
}

const Register reg("positions",
                   Command{
                       "--jd JD [--select N] [--node VERO|MEDIO] [--black-moon VERA|MEDIA] [--no-retro] [--data DIR]",
                       {"no-retro"},
                       positions});

}  // namespace
}  // namespace athanor::cli
