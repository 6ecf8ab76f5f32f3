#include "Supplement.h"

#include "Reference.h"

#include "engine/CorrectionFiles.h"
#include "engine/Positions.h"
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

namespace athanor::corrections {

namespace {

using supplement::Latitude;
using supplement::Longitude;
using supplement::Piece;

// Julian days (UT) where the engine or its files change.
constexpr double kYear1 = 1721423.5;          // 1 January of year 1, 0h: the planets' five-day corrections start
constexpr double kEnd = 2488434.5;            // 1 January 2101, 0h
constexpr double kFiveDayGrid = 1721409.0;    // the five-day records start here and every five days after
constexpr double kOlderElements = 2341970.0;  // Jupiter to Pluto: older elements before
constexpr double kPerturbed = 2415020.0;      // Jupiter to Pluto: perturbations from here...
constexpr double kFiveDayEnd = 2415020.5;     // the planets' five-day corrections stop before
constexpr double kPerturbedLast = 2488070.0;  // ...to here, included
constexpr double kNodeFiveDay = 1721433.5;    // the node's five-day corrections start after
constexpr double kMinorFrom = 2396757.5;      // 31 December 1849: the minor bodies, with a day to spare
constexpr double kMinorTo = 2481131.5;        // 2 January 2081

// Degrees of the five-day cells before 1900, longitude and latitude, Mercury to Pluto, by
// measurement (docs/accuracy.md): the interpolation stays within 0.3" from the year 1000
// and 0.9" at year 1 (Mercury), well inside the goals, at 8 of the file's 12 MB.
constexpr int kFiveDayDegree[8][2] = {{3, 2}, {3, 2}, {2, 2}, {2, 1}, {2, 1}, {2, 1}, {2, 1}, {2, 1}};

Piece piece(int body, int coordinate, double from, double to, double origin, double cell, int degree,
            bool includesTo = false) {
    Piece p;
    p.body = body;
    p.coordinate = coordinate;
    p.from = from;
    p.to = to;
    p.origin = origin;
    p.cellLength = cell;
    p.degree = degree;
    p.includesTo = includesTo;
    return p;
}

// Longitude difference in degrees, in [-180, 180).
long double angleDifference(long double reference, long double engine) {
    long double d = std::fmod(reference - engine, 360.0L);
    if (d >= 180.0L) d -= 360.0L;
    if (d < -180.0L) d += 360.0L;
    return d;
}

void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

// Whether the first instant of piece i belongs to the piece before it.
bool startsExcluded(const std::vector<Piece>& plan, std::size_t i, const Piece& p) {
    if (i == 0) return false;
    const Piece& before = plan[i - 1];
    return before.body == p.body && before.coordinate == p.coordinate && before.includesTo && before.to == p.from;
}

// An instant on an open end of a piece is computed just inside it, where the engine is on
// the piece's side of a change of theory or of files.
constexpr long double kInside = 1.0e-7L;

class Worker {
public:
    Worker(const std::filesystem::path& folder, const std::string& ephePath)
        : reference_(ephePath), files_(DataRoot(folder)) {}

    long double residual(const Piece& p, long double t, bool& covered) {
        double unused;
        if (files_.supplement() &&
            files_.supplement()->lookup(p.body, static_cast<supplement::Coordinate>(p.coordinate), t, unused))
            throw std::logic_error("the engine's folder already corrects what is being measured");
        chart_.NodeKind = "VERO";
        chart_.BlackMoonKind = "MEDIA";
        runDriver(chart_, files_, p.body, false, t);
        const SkyPosition ref = reference_.at(p.body, static_cast<double>(t), false);
        covered = ref.covered;
        if (!covered) return 0;
        if (p.coordinate == Longitude) return angleDifference(ref.longitude, chart_.BodyLongitude[p.body]) * 3600.0L;
        return (static_cast<long double>(ref.latitude) - chart_.BodyLatitude[p.body]) * 3600.0L;
    }

private:
    Reference reference_;
    CorrectionFiles files_;
    ChartState chart_;
};

struct Job {
    const Piece* piece;
    bool fromExcluded;
    long first, last;               // values of the piece
    std::vector<long double>* out;  // indexed from `first`
    PieceTally* tally;
};

// Runs the jobs on the threads, in blocks; each value depends on its own instant only, so
// the result does not depend on the number of threads.
void run(const std::filesystem::path& folder, std::vector<Job>& jobs, const Options& options) {
    struct Block {
        std::size_t job;
        long first, last;
    };
    constexpr long kBlock = 512;
    std::vector<Block> blocks;
    long total = 0;
    for (std::size_t j = 0; j < jobs.size(); ++j) {
        for (long n = jobs[j].first; n <= jobs[j].last; n += kBlock)
            blocks.push_back({j, n, std::min(jobs[j].last, n + kBlock - 1)});
        total += jobs[j].last - jobs[j].first + 1;
    }
    std::atomic<std::size_t> next{0};
    std::atomic<long> done{0};
    std::mutex mutex;
    std::exception_ptr failure;
    auto work = [&] {
        try {
            Worker worker(folder, options.ephePath.empty() ? kDefaultEphePath : options.ephePath);
            for (std::size_t b; (b = next.fetch_add(1)) < blocks.size();) {
                const Block& blk = blocks[b];
                Job& job = jobs[blk.job];
                const supplement::Grid grid = job.piece->grid();
                PieceTally local;
                for (long n = blk.first; n <= blk.last; ++n) {
                    long double t = grid.instant(n);
                    if (n == grid.valueCount() - 1 && !job.piece->includesTo) t -= kInside;
                    if (n == 0 && job.fromExcluded) t += kInside;
                    bool covered = false;
                    const long double r = worker.residual(*job.piece, t, covered);
                    (*job.out)[static_cast<std::size_t>(n - job.first)] = r;
                    ++local.values;
                    if (!covered) ++local.uncovered;
                    local.largest = std::max(local.largest, static_cast<double>(std::fabs(r)));
                }
                done += blk.last - blk.first + 1;
                std::lock_guard lock(mutex);
                job.tally->values += local.values;
                job.tally->uncovered += local.uncovered;
                job.tally->largest = std::max(job.tally->largest, local.largest);
            }
        } catch (...) {
            std::lock_guard lock(mutex);
            if (!failure) failure = std::current_exception();
            next = blocks.size();
        }
    };
    std::vector<std::thread> pool;
    for (int t = 0; t < std::max(1, options.threads); ++t) pool.emplace_back(work);
    if (options.progress)
        while (done.load() < total) {
            {
                std::lock_guard lock(mutex);
                if (failure) break;
            }
            options.progress(done.load(), total);
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
        }
    for (auto& t : pool) t.join();
    if (failure) std::rethrow_exception(failure);
    if (options.progress) options.progress(total, total);
}

}  // namespace

std::vector<Piece> supplementPlan() {
    std::vector<Piece> plan;
    for (int c : {Longitude, Latitude}) plan.push_back(piece(body::Sun, c, kYear1, kEnd, kYear1, 10, 3));

    for (int b = body::Mercury; b <= body::Pluto; ++b) {
        for (int c : {Longitude, Latitude}) {
            const int degree = kFiveDayDegree[b - body::Mercury][c];
            if (b <= body::Mars) {
                plan.push_back(piece(b, c, kYear1, kFiveDayEnd, kFiveDayGrid, 5, degree));
                plan.push_back(piece(b, c, kFiveDayEnd, kEnd, kFiveDayEnd, 10, 5));
                continue;
            }
            const double cell = c == Longitude ? 10 : 20;
            plan.push_back(piece(b, c, kYear1, kOlderElements, kFiveDayGrid, 5, degree));
            plan.push_back(piece(b, c, kOlderElements, kPerturbed, kFiveDayGrid, 5, degree));
            plan.push_back(piece(b, c, kPerturbed, kFiveDayEnd, kPerturbed, 0.5, 2));
            plan.push_back(piece(b, c, kFiveDayEnd, kPerturbedLast, kFiveDayEnd, cell, 3, true));
            plan.push_back(piece(b, c, kPerturbedLast, kEnd, kFiveDayEnd, cell, 3));
        }
    }

    plan.push_back(piece(body::Node, Longitude, kYear1, kNodeFiveDay, kFiveDayGrid, 5, 5, true));
    plan.push_back(piece(body::Node, Longitude, kNodeFiveDay, kEnd, kFiveDayGrid, 5, 5));

    for (int b = body::Ceres; b <= body::Chiron; ++b)
        for (int c : {Longitude, Latitude}) plan.push_back(piece(b, c, kMinorFrom, kMinorTo, kMinorFrom, 20, 5));
    return plan;
}

std::vector<long double> supplementResiduals(const std::filesystem::path& folder, const Piece& p, long first, long last,
                                             const Options& options, PieceTally& tally) {
    const std::vector<Piece> plan = supplementPlan();
    bool excluded = false;
    for (std::size_t i = 0; i < plan.size(); ++i)
        if (plan[i].body == p.body && plan[i].coordinate == p.coordinate && plan[i].from == p.from)
            excluded = startsExcluded(plan, i, plan[i]);
    if (first < 0 || last < first || last >= p.grid().valueCount())
        throw std::invalid_argument("values outside the piece");
    std::vector<long double> out(static_cast<std::size_t>(last - first + 1));
    std::vector<Job> jobs{{&p, excluded, first, last, &out, &tally}};
    run(folder, jobs, options);
    return out;
}

std::vector<std::int32_t> quantize(const std::vector<long double>& residuals, std::uint32_t unit) {
    std::vector<std::int32_t> out;
    out.reserve(residuals.size());
    const long double perUnit = 1.0e6L / static_cast<long double>(unit);
    for (long double r : residuals) out.push_back(static_cast<std::int32_t>(std::llround(r * perUnit)));
    return out;
}

void chooseUnit(Piece& p, const std::vector<long double>& residuals) {
    long double largest = 0;
    for (long double r : residuals) largest = std::max(largest, std::fabs(r));
    // 0.01" to 0.1", in micro-arcseconds: rounding stays within 0.05"
    for (std::uint32_t unit : {10000u, 20000u, 50000u, 100000u}) {
        if (std::llround(largest * 1.0e6L / static_cast<long double>(unit)) <=
            std::numeric_limits<std::int16_t>::max()) {
            p.unit = unit;
            p.width = 2;
            return;
        }
    }
    if (largest * 100.0L > static_cast<long double>(std::numeric_limits<std::int32_t>::max()))
        throw std::runtime_error("supplement residual beyond any field");
    p.unit = 10000;
    p.width = 4;
}

std::vector<Piece> sunPieces(const std::vector<Piece>& pieces) {
    std::vector<Piece> sun;
    for (const Piece& p : pieces)
        if (p.body == body::Sun) sun.push_back(p);
    return sun;
}

std::string supplementFile(const std::filesystem::path& folder, const std::filesystem::path& scratch,
                           const Options& options, std::vector<PieceTally>& tallies, std::vector<Piece>& pieces) {
    pieces = supplementPlan();
    tallies.assign(pieces.size(), PieceTally{});
    std::vector<std::vector<long double>> residuals(pieces.size());
    // The true node is computed from the corrected Sun: its residuals are measured with the
    // Sun's pieces in place, after everything else.
    for (bool node : {false, true}) {
        std::vector<Job> jobs;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            if ((pieces[i].body == body::Node) != node) continue;
            const long count = static_cast<long>(pieces[i].grid().valueCount());
            // A limited run measures the last values only; the others stay zero.
            const long first = options.limit > 0 ? std::max(0L, count - options.limit) : 0;
            residuals[i].resize(static_cast<std::size_t>(count - first));
            jobs.push_back({&pieces[i], startsExcluded(pieces, i, pieces[i]), first, count - 1, &residuals[i],
                            &tallies[i]});
        }
        std::filesystem::path engine = folder;
        if (node) {
            engine = scratch;
            const auto dir = scratch / "FilePosi";
            std::filesystem::create_directories(dir);
            for (const char* name : {MoonFile::kName, FiveDayFile::kName, ApogeeFile::kName})
                std::filesystem::copy_file(DataRoot(folder).resolve(std::string("FilePosi\\") + name), dir / name,
                                           std::filesystem::copy_options::overwrite_existing);
            writeBytes(dir / kSupplementName, supplement::encode(sunPieces(pieces)));
        }
        run(engine, jobs, options);
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            if ((pieces[i].body == body::Node) != node) continue;
            const auto count = static_cast<std::size_t>(pieces[i].grid().valueCount());
            residuals[i].insert(residuals[i].begin(), count - residuals[i].size(), 0.0L);
            chooseUnit(pieces[i], residuals[i]);
            pieces[i].values = quantize(residuals[i], pieces[i].unit);
        }
    }
    return supplement::encode(pieces);
}

}  // namespace athanor::corrections
