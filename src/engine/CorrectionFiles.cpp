#include "engine/CorrectionFiles.h"

#include "engine/PrecisionSupplement.h"
#include "engine/Trig.h"
#include "foundations/Binary.h"
#include "foundations/BinaryReals.h"
#include "foundations/FileError.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
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

enum Slot { MoonSlot, PlanetSlot, BlackMoonSlot, SlotCount };
constexpr const char* kNames[SlotCount] = {kMoonFile, kPlanetFile, kBlackMoonFile};

}  // namespace

// A file is mapped into memory at its first lookup and stays mapped for the life of the
// object: a chart reads the three files up to 26 times, and a system call per read cost
// more than the chart's arithmetic of a body. The size is the one the file had when it was
// mapped.
struct CorrectionFiles::Cache {
    std::filesystem::path path[SlotCount];
    bool mapped[SlotCount] = {false, false, false};
    const std::uint8_t* map[SlotCount] = {nullptr, nullptr, nullptr};
    size_t size[SlotCount] = {0, 0, 0};

    // The last pair of records read from each file, kept while a batch is open.
    static constexpr size_t kKept = 64;
    int batchDepth = 0;
    bool kept[SlotCount] = {false, false, false};
    long long keptRecord[SlotCount] = {0, 0, 0};
    size_t keptSize[SlotCount] = {0, 0, 0};
    std::uint8_t keptBytes[SlotCount][kKept];

    bool supplementLookedFor = false;
    std::unique_ptr<supplement::File> supplement;

    ~Cache() {
        for (int s = 0; s < SlotCount; ++s)
            if (map[s]) ::munmap(const_cast<std::uint8_t*>(map[s]), size[s]);
    }

    void open(const DataRoot& root, Slot slot) {
        if (mapped[slot]) return;
        path[slot] = root.resolve(kNames[slot]);
        const int f = ::open(path[slot].c_str(), O_RDONLY | O_CLOEXEC);
        if (f < 0) throw FileError::fromErrno(path[slot], errno);
        struct stat st {};
        if (::fstat(f, &st) != 0) {
            const int err = errno;
            ::close(f);
            throw FileError::fromErrno(path[slot], err);
        }
        const size_t n = static_cast<size_t>(st.st_size);
        void* p = nullptr;
        if (n > 0) {
            p = ::mmap(nullptr, n, PROT_READ, MAP_PRIVATE, f, 0);
            const int err = errno;
            ::close(f);
            if (p == MAP_FAILED) throw FileError::fromErrno(path[slot], err);
        } else {
            ::close(f);  // an empty file: every record lies beyond its end
        }
        map[slot] = static_cast<const std::uint8_t*>(p);
        size[slot] = n;
        mapped[slot] = true;
    }

    // Copies `count` consecutive records from record n on into buf.
    void read(const DataRoot& root, Slot slot, long double n, int recordSize, int count, std::uint8_t* buf) {
        open(root, slot);
        const std::filesystem::path& p = path[slot];
        if (!(n >= 0.0L && n <= kMaxRecord)) {
            // Also catches NaN: a Julian day that maps to no record.
            throw FileError(p, "record position outside the file", FileFault::Damaged);
        }
        const long long record = trig::wholeNumber(n);
        const size_t wanted = static_cast<size_t>(recordSize) * static_cast<size_t>(count);
        if (kept[slot] && keptRecord[slot] == record && keptSize[slot] == wanted) {
            std::memcpy(buf, keptBytes[slot], wanted);
            return;
        }
        const unsigned long long offset = static_cast<unsigned long long>(record) * static_cast<unsigned>(recordSize);
        if (offset >= size[slot])
            throw FileError(p, "record " + std::to_string(record) + " lies beyond the end of the file",
                            FileFault::Damaged);
        const size_t got = static_cast<size_t>(std::min<unsigned long long>(wanted, size[slot] - offset));
        if (got < wanted)
            throw FileError(p,
                            "short read at record " + std::to_string(record + static_cast<long long>(got) / recordSize),
                            FileFault::Damaged);
        std::memcpy(buf, map[slot] + offset, wanted);
        if (batchDepth > 0 && wanted <= kKept) {
            std::memcpy(keptBytes[slot], buf, wanted);
            keptRecord[slot] = record;
            keptSize[slot] = wanted;
            kept[slot] = true;
        }
    }
};

namespace {

// Daily files: records at base + n, interpolated between the two that surround jd.
// `read(n, buf)` fills buf with records n and n + 1.
template <typename Read>
long double dailyLookup(Read read, long double base, int recordSize, long double jd) {
    // Ties to even, as the files were made with (rint: nearbyint without its slow saving of
    // the floating-point state).
    const long double n = std::rint(jd - base - 0.5L);
    std::uint8_t buf[2 * 4];
    read(n, buf);
    const long double p = recordSize == 2 ? getI16(buf) : getI32(buf);
    const long double q = recordSize == 2 ? getI16(buf + 2) : getI32(buf + 4);
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

CorrectionFiles::CorrectionFiles(DataRoot root) : root_(std::move(root)), cache_(new Cache) {}

CorrectionFiles::~CorrectionFiles() { delete cache_; }

CorrectionFiles::Batch::Batch(const CorrectionFiles& files) : files_(files) { ++files_.cache_->batchDepth; }

CorrectionFiles::Batch::~Batch() {
    Cache& c = *files_.cache_;
    if (--c.batchDepth == 0)
        for (bool& k : c.kept) k = false;
}

const supplement::File* CorrectionFiles::supplement() const {
    if (!cache_->supplementLookedFor) {
        const std::filesystem::path path = root_.resolve(supplement::kFileName);
        std::error_code ec;
        if (std::filesystem::exists(path, ec)) cache_->supplement = std::make_unique<supplement::File>(path);
        cache_->supplementLookedFor = true;
    }
    return cache_->supplement.get();
}

long double CorrectionFiles::moon(long double jd) const {
    long double value =
        dailyLookup([&](long double n, std::uint8_t* buf) { cache_->read(root_, MoonSlot, n, kMoonRecord, 2, buf); },
                    kMoonBase, kMoonRecord, jd);
    if (value > kWrap) value = value - kWrap;
    return value;
}

long double CorrectionFiles::blackMoon(long double jd) const {
    return dailyLookup(
        [&](long double n, std::uint8_t* buf) { cache_->read(root_, BlackMoonSlot, n, kBlackMoonRecord, 2, buf); },
        kBlackMoonBase, kBlackMoonRecord, jd);
}

long double CorrectionFiles::planet(long double jd, int field) const {
    const Field fld = planetField(field);
    // Trunc, then integer division by five.
    const long double days = trig::truncate(jd - kPlanetOrigin - 0.5L);
    // A whole number of days over five: the quotient's fraction is at least a fifth away from
    // a whole number, so dividing the integers truncates alike, and faster. Beyond what an
    // integer holds exactly (no file reaches) the division stays.
    const long double n =
        std::fabs(days) < 0x1p53L ? static_cast<long double>(trig::wholeNumber(days) / 5) : trig::truncate(days / 5.0L);
    std::uint8_t buf[2 * kPlanetRecord];
    cache_->read(root_, PlanetSlot, n, kPlanetRecord, 2, buf);
    auto fieldValue = [&](const std::uint8_t* rec) -> long double {
        return fld.width == 1 ? getI8(rec + fld.offset) : getI16(rec + fld.offset);
    };
    const long double J = decodeReal48(buf);
    // Each record carries its own date: one that is not where the record stands (a record of
    // zeros, of 0xFF, a file shifted or cut and patched) would stretch the interpolation to
    // any size, so the file is damaged rather than the planet thrown across the sky.
    if (!(std::fabs(jd - J) <= 10.0L))
        throw FileError(cache_->path[PlanetSlot],
                        "el registro " + std::to_string(static_cast<long long>(n)) +
                            " no lleva la fecha de su posición en el archivo",
                        FileFault::Damaged);
    const long double p = fieldValue(buf);
    const long double q = fieldValue(buf + kPlanetRecord);
    long double value = p + (jd - J) * (q - p) / 5.0L;
    if (value > kWrap) value = value - kWrap;
    return value;
}

}  // namespace athanor
