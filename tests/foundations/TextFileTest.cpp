#include "foundations/FileError.h"
#include "foundations/TextFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>

namespace athanor {
namespace {

using test::TempDir;
using Lines = std::vector<std::string>;

TEST(TextFile, SplitsLinesOnCrLfOrLf) {
    struct Case {
        std::string contents;
        Lines lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"\r\n", {""}},
        {"a\rb\n", {"a\rb"}},  // a lone CR is part of the line
        {"1\r\n0\r\n\xE9t\xE9\r\n", {"1", "0", "\xE9t\xE9"}},
        {std::string("x\0y\n", 4), {std::string("x\0y", 3)}},
    };
    for (const Case& c : cases) EXPECT_EQ(splitLines(c.contents), c.lines) << c.contents;
}

TEST(TextFile, WritesCrLfAndReadsBack) {
    TempDir dir;
    const auto path = dir / "FileDum.dum";
    const Lines lines = {"BASE", "", "G\xE9minis  "};
    writeLines(path, lines);
    EXPECT_EQ(TempDir::read(path), "BASE\r\n\r\nG\xE9minis  \r\n");
    EXPECT_EQ(readLines(path), lines);
    writeLines(path, {});
    EXPECT_EQ(TempDir::read(path), "");
}

TEST(TextFile, MissingFileIsAFileError) {
    TempDir dir;
    EXPECT_THROW(readLines(dir / "absent.txt"), FileError);
    EXPECT_THROW(TextReader(dir / "absent.txt"), FileError);
    EXPECT_THROW(readLines(dir.path()), FileError);  // a folder
}

TEST(RealText, WritesTheTwentyThreeCharacterForm) {
    struct Case {
        long double x;
        const char* text;
    };
    const Case cases[] = {
        {1.0L, " 1.00000000000000E+0000"},          {123.45L, " 1.23450000000000E+0002"},
        {-0.00125L, "-1.25000000000000E-0003"},     {0.0L, " 0.00000000000000E+0000"},
        {0.52L * 0.95L, " 4.94000000000000E-0001"}, {2451545.123456789L, " 2.45154512345679E+0006"},
        {-1e100L, "-1.00000000000000E+0100"},       {1e-4000L, " 1.00000000000000E-4000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatReal(c.x), c.text);
        EXPECT_EQ(formatReal(c.x).size(), 23u);
    }
    EXPECT_EQ(formatReal(NAN).size(), 23u);
    EXPECT_FALSE(parseReal(formatReal(HUGE_VALL)));  // not silently read back as a number
}

TEST(RealText, ReadsAnyDecimalFormWithPointOrComma) {
    struct Case {
        const char* text;
        long double value;
    };
    const Case cases[] = {
        {"1.5", 1.5L},   {"1,5", 1.5L},       {" -2.5E+0003 ", -2500.0L},
        {"-5,5", -5.5L}, {"+1", 1.0L},        {".5", 0.5L},
        {"5.", 5.0L},    {"1e5", 1e5L},       {"-0", 0.0L},
        {"7\r", 7.0L},   {"0,000001", 1e-6L}, {" 1.23450000000000E+0002", 123.45L},
    };
    for (const Case& c : cases) {
        const auto v = parseReal(c.text);
        ASSERT_TRUE(v) << c.text;
        EXPECT_NEAR(static_cast<double>(*v), static_cast<double>(c.value),
                    1e-12 * std::fabs(static_cast<double>(c.value)))
            << c.text;
    }
    for (const char* bad : {"", " ", "abc", "1.2.3", "1,5,0", "1e", "e5", "nan", "inf", "0x10", "1 2", "--1", "+-1",
                            "1.5x", ".", "-", "Non Valida"}) {
        EXPECT_FALSE(parseReal(bad)) << bad;
    }
    EXPECT_EQ(parseRealOr("?", 0.0L), 0.0L);
    EXPECT_EQ(parseRealOr("-1", 0.0L), -1.0L);

    for (long double x : {0.52L, -9.18333333333333L, 2451545.5L, 1e-7L}) {
        const long double back = *parseReal(formatReal(x));
        EXPECT_NEAR(static_cast<double>(back), static_cast<double>(x), 1e-14 * std::fabs(static_cast<double>(x)));
    }
}

TEST(IntegerText, ReadsPlainDecimalOnly) {
    EXPECT_EQ(parseInteger("1"), 1);
    EXPECT_EQ(parseInteger(" -42 "), -42);
    EXPECT_EQ(parseInteger("+7"), 7);
    EXPECT_EQ(parseInteger("00012"), 12);
    for (const char* bad : {"", "1.0", "1,5", "abc", "12a", "+", "+-1", "99999999999999999999"})
        EXPECT_FALSE(parseInteger(bad)) << bad;
}

TEST(TextReader, ReadsValuesAndReportsShortOrDamagedFiles) {
    TempDir dir;
    const auto path = dir.write("FileSet/MMVarLas.stt", "1\r\n0\r\n 1.00000000000000E+0000\r\n?:\\OrdalisBck\r\n");
    TextReader in(path);
    EXPECT_EQ(in.integer(), 1);
    EXPECT_EQ(in.integer(), 0);
    EXPECT_EQ(in.real(), 1.0L);
    EXPECT_EQ(in.line(), "?:\\OrdalisBck");
    EXPECT_TRUE(in.atEnd());
    try {
        in.line();
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), path);
        EXPECT_NE(e.systemMessage().find("line 5"), std::string::npos);
    }

    TextReader bad(dir.write("bad.stt", "1\nuno\n"));
    EXPECT_EQ(bad.integer(), 1);
    try {
        bad.real();
        FAIL();
    } catch (const FileError& e) {
        EXPECT_NE(e.systemMessage().find("line 2"), std::string::npos);
    }
}

TEST(TextWriter, WritesValuesInTheirFileForms) {
    TempDir dir;
    const auto path = dir / "out.txt";
    TextWriter().integer(1).integer(-3).real(0.5L).line("").save(path);
    EXPECT_EQ(TempDir::read(path), "1\r\n-3\r\n 5.00000000000000E-0001\r\n\r\n");
}

}  // namespace
}  // namespace athanor
