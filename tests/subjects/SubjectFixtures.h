#pragma once
#include <cstdint>
#include <filesystem>
#include <fstream>

namespace athanor::test {

// Correction files of the right sizes, all zero: the engine then gives its bare theories.
// A five-day record whose Julian day is zero still interpolates to zero.
inline void writeZeroCorrectionFiles(const std::filesystem::path& root) {
    const auto dir = root / "FilePosi";
    std::filesystem::create_directories(dir);
    auto zeros = [&](const char* name, std::uintmax_t size) {
        std::ofstream(dir / name, std::ios::binary | std::ios::trunc).close();
        std::filesystem::resize_file(dir / name, size);
    };
    zeros("DSEL.rnd", 777954u * 2);
    zeros("DPR1.rnd", 155594u * 32);
    zeros("NOJLNE.rnd", 146462u * 4);
}

}  // namespace athanor::test
