#include "engine/CorrectionFixtures.h"
#include "graphics/EmfPlayer.h"
#include "support/TempDir.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>
#include <sys/wait.h>

namespace athanor {
namespace {

struct CliRun {
    int status = -1;
    std::string out;
};

CliRun runCli(const std::string& args) {
    CliRun r;
    FILE* p = popen((std::string(ATHANOR_CLI) + " " + args + " 2>&1").c_str(), "r");
    if (!p) return r;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    const int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

// A program folder with bare correction files and the installed glyphs.
struct Folder {
    Folder() {
        test::writeZeroCorrectionFiles(dir.path());
        for (const char* sub : {"Simboli", "Zodiaco"})
            std::filesystem::copy(std::filesystem::path(ATHANOR_SOURCE_DIR) / "data" / sub, dir / sub,
                                  std::filesystem::copy_options::recursive);
    }
    std::string args(const std::string& out, const std::string& extra = "") const {
        return "render --stamp 198507040615+4 --coord 40N42-074W00 --view wheel --out '" + (dir / out).string() +
               "' --data '" + dir.path().string() + "' " + extra;
    }
    test::TempDir dir;
};

// Share of clearly coloured pixels (channels far apart).
double colouredShare(const QImage& img) {
    long coloured = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            coloured += std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 60;
        }
    return double(coloured) / (img.width() * img.height());
}

TEST(RenderCli, DrawsTheWheelInEveryFormat) {
    const Folder f;
    for (const char* name : {"wheel.png", "wheel.pdf", "wheel.svg", "GRAF01.EMF"}) {
        const CliRun r = runCli(f.args(name, "--scale 3"));
        ASSERT_EQ(r.status, 0) << r.out;
        EXPECT_NE(r.out.find("\"view\":\"wheel\""), std::string::npos) << r.out;
        EXPECT_GT(std::filesystem::file_size(f.dir / name), 2000u) << name;
    }
    const QImage colour(QString::fromStdString((f.dir / "wheel.png").string()));
    EXPECT_EQ(colour.size(), QSize(600, 600));  // 200 units at 3 pixels
    EXPECT_GT(colouredShare(colour), 0.005);
    EXPECT_NO_THROW(EmfPicture::load(f.dir / "GRAF01.EMF"));
    EXPECT_EQ(test::TempDir::read(f.dir / "wheel.pdf").substr(0, 5), "%PDF-");

    // Monochrome: white drawing on black, nothing coloured; Julian dates are accepted.
    const CliRun mono = runCli(f.args("mono.png", "--scale 3 --mono --calendar GI"));
    ASSERT_EQ(mono.status, 0) << mono.out;
    EXPECT_NE(mono.out.find("\"monochrome\":true"), std::string::npos);
    EXPECT_EQ(colouredShare(QImage(QString::fromStdString((f.dir / "mono.png").string()))), 0.0);
}

TEST(RenderCli, DrawsTheRemediesOfTheChartFromTheBaseOfTheProgramFolder) {
    const Folder f;
    for (const char* sub : {"Scambi", "OpzioneH"})
        std::filesystem::copy(std::filesystem::path(ATHANOR_SOURCE_DIR) / "data" / sub, f.dir / sub,
                              std::filesystem::copy_options::recursive);
    const std::string milan = "render --stamp 197305142215-1 --coord 45N28-009E11 --view remedies --data '" +
                              f.dir.path().string() + "' --out '";
    const CliRun pdf = runCli(milan + (f.dir / "tema.pdf").string() + "'");
    ASSERT_EQ(pdf.status, 0) << pdf.out;
    EXPECT_NE(pdf.out.find("\"files\":[\"" + (f.dir / "tema.pdf").string() + "\"]"), std::string::npos) << pdf.out;
    EXPECT_EQ(test::TempDir::read(f.dir / "tema.pdf").substr(0, 5), "%PDF-");

    const CliRun png = runCli(milan + (f.dir / "tema.png").string() + "' --scale 2 --paper");
    ASSERT_EQ(png.status, 0) << png.out;
    EXPECT_EQ(QImage(QString::fromStdString((f.dir / "tema.png").string())).size(), QSize(558, 810));

    std::filesystem::remove(f.dir / "OpzioneH" / "DBmain.rnd");
    const CliRun noBase = runCli(milan + (f.dir / "sin.pdf").string() + "'");
    EXPECT_EQ(noBase.status, 1);
    EXPECT_NE(noBase.out.find("DBmain.rnd"), std::string::npos) << noBase.out;
    EXPECT_FALSE(std::filesystem::exists(f.dir / "sin.pdf"));
}

TEST(RenderCli, BadArgumentsExitWithStatusTwo) {
    const Folder f;
    const std::string base = "render --data '" + f.dir.path().string() + "' ";
    const std::string out = " --out '" + (f.dir / "w.png").string() + "'";
    for (const std::string& args : std::vector<std::string>{
             "--stamp 198507040615+4 --coord 40N42-074W00 --view nowheel" + out,
             "--stamp 198507040615+4 --coord 40N42-074W00 --view wheel --out '" + (f.dir / "w.bmp").string() + "'",
             "--stamp 198513040615+4 --coord 40N42-074W00 --view wheel" + out,
             "--stamp 19850704061 --coord 40N42-074W00 --view wheel" + out,
             "--stamp 198507040615+4 --coord 40N42-74W00 --view wheel" + out,
             "--stamp 198507040615+4 --coord 40N42-074W00 --calendar JU --view wheel" + out,
             std::string("--stamp 198507040615+4 --coord 40N42-074W00 --view wheel"),
             "--stamp 198507040615+4 --coord 40N42-074W00 --view wheel --scale 0" + out,
         }) {
        const CliRun r = runCli(base + args);
        EXPECT_EQ(r.status, 2) << args << "\n" << r.out;
    }
    EXPECT_FALSE(std::filesystem::exists(f.dir / "w.png"));
}

TEST(RenderCli, MissingDataFilesAreReportedAsFileErrors) {
    const test::TempDir empty;
    const CliRun noEphemeris = runCli("render --stamp 198507040615+4 --coord 40N42-074W00 --view wheel --out '" +
                                      (empty / "w.png").string() + "' --data '" + empty.path().string() + "'");
    EXPECT_EQ(noEphemeris.status, 1);
    EXPECT_NE(noEphemeris.out.find("FilePosi"), std::string::npos) << noEphemeris.out;

    test::writeZeroCorrectionFiles(empty.path());  // correction files, but no glyphs
    const CliRun noGlyphs = runCli("render --stamp 198507040615+4 --coord 40N42-074W00 --view wheel --out '" +
                                   (empty / "w.png").string() + "' --data '" + empty.path().string() + "'");
    EXPECT_EQ(noGlyphs.status, 1);
    EXPECT_NE(noGlyphs.out.find("Zodiaco"), std::string::npos) << noGlyphs.out;
    EXPECT_FALSE(std::filesystem::exists(empty / "w.png"));
}

}  // namespace
}  // namespace athanor
