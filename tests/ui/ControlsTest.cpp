#include "foundations/TextFile.h"
#include "graphics/ChartViewControls.h"
#include "graphics/GraphSettings.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>

namespace athanor::test {
namespace {

TEST(ChartViewControlsTest, ZoomStopsAtItsLimits) {
    DrawingState s;
    for (int i = 0; i < 40; ++i) zoomIn(s, 1000, 800);
    EXPECT_DOUBLE_EQ(s.zoom, 4.0);
    zoomIn(s, 1000, 800);
    EXPECT_DOUBLE_EQ(s.zoom, 4.0);
    for (int i = 0; i < 40; ++i) zoomOut(s, 1000, 800);
    EXPECT_DOUBLE_EQ(s.zoom, 0.4);
    zoomIn(s, 1000, 800);
    EXPECT_NEAR(s.zoom, 0.46, 1e-12);
}

TEST(ChartViewControlsTest, ZoomKeepsThePagePointAtTheMiddleInPlace) {
    // The page point that lies at half the screen's width and height at zoom 1 keeps its
    // place on the screen, whatever the pan.
    const int w = 1280, h = 1024;
    DrawingState s;
    s.ox = 37;
    s.oy = -12;
    const auto screenPosition = [&] { return std::pair{s.zoom * w / 2.0 + s.ox, s.zoom * h / 2.0 + s.oy}; };
    const auto before = screenPosition();
    for (int i = 0; i < 3; ++i) {
        zoomIn(s, w, h);
        EXPECT_NEAR(screenPosition().first, before.first, 1.0);
        EXPECT_NEAR(screenPosition().second, before.second, 1.0);
    }
    zoomOut(s, w, h);
    EXPECT_NEAR(screenPosition().first, before.first, 1.0);
    DrawingState t;
    setZoomKeepingCentre(t, 2.0, w, h);
    EXPECT_EQ(t.ox, -640);
    EXPECT_EQ(t.oy, -512);
}

TEST(ChartViewControlsTest, OnlyADragOfMoreThanTwoPixelsMovesThePage) {
    const int cases[][2] = {{0, 0}, {2, 0}, {-2, 0}, {3, 3}, {-3, -3}, {150, 150}};
    for (const auto& c : cases) EXPECT_EQ(keptDrag(c[0]), c[1]) << c[0];
}

TEST(ChartViewControlsTest, ThePageResetsToItsOrientation) {
    DrawingState s;
    s.zoom = 3;
    s.ox = s.oy = 99;
    resetPageView(s, true, 1600);
    EXPECT_EQ((std::tuple{s.zoom, s.ox, s.oy}), (std::tuple{0.5, 400, 0}));
    resetPageView(s, false, 1600);
    EXPECT_EQ((std::tuple{s.zoom, s.ox, s.oy}), (std::tuple{1.0, 0, 0}));
}

TEST(ChartViewControlsTest, MetafileNamesMustEndInUpperCaseEmf) {
    const struct {
        const char* name;
        bool ok;
    } cases[] = {
        {"GRAF01.EMF", true},      {"GRAF01.emf", false}, {"GRAF01.WMF", false}, {"GRAF01", true},
        {"GRAF01.EMF.BAK", false}, {"A.B.EMF", false},    {".EMF", true},        {"GRAF01.", false},
    };
    for (const auto& c : cases) EXPECT_EQ(acceptableMetafileName(c.name), c.ok) << c.name;
}

TEST(ChartViewControlsTest, TheGraphTypeOfAnExportSizesTheViewer) {
    TempDir dir;
    const DataRoot root(dir.path());
    EXPECT_EQ(readGraphType(root, "GRAF03.EMF"), ' ');
    recordGraphType(root, "GRAF03.EMF", 'P');
    recordGraphType(root, "GRAF15.EMF", 'P');
    recordGraphType(root, "GRAF15.EMF", 'L');
    recordGraphType(root, "DRAWING.EMF", 'P');  // no number: no line
    const auto lines = readLines(dir / "Emf/TipGraf.Set");
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[2], "P");
    EXPECT_EQ(lines[14], "L");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "L"), 14);

    const ViewerSize portrait = metafileViewerSize(readGraphType(root, "GRAF03.EMF"), 0.75);
    EXPECT_EQ((std::pair{portrait.width, portrait.height}), (std::pair{450, 680}));
    const ViewerSize landscape = metafileViewerSize(readGraphType(root, "GRAF15.EMF"), 0.75);
    EXPECT_EQ((std::pair{landscape.width, landscape.height}), (std::pair{660, 510}));
    EXPECT_EQ(metafileViewerSize('L', 0.625).width, 755);
    EXPECT_EQ(metafileViewerSize('P', 0.625).width, 525);
    EXPECT_EQ(metafileViewerSize('L', 0.63).width, 660) << "strictly inside the band";
}

TEST(GraphSettingsTest, LineFactorStepsStayWithinTheirLimits) {
    EXPECT_DOUBLE_EQ(lineFactorDown(0.52), 0.5);
    EXPECT_DOUBLE_EQ(lineFactorDown(1.0), 0.95);
    EXPECT_DOUBLE_EQ(lineFactorUp(0.95), 1.0);
    EXPECT_DOUBLE_EQ(lineFactorUp(3.9), 4.0);
    EXPECT_DOUBLE_EQ(clampLineFactor(7), 4.0);
}

TEST(GraphSettingsTest, ScrollPositionsAndFactorsCorrespond) {
    EXPECT_DOUBLE_EQ(calibrationFactor(50), 0.95);
    EXPECT_DOUBLE_EQ(calibrationFactor(-200), 1.2);
    EXPECT_EQ(calibrationPosition(0.95), 50);
    EXPECT_EQ(calibrationPosition(1.0), 0);
    EXPECT_EQ(calibrationPosition(2.0), -200) << "a factor beyond the bar's range";
    EXPECT_EQ(toggledPrinterType(toggledPrinterType(0)), 0);
    EXPECT_EQ(toggledPrinterType(0), 1);
}

}  // namespace
}  // namespace athanor::test
