#include "subjects/BirthMoment.h"

namespace athanor {

namespace {

CivilDate civil(const LocalDateTime& t) {
    return CivilDate{1.0L * t.day, 1.0L * t.month, 1.0L * t.year, 1.0L * t.hour, 1.0L * t.minute};
}

}  // namespace

BirthMoment::BirthMoment(const LocalDateTime& local, long double correction, int calendarFlag)
    : local_(local),
      correction_(correction),
      calendarFlag_(calendarFlag),
      localJulianDay_(julianDayFromCivil(calendarFlag, local.minute, local.hour, local.year, local.month, local.day)),
      julianDay_(universalJulianDay(localJulianDay_.jd, correction)) {}

std::string BirthMoment::dateText() const { return civilDateText(civil(local_)); }

LocalDateTime calendarDate(const LocalDateTime& f, int calendarFlag) {
    const CivilDate c = civilFromJulianDay(BirthMoment(f, 0, calendarFlag).localJulianDay(), calendarFlag == 1);
    return LocalDateTime{static_cast<int>(c.day), static_cast<int>(c.month), static_cast<int>(c.year),
                         static_cast<int>(c.hour), static_cast<int>(c.minute)};
}

int calendarFlagOfCode(std::string_view code) { return code == "GR" ? 1 : 0; }

const char* calendarCodeOf(int calendarFlag) { return calendarFlag == 1 ? "GR" : "GI"; }

std::optional<int> calendarFlagOfField(std::string_view text) {
    if (text == "GREG") return 1;
    if (text == "GIUL") return 0;
    return std::nullopt;
}

const char* calendarFieldText(int calendarFlag) { return calendarFlag == 1 ? "GREG" : "GIUL"; }

const char* calendarCaption(int calendarFlag) { return calendarFlag == 1 ? "GREGORIANO" : "GIULIANO"; }

}  // namespace athanor
