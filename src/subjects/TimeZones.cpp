#include "subjects/TimeZones.h"

#include "foundations/Calendar.h"
#include "foundations/Binary.h"
#include "foundations/BinaryReals.h"
#include "foundations/FileError.h"
#include "foundations/TextFile.h"
#include "subjects/BirthStamp.h"
#include "subjects/CoordText.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <stdexcept>
#include <unordered_map>

#include <fcntl.h>
#include <unistd.h>

namespace athanor {

namespace fs = std::filesystem;

namespace {

constexpr int kValueOffset = 0;
constexpr int kCodeOffset = 10;
constexpr int kCorrectionOffset = 16;

constexpr long double kNoReformDay = 1721423;           // whole part of "no reform date known"
constexpr long double kFirstGregorianDay = 2299160.5L;  // 15 October 1582, 0:00
constexpr long double kSpecialRuleFrom = 2433919.5L;    // 30 September 1951

const char* const kEndCode = "****";
const char* const kContinueCode = "RICH";

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(Fd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const noexcept { return fd_; }

private:
    int fd_;
};

int openRetrying(const fs::path& path, int flags) {
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC, 0600);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

Fd openOrThrow(const fs::path& path, int flags) {
    const int fd = openRetrying(path, flags);
    if (fd < 0) throw FileError::fromErrno(path, errno);
    return Fd(fd);
}

std::string codeAt(std::string_view bytes, std::size_t k) {
    return readField(reinterpret_cast<const std::uint8_t*>(bytes.data()) + k * kZoneRecordSize + kCodeOffset,
                     kZoneCodeCapacity);
}

// Appends up to `limit` bytes from `offset` on, fewer only at the end of the file.
void readUpTo(const Fd& fd, const fs::path& path, off_t offset, std::size_t limit, std::string& out) {
    constexpr std::size_t kChunk = 1 << 16;
    while (limit > 0) {
        const std::size_t at = out.size();
        const std::size_t want = std::min(limit, kChunk);
        out.resize(at + want);
        const ssize_t got = ::pread(fd.get(), out.data() + at, want, offset);
        const int err = errno;
        out.resize(at + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
        if (got < 0) {
            if (err == EINTR) continue;
            throw FileError::fromErrno(path, err);
        }
        if (got == 0) break;
        offset += got;
        limit -= static_cast<std::size_t>(got);
    }
}

// Whole records from record `start` on, up to (not including) the first end record or to
// the end of the file.
std::string readRecordsFrom(const Fd& fd, const fs::path& path, std::int64_t start) {
    std::string bytes;
    const off_t offset = static_cast<off_t>(start) * static_cast<off_t>(kZoneRecordSize);
    std::size_t checked = 0;  // records already looked at for the end code
    for (;;) {
        const std::size_t before = bytes.size();
        readUpTo(fd, path, offset + static_cast<off_t>(before), 256 * kZoneRecordSize, bytes);
        if (bytes.size() == before) break;
        for (; (checked + 1) * kZoneRecordSize <= bytes.size(); ++checked) {
            if (codeAt(bytes, checked) == kEndCode) {
                bytes.resize(checked * kZoneRecordSize);
                return bytes;
            }
        }
    }
    bytes.resize(bytes.size() - bytes.size() % kZoneRecordSize);
    return bytes;
}

// What the look-ups keep between them. Every look-up still reads the bytes its answer rests
// on and compares them with those kept, so a file replaced or rewritten in any way (in
// place, at the same size, within the same clock tick) is read afresh; what is saved is
// resolving, parsing, decoding and the texts of the record list.
std::mutex cacheMutex;
// A full cache starts over. The record budget bounds what a damaged atlas (a table without
// its end record runs to the end of Database.cll) can make the program hold.
constexpr std::size_t kCachedPaths = 32;
constexpr std::size_t kCachedIndexes = 4;
constexpr std::size_t kCachedTables = 32;
constexpr std::size_t kCachedRecords = 100000;

std::string cacheKey(std::string_view a, std::string_view b) {
    std::string key(a);
    key += '\0';  // in no path
    key += b;
    return key;
}

// A resolved path is kept only when every component was found as spelt: resolving again
// then gives the same path for as long as it opens. A component matched in another case
// could lose to a later file spelt exactly, so such paths are resolved at every look-up.
bool spelledAsAsked(const DataRoot& root, std::string_view relative, const fs::path& resolved) {
    fs::path expected = root.root();
    std::string part;
    for (std::size_t i = 0; i <= relative.size(); ++i) {
        if (i < relative.size() && relative[i] != '\\' && relative[i] != '/') {
            part += relative[i];
            continue;
        }
        if (part == "..") return false;
        if (!part.empty() && part != ".") expected /= part;
        part.clear();
    }
    return expected == resolved;
}

// Opens a file of the program folder for reading; `path` receives where it was found.
Fd openData(const DataRoot& root, std::string_view relative, fs::path& path) {
    static std::unordered_map<std::string, fs::path> resolved;
    const std::string key = cacheKey(root.root().native(), relative);
    path.clear();
    {
        std::lock_guard guard(cacheMutex);
        if (const auto it = resolved.find(key); it != resolved.end()) path = it->second;
    }
    if (!path.empty()) {
        if (const int fd = openRetrying(path, O_RDONLY); fd >= 0) return Fd(fd);
        std::lock_guard guard(cacheMutex);
        resolved.erase(key);
    }
    path = root.resolve(relative);
    Fd fd = openOrThrow(path, O_RDONLY);
    if (spelledAsAsked(root, relative, path)) {
        std::lock_guard guard(cacheMutex);
        if (resolved.size() >= kCachedPaths) resolved.clear();
        resolved[key] = path;
    }
    return fd;
}

// The index of Database.cll: the start record of each table, by the first twelve
// characters of its line (the first line wins); -1 where that line's start is unreadable.
struct ForeignIndex {
    fs::path path;
    std::string bytes;
    std::unordered_map<std::string, std::int64_t> starts;
};

std::shared_ptr<const ForeignIndex> foreignIndex(const DataRoot& root) {
    static std::unordered_map<std::string, std::shared_ptr<const ForeignIndex>> kept;
    fs::path path;
    const Fd fd = openData(root, kForeignTableIndex, path);
    std::shared_ptr<const ForeignIndex> held;
    {
        std::lock_guard guard(cacheMutex);
        if (const auto it = kept.find(path.native()); it != kept.end()) held = it->second;
    }
    thread_local std::string bytes;  // the buffer outlives the look-up: no allocation when the index is unchanged
    bytes.clear();
    if (held) {
        readUpTo(fd, path, 0, held->bytes.size() + 1, bytes);
        if (bytes == held->bytes) return held;
    }
    readUpTo(fd, path, static_cast<off_t>(bytes.size()), std::numeric_limits<std::size_t>::max(), bytes);

    auto index = std::make_shared<ForeignIndex>();
    index->path = path;
    for (const std::string& line : splitLines(bytes)) {
        auto [it, added] = index->starts.try_emplace(line.substr(0, 12), -1);
        if (!added) continue;
        const auto start = parseInteger(line.size() > 14 ? std::string_view(line).substr(14, 6) : std::string_view{});
        if (start && *start >= 0) it->second = *start;
    }
    index->bytes = bytes;
    std::lock_guard guard(cacheMutex);
    if (kept.size() >= kCachedIndexes) kept.clear();
    kept[path.native()] = index;
    return index;
}

// The start record of a foreign table in Database.cll, from the index; nothing when the
// index does not list the table.
std::optional<std::int64_t> indexedStartIfListed(const DataRoot& root, const std::string& table) {
    const auto index = foreignIndex(root);
    const auto it = index->starts.find(table);
    if (it == index->starts.end()) return std::nullopt;
    if (it->second < 0)
        throw FileError(index->path, "registro inicial ilegible para la tabla " + table, FileFault::Damaged);
    return it->second;
}

std::int64_t indexedStart(const DataRoot& root, const std::string& table) {
    if (const auto start = indexedStartIfListed(root, table)) return *start;
    throw FileError(root.resolve(kForeignTableIndex), "la tabla " + table + " no figura en el indice",
                    FileFault::Damaged);
}

bool isIndexed(const DataRoot& root, const std::string& table) { return indexedStartIfListed(root, table).has_value(); }

struct DecodedTable {
    std::string bytes;  // the records as read
    std::vector<ZoneRecord> records;
    std::vector<std::string> lines;  // of the record list, one a record; empty for "RICH"
};

struct Table {
    fs::path source;  // the file holding it, for messages
    std::shared_ptr<const DecodedTable> data;
    const std::vector<ZoneRecord>& records() const { return data->records; }
};

// A table's records, from its first up to, not including, the end record, or to the end of
// the source.
Table readTable(const DataRoot& root, bool italian, const std::string& table) {
    static std::unordered_map<std::string, std::shared_ptr<const DecodedTable>> kept;
    static std::size_t keptRecords = 0;
    Table t;
    const std::int64_t start = italian ? 0 : indexedStart(root, table);
    const Fd fd = italian ? openData(root, std::string(kCalendarFolder) + "\\" + table, t.source)
                          : openData(root, kForeignTables, t.source);
    const std::string key = cacheKey(t.source.native(), std::to_string(start));
    std::shared_ptr<const DecodedTable> held;
    {
        std::lock_guard guard(cacheMutex);
        if (const auto it = kept.find(key); it != kept.end()) held = it->second;
    }
    const off_t offset = static_cast<off_t>(start) * static_cast<off_t>(kZoneRecordSize);
    if (held) {
        // The same records, then the end record or the end of the file: the same table.
        const std::size_t n = held->bytes.size();
        thread_local std::string now;
        now.clear();
        readUpTo(fd, t.source, offset, n + kZoneRecordSize, now);
        if (now.size() >= n && now.compare(0, n, held->bytes) == 0 &&
            (now.size() - n < kZoneRecordSize || codeAt(now, n / kZoneRecordSize) == kEndCode)) {
            t.data = std::move(held);
            return t;
        }
    }

    auto decoded = std::make_shared<DecodedTable>();
    decoded->bytes = readRecordsFrom(fd, t.source, start);
    const std::string& back = decoded->bytes;
    const std::size_t count = back.size() / kZoneRecordSize;
    decoded->records.reserve(count);
    decoded->lines.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        ZoneRecord r = decodeZoneRecord(
            std::span(reinterpret_cast<const std::uint8_t*>(back.data()) + k * kZoneRecordSize, kZoneRecordSize));
        // A date or table number no table can hold (an 80-bit value of 1e714, a NaN) would be
        // turned into text and integers further on: the table is damaged, and says which.
        if (!std::isfinite(r.value) || std::fabs(r.value) > 1.0e9L || !std::isfinite(r.correction) ||
            std::fabs(r.correction) > 24.0)
            throw FileError(t.source,
                            "la tabla " + table +
                                " tiene un registro da\xF1"
                                "ado (" +
                                std::to_string(k + 1) + ")",
                            FileFault::Damaged);
        decoded->lines.push_back(r.code == kContinueCode ? std::string() : zoneRecordLine(r));
        decoded->records.push_back(std::move(r));
    }
    t.data = decoded;
    std::lock_guard guard(cacheMutex);
    if (kept.size() >= kCachedTables || keptRecords + count > kCachedRecords) {
        kept.clear();
        keptRecords = 0;
    }
    if (count <= kCachedRecords) {
        if (const auto it = kept.find(key); it != kept.end()) keptRecords -= it->second->records.size();
        kept[key] = std::move(decoded);
        keptRecords += count;
    }
    return t;
}

// The table a "RICH" record continues in. When no such table exists the fault lies in the
// record that names it: the file holding that record is the damaged one.
Table continuedTable(const DataRoot& root, bool italian, const fs::path& from, const std::string& table,
                     const std::string& next) {
    const bool exists = italian ? root.exists(std::string(kCalendarFolder) + "\\" + next) : isIndexed(root, next);
    if (!exists && (!italian || root.exists(kForeignTableIndex)))
        throw FileError(from, "la tabla " + table + " contin\xFA" "a en la tabla " + next + ", que no existe",
                        FileFault::Damaged);
    return readTable(root, italian, next);
}

std::string firstChars(std::string s, std::size_t n) {
    if (s.size() > n) s.resize(n);
    return s;
}

}  // namespace

ZoneRecord decodeZoneRecord(std::span<const std::uint8_t> record) {
    if (record.size() < kZoneRecordSize) throw std::invalid_argument("decodeZoneRecord: short record");
    const std::uint8_t* p = record.data();
    ZoneRecord r;
    r.value = decodeExtended80(p + kValueOffset);
    r.code = readField(p + kCodeOffset, kZoneCodeCapacity);
    r.correction = getF64(p + kCorrectionOffset);
    return r;
}

Bytes encodeZoneRecord(const ZoneRecord& record) {
    Bytes out(kZoneRecordSize, 0);
    std::uint8_t* p = out.data();
    encodeExtended80(record.value, p + kValueOffset);
    writeField(p + kCodeOffset, kZoneCodeCapacity, record.code);
    putF64(p + kCorrectionOffset, record.correction);
    return out;
}

std::string zoneDecimalText(long double v) {
    std::string text = correctionText(v);
    if (!text.empty() && text.front() == '+') text.erase(0, 1);
    return text;
}

std::string zoneRecordLine(const ZoneRecord& record) {
    const double c = record.correction;
    return dateTextAuto(record.date()) + " " + (c >= 0 ? "+" : "-") + firstChars(zoneDecimalText(std::fabs(c)), 5) +
           " " + record.code;
}

ZoneLookup lookUpZone(const DataRoot& root, const LocalityRecord& place, LocalityListKind list,
                      const LocalDateTime& when, int calendarRule) {
    const bool italian = list == LocalityListKind::Italian;
    ZoneLookup out;
    out.tableName = tableFileName(place.tableNumber);
    const bool special = out.tableName == kSpecialTable;
    const long double b = julianDayFromCivil(1, when.minute, when.hour, when.year, when.month, when.day).jd;

    Table table = readTable(root, italian, out.tableName);
    if (table.records().size() < 2)
        throw FileError(table.source, "Read beyond end of file (table " + out.tableName + " has no record 1)",
                        FileFault::Damaged);

    // The calendar, from the reform date of record 0.
    const ZoneRecord& reform = table.records()[0];
    long double s = reform.date();
    out.recordList.push_back(table.data->lines[0]);
    long double lastListed = s;
    if (reform.code == "GREG") {
        if (italian) s -= 1;
        if (std::trunc(s) == kNoReformDay) out.gregorian = !(calendarRule == 1 && b < 2299161.0L);
        else out.gregorian = !(b <= s);
        if (calendarRule == 1 && b > kFirstGregorianDay) out.gregorian = true;
    } else {
        out.gregorian = true;
    }
    out.calendar = calendarFieldText(out.gregorian ? 1 : 0);

    const ZoneRecord& lmt = table.records()[1];
    out.localMeanTime = lmt.code == "LMT " && lmt.date() >= b;

    const long double j =
        julianDayFromCivil(out.gregorian ? 1 : 0, when.minute, when.hour, when.year, when.month, when.day).jd;
    out.localJulianDay = j;

    // The scan: stop at the first record dated on or after J; the correction is that of the
    // record before it (of the first record when there is none, of the last when all are before).
    std::set<std::string> visited{out.tableName};
    bool stopped = false, havePrevious = false, switched = false;
    double previous = 0, stopping = 0;
    for (std::size_t k = 1; k < table.records().size();) {
        const ZoneRecord& r = table.records()[k];
        if (r.code == kContinueCode) {
            if (!std::isfinite(r.value) || r.value < 0 || r.value > 99999999.0L)
                throw FileError(table.source, "registro RICH ilegible en la tabla " + out.tableName,
                                FileFault::Damaged);
            const std::string next = continuationFileName(std::llround(r.value));
            if (!visited.insert(next).second)
                throw FileError(table.source, "la tabla " + next + " se continua a si misma", FileFault::Damaged);
            out.recordList.push_back("CAMBIO FILE: " + next);
            table = continuedTable(root, italian, table.source, out.tableName, next);
            switched = true;
            k = 1;
            continue;
        }
        const long double d = r.date();
        if (!switched || d > lastListed) {
            out.recordList.push_back(table.data->lines[k]);
            lastListed = d;
        }
        if (d >= j) {
            stopped = true;
            stopping = r.correction;
            break;
        }
        havePrevious = true;
        previous = r.correction;
        ++k;
    }
    if (!stopped && !havePrevious)
        throw FileError(table.source, "la tabla " + out.tableName + " no tiene registros de cambio",
                        FileFault::Damaged);
    const double c = havePrevious ? previous : stopping;

    out.correctionText = correctionText(c);
    if (out.localMeanTime) {
        const long double v = place.longitude * 4.0L / 60.0L;
        out.correctionText = (v >= 0 ? "-" : "+") + firstChars(zoneDecimalText(std::fabs(v)), 10);
    }
    out.correction = correctionValue(out.correctionText);
    out.outdatedNote = italian && when.year > 2010;

    out.dateText = dateTextCalendar(j, out.gregorian ? 1 : 0);
    out.julianDay = universalJulianDay(j, out.correction);
    out.julianDayText = firstChars(zoneDecimalText(out.julianDay), 11);
    out.placeName = place.name;
    out.country = place.country;
    out.coordText = coordTextFromDegrees(place.latitude, place.longitude);

    if (special && out.julianDay > kSpecialRuleFrom) {
        out.correctionText = "-5";
        out.correction = -5;
    }
    return out;
}

}  // namespace athanor
