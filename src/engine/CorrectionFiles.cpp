#include "engine/CorrectionFiles.h"

#include "foundations/FileError.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace athanor {

namespace {

constexpr const char* kMoonFile = "FilePosi\\DSEL.rnd";
constexpr const char* kPlanetFile = "FilePosi\\DPR1.rnd";
constexpr const char* kBlackMoonFile = "FilePosi\\NOJLNE.rnd";

constexpr long double kMoonBase = 1721420.5L;       // record 0 of DSEL.rnd
constexpr long double kBlackMoonBase = 2341972.5L;  // record 0 of NOJLNE.rnd: 1 January 1700
constexpr long double kPlanetOrigin = 1721408.5L;   // DPR1.rnd: five-day records from here

constexpr int kMoonRecord = 2;
constexpr int kBlackMoonRecord = 4;
constexpr int kPlanetRecord = 32;

// Wrap of a longitude correction stored past a full circle of arc-seconds or arc-minutes.
constexpr long double kWrap = 21600.0L;

// Largest record number we try to address; beyond it no file can reach.
constexpr long double kMaxRecord = 1.0e15L;

long double readInt16(const unsigned char* p) {
    return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
}

long double readInt32(const unsigned char* p) {
    const uint32_t u = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                       (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
    return static_cast<int32_t>(u);
}

long double readInt8(const unsigned char* p) { return static_cast<int8_t>(p[0]); }

// The 48-bit real of the five-day records: byte 0 exponent (bias 129, 0 = zero), bytes
// 1..5 a 39-bit fraction, least significant byte first, sign in the top bit of byte 5.
long double readReal48(const unsigned char* p) {
    if (p[0] == 0) return 0.0L;
    uint64_t fraction = 0;
    for (int i = 5; i >= 1; --i) fraction = (fraction << 8) | p[i];
    const bool negative = (fraction >> 39) & 1u;
    fraction &= (uint64_t{1} << 39) - 1;
    const long double mantissa = 1.0L + std::ldexp(static_cast<long double>(fraction), -39);
    const long double v = std::ldexp(mantissa, static_cast<int>(p[0]) - 129);
    return negative ? -v : v;
}

// Reads `count` consecutive records from record n on into buf, opening and closing the file.
void readRecords(const DataRoot& root, const char* name, long double n, int recordSize, int count,
                 unsigned char* buf) {
    const std::filesystem::path path = root.resolve(name);
    if (!(n >= 0.0L && n <= kMaxRecord)) {
        // Also catches NaN: a Julian day that maps to no record.
        throw FileError(path, "record position outside the file");
    }
    const long long record = static_cast<long long>(n);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw FileError::fromErrno(path, errno);
    const size_t wanted = static_cast<size_t>(recordSize) * static_cast<size_t>(count);
    size_t got = 0;
    int err = 0;
    while (got < wanted) {
        const ssize_t r = ::pread(fd, buf + got, wanted - got,
                                  static_cast<off_t>(record * recordSize + static_cast<long long>(got)));
        if (r < 0) {
            if (errno == EINTR) continue;
            err = errno;
            break;
        }
        if (r == 0) break;
        got += static_cast<size_t>(r);
    }
    ::close(fd);
    if (err != 0) throw FileError::fromErrno(path, err);
    if (got == 0)
        throw FileError(path, "record " + std::to_string(record) + " lies beyond the end of the file");
    if (got < wanted)
        throw FileError(path, "short read at record " + std::to_string(record + static_cast<long long>(got) / recordSize));
}

// Daily files: records at base + n, interpolated between the two that surround jd.
long double dailyLookup(const DataRoot& root, const char* name, long double base, int recordSize,
                        long double jd) {
    // Ties to even, as the files were made with.
    const long double n = std::nearbyint(jd - base - 0.5L);
    unsigned char buf[2 * 4];
    readRecords(root, name, n, recordSize, 2, buf);
    const long double p = recordSize == 2 ? readInt16(buf) : readInt32(buf);
    const long double q = recordSize == 2 ? readInt16(buf + 2) : readInt32(buf + 4);
    return p + (jd - (n + base)) * (q - p);
}

// Offset and width of field f (1..17) of a five-day record.
struct Field {
    int offset;
    int width;
};

Field planetField(int f) {
    if (f >= 1 && f <= 7) return {5 + f, 1};
    if (f == 8) return {14, 2};
    if (f >= 9 && f <= 16) return {7 + f, 1};
    if (f == 17) return {24, 2};
    throw std::invalid_argument("five-day correction field " + std::to_string(f) + " does not exist");
}

}  // namespace

CorrectionFiles::CorrectionFiles(DataRoot root) : root_(std::move(root)) {}

CorrectionFiles::~CorrectionFiles() = default;

long double CorrectionFiles::moon(long double jd) const {
    long double value = dailyLookup(root_, kMoonFile, kMoonBase, kMoonRecord, jd);
    if (value > kWrap) value = value - kWrap;
    return value;
}

long double CorrectionFiles::blackMoon(long double jd) const {
    return dailyLookup(root_, kBlackMoonFile, kBlackMoonBase, kBlackMoonRecord, jd);
}

long double CorrectionFiles::planet(long double jd, int field) const {
    const Field fld = planetField(field);
    // Trunc, then integer division by five.
    const long double days = std::trunc(jd - kPlanetOrigin - 0.5L);
    const long double n = std::trunc(days / 5.0L);
    unsigned char buf[2 * kPlanetRecord];
    readRecords(root_, kPlanetFile, n, kPlanetRecord, 2, buf);
    auto fieldValue = [&](const unsigned char* rec) {
        return fld.width == 1 ? readInt8(rec + fld.offset) : readInt16(rec + fld.offset);
    };
    const long double J = readReal48(buf);
    const long double p = fieldValue(buf);
    const long double q = fieldValue(buf + kPlanetRecord);
    long double value = p + (jd - J) * (q - p) / 5.0L;
    if (value > kWrap) value = value - kWrap;
    return value;
}

}  // namespace athanor
