#pragma once
#include "foundations/DataRoot.h"
#include "foundations/FileError.h"
#include "subjects/ArchiveOps.h"
#include "subjects/LocalityBrowser.h"
#include "subjects/TimeZones.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace athanor {

// The birth-data entry: what its window checks and computes, as plain code. The window
// adds the widgets, the colours and the message boxes.

inline constexpr const char* kMessageBadDate = "Fecha Incorrectas";
inline constexpr const char* kMessageNoName = "Falta el nombre de la persona";
inline constexpr const char* kMessageNoCalendar = "Falta indicaci\xF3n  Calendario (GREG / JUL)";
inline constexpr const char* kMessageNoLocality = "Falta el nombre de la localidad";
inline constexpr const char* kMessageBadCoordinates = "Coordenadas incorrectass o faltantes";
inline constexpr const char* kMessageNoCorrection = "Falta correcci\xF3n Coordenadas total";
inline constexpr const char* kMessageBadManualCoordinates = "Coordenadas Incorrectas";
inline constexpr const char* kOutdatedTimesNote = "TIEMPOS DE REG. NO ACTUALIZADOS";
// The name field at the very first opening.
inline constexpr const char* kFirstSubjectName = "HOY";

// ---- keyboard movement --------------------------------------------------------------

enum class EntryField { Name, Day, Month, Year, Hour, Minute, Place };
enum class EntryKey { Enter, Right, Left, Up, Down };

// The field a key moves to; nullopt when the key does not move (Enter in the place field
// chooses a place instead).
std::optional<EntryField> entryFieldAfterKey(EntryField from, EntryKey key);

// The length at which a date or time field is complete (2, or 4 for the year; 0 for the
// name and the place), and the field the focus then moves on to.
int entryFieldLength(EntryField field);
std::optional<EntryField> entryFieldWhenFull(EntryField field);

// ---- the date check -----------------------------------------------------------------

// Day, month, year, hour and minute as typed.
inline constexpr int kDateFieldCount = 5;
using DateTexts = std::array<std::string, kDateFieldCount>;
EntryField dateField(int index);  // 0 Day .. 4 Minute

struct DateCheck {
    enum class Outcome {
        Incomplete,  // a field is empty: not valid, no message
        Invalid,     // a field is not a whole number in its range: "Fecha Incorrectas"
        Valid,
    };
    Outcome outcome = Outcome::Incomplete;
    int passed = 0;   // fields 0 .. passed-1 were checked and turn aqua
    int failed = -1;  // the field that turns red, is emptied and takes the focus
    DateTexts trimmed{};
    LocalDateTime when;
    long double gregorianJulianDay = 0;  // the first value for the look-up

    bool valid() const { return outcome == Outcome::Valid; }
};

// Each field trimmed of blanks and checked in order (day 0-31, month 0-12, year 0-2080,
// hour 0-23, minute 0-59, digits only); the first that fails stops the check.
DateCheck checkDate(const DateTexts& fields);

// Whether the date exists in the calendar a result field names ("GREG", "GIUL"); true when
// the field names none. The days a reform skipped, and 29 February of a year that is leap
// in one calendar only, exist in one of them.
bool existsInCalendar(const LocalDateTime& when, std::string_view calendarField);
// The check fails on the day field: "Fecha Incorrectas" there.
void refuseDay(DateCheck& check);

// A date or time field as it changes: blanks removed.
std::string trimmedDateField(std::string_view text);

// ---- results ------------------------------------------------------------------------

// The local mean time correction of a longitude (degrees, east positive): UT = local
// time + C with C = -longitude x 4/60 hours, shown as "-" and its magnitude for east
// (and 0), "+" for west, at most 10 characters of the magnitude: 12.5 -> "-0,83333333".
std::string localMeanTimeText(long double longitude);

// The same for the coordinate text of the results; nullopt when it is not valid.
std::optional<std::string> localMeanTimeFromCoord(std::string_view coordText);

// "GIUL" or "GREG" typed into the calendar field: the Julian day of the local date and
// time in that calendar, plus the correction when it reads as a number (so the field
// keeps showing Universal Time), as its first 11 characters. "" for any other calendar
// text or an invalid date.
std::string julianDayForCalendar(std::string_view calendar, const DateTexts& date, std::string_view correction);

// ---- "Continuar" --------------------------------------------------------------------

// The fields the final checks read.
struct EntryForm {
    std::string name;  // EditSogg
    DateTexts date{};
    std::string calendar;    // EditCalend
    std::string locality;    // EditLocEstesa
    std::string coordText;   // EditCoord
    std::string correction;  // EditFuso
    std::string julianDay;   // EditJD
    std::string country;     // EditStato
};

struct ContinueCheck {
    bool ok = false;
    std::string message;  // the fixed text of the failing check; "" for none
    bool error = false;   // the date check's own message is an error, the others warnings
    DateCheck date;       // when the date was checked
    SaveInput handOff;    // what the save window receives, when ok
};

// The checks in order (name, calendar, date, locality, coordinates, correction), stopping
// at the first failure; then the hand-off.
ContinueCheck checkContinue(const EntryForm& form);

// ---- manual coordinates -------------------------------------------------------------

// The manual entry panel: latitude in degrees and minutes, longitude either in degrees and
// minutes or in hours, minutes and seconds (one form active at a time).
class ManualCoordinates {
public:
    enum Field {
        LatDegrees,      // EditGrdLat
        LatLetter,       // EditNS
        LatMinutes,      // EditPriLat
        LonDegrees,      // EditGrdLon
        LonLetter,       // EditEWgrd
        LonMinutes,      // EditPriLon
        LonHours,        // EditOreLon
        LonTimeMinutes,  // EditMinLon
        LonSeconds,      // EditSecLon
        LonTimeLetter,   // EditEWore
        FieldCount
    };
    enum class Form { Degrees, Hours };
    enum class State { Blank, Valid, Invalid };
    enum class Move { Next, Previous, Up, Down };

    // Copies a coordinate text into the latitude and degree fields, empties the hour
    // fields and makes the degree form active.
    void open(std::string_view coordText);

    // Entering a field: a degree field makes the degree form active and empties the hour
    // fields, an hour field the reverse; the latitude fields belong to both.
    void enter(Field field);
    Form form() const noexcept { return form_; }

    // A field's text as typed (letters are upper-cased).
    void setText(Field field, std::string_view text);
    const std::string& text(Field field) const { return text_[field]; }
    State state(Field field) const { return state_[field]; }

    // After every key: each field trimmed and checked, emptied when invalid; an empty field
    // of the other form stays blank. When the active form is complete and valid the
    // coordinates are built, the other form's fields filled, and the text kept. Returns
    // whether the coordinates were built.
    bool check();
    // The text of the last check that built the coordinates.
    const std::optional<std::string>& built() const noexcept { return built_; }

    // The number of characters that completes a field, and where the focus goes: nullopt
    // for Next past the last field of the active form (the OK button), or for a move that
    // leads nowhere.
    static int length(Field field);
    std::optional<Field> fieldAfter(Field from, Move move) const;

    static bool isDegreeField(Field f) { return f == LonDegrees || f == LonLetter || f == LonMinutes; }
    static bool isHourField(Field f) { return f >= LonHours && f <= LonTimeLetter; }

private:
    std::array<std::string, FieldCount> text_{};
    std::array<State, FieldCount> state_{};
    Form form_ = Form::Degrees;
    std::optional<std::string> built_;
};

// ---- the recompute flag and the look-up ---------------------------------------------

// The state of the window between events: the list in use with its place field, the
// chosen place, and the recompute-pending flag that the idle handler serves.
class BirthEntry {
public:
    explicit BirthEntry(DataRoot root) : root_(std::move(root)) {}

    // Opening the window: the Italian list at its start, no place chosen, a recompute
    // pending. FileError when the list is missing (the picker then stays closed).
    void open();
    // Closing the window: the list file closed, the place and a pending recompute forgotten.
    void close();

    bool hasList() const noexcept { return picker_ != nullptr; }
    LocalityPicker& picker() { return *picker_; }
    LocalityListKind listKind() const noexcept { return kind_; }

    // The other list at its start, the prefix and the chosen place forgotten, a recompute
    // pending. FileError when that list is missing.
    void switchList(LocalityListKind kind);

    // A place of the open list becomes the chosen place.
    void choose(std::int64_t record);
    const std::optional<LocalityRecord>& chosen() const noexcept { return chosen_; }
    // The place field edited after a choice: the chosen place no longer holds.
    void forgetPlace() noexcept {
        chosen_.reset();
        pending_ = true;
    }

    void markChanged() noexcept { pending_ = true; }
    bool pending() const noexcept { return pending_; }

    struct Recompute {
        bool ran = false;  // a recompute was pending
        DateCheck date;
        std::optional<ZoneLookup> lookup;  // when the date is valid and a place is chosen
        std::optional<FileError> error;    // the look-up failed: the results stay empty
    };
    // The idle handler's work: when a recompute is pending, the date check and, when the
    // date is valid and a place is chosen, the time-zone look-up with the settings'
    // calendar rule. The flag is cleared whatever happens, so a failing look-up is not
    // repeated at every idle moment.
    Recompute recompute(const DateTexts& date, int calendarRule);

private:
    DataRoot root_;
    std::unique_ptr<LocalityPicker> picker_;
    LocalityListKind kind_ = LocalityListKind::Italian;
    std::optional<LocalityRecord> chosen_;
    bool pending_ = false;
};

}  // namespace athanor
