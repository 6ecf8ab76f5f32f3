#pragma once
#include "foundations/Vocabulary.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace athanor {

// Text, number and angle routines shared by every window. Texts are Windows-1252 bytes.

// Shown for a retrograde mark "r" or "R".
inline constexpr const char* kRetrogradeText = " Retrogrado ";

// Table look-ups that give "" outside 1..12.
const char* signAbbreviation(int sign);
const char* signName(int sign);

// Decimal text of v left-padded with '0' to `width` characters; longer texts stay whole.
// A minus sign stays in front of the zeros ("-07").
std::string zeroPadded(std::int64_t v, int width);

// A few characters of a damaged line for a message: printable ASCII kept, anything else as
// "?", at most `max` characters and "..." when cut, so no raw bytes reach the user.
std::string excerptForMessage(std::string_view raw, std::size_t max = 24);

// First n characters of the plain decimal form of |x| (15 significant digits), cut, not
// rounded: (12.5, 4) -> "12.5", (1.5, 4) -> "1.50", (100, 4) -> "100.".
std::string fixedDecimal(long double x, int n);

// "+" when the correction is <= 0, else "-", then fixedDecimal(|c|, 4): -1 -> "+1.00".
std::string timeCorrectionText(long double timeCorrection);

// A longitude taken apart: sign 1..12, whole degrees and minutes in the sign, and the
// remaining seconds of arc (not rounded).
struct AngleParts {
    int sign = 1;
    int degrees = 0;
    int minutes = 0;
    long double seconds = 0;
};

// Longitudes outside [0, 360) are normalised first; a non-finite one counts as 0.
AngleParts splitLongitude(long double longitude);

// Minutes rounded by the seconds (more than 30 adds one); 29 59 never carries into the
// next sign.
AngleParts roundedToMinutes(AngleParts parts);

// "05Leo07"
std::string positionShort(long double longitude);
// "05Leo07:12": minutes as they are, seconds rounded (a rounded 60 moves into the minutes)
std::string positionLong(long double longitude);
// "05\xB0" "07'" or, with seconds, "05\xB0" "07'12\""
std::string degreesMinutesInSign(long double longitude, bool withSeconds = false);
// "05\xB0" "07' Leo" followed by the mark, where "r" or "R" becomes " Retrogrado ".
std::string positionWithSignName(long double longitude, std::string_view retroMark);
// "23\xB0 26' Sur" for -23.44; "Norte" for d >= 0.
std::string declinationText(long double declination);

// A BirthStamp taken apart for display.
struct StampDisplay {
    std::string dateTime;        // "DD/MM/YYYY hh:mm"
    std::string correctionText;  // characters 13 to 17 of the stamp
    long double timeCorrection;  // its value, "." or "," as separator; 0 when unreadable
};
StampDisplay storedToDisplayed(std::string_view stamp);

// "DD/MM/YYYY hh:mm" -> "YYYYMMDDhhmm".
std::string displayedToStored(std::string_view displayed);

// The system's local date as "DD/MM/YYYY".
std::string todayText();

// Modification time of a file as "DD/MM/YYYY hh:mm" (local time); "Non Valida" when the
// file does not exist.
std::string fileDateText(const std::filesystem::path& file);

// Integer value of the characters start..start+length-1 (1-based), 0 when not a number.
std::int64_t intFromSubstring(std::string_view text, int start, int length);

// Upper-cases the letters a to z only; accented letters stay as they are.
void upperCase(std::string& text);
std::string upperCased(std::string_view text);

// n copies of c ("" for n <= 0).
std::string repeatChar(char c, int n);

// Removes trailing blanks.
void trimTrailingBlanks(std::string& text);

// Removes up to ten trailing characters that are not letters a-z A-Z, digits, ")", ".",
// or the Italian accented vowels.
void stripTrailingSymbols(std::string& text);

// Every "." becomes ",".
void pointToComma(std::string& text);

// The first "*" becomes "(", every later one ")"; runs of blanks become one blank.
void cleanLocality(std::string& text);

// Returns after `seconds` of wall-clock time; blocks the caller.
void waitSeconds(double seconds);

}  // namespace athanor
