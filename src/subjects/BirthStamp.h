#pragma once
#include "subjects/BirthMoment.h"

#include <string>
#include <string_view>

namespace athanor {

// The birth stamp of a subject: "YYYYMMDDhhmm" (local date and time of birth) followed by
// the total correction C in hours, UT = local time + C, as "+1", "-1", "-5,5" (sign, then
// the plain decimal text with a comma). At most 20 characters are stored. The stamp is
// the birth moment's form in the records (the archive's and TMPR's): it is written from
// a BirthMoment and read back into one, and nothing else turns it into a Julian day.

struct StampDate {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
};

// "YYYYMMDDhhmm" from the parts, each zero-padded.
std::string stampDigits(const StampDate& d);

// The correction as stored: "+" for zero or positive values, then the decimal text with
// up to 15 significant digits and "," as separator ("+1", "-5,5", "+0,83").
std::string correctionText(long double c);

// Digits plus correction text.
std::string makeBirthStamp(const StampDate& d, long double c);

// The parts of the first twelve characters, each read as a whole number (blanks around it
// and a sign allowed, as "-001" of a year before 1 BC); a part that is not one is 0.
StampDate stampDate(std::string_view stamp);

// Characters 13 on (all of them when maxLength is npos).
std::string stampCorrectionText(std::string_view stamp, std::size_t maxLength = std::string_view::npos);

// The correction read from a text with "." or "," as decimal separator; 0 when the text
// is not a number.
long double correctionValue(std::string_view text);

// The correction of a stamp (all its characters from 13 on).
long double stampCorrection(std::string_view stamp);

// The stamp of a birth moment.
std::string birthStampOf(const BirthMoment& moment);

// The birth moment of a stored stamp in the record's calendar: the date and time of the
// first twelve characters, C from all the correction characters.
BirthMoment readBirthStamp(std::string_view stamp, int calendarFlag);

// Its Julian day in Universal Time.
long double stampJulianDay(std::string_view stamp, bool gregorian);

// Every "." of the stamp turned into ",", as a loaded current subject is kept.
std::string withCommaSeparator(std::string_view stamp);

}  // namespace athanor
