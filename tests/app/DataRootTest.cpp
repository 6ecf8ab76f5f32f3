#include "foundations/DataRoot.h"
#include "foundations/FileError.h"
#include "app/ProgramFolder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace athanor {
namespace {

using test::TempDir;

TEST(DataRoot, ResolvesBackslashesAndLetterCaseToExistingFiles) {
    TempDir dir;
    dir.write("FileSet/OrbiDomi.stt", "x");
    dir.write("TMPR.ST1", "y");
    DataRoot root(dir.path());

    EXPECT_EQ(root.resolve("FileSet\\OrbiDomi.Stt"), dir / "FileSet/OrbiDomi.stt");
    EXPECT_EQ(root.resolve("FILESET\\orbidomi.STT"), dir / "FileSet/OrbiDomi.stt");
    EXPECT_EQ(root.resolve("tmpr.st1"), dir / "TMPR.ST1");
    EXPECT_TRUE(root.exists("fileset/ORBIDOMI.stt"));
}

TEST(DataRoot, NewFilesKeepTheSpellingOfTheirName) {
    TempDir dir;
    dir.write("filedum/Other.dum", "");
    DataRoot root(dir.path());
    // The existing folder is matched, the missing file keeps its own spelling.
    EXPECT_EQ(root.resolve("FileDum\\Annotaz.dum"), dir / "filedum/Annotaz.dum");
    // A missing folder keeps its spelling and is created for writing.
    auto p = root.resolveForWriting("FileTmp\\DatiNasc.Tmp");
    EXPECT_EQ(p, dir / "FileTmp/DatiNasc.Tmp");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "FileTmp"));
}

TEST(DataRoot, SeedingCopiesMissingFilesAndNeverOverwrites) {
    TempDir defaults, user;
    defaults.write("FileSet/MMVarLas.stt", "default");
    defaults.write("Calendar/Elencal.002", "list");
    defaults.write(".gitkeep", "");
    user.write("fileset/mmvarlas.STT", "mine");

    DataRoot root(user.path());
    EXPECT_EQ(root.seedFrom(defaults.path()), 1);
    EXPECT_EQ(TempDir::read(user / "fileset/mmvarlas.STT"), "mine");
    EXPECT_FALSE(std::filesystem::exists(user / "fileset/MMVarLas.stt") &&
                 !std::filesystem::equivalent(user / "fileset/MMVarLas.stt", user / "fileset/mmvarlas.STT"));
    EXPECT_EQ(TempDir::read(user / "Calendar/Elencal.002"), "list");
    EXPECT_FALSE(std::filesystem::exists(user / ".gitkeep"));
    // A second start copies nothing.
    EXPECT_EQ(root.seedFrom(defaults.path()), 0);
}

TEST(DataRoot, UnwritableFolderIsAFileError) {
    TempDir dir;
    dir.write("blocker", "a file where a folder should be");
    DataRoot root(dir / "blocker/athanor");
    EXPECT_THROW(root.seedFrom(dir.path()), FileError);
}

TEST(ProgramOptions, OnlyDataIsAccepted) {
    std::string error;
    auto ok = parseProgramOptions({"--data", "/tmp/x"}, error);
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->dataDir, std::filesystem::path("/tmp/x"));
    EXPECT_FALSE(parseProgramOptions({}, error)->dataDir);
    EXPECT_FALSE(parseProgramOptions({"--data"}, error));
    EXPECT_FALSE(parseProgramOptions({"--verbose"}, error));
    EXPECT_NE(error.find("--verbose"), std::string::npos);
}

}  // namespace
}  // namespace athanor
