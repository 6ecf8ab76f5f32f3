#include "subjects/CoordText.h"

#include <cmath>
#include <cstdio>

namespace athanor {

namespace {

// The value of text[from, from+len) when every character is a digit.
std::optional<int> digits(std::string_view text, std::size_t from, std::size_t len) {
    if (from + len > text.size()) return std::nullopt;
    int v = 0;
    for (std::size_t i = from; i < from + len; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

// Lenient integer of a substring: 0 when it is not a number. Blanks around are allowed,
// as in the stored files written by hand.
int integerOr0(std::string_view text, std::size_t from, std::size_t len) {
    if (from >= text.size()) return 0;
    std::string_view s = text.substr(from, len);
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty()) return 0;
    int v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return 0;
        v = v * 10 + (c - '0');
    }
    return negative ? -v : v;
}

char at(std::string_view text, std::size_t i) { return i < text.size() ? text[i] : ' '; }

long double angle(int degrees, int minutes) {
    return static_cast<long double>(degrees) + static_cast<long double>(minutes) / 60.0L;
}

}  // namespace

long double Coordinates::latitude() const {
    const long double v = angle(latitudeDegrees, latitudeMinutes);
    return south() ? -v : v;
}

long double Coordinates::longitude() const {
    const long double v = angle(longitudeDegrees, longitudeMinutes);
    return west() ? -v : v;
}

long double Coordinates::latitudeFor360() const {
    const long double v = angle(latitudeDegrees, latitudeMinutes);
    return south() ? 360.0L - v : v;
}

long double Coordinates::longitudeFor360() const {
    const long double v = angle(longitudeDegrees, longitudeMinutes);
    return west() ? 360.0L - v : v;
}

std::optional<Coordinates> parseCoordText(std::string_view text, CoordCheck check) {
    if (text.size() != 12) return std::nullopt;
    const int maxMinutes = check == CoordCheck::Entry ? 60 : 59;
    const auto latD = digits(text, 0, 2);
    const auto latM = digits(text, 3, 2);
    const auto lonD = digits(text, 6, 3);
    const auto lonM = digits(text, 10, 2);
    if (!latD || !latM || !lonD || !lonM) return std::nullopt;
    const char ns = text[2];
    const char ew = text[9];
    if (ns != 'N' && ns != 'S') return std::nullopt;
    if (ew != 'E' && ew != 'W') return std::nullopt;
    if (*latD > 89 || *lonD > 179 || *latM > maxMinutes || *lonM > maxMinutes) return std::nullopt;
    return Coordinates{*latD, ns, *latM, *lonD, ew, *lonM};
}

Coordinates decodeCoordText(std::string_view text) {
    Coordinates c;
    c.latitudeDegrees = integerOr0(text, 0, 2);
    c.latitudeLetter = at(text, 2);
    c.latitudeMinutes = integerOr0(text, 3, 2);
    c.longitudeDegrees = integerOr0(text, 6, 3);
    c.longitudeLetter = at(text, 9);
    c.longitudeMinutes = integerOr0(text, 10, 2);
    return c;
}

std::string formatCoordText(const Coordinates& c) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02d%c%02d-%03d%c%02d", c.latitudeDegrees, c.latitudeLetter, c.latitudeMinutes,
                  c.longitudeDegrees, c.longitudeLetter, c.longitudeMinutes);
    return buf;
}

std::string coordTextFromDegrees(long double latitude, long double longitude) {
    // A damaged locality record can hold any bit pattern: keep the text in its ranges.
    auto sane = [](long double v, long double limit) {
        if (!std::isfinite(v)) return 0.0L;
        return std::fabs(v) > limit ? limit : std::fabs(v);
    };
    Coordinates c;
    const long double lat = sane(latitude, 90);
    const long double lon = sane(longitude, 180);
    c.latitudeDegrees = static_cast<int>(std::trunc(lat));
    c.latitudeMinutes = static_cast<int>(std::lround((lat - std::trunc(lat)) * 60.0L));
    c.latitudeLetter = latitude >= 0 ? 'N' : 'S';
    c.longitudeDegrees = static_cast<int>(std::trunc(lon));
    c.longitudeMinutes = static_cast<int>(std::lround((lon - std::trunc(lon)) * 60.0L));
    c.longitudeLetter = longitude >= 0 ? 'E' : 'W';
    return formatCoordText(c);
}

}  // namespace athanor
