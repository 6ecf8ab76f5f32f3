#include "foundations/FileError.h"
#include "foundations/FolderLock.h"
#include "foundations/RecordFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace athanor::test {
namespace {

using namespace std::chrono_literals;

// Runs `body` in a second process, as a second running program would; its exit status.
template <typename Body>
int inOtherProcess(Body body) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
}

TEST(FolderLockTest, ASecondProgramWaitsThenIsToldTheFolderIsInUse) {
    TempDir dir;
    {
        FolderLock held(dir.path());
        FolderLock nested(dir.path());  // the same program may lock again
        const int status = inOtherProcess([&] {
            try {
                FolderLock other(dir.path(), 100ms);
                return 1;
            } catch (const FileError& e) {
                return e.fault() == FileFault::InUse ? 0 : 2;
            }
        });
        EXPECT_EQ(status, 0);
        EXPECT_EQ(inOtherProcess([&] { return FolderLock::tryLock(dir.path()) ? 1 : 0; }), 0);
    }
    // Released with the last holder.
    EXPECT_EQ(inOtherProcess([&] { return FolderLock::tryLock(dir.path()) ? 0 : 1; }), 0);
}

class RewriteTest : public ::testing::Test {
protected:
    void SetUp() override {
        RecordFile f(file, 8, RecordFile::Mode::Create);
        f.write(0, bytes("AAAAAAAA"));
        f.write(1, bytes("BBBBBBBB"));
        f.write(2, bytes("CCCCCCCC"));
    }
    static std::vector<std::uint8_t> bytes(const std::string& s) { return {s.begin(), s.end()}; }
    // Writes the first half of the new bytes, as a disk that fills up or a program that dies.
    template <typename Failure>
    static RewriteHook halfThen(Failure failure) {
        return [failure](int fd, std::int64_t offset, std::span<const std::uint8_t> b) {
            if (::pwrite(fd, b.data(), b.size() / 2, offset) < 0) throw std::runtime_error("pwrite");
            failure();
        };
    }
    std::string contents() const { return TempDir::read(file); }
    std::filesystem::path journal() const { return file.string() + ".jnl"; }

    TempDir dir;
    std::filesystem::path file = dir / "BASE.ST2";
};

TEST_F(RewriteTest, ARecordIsReplacedWholeAndNoJournalStays) {
    RecordFile(file, 8, RecordFile::Mode::ReadWrite).rewrite(1, bytes("XXXXXXXX"));
    EXPECT_EQ(contents(), "AAAAAAAAXXXXXXXXCCCCCCCC");
    EXPECT_FALSE(std::filesystem::exists(journal()));
}

TEST_F(RewriteTest, AFullDiskHalfwayLeavesTheOldRecordAndSaysSo) {
    {
        ScopedRewriteHook hook(halfThen([] { throw FileError("BASE.ST2", "full", FileFault::DiskFull); }));
        RecordFile f(file, 8, RecordFile::Mode::ReadWrite);
        EXPECT_THROW(f.rewrite(1, bytes("XXXXXXXX")), FileError);
    }
    EXPECT_EQ(contents(), "AAAAAAAABBBBBBBBCCCCCCCC");
    EXPECT_FALSE(std::filesystem::exists(journal()));
}

TEST_F(RewriteTest, AfterACrashHalfwayTheNextOpenPutsTheOldRecordBack) {
    {
        ScopedRewriteHook hook(halfThen([] { throw std::runtime_error("the program dies here"); }));
        RecordFile f(file, 8, RecordFile::Mode::ReadWrite);
        EXPECT_THROW(f.rewrite(1, bytes("XXXXXXXX")), std::runtime_error);
    }
    EXPECT_EQ(contents(), "AAAAAAAAXXXXBBBBCCCCCCCC");  // torn, as the crash left it
    EXPECT_TRUE(std::filesystem::exists(journal()));

    // Not while another program holds the folder: its rewrite may be the one in progress.
    EXPECT_EQ(inOtherProcess([&] {
                  FolderLock other(dir.path());
                  return 0;
              }),
              0);
    {
        FolderLock busy(dir.path());
        const int status = inOtherProcess([&] { return recoverInterruptedRewrite(file) ? 1 : 0; });
        EXPECT_EQ(status, 0);
    }
    EXPECT_EQ(RecordFile(file, 8).read(1), bytes("BBBBBBBB"));
    EXPECT_EQ(contents(), "AAAAAAAABBBBBBBBCCCCCCCC");
    EXPECT_FALSE(std::filesystem::exists(journal()));
}

TEST_F(RewriteTest, AJournalCutShortIsDroppedWithoutTouchingTheFile) {
    {
        ScopedRewriteHook hook(halfThen([] { throw std::runtime_error("dies"); }));
        RecordFile f(file, 8, RecordFile::Mode::ReadWrite);
        EXPECT_THROW(f.rewrite(2, bytes("ZZZZZZZZ")), std::runtime_error);
    }
    // As if the crash had come while the journal itself was being written.
    std::filesystem::resize_file(journal(), std::filesystem::file_size(journal()) - 3);
    std::filesystem::resize_file(file, 24);
    {
        RecordFile f(file, 8, RecordFile::Mode::ReadWrite);
        f.write(2, bytes("CCCCCCCC"));
    }
    EXPECT_EQ(contents(), "AAAAAAAABBBBBBBBCCCCCCCC");
    EXPECT_FALSE(std::filesystem::exists(journal()));
}

}  // namespace
}  // namespace athanor::test
