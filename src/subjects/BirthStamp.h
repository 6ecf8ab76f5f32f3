#pragma once
#include <string>
#include <string_view>

namespace athanor {

// The birth stamp of a subject: "YYYYMMDDhhmm" (local date and time of birth) followed by
// the total correction C in hours, UT = local time + C, as "+1", "-1", "-5,5" (sign, then
// the plain decimal text with a comma). At most 20 characters are stored.

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

// The parts of the first twelve characters; a part that is not a number is 0.
StampDate stampDate(std::string_view stamp);

// Characters 13 on (all of them when maxLength is npos).
std::string stampCorrectionText(std::string_view stamp, std::size_t maxLength = std::string_view::npos);

// The correction read from a text with "." or "," as decimal separator; 0 when the text
// is not a number.
long double correctionValue(std::string_view text);

// The correction of a stamp (all its characters from 13 on).
long double stampCorrection(std::string_view stamp);

// The Julian day of the birth in Universal Time: the local date and time in the
// subject's calendar plus C/24 (C: all the correction characters of the stamp).
long double stampJulianDay(std::string_view stamp, bool gregorian);

// Every "." of the stamp turned into ",", as a loaded current subject is kept.
std::string withCommaSeparator(std::string_view stamp);

}  // namespace athanor
