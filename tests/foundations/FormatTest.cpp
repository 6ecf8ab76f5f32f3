#include "foundations/Format.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <ctime>

#include <sys/time.h>

namespace athanor {
namespace {

using test::TempDir;

long double dms(int degrees, int minutes, int seconds) { return degrees + minutes / 60.0L + seconds / 3600.0L; }

TEST(Format, ZeroPaddedIntegers) {
    struct Case {
        std::int64_t v;
        int width;
        const char* text;
    };
    const Case cases[] = {
        {7, 3, "007"},         {1234, 2, "1234"}, {0, 2, "00"},    {5, 0, "5"},
        {123456, 5, "123456"}, {-7, 3, "-07"},    {1, 5, "00001"},
    };
    for (const Case& c : cases) EXPECT_EQ(zeroPadded(c.v, c.width), c.text) << c.v << "/" << c.width;
}

TEST(Format, FixedDecimalCutsWithoutRounding) {
    struct Case {
        long double x;
        int n;
        const char* text;
    };
    const Case cases[] = {
        {12.5L, 4, "12.5"},    {1.5L, 4, "1.50"},     {0.25L, 4, "0.25"},    {100.0L, 4, "100."},
        {-2.75L, 5, "2.750"},  {0.001L, 6, "0.0010"}, {5.99999L, 4, "5.99"}, {0.0L, 4, "0.00"},
        {123456.7L, 3, "123"}, {1e20L, 5, "10000"},   {7.0L, 0, ""},         {0.5L, 20, "0.500000000000000"},
    };
    for (const Case& c : cases) EXPECT_EQ(fixedDecimal(c.x, c.n), c.text) << static_cast<double>(c.x) << "/" << c.n;

    struct Correction {
        long double c;
        const char* text;
    };
    const Correction corrections[] = {
        {-1.0L, "+1.00"}, {0.0L, "+0.00"}, {5.5L, "-5.50"}, {-0.5L, "+0.50"}, {-10.5L, "+10.5"}};
    for (const Correction& c : corrections) EXPECT_EQ(timeCorrectionText(c.c), c.text);
}

TEST(Format, ShortPositionRoundsMinutesButNeverLeavesTheSign) {
    struct Case {
        long double L;
        const char* text;
    };
    const Case cases[] = {
        {dms(10, 58, 45), "10Ari59"},
        {dms(10, 59, 45), "11Ari00"},
        {dms(29, 59, 45), "29Ari59"},
        {dms(10, 58, 15), "10Ari58"},
        {120 + dms(5, 7, 0), "05Leo07"},
        {60 + dms(15, 30, 0), "15G\xE9m30"},
        {90 + dms(1, 2, 3), "01C\xE1n02"},
        {0.0L, "00Ari00"},
        {359.9999L, "29Pis59"},
        {330.0L, "00Pis00"},
        {720.5L, "00Ari30"},  // out-of-range values are normalised
        {-30.0L, "00Pis00"},
        {NAN, "00Ari00"},
    };
    for (const Case& c : cases) EXPECT_EQ(positionShort(c.L), c.text) << static_cast<double>(c.L);
}

TEST(Format, LongFormsShowSecondsWithoutRoundingTheMinutes) {
    struct Case {
        long double L;
        const char* longText;
        const char* dm;
        const char* dms;
    };
    const Case cases[] = {
        {120 + dms(5, 7, 12), "05Leo07:12",
         "05\xB0"
         "07'",
         "05\xB0"
         "07'12\""},
        {dms(10, 58, 45), "10Ari58:45",
         "10\xB0"
         "59'",
         "10\xB0"
         "58'45\""},
        {dms(29, 59, 45), "29Ari59:45",
         "29\xB0"
         "59'",
         "29\xB0"
         "59'45\""},
        {dms(3, 4, 0) + 0.7L / 3600, "03Ari04:01",
         "03\xB0"
         "04'",
         "03\xB0"
         "04'01\""},
        {dms(3, 4, 59) + 0.6L / 3600, "03Ari05:00",
         "03\xB0"
         "05'",
         "03\xB0"
         "05'00\""},
        {dms(3, 59, 59) + 0.6L / 3600, "04Ari00:00",
         "04\xB0"
         "00'",
         "04\xB0"
         "00'00\""},
        {dms(29, 59, 59) + 0.6L / 3600, "29Ari59:59",
         "29\xB0"
         "59'",
         "29\xB0"
         "59'59\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(positionLong(c.L), c.longText);
        EXPECT_EQ(degreesMinutesInSign(c.L), c.dm);
        EXPECT_EQ(degreesMinutesInSign(c.L, true), c.dms);
    }
}

TEST(Format, SignNameMotionAndDeclination) {
    const long double L = 120 + dms(5, 7, 12);
    EXPECT_EQ(positionWithSignName(L, "r"), "05\xB0"
                                            "07' Leo Retrogrado ");
    EXPECT_EQ(positionWithSignName(L, "R"), "05\xB0"
                                            "07' Leo Retrogrado ");
    EXPECT_EQ(positionWithSignName(L, " "), "05\xB0"
                                            "07' Leo ");
    EXPECT_EQ(positionWithSignName(60.5L, ""), "00\xB0"
                                               "30' G\xE9minis");

    struct Case {
        long double d;
        const char* text;
    };
    const Case cases[] = {
        {-23.44L, "23\xB0 26' Sur"},           {0.0L, "00\xB0 00' Norte"}, {dms(23, 26, 45), "23\xB0 27' Norte"},
        {dms(45, 59, 45), "46\xB0 00' Norte"},  // no sign boundary: the minutes carry
        {-dms(5, 0, 20), "05\xB0 00' Sur"},    {NAN, "00\xB0 00' Norte"},
    };
    for (const Case& c : cases) EXPECT_EQ(declinationText(c.d), c.text) << static_cast<double>(c.d);

    EXPECT_STREQ(signName(3), "G\xE9minis");
    EXPECT_STREQ(signAbbreviation(12), "Pis");
    EXPECT_STREQ(signName(0), "");
    EXPECT_STREQ(signAbbreviation(13), "");
}

TEST(Format, StoredAndDisplayedDates) {
    struct Case {
        const char* stamp;
        const char* shown;
        const char* correction;
        long double value;
    };
    const Case cases[] = {
        {"195703151230-1", "15/03/1957 12:30", "-1", -1.0L},
        {"200001010000+5,5", "01/01/2000 00:00", "+5,5", 5.5L},
        {"200001010000-5.5", "01/01/2000 00:00", "-5.5", -5.5L},
        {"200001010000+10,75", "01/01/2000 00:00", "+10,7", 10.7L},
        {"200001010000", "01/01/2000 00:00", "", 0.0L},
        {"200001010000abc", "01/01/2000 00:00", "abc", 0.0L},
        {"1957", "//1957 :", "", 0.0L},  // damaged stamp: no crash
    };
    for (const Case& c : cases) {
        const StampDisplay d = storedToDisplayed(c.stamp);
        EXPECT_EQ(d.dateTime, c.shown) << c.stamp;
        EXPECT_EQ(d.correctionText, c.correction) << c.stamp;
        EXPECT_NEAR(static_cast<double>(d.timeCorrection), static_cast<double>(c.value), 1e-12) << c.stamp;
    }
    EXPECT_EQ(displayedToStored("15/03/1957 12:30"), "195703151230");
    EXPECT_EQ(displayedToStored(storedToDisplayed("202412312359+0").dateTime), "202412312359");
    EXPECT_EQ(displayedToStored("15/03"), "0315");
}

TEST(Format, TodayAndFileDates) {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char expected[16];
    std::strftime(expected, sizeof expected, "%d/%m/%Y", &tm);
    const std::string today = todayText();
    if (today != expected) {  // midnight passed between the two readings
        const std::time_t later = std::time(nullptr);
        localtime_r(&later, &tm);
        std::strftime(expected, sizeof expected, "%d/%m/%Y", &tm);
    }
    EXPECT_EQ(today, expected);

    TempDir dir;
    EXPECT_EQ(fileDateText(dir / "absent.txt"), "Non Valida");
    const auto file = dir.write("Appoggio/Aggiorna1.txt", "x");
    std::tm when{};
    when.tm_year = 2021 - 1900;
    when.tm_mon = 5;
    when.tm_mday = 15;
    when.tm_hour = 14;
    when.tm_min = 30;
    when.tm_sec = 10;
    when.tm_isdst = -1;
    const timeval times[2] = {{std::mktime(&when), 0}, {std::mktime(&when), 0}};
    ASSERT_EQ(::utimes(file.c_str(), times), 0);
    EXPECT_EQ(fileDateText(file), "15/06/2021 14:30");
}

TEST(Format, IntegerFromSubstring) {
    struct Case {
        const char* text;
        int start, length;
        std::int64_t value;
    };
    const Case cases[] = {
        {"195703151230-1", 1, 4, 1957},
        {"195703151230-1", 5, 2, 3},
        {"195703151230-1", 13, 2, -1},
        {"ROSSI 00042", 7, 5, 42},
        {"ABC", 1, 3, 0},
        {"12", 5, 2, 0},
        {"12", 0, 2, 12},
        {"12", 1, 0, 0},
        {"1 2", 1, 3, 0},
        {"99999999999999999999", 1, 20, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(intFromSubstring(c.text, c.start, c.length), c.value) << c.text;
}

TEST(Format, StringCleanUps) {
    std::string s = "rossi mario \xE9z";
    upperCase(s);
    EXPECT_EQ(s, "ROSSI MARIO \xE9Z");
    EXPECT_EQ(upperCased("abc-xyz{}"), "ABC-XYZ{}");

    EXPECT_EQ(repeatChar('.', 22), "......................");
    EXPECT_EQ(repeatChar('x', 0), "");
    EXPECT_EQ(repeatChar('x', -3), "");

    struct Case {
        std::string in, out;
    };
    const Case trims[] = {{"ROSSI   ", "ROSSI"}, {"   ", ""}, {" a b ", " a b"}, {"", ""}, {"a\t", "a\t"}};
    for (const Case& c : trims) {
        std::string t = c.in;
        trimTrailingBlanks(t);
        EXPECT_EQ(t, c.out) << c.in;
    }

    const Case strips[] = {
        {"Milano (MI)", "Milano (MI)"},
        {"Roma,,;", "Roma"},
        {"citt\xE0", "citt\xE0"},
        {"caf\xE9", "caf\xE9"},
        {"n. 5.", "n. 5."},
        {"abc" + std::string(12, '-'), "abc--"},
        {"  ", ""},
        {"", ""},
        {"Se\xF1or!", "Se\xF1or"},
        {"Sol \xB0", "Sol"},
        {"NORTE\xC9", "NORTE"},
    };
    for (const Case& c : strips) {
        std::string t = c.in;
        stripTrailingSymbols(t);
        EXPECT_EQ(t, c.out) << c.in;
    }

    std::string p = "-5.5.";
    pointToComma(p);
    EXPECT_EQ(p, "-5,5,");

    const Case localities[] = {
        {"SAN  DONATO *MILANESE*  ", "SAN DONATO (MILANESE) "},
        {"A*B*C*", "A(B)C)"},
        {"ROMA", "ROMA"},
        {"   ", " "},
    };
    for (const Case& c : localities) {
        std::string t = c.in;
        cleanLocality(t);
        EXPECT_EQ(t, c.out) << c.in;
    }
}

TEST(Format, WaitReturnsAfterTheGivenTime) {
    const auto start = std::chrono::steady_clock::now();
    waitSeconds(0.05);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
    waitSeconds(-1);
    waitSeconds(NAN);
}

}  // namespace
}  // namespace athanor
