#include "Accuracy.h"

#include "Reference.h"

#include "engine/CorrectionFiles.h"
#include "engine/Positions.h"
#include "engine/Time.h"
#include "foundations/DataRoot.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <exception>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

namespace athanor::corrections {

namespace {

constexpr int kCenturies = 21;  // years 1 to 2099, and 2100 with the last
constexpr long double kApogeeFirst = 2396758.5L, kApogeeEnd = 2488433.5L;
constexpr long double kMinorFirst = 2396758.5L, kMinorEnd = 2481130.5L;  // 1850 to 2080
constexpr int kConfigs = 3;                                              // bare theories, three files, supplement

struct Stat {
    double max = 0, sumsq = 0;
    long n = 0;
    void add(long double arcsec) {
        const double a = std::fabs(static_cast<double>(arcsec));
        max = std::max(max, a);
        sumsq += a * a;
        ++n;
    }
    void merge(const Stat& o) {
        max = std::max(max, o.max);
        sumsq += o.sumsq;
        n += o.n;
    }
    double rms() const { return n ? std::sqrt(sumsq / static_cast<double>(n)) : 0; }
};

struct BodyStats {
    Stat lon[kConfigs], lat[kConfigs];
    void merge(const BodyStats& o) {
        for (int c = 0; c < kConfigs; ++c) {
            lon[c].merge(o.lon[c]);
            lat[c].merge(o.lat[c]);
        }
    }
};

struct Reported {
    int body;
    const char* name;
    bool latitude;
};
constexpr Reported kReported[] = {
    {body::Sun, "Sun", true},
    {body::Moon, "Moon", false},
    {body::Mercury, "Mercury", true},
    {body::Venus, "Venus", true},
    {body::Mars, "Mars", true},
    {body::Jupiter, "Jupiter", true},
    {body::Saturn, "Saturn", true},
    {body::Uranus, "Uranus", true},
    {body::Neptune, "Neptune", true},
    {body::Pluto, "Pluto", true},
    {body::Ceres, "Ceres", true},
    {body::Pallas, "Pallas", true},
    {body::Juno, "Juno", true},
    {body::Vesta, "Vesta", true},
    {body::Chiron, "Chiron", true},
    {body::Node, "True node", false},
    {body::BlackMoon, "Corrected Black Moon (osculating apogee)", false},
};

struct Century {
    BodyStats body[kBodySlots];
    long double from = 0, to = 0;  // the instants measured
};

long double yearStart(int year) { return julianDayFromCivil(year >= 1583 ? 1 : 0, 0, 0, year, 1, 1).jd; }

int firstYear(int century) { return std::max(1, century * 100); }
int lastYear(int century) { return century == kCenturies - 1 ? 2100 : century * 100 + 99; }

// Reproducible pseudo-random numbers in [0, 1) (splitmix64).
struct Sequence {
    std::uint64_t state;
    double next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        return static_cast<double>(z >> 11) * 0x1.0p-53;
    }
};

long double lonDifference(long double engine, double reference) {
    long double d = std::fmod(std::fabs(engine) - static_cast<long double>(reference), 360.0L);
    if (d >= 180.0L) d -= 360.0L;
    if (d < -180.0L) d += 360.0L;
    return d;
}

bool minor(int b) { return b >= body::Ceres && b <= body::Chiron; }

void measureCentury(int century, const AccuracyOptions& options, const CorrectionFiles* files[kConfigs],
                    const Reference& reference, Century& out) {
    const long double from = yearStart(firstYear(century)), to = yearStart(lastYear(century) + 1);
    out.from = from;
    out.to = to;
    Sequence seq{0x5EEDull + static_cast<std::uint64_t>(century)};
    ChartState chart[kConfigs];
    for (ChartState& c : chart) {
        c.NodeKind = "VERO";
        c.BlackMoonKind = "VERA";
    }
    for (int k = 0; k < options.samples; ++k) {
        // One instant in each equal slice of the century, anywhere in its slice; the
        // engine as every caller runs it, with its retrograde marks.
        const long double jd = from + (to - from) * (k + static_cast<long double>(seq.next())) / options.samples;
        for (int c = 0; c < kConfigs; ++c) positionsWithRetrograde(chart[c], *files[c], kSelectAll, jd);
        for (const Reported& r : kReported) {
            const int b = r.body;
            if (b == body::BlackMoon && !(jd >= kApogeeFirst && jd < kApogeeEnd)) continue;
            if (minor(b) && !(jd >= kMinorFirst && jd < kMinorEnd)) continue;
            const SkyPosition ref = reference.at(b, static_cast<double>(jd));
            if (!ref.covered) continue;
            BodyStats& s = out.body[b];
            for (int c = 0; c < kConfigs; ++c) {
                s.lon[c].add(lonDifference(chart[c].BodyLongitude[b], ref.longitude) * 3600.0L);
                if (r.latitude) s.lat[c].add((chart[c].BodyLatitude[b] - ref.latitude) * 3600.0L);
            }
        }
    }
}

std::string number(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, v < 10 ? "%.2f" : v < 1000 ? "%.1f" : "%.0f", v);
    return buf;
}

std::string yearsLabel(int first, int last) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d-%d", first, last);
    return buf;
}

void row(std::ostringstream& md, const std::string& years, const BodyStats& s, bool latitude) {
    md << "| " << years;
    for (int c = 0; c < kConfigs; ++c) md << " | " << number(s.lon[c].max);
    md << " | " << number(s.lon[kConfigs - 1].rms());
    if (latitude) {
        for (int c = 0; c < kConfigs; ++c) md << " | " << number(s.lat[c].max);
        md << " | " << number(s.lat[kConfigs - 1].rms());
    }
    md << " |\n";
}

}  // namespace

std::string accuracyReport(const AccuracyFolders& folders, const AccuracyOptions& options) {
    std::vector<Century> centuries(kCenturies);
    std::atomic<int> next{0};
    std::atomic<long> done{0};
    std::mutex mutex;
    std::exception_ptr failure;
    auto run = [&] {
        try {
            const Reference reference(options.ephePath.empty() ? kDefaultEphePath : options.ephePath);
            const CorrectionFiles bare{DataRoot(folders.bare)}, files{DataRoot(folders.files)},
                supplement{DataRoot(folders.supplement)};
            const CorrectionFiles* configs[kConfigs] = {&bare, &files, &supplement};
            for (int c; (c = next.fetch_add(1)) < kCenturies;) {
                measureCentury(c, options, configs, reference, centuries[c]);
                ++done;
            }
        } catch (...) {
            std::lock_guard lock(mutex);
            if (!failure) failure = std::current_exception();
            next = kCenturies;
        }
    };
    std::vector<std::thread> pool;
    for (int t = 0; t < std::max(1, options.threads); ++t) pool.emplace_back(run);
    if (options.progress)
        while (done.load() < kCenturies) {
            options.progress(done.load(), kCenturies);
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            std::lock_guard lock(mutex);
            if (failure) break;
        }
    for (auto& t : pool) t.join();
    if (failure) std::rethrow_exception(failure);

    std::ostringstream md;
    md << "Arc-seconds; " << options.samples
       << " instants in each century, spread over the days and the hours, each computed as every caller computes a "
          "chart (the retrograde wrapper); \"theory\" runs the engine on all-zero correction files, \"files\" on the "
          "three files of `data/FilePosi`, \"supplement\" on those and `DSUP.rnd`. RMS is that of the supplement "
          "column.\n";

    // Eras of the goals: the charts of living people, the centuries since the telescope, and before.
    struct Era {
        const char* label;
        int firstCentury, lastCentury;
    };
    const Era eras[] = {{"1900-2100", 19, 20}, {"1600-1899", 16, 18}, {"1-1599", 0, 15}};
    md << "\n**By era, maxima**\n\n| body | era | longitude, theory | files | supplement | latitude, theory | files | "
          "supplement |\n|---|---|---:|---:|---:|---:|---:|---:|\n";
    for (const Reported& r : kReported) {
        for (const Era& e : eras) {
            BodyStats s;
            for (int c = e.firstCentury; c <= e.lastCentury; ++c) s.merge(centuries[c].body[r.body]);
            if (s.lon[0].n == 0) continue;
            std::string label = e.label;
            if (minor(r.body) && e.firstCentury == 19) label = "1900-2080";
            if ((minor(r.body) || r.body == body::BlackMoon) && e.firstCentury == 16) label = "1850-1899";
            md << "| " << r.name << " | " << label;
            for (int c = 0; c < kConfigs; ++c) md << " | " << number(s.lon[c].max);
            for (int c = 0; c < kConfigs; ++c) md << " | " << (r.latitude ? number(s.lat[c].max) : std::string("-"));
            md << " |\n";
        }
    }

    for (const Reported& r : kReported) {
        md << "\n**" << r.name << "**\n\n";
        if (r.latitude) {
            md << "| years | longitude, theory | files | supplement | RMS | latitude, theory | files | supplement | RMS "
                  "|\n|---|---:|---:|---:|---:|---:|---:|---:|---:|\n";
        } else {
            md << "| years | theory | files | supplement | RMS |\n|---|---:|---:|---:|---:|\n";
        }
        for (int c = 0; c < kCenturies; ++c) {
            const BodyStats& s = centuries[c].body[r.body];
            if (s.lon[0].n == 0) continue;
            int first = firstYear(c), last = lastYear(c);
            if ((r.body == body::BlackMoon || minor(r.body)) && c == 18) first = 1850;
            if (minor(r.body) && c == 20) last = 2080;
            row(md, yearsLabel(first, last), s, r.latitude);
        }
    }
    return md.str();
}

}  // namespace athanor::corrections
