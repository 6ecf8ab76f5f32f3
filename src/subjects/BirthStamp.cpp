#include "subjects/BirthStamp.h"

#include "foundations/TextFile.h"

#include <cstdio>
#include <cstdlib>

namespace athanor {

namespace {

std::string_view sub(std::string_view s, std::size_t from, std::size_t len) {
    if (from >= s.size()) return {};
    return s.substr(from, len);
}

int number(std::string_view s) { return static_cast<int>(parseInteger(s).value_or(0)); }

// The general float-to-text form: 15 significant digits, no trailing zeros, an exponent
// ("1E-5") only for very small or very large magnitudes.
std::string plainDecimal(long double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15Lg", v);
    std::string s = buf;
    const auto e = s.find('e');
    if (e == std::string::npos) return s;
    std::string mantissa = s.substr(0, e);
    const int exponent = std::atoi(s.c_str() + e + 1);
    return mantissa + "E" + std::to_string(exponent);
}

}  // namespace

std::string stampDigits(const StampDate& d) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d%02d%02d", d.year, d.month, d.day, d.hour, d.minute);
    return buf;
}

std::string correctionText(long double c) {
    if (c == 0) c = 0;  // no "-0"
    std::string text = plainDecimal(c);
    for (char& ch : text)
        if (ch == '.') ch = ',';
    return (c >= 0 ? "+" : "") + text;
}

std::string makeBirthStamp(const StampDate& d, long double c) {
    return (stampDigits(d) + correctionText(c)).substr(0, 20);
}

StampDate stampDate(std::string_view stamp) {
    StampDate d;
    d.year = number(sub(stamp, 0, 4));
    d.month = number(sub(stamp, 4, 2));
    d.day = number(sub(stamp, 6, 2));
    d.hour = number(sub(stamp, 8, 2));
    d.minute = number(sub(stamp, 10, 2));
    return d;
}

std::string stampCorrectionText(std::string_view stamp, std::size_t maxLength) {
    return std::string(sub(stamp, 12, maxLength));
}

long double correctionValue(std::string_view text) { return parseRealOr(text, 0.0L); }

long double stampCorrection(std::string_view stamp) { return correctionValue(stampCorrectionText(stamp)); }

std::string birthStampOf(const BirthMoment& moment) {
    const LocalDateTime& t = moment.local();
    return makeBirthStamp(StampDate{t.year, t.month, t.day, t.hour, t.minute}, moment.correction());
}

BirthMoment readBirthStamp(std::string_view stamp, int calendarFlag) {
    const StampDate d = stampDate(stamp);
    return BirthMoment(LocalDateTime{d.day, d.month, d.year, d.hour, d.minute}, stampCorrection(stamp), calendarFlag);
}

long double stampJulianDay(std::string_view stamp, bool gregorian) {
    return readBirthStamp(stamp, gregorian ? 1 : 0).julianDay();
}

std::string withCommaSeparator(std::string_view stamp) {
    std::string s(stamp);
    for (char& c : s)
        if (c == '.') c = ',';
    return s;
}

}  // namespace athanor
