#include "graphics/PageCanvas.h"

#include "Recorder.h"
#include "foundations/DataRoot.h"
#include "foundations/FileError.h"
#include "support/TempDir.h"

#include <QFontMetricsF>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace athanor {
namespace {

using test::Primitive;
using test::RecordingDevice;

const DataRoot kData{ATHANOR_SOURCE_DIR "/data"};

// A canvas on a recording device.
struct Rig {
    explicit Rig(DrawingState s) : state(s) {
        painter.begin(&device);
        canvas = std::make_unique<PageCanvas>(painter, state, &kData);
    }
    ~Rig() {
        if (painter.isActive()) painter.end();
    }
    DrawingState state;
    RecordingDevice device;
    QPainter painter;
    std::unique_ptr<PageCanvas> canvas;
};

DrawingState screen(double ppu = 10) {
    DrawingState s;
    s.setScreenScale(ppu);
    return s;
}

TEST(Canvas, ConvertsPageUnitsWithCorrectionsZoomAndPan) {
    struct Case {
        double ppu, hc, vc, zoom;
        int ox, oy;
        double y, x;
        QPoint expected;
    };
    const Case cases[] = {
        {4, 1, 1, 1, 0, 0, 10, 20, {80, 40}},
        {10, 1.1, 1, 1, 0, 0, 0, 10, {91, 0}},           // 10 / 1.1 * 10 = 90.9
        {3.7, 1, 0.9, 1.5, 5, -3, 12.3, 7.7, {48, 73}},  // 42.7 + 5, 75.85 - 3
        {8, 1.25, 0.8, 0.5, 100, 40, 20, 40, {228, 140}},
    };
    for (const Case& c : cases) {
        DrawingState s = screen(c.ppu);
        s.hc = c.hc;
        s.vc = c.vc;
        s.zoom = c.zoom;
        s.ox = c.ox;
        s.oy = c.oy;
        Rig rig(s);
        rig.canvas->line(0, 0, c.y, c.x);
        const auto lines = rig.device.of(Primitive::Line);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0]->points[1].toPoint(), c.expected) << c.ppu << " " << c.hc << " " << c.zoom;
    }
}

TEST(Canvas, HorizontalCorrectionShortensLinesButNotGlyphSquares) {
    for (double hc : {1.0, 1.1}) {
        DrawingState s = screen(10);
        s.hc = hc;
        Rig rig(s);
        rig.canvas->line(50, 0, 50, 10);
        const auto line = rig.device.of(Primitive::Line).at(0);
        EXPECT_EQ(line->points[1].x() - line->points[0].x(), std::lround(10 / hc * 10));
        const QRect square = rig.canvas->glyphSquare(50, 100, 7);
        EXPECT_EQ(square.width(), 70);
        EXPECT_EQ(square.height(), 70);
        EXPECT_EQ(square.center().x() + 1, std::lround(100 / hc * 10));
        // The glyph's own drawing stays inside its square and fills most of it.
        rig.canvas->planetGlyph(1, 50, 100, 7);
        QRectF ink;
        for (const auto& p : rig.device.items)
            if (p.kind == Primitive::Path) ink = ink.united(p.path.boundingRect());
        EXPECT_TRUE(QRectF(square).adjusted(-1, -1, 1, 1).contains(ink)) << hc;
        EXPECT_GT(ink.width(), 0.5 * square.width());
    }
}

TEST(Canvas, PenWidthsFollowScaleLineFactorAndZoom) {
    struct Case {
        int code;
        double ppu, lineFactor, zoom;
        int width;
        QColor colour;
    };
    const Case cases[] = {
        {0, 8, 1, 1, 2, colour::Black},     {0, 8, 2, 1, 4, colour::Black},  // twice the line factor, twice the width
        {0, 8, 0, 1, 2, colour::Black},                                      // a stored 0 draws as 1
        {10, 8, 1, 1, 1, colour::Black},    {22, 10, 1, 3, 8, colour::Red},  // not zoomed
        {58, 4, 1, 1.5, 12, colour::Green},                                  // 2 u Z
        {59, 4, 1.5, 2, 12, colour::Green}, {63, 6, 1, 1, 4, colour::Black},
        {78, 10, 1, 1, 4, colour::Olive},   {40, 8, 1, 1, 1, colour::Black},  // unlisted above 10: u/8
        {-1, 8, 1, 1, 2, colour::Black},                                      // unlisted below 10: u/4
    };
    for (const Case& c : cases) {
        DrawingState s = screen(c.ppu);
        s.lineFactor = c.lineFactor;
        s.zoom = c.zoom;
        Rig rig(s);
        rig.canvas->selectPen(c.code);
        rig.canvas->line(1, 1, 2, 2);
        const QPen pen = rig.device.of(Primitive::Line).at(0)->pen;
        EXPECT_EQ(pen.width(), c.width) << "pen " << c.code;
        EXPECT_EQ(pen.color(), c.colour) << "pen " << c.code;
    }
    Rig rig(screen());
    EXPECT_EQ(rig.canvas->pen(12).style(), Qt::DashLine);
    EXPECT_EQ(rig.canvas->pen(26).style(), Qt::DashLine);
    EXPECT_EQ(rig.canvas->pen(13).style(), Qt::SolidLine);
}

TEST(Canvas, MonochromeMapsPensBrushesAndTextsBySurface) {
    struct Case {
        bool printing, recording;
        QColor red, white, brush, text;
    };
    const Case cases[] = {
        {false, false, colour::White, colour::White, colour::White, colour::White},
        {true, false, colour::Black, colour::White, colour::Black, colour::Black},
        {false, true, colour::Black, colour::White, colour::Black, colour::Black},
    };
    for (const Case& c : cases) {
        DrawingState s = screen();
        s.monochrome = true;
        s.printing = c.printing;
        s.recording = c.recording;
        Rig rig(s);
        rig.canvas->selectPen(79);  // a red analysis line
        rig.canvas->line(1, 1, 2, 2);
        rig.canvas->selectPen(1);
        rig.canvas->line(1, 1, 2, 2);
        rig.canvas->selectBrush(colour::Red);
        rig.canvas->rectangle(5, 5, 1, 1);
        rig.canvas->setTextColour(colour::Red);
        rig.canvas->textLeft(10, 10, "Sol", 1);
        const auto lines = rig.device.of(Primitive::Line);
        EXPECT_EQ(lines.at(0)->pen.color(), c.red);
        EXPECT_EQ(lines.at(1)->pen.color(), c.white);
        EXPECT_EQ(rig.device.of(Primitive::Rect).at(0)->brush.color(), c.brush);
        EXPECT_EQ(rig.device.of(Primitive::Text).at(0)->pen.color(), c.text);
    }
    // With a secondary window the brush inverts: black on screen, white on paper.
    for (bool paper : {false, true}) {
        DrawingState s = screen();
        s.monochrome = true;
        s.secondaryWindow = true;
        s.printing = paper;
        Rig rig(s);
        rig.canvas->selectBrush(colour::White);
        rig.canvas->ellipse(5, 5, 1, 1);
        EXPECT_EQ(rig.device.of(Primitive::Ellipse).at(0)->brush.color(), paper ? colour::White : colour::Black);
    }
}

TEST(Canvas, OnPaperYellowAndCyanGiveWayToColoursThatPrint) {
    // Every pen: yellow prints olive and cyan blue, at the screen's width; the rest stays.
    for (int code = -1; code <= 90; ++code) {
        const QColor screenColour = penSpec(code).colour;
        const QColor paperColour = screenColour == colour::Yellow ? colour::Olive
                                   : screenColour == colour::Cyan ? colour::Blue
                                                                  : screenColour;
        Rig onScreen(screen());
        EXPECT_EQ(onScreen.canvas->pen(code).color(), screenColour) << code;
        for (bool metafile : {false, true}) {
            DrawingState s = screen();
            s.printing = !metafile;
            s.recording = metafile;
            Rig rig(s);
            rig.canvas->selectPen(code);
            rig.canvas->line(1, 1, 2, 2);
            const QPen pen = rig.device.of(Primitive::Line).at(0)->pen;
            EXPECT_EQ(pen.color(), paperColour) << "pen " << code << (metafile ? " metafile" : " printer");
            EXPECT_EQ(pen.width(), onScreen.canvas->pen(code).width()) << code;
        }
    }
    // Texts: yellow prints orange, cyan blue, silver grey.
    struct Case {
        QColor screen, paper;
    };
    const Case texts[] = {{colour::Yellow, colour::Orange}, {colour::Cyan, colour::Blue},
                          {colour::Silver, colour::Grey},   {colour::Red, colour::Red},
                          {colour::Green, colour::Green},   {colour::White, colour::White}};
    for (const Case& c : texts)
        for (bool paper : {false, true}) {
            DrawingState s = screen();
            s.printing = paper;
            Rig rig(s);
            rig.canvas->setTextColour(c.screen);
            rig.canvas->textLeft(10, 10, "Sol", 1);
            EXPECT_EQ(rig.device.of(Primitive::Text).at(0)->pen.color(), paper ? c.paper : c.screen) << paper;
        }
    // Monochrome keeps its own rule: black on paper.
    DrawingState mono = screen();
    mono.printing = mono.monochrome = true;
    Rig rig(mono);
    rig.canvas->selectPen(7);
    rig.canvas->line(1, 1, 2, 2);
    EXPECT_EQ(rig.device.of(Primitive::Line).at(0)->pen.color(), colour::Black);
}

TEST(Canvas, LogicalColoursReadOnBlackScreenAndWhitePaper) {
    struct Case {
        int code;
        int screenPen, paperPen;
    };
    const Case cases[] = {{0, 1, 0}, {4, 5, 4}, {10, 17, 10}, {2, 7, 2}, {7, 2, 7}, {25, 25, 25}, {60, 60, 60}};
    for (const Case& c : cases) {
        EXPECT_EQ(logicalPen(c.code, Surface::Screen), c.screenPen) << c.code;
        EXPECT_EQ(logicalPen(c.code, Surface::Printer), c.paperPen) << c.code;
        EXPECT_EQ(logicalPen(c.code, Surface::Metafile), c.paperPen) << c.code;
    }
    EXPECT_EQ(logicalTextColour(0, Surface::Screen), colour::White);
    EXPECT_EQ(logicalTextColour(0, Surface::Metafile), colour::Black);
    EXPECT_EQ(logicalTextColour(4, Surface::Screen), colour::Cyan);
    EXPECT_EQ(logicalTextColour(4, Surface::Printer), colour::Blue);
}

TEST(Canvas, CircleIsANativeArcOnlyOnScreenAtZoomOne) {
    struct Case {
        double zoom;
        bool printing;
        bool native;
    };
    for (const Case& c : {Case{1.0, false, true}, Case{1.5, false, false}, Case{1.0, true, false}}) {
        DrawingState s = screen(10);
        s.zoom = c.zoom;
        s.printing = c.printing;
        Rig rig(s);
        rig.canvas->circle(20, 50, 60);
        if (c.native) {
            const auto paths = rig.device.of(Primitive::Path);
            ASSERT_EQ(paths.size(), 1u);
            EXPECT_EQ(paths[0]->path.boundingRect(), QRectF(400, 300, 400, 400));
            EXPECT_TRUE(rig.device.of(Primitive::Polyline).empty());
            continue;
        }
        const auto chords = rig.device.of(Primitive::Polyline);
        ASSERT_EQ(chords.size(), 1u);
        const auto& pts = chords[0]->points;
        ASSERT_EQ(pts.size(), 73u);  // the start and 72 chord ends
        const double k = 10 * c.zoom;
        EXPECT_EQ(pts.front().toPoint(), QPoint(std::lround(60 * k), std::lround(30 * k)));  // top
        EXPECT_EQ(pts.back().toPoint(), pts.front().toPoint());
        // Clockwise: the first step goes right, the quarter reaches the right side.
        EXPECT_GT(pts[1].x(), pts[0].x());
        EXPECT_EQ(pts[18].toPoint(), QPoint(std::lround(80 * k), std::lround(50 * k)));
    }
}

TEST(Canvas, DashedLineHasFifteenDashesEndingOnTheEndPoint) {
    for (auto [y1, x1, y2, x2] : {std::array{0.0, 0.0, 44.0, 88.0}, std::array{10.0, 50.0, 10.0, 7.3}}) {
        Rig rig(screen(1));
        rig.canvas->dashedLine(y1, x1, y2, x2);
        const auto dashes = rig.device.of(Primitive::Line);
        ASSERT_EQ(dashes.size(), 15u);
        EXPECT_EQ(dashes.front()->points[0].toPoint(), rig.canvas->toDevice(y1, x1));
        EXPECT_EQ(dashes.back()->points[1].toPoint(), rig.canvas->toDevice(y2, x2));
    }
    Rig rig(screen(1));
    rig.canvas->dashedLine(0, 0, 44, 88);
    const auto dashes = rig.device.of(Primitive::Line);
    for (int k = 0; k < 15; ++k) {  // dash k covers steps 3k to 3k + 2 of 44
        EXPECT_EQ(dashes[k]->points[0].toPoint(), QPoint(6 * k, 3 * k));
        EXPECT_EQ(dashes[k]->points[1].toPoint(), QPoint(6 * k + 4, 3 * k + 2));
    }
}

TEST(Canvas, DottedLineSpacesItsDotsByLength) {
    struct Case {
        double length;
        bool fine;
        size_t dots;
        double radius;
    };
    for (const Case& c : {Case{10, false, 6, 0.5}, Case{50, true, 30, 0.3}, Case{0.5, false, 0, 0.5}}) {
        Rig rig(screen(100));
        rig.canvas->dottedLine(20, 10, 20, 10 + c.length, c.fine);
        const auto dots = rig.device.of(Primitive::Ellipse);
        ASSERT_EQ(dots.size(), c.dots) << c.length;
        if (dots.empty()) continue;
        EXPECT_NEAR(dots[0]->rect.width(), 2 * c.radius * 100, 1);
        EXPECT_NEAR(dots[0]->rect.center().x(), 10 * 100, 1);
        const double lastCentre = 10 + 3.0 * (c.dots - 1) * c.length / (1.8 * c.length - 1);
        EXPECT_NEAR(dots.back()->rect.center().x(), lastCentre * 100, 1);
        EXPECT_NEAR(dots.back()->rect.center().y(), 2000, 1);
    }
}

TEST(Canvas, FontHeightsComeFromTheFontBaseAndZoom) {
    struct Case {
        int code;
        double zoom;
        int height;
    };
    // FB = round(7 * 3.7) = 26: round(26 * 30 * Z) div d.
    const Case cases[] = {{0, 1, 20}, {5, 1, 65}, {15, 1, 28}, {0, 1.5, 30}, {2, 1.15, 39}, {21, 1, 39}};
    for (const Case& c : cases) {
        DrawingState s = screen(7);
        s.zoom = c.zoom;
        Rig rig(s);
        EXPECT_EQ(rig.canvas->fontHeight(c.code), c.height) << c.code;
        const QFontMetricsF fm(rig.canvas->font(c.code), &rig.device);
        EXPECT_NEAR(fm.ascent() + fm.descent(), c.height, 0.08 * c.height + 1) << c.code;
    }
    EXPECT_EQ(fontSpec(21).face, std::string("Courier"));
    EXPECT_EQ(fontSpec(21).orientationTenths, 1000);
    EXPECT_TRUE(fontSpec(16).italic);
}

TEST(Canvas, TextsAreAnchoredLeftRightOrCentreWithTheirTopAtY) {
    enum Which { L, R, C };
    for (Which w : {L, R, C}) {
        Rig rig(screen(10));
        rig.canvas->setLogicalTextColour(0);
        const std::string text = "J\xFApiter 12\xB0";
        if (w == L) rig.canvas->textLeft(30, 100, text, 2);
        if (w == R) rig.canvas->textRight(30, 100, text, 2);
        if (w == C) rig.canvas->textCentred(30, 100, text, 2);
        const auto item = rig.device.of(Primitive::Text).at(0);
        EXPECT_EQ(item->text, QString::fromUtf8("J\xC3\xBApiter 12\xC2\xB0"));
        const QFontMetricsF fm(item->font, &rig.device);
        const double width = fm.horizontalAdvance(item->text);
        const double anchor = item->points[0].x() + (w == L ? 0 : w == R ? width : width / 2);
        EXPECT_NEAR(anchor, 1000, 0.01) << w;
        EXPECT_NEAR(item->points[0].y() - fm.ascent(), 300, 0.01);  // the top of the text at Y
        EXPECT_EQ(item->pen.color(), colour::White);
    }
}

TEST(Canvas, GlyphFilesFollowTheNameAndSuffixRules) {
    EXPECT_EQ(planetGlyphFile(1, GlyphVariant::Colour), "Simboli\\PiaX01.emf");
    EXPECT_EQ(planetGlyphFile(7, GlyphVariant::ScreenMono), "Simboli\\PiaXB07.emf");
    EXPECT_EQ(planetGlyphFile(8, GlyphVariant::PaperMono), "Simboli\\PiaXN11.emf");
    EXPECT_EQ(planetGlyphFile(9, GlyphVariant::Colour), "Simboli\\PiaX13.emf");
    EXPECT_EQ(planetGlyphFile(10, GlyphVariant::Colour), "Simboli\\PiaX14.emf");
    EXPECT_EQ(planetGlyphFile(11, GlyphVariant::ScreenMono), "Simboli\\PiaXB15.emf");
    EXPECT_EQ(signGlyphFile(3, 'M', GlyphVariant::Colour), "Zodiaco\\SegM03.emf");
    EXPECT_EQ(signGlyphFile(12, 'M', GlyphVariant::ScreenMono), "Zodiaco\\SegMB12.emf");
    EXPECT_EQ(signGlyphFile(1, 'M', GlyphVariant::PaperMono), "Zodiaco\\SegMN01.emf");
    EXPECT_EQ(elementGlyphFile(1, GlyphVariant::Colour), "Simboli\\ElFuo1.emf");
    EXPECT_EQ(elementGlyphFile(6, GlyphVariant::PaperMono), "Simboli\\ElZol2N.emf");
    EXPECT_EQ(elementGlyphFile(7, GlyphVariant::ScreenMono), "Simboli\\ElMer2B.emf");

    DrawingState s;
    EXPECT_EQ(glyphVariant(s), GlyphVariant::Colour);
    s.monochrome = true;
    EXPECT_EQ(glyphVariant(s), GlyphVariant::ScreenMono);
    s.recording = true;
    EXPECT_EQ(glyphVariant(s), GlyphVariant::PaperMono);
    s.recording = false;
    s.printing = true;
    EXPECT_EQ(glyphVariant(s), GlyphVariant::PaperMono);
}

TEST(Canvas, MissingGlyphFileStopsTheDrawingWithAFileError) {
    DrawingState s = screen();
    RecordingDevice device;
    QPainter painter(&device);
    const DataRoot empty{"/nonexistent-athanor-folder"};
    PageCanvas canvas(painter, s, &empty);
    EXPECT_THROW(canvas.planetGlyph(1, 10, 10, 7), FileError);
    PageCanvas noFolder(painter, s, nullptr);
    EXPECT_THROW(noFolder.signGlyph(1, 'M', 10, 10, 7), FileError);
}

TEST(Canvas, DamagedGlyphFileIsDrawnAsACrossedSquareAndNeverPlayed) {
    const test::TempDir dir;
    std::string bytes(600, '\0');
    bytes[0] = 1;  // an EMR_HEADER type with nothing valid behind it
    dir.write("Simboli/PiaX01.emf", bytes);
    const DataRoot folder{dir.path()};
    DrawingState s = screen();
    RecordingDevice device;
    QPainter painter(&device);
    PageCanvas canvas(painter, s, &folder);
    EXPECT_NO_THROW(canvas.planetGlyph(1, 10, 10, 7));
    painter.end();
    EXPECT_EQ(device.of(Primitive::Rect).size(), 1u);
    EXPECT_EQ(device.of(Primitive::Line).size(), 2u);
}

TEST(Canvas, AspectGlyphsAreStrokesOnTheirGridInTheSurfacesPen) {
    struct Case {
        int code;
        bool paper;
        size_t strokes;
        QColor colour;
    };
    const Case cases[] = {{2, false, 3, colour::Cyan},
                          {2, true, 3, colour::Blue},
                          {11, false, 4, colour::Cyan},
                          {5, true, 1, colour::Red},
                          {14, false, 3, colour::Red}};
    for (const Case& c : cases) {
        DrawingState s = screen(10);
        s.printing = c.paper;
        Rig rig(s);
        rig.canvas->aspectGlyph(c.code, 50, 50, 10);
        const auto strokes = rig.device.of(Primitive::Polyline);
        ASSERT_EQ(strokes.size(), c.strokes) << c.code;
        EXPECT_EQ(strokes[0]->pen.color(), c.colour) << c.code;
    }
    // Sextile: the first stroke is the horizontal bar from x = -3 to +3, h = 0.45 s.
    Rig rig(screen(10));
    rig.canvas->aspectGlyph(2, 50, 50, 10);
    const auto bar = rig.device.of(Primitive::Polyline).at(0);
    EXPECT_EQ(bar->points.front().toPoint(), QPoint(std::lround((50 - 3 * 4.5) * 10), 500));
    EXPECT_EQ(bar->points.back().toPoint(), QPoint(std::lround((50 + 3 * 4.5) * 10), 500));
    rig.canvas->aspectGlyph(99, 50, 50, 10);
    EXPECT_EQ(rig.device.of(Primitive::Polyline).size(), 3u);
}

TEST(Canvas, FooterTagIsCorrectedOnceAndLosesItsFillInMonochrome) {
    for (bool mono : {false, true}) {
        DrawingState s = screen(2);
        s.hc = 1.25;
        s.vc = 0.8;
        s.monochrome = mono;
        Rig rig(s);
        rig.canvas->footerTag(170, 190);
        // c = 195 / 1.25 = 156, d = 300 / 0.8 = 375, then scaled without correction.
        const auto star = rig.device.of(Primitive::Polygon).at(0);
        EXPECT_EQ(star->fill, Qt::WindingFill);
        ASSERT_EQ(star->points.size(), 6u);
        EXPECT_EQ(star->points[0].toPoint(), QPoint(2 * 166, 2 * 373));
        EXPECT_EQ(star->points[1].toPoint(), QPoint(2 * 181, 2 * 382));
        EXPECT_EQ(star->brush.style() == Qt::NoBrush, mono);
        if (!mono) {
            EXPECT_EQ(star->brush.color(), colour::Yellow);
        }
        const auto band = rig.device.of(Primitive::Rect).at(0);
        EXPECT_EQ(band->rect.toRect().topLeft(), QPoint(2 * 155, 2 * 375));
        const auto tag = rig.device.of(Primitive::Text).at(0);
        EXPECT_EQ(tag->text, "Miravelle 3");
        EXPECT_NE(tag->pen.color(), band->brush.color());
    }
}

TEST(Canvas, PageFrameOnlyOnScreenWithAPrinter) {
    struct Case {
        bool printer, printing, recording, portrait;
        bool drawn;
        double bottom;
    };
    const Case cases[] = {{true, false, false, false, true, 202},
                          {true, false, false, true, true, 405},
                          {false, false, false, false, false, 0},
                          {true, true, false, false, false, 0},
                          {true, false, true, false, false, 0}};
    for (const Case& c : cases) {
        DrawingState s = screen(1);
        s.printerPresent = c.printer;
        s.printing = c.printing;
        s.recording = c.recording;
        s.portrait = c.portrait;
        Rig rig(s);
        rig.canvas->pageFrame();
        const auto rects = rig.device.of(Primitive::Rect);
        ASSERT_EQ(rects.size(), c.drawn ? 1u : 0u);
        if (!c.drawn) continue;
        EXPECT_EQ(rects[0]->rect, QRectF(1, 1, 278, c.bottom - 1));
        EXPECT_EQ(rects[0]->pen.color(), colour::Yellow);
        EXPECT_EQ(rects[0]->brush.style(), Qt::NoBrush);
    }
}

}  // namespace
}  // namespace athanor
