#include "Records.h"

#include "Reference.h"

#include "engine/CorrectionFiles.h"
#include "engine/Positions.h"
#include "foundations/Binary.h"
#include "foundations/BinaryReals.h"
#include "foundations/DataRoot.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <exception>
#include <fstream>
#include <limits>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace athanor::corrections {

void Tally::merge(const Tally& other) {
    for (int f = 0; f < 18; ++f) {
        field[f].written += other.field[f].written;
        field[f].clamped += other.field[f].clamped;
        field[f].uncovered += other.field[f].uncovered;
        field[f].largest = std::max(field[f].largest, other.field[f].largest);
    }
}

long Tally::clamped() const {
    long n = 0;
    for (const auto& f : field) n += f.clamped;
    return n;
}

long Tally::uncovered() const {
    long n = 0;
    for (const auto& f : field) n += f.uncovered;
    return n;
}

namespace {

// Above this a lookup subtracts a full circle (21600 arc-seconds or arc-minutes), so no
// stored value may exceed it.
constexpr long kWrapLimit = 21600;

struct Range {
    long lo, hi;
};
constexpr Range kInt8{-128, 127};
constexpr Range kInt16{-32768, kWrapLimit};
constexpr Range kInt32{std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()};

// Difference of two longitudes in degrees, in [-180, 180).
long double angleDifference(long double reference, long double engine) {
    long double d = std::fmod(reference - engine, 360.0L);
    if (d >= 180.0L) d -= 360.0L;
    if (d < -180.0L) d += 360.0L;
    return d;
}

// Rounds to the nearest unit and keeps the result inside the field's range.
long store(long double value, bool covered, Range range, FieldTally& t) {
    ++t.written;
    if (!covered) {
        ++t.uncovered;
        return 0;
    }
    long double r = std::round(value);
    if (r < range.lo || r > range.hi) {
        ++t.clamped;
        r = std::clamp<long double>(r, range.lo, range.hi);
    }
    const long v = static_cast<long>(r);
    t.largest = std::max(t.largest, std::labs(v));
    return v;
}

// One thread's reference and engine: nothing here is shared between threads.
class Worker {
public:
    Worker(const EngineFolders& folders, const std::string& ephePath)
        : reference_(ephePath), bare_(DataRoot(folders.bare)), withMoon_(DataRoot(folders.withMoon)) {}

    void moon(long n, std::uint8_t* out, Tally& tally) {
        putI16(out, 0);
        if (n < MoonFile::kFirstUsed || n > MoonFile::kLastUsed) return;
        const long double jd = MoonFile::instant(n);
        const ChartState& c = engine(bare_, body::Moon, jd);
        const SkyPosition ref = reference_.at(body::Moon, static_cast<double>(jd));
        const long v = store(angleDifference(ref.longitude, c.BodyLongitude[body::Moon]) * 3600.0L, ref.covered, kInt16,
                             tally.field[0]);
        putI16(out, static_cast<std::int16_t>(v));
    }

    void fiveDay(long n, std::uint8_t* out, Tally& tally) {
        std::fill(out, out + FiveDayFile::kRecordSize, std::uint8_t{0});
        const long double jd = FiveDayFile::instant(n);
        encodeReal48(jd, out);
        const bool planets = n >= FiveDayFile::kFirstPlanets && n <= FiveDayFile::kLastPlanets;
        const bool node = n >= FiveDayFile::kFirstNode && n <= FiveDayFile::kLastNode;
        if (!planets && !node) return;

        const ChartState& c = engine(withMoon_, kSelectAll, jd);
        auto put = [&](int field, long double value, bool covered) {
            if (field == 8 || field == 17) {
                putI16(out + (field == 8 ? 14 : 24),
                       static_cast<std::int16_t>(store(value, covered, kInt16, tally.field[field])));
            } else {
                const int offset = field <= 7 ? 5 + field : 7 + field;
                putI8(out + offset, static_cast<std::int8_t>(store(value, covered, kInt8, tally.field[field])));
            }
        };
        if (planets) {
            for (int b = body::Mercury; b <= body::Pluto; ++b) {
                const SkyPosition ref = reference_.at(b, static_cast<double>(jd));
                put(b - 2, angleDifference(ref.longitude, c.BodyLongitude[b]) * 60.0L, ref.covered);
                put(b + 7, (ref.latitude - c.BodyLatitude[b]) * 60.0L, ref.covered);
            }
        }
        if (node) {
            const SkyPosition ref = reference_.at(body::Node, static_cast<double>(jd));
            put(9, angleDifference(ref.longitude, c.BodyLongitude[body::Node]) * 60.0L, ref.covered);
        }
    }

    void apogee(long n, std::uint8_t* out, Tally& tally) {
        putI32(out, 0);
        if (n < ApogeeFile::kFirstUsed || n > ApogeeFile::kLastUsed) return;
        const long double jd = ApogeeFile::instant(n);
        const ChartState& c = engine(bare_, body::BlackMoon, jd);
        const SkyPosition ref = reference_.at(body::BlackMoon, static_cast<double>(jd));
        const long v = store(angleDifference(ref.longitude, c.BodyLongitude[body::BlackMoon]) * 3600.0L, ref.covered,
                             kInt32, tally.field[0]);
        putI32(out, static_cast<std::int32_t>(v));
    }

private:
    // The driver's plain evaluation (not the speed pass) with the true node and the mean
    // apogee: with zero files in the way, the engine's own values.
    const ChartState& engine(const CorrectionFiles& files, int selection, long double jd) {
        chart_.NodeKind = "VERO";
        chart_.BlackMoonKind = "MEDIA";
        runDriver(chart_, files, selection, false, jd);
        return chart_;
    }

    Reference reference_;
    CorrectionFiles bare_;
    CorrectionFiles withMoon_;
    ChartState chart_;
};

using RecordFn = void (Worker::*)(long, std::uint8_t*, Tally&);

// Records first..last, shared out in blocks among the threads; each record depends on its
// own instant only, so the bytes do not depend on the number of threads.
std::string generate(const EngineFolders& folders, long first, long last, int recordSize, RecordFn fn,
                     const Options& options, Tally& tally) {
    if (first < 0 || last < first) throw std::invalid_argument("empty or negative record range");
    const long count = last - first + 1;
    std::string bytes(static_cast<std::size_t>(count) * recordSize, '\0');
    auto* base = reinterpret_cast<std::uint8_t*>(bytes.data());

    constexpr long kBlock = 256;
    std::atomic<long> next{0}, done{0};
    std::mutex mutex;
    std::exception_ptr failure;

    auto run = [&] {
        try {
            Worker worker(folders, options.ephePath.empty() ? kDefaultEphePath : options.ephePath);
            Tally local;
            for (;;) {
                const long start = next.fetch_add(kBlock);
                if (start >= count) break;
                const long end = std::min(count, start + kBlock);
                for (long i = start; i < end; ++i) (worker.*fn)(first + i, base + i * recordSize, local);
                done += end - start;
            }
            std::lock_guard lock(mutex);
            tally.merge(local);
        } catch (...) {
            std::lock_guard lock(mutex);
            if (!failure) failure = std::current_exception();
            next = count;  // the others stop at their next block
        }
    };

    const int threads = std::max(1, options.threads);
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t) pool.emplace_back(run);
    if (options.progress) {
        while (done.load() < count) {
            {
                std::lock_guard lock(mutex);
                if (failure) break;
            }
            options.progress(done.load(), count);
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
        }
    }
    for (auto& t : pool) t.join();
    if (failure) std::rethrow_exception(failure);
    if (options.progress) options.progress(count, count);
    return bytes;
}

}  // namespace

void writeZeroFiles(const std::filesystem::path& root) {
    const auto dir = root / "FilePosi";
    std::filesystem::create_directories(dir);
    auto zeros = [&](const char* name, long records, int size) {
        std::ofstream(dir / name, std::ios::binary | std::ios::trunc).close();
        std::filesystem::resize_file(dir / name, static_cast<std::uintmax_t>(records) * size);
    };
    zeros(MoonFile::kName, MoonFile::kRecords, MoonFile::kRecordSize);
    zeros(ApogeeFile::kName, ApogeeFile::kRecords, ApogeeFile::kRecordSize);
    std::ofstream(dir / FiveDayFile::kName, std::ios::binary | std::ios::trunc) << zeroFiveDayFile();
}

std::string zeroFiveDayFile() {
    // The engine refuses a record whose date is not where it stands.
    std::string five(static_cast<std::size_t>(FiveDayFile::kRecords) * FiveDayFile::kRecordSize, '\0');
    for (long n = 0; n < FiveDayFile::kRecords; ++n)
        encodeReal48(FiveDayFile::instant(n), reinterpret_cast<std::uint8_t*>(five.data()) +
                                                  static_cast<std::size_t>(n) * FiveDayFile::kRecordSize);
    return five;
}

std::string moonRecords(const EngineFolders& folders, long first, long last, const Options& options, Tally& tally) {
    return generate(folders, first, last, MoonFile::kRecordSize, &Worker::moon, options, tally);
}

std::string fiveDayRecords(const EngineFolders& folders, long first, long last, const Options& options, Tally& tally) {
    return generate(folders, first, last, FiveDayFile::kRecordSize, &Worker::fiveDay, options, tally);
}

std::string apogeeRecords(const EngineFolders& folders, long first, long last, const Options& options, Tally& tally) {
    return generate(folders, first, last, ApogeeFile::kRecordSize, &Worker::apogee, options, tally);
}

}  // namespace athanor::corrections
