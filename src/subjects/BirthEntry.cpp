#include "subjects/BirthEntry.h"

#include "foundations/Calendar.h"
#include "foundations/Format.h"
#include "foundations/TextFile.h"
#include "subjects/ArchiveRecords.h"
#include "subjects/CoordText.h"

#include <algorithm>
#include <cmath>

namespace athanor {

namespace {

// The digits of a trimmed text as a number, when the text is nothing but digits.
std::optional<int> wholeNumber(std::string_view t) {
    if (t.empty() || t.size() > 9) return std::nullopt;
    int v = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

std::string firstChars(std::string s, std::size_t n) {
    if (s.size() > n) s.resize(n);
    return s;
}

std::string upperLetters(std::string_view text) {
    std::string s(text);
    upperCase(s);
    return s;
}

struct Range {
    int low, high;
};
constexpr std::array<Range, kDateFieldCount> kDateRanges = {{{0, 31}, {0, 12}, {0, 2080}, {0, 23}, {0, 59}}};

}  // namespace

// ---- keyboard movement --------------------------------------------------------------

std::optional<EntryField> entryFieldAfterKey(EntryField from, EntryKey key) {
    using F = EntryField;
    using K = EntryKey;
    const bool forward = key == K::Enter || key == K::Right;
    switch (from) {
    case F::Name:
        if (key == K::Enter) return F::Day;
        break;
    case F::Day:
        if (forward) return F::Month;
        if (key == K::Down) return F::Hour;
        break;
    case F::Month:
        if (forward) return F::Year;
        if (key == K::Left) return F::Day;
        if (key == K::Down) return F::Minute;
        break;
    case F::Year:
        if (forward) return F::Hour;
        if (key == K::Left) return F::Month;
        break;
    case F::Hour:
        if (forward) return F::Minute;
        if (key == K::Left) return F::Year;
        if (key == K::Up) return F::Day;
        break;
    case F::Minute:
        if (key == K::Enter) return F::Place;
        if (key == K::Left) return F::Hour;
        if (key == K::Up) return F::Month;
        break;
    case F::Place:
        if (key == K::Right) return F::Name;
        if (key == K::Left) return F::Minute;
        break;
    }
    return std::nullopt;
}

int entryFieldLength(EntryField field) {
    switch (field) {
    case EntryField::Day:
    case EntryField::Month:
    case EntryField::Hour:
    case EntryField::Minute:
        return 2;
    case EntryField::Year:
        return 4;
    default:
        return 0;
    }
}

std::optional<EntryField> entryFieldWhenFull(EntryField field) {
    switch (field) {
    case EntryField::Day:
        return EntryField::Month;
    case EntryField::Month:
        return EntryField::Year;
    case EntryField::Year:
        return EntryField::Hour;
    case EntryField::Hour:
        return EntryField::Minute;
    case EntryField::Minute:
        return EntryField::Place;
    default:
        return std::nullopt;
    }
}

// ---- the date check -----------------------------------------------------------------

EntryField dateField(int index) {
    static constexpr EntryField fields[kDateFieldCount] = {EntryField::Day, EntryField::Month, EntryField::Year,
                                                           EntryField::Hour, EntryField::Minute};
    return fields[index];
}

std::string trimmedDateField(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != ' ') out += c;
    return out;
}

bool existsInCalendar(const LocalDateTime& when, std::string_view calendarField) {
    const auto flag = calendarFlagOfField(calendarField);
    return !flag || civilDateExists(when.year, when.month, when.day, *flag);
}

void refuseDay(DateCheck& check) {
    check.outcome = DateCheck::Outcome::Invalid;
    check.failed = 0;
    check.passed = 0;
}

DateCheck checkDate(const DateTexts& fields) {
    DateCheck check;
    int filled = 0;
    for (int i = 0; i < kDateFieldCount; ++i) check.trimmed[i] = trim(fields[i]);
    while (filled < kDateFieldCount && !check.trimmed[filled].empty()) ++filled;
    // The fields before the first empty one are checked as they are typed, so that a wrong
    // one is reported when it is complete, not when the last field is. (No prefix of a
    // number in range is out of range, so a field still being typed never fails.)
    std::array<int, kDateFieldCount> v{};
    for (int i = 0; i < filled; ++i) {
        const auto n = wholeNumber(check.trimmed[i]);
        if (!n || *n < kDateRanges[i].low || *n > kDateRanges[i].high) {
            check.outcome = DateCheck::Outcome::Invalid;
            check.failed = i;
            return check;
        }
        v[i] = *n;
        check.passed = i + 1;
    }
    const bool dateComplete = filled >= 3 && check.trimmed[2].size() == 4;
    if (filled < kDateFieldCount && !dateComplete) {
        check.passed = 0;  // nothing turns aqua before the date is whole
        return check;      // Incomplete, no message
    }
    // A date no calendar has (day or month 0, 31/04, 30/02) is refused at once; one that
    // only the other calendar has (29/02/1900) waits for the calendar of the place.
    if (!civilDateExists(v[2], v[1], v[0], 0) && !civilDateExists(v[2], v[1], v[0], 1)) {
        check.outcome = DateCheck::Outcome::Invalid;
        check.failed = v[1] == 0 ? 1 : 0;
        check.passed = check.failed;
        return check;
    }
    if (filled < kDateFieldCount) {
        check.passed = 0;
        return check;  // the date is whole and exists; the time is still being typed
    }
    check.outcome = DateCheck::Outcome::Valid;
    check.when = LocalDateTime{v[0], v[1], v[2], v[3], v[4]};
    check.gregorianJulianDay = julianDayFromCivil(1, v[4], v[3], v[2], v[1], v[0]).jd;
    return check;
}

// ---- results ------------------------------------------------------------------------

std::string localMeanTimeText(long double longitude) {
    const long double v = longitude * 4.0L / 60.0L;
    return (v >= 0 ? "-" : "+") + firstChars(zoneDecimalText(std::fabs(v)), 10);
}

std::optional<std::string> localMeanTimeFromCoord(std::string_view coordText) {
    const auto c = parseCoordText(coordText, CoordCheck::Entry);
    if (!c) return std::nullopt;
    return localMeanTimeText(c->longitude());
}

std::string julianDayForCalendar(std::string_view calendar, const DateTexts& date, std::string_view correction) {
    const auto flag = calendarFlagOfField(calendar);
    if (!flag) return {};
    const DateCheck d = checkDate(date);
    if (!d.valid()) return {};
    const BirthMoment shown(d.when, parseReal(correction).value_or(0), *flag);
    return firstChars(zoneDecimalText(shown.julianDay()), 11);
}

// ---- "Continuar" --------------------------------------------------------------------

ContinueCheck checkContinue(const EntryForm& form) {
    ContinueCheck out;
    auto fail = [&](const char* message) {
        out.message = message;
        return out;
    };
    const std::string name = trimRight(form.name);
    if (trim(name).empty()) return fail(kMessageNoName);

    const auto flag = calendarFlagOfField(form.calendar);
    if (!flag) return fail(kMessageNoCalendar);

    out.date = checkDate(form.date);
    if (out.date.valid() && !existsInCalendar(out.date.when, form.calendar)) refuseDay(out.date);
    if (out.date.outcome == DateCheck::Outcome::Invalid) {
        out.error = true;
        return fail(kMessageBadDate);
    }
    if (!out.date.valid()) return out;  // incomplete: no message

    if (trim(form.locality).empty()) return fail(kMessageNoLocality);
    if (!parseCoordText(form.coordText, CoordCheck::Entry)) return fail(kMessageBadCoordinates);
    // A correction that is no number would be saved as 0 and give a wrong chart without a
    // word: it counts as missing.
    const std::string correction = trim(form.correction);
    if (correction.empty() || !parseReal(correction)) return fail(kMessageNoCorrection);

    SaveInput& h = out.handOff;
    h.name = name.substr(0, kNameWidth);
    h.zoneText = zoneTextFromCorrection(correction);
    // The birth moment, once for the save and the chart: the date as the calendar has it
    // (day 0 is the last day of the month before), and C as the zone text gives it, which
    // is what the stamp will hold.
    h.moment = BirthMoment(calendarDate(out.date.when, *flag), correctionFromZone(h.zoneText), *flag);
    h.locality = form.locality;
    h.coordText = form.coordText;
    h.julianDay = parseRealOr(form.julianDay, h.moment.julianDay());
    h.country = form.country;
    out.ok = true;
    return out;
}

// ---- manual coordinates -------------------------------------------------------------

namespace {

using MC = ManualCoordinates;

struct FieldRule {
    int length;
    int high;      // numbers 0..high
    char letterA;  // letters: one of two (0 for numbers)
    char letterB;
};

constexpr std::array<FieldRule, MC::FieldCount> kManualRules = {{
    {2, 90, 0, 0},  // latitude degrees
    {1, 0, 'N', 'S'},
    {2, 59, 0, 0},   // latitude minutes
    {3, 180, 0, 0},  // longitude degrees
    {1, 0, 'E', 'W'},
    {2, 59, 0, 0},  // longitude minutes
    {2, 12, 0, 0},  // longitude hours
    {2, 59, 0, 0},  // minutes of time
    {2, 59, 0, 0},  // seconds of time
    {1, 0, 'E', 'W'},
}};

bool validManual(MC::Field f, std::string_view t) {
    const FieldRule& r = kManualRules[f];
    if (r.letterA) return t.size() == 1 && (t[0] == r.letterA || t[0] == r.letterB);
    const auto n = wholeNumber(t);
    return n && *n <= r.high;
}

// The rows of the panel, for Up and Down.
constexpr MC::Field kLatRow[] = {MC::LatDegrees, MC::LatLetter, MC::LatMinutes};
constexpr MC::Field kDegreeRow[] = {MC::LonDegrees, MC::LonLetter, MC::LonMinutes};
constexpr MC::Field kHourRow[] = {MC::LonHours, MC::LonTimeMinutes, MC::LonSeconds, MC::LonTimeLetter};

int columnOf(MC::Field f) {
    if (f <= MC::LatMinutes) return f - MC::LatDegrees;
    if (f <= MC::LonMinutes) return f - MC::LonDegrees;
    return f - MC::LonHours;
}

}  // namespace

void ManualCoordinates::open(std::string_view coordText) {
    auto part = [&](std::size_t from, std::size_t n) {
        return from < coordText.size() ? trim(coordText.substr(from, n)) : std::string();
    };
    text_[LatDegrees] = part(0, 2);
    text_[LatLetter] = upperLetters(part(2, 1));
    text_[LatMinutes] = part(3, 2);
    text_[LonDegrees] = part(6, 3);
    text_[LonLetter] = upperLetters(part(9, 1));
    text_[LonMinutes] = part(10, 2);
    for (Field f : kHourRow) text_[f].clear();
    state_.fill(State::Blank);
    form_ = Form::Degrees;
    built_.reset();
}

void ManualCoordinates::enter(Field field) {
    if (isDegreeField(field)) {
        form_ = Form::Degrees;
        for (Field f : kHourRow) {
            text_[f].clear();
            state_[f] = State::Blank;
        }
    } else if (isHourField(field)) {
        form_ = Form::Hours;
        for (Field f : kDegreeRow) {
            text_[f].clear();
            state_[f] = State::Blank;
        }
    }
}

void ManualCoordinates::setText(Field field, std::string_view text) {
    text_[field] = kManualRules[field].letterA ? upperLetters(text) : std::string(text);
}

bool ManualCoordinates::check() {
    built_.reset();
    bool complete = true;
    for (int i = 0; i < FieldCount; ++i) {
        const auto f = static_cast<Field>(i);
        const bool active = !(form_ == Form::Degrees ? isHourField(f) : isDegreeField(f));
        std::string& t = text_[f];
        t = trim(t);
        if (t.empty() && !active) {
            state_[f] = State::Blank;
            continue;
        }
        if (validManual(f, t)) {
            state_[f] = State::Valid;
        } else {
            state_[f] = State::Invalid;
            t.clear();
            if (active) complete = false;
        }
    }
    if (!complete) return false;

    auto num = [&](Field f) { return static_cast<long double>(*wholeNumber(text_[f])); };
    const long double latitude = num(LatDegrees) + num(LatMinutes) / 60.0L;
    if (latitude > 90) return false;
    if (form_ == Form::Degrees) {
        const long double longitude = num(LonDegrees) + num(LonMinutes) / 60.0L;
        if (longitude > 180) return false;
        const long long seconds = std::llround(longitude / 15.0L * 3600.0L);
        text_[LonHours] = zeroPadded(seconds / 3600, 2);
        text_[LonTimeMinutes] = zeroPadded(seconds % 3600 / 60, 2);
        text_[LonSeconds] = zeroPadded(seconds % 60, 2);
        text_[LonTimeLetter] = text_[LonLetter];
        for (Field f : kHourRow) state_[f] = State::Valid;
    } else {
        const long double longitude = 15.0L * (num(LonHours) + num(LonTimeMinutes) / 60.0L + num(LonSeconds) / 3600.0L);
        if (longitude > 180) return false;
        long long degrees = static_cast<long long>(std::trunc(longitude));
        long long minutes = std::llround((longitude - degrees) * 60.0L);
        if (minutes == 60) {
            ++degrees;
            minutes = 0;
        }
        text_[LonDegrees] = zeroPadded(degrees, 3);
        text_[LonMinutes] = zeroPadded(minutes, 2);
        text_[LonLetter] = text_[LonTimeLetter];
        for (Field f : kDegreeRow) state_[f] = State::Valid;
    }
    built_ = zeroPadded(*wholeNumber(text_[LatDegrees]), 2) + text_[LatLetter] +
             zeroPadded(*wholeNumber(text_[LatMinutes]), 2) + "-" + zeroPadded(*wholeNumber(text_[LonDegrees]), 3) +
             text_[LonLetter] + zeroPadded(*wholeNumber(text_[LonMinutes]), 2);
    return true;
}

int ManualCoordinates::length(Field field) { return kManualRules[field].length; }

std::optional<ManualCoordinates::Field> ManualCoordinates::fieldAfter(Field from, Move move) const {
    const bool degrees = form_ == Form::Degrees;
    switch (move) {
    case Move::Next:
        switch (from) {
        case LatDegrees:
            return LatLetter;
        case LatLetter:
            return LatMinutes;
        case LatMinutes:
            return degrees ? LonDegrees : LonHours;
        case LonDegrees:
            return LonLetter;
        case LonLetter:
            return LonMinutes;
        case LonHours:
            return LonTimeMinutes;
        case LonTimeMinutes:
            return LonSeconds;
        case LonSeconds:
            return LonTimeLetter;
        default:
            return std::nullopt;
        }
    case Move::Previous:
        switch (from) {
        case LatLetter:
            return LatDegrees;
        case LatMinutes:
            return LatLetter;
        case LonDegrees:
        case LonHours:
            return LatMinutes;
        case LonLetter:
            return LonDegrees;
        case LonMinutes:
            return LonLetter;
        case LonTimeMinutes:
            return LonHours;
        case LonSeconds:
            return LonTimeMinutes;
        case LonTimeLetter:
            return LonSeconds;
        default:
            return std::nullopt;
        }
    case Move::Up:
        if (from <= LatMinutes) return std::nullopt;
        return kLatRow[std::min(columnOf(from), 2)];
    case Move::Down:
        // Only to the longitude row in use: moving into the other form would empty this one.
        if (from > LatMinutes) return std::nullopt;
        return degrees ? kDegreeRow[columnOf(from)] : kHourRow[columnOf(from)];
    }
    return std::nullopt;
}

// ---- the recompute flag and the look-up ---------------------------------------------

void BirthEntry::open() {
    picker_.reset();
    chosen_.reset();
    kind_ = LocalityListKind::Italian;
    pending_ = true;
    picker_ = std::make_unique<LocalityPicker>(root_, kind_);
}

void BirthEntry::close() {
    picker_.reset();
    chosen_.reset();
    pending_ = false;  // nothing to recompute for a closed window
}

void BirthEntry::switchList(LocalityListKind kind) {
    picker_.reset();
    chosen_.reset();
    kind_ = kind;
    pending_ = true;
    picker_ = std::make_unique<LocalityPicker>(root_, kind_);
}

void BirthEntry::choose(std::int64_t record) {
    if (!picker_) return;
    chosen_ = picker_->list().record(record);
    pending_ = true;
}

BirthEntry::Recompute BirthEntry::recompute(const DateTexts& date, int calendarRule) {
    Recompute r;
    if (!pending_) return r;
    pending_ = false;
    r.ran = true;
    r.date = checkDate(date);
    if (!r.date.valid() || !chosen_) return r;
    try {
        r.lookup = lookUpZone(root_, *chosen_, kind_, r.date.when, calendarRule);
    } catch (const FileError& e) {
        r.error = e;
    }
    if (r.lookup && !existsInCalendar(r.date.when, r.lookup->calendar)) {
        r.lookup.reset();
        refuseDay(r.date);
    }
    return r;
}

}  // namespace athanor
