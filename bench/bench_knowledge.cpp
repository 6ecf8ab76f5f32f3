// The knowledge-base operations on a large base: 100,000 remedy records (about 480 MB)
// and 100,000 repertory records, generated here into a temporary folder. Each scan is
// compared with a plain sequential read of the files it reads ("x raw" counter).
#include "foundations/Collation.h"
#include "foundations/DataRoot.h"
#include "foundations/Format.h"
#include "knowledge/Consultation.h"
#include "knowledge/Editors.h"
#include "knowledge/FileReplacement.h"
#include "knowledge/KnowledgeRecords.h"
#include "knowledge/Rankings.h"
#include "knowledge/Rebuild.h"
#include "knowledge/SignatureSearch.h"
#include "knowledge/TextSearch.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>

#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace athanor;
namespace fs = std::filesystem;

constexpr int kRemedyRecords = 100000;
constexpr int kTherapyRecords = 100000;
constexpr int kPlantRecords = 5000;
constexpr int kRemedyNames = 12000;
constexpr int kSymptoms = 4000;
constexpr int kPathologies = 3000;
constexpr int kPlants = 800;

std::string numbered(const char* stem, int i) { return std::string(stem) + " " + zeroPadded(i, 5); }

std::string symptomName(int i) { return numbered("S\xEDntoma", i); }
std::string pathologyName(int i) {
    return numbered("Patolog\xED"
                    "a",
                    i);
}
std::string plantName(int i) { return numbered("Planta", i); }
std::string remedyName(int i) {
    static const char* prefixes[] = {"TSA - ", "MSA - ", "QSPC - ", "HS 8 - ", ""};
    return prefixes[i % 5] + numbered("Remedio", i);
}

template <class R>
void writeFile(const fs::path& path, int n, std::mt19937& random, R (*make)(std::mt19937&)) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    const Bytes blank = R{}.encode();
    out.write(reinterpret_cast<const char*>(blank.data()), static_cast<std::streamsize>(blank.size()));
    for (int i = 0; i < n; ++i) {
        const Bytes b = make(random).encode();
        out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
}

std::string signature(std::mt19937& random, int most, bool planets) {
    std::string s;
    for (int k = 0, n = 1 + static_cast<int>(random() % static_cast<unsigned>(most)); k < n; ++k) {
        if (k) s += planets ? "-" : " ";
        s += planets ? kSignaturePlanets[random() % 9] : signName(1 + static_cast<int>(random() % 12));
    }
    return s;
}

RemedyRecord makeRemedy(std::mt19937& random) {
    RemedyRecord r;
    r.name = remedyName(static_cast<int>(random() % kRemedyNames));
    r.setIndication(symptomName(static_cast<int>(random() % kSymptoms)));
    r.setPosology("20 gotas tres veces al d\xED"
                  "a, en un poco de agua, lejos de las comidas; seguir la prescripci\xF3n.");
    r.primarySignature = signature(random, 2, true);
    if (random() % 2) r.secondarySignature = signature(random, 1, true);
    r.zodiacSignature = signature(random, 3, false);
    r.setSynthesis(std::string(300, 's'));
    r.setWarnings("No usar durante el embarazo.");
    r.setNotes("Composici\xF3n: " + plantName(static_cast<int>(random() % kPlants)) + ", " +
               plantName(static_cast<int>(random() % kPlants)) + "; partes a\xE9reas.");
    return r;
}

TherapyRecord makeTherapy(std::mt19937& random) {
    TherapyRecord t;
    t.pathology = pathologyName(static_cast<int>(random() % kPathologies));
    t.remedy = remedyName(static_cast<int>(random() % kRemedyNames));
    t.posology = "15 gotas dos veces al d\xED"
                 "a";
    return t;
}

PlantSymptomRecord makePlant(std::mt19937& random) {
    PlantSymptomRecord p;
    p.plant = plantName(static_cast<int>(random() % kPlants));
    p.symptom = symptomName(static_cast<int>(random() % kSymptoms));
    p.primarySignature = signature(random, 1, true);
    p.zodiacSignature = signature(random, 2, false);
    p.authors = "Uso tradicional";
    return p;
}

class Base {
public:
    Base() {
        setCollationLocale("es");
        std::random_device rd;
        path_ = fs::temp_directory_path() / ("athanor-bench-kb-" + std::to_string(rd()));
        std::mt19937 random(2024);
        writeFile(path_ / "OpzioneH" / "DBmain.rnd", kRemedyRecords, random, makeRemedy);
        writeFile(path_ / "OpzioneH" / "Repertorio.rnd", kTherapyRecords, random, makeTherapy);
        writeFile(path_ / "OpzioneS" / "DataQvl.rnd", kPlantRecords, random, makePlant);
        fs::create_directories(path_ / "FileDum");
        rebuildDerivedFiles(root());
        // The freshly written files go to disk now, not while the first figures are taken.
        ::sync();
    }
    ~Base() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    DataRoot root() const { return DataRoot(path_); }
    fs::path file(const char* relative) const { return root().resolve(relative); }

private:
    fs::path path_;
};

const Base& base() {
    static const Base b;
    return b;
}

// Seconds of one copy of the database into a new file flushed to disk, measured first.
double gRawCopy = 0;

double readWhole(const fs::path& p) {
    const auto t0 = std::chrono::steady_clock::now();
    const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
    std::vector<char> buf(2 << 20);
    std::uint64_t sum = 0;
    ssize_t r;
    while ((r = ::read(fd, buf.data(), buf.size())) > 0) sum += static_cast<unsigned char>(buf[0]);
    ::close(fd);
    benchmark::DoNotOptimize(sum);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Times f per iteration. A plain read of the files it reads is timed right before each
// run, so that the ratio ("x raw") compares the two under the same load of the machine;
// the operations that rewrite the database are also compared with the raw copy.
template <class F>
void timed(benchmark::State& state, std::vector<const char*> reads, F f, bool rewrites = false) {
    double total = 0, raw = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (const char* file : reads) raw += readWhole(base().file(file));
        state.ResumeTiming();
        const auto t0 = std::chrono::steady_clock::now();
        f();
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    const double each = total / static_cast<double>(state.iterations());
    if (raw > 0) state.counters["x raw"] = total / raw;
    if (rewrites && gRawCopy > 0) state.counters["x copy"] = each / gRawCopy;
}

void BM_RawReadDatabase(benchmark::State& state) {
    const auto p = base().file(kRemedyDatabaseFile);
    readWhole(p);  // as warm as the operations that follow it find the file
    for (auto _ : state) readWhole(p);
    state.counters["MB"] = static_cast<double>(fs::file_size(p)) / 1e6;
}

void BM_RawReadRepertory(benchmark::State& state) {
    const auto p = base().file(kRepertoryFile);
    readWhole(p);
    for (auto _ : state) readWhole(p);
    state.counters["MB"] = static_cast<double>(fs::file_size(p)) / 1e6;
}

void BM_RawCopyDatabase(benchmark::State& state) {
    const auto from = base().file(kRemedyDatabaseFile);
    const auto to = from.parent_path() / "Copia.rnd";
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        FileReplacement copy(to);
        copy.copyFrom(from, 0, fs::file_size(from));
        copy.commit();
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    fs::remove(to);
    gRawCopy = total / static_cast<double>(state.iterations());
}

void BM_OpenLists(benchmark::State& state) {
    timed(state, {}, [] {
        benchmark::DoNotOptimize(symptomList(base().root()));
        benchmark::DoNotOptimize(remedyLineList(base().root()));
        benchmark::DoNotOptimize(pathologyList(base().root()));
    });
}

void BM_OpenRemedyNameList(benchmark::State& state) {
    timed(state, {kRemedyDatabaseFile}, [] { benchmark::DoNotOptimize(openRemedyNameList(base().root())); });
}

void BM_SymptomConsultation(benchmark::State& state) {
    timed(state, {kRemedyDatabaseFile}, [] {
        const Matches m = findSymptom(base().root(), symptomName(17));
        ResultPager pager;
        pager.offerAll(m.records);
        benchmark::DoNotOptimize(symptomRows(base().root(), pager.rows()));
    });
}

void BM_RemedyConsultation(benchmark::State& state) {
    timed(state, {kRemedyDatabaseFile}, [] { benchmark::DoNotOptimize(findRemedy(base().root(), remedyName(42))); });
}

void BM_SignatureSearch(benchmark::State& state) {
    const auto list = openRemedyNameList(base().root());
    timed(state, {kRemedyDatabaseFile},
          [&] { benchmark::DoNotOptimize(runSignatureSearch(base().root(), list, "Sol", "Leo")); });
}

void BM_WeaknessSearch(benchmark::State& state) {
    timed(state, {kRemedyDatabaseFile, kRepertoryFile},
          [] { benchmark::DoNotOptimize(weaknessPathologies(base().root(), "Marte", "Libra")); });
}

void BM_MultipleSymptoms15(benchmark::State& state) {
    ComplaintSlots slots;
    for (int i = 0; i < kComplaintSlots; ++i) slots.pick(symptomName(i * 97));
    timed(state, {kRemedyDatabaseFile},
          [&] { benchmark::DoNotOptimize(rankRemedies(base().root(), RankingKind::Symptoms, slots.texts())); });
}

void BM_CompositeTherapy(benchmark::State& state) {
    ComplaintSlots slots;
    for (int i = 0; i < 5; ++i) slots.pick(pathologyName(i * 41));
    openComplaints(base().root(), RankingKind::Therapies);
    timed(state, {kRepertoryFile},
          [&] { benchmark::DoNotOptimize(rankRemedies(base().root(), RankingKind::Therapies, slots.texts())); });
}

void BM_PlantsSearch(benchmark::State& state) {
    const auto list = openRemedyNameList(base().root());
    timed(state, {kRemedyDatabaseFile}, [&] {
        benchmark::DoNotOptimize(searchRemedyTexts(base().root(), RemedyText::Composition, list, plantName(123)));
    });
}

void BM_Rebuild(benchmark::State& state) {
    timed(
        state, {kRemedyDatabaseFile, kRepertoryFile},
        [] { benchmark::DoNotOptimize(rebuildDerivedFiles(base().root())); }, true);
}

void BM_ReorderingMove(benchmark::State& state) {
    auto entries = reorderingList(base().root(), EditorKind::Remedies);
    timed(
        state, {kRemedyDatabaseFile},
        [&] {
            ReorderList list(entries);
            list.move(0, static_cast<int>(entries.size()) - 1);
            entries = list.entries();
            benchmark::DoNotOptimize(commitReordering(base().root(), EditorKind::Remedies, entries));
        },
        true);
}

void BM_Save(benchmark::State& state) {
    std::mt19937 random(7);
    const RemedyRecord r = makeRemedy(random);
    timed(
        state, {kRemedyDatabaseFile}, [&] { saveRecord(base().root(), 5000, r); }, true);
}

#define KB_BENCH(name) BENCHMARK(name)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime()
KB_BENCH(BM_RawReadDatabase);
KB_BENCH(BM_RawReadRepertory);
KB_BENCH(BM_RawCopyDatabase);
KB_BENCH(BM_OpenLists);
KB_BENCH(BM_OpenRemedyNameList);
KB_BENCH(BM_SymptomConsultation);
KB_BENCH(BM_RemedyConsultation);
KB_BENCH(BM_SignatureSearch);
KB_BENCH(BM_WeaknessSearch);
KB_BENCH(BM_MultipleSymptoms15);
KB_BENCH(BM_CompositeTherapy);
KB_BENCH(BM_PlantsSearch);
KB_BENCH(BM_Rebuild);
KB_BENCH(BM_ReorderingMove);
KB_BENCH(BM_Save);

}  // namespace

BENCHMARK_MAIN();
