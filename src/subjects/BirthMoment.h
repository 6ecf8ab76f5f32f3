#pragma once
#include "foundations/Calendar.h"

#include <optional>
#include <string>
#include <string_view>

namespace athanor {

// A local civil date and time (whole numbers, the year astronomical).
struct LocalDateTime {
    int day = 0, month = 0, year = 0, hour = 0, minute = 0;
};

// The moment of a birth as it travels from the entry window to the archive and the
// chart: the local civil date and clock time in the subject's calendar, the total
// correction C in hours (UT = local time + C), and the Julian day in Universal Time,
// computed here, once, when the value is made. The entry's checks make it for a new
// subject, the stamp reader for a stored one (BirthStamp.h); the save, the summaries and
// the chart take the Julian day from it and compute no other.
class BirthMoment {
public:
    BirthMoment() : BirthMoment(LocalDateTime{}, 0, 1) {}
    BirthMoment(const LocalDateTime& local, long double correction, int calendarFlag);

    const LocalDateTime& local() const noexcept { return local_; }
    long double correction() const noexcept { return correction_; }
    int calendarFlag() const noexcept { return calendarFlag_; }  // 1 Gregorian, 0 Julian
    bool gregorian() const noexcept { return calendarFlag_ == 1; }

    // The local clock instant, without the correction.
    long double localJulianDay() const noexcept { return localJulianDay_.jd; }
    // Whether the local instant lies in the minor bodies' range, as every conversion of a
    // civil date reports it to the chart (AsteroidsValid).
    bool localInAsteroidRange() const noexcept { return localJulianDay_.asteroidsValid; }
    // The birth in Universal Time.
    long double julianDay() const noexcept { return julianDay_; }

    // "DD/MM/YYYY hh:mm" of the local date and time.
    std::string dateText() const;

private:
    LocalDateTime local_;
    long double correction_ = 0;
    int calendarFlag_ = 1;
    CivilJulianDay localJulianDay_;
    long double julianDay_ = 0;
};

// The calendar date and clock time that checked fields stand for in a calendar: day 0 is
// the last day of the month before, 31 February the 3rd of March, and so on.
LocalDateTime calendarDate(const LocalDateTime& fields, int calendarFlag);

// The calendar's words. The record's code: "GR" Gregorian, "GI" (or anything else read)
// Julian. The entry's and the retrieval's field: "GREG" or "GIUL". The caption of the save,
// modify and delete windows: "GREGORIANO" or "GIULIANO".
int calendarFlagOfCode(std::string_view code);
const char* calendarCodeOf(int calendarFlag);
std::optional<int> calendarFlagOfField(std::string_view text);  // nullopt for any other text
const char* calendarFieldText(int calendarFlag);
const char* calendarCaption(int calendarFlag);

}  // namespace athanor
