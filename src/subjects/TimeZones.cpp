#include "subjects/TimeZones.h"

#include "foundations/Calendar.h"
#include "foundations/Binary.h"
#include "foundations/BinaryReals.h"
#include "foundations/FileError.h"
#include "foundations/TextFile.h"
#include "subjects/BirthStamp.h"
#include "subjects/CoordText.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <stdexcept>

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
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const noexcept { return fd_; }

private:
    int fd_;
};

Fd openOrThrow(const fs::path& path, int flags) {
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC, 0600);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) throw FileError::fromErrno(path, errno);
    return Fd(fd);
}

std::string codeAt(std::string_view bytes, std::size_t k) {
    return readField(reinterpret_cast<const std::uint8_t*>(bytes.data()) + k * kZoneRecordSize + kCodeOffset,
                     kZoneCodeCapacity);
}

// Whole records from record `start` on, up to the end of the file or, with `untilEnd`, up
// to (not including) the first end record.
std::string readRecordsFrom(const fs::path& path, std::int64_t start, bool untilEnd) {
    Fd fd = openOrThrow(path, O_RDONLY);
    std::string bytes;
    char buf[64 * kZoneRecordSize];
    off_t offset = static_cast<off_t>(start) * static_cast<off_t>(kZoneRecordSize);
    std::size_t checked = 0;  // records already looked at for the end code
    for (;;) {
        const ssize_t got = ::pread(fd.get(), buf, sizeof buf, offset);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw FileError::fromErrno(path, errno);
        }
        if (got == 0) break;
        bytes.append(buf, static_cast<std::size_t>(got));
        offset += got;
        if (!untilEnd) continue;
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

// The start record of a foreign table in Database.cll, from the index; nothing when the
// index does not list the table.
std::optional<std::int64_t> indexedStartIfListed(const DataRoot& root, const std::string& table) {
    const fs::path index = root.resolve(kForeignTableIndex);
    // The index is read once and kept while the file stays the same (same size and time):
    // parsing its lines at every look-up was a good part of a look-up's time.
    struct Cached {
        fs::path path;
        fs::file_time_type time;
        std::uintmax_t size = 0;
        std::shared_ptr<const std::vector<std::string>> lines;
    };
    static std::mutex mutex;
    static Cached cached;
    std::error_code ec1, ec2;
    const auto time = fs::last_write_time(index, ec1);
    const auto size = fs::file_size(index, ec2);
    std::shared_ptr<const std::vector<std::string>> held;
    {
        std::lock_guard guard(mutex);
        if (!ec1 && !ec2 && cached.path == index && cached.time == time && cached.size == size) held = cached.lines;
    }
    if (!held) {
        held = std::make_shared<const std::vector<std::string>>(readLines(index));
        if (!ec1 && !ec2) {
            std::lock_guard guard(mutex);
            cached = Cached{index, time, size, held};
        }
    }
    const std::vector<std::string>& lines = *held;
    for (const std::string& line : lines) {
        if (line.size() < table.size() || line.compare(0, 12, table) != 0) continue;
        const auto start = parseInteger(line.size() > 14 ? std::string_view(line).substr(14, 6) : std::string_view{});
        if (!start || *start < 0)
            throw FileError(index, "registro inicial ilegible para la tabla " + table, FileFault::Damaged);
        return *start;
    }
    return std::nullopt;
}

std::int64_t indexedStart(const DataRoot& root, const std::string& table) {
    if (const auto start = indexedStartIfListed(root, table)) return *start;
    throw FileError(root.resolve(kForeignTableIndex), "la tabla " + table + " no figura en el indice",
                    FileFault::Damaged);
}

bool isIndexed(const DataRoot& root, const std::string& table) { return indexedStartIfListed(root, table).has_value(); }

struct Table {
    fs::path source;  // where it was copied from, for messages
    std::vector<ZoneRecord> records;
};

// A table's records, from its first up to, not including, the end record, or to the end of
// the source.
Table readTable(const DataRoot& root, bool italian, const std::string& table) {
    Table t;
    std::int64_t start = 0;
    if (italian) {
        t.source = root.resolve(std::string(kCalendarFolder) + "\\" + table);
    } else {
        start = indexedStart(root, table);
        t.source = root.resolve(kForeignTables);
    }
    const std::string back = readRecordsFrom(t.source, start, true);

    for (std::size_t k = 0; k * kZoneRecordSize < back.size(); ++k) {
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
        t.records.push_back(std::move(r));
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
    if (table.records.size() < 2)
        throw FileError(table.source, "Read beyond end of file (table " + out.tableName + " has no record 1)",
                        FileFault::Damaged);

    // The calendar, from the reform date of record 0.
    const ZoneRecord& reform = table.records[0];
    long double s = reform.date();
    out.recordList.push_back(zoneRecordLine(reform));
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

    const ZoneRecord& lmt = table.records[1];
    out.localMeanTime = lmt.code == "LMT " && lmt.date() >= b;

    const long double j =
        julianDayFromCivil(out.gregorian ? 1 : 0, when.minute, when.hour, when.year, when.month, when.day).jd;
    out.localJulianDay = j;

    // The scan: stop at the first record dated on or after J; the correction is that of the
    // record before it (of the first record when there is none, of the last when all are before).
    std::set<std::string> visited{out.tableName};
    bool stopped = false, havePrevious = false, switched = false;
    double previous = 0, stopping = 0;
    for (std::size_t k = 1; k < table.records.size();) {
        const ZoneRecord& r = table.records[k];
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
            out.recordList.push_back(zoneRecordLine(r));
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
