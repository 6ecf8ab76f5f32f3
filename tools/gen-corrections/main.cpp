// Writes the ephemeris correction files and measures what they achieve.
//
//   gen-corrections --out data/FilePosi [--threads 2] [--ephe DIR]
//       DSEL.rnd, DPR1.rnd and NOJLNE.rnd: the reference minus the engine's own theory at
//       every record's instant; then DSUP.rnd, the precision supplement: the reference minus
//       the engine with those three files. Needs the reference files of Debian
//       swe-standard-data (years before 1800); prints how many values were clamped to their
//       field.
//   gen-corrections --supplement data/FilePosi [--threads 2] [--ephe DIR]
//       DSUP.rnd alone, against the three files already in that folder.
//   gen-corrections --accuracy data [--samples 2000] [--threads 2] [--ephe DIR]
//       Markdown tables of the engine against the reference: the bare theories, with the
//       three correction files found in data/FilePosi, and with the supplement as well.
//
// --limit N (with --out or --supplement) computes only the last N values of each file and
// supplement piece and leaves the rest zero: whole files, quickly, for the fault tests.
// Each file is replaced whole: a run that fails leaves every file old or new.

#include "Accuracy.h"
#include "Records.h"
#include "Reference.h"
#include "Supplement.h"

#include "foundations/DataRoot.h"
#include "foundations/RecordFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <unistd.h>

using namespace athanor;
using namespace athanor::corrections;
namespace fs = std::filesystem;

namespace {

int usage() {
    std::cerr << "usage: gen-corrections --out DIR [--threads N] [--ephe DIR] [--limit N]\n"
                 "       gen-corrections --supplement DIR [--threads N] [--ephe DIR] [--limit N]\n"
                 "       gen-corrections --accuracy DATA_DIR [--samples N] [--threads N] [--ephe DIR]\n";
    return 2;
}

// A scratch folder of the tool's own, removed on the way out.
class Scratch {
public:
    Scratch() : path_(fs::temp_directory_path() / ("gen-corrections-" + std::to_string(::getpid()))) {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// No progress line for a limited run: it is a test, over in a moment.
std::function<void(long, long)> progressLine(const std::string& label, const Options& options) {
    if (options.limit > 0) return {};
    return [label](long done, long total) {
        std::fprintf(stderr, "\r%-12s %5.1f%%  %ld / %ld records", label.c_str(), 100.0 * done / total, done, total);
        if (done == total) std::fprintf(stderr, "\n");
        std::fflush(stderr);
    };
}

double secondsSince(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void report(const char* file, const Tally& t, int firstField, int lastField) {
    static const char* names[18] = {
        "",           "Mercury lon", "Venus lon",  "Mars lon",   "Jupiter lon", "Saturn lon",
        "Uranus lon", "Neptune lon", "Pluto lon",  "true node",  "Mercury lat", "Venus lat",
        "Mars lat",   "Jupiter lat", "Saturn lat", "Uranus lat", "Neptune lat", "Pluto lat"};
    for (int f = firstField; f <= lastField; ++f) {
        const FieldTally& ft = t.field[f];
        std::printf("  %-10s %-12s %8ld values, largest %6ld, clamped %ld, not covered %ld\n", file, f ? names[f] : "",
                    ft.written, ft.largest, ft.clamped, ft.uncovered);
    }
}

const char* bodyLabel(int b) {
    static const char* names[] = {"",       "Sun",    "Moon",    "Mercury", "Venus", "Mars",  "Jupiter",
                                  "Saturn", "Uranus", "Neptune", "Pluto",   "node",  "",      "",
                                  "",       "Ceres",  "Pallas",  "Juno",    "Vesta", "Chiron"};
    return b >= 0 && b < 20 ? names[b] : "?";
}

// DSUP.rnd against the three files of `filesDir`, written to `outDir`.
long generateSupplement(const fs::path& filesDir, const fs::path& outDir, const Options& base, const Scratch& scratch) {
    const fs::path engine = scratch.path() / "files";
    fs::create_directories(engine / "FilePosi");
    for (const char* name : {MoonFile::kName, FiveDayFile::kName, ApogeeFile::kName})
        fs::copy_file(filesDir / name, engine / "FilePosi" / name, fs::copy_options::overwrite_existing);

    const auto t = std::chrono::steady_clock::now();
    Options options = base;
    options.progress = progressLine(kSupplementName, options);
    std::vector<PieceTally> tallies;
    std::vector<supplement::Piece> pieces;
    const std::string bytes = supplementFile(engine, scratch.path() / "sun", options, tallies, pieces);
    fs::create_directories(outDir);
    writeFileAtomically(outDir / kSupplementName, bytes);
    std::printf("%s: %zu bytes in %.1f s\n", kSupplementName, bytes.size(), secondsSince(t));
    long uncovered = 0;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const supplement::Piece& p = pieces[i];
        std::printf(
            "  %-8s %-9s JD %9.1f-%9.1f  cell %4.1f d, degree %d, %8ld values of %d bytes at %.2f\", largest %8.2f\"",
            bodyLabel(p.body), p.coordinate ? "latitude" : "longitude", p.from, p.to, p.cellLength, p.degree,
            tallies[i].values, p.width, p.unit / 1.0e6, tallies[i].largest);
        if (tallies[i].uncovered) std::printf(", not covered %ld", tallies[i].uncovered);
        std::printf("\n");
        uncovered += tallies[i].uncovered;
    }
    return uncovered;
}

int generateFiles(const fs::path& outDir, const Options& base) {
    const auto t0 = std::chrono::steady_clock::now();
    Scratch scratch;
    const EngineFolders folders{scratch.path() / "bare", scratch.path() / "moon"};
    writeZeroFiles(folders.bare);
    writeZeroFiles(folders.withMoon);

    Options options = base;
    Tally moonTally, fiveTally, apogeeTally;
    // A limited run computes the last records of each file, which every reference covers.
    auto firstOf = [&](long records) { return options.limit > 0 ? std::max(0L, records - options.limit) : 0L; };
    auto whole = [](std::string file, long first, int recordSize, const std::string& records) {
        return file.replace(static_cast<std::size_t>(first) * recordSize, records.size(), records);
    };

    auto t = std::chrono::steady_clock::now();
    options.progress = progressLine(MoonFile::kName, options);
    const long moonFirst = firstOf(MoonFile::kRecords);
    const std::string moon = whole(std::string(static_cast<std::size_t>(MoonFile::kRecords) * MoonFile::kRecordSize, '\0'),
                                   moonFirst, MoonFile::kRecordSize,
                                   moonRecords(folders, moonFirst, MoonFile::kRecords - 1, options, moonTally));
    const double moonSeconds = secondsSince(t);
    // The true node is computed from the corrected Moon.
    writeFileAtomically(folders.withMoon / "FilePosi" / MoonFile::kName, moon);

    t = std::chrono::steady_clock::now();
    options.progress = progressLine(FiveDayFile::kName, options);
    const long fiveFirst = firstOf(FiveDayFile::kRecords);
    const std::string five = whole(zeroFiveDayFile(), fiveFirst, FiveDayFile::kRecordSize,
                                   fiveDayRecords(folders, fiveFirst, FiveDayFile::kRecords - 1, options, fiveTally));
    const double fiveSeconds = secondsSince(t);

    t = std::chrono::steady_clock::now();
    options.progress = progressLine(ApogeeFile::kName, options);
    const long apogeeFirst = firstOf(ApogeeFile::kRecords);
    const std::string apogee =
        whole(std::string(static_cast<std::size_t>(ApogeeFile::kRecords) * ApogeeFile::kRecordSize, '\0'), apogeeFirst,
              ApogeeFile::kRecordSize, apogeeRecords(folders, apogeeFirst, ApogeeFile::kRecords - 1, options, apogeeTally));
    const double apogeeSeconds = secondsSince(t);

    fs::create_directories(outDir);
    writeFileAtomically(outDir / MoonFile::kName, moon);
    writeFileAtomically(outDir / FiveDayFile::kName, five);
    writeFileAtomically(outDir / ApogeeFile::kName, apogee);

    std::printf("%s: %zu bytes in %.1f s\n", MoonFile::kName, moon.size(), moonSeconds);
    std::printf("%s: %zu bytes in %.1f s\n", FiveDayFile::kName, five.size(), fiveSeconds);
    std::printf("%s: %zu bytes in %.1f s\n", ApogeeFile::kName, apogee.size(), apogeeSeconds);
    report(MoonFile::kName, moonTally, 0, 0);
    report(FiveDayFile::kName, fiveTally, 1, 17);
    report(ApogeeFile::kName, apogeeTally, 0, 0);
    const long clamped = moonTally.clamped() + fiveTally.clamped() + apogeeTally.clamped();
    long uncovered = moonTally.uncovered() + fiveTally.uncovered() + apogeeTally.uncovered();
    uncovered += generateSupplement(outDir, outDir, base, scratch);
    std::printf("clamped %ld, not covered by the reference %ld; %d threads, %.1f s in all\n", clamped, uncovered,
                options.threads, secondsSince(t0));
    if (uncovered)
        std::printf("warning: values without reference files were written as zero (install swe-standard-data)\n");
    return 0;
}

int supplementOnly(const fs::path& dir, const Options& options) {
    Scratch scratch;
    const long uncovered = generateSupplement(dir, dir, options, scratch);
    if (uncovered)
        std::printf("warning: values without reference files were written as zero (install swe-standard-data)\n");
    return 0;
}

int accuracy(const fs::path& data, AccuracyOptions options) {
    Scratch scratch;
    const AccuracyFolders folders{scratch.path() / "bare", scratch.path() / "files", data};
    writeZeroFiles(folders.bare);
    fs::create_directories(folders.files / "FilePosi");
    for (const char* name : {MoonFile::kName, FiveDayFile::kName, ApogeeFile::kName})
        fs::copy_file(DataRoot(data).resolve(std::string("FilePosi\\") + name), folders.files / "FilePosi" / name);
    options.progress = [](long done, long total) {
        std::fprintf(stderr, "\raccuracy %ld / %ld centuries", done, total);
        if (done == total) std::fprintf(stderr, "\n");
    };
    std::cout << accuracyReport(folders, options);
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    std::optional<fs::path> out, data, supplementDir;
    Options options;
    AccuracyOptions accuracyOptions;
    try {
        for (int i = 1; i < argc; ++i) {
            const std::string a = argv[i];
            if (i + 1 >= argc) return usage();
            const std::string v = argv[++i];
            if (a == "--out") out = v;
            else if (a == "--accuracy") data = v;
            else if (a == "--supplement") supplementDir = v;
            else if (a == "--threads") options.threads = accuracyOptions.threads = std::stoi(v);
            else if (a == "--samples") accuracyOptions.samples = std::stoi(v);
            else if (a == "--ephe") options.ephePath = accuracyOptions.ephePath = v;
            else if (a == "--limit") options.limit = std::stol(v);
            else return usage();
        }
        if (options.threads < 1 || accuracyOptions.samples < 1 || options.limit < 0) return usage();
        const int modes = (out ? 1 : 0) + (data ? 1 : 0) + (supplementDir ? 1 : 0);
        if (modes != 1) return usage();
        if (out) return generateFiles(*out, options);
        if (supplementDir) return supplementOnly(*supplementDir, options);
        if (data) return accuracy(*data, accuracyOptions);
        return usage();
    } catch (const std::exception& e) {
        std::cerr << "\ngen-corrections: " << e.what() << '\n';
        return 1;
    }
}
