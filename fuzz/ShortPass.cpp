// Every fuzz target over its seed corpus (regression inputs included) and a fixed series of
// mutations of it, so that a reader that crashes or throws what it should not is caught by
// every build, without a fuzzer. A hang shows as the test's timeout.
#include "Targets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace athanor::fuzz {

void PrintTo(const Target& t, std::ostream* os) { *os << t.name; }

namespace {

using Bytes = std::vector<std::uint8_t>;

std::vector<Bytes> corpusOf(const std::string& name) {
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(ATHANOR_FUZZ_CORPUS) / name))
        if (e.is_regular_file()) files.push_back(e.path());
    std::sort(files.begin(), files.end());  // the same order, so the same mutations, every run
    std::vector<Bytes> out;
    for (const auto& f : files) {
        std::ifstream in(f, std::ios::binary);
        out.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return out;
}

// Bit flips, bytes set to edge values, cuts, duplicated and removed runs: the damage a
// disk, a copy or a careless edit does.
class Mutator {
public:
    explicit Mutator(std::uint32_t seed) : random_(seed) {}

    Bytes mutate(Bytes b) {
        const int steps = 1 + static_cast<int>(below(4));
        for (int i = 0; i < steps; ++i) step(b);
        return b;
    }

private:
    std::size_t below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(random_() % n); }

    void step(Bytes& b) {
        static constexpr std::uint8_t kEdges[] = {0x00, 0xFF, 0x7F, 0x80, 0x01, '9', '-', '.', ',', '\n', '|'};
        switch (below(6)) {
        case 0:
            if (!b.empty()) b[below(b.size())] ^= static_cast<std::uint8_t>(1u << below(8));
            break;
        case 1:
            if (!b.empty()) b[below(b.size())] = kEdges[below(std::size(kEdges))];
            break;
        case 2:
            if (!b.empty()) b[below(b.size())] = static_cast<std::uint8_t>(random_());
            break;
        case 3:
            b.resize(below(b.size() + 1));
            break;
        case 4: {  // a run copied in again
            if (b.empty()) break;
            const std::size_t from = below(b.size()), n = 1 + below(std::min<std::size_t>(b.size() - from, 64));
            const Bytes run(b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(from + n));
            b.insert(b.begin() + static_cast<std::ptrdiff_t>(below(b.size() + 1)), run.begin(), run.end());
            break;
        }
        default: {  // a run taken out
            if (b.empty()) break;
            const std::size_t from = below(b.size()), n = 1 + below(std::min<std::size_t>(b.size() - from, 64));
            b.erase(b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(from + n));
        }
        }
    }

    std::mt19937 random_;
};

std::string hexOf(const Bytes& b) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < b.size() && i < 4096; ++i) {
        out += kDigits[b[i] >> 4];
        out += kDigits[b[i] & 15];
    }
    return out;
}

// Runs one input; a failure names the input so that it can be kept as a regression case.
void runOne(const Target& t, const Bytes& input, const std::string& what) {
    try {
        t.run(input.data(), input.size());
    } catch (const std::exception& e) {
        ADD_FAILURE() << t.name << ", " << what << ": " << e.what() << "\ninput (" << input.size()
                      << " bytes): " << hexOf(input);
    }
}

constexpr int kMutations = 2000;

class ShortFuzz : public ::testing::TestWithParam<Target> {};

TEST_P(ShortFuzz, DamagedInputIsRefusedOrRead) {
    const Target& t = GetParam();
    const std::vector<Bytes> corpus = corpusOf(t.name);
    ASSERT_FALSE(corpus.empty()) << "no seed corpus for " << t.name;
    for (std::size_t i = 0; i < corpus.size(); ++i) runOne(t, corpus[i], "seed " + std::to_string(i));
    std::uint32_t seed = 2166136261u;  // FNV-1a of the name: a seed of its own for each target
    for (const char* c = t.name; *c; ++c) seed = (seed ^ static_cast<std::uint8_t>(*c)) * 16777619u;
    Mutator mutator(seed);
    std::mt19937 pick(20261211);
    for (int i = 0; i < kMutations && !HasFailure(); ++i)
        runOne(t, mutator.mutate(corpus[pick() % corpus.size()]), "mutation " + std::to_string(i));
}

INSTANTIATE_TEST_SUITE_P(Readers, ShortFuzz, ::testing::ValuesIn(targets().begin(), targets().end()),
                         [](const ::testing::TestParamInfo<Target>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace athanor::fuzz
