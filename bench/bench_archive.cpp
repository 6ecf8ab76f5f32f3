// The archive at the sizes a practice reaches (100, 10,000 and 99,999 subjects): one save's
// index insertion, the name browser's search for a typed prefix, and reading the whole index.
#include "foundations/RecordFile.h"
#include "subjects/Archive.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

namespace {

using namespace athanor;

// A BASE archive of n subjects with sorted names in a fresh temporary folder.
struct Fixture {
    explicit Fixture(int n) {
        std::random_device rd;
        folder = std::filesystem::temp_directory_path() / ("athanor-bench-" + std::to_string(rd()));
        std::filesystem::create_directories(folder);
        root = DataRoot(folder);
        Archive(root, "BASE").create();
        std::string index;
        const auto header = encodeIndexEntry(kIndexHeaderText);
        index.append(reinterpret_cast<const char*>(header.data()), header.size());
        for (int k = 1; k <= n; ++k) {
            char name[32];
            std::snprintf(name, sizeof name, "SUBJECT %06d", k);
            const auto e = encodeIndexEntry(makeEntryText(name, k));
            index.append(reinterpret_cast<const char*>(e.data()), e.size());
        }
        writeFileAtomically(Archive(root, "BASE").indexPath(), index);
        saved = index;
    }
    ~Fixture() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
    void restore() const { writeFileAtomically(Archive(root, "BASE").indexPath(), saved); }

    std::filesystem::path folder;
    DataRoot root;
    std::string saved;
};

void BM_InsertEntry(benchmark::State& state) {
    const Fixture f(static_cast<int>(state.range(0)));
    Archive base(f.root, "BASE");
    for (auto _ : state) {
        benchmark::DoNotOptimize(base.insertEntry(makeEntryText("SUBJECT 000050X", 1)));
        state.PauseTiming();
        f.restore();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_InsertEntry)->Arg(100)->Arg(10000)->Arg(99999)->Unit(benchmark::kMillisecond);

void BM_FindNear(benchmark::State& state) {
    const Fixture f(static_cast<int>(state.range(0)));
    const Archive base(f.root, "BASE");
    int i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(base.findNear("SUBJECT 00" + std::to_string(1000 + (i++ % 9000))));
}
BENCHMARK(BM_FindNear)->Arg(100)->Arg(10000)->Arg(99999)->Unit(benchmark::kMicrosecond);

void BM_ReadAllEntries(benchmark::State& state) {
    const Fixture f(static_cast<int>(state.range(0)));
    const Archive base(f.root, "BASE");
    for (auto _ : state) benchmark::DoNotOptimize(base.readAllEntries().size());
}
BENCHMARK(BM_ReadAllEntries)->Arg(100)->Arg(10000)->Arg(99999)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
