#pragma once
#include "foundations/DataRoot.h"
#include "foundations/RecordFile.h"
#include "subjects/BirthMoment.h"
#include "subjects/Localities.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace athanor {

// Time-zone tables: 24-byte records. Record 0 "GREG" dates the end of the Julian calendar,
// record 1 "LMT " the end of local mean time, then one record per change of legal time;
// "RICH" continues in another table and "****" ends a table inside Calendar\Database.cll.

inline constexpr std::size_t kZoneRecordSize = 24;
inline constexpr int kZoneCodeCapacity = 4;
// Dates are stored as Julian days plus 27 pi.
inline constexpr long double kZoneDateOffset = 84.823001646924417438491371348546578L;

struct ZoneRecord {
    long double value = 0;  // Julian day + 27 pi; for "RICH" the number of the next table
    std::string code;
    double correction = 0;  // hours, UT = local time + correction

    long double date() const { return value - kZoneDateOffset; }
    bool operator==(const ZoneRecord&) const = default;
};

// Offsets 0 value (80-bit), 10 code (length byte and 4 characters; byte 15 unused),
// 16 correction (64-bit real).
ZoneRecord decodeZoneRecord(std::span<const std::uint8_t> record);
Bytes encodeZoneRecord(const ZoneRecord& record);

inline constexpr const char* kCalendarFolder = "Calendar";
inline constexpr const char* kForeignTables = "Calendar\\Database.cll";
inline constexpr const char* kForeignTableIndex = "Calendar\\Elencal.002";
// The one table with a rule of its own (see lookUpZone).
inline constexpr const char* kSpecialTable = "00920000.CAL";

// The outcome of a look-up: what the entry window shows.
struct ZoneLookup {
    std::string tableName;  // of the place, "00000001.CAL"
    bool gregorian = true;
    std::string calendar;                 // "GREG" or "GIUL" (EditCalend)
    bool localMeanTime = false;           // CheckBoxLocale
    std::string correctionText;           // EditFuso: "+1", "-2", "-0,83333333", "-5"
    long double correction = 0;           // the value of correctionText
    long double localJulianDay = 0;       // J: the local date and time in the calendar found
    long double julianDay = 0;            // J + the correction shown / 24: Universal Time
    std::string julianDayText;            // EditJD: its first 11 characters
    std::string dateText;                 // EditDataEstesa: "DD/MM/YYYY hh:mm" of J
    std::string placeName;                // EditLocEstesa
    std::string country;                  // EditStato
    std::string coordText;                // EditCoord
    bool outdatedNote = false;            // LabNote: Italian list and a year after 2010
    std::vector<std::string> recordList;  // ComboBox2
};

// The time-zone look-up of a chosen place for a local date and time. `calendarRule` is line
// 4 of the general settings: 1 makes every date after 15 October 1582 Gregorian and a
// country without a reform date Julian before it; 0 leaves it to the country's table.
// The tables are read where they are; nothing is written. What a look-up decodes is kept for
// the next, which still reads the bytes and compares them, so a changed atlas is never
// answered from what it was. A missing list, index or table, a table not listed in the
// index, a damaged table and a loop of continuations end the look-up with FileError.
ZoneLookup lookUpZone(const DataRoot& root, const LocalityRecord& place, LocalityListKind list,
                      const LocalDateTime& when, int calendarRule);

// The decimal text of the float-to-text conversion (15 significant digits, "," as
// separator): 2451545.5 -> "2451545,5", -1 -> "-1".
std::string zoneDecimalText(long double v);

// One line of the record list: date text of the record's date, blank, sign of the
// correction and the first five characters of the decimal text of its magnitude, blank,
// code ("15/10/1582 12:00 +0 GREG", "01/01/1900 00:00 -1 CET").
std::string zoneRecordLine(const ZoneRecord& record);

}  // namespace athanor
