#pragma once
#include "foundations/DataRoot.h"
#include "foundations/RecordFile.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace athanor {

// The two locality lists: files of 88-byte records, record 0 a header, records 1..N the
// places sorted by name (the Italian list by the name as stored, the foreign list by the
// folded name).

inline constexpr std::size_t kLocalityRecordSize = 88;
inline constexpr int kLocalityNameCapacity = 31;
inline constexpr int kLocalityCountryCapacity = 23;

struct LocalityRecord {
    std::string name;              // Windows-1252; a "*" pair marks a part shown in brackets
    long double latitude = 0;      // degrees, north positive
    long double longitude = 0;     // degrees, east positive
    std::int32_t tableNumber = 0;  // nine digits; the last eight name the table file
    std::string country;

    bool operator==(const LocalityRecord&) const = default;
};

// Offsets 0 name, 32 latitude (80-bit), 48 longitude (80-bit), 60 table number (int32),
// 64 country; the unused bytes are written as zero.
LocalityRecord decodeLocality(std::span<const std::uint8_t> record);
Bytes encodeLocality(const LocalityRecord& place);

enum class LocalityListKind { Italian, Foreign };

// "Localita\\ITALIA.LOC" or "Localita\\ESTERO.LOC".
const char* localityListFile(LocalityListKind kind);

// Folding before comparison: accented small letters lose their accents, a-z are
// upper-cased, accented capitals lose theirs, "-" and "(" become blanks, and a leading
// apostrophe is dropped. Other characters stay.
std::string foldLocalityName(std::string_view name);

// The table file of a place: the decimal text of its table number without the first
// digit, then ".CAL" (100920000 -> "00920000.CAL").
std::string tableFileName(std::int32_t tableNumber);

// The table a continuation record points to: its number padded with "0" to eight
// characters, then ".CAL".
std::string continuationFileName(std::int64_t number);

// The name as the windows show it: the first "*" as "(", the next as ")".
std::string shownLocalityName(std::string_view name);

// One line of the list window: the shown name and the country, each without trailing
// blanks, set apart by a dash that no stored name holds ("MILANO \x97 ITALIA").
std::string localityLine(const LocalityRecord& place);

inline constexpr int kLocalityWindowLines = 7;

// One list file, read whole when the list is made: a search reads no file, and a list file
// replaced or cut short while the list is in use cannot change or break what it shows. N
// (count) is the record count less the header.
class LocalityList {
public:
    // FileError when the list is missing or unreadable.
    LocalityList(const DataRoot& root, LocalityListKind kind);

    LocalityListKind kind() const noexcept { return kind_; }
    bool italian() const noexcept { return kind_ == LocalityListKind::Italian; }
    std::int64_t count() const noexcept { return count_; }

    // Record k, 0 <= k <= N.
    LocalityRecord record(std::int64_t k) const;

    // The fixed 100-step bisection over the names for a typed prefix; returns its last
    // mid, the last place that sorts below the prefix padded with "!" (so the exact name
    // when it is listed).
    std::int64_t bisect(std::string_view prefix) const;

    // The first place whose name (folded as the search folds it) starts with the typed text
    // folded; 0 when none does or the text is empty.
    std::int64_t firstStartingWith(std::string_view typed) const;

    // Up to `limit` places whose name (folded for the foreign list, trailing blanks aside)
    // is exactly the typed text folded, in list order.
    std::vector<std::int64_t> exactMatches(std::string_view typed, std::size_t limit = 2) const;

    // The seven lines around a centre (raised to 3 when below 3): records centre-3 ..
    // centre+3; a line past the end of the list is empty.
    std::array<std::string, kLocalityWindowLines> windowLines(std::int64_t centre) const;

private:
    std::string compareName(std::int64_t k) const;

    const std::uint8_t* at(std::int64_t k) const;

    std::filesystem::path path_;
    Bytes records_;  // every whole record, the header first
    LocalityListKind kind_;
    std::int64_t count_ = 0;
};

}  // namespace athanor
