#include "app/EditorRuler.h"

#include <gtest/gtest.h>

namespace athanor::test {
namespace {

constexpr int kWidth = 600;
constexpr int kHalf = 4;  // the markers are 9 pixels wide

TEST(EditorRulerTest, MarkersStandWhereTheIndentsPutThem) {
    struct Case {
        ParagraphIndents indents;
        MarkerPlaces places;
    };
    const Case cases[] = {
        {{0, 0, 0}, {2, 2, kWidth - 8 - 6}},
        {{36, 0, 0}, {50, 50, kWidth - 14}},    // half an inch: 48 pixels
        {{36, -36, 18}, {50, 2, kWidth - 32 - 6}},  // a hanging first line; (18 + 6) × 4/3 = 32
        {{10, 5, 1}, {15, 22, kWidth - 9 - 6}},    // trunc(13.3) + 2, trunc(20) + 2, trunc(9.3)
    };
    for (const auto& c : cases) {
        EXPECT_EQ(markerPlaces(c.indents, kWidth), c.places) << c.indents.first << " " << c.indents.left;
    }
}

TEST(EditorRulerTest, DroppingAMarkerSetsItsIndent) {
    struct Case {
        const char* what;
        ParagraphIndents before;
        RulerMarker marker;
        int x;
        ParagraphIndents after;
    };
    const Case cases[] = {
        // An unmoved marker gives back its indent.
        {"first in place", {36, 0, 0}, RulerMarker::First, 50, {36, 0, 0}},
        {"right in place", {0, 0, 0}, RulerMarker::Right, kWidth - 14, {0, 0, 0}},
        // trunc((98 + 4 - 6) × 3/4) = 72 points from the edge, 36 of them the first line's.
        {"left further in", {36, 0, 0}, RulerMarker::Left, 98, {36, 36, 0}},
        // The first line moves; the other lines stay at the left marker's 36 points.
        {"first line back to the edge", {36, 0, 0}, RulerMarker::First, 2, {0, 36, 0}},
        {"left marker to the ruler's start cancels the first line's indent", {36, 12, 0}, RulerMarker::Left, 2,
         {36, -36, 0}},
        {"left marker dragged past the start stops there", {20, 0, 0}, RulerMarker::Left, -30, {20, -20, 0}},
        // trunc((600 + 4 - 500 - 2) × 3/4) - 12 = 64 points.
        {"right marker further in", {0, 0, 0}, RulerMarker::Right, 500, {0, 0, 64}},
        {"right marker past the end stops there", {0, 0, 30}, RulerMarker::Right, kWidth + 40, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        const MarkerPlaces places = markerPlaces(c.before, kWidth);
        EXPECT_EQ(dropMarker(c.before, places, c.marker, c.x, kHalf, kWidth), c.after) << c.what;
    }
}

TEST(EditorRulerTest, IndentsBecomeLayoutMarginsAndBack) {
    const ParagraphIndents hanging{36, -18, 12};
    const BlockMargins m = blockMargins(hanging);
    EXPECT_DOUBLE_EQ(m.left, 24.0);            // 18 points
    EXPECT_DOUBLE_EQ(m.firstLineShift, 24.0);  // the first line 18 points further in
    EXPECT_DOUBLE_EQ(m.right, 16.0);
    EXPECT_EQ(indentsOf(m), hanging);

    // Nothing goes left of the text's edge.
    const BlockMargins out = blockMargins({10, -40, -5});
    EXPECT_DOUBLE_EQ(out.left, 0.0);
    EXPECT_GE(out.left + out.firstLineShift, 0.0);
    EXPECT_DOUBLE_EQ(out.right, 0.0);
}

}  // namespace
}  // namespace athanor::test
