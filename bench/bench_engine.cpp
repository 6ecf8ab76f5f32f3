// One full chart: every body twice for the retrograde marks, correction files included
// (full-size zero files in a temporary folder, with and without the installed precision
// supplement), and one house computation; against the Swiss Ephemeris computing the same
// bodies with speeds and the same houses.
#include "../tests/engine/CorrectionFixtures.h"
#include "engine/Houses.h"
#include "engine/Positions.h"
#include "foundations/DataRoot.h"

#include <benchmark/benchmark.h>

#if ATHANOR_HAVE_SWE
#include <swephexp.h>
#endif

#include <filesystem>
#include <random>

namespace {

using namespace athanor;

// Full-size zero files, with or without the installed precision supplement.
struct Folder {
    std::filesystem::path path;
    explicit Folder(bool supplement) {
        std::random_device rd;
        path = std::filesystem::temp_directory_path() / ("athanor-bench-" + std::to_string(rd()));
        test::writeZeroCorrectionFiles(path);
        if (supplement)
            std::filesystem::copy_file(DataRoot::installedDefaults() / "FilePosi" / "DSUP.rnd",
                                       path / "FilePosi" / "DSUP.rnd");
    }
    ~Folder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

const Folder& folder(bool supplement) {
    static Folder without(false), with(true);
    return supplement ? with : without;
}

// Successive charts a little apart, so that nothing can be reused from the last one.
long double instant(long double base, std::int64_t i) { return base + static_cast<long double>(i % 4096) * 0.37L; }

void engineChart(benchmark::State& state, long double base, bool supplement) {
    const CorrectionFiles files{DataRoot(folder(supplement).path)};
    ChartState chart;
    chart.NodeKind = "VERO";
    chart.BlackMoonKind = "VERA";
    chart.HouseSystem = "PLACIDO";
    HouseInput in;
    in.longitudeDegrees = 9;
    in.longitudeMinutes = 11;
    in.latitudeDegrees = 45;
    in.latitudeMinutes = 28;
    in.hour = 14;
    in.minute = 30;
    in.offset2 = -1;
    std::int64_t i = 0;
    for (auto _ : state) {
        const long double jd = instant(base, i++);
        in.jd = jd;
        computeHouses(chart, in);
        positionsWithRetrograde(chart, files, kSelectAll, jd);
        benchmark::DoNotOptimize(chart.BodyLongitude.data());
    }
}

// After 1900: the Moon, true node and corrected Black Moon read their files.
void BM_EngineChart2000(benchmark::State& state) { engineChart(state, 2451545.1L, false); }
// Before 1900 every planet reads the five-day file as well.
void BM_EngineChart1860(benchmark::State& state) { engineChart(state, 2400000.1L, false); }
// The same with the precision supplement: every body but the Moon and the Black Moon reads
// it, in both evaluations, and the planets and minor bodies are deflected by the Sun.
void BM_EngineChart2000Supplement(benchmark::State& state) { engineChart(state, 2451545.1L, true); }
void BM_EngineChart1860Supplement(benchmark::State& state) { engineChart(state, 2400000.1L, true); }
BENCHMARK(BM_EngineChart2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EngineChart2000Supplement)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EngineChart1860)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EngineChart1860Supplement)->Unit(benchmark::kMicrosecond);

#if ATHANOR_HAVE_SWE
void sweChart(benchmark::State& state, double base) {
    swe_set_ephe_path(const_cast<char*>("/usr/share/libswe/ephe"));
    const int bodies[] = {SE_SUN,    SE_MOON,   SE_MERCURY, SE_VENUS, SE_MARS,      SE_JUPITER,
                          SE_SATURN, SE_URANUS, SE_NEPTUNE, SE_PLUTO, SE_TRUE_NODE, SE_OSCU_APOG,
                          SE_CERES,  SE_PALLAS, SE_JUNO,    SE_VESTA, SE_CHIRON};
    double x[6], cusps[13], ascmc[10];
    char err[256];
    std::int64_t i = 0;
    for (auto _ : state) {
        const double jd = static_cast<double>(instant(base, i++));
        for (int b : bodies) swe_calc_ut(jd, b, SEFLG_SWIEPH | SEFLG_SPEED, x, err);
        swe_houses_ex(jd, 0, 45 + 28 / 60.0, 9 + 11 / 60.0, 'P', cusps, ascmc);
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(cusps);
    }
}
void BM_SwissEphemerisChart2000(benchmark::State& state) { sweChart(state, 2451545.1); }
void BM_SwissEphemerisChart1860(benchmark::State& state) { sweChart(state, 2400000.1); }
BENCHMARK(BM_SwissEphemerisChart2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SwissEphemerisChart1860)->Unit(benchmark::kMicrosecond);
#endif

}  // namespace

BENCHMARK_MAIN();
