#include "foundations/Format.h"

#include "foundations/Calendar.h"
#include "foundations/ChartState.h"
#include "foundations/TextFile.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <thread>

#include <sys/stat.h>

namespace athanor {

namespace {

// Characters first..first+count-1 (0-based) of text, as far as they exist.
std::string_view part(std::string_view text, std::size_t first, std::size_t count) {
    if (first >= text.size()) return {};
    return text.substr(first, count);
}

std::string two(int v) { return zeroPadded(v, 2); }

// Parts with the seconds rounded to whole seconds; 60 carries into the minutes, except at
// 29 59 where the text stays in its sign.
struct WithSeconds {
    AngleParts parts;
    int seconds;
};

WithSeconds withWholeSeconds(AngleParts p) {
    int s = static_cast<int>(std::rint(std::clamp(p.seconds, 0.0L, 60.0L)));
    if (s >= 60) {
        if (p.minutes < 59) {
            ++p.minutes;
            s = 0;
        } else if (p.degrees < 29) {
            p.minutes = 0;
            ++p.degrees;
            s = 0;
        } else {
            s = 59;
        }
    }
    return {p, s};
}

}  // namespace

const char* signAbbreviation(int sign) { return sign >= 1 && sign <= 12 ? kSignAbbreviations[sign] : ""; }

const char* signName(int sign) { return sign >= 1 && sign <= 12 ? kSignNames[sign] : ""; }

std::string zeroPadded(std::int64_t v, int width) {
    const bool negative = v < 0;
    std::string digits = std::to_string(v);
    if (negative) digits.erase(0, 1);
    const int have = static_cast<int>(digits.size()) + (negative ? 1 : 0);
    if (have < width) digits.insert(0, static_cast<std::size_t>(width - have), '0');
    return negative ? "-" + digits : digits;
}

std::string fixedDecimal(long double x, int n) {
    if (n <= 0) return {};
    std::string text;
    if (std::isnan(x)) {
        text = "NAN";
    } else if (std::isinf(x)) {
        text = "INF";
    } else {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.14Le", std::fabs(x));  // d.dddddddddddddde+XX
        const std::string_view s(buf);
        const std::size_t e = s.find('e');
        const int exponent = std::atoi(buf + e + 1);
        std::string digits;
        for (char c : s.substr(0, e))
            if (c != '.') digits += c;
        if (exponent < 0) {
            text = std::string(static_cast<std::size_t>(-exponent), '0') + digits;
            text.insert(1, 1, '.');
        } else {
            const std::size_t point = static_cast<std::size_t>(exponent) + 1;
            if (digits.size() < point) digits.append(point - digits.size(), '0');
            text = digits;
            text.insert(point, 1, '.');
        }
    }
    if (text.size() > static_cast<std::size_t>(n)) text.resize(static_cast<std::size_t>(n));
    return text;
}

std::string timeCorrectionText(long double timeCorrection) {
    return (timeCorrection <= 0 ? "+" : "-") + fixedDecimal(std::fabs(timeCorrection), 4);
}

AngleParts splitLongitude(long double L) {
    if (!std::isfinite(L)) L = 0;
    if (L < 0 || L >= 360) L = normalize360(L);
    if (L >= 360) L = 0;  // a tiny negative value normalises to exactly 360
    AngleParts p;
    p.sign = signOf(L);
    const long double x = reduce30(L);
    p.degrees = static_cast<int>(Int(x));
    p.minutes = static_cast<int>(Int(Frac(x) * 60));
    p.seconds = (L - p.degrees - 30.0L * (p.sign - 1) - p.minutes / 60.0L) * 3600;
    return p;
}

AngleParts roundedToMinutes(AngleParts p) {
    if (p.seconds > 30) {
        ++p.minutes;
        if (p.minutes >= 60) {
            if (p.degrees == 29) {
                p.minutes = 59;
            } else {
                p.minutes = 0;
                ++p.degrees;
            }
        }
    }
    p.seconds = 0;
    return p;
}

std::string positionShort(long double longitude) {
    const AngleParts p = roundedToMinutes(splitLongitude(longitude));
    return two(p.degrees) + signAbbreviation(p.sign) + two(p.minutes);
}

std::string positionLong(long double longitude) {
    const auto [p, s] = withWholeSeconds(splitLongitude(longitude));
    return two(p.degrees) + signAbbreviation(p.sign) + two(p.minutes) + ":" + two(s);
}

std::string degreesMinutesInSign(long double longitude, bool withSeconds) {
    if (withSeconds) {
        const auto [p, s] = withWholeSeconds(splitLongitude(longitude));
        return two(p.degrees) + "\xB0" + two(p.minutes) + "'" + two(s) + "\"";
    }
    const AngleParts p = roundedToMinutes(splitLongitude(longitude));
    return two(p.degrees) + "\xB0" + two(p.minutes) + "'";
}

std::string positionWithSignName(long double longitude, std::string_view retroMark) {
    const AngleParts p = roundedToMinutes(splitLongitude(longitude));
    const std::string mark = (retroMark == "r" || retroMark == "R") ? kRetrogradeText : std::string(retroMark);
    return two(p.degrees) + "\xB0" + two(p.minutes) + "' " + signName(p.sign) + mark;
}

std::string declinationText(long double declination) {
    if (!std::isfinite(declination)) declination = 0;
    const long double a = std::min(std::fabs(declination), 1e6L);  // keeps the casts defined
    int degrees = static_cast<int>(Int(a));
    int minutes = static_cast<int>(Int(Frac(a) * 60));
    const long double seconds = (a - degrees - minutes / 60.0L) * 3600;
    if (seconds > 30 && ++minutes >= 60) {
        minutes = 0;
        ++degrees;
    }
    return two(degrees) + "\xB0 " + two(minutes) + "' " + (declination >= 0 ? "Norte" : "Sur");
}

StampDisplay storedToDisplayed(std::string_view stamp) {
    StampDisplay d;
    d.dateTime = std::string(part(stamp, 6, 2)) + "/" + std::string(part(stamp, 4, 2)) + "/" +
                 std::string(part(stamp, 0, 4)) + " " + std::string(part(stamp, 8, 2)) + ":" +
                 std::string(part(stamp, 10, 2));
    d.correctionText = std::string(part(stamp, 12, 5));
    // The value is read with "." and, failing that, with the "," of the interface locale;
    // parseReal takes both.
    d.timeCorrection = parseRealOr(d.correctionText, 0.0L);
    return d;
}

std::string displayedToStored(std::string_view displayed) {
    return std::string(part(displayed, 6, 4)) + std::string(part(displayed, 3, 2)) +
           std::string(part(displayed, 0, 2)) + std::string(part(displayed, 11, 2)) +
           std::string(part(displayed, 14, 2));
}

std::string todayText() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return two(tm.tm_mday) + "/" + two(tm.tm_mon + 1) + "/" + zeroPadded(tm.tm_year + 1900, 4);
}

std::string fileDateText(const std::filesystem::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) return "Non Valida";
    std::tm tm{};
    const std::time_t t = st.st_mtime;
    localtime_r(&t, &tm);
    // Local clock time as days since 30 December 1899, plus that day's Julian day.
    const long double localSeconds = static_cast<long double>(t) + tm.tm_gmtoff;
    const long double jd = 2440587.5L + localSeconds / 86400.0L;
    return dateTextAuto(jd);
}

std::int64_t intFromSubstring(std::string_view text, int start, int length) {
    if (length <= 0) return 0;
    const std::size_t first = start < 1 ? 0 : static_cast<std::size_t>(start - 1);
    return parseInteger(part(text, first, static_cast<std::size_t>(length))).value_or(0);
}

void upperCase(std::string& text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}

std::string upperCased(std::string_view text) {
    std::string s(text);
    upperCase(s);
    return s;
}

std::string repeatChar(char c, int n) { return n > 0 ? std::string(static_cast<std::size_t>(n), c) : std::string(); }

void trimTrailingBlanks(std::string& text) {
    const std::size_t end = text.find_last_not_of(' ');
    text.resize(end == std::string::npos ? 0 : end + 1);
}

void stripTrailingSymbols(std::string& text) {
    auto kept = [](unsigned char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ')' || c == '.' ||
               c == 0xE0 || c == 0xE9 || c == 0xE8 || c == 0xF9 || c == 0xF2 || c == 0xEC;
    };
    for (int i = 0; i < 10 && !text.empty() && !kept(static_cast<unsigned char>(text.back())); ++i) text.pop_back();
}

void pointToComma(std::string& text) {
    for (char& c : text)
        if (c == '.') c = ',';
}

void cleanLocality(std::string& text) {
    std::string out;
    out.reserve(text.size());
    bool first = true;
    for (char c : text) {
        if (c == '*') {
            c = first ? '(' : ')';
            first = false;
        }
        if (c == ' ' && !out.empty() && out.back() == ' ') continue;
        out += c;
    }
    text = std::move(out);
}

void waitSeconds(double seconds) {
    using clock = std::chrono::steady_clock;
    if (!(seconds > 0)) return;
    seconds = std::min(seconds, 1e9);
    const auto end = clock::now() + std::chrono::duration_cast<clock::duration>(std::chrono::duration<double>(seconds));
    for (auto now = clock::now(); now < end; now = clock::now())
        std::this_thread::sleep_for(std::min<clock::duration>(end - now, std::chrono::milliseconds(10)));
}

std::string excerptForMessage(std::string_view raw, std::size_t max) {
    std::string out;
    for (char c : raw.substr(0, std::min(raw.size(), max))) out += (c >= 0x20 && c < 0x7F) ? c : '?';
    if (raw.size() > max) out += "...";
    return out;
}

}  // namespace athanor
