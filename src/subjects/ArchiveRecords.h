#pragma once
#include "subjects/BirthMoment.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace athanor {

// The records of a subject archive: the name index (".ST1", 44 bytes), the birth data
// (".ST2", 385 bytes) and the notes (".ST3", 284 bytes). Every text field is a length
// byte followed by its capacity in bytes, the unused bytes written as zero.

inline constexpr std::size_t kIndexRecordSize = 44;
inline constexpr std::size_t kBirthRecordSize = 385;
inline constexpr std::size_t kNotesRecordSize = 284;

inline constexpr int kEntryCapacity = 43;
inline constexpr int kNameWidth = 38;  // name part of an index entry
inline constexpr int kRecordNumberWidth = 5;
inline constexpr int kMaxRecordNumber = 99999;

// Text of record 0 of every index: it points at the blank birth record 0.
inline constexpr std::string_view kIndexHeaderText = "0 Registro vuoto......................00000";

using IndexRecordBytes = std::array<std::uint8_t, kIndexRecordSize>;
using BirthRecordBytes = std::array<std::uint8_t, kBirthRecordSize>;
using NotesRecordBytes = std::array<std::uint8_t, kNotesRecordSize>;

IndexRecordBytes encodeIndexEntry(std::string_view text);
std::string decodeIndexEntry(const std::uint8_t* record);

// The index key of a subject: the name (upper case as entered) padded with blanks to 38
// characters, then the birth-record number as five digits. At most 43 characters.
std::string makeEntryText(std::string_view name, int recordNumber);

// The record number in the last five characters of an entry; nullopt when they are not
// five digits (a damaged entry, treated as a wrong selection).
std::optional<int> entryRecordNumber(std::string_view entry);

// The name part of an entry: its first 38 characters without trailing blanks.
std::string entryName(std::string_view entry);

struct BirthRecord {
    std::string birthStamp;     // 20: "YYYYMMDDhhmm" + correction
    std::string placeText;      // 39: coordinate text (12) + locality
    std::string calendarCode;   // 2: "GR" Gregorian, anything else Julian
    std::string country;        // 20
    std::string planetSummary;  // 72
    std::string cuspSummary;    // 60
    std::string aspectSummary;  // 124
    std::string reserved21;     // 21: empty when saved, kept by the modify operation
    std::string reserved12;     // 12: the same; shown by the delete window
    std::string notesNumber;    // 5: ".ST3" record, "00000" for none

    // Record 0: the first nine fields one blank each, the notes number five blanks.
    static BirthRecord blank();

    std::string coordText() const { return placeText.substr(0, 12); }
    std::string locality() const { return placeText.size() > 12 ? placeText.substr(12) : std::string(); }
    int calendarFlag() const { return calendarFlagOfCode(calendarCode); }
    bool gregorian() const { return calendarFlag() == 1; }
    // The notes record number; 0 when the field is not a number.
    int notesRecord() const;

    bool operator==(const BirthRecord&) const = default;
};

// Field capacities and offsets of the birth record, in field order.
inline constexpr std::array<int, 10> kBirthFieldCapacity = {20, 39, 2, 20, 72, 60, 124, 21, 12, 5};
inline constexpr std::array<int, 10> kBirthFieldOffset = {0, 21, 61, 64, 85, 158, 219, 344, 366, 379};

BirthRecordBytes encodeBirthRecord(const BirthRecord& r);
BirthRecord decodeBirthRecord(const std::uint8_t* record);

struct NotesRecord {
    std::array<std::string, 4> lines;  // capacity 70 each

    // Record 0: four fields of one blank.
    static NotesRecord blank();

    // Lines 1-3 as given, line 4 padded with blanks to 70, cut to 64 and followed by the
    // text-document number (five digits, or nothing).
    static NotesRecord fromNotes(const std::array<std::string, 4>& notes, std::string_view documentNumber);

    // Characters 65-69 of the fourth line: the text-document number, or "".
    std::string documentNumber() const;

    bool operator==(const NotesRecord&) const = default;
};

inline constexpr int kNotesCapacity = 70;

NotesRecordBytes encodeNotesRecord(const NotesRecord& r);
NotesRecord decodeNotesRecord(const std::uint8_t* record);

// Text helpers of the subject layer.
std::string trimRight(std::string_view s);
std::string trim(std::string_view s);
std::string padRight(std::string_view s, std::size_t width, char fill = ' ');

}  // namespace athanor
