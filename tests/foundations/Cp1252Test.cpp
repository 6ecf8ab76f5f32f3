#include "foundations/Collation.h"
#include "foundations/Cp1252.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace athanor {
namespace {

TEST(Cp1252, EveryByteSurvivesARoundTripThroughUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = cp1252ToUtf8(all);
    EXPECT_EQ(utf8ToCp1252(utf8), all);
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(codePointToCp1252(cp1252ToCodePoint(static_cast<unsigned char>(b))), b) << b;
}

TEST(Cp1252, MapsTheSpecialRangeAndTheUndefinedBytes) {
    struct Case {
        std::string cp1252, utf8;
    };
    const Case cases[] = {
        {"J\xFApiter", "J\xC3\xBApiter"},
        {"G\xE9minis", "G\xC3\xA9minis"},
        {"\x80", "\xE2\x82\xAC"},  // euro sign
        {"\x9F", "\xC5\xB8"},      // Y with diaeresis
        {"\x96", "\xE2\x80\x93"},  // en dash
        {"\xB0", "\xC2\xB0"},      // degree sign
        {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cp1252ToUtf8(c.cp1252), c.utf8);
        EXPECT_EQ(utf8ToCp1252(c.utf8), c.cp1252);
    }
}

TEST(Cp1252, UnmappableAndMalformedUtf8BecomeQuestionMarks) {
    struct Case {
        std::string utf8, cp1252;
    };
    const Case cases[] = {
        {"\xE6\xBC\xA2", "?"},  // CJK ideograph
        {"a\xF0\x9F\x98\x80"
         "b",
         "a?b"},        // emoji, four bytes
        {"\xC3", "?"},  // cut sequence at the end
        {"a\x80"
         "b",
         "a?b"},                            // stray continuation byte
        {"\xC0\xAF", "??"},                 // overlong form
        {"\xED\xA0\x80", "???"},            // encoded surrogate
        {"\xE9t\xE9", "?t?"},               // Latin-1 passed by mistake
        {"\xF8\x88\x80\x80\x80", "?????"},  // five-byte form
    };
    for (const Case& c : cases) EXPECT_EQ(utf8ToCp1252(c.utf8), c.cp1252) << c.utf8;
}

class CollationTest : public ::testing::Test {
protected:
    void SetUp() override { setCollationLocale("es"); }
    void TearDown() override { setCollationLocale("es"); }
};

TEST_F(CollationTest, SortsSpanishIgnoringCaseButNotAccents) {
    std::vector<std::string> names = {"oso",
                                      "\xF1u",
                                      "Zeta",
                                      "nube",
                                      "\xD1"
                                      "and\xFA",
                                      "\xE1rbol",
                                      "Nadal",
                                      "abeja",
                                      "caf\xE9",
                                      "cafe"};
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return collateLess(a, b); });
    const std::vector<std::string> expected = {"abeja",
                                               "\xE1rbol",
                                               "cafe",
                                               "caf\xE9",
                                               "Nadal",
                                               "nube",
                                               "\xD1"
                                               "and\xFA",
                                               "\xF1u",
                                               "oso",
                                               "Zeta"};
    EXPECT_EQ(names, expected);

    EXPECT_EQ(collate("ROSSI MARIO", "rossi mario"), 0);
    EXPECT_LT(collate("rossi", "ROSSO"), 0);
    EXPECT_GT(collate("caf\xE9", "cafe"), 0);
}

TEST_F(CollationTest, SortKeysOrderLikeTheComparison) {
    const std::vector<std::string> words = {"", "a", "A", "\xE1", "b", "\xF1", "n", "o", "Zz", "z ", "1", "\x80"};
    for (const auto& a : words)
        for (const auto& b : words) {
            const int c = collate(a, b);
            const std::string ka = collationKey(a), kb = collationKey(b);
            EXPECT_EQ(c < 0, ka < kb) << a << " / " << b;
            EXPECT_EQ(c == 0, ka == kb) << a << " / " << b;
        }
}

TEST_F(CollationTest, LocaleComesFromTheEnvironmentWithSpanishAsFallback) {
    struct Case {
        const char* posix;
        const char* icu;
    };
    const Case cases[] = {
        {"es_ES.UTF-8", "es_ES"},
        {"de_DE@euro", "de_DE"},
        {"it_IT.ISO-8859-1", "it_IT"},
        {"en_US", "en_US"},
        {"C", "es"},
        {"POSIX", "es"},
        {"C.UTF-8", "es"},
        {"", "es"},
        {"xx_YY", "es"},
    };
    for (const Case& c : cases) EXPECT_EQ(collationLocaleFor(c.posix), c.icu) << c.posix;

    const char* saved = std::getenv("LC_ALL");
    const std::string savedValue = saved ? saved : "";
    setenv("LC_ALL", "sv_SE.UTF-8", 1);
    setCollationLocale("");
    EXPECT_EQ(collationLocale(), "sv_SE");
    EXPECT_LT(collate("z", "\xE4"), 0);  // Swedish puts a-umlaut after z
    if (saved) setenv("LC_ALL", savedValue.c_str(), 1);
    else unsetenv("LC_ALL");
}

}  // namespace
}  // namespace athanor
