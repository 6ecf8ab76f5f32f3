// The printed page of a chart's remedies: what each sheet carries and how a long list runs on.
#include "graphics/AnalysisViews.h"
#include "graphics/RemediesPage.h"
#include "graphics/Views.h"

#include "Support.h"
#include "foundations/Cp1252.h"
#include "knowledge/KnowledgeRecords.h"
#include "knowledge/Signatures.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>

namespace athanor {
namespace {

using test::Primitive;

// Milan, 14/05/1973 22:15, C -1.
const ChartState& milan1973() {
    static const ChartState chart = test::chartOf({"197305142215-1", "45N28-009E11", "GR"});
    return chart;
}

QString utf8(std::string_view cp1252) { return QString::fromStdString(cp1252ToUtf8(cp1252)); }

class RemediesPageTest : public ::testing::Test {
protected:
    // One remedy per weakness, and one with a warning that answers the first two; `extra`
    // more remedies with long indications for the first weakness.
    ChartRemedies build(int extra = 0) {
        const DataRoot root = folder.root();
        {
            // The weaknesses first, from an empty base.
            KnowledgeFile<RemedyRecord>(root.resolveForWriting(kRemedyDatabaseFile), RecordFile::Mode::Create);
            KnowledgeFile<TherapyRecord>(root.resolveForWriting(kRepertoryFile), RecordFile::Mode::Create);
            const std::vector<ChartWeakness> weaknesses = chartRemediesFor(root, milan1973()).weaknesses;
            KnowledgeFile<RemedyRecord> db(root.resolve(kRemedyDatabaseFile), RecordFile::Mode::ReadWrite);
            KnowledgeFile<TherapyRecord> rep(root.resolve(kRepertoryFile), RecordFile::Mode::ReadWrite);
            const auto add = [&](const std::string& name, const ChartWeakness& w, const std::string& indication) {
                RemedyRecord r;
                r.name = name;
                r.primarySignature = w.planet;
                r.zodiacSignature = signSearchedForWeakness(w.weakenedSign);
                r.setIndication(indication);
                db.append(r);
            };
            for (std::size_t i = 0; i < weaknesses.size(); ++i)
                add("Remedio " + std::to_string(i + 1), weaknesses[i], "Indicado cuando falta " + weaknesses[i].planet);
            RemedyRecord all;
            all.name = "Polychrestum";
            if (weaknesses.size() >= 2) {
                all.primarySignature = weaknesses[0].planet;
                all.secondarySignature = weaknesses[1].planet;
                all.zodiacSignature = signSearchedForWeakness(weaknesses[0].weakenedSign) + " " +
                                      signSearchedForWeakness(weaknesses[1].weakenedSign);
            }
            all.setWarnings("No en el embarazo ni en la lactancia");
            db.append(all);
            rep.append(TherapyRecord{"Astenia", "", "Polychrestum", {}});
            std::string indication;
            for (int w = 0; w < 60; ++w) indication += "palabra" + std::to_string(w) + " ";
            for (int i = 0; i < extra; ++i) add("Largo " + std::to_string(100 + i), weaknesses[0], indication);
        }
        return chartRemediesFor(root, milan1973());
    }

    // The texts of sheet `index` in the order drawn, and how many sheets there are.
    struct Sheet {
        std::vector<const Primitive*> texts;
        std::unique_ptr<test::Recording> recording;
        int count = 0;
        QString joined() const {
            QStringList all;
            for (const auto* t : texts) all << t->text;
            return all.join(' ');
        }
    };
    Sheet sheet(const ChartRemedies& found, int index) {
        Sheet s;
        PageSubject subject = pageSubjectFromChart(milan1973());
        subject.name = "Giulia Mil\xE1n";
        subject.placeLine = "Milano (Italia)";
        const RemediesPageContent content{found, subject, "Dra. Prueba", "01/02/2003"};
        s.recording = test::record(
            [&](PageCanvas& c) {
                const RemediesPages pages(c, content);
                s.count = pages.count();
                pages.draw(c, index);
            },
            4, true, false, folder.root());
        s.texts = s.recording->device.of(Primitive::Text);
        return s;
    }

    test::TestFolder folder;
};

TEST_F(RemediesPageTest, TheSheetCarriesTheHeaderEachWeaknessEachRemedyAndTheFooter) {
    const ChartRemedies found = build();
    ASSERT_GE(found.weaknesses.size(), 2u);
    ASSERT_EQ(found.remedies.size(), found.weaknesses.size() + 1);
    const Sheet s = sheet(found, 0);
    EXPECT_EQ(s.count, 1);
    const QString all = s.joined();
    for (const char* expected : {"Giulia Mil\xE1n", "REMEDIOS PARA EL TEMA", "Milano (Italia)", "01/02/2003",
                                 "Dra. Prueba", "ESTRUCTURA ARQUETIPAL", "P\xE1gina 1 de 1", kRemediesFooter})
        EXPECT_TRUE(all.contains(utf8(expected))) << expected << "\n" << all.toStdString();
    EXPECT_TRUE(all.contains(utf8(pageSubjectFromChart(milan1973()).dateLine)));
    for (int p = 1; p <= 7; ++p) EXPECT_TRUE(all.contains(utf8(structureWords(found, p)))) << p;
    for (std::size_t i = 0; i < found.weaknesses.size(); ++i)
        EXPECT_TRUE(all.contains(utf8(std::to_string(i + 1) + ". " + found.weaknesses[i].reason))) << i;
    // Ranked: the remedy that answers two weaknesses first, with its warning in red.
    EXPECT_TRUE(all.contains("1. Polychrestum"));
    for (std::size_t i = 1; i <= found.weaknesses.size(); ++i)
        EXPECT_TRUE(all.contains(QString("Remedio %1").arg(i))) << i;
    EXPECT_TRUE(all.contains(QString::fromUtf8("Patologías del repertorio: Astenia")));
    const auto warning = std::find_if(s.texts.begin(), s.texts.end(),
                                      [](const Primitive* t) { return t->text.startsWith("Advertencias:"); });
    ASSERT_NE(warning, s.texts.end());
    EXPECT_TRUE((*warning)->text.contains("embarazo"));
    EXPECT_EQ((*warning)->pen.color(), QColor(255, 0, 0));

    // Everything stands between the margins and on the A4 sheet (382 units high on paper).
    for (const auto* t : s.texts) {
        const test::TextPlace at = test::placeOf(*t, s.recording->unitsPerPixel());
        EXPECT_GE(at.left, kRemediesLeft - 0.5) << t->text.toStdString();
        EXPECT_LE(at.right, kRemediesRight + 0.5) << t->text.toStdString();
        EXPECT_LT(at.top, 378) << t->text.toStdString();
    }
}

TEST_F(RemediesPageTest, ALongListContinuesOnTheNextSheetWithEveryRemedyOnce) {
    const ChartRemedies found = build(40);
    const int count = sheet(found, 0).count;
    ASSERT_GE(count, 2);
    std::map<QString, int> names;
    for (int i = 0; i < count; ++i) {
        const Sheet s = sheet(found, i);
        const QString all = s.joined();
        EXPECT_TRUE(all.contains(utf8("Giulia Mil\xE1n"))) << i;
        EXPECT_TRUE(all.contains(utf8(kRemediesFooter))) << i;
        EXPECT_TRUE(all.contains(QString::fromUtf8("Página %1 de %2").arg(i + 1).arg(count))) << i;
        if (i > 0) {
            EXPECT_TRUE(all.contains(QString::fromUtf8("(continuación)"))) << i;
        }
        bool bodyDone = false;
        for (const auto* t : s.texts) {
            const test::TextPlace at = test::placeOf(*t, s.recording->unitsPerPixel());
            if (t->text.startsWith("Las correspondencias")) bodyDone = true;
            // The body stays clear of the footer.
            if (!bodyDone && at.top > kRemediesBodyTop) {
                EXPECT_LT(at.top + 3, kRemediesBodyBottom) << i << " " << t->text.toStdString();
            }
            const int dot = t->text.indexOf(". ");
            if (dot > 0 && t->text.left(dot).toInt() > 0 && at.left < kRemediesLeft + 1 &&
                (t->text.contains("Largo") || t->text.contains("Remedio") || t->text.contains("Polychrestum")))
                ++names[t->text.mid(dot + 2)];
        }
    }
    EXPECT_EQ(names.size(), found.remedies.size());
    for (const auto& [name, times] : names) EXPECT_EQ(times, 1) << name.toStdString();

    // Rendered: one picture a sheet, or every sheet in one PDF.
    registerAnalysisViews();
    const OrbSettings orbs = test::setA();
    const ViewContext context{milan1973(), orbs, folder.root(), "", "01/02/2003"};
    RenderOptions options;
    options.screenPpu = 4;  // the recording's scale: the same sheets
    options.pdfDpi = 150;
    const auto pictures = renderToFile(*findView("remedies"), context, options, folder.dir / "tema.png");
    ASSERT_EQ(pictures.size(), static_cast<std::size_t>(count));
    EXPECT_EQ(pictures.back(), folder.dir / ("tema-" + std::to_string(count) + ".png"));
    EXPECT_TRUE(std::filesystem::exists(pictures.back()));
    EXPECT_EQ(renderToFile(*findView("remedies"), context, options, folder.dir / "tema.pdf").size(), 1u);
    const std::string pdf = test::TempDir::read(folder.dir / "tema.pdf");
    const std::regex page(R"(/Type\s*/Page[^s])");
    // Paper's letters are a little smaller than the screen's: as many sheets or fewer, never one.
    const auto pages = std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator());
    EXPECT_GE(pages, 2);
    EXPECT_LE(pages, count);
}

TEST(RemediesPage, EachSheetHasItsOwnPicture) {
    struct Case {
        const char* name;
        int sheet;
        const char* file;
    };
    for (const Case& c : {Case{"GRAF04.EMF", 1, "GRAF04.EMF"}, Case{"GRAF04.EMF", 2, "GRAF04-2.EMF"},
                          Case{"TEMA", 3, "TEMA-3"}, Case{"/tmp/x/tema.png", 2, "/tmp/x/tema-2.png"}})
        EXPECT_EQ(sheetFile(c.name, c.sheet).string(), c.file) << c.name << " " << c.sheet;
}

}  // namespace
}  // namespace athanor
