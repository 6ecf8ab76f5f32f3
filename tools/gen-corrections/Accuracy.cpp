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

constexpr int kCenturies = 21;          // years 1 to 2099
constexpr int kFirstPlanetCentury = 10;  // the planets from 1000 on
constexpr long double kApogeeFirst = 2396758.5L, kApogeeEnd = 2488433.5L;

struct Stat {
    double max = 0, sumsq = 0;
    long n = 0;
    void add(long double arcmin) {
        const double a = std::fabs(static_cast<double>(arcmin));
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

// Deviations of one body: longitude and latitude, with and without the corrections.
struct BodyStats {
    Stat lonWith, lonWithout, latWith, latWithout;
};

// Bodies in the report: the Moon, Mercury to Pluto, the true node, the corrected apogee.
constexpr int kReported[] = {body::Moon,   body::Mercury, body::Venus,   body::Mars,
                             body::Jupiter, body::Saturn, body::Uranus, body::Neptune,
                             body::Pluto,  body::Node,    body::BlackMoon};

struct Century {
    BodyStats body[kBodySlots];
};

long double yearStart(int year) {
    return julianDayFromCivil(year >= 1583 ? 1 : 0, 0, 0, year, 1, 1).jd;
}

int firstYear(int century) { return std::max(1, century * 100); }

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

long double arcminutes(long double degrees) { return degrees * 60.0L; }

long double lonDifference(long double engine, double reference) {
    long double d = std::fmod(std::fabs(engine) - static_cast<long double>(reference), 360.0L);
    if (d >= 180.0L) d -= 360.0L;
    if (d < -180.0L) d += 360.0L;
    return d;
}

void measureCentury(int century, const AccuracyOptions& options, const CorrectionFiles& corrected,
                    const CorrectionFiles& bare, const Reference& reference, Century& out) {
    const long double from = yearStart(firstYear(century)), to = yearStart(century * 100 + 100);
    Sequence seq{0x5EEDull + static_cast<std::uint64_t>(century)};
    ChartState with, without;
    for (ChartState* c : {&with, &without}) {
        c->NodeKind = "VERO";
        c->BlackMoonKind = "VERA";
    }
    const bool planets = century >= kFirstPlanetCentury;
    for (int k = 0; k < options.samples; ++k) {
        // One instant in each equal slice of the century, anywhere in its slice.
        const long double jd = from + (to - from) * (k + static_cast<long double>(seq.next())) / options.samples;
        runDriver(with, corrected, kSelectAll, false, jd);
        runDriver(without, bare, kSelectAll, false, jd);
        for (int b : kReported) {
            const bool planet = b >= body::Mercury && b <= body::Pluto;
            if (planet && !planets) continue;
            if (b == body::BlackMoon && !(jd >= kApogeeFirst && jd < kApogeeEnd)) continue;
            const SkyPosition ref = reference.at(b, static_cast<double>(jd));
            if (!ref.covered) continue;
            BodyStats& s = out.body[b];
            s.lonWith.add(arcminutes(lonDifference(with.BodyLongitude[b], ref.longitude)));
            s.lonWithout.add(arcminutes(lonDifference(without.BodyLongitude[b], ref.longitude)));
            if (planet) {
                s.latWith.add(arcminutes(with.BodyLatitude[b] - ref.latitude));
                s.latWithout.add(arcminutes(without.BodyLatitude[b] - ref.latitude));
            }
        }
    }
}

const char* bodyName(int b) {
    switch (b) {
        case body::Moon: return "Moon";
        case body::Mercury: return "Mercury";
        case body::Venus: return "Venus";
        case body::Mars: return "Mars";
        case body::Jupiter: return "Jupiter";
        case body::Saturn: return "Saturn";
        case body::Uranus: return "Uranus";
        case body::Neptune: return "Neptune";
        case body::Pluto: return "Pluto";
        case body::Node: return "True node";
        case body::BlackMoon: return "Corrected Black Moon (osculating apogee)";
        default: return "?";
    }
}

std::string number(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, v < 10 ? "%.3f" : v < 100 ? "%.2f" : "%.1f", v);
    return buf;
}

std::string yearsLabel(int century, int b) {
    const int first = b == body::BlackMoon && century == 18 ? 1850 : firstYear(century);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d-%d", first, century * 100 + 99);
    return buf;
}

}  // namespace

std::string accuracyReport(const std::filesystem::path& corrected, const std::filesystem::path& bare,
                           const AccuracyOptions& options) {
    std::vector<Century> centuries(kCenturies);
    std::atomic<int> next{0};
    std::atomic<long> done{0};
    std::mutex mutex;
    std::exception_ptr failure;
    auto run = [&] {
        try {
            const Reference reference(options.ephePath.empty() ? kDefaultEphePath : options.ephePath);
            const CorrectionFiles withFiles{DataRoot(corrected)}, bareFiles{DataRoot(bare)};
            for (int c; (c = next.fetch_add(1)) < kCenturies;) {
                measureCentury(c, options, withFiles, bareFiles, reference, centuries[c]);
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
    md << "Arc-minutes; " << options.samples
       << " instants in each century, spread over the days and the hours; \"without\" runs the engine on "
          "all-zero correction files, \"with\" on the files of `data/FilePosi`.\n";
    for (int b : kReported) {
        const bool planet = b >= body::Mercury && b <= body::Pluto;
        md << "\n**" << bodyName(b) << "**\n\n";
        if (planet) {
            md << "| years | longitude without, max | RMS | longitude with, max | RMS | latitude without, max | RMS | "
                  "latitude with, max | RMS |\n|---|---:|---:|---:|---:|---:|---:|---:|---:|\n";
        } else {
            md << "| years | without, max | RMS | with, max | RMS |\n|---|---:|---:|---:|---:|\n";
        }
        for (int c = 0; c < kCenturies; ++c) {
            const BodyStats& s = centuries[c].body[b];
            if (s.lonWith.n == 0) continue;
            md << "| " << yearsLabel(c, b) << " | " << number(s.lonWithout.max) << " | " << number(s.lonWithout.rms())
               << " | " << number(s.lonWith.max) << " | " << number(s.lonWith.rms());
            if (planet)
                md << " | " << number(s.latWithout.max) << " | " << number(s.latWithout.rms()) << " | "
                   << number(s.latWith.max) << " | " << number(s.latWith.rms());
            md << " |\n";
        }
    }
    return md.str();
}

}  // namespace athanor::corrections
