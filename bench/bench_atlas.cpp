// The atlas as the entry window uses it: the search of the foreign list (125 000 places)
// and of the Italian one for a typed name, and one whole time-zone look-up (index, table, scan,
// texts) for London and Rome, over the years 1900-2030. Reads the installed data (data/Localita,
// data/Calendar).
#include "subjects/Localities.h"
#include "subjects/TimeZones.h"

#include <benchmark/benchmark.h>

#include <array>

namespace {

using namespace athanor;

const DataRoot& data() {
    static const DataRoot root{ATHANOR_DEFAULT_DATA};
    return root;
}

const std::array<const char*, 8> kForeignNames = {"London",  "Buenos Aires", "M\xFCnster", "Zaragoza",
                                                  "Almhult", "Tokyo",        "Caracas",    "Nice"};
const std::array<const char*, 8> kItalianNames = {"ROMA",        "MILANO", "CANTU'",      "ZUMPANO",
                                                  "ABANO TERME", "NAPOLI", "SAN MARTINO", "TORINO"};

void BM_SearchForeignList(benchmark::State& state) {
    const LocalityList list(data(), LocalityListKind::Foreign);
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(list.bisect(kForeignNames[i++ % kForeignNames.size()]));
}
BENCHMARK(BM_SearchForeignList);

void BM_SearchItalianList(benchmark::State& state) {
    const LocalityList list(data(), LocalityListKind::Italian);
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(list.bisect(kItalianNames[i++ % kItalianNames.size()]));
}
BENCHMARK(BM_SearchItalianList);

void lookUp(benchmark::State& state, LocalityListKind kind, const char* name, const char* country) {
    const LocalityList list(data(), kind);
    LocalityRecord place;
    for (std::int64_t k : list.exactMatches(name, 20))
        if (list.record(k).country == country) place = list.record(k);
    int year = 1900;
    for (auto _ : state) {
        const ZoneLookup z = lookUpZone(data(), place, kind, LocalDateTime{21, 3, year, 14, 30}, 1);
        benchmark::DoNotOptimize(z.correction);
        year = year == 2030 ? 1900 : year + 1;  // scans of every length
    }
}

void BM_LookUpForeign(benchmark::State& state) { lookUp(state, LocalityListKind::Foreign, "London", "REINO UNIDO"); }
BENCHMARK(BM_LookUpForeign);

void BM_LookUpItalian(benchmark::State& state) { lookUp(state, LocalityListKind::Italian, "ROMA", "ITALIA"); }
BENCHMARK(BM_LookUpItalian);

}  // namespace

BENCHMARK_MAIN();
