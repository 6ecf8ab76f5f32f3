// The update install: a folder holding OpzioneH copied over the program's OpzioneH.
#include "foundations/FileError.h"
#include "foundations/Format.h"
#include "foundations/TextFile.h"
#include "knowledge/UpdateInstall.h"
#include "KbFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace athanor {
namespace {

using namespace test;
namespace fs = std::filesystem;

const auto kOld = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
const auto kNew = fs::file_time_type::clock::now() - std::chrono::hours(24 * 10);

// An update folder: a new database and repertory dated kNew, and a list.
fs::path makeUpdate(const TempDir& dir, const std::string& opzione = "OpzioneH") {
    const fs::path folder = dir.path() / opzione;
    writeRecords(folder / "DBmain.rnd", std::vector<RemedyRecord>{{}, remedy("Nuevo", "Tos")});
    writeRecords(folder / "Repertorio.rnd", std::vector<TherapyRecord>{{}, therapy("Tos", "Nuevo")});
    writeLines(folder / "Sintomi.txt", {"Tos"});
    for (const char* f : {"DBmain.rnd", "Repertorio.rnd", "Sintomi.txt"}) fs::last_write_time(folder / f, kNew);
    return dir.path();
}

KbFolder installed() {
    KbFolder kb({remedy("Viejo", "Fiebre")});
    for (const char* f : {"OpzioneH/DBmain.rnd", "OpzioneH/Repertorio.rnd"}) fs::last_write_time(kb.folder() / f, kOld);
    return kb;
}

TEST(Update, CopiesEveryFileKeepingItsDateAndReportsTheInstalledDate) {
    const KbFolder kb = installed();
    TempDir update;
    const fs::path source = makeUpdate(update, "opzioneh");  // letter case aside
    // The installed file is spelt differently: it is replaced, not doubled.
    fs::rename(kb.folder() / "OpzioneH" / "DBmain.rnd", kb.folder() / "OpzioneH" / "DBMAIN.RND");

    EXPECT_FALSE(updateIsOlder(kb.root(), source));
    std::vector<std::pair<std::uint64_t, std::uint64_t>> steps;
    const InstallReport report =
        installUpdate(kb.root(), source, [&](std::uint64_t done, std::uint64_t total) { steps.emplace_back(done, total); });
    // From nothing to every byte, never backwards.
    ASSERT_GE(steps.size(), 2u);
    EXPECT_EQ(steps.front().first, 0u);
    EXPECT_EQ(steps.back().first, steps.back().second);
    EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end()));
    EXPECT_EQ(report.files, (std::vector<std::string>{"DBmain.rnd", "Repertorio.rnd", "Sintomi.txt"}));
    EXPECT_EQ(report.installedDate, baseDate(source));
    EXPECT_EQ(report.installedDate, fileDateText(source / "opzioneh" / "DBmain.rnd"));
    EXPECT_TRUE(fs::exists(kb.folder() / "OpzioneH" / "DBMAIN.RND"));
    EXPECT_FALSE(fs::exists(kb.folder() / "OpzioneH" / "DBmain.rnd"));
    EXPECT_EQ(TempDir::read(kb.folder() / "OpzioneH" / "DBMAIN.RND"),
              TempDir::read(source / "opzioneh" / "DBmain.rnd"));
    EXPECT_EQ(readLines(kb.path("OpzioneH\\Sintomi.txt")), std::vector<std::string>{"Tos"});
    // Other files of the installed folder stay.
    EXPECT_TRUE(fs::exists(kb.folder() / "OpzioneS" / "DataQvl.rnd"));
}

TEST(Update, AMissingOrIncompleteSourceChangesNothing) {
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> damage;
    } cases[] = {
        {"no OpzioneH", [](const fs::path& s) { fs::remove_all(s / "OpzioneH"); }},
        {"no database", [](const fs::path& s) { fs::remove(s / "OpzioneH" / "DBmain.rnd"); }},
        {"no repertory", [](const fs::path& s) { fs::remove(s / "OpzioneH" / "Repertorio.rnd"); }},
    };
    for (const auto& c : cases) {
        const KbFolder kb = installed();
        TempDir update;
        const fs::path source = makeUpdate(update);
        c.damage(source);
        const auto before = kb.snapshot();
        EXPECT_THROW(installUpdate(kb.root(), source), FileError) << c.name;
        EXPECT_EQ(kb.snapshot(), before) << c.name;
    }
    const KbFolder kb = installed();
    EXPECT_THROW(installUpdate(kb.root(), kb.folder() / "no-existe"), FileError);
}

TEST(Update, SourcesDatesAndInformation) {
    TempDir a, b, c, d, none;
    for (const TempDir* t : {&a, &b, &c, &d}) makeUpdate(*t);
    EXPECT_EQ(updateSources({none.path(), a.path(), b.path(), c.path(), d.path()}),
              (std::vector<fs::path>{a.path(), b.path(), c.path()}));

    const KbFolder kb = installed();
    fs::last_write_time(kb.folder() / "OpzioneH" / "Repertorio.rnd", kNew + std::chrono::hours(24));
    // The newer of the two files gives the date; an update older than it is still offered.
    EXPECT_EQ(installedDate(kb.root()), fileDateText(kb.folder() / "OpzioneH" / "Repertorio.rnd"));
    EXPECT_TRUE(updateIsOlder(kb.root(), a.path()));
    EXPECT_EQ(baseDate(none.path()), "Non Valida");

    fs::create_directories(kb.folder() / "Appoggio");
    writeLines(kb.folder() / "Appoggio" / "Aggiorna1.txt", {"uno"});
    writeLines(kb.folder() / "Appoggio" / "Aggiorna2.txt", {"dos"});
    EXPECT_EQ(updateInformation(kb.root()), std::vector<std::string>{"uno"});
    writeLines(kb.folder() / "OpzioneH" / "AutoSet", {});
    EXPECT_EQ(updateInformation(kb.root()), std::vector<std::string>{"dos"});
}

}  // namespace
}  // namespace athanor
