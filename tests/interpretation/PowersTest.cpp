#include "foundations/FileError.h"
#include "foundations/TextFile.h"
#include "interpretation/Powers.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace athanor {
namespace {

using test::TempDir;

std::array<long double, 11> scores(std::initializer_list<long double> s) {
    std::array<long double, 11> out{};
    int i = 1;
    for (long double v : s) out[i++] = v;
    return out;
}

std::vector<int> heights(const Powers& p) {
    std::vector<int> h;
    for (int b = 1; b <= 10; ++b) h.push_back(p.bars[b].height);
    return h;
}

TEST(Powers, BarsScaleToTheHighestScore) {
    const Powers p = computePowers(scores({60, 30, -10, 1, 45, -2, 0, 59, 12, 6}));
    EXPECT_EQ(heights(p), (std::vector<int>{30, 15, 5, 3, 22, 3, 3, 30, 6, 3}));
    EXPECT_TRUE(p.bars[3].negative);
    EXPECT_TRUE(p.bars[6].negative);
    EXPECT_FALSE(p.bars[7].negative);
    EXPECT_EQ(p.dominant, 1);
    EXPECT_EQ(p.bars[3].text, "-10");
}

TEST(Powers, TiesAndScoresWithoutAPositiveMaximum) {
    EXPECT_EQ(computePowers(scores({5, 40, 40, 0, 0, 0, 0, 0, 0, 0})).dominant, 2);
    const Powers zero = computePowers(scores({}));
    EXPECT_EQ(heights(zero), std::vector<int>(10, 3));
    EXPECT_EQ(zero.dominant, 1);
    const Powers negative = computePowers(scores({-10, -20, -4, -1, -10, -10, -10, -10, -10, -10}));
    EXPECT_EQ(negative.dominant, 4);
    EXPECT_EQ(heights(negative), (std::vector<int>{15, 30, 6, 3, 15, 15, 15, 15, 15, 15}));
    EXPECT_TRUE(negative.bars[2].negative);
}

TEST(Powers, ScoreTexts) {
    struct Case {
        long double score;
        const char* text;
    } cases[] = {{60, "60"}, {-10, "-10"},      {12.5L, "12,5"}, {-1234, "-123"},
                 {0, "0"},   {1234.5L, "1234"}, {-0.5L, "-0,5"}};
    for (const auto& c : cases) EXPECT_EQ(scoreText(c.score), c.text) << double(c.score);
}

TEST(Powers, SummaryFileNamesTheSignsAndTheDominantBody) {
    TempDir dir;
    DataRoot root(dir.path());
    dir.write("FileDum/MMMaitr2.dum", "12\r\n3\r\n-4\r\n5\r\n6\r\n7\r\n8\r\n40\r\n9\r\n10\r\n050\r\n");
    ChartState chart;
    chart.BodyLongitude[body::Sun] = 130;        // Leo
    chart.BodyLongitude[body::Ascendant] = 215;  // Escorpio
    const Powers p = runPowers(root, chart);
    EXPECT_EQ(p.dominant, 8);
    EXPECT_EQ(readLines(dir / "FileDum/Dati3.dum"), (std::vector<std::string>{"Leo", "Escorpio", "URANO"}));
    EXPECT_STREQ(dominantName(6), "J\xDAPITER");
}

TEST(Powers, AMissingOrShortResultFileIsAFileError) {
    TempDir dir;
    DataRoot root(dir.path());
    EXPECT_THROW(readPowerScores(root), FileError);
    dir.write("FileDum/MMMaitr2.dum", "1\r\n2\r\n");
    EXPECT_THROW(readPowerScores(root), FileError);
}

}  // namespace
}  // namespace athanor
