#include "engine/CorrectionFixtures.h"
#include "support/TempDir.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <set>
#include <string>

namespace athanor {
namespace {

using test::TempDir;

struct CliRun {
    int status;
    std::string out;
};

CliRun runCli(const std::string& args) {
    const std::string cmd = std::string(ATHANOR_CLI) + " " + args + " 2>&1";
    CliRun r{0, {}};
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return {-1, {}};
    std::array<char, 4096> buf{};
    while (fgets(buf.data(), buf.size(), p)) r.out += buf.data();
    const int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

class CliAnalyse : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir;
        test::writeZeroCorrectionFiles(dir_->path());
        const std::filesystem::path installed = std::filesystem::path(ATHANOR_SOURCE_DIR) / "data";
        for (const char* sub : {"Scambi", "Appoggio", "FileSet", "FileDum"})
            std::filesystem::copy(installed / sub, dir_->path() / sub, std::filesystem::copy_options::recursive);
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    static QJsonObject analyse(const std::string& stampAndPlace) {
        const CliRun r = runCli("analyse " + stampAndPlace + " --data " + dir_->path().string());
        EXPECT_EQ(r.status, 0) << r.out;
        return QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object();
    }
    static TempDir* dir_;
};
TempDir* CliAnalyse::dir_ = nullptr;

int sum(const QJsonArray& rows) {
    int s = 0;
    for (const auto& row : rows)
        for (const auto& v : row.toArray()) s += v.toInt();
    return s;
}

TEST_F(CliAnalyse, EveryAnalysisOfOneChart) {
    // Thursday 10 April 1980, 13:00 one hour east of Greenwich, at Milan.
    const QJsonObject a = analyse("--stamp 198004101300-1 --coord 45N28-009E11");
    const QJsonArray list = a["aspectList"].toArray();
    ASSERT_GE(list.size(), 4);
    EXPECT_EQ(list[0].toString(), "ASPECTOS PLANETARIOS");
    EXPECT_EQ(list[list.size() - 1].toString(), QString::fromUtf8("más preciso está l'Aspecto"));
    EXPECT_EQ(a["eclipticGrid"].toArray().size(), 55);
    EXPECT_EQ(a["sphericalGrid"].toArray().size(), 55);
    EXPECT_EQ(a["sphericalGrid"].toArray()[0].toObject()["text"].toString().size(), 5);

    std::set<int> placed;
    for (const auto& col : a["structure"].toArray())
        for (const auto& slot : col.toObject()["slots"].toArray()) {
            const int planet = slot.toObject()["planet"].toInt();
            EXPECT_TRUE(placed.insert(planet).second) << planet;
        }
    EXPECT_FALSE(placed.empty());

    const QJsonObject weaves = a["weaves"].toObject();
    EXPECT_EQ(sum(weaves["elemental"].toArray()), 7);
    EXPECT_EQ(sum(weaves["seasonal"].toArray()), 7);
    const QJsonObject humors = weaves["humoralElemental"].toObject();
    EXPECT_EQ(humors["hot"].toInt() + humors["cold"].toInt(), 7);
    EXPECT_EQ(humors["moist"].toInt() + humors["dry"].toInt(), 7);

    const QJsonArray sectors = a["sectors"].toArray();
    ASSERT_EQ(sectors.size(), 11);
    EXPECT_EQ(sectors[0].toObject()["decanCode"].toString(), "SolDec03");  // the Sun near 21° Aries
    const QJsonArray codes = a["positionCodes"].toArray();
    EXPECT_EQ(codes[0].toString(), "SoleArie");
    EXPECT_TRUE(codes.contains(QJsonValue("NonOpNos")));

    const QJsonObject hour = a["planetaryHour"].toObject();
    EXPECT_TRUE(hour["sunrise"].toString().startsWith("05:")) << hour["sunrise"].toString().toStdString();
    EXPECT_EQ(hour["weekday"].toString(), "Jueves");
    EXPECT_EQ(hour["hour"].toInt(), 7);
    EXPECT_TRUE(hour["diurnal"].toBool());
    EXPECT_EQ(hour["ruler"].toString(), "Saturno");

    const QJsonObject masters = a["masters"].toObject();
    EXPECT_EQ(masters["tableYear"].toInt(), 1980);
    EXPECT_EQ(masters["year"].toString(), "la Luna");
    EXPECT_EQ(masters["cycle"].toString(), "la Luna");

    const QJsonArray totals = a["ruler"].toObject()["totals"].toArray();
    ASSERT_EQ(totals.size(), 10);
    const QJsonArray heights = a["powers"].toObject()["heights"].toArray();
    ASSERT_EQ(heights.size(), 10);
    int highest = 0;
    for (const auto& h : heights) highest = std::max(highest, h.toInt());
    EXPECT_EQ(highest, 30);
    EXPECT_EQ(a["ruler"].toObject()["elements"].toArray().size(), 4);

    // The analysis leaves the program folder as it found it.
    EXPECT_FALSE(std::filesystem::exists(dir_->path() / "FileTmp"));
    EXPECT_FALSE(std::filesystem::exists(dir_->path() / "FileDum" / "MMMaitr2.dum"));
}

TEST_F(CliAnalyse, ABirthBeforeSunriseBelongsToThePreviousDay) {
    const QJsonObject hour = analyse("--stamp 198004100540-1 --coord 45N28-009E11")["planetaryHour"].toObject();
    EXPECT_EQ(hour["weekday"].toString(), QString::fromUtf8("Miércoles"));
    EXPECT_EQ(hour["hour"].toInt(), 24);
    EXPECT_FALSE(hour["diurnal"].toBool());
    // A birth on 10 March belongs to the astrological year before.
    EXPECT_EQ(analyse("--stamp 198003101300-1 --coord 45N28-009E11")["masters"].toObject()["tableYear"].toInt(), 1979);
}

TEST_F(CliAnalyse, AJulianCalendarBirthAfterTheReformIsScoredOnItsOwnChart) {
    // 1 January 1900 in the Julian calendar is 13 January in the Gregorian one.
    const QJsonObject julian = analyse("--stamp 190001011200-2 --coord 55N45-037E37 --calendar GI");
    const QJsonObject gregorian = analyse("--stamp 190001131200-2 --coord 55N45-037E37 --calendar GR");
    EXPECT_EQ(julian["ruler"], gregorian["ruler"]);
    EXPECT_EQ(julian["powers"], gregorian["powers"]);
}

TEST_F(CliAnalyse, ChartAndAnalysisPutEveryBodyInTheSameHouse) {
    // Milan, 14 May 1973 22:15: the Sun stands just before the computed cusp of house 6,
    // in the sixth of the mean houses the wheel draws and the texts read.
    const std::string subject = "--stamp 197305142215-1 --coord 45N28-009E11";
    const QJsonObject a = analyse(subject);
    const CliRun r = runCli("chart " + subject + " --data " + dir_->path().string());
    ASSERT_EQ(r.status, 0) << r.out;
    const QJsonObject chart = QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object();
    EXPECT_EQ(chart["houseSystem"].toString(), "CASE_MEDIE");
    EXPECT_EQ(a["houseSystem"].toString(), "CASE_MEDIE");
    EXPECT_EQ(a["ruler"].toObject()["houseSystem"].toString(), "PLACIDO");

    const QStringList tags = {"Prim", "Seco", "Terz", "Quar", "Quin", "Sest",
                              "Sett", "Otta", "Nona", "Deci", "Undi", "Dodi"};
    const QJsonArray bodies = chart["bodies"].toArray();
    const QJsonArray codes = a["positionCodes"].toArray();
    ASSERT_GE(codes.size(), 22);
    for (int b = 0; b < 11; ++b) {
        // Codes 11 to 21: body tag and house tag, "SoleSest".
        const int coded = static_cast<int>(tags.indexOf(codes[11 + b].toString().mid(4))) + 1;
        EXPECT_EQ(bodies[b].toObject()["house"].toInt(), coded) << codes[11 + b].toString().toStdString();
    }
    EXPECT_EQ(codes[11].toString(), "SoleSest");
    EXPECT_EQ(bodies[0].toObject()["house"].toInt(), 6);
}

TEST_F(CliAnalyse, DatesThatDoNotExistAreRefusedWithOneLine) {
    const std::string place = " --coord 45N28-009E11 --data " + dir_->path().string();
    struct Case {
        const char* stampAndCalendar;
        bool exists;
    };
    const Case cases[] = {
        {"--stamp 199002311505-1", false},
        {"--stamp 199002281505-1", true},
        {"--stamp 199000101505-1", false},
        {"--stamp 199003001505-1", false},
        {"--stamp 197305142515-1", false},
        {"--stamp 170002291200-1 --calendar GR", false},
        {"--stamp 170002291200-1 --calendar GI", true},
        {"--stamp 158210101200-1 --calendar GR", false},
    };
    for (const Case& c : cases)
        for (const char* command : {"chart ", "analyse "}) {
            const CliRun r = runCli(command + std::string(c.stampAndCalendar) + place);
            SCOPED_TRACE(command + std::string(c.stampAndCalendar));
            if (c.exists) {
                EXPECT_EQ(r.status, 0) << r.out;
                continue;
            }
            EXPECT_EQ(r.status, 2) << r.out;
            EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;
        }
    const CliRun render =
        runCli("render --stamp 199002311505-1 --view wheel --out " + (dir_->path() / "never.png").string() + place);
    EXPECT_EQ(render.status, 2) << render.out;
    EXPECT_EQ(std::count(render.out.begin(), render.out.end(), '\n'), 1) << render.out;
    EXPECT_NE(render.out.find("31/02/1990"), std::string::npos) << render.out;
    EXPECT_FALSE(std::filesystem::exists(dir_->path() / "never.png"));
}

TEST_F(CliAnalyse, BadArgumentsExitWithStatusTwo) {
    const std::string houses = "houses --coord 41N54-012E29 --time 14:30 ";
    for (const std::string& args : std::vector<std::string>{
             "analyse --coord 45N28-009E11", "analyse --stamp 1980 --coord 45N28-009E11",
             "analyse --stamp 198004101300-1 --coord 45X28-009E11",
             "analyse --stamp 198004101300-1 --coord 45N28-009E11 --calendar XX",
             // Corrections a clock cannot have, in any notation but plain decimals.
             "analyse --stamp 199003211430-1e300 --coord 41N54-012E29",
             "chart --stamp 199003211430+15 --coord 41N54-012E29",
             "chart --stamp 199003211430-0x1 --coord 41N54-012E29",
             "chart --stamp 199003211430-1.5.5 --coord 41N54-012E29",
             "render --stamp 199003211430+99 --coord 41N54-012E29 --view wheel --out never.png",
             houses + "--jd 2447972.06 --system PLACIDO --corr -30",
             // Julian days that are no numbers, or no dates.
             "positions --jd nan", "positions --jd inf", "positions --jd 1e5", "positions --jd 0x10",
             "positions --jd 100000000000000000000", "date --jd -nan",
             houses + "--jd 2447972.06 --system NADA --corr -1",
             "chart --stamp 199003211430-1 --coord 41N54-012E29 --data ''", "kb stats --data ''",
             // Places off the globe, dates off the calendar.
             "chart --stamp 199003211430-1 --coord 41N54-180E59", "chart --stamp 199003211430-1 --coord 90S59-010E00",
             "chart --stamp 199003211430-1 --coord 41N5-012E29", "jd --date 31/02/1990 --time 12:00",
             "jd --date 0/0/0 --time 12:00", "date --jd -9999999"}) {
        const CliRun r = runCli(args);
        EXPECT_EQ(r.status, 2) << args << ": " << r.out;
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << args << ": " << r.out;
    }
    EXPECT_EQ(runCli(houses + "--jd 2447972.06 --system PLACIDO --corr -1").status, 0);
}

}  // namespace
}  // namespace athanor
