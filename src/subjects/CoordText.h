#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace athanor {

// The 12-character coordinate text of a birth place, "45N28-009E11": latitude degrees
// (2 digits), N or S, minutes (2), "-", longitude degrees (3), E or W, minutes (2).
struct Coordinates {
    int latitudeDegrees = 0;
    char latitudeLetter = 'N';  // 'N' or 'S'
    int latitudeMinutes = 0;
    int longitudeDegrees = 0;
    char longitudeLetter = 'E';  // 'E', 'W' (the houses also take 'O' for west)
    int longitudeMinutes = 0;

    bool south() const { return latitudeLetter == 'S'; }
    bool west() const { return longitudeLetter == 'W' || longitudeLetter == 'O'; }

    // Signed degrees, north and east positive.
    long double latitude() const;
    long double longitude() const;

    // The form of the computations: a southern latitude or a western longitude as
    // 360 minus the value.
    long double latitudeFor360() const;
    long double longitudeFor360() const;

    bool operator==(const Coordinates&) const = default;
};

// How strictly a text is checked before it is stored.
enum class CoordCheck {
    Entry,   // birth-data entry: minutes up to 60
    Modify,  // modify window: minutes up to 59
};

// A coordinate text checked field by field: exactly 12 characters, every number made of
// digits, latitude 0..89, longitude 0..179, minutes within the limit of `check`,
// letters N/S and E/W. Anything else gives nullopt.
std::optional<Coordinates> parseCoordText(std::string_view text, CoordCheck check);

// What the chart computation reads from a stored text, without checks: each number is
// the integer value of its characters (0 when they are not a number), each letter the
// character at its place (blank when the text is short).
Coordinates decodeCoordText(std::string_view text);

// "45N28-009E11" from the parts (numbers zero-padded, not range-checked).
std::string formatCoordText(const Coordinates& c);

// The text of a place given in signed degrees: whole degrees, the letter by sign
// (N/E for zero or positive), minutes rounded to the nearest minute. Rounding can give
// 60 minutes, which the entry check admits.
std::string coordTextFromDegrees(long double latitude, long double longitude);

}  // namespace athanor
