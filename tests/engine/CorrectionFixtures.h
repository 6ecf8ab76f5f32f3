#pragma once
// Writers of the three correction files for tests and benchmarks: crafted records or
// full-size all-zero files.
#include "foundations/BinaryReals.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace athanor::test {

inline constexpr long double kMoonFileBase = 1721420.5L;
inline constexpr long double kApogeeFileBase = 2341972.5L;
inline constexpr long double kFiveDayOrigin = 1721408.5L;

// Records needed to cover every date the engine reads.
inline constexpr std::uintmax_t kMoonRecords = 777954;
inline constexpr std::uintmax_t kFiveDayRecords = 155594;
inline constexpr std::uintmax_t kApogeeRecords = 146462;

inline void putLE(std::string& out, std::int64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((static_cast<std::uint64_t>(v) >> (8 * i)) & 0xFF);
}

inline std::string encodeReal48(long double v) {
    std::uint8_t bytes[kReal48Size];
    athanor::encodeReal48(v, bytes);
    return std::string(reinterpret_cast<const char*>(bytes), kReal48Size);
}

// One five-day record: Julian day and fields 1..17 (index 0 unused).
struct FiveDayRecord {
    long double jd = 0;
    int field[18] = {};
};

inline std::string fiveDayBytes(const FiveDayRecord& r) {
    std::string out = encodeReal48(r.jd);
    for (int f = 1; f <= 7; ++f) putLE(out, r.field[f], 1);
    out += '\0';
    putLE(out, r.field[8], 2);
    for (int f = 9; f <= 16; ++f) putLE(out, r.field[f], 1);
    putLE(out, r.field[17], 2);
    out.append(6, '\0');
    return out;
}

inline std::string int16Records(const std::vector<int>& values) {
    std::string out;
    for (int v : values) putLE(out, v, 2);
    return out;
}

inline std::string int32Records(const std::vector<std::int32_t>& values) {
    std::string out;
    for (std::int32_t v : values) putLE(out, v, 4);
    return out;
}

inline std::string fiveDayRecords(const std::vector<FiveDayRecord>& records) {
    std::string out;
    for (const auto& r : records) out += fiveDayBytes(r);
    return out;
}

inline void writeBytes(const std::filesystem::path& p, const std::string& bytes) {
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
}

// Full-size files holding one value in every record (and, for the five-day file, the
// given fields with each record's own Julian day).
inline void writeConstantMoonFile(const std::filesystem::path& root, int arcseconds) {
    writeBytes(root / "FilePosi" / "DSEL.rnd", int16Records(std::vector<int>(kMoonRecords, arcseconds)));
}

inline void writeConstantApogeeFile(const std::filesystem::path& root, std::int32_t arcseconds) {
    writeBytes(root / "FilePosi" / "NOJLNE.rnd", int32Records(std::vector<std::int32_t>(kApogeeRecords, arcseconds)));
}

inline void writeConstantFiveDayFile(const std::filesystem::path& root, const FiveDayRecord& fields) {
    std::string five;
    five.reserve(kFiveDayRecords * 32);
    FiveDayRecord r = fields;
    for (std::uintmax_t n = 0; n < kFiveDayRecords; ++n) {
        r.jd = kFiveDayOrigin + 0.5L + 5.0L * static_cast<long double>(n);
        five += fiveDayBytes(r);
    }
    writeBytes(root / "FilePosi" / "DPR1.rnd", five);
}

// Full-size files of zeros in root/FilePosi: the engine then returns the bare theories.
// The five-day records still carry their Julian days.
inline void writeZeroCorrectionFiles(const std::filesystem::path& root) {
    const auto dir = root / "FilePosi";
    std::filesystem::create_directories(dir);
    auto zeros = [&](const char* name, std::uintmax_t size) {
        std::ofstream(dir / name, std::ios::binary | std::ios::trunc).close();
        std::filesystem::resize_file(dir / name, size);
    };
    zeros("DSEL.rnd", kMoonRecords * 2);
    zeros("NOJLNE.rnd", kApogeeRecords * 4);
    writeConstantFiveDayFile(root, FiveDayRecord{});
}

}  // namespace athanor::test
