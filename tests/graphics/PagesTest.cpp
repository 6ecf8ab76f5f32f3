#include "graphics/AnalysisViews.h"
#include "graphics/Pages.h"
#include "graphics/Views.h"

#include "Support.h"
#include "foundations/FileError.h"
#include "subjects/ArchiveRecords.h"
#include "subjects/SubjectFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace athanor {
namespace {

using test::Primitive;
using test::record;

const char* const kViewNames[] = {
    "structure",      "weave-elemental",     "humoral-elemental",   "weave-seasonal", "humoral-seasonal",
    "dodecatemoria",  "antiscia-1",          "antiscia-2",          "antiscia-3",     "antiscia-4",
    "affinities-1",   "affinities-2",        "affinities-3",        "powers",         "grid-ecliptic",
    "grid-spherical", "longitudes-relative", "longitudes-absolute", "latitudes",      "vertical1",
    "vertical2",      "horizontal1",         "horizontal2",
};

struct PageCase {
    const char* name;
    PageLayout layout;
};
const PageCase kPages[] = {{"vertical1", PageLayout::Vertical1},
                           {"vertical2", PageLayout::Vertical2},
                           {"horizontal1", PageLayout::Horizontal1},
                           {"horizontal2", PageLayout::Horizontal2}};

const ChartState& chartFor(const test::Birth& b) {
    static std::map<std::string, ChartState> charts;
    auto it = charts.find(b.label);
    if (it == charts.end()) it = charts.emplace(b.label, test::chartOf(b.subject)).first;
    return it->second;
}

bool drawnOn(const QImage& image) {
    const QRgb background = image.pixel(0, 0);
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            if (image.pixel(x, y) != background) return true;
    return false;
}

TEST(AnalysisViews, EveryViewRendersForEveryBirthInColourAndMonochrome) {
    registerAnalysisViews();
    const test::TestFolder folder;
    const DataRoot data = folder.root();
    const OrbSettings orbs = test::setA();
    for (const test::Birth& birth : test::births()) {
        const ChartState& chart = chartFor(birth);
        for (const char* name : kViewNames) {
            const View* view = findView(name);
            ASSERT_NE(view, nullptr) << name;
            for (const bool mono : {false, true}) {
                RenderOptions options;
                options.screenPpu = 2;
                options.monochrome = mono;
                QImage image;
                ASSERT_NO_THROW(
                    image = renderImage(*view, ViewContext{chart, orbs, data, "Dra. Prueba", "01/02/2003"}, options))
                    << birth.label << " " << name;
                EXPECT_TRUE(drawnOn(image)) << birth.label << " " << name;
            }
        }
    }
}

TEST(AnalysisViews, TheBirthsCoverRetrogradeAndAsteroidFreeCharts) {
    bool retrograde = false, noAsteroids = false;
    for (const test::Birth& birth : test::births()) {
        const ChartState& c = chartFor(birth);
        for (int b = 1; b <= 7; ++b) retrograde |= c.RetroMark[b] == 'r';
        noAsteroids |= !c.AsteroidsValid;
    }
    EXPECT_TRUE(retrograde);
    EXPECT_TRUE(noAsteroids);
}

TEST(PrintablePages, EachPageWritesAPdf) {
    registerAnalysisViews();
    const test::TestFolder folder;
    const ChartState& chart = chartFor(test::births()[0]);
    const OrbSettings orbs = test::setA();
    for (const PageCase& page : kPages) {
        const auto file = folder.dir / (std::string(page.name) + ".pdf");
        RenderOptions options;
        options.pdfDpi = 300;
        ASSERT_NO_THROW(renderToFile(*findView(page.name), ViewContext{chart, orbs, folder.root(), "", "01/02/2003"},
                                     options, file))
            << page.name;
        EXPECT_GT(std::filesystem::file_size(file), 10000u) << page.name;
    }
}

QRectF boundsOf(const Primitive& p) {
    switch (p.kind) {
    case Primitive::Path:
        return p.path.boundingRect();
    case Primitive::Ellipse:
    case Primitive::Rect:
    case Primitive::Image:
        return p.rect;
    case Primitive::Text:
        return test::textBox(p);
    default: {
        QRectF r(p.points.front(), QSizeF(0, 0));
        for (const QPointF& q : p.points) r = r.united(QRectF(q, QSizeF(0, 0)));
        return r;
    }
    }
}

std::unique_ptr<test::Recording> recordPage(PageLayout layout, const ChartState& chart, const DataRoot& data,
                                            bool paper = false, bool mono = false, PageSubject subject = {}) {
    const OrbSettings orbs = test::setA();
    if (subject.dateLine.empty()) subject = pageSubjectFromChart(chart);
    return record(
        [&](PageCanvas& c) {
            drawPage(c, layout, PageContent{chart, orbs, data, subject, "Dra. Prueba", "01/02/2003"});
        },
        4, paper, mono, data);
}

TEST(PrintablePages, TheHeaderMarksADateThatDoesNotExist) {
    ChartState chart = chartFor(test::births()[0]);
    EXPECT_EQ(pageSubjectFromChart(chart).dateLine.find("inexistente"), std::string::npos);
    chart.Day = 31;
    chart.Month = 2;
    EXPECT_NE(pageSubjectFromChart(chart).dateLine.find("(fecha inexistente)"), std::string::npos);
}

TEST(PrintablePages, EveryPageStandsInsideItsFrameAndOnItsSheet) {
    // On paper a unit is 0.776 mm of a 210 mm page width in either orientation: the A4 sheet
    // is 270.6 units wide and 382.7 (portrait) or 191.3 (landscape) high, a little less than
    // the page frame of the screen (279 x 405 or 279 x 202).
    const double sheetWidth = 210 / 0.776;
    const test::TestFolder folder;
    for (const test::Birth& birth : test::births()) {
        const ChartState& chart = chartFor(birth);
        for (const PageCase& page : kPages) {
            const auto r = recordPage(page.layout, chart, folder.root());
            const bool portrait = pagePortrait(page.layout);
            const double height =
                std::min(portrait ? 405.0 : 202.0, sheetWidth * (portrait ? 297.0 / 210 : 210.0 / 297));
            for (const Primitive& p : r->device.items) {
                const QRectF b = boundsOf(p);
                const double u = r->unitsPerPixel();
                const bool inside = b.left() * u >= -0.1 && b.right() * u <= sheetWidth + 0.1 && b.top() * u >= -0.1 &&
                                    b.bottom() * u <= height + 0.1;
                EXPECT_TRUE(inside) << birth.label << " " << page.name << ": primitive " << p.kind << " "
                                    << p.text.toStdString() << " at " << b.x() * u << "," << b.y() * u << " to "
                                    << b.right() * u << "," << b.bottom() * u;
            }
        }
    }
}

TEST(PrintablePages, NoTextRunsIntoAnother) {
    const test::TestFolder folder;
    for (const test::Birth& birth : test::births()) {
        const ChartState& chart = chartFor(birth);
        for (const PageCase& page : kPages) {
            const auto r = recordPage(page.layout, chart, folder.root(), true);
            // The texts of the page itself: the wheels keep their own labels apart.
            std::vector<const Primitive*> texts;
            for (const auto* t : r->device.of(Primitive::Text)) {
                const QPointF centre = test::textBox(*t).center() * r->unitsPerPixel();
                bool inWheel = false;
                for (const PageWheel& w : pageWheels(page.layout))
                    inWheel |= std::hypot(centre.x() - w.x, centre.y() - w.y) < 118 * w.scale;
                if (!inWheel) texts.push_back(t);
            }
            for (const auto& [a, b] : test::overlappingTexts(texts))
                ADD_FAILURE() << birth.label << " " << page.name << ": " << a.toStdString() << " / " << b.toStdString();
        }
    }
}

TEST(PrintablePages, TextsStandAtTheLayoutsAnchors) {
    const test::TestFolder folder;
    const ChartState& chart = chartFor(test::births()[0]);
    enum Align { Left, Right, Centre };
    struct Anchor {
        PageLayout layout;
        const char* text;
        double top, x;
        Align align;
    };
    const Anchor anchors[] = {
        {PageLayout::Vertical1, "TEMA DE NACIMIENTO", 15, 230, Right},
        {PageLayout::Vertical1, "LONGITUDES relativas", 115, 18, Left},
        {PageLayout::Vertical1, "TÉRMINOS", 220, 115, Left},
        {PageLayout::Vertical1, "DODECATEMORIAS", 275, 115, Left},
        {PageLayout::Vertical1, "LATITUDES", 219, 205, Left},
        {PageLayout::Vertical1, "ESTRUCTURA ARQUETIPAL", 262, 17, Left},
        {PageLayout::Vertical1, "NOTA: en el gráfico zodiacales no", 267.5, 165, Left},
        {PageLayout::Vertical1, "que implican los nodos lunares", 277.5, 165, Left},
        {PageLayout::Vertical1, "01/02/2003", 316, 225, Right},
        {PageLayout::Vertical1, "Dra. Prueba", 320, 225, Right},
        {PageLayout::Vertical2, "AFINIDAD' ENERGÉTICA", 52, 113, Right},
        {PageLayout::Vertical2, "(Magnéticas y Soli-lunares)", 57, 111, Right},
        {PageLayout::Vertical2, "AFINIDADES' ESPECULARES", 202, 113, Right},
        {PageLayout::Vertical2, "(por Antiscia y Contrantiscia)", 207, 111, Right},
        {PageLayout::Vertical2, "01/02/2003", 181, 225, Right},
        {PageLayout::Horizontal1, "DOMIFICACIÓN: CASAS MEDIANAS", 20.5, 373, Right},
        {PageLayout::Horizontal1, "LATITUDES", 65, 18, Left},
        {PageLayout::Horizontal1, "DODECATEMORIAS", 90, 265, Left},
        {PageLayout::Horizontal1, "TÉRMINOS", 150, 243, Left},
        {PageLayout::Horizontal1, "LONGITUDES relativas (entre paréntesis: Longitudes absolutas)", 210, 165, Left},
        {PageLayout::Horizontal1, "ESTRUCTURA ARQUETIPAL", 165, 17, Left},
        {PageLayout::Horizontal1, "NOTA: en el gráfico zodiacales no son trazados los aspectos", 185, 170, Centre},
        {PageLayout::Horizontal1, "que implican los Nodos Lunares", 190, 170, Centre},
        {PageLayout::Horizontal2, "AFINIDADES ENERGÉTICAS", 60, 15, Left},
        {PageLayout::Horizontal2, "(Magnéticas y Soli-lunares)", 65, 15, Left},
        {PageLayout::Horizontal2, "AFINIDADES ESPECULARES", 60, 175, Left},
        {PageLayout::Horizontal2, "(por antiscia y Contrantiscia)", 65, 175, Left},
    };
    std::map<PageLayout, std::unique_ptr<test::Recording>> pages;
    for (const Anchor& a : anchors) {
        auto& r = pages[a.layout];
        if (!r) r = recordPage(a.layout, chart, folder.root());
        // Landscape layouts are drawn scaled into the landscape page.
        const double k = pagePortrait(a.layout) ? 1 : kLandscapeScale;
        const auto found = test::textsNamed(*r, QString::fromUtf8(a.text));
        ASSERT_EQ(found.size(), 1u) << a.text;
        const auto at = test::placeOf(*found[0], r->unitsPerPixel());
        const double x = a.align == Left ? at.left : a.align == Right ? at.right : at.centre;
        EXPECT_NEAR(at.top, a.top * k, 0.3) << a.text;
        EXPECT_NEAR(x, a.x * k, 0.3) << a.text;
    }
}

TEST(PrintablePages, JulianBirthsSayCalendGiulianoOnEveryPage) {
    const test::TestFolder folder;
    for (const test::Birth& birth : test::births()) {
        const ChartState& chart = chartFor(birth);
        const bool julian = birth.subject.calendarCode != "GR";
        for (const PageCase& page : kPages) {
            const auto r = recordPage(page.layout, chart, folder.root());
            int said = 0;
            for (const auto* t : r->device.of(Primitive::Text))
                if (t->text.startsWith("Nacimiento: ")) {
                    EXPECT_EQ(t->text.endsWith(" Calend. Giuliano"), julian) << birth.label << " " << page.name;
                    ++said;
                }
            EXPECT_EQ(said, 1) << birth.label << " " << page.name;
        }
    }
}

TEST(PrintablePages, MonochromePaperDrawsOnlyBlackAndWhite) {
    const test::TestFolder folder;
    const ChartState& chart = chartFor(test::births()[6]);
    const auto blackOrWhite = [](const QColor& c) { return c == colour::Black || c == colour::White; };
    for (const PageCase& page : kPages) {
        const auto r = recordPage(page.layout, chart, folder.root(), true, true);
        int coloured = 0;
        for (const Primitive& p : r->device.items) {
            const bool pen = p.pen.style() == Qt::NoPen || blackOrWhite(p.pen.color());
            const bool brush = p.brush.style() == Qt::NoBrush || blackOrWhite(p.brush.color());
            coloured += !(pen && brush);
        }
        EXPECT_EQ(coloured, 0) << page.name;
    }
    // In colour the same page has colours.
    const auto colourPage = recordPage(PageLayout::Vertical1, chart, folder.root(), true, false);
    int coloured = 0;
    for (const Primitive& p : colourPage->device.items) coloured += !blackOrWhite(p.pen.color());
    EXPECT_GT(coloured, 0);
}

TEST(PrintablePages, ColourPaperPrintsTheScreensYellowAndCyanAsTheirPaperColours) {
    const test::TestFolder folder;
    for (const test::Birth& birth : test::births()) {
        const ChartState& chart = chartFor(birth);
        for (const PageCase& page : kPages) {
            const auto r = recordPage(page.layout, chart, folder.root(), true, false);
            int unreadable = 0;
            for (const Primitive& p : r->device.items) {
                const QColor c = p.pen.color();
                const bool drawn = p.pen.style() != Qt::NoPen;
                unreadable += drawn && (c == colour::Yellow || c == colour::Cyan ||
                                        (p.kind == Primitive::Text && c == colour::Silver));
            }
            EXPECT_EQ(unreadable, 0) << birth.label << " " << page.name;
        }
    }
    // The hard aspects of the natal page (logical pen 7: yellow on paper) print olive.
    const ChartState& chart = chartFor(test::births()[0]);
    const auto natal = recordPage(PageLayout::Vertical1, chart, folder.root(), true);
    int hard = 0, olive = 0;
    for (const auto* p : natal->device.of(Primitive::Polygon))
        if (p->brush.style() != Qt::NoBrush && p->brush.color() == colour::Red) {
            ++hard;
            olive += p->pen.color() == colour::Olive;
        }
    EXPECT_GT(hard, 0);
    EXPECT_EQ(olive, hard);
}

TEST(PrintablePages, TheNatalPagesAspectLinesFollowTheirSwitch) {
    const test::TestFolder folder;
    const DataRoot data = folder.root();
    const ChartState& chart = chartFor(test::births()[0]);
    const OrbSettings orbs = test::setA();
    // The aspect spindles: filled polygons in red or blue.
    const auto spindles = [&](PageLayout layout, bool lines) {
        const auto r = record(
            [&](PageCanvas& c) {
                PageContent content{chart, orbs, data, pageSubjectFromChart(chart), "", ""};
                content.aspectLines = lines;
                drawPage(c, layout, content);
            },
            4, false, false, data);
        int n = 0;
        for (const auto* p : r->device.of(Primitive::Polygon))
            n += p->brush.style() != Qt::NoBrush &&
                 (p->brush.color() == colour::Red || p->brush.color() == colour::Blue);
        return n;
    };
    for (const PageLayout layout : {PageLayout::Vertical1, PageLayout::Horizontal1}) {
        EXPECT_GT(spindles(layout, true), 0);
        EXPECT_EQ(spindles(layout, false), 0);
    }
}

TEST(PageSubjectLines, TheCurrentSubjectNamesThePageWhenItIsTheChartsSubject) {
    const test::TestFolder folder;
    const DataRoot data = folder.root();
    const test::Birth& birth = test::births()[0];
    const ChartState& chart = chartFor(birth);

    // Nobody current: only what the chart knows.
    PageSubject s = pageSubjectFor(chart, data);
    EXPECT_EQ(s.name, "");
    EXPECT_EQ(s.dateLine, "Nacimiento: 21/03/1990  14:30  GMT+1.00");
    EXPECT_EQ(s.coordLine, "Lat. 41\xB0"
                           "54' N   Long. 012\xB0"
                           "29' E");

    BirthRecord record = BirthRecord::blank();
    record.birthStamp = birth.subject.birthStamp;
    record.placeText = birth.subject.coordText + "ROMA*RM*";
    record.calendarCode = "GR";
    record.country = "Italia";
    storeCurrent(data, makeEntryText("ROSSI MARIO", 7), record);
    writeNotesLine(data, "consulta de prueba");
    s = pageSubjectFor(chart, data);
    EXPECT_EQ(s.name, "ROSSI MARIO");
    EXPECT_EQ(s.placeLine, "ROMA(RM) (Italia)");
    EXPECT_EQ(s.notesLine, "consulta de prueba");

    // Another birth is current: its name is not this chart's.
    record.birthStamp = "199003211530-1";
    storeCurrent(data, makeEntryText("BIANCHI LUCIA", 8), record);
    EXPECT_EQ(pageSubjectFor(chart, data).name, "");

    const auto r = recordPage(PageLayout::Vertical1, chart, data, false, false, pageSubjectFor(chart, folder.root()));
    EXPECT_TRUE(test::textsNamed(*r, "BIANCHI LUCIA").empty());
}

TEST(PrintablePages, TheNatalPagesNeedTheirTermsTexts) {
    const ChartState& chart = chartFor(test::births()[0]);
    // The installed folder has no terms texts of the printed pages.
    const test::TempDir empty;
    for (const char* d : {"Simboli", "Zodiaco", "Scambi"})
        std::filesystem::create_directory_symlink(std::filesystem::path(ATHANOR_SOURCE_DIR) / "data" / d, empty / d);
    const DataRoot data(empty.path());
    EXPECT_THROW(recordPage(PageLayout::Vertical1, chart, data), FileError);
    EXPECT_THROW(recordPage(PageLayout::Horizontal1, chart, data), FileError);
    EXPECT_NO_THROW(recordPage(PageLayout::Vertical2, chart, data));
    EXPECT_NO_THROW(recordPage(PageLayout::Horizontal2, chart, data));
}

}  // namespace
}  // namespace athanor
