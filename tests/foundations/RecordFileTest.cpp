#include "foundations/FileError.h"
#include "foundations/RecordFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace athanor {
namespace {

using test::TempDir;
namespace fs = std::filesystem;

Bytes record(std::uint8_t fill, std::size_t size = 4) { return Bytes(size, fill); }

TEST(RecordFile, CountsReadsWritesAppendsAndTruncates) {
    TempDir dir;
    const fs::path path = dir / "DATA.ST1";
    {
        RecordFile f(path, 4, RecordFile::Mode::Create);
        EXPECT_EQ(f.count(), 0);
        EXPECT_EQ(f.append(record(1)), 0);
        EXPECT_EQ(f.append(record(2)), 1);
        EXPECT_EQ(f.append(record(3)), 2);
        f.write(1, record(9));
        f.write(3, record(4));  // writing just past the end appends
        EXPECT_EQ(f.count(), 4);
        f.truncate(3);
    }
    EXPECT_EQ(TempDir::read(path), std::string("\1\1\1\1\x09\x09\x09\x09\3\3\3\3", 12));

    RecordFile f(path, 4);
    EXPECT_EQ(f.count(), 3);
    EXPECT_EQ(f.read(1), record(9));
    std::uint8_t buf[4];
    f.read(2, buf);
    EXPECT_EQ(Bytes(buf, buf + 4), record(3));
}

TEST(RecordFile, MovesOwnershipOfTheOpenFile) {
    TempDir dir;
    auto open = [&] {
        RecordFile f(dir / "M.rnd", 2, RecordFile::Mode::Create);
        f.append(record(7, 2));
        return f;
    };
    RecordFile f = open();
    EXPECT_EQ(f.read(0), record(7, 2));
    RecordFile g(dir.write("other.rnd", "ab"), 2);
    g = std::move(f);
    EXPECT_EQ(g.path(), dir / "M.rnd");
    EXPECT_EQ(g.append(record(8, 2)), 1);
}

TEST(RecordFile, OutOfRangeAccessIsAFileErrorNamingThePath) {
    TempDir dir;
    const fs::path path = dir.write("OUT.rnd", std::string(8, 'x'));
    RecordFile f(path, 4, RecordFile::Mode::ReadWrite);
    for (std::int64_t k : {-1, 2, 1000}) {
        try {
            f.read(k);
            FAIL() << "read " << k;
        } catch (const FileError& e) {
            EXPECT_EQ(e.path(), path);
            EXPECT_NE(std::string(e.what()).find("OUT.rnd"), std::string::npos);
        }
    }
    EXPECT_THROW(f.write(3, record(0)), FileError);
    EXPECT_THROW(f.write(-1, record(0)), FileError);
    EXPECT_THROW(f.truncate(3), FileError);
    EXPECT_THROW(f.write(0, record(0, 5)), std::invalid_argument);
    EXPECT_EQ(f.count(), 2);
}

TEST(RecordFile, ShortLastRecordIsIgnoredAndOverwrittenByAppend) {
    TempDir dir;
    const fs::path path = dir.write("SHORT.rnd", std::string("AAAABBBBcc", 10));
    RecordFile f(path, 4, RecordFile::Mode::ReadWrite);
    EXPECT_EQ(f.count(), 2);
    EXPECT_THROW(f.read(2), FileError);
    EXPECT_EQ(f.append(record('C')), 2);
    EXPECT_EQ(TempDir::read(path), "AAAABBBBCCCC");
}

TEST(RecordFile, MissingFileOrWrongModeIsAFileError) {
    TempDir dir;
    try {
        RecordFile f(dir / "NONE.ST2", 385);
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), dir / "NONE.ST2");
        EXPECT_FALSE(e.systemMessage().empty());
    }
    EXPECT_THROW(RecordFile(dir / "NONE.ST2", 385, RecordFile::Mode::ReadWrite), FileError);
    EXPECT_THROW(RecordFile(dir.path(), 4), FileError);  // a folder

    const fs::path path = dir.write("RO.rnd", "abcd");
    RecordFile readOnly(path, 4);
    EXPECT_THROW(readOnly.write(0, record(0)), FileError);
    EXPECT_THROW(readOnly.truncate(0), FileError);
}

TEST(LengthPrefixedField, ReadsClampedAndWritesCutAndZeroPadded) {
    struct Case {
        Bytes field;
        int capacity;
        std::string text;
    };
    const Case reads[] = {
        {{5, 'R', 'O', 'S', 'S', 'I', 'x', 'y'}, 7, "ROSSI"},
        {{0, 'a', 'b'}, 2, ""},
        {{200, 'A', 'B', 'C', 'D'}, 4, "ABCD"},  // damaged length byte
        {{255, 'G', 'R'}, 2, "GR"},
        {{2, 0xE9, ' '}, 2, "\xE9 "},
    };
    for (const Case& c : reads) EXPECT_EQ(readField(c.field.data(), c.capacity), c.text);

    struct WriteCase {
        std::string text;
        int capacity;
        Bytes expected;
    };
    const WriteCase writes[] = {
        {"GR", 2, {2, 'G', 'R'}},
        {"ROSSI MARIO", 5, {5, 'R', 'O', 'S', 'S', 'I'}},
        {"AB", 5, {2, 'A', 'B', 0, 0, 0}},
        {"", 3, {0, 0, 0, 0}},
    };
    for (const WriteCase& w : writes) {
        Bytes field(w.expected.size() + 1, 0xEE);  // one guard byte after the field
        writeField(field.data(), w.capacity, w.text);
        EXPECT_EQ(Bytes(field.begin(), field.end() - 1), w.expected) << w.text;
        EXPECT_EQ(field.back(), 0xEE) << w.text;
    }
}

TEST(AtomicWrite, ReplacesTheWholeFileAndLeavesNoTemporary) {
    TempDir dir;
    const fs::path path = dir.write("FileSet/MMVarLas.stt", "old contents that are longer");
    ::chmod(path.c_str(), 0640);
    writeFileAtomically(path, "new");
    EXPECT_EQ(TempDir::read(path), "new");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir / "FileSet")) ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(AtomicWrite, FailureIsAFileErrorAndKeepsWhatWasThere) {
    TempDir dir;
    EXPECT_THROW(writeFileAtomically(dir / "Missing/file.txt", "x"), FileError);
    EXPECT_FALSE(fs::exists(dir / "Missing"));

    // A folder in the way cannot be replaced by a file.
    fs::create_directories(dir / "Busy/inside");
    EXPECT_THROW(writeFileAtomically(dir / "Busy", "x"), FileError);
    EXPECT_TRUE(fs::is_directory(dir / "Busy/inside"));
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 1);
}

// A command's scratch folder is written without flushes; only it and what lies inside it.
TEST(AtomicWrite, OnlyTheScratchFolderGoesUnflushed) {
    TempDir dir;
    setScratchFolder(dir / "scratch/");
    EXPECT_TRUE(inScratchFolder(dir / "scratch"));
    EXPECT_TRUE(inScratchFolder(dir / "scratch/FileDum"));
    EXPECT_TRUE(inScratchFolder(dir / "scratch/./FileTmp/"));
    EXPECT_FALSE(inScratchFolder(dir / "scratch2"));
    EXPECT_FALSE(inScratchFolder(dir.path()));
    fs::create_directories(dir / "scratch/FileDum");
    writeFileAtomically(dir / "scratch/FileDum/Dati3.dum", "one");
    writeFileAtomically(dir / "scratch/FileDum/Dati3.dum", "two");
    EXPECT_EQ(TempDir::read(dir / "scratch/FileDum/Dati3.dum"), "two");
    setScratchFolder({});
    EXPECT_FALSE(inScratchFolder(dir / "scratch"));
}

}  // namespace
}  // namespace athanor
