#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace athanor {

// Every write of the knowledge base replaces a whole file: the new contents go to a
// temporary file beside the old one, are flushed to disk, and the temporary is renamed
// over the old name. A crash or a failure at any moment leaves either the old file or
// the new one, never a half-written or missing one.

// The steps of a replacement. A test can make any of them fail (FileStepHook).
enum class FileStep { Create, Write, Sync, Rename };

// Called before every step with the file concerned; throwing (FileError) makes the step
// fail exactly as a full disk or a read-only folder would. One hook per thread.
using FileStepHook = std::function<void(FileStep, const std::filesystem::path&)>;

// The hook of the current thread, to carry it into a worker thread.
FileStepHook currentFileStepHook();

// Installs a hook for the current thread while it lives.
class ScopedFileStepHook {
public:
    explicit ScopedFileStepHook(FileStepHook hook);
    ~ScopedFileStepHook();
    ScopedFileStepHook(const ScopedFileStepHook&) = delete;
    ScopedFileStepHook& operator=(const ScopedFileStepHook&) = delete;

private:
    FileStepHook previous_;
};

// One file being replaced. Nothing changes at the target until commit(); a replacement
// destroyed before that removes its temporary file.
class FileReplacement {
public:
    // Durable: the new contents reach the disk before they take the name, so that even a
    // power cut leaves old or new. Work files that every search rewrites (the counters)
    // skip that wait: a crash of the program still leaves old or new.
    enum class Durability { Durable, WorkFile };
    explicit FileReplacement(std::filesystem::path target, Durability durability = Durability::Durable);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;
    FileReplacement(FileReplacement&&) noexcept;
    FileReplacement& operator=(FileReplacement&&) = delete;

    const std::filesystem::path& target() const noexcept { return target_; }
    const std::filesystem::path& temporary() const noexcept { return temp_; }

    void write(std::span<const std::uint8_t> bytes);
    void write(std::string_view bytes);
    // Copies `length` bytes of another file from `offset` (in the kernel when it can).
    void copyFrom(const std::filesystem::path& source, std::uint64_t offset, std::uint64_t length);

    // Flushes and closes the temporary file; after this only commit() is left. Several
    // files replaced together are all finished before the first is committed.
    void finish();
    // finish() if needed, then renames the temporary over the target.
    void commit();

private:
    void flushBuffer();
    void step(FileStep s) const;
    void fail(int err);

    std::filesystem::path target_;
    std::filesystem::path temp_;
    int fd_ = -1;
    std::uint64_t written_ = 0;
    std::vector<std::uint8_t> buffer_;
    bool finished_ = false;
    bool committed_ = false;
    Durability durability_ = Durability::Durable;
    bool syncFolder_ = true;  // a batch syncs each folder once, after all its renames

    friend class FileBatch;
};

// Several files replaced together: each one is written, flushed to disk and closed, and
// only when all of them are complete are they renamed, one after the other. A failure
// before the renames leaves every target as it was.
class FileBatch {
public:
    // A replacement to write; it stays in the batch until commit().
    FileReplacement& add(std::filesystem::path target);
    void commit();
    std::size_t size() const noexcept { return files_.size(); }

private:
    std::deque<FileReplacement> files_;  // references stay valid as the batch grows
};

// Whole-file writes through a replacement.
void replaceFileContents(const std::filesystem::path& target, std::string_view bytes);
// Text list: every line ended by CR LF.
void replaceLines(const std::filesystem::path& target, const std::vector<std::string>& lines);
// The bytes of such a list.
std::string linesText(const std::vector<std::string>& lines);

// Record edits of a record file (records of recordSize bytes), each a full replacement.
// A short last record, the trace of an interrupted write elsewhere, is dropped.
void replaceRecord(const std::filesystem::path& file, std::size_t recordSize, std::int64_t k,
                   std::span<const std::uint8_t> bytes);  // 0 <= k < count
std::int64_t appendRecord(const std::filesystem::path& file, std::size_t recordSize,
                          std::span<const std::uint8_t> bytes);  // returns the new record's number
void removeRecord(const std::filesystem::path& file, std::size_t recordSize, std::int64_t k);

}  // namespace athanor
