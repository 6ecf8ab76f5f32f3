#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <sys/types.h>

namespace athanor {

using Bytes = std::vector<std::uint8_t>;

// A file of fixed-size little-endian records addressed by number from 0. The file is
// open for the lifetime of the object; open it around one operation and let it go.
// Every failure (missing file, record beyond the end, short read or write, full disk)
// throws FileError with the path and the system's message. A short last record, the
// trace of an interrupted write, is not counted.
class RecordFile {
public:
    enum class Mode {
        Read,       // existing file, read only
        ReadWrite,  // existing file
        Create,     // created, or emptied when it exists
    };

    RecordFile(std::filesystem::path path, std::size_t recordSize, Mode mode = Mode::Read);
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;
    RecordFile(RecordFile&& other) noexcept;
    RecordFile& operator=(RecordFile&& other) noexcept;

    const std::filesystem::path& path() const noexcept { return path_; }
    std::size_t recordSize() const noexcept { return size_; }

    // Number of whole records.
    std::int64_t count() const;

    // Record k (0 <= k < count()).
    Bytes read(std::int64_t k) const;
    void read(std::int64_t k, std::uint8_t* out) const;

    // Every whole record in one read, record 0 first: count() * recordSize() bytes.
    Bytes readAll() const;

    // Writes record k (0 <= k <= count(); k == count() appends). bytes.size() must be recordSize().
    void write(std::int64_t k, std::span<const std::uint8_t> bytes);

    // Rewrites record k (0 <= k < count()) so that a failure or a crash at any moment leaves
    // the old record or the new one, never half of each: the old bytes are first kept in a
    // journal beside the file (NAME.jnl), put back at once when the write fails and by the
    // next open of the file after a crash.
    void rewrite(std::int64_t k, std::span<const std::uint8_t> bytes);

    // Makes what was written durable (a saved subject must not lose its record to a power cut
    // while its index entry survives).
    void sync();

    // Appends a record after the last whole one; returns its number (the former count).
    std::int64_t append(std::span<const std::uint8_t> bytes);

    // Keeps the first n records (n <= count()).
    void truncate(std::int64_t n);

private:
    [[noreturn]] void fail(const std::string& message) const;
    [[noreturn]] void failErrno(int err) const;

    std::filesystem::path path_;
    std::size_t size_;
    int fd_ = -1;
};

// Puts back the record whose rewrite was interrupted by a crash, when `file` has a journal
// and no other program is writing the folder; a journal that is itself incomplete is
// dropped (the rewrite had not begun). Returns true when a record was put back. Every
// RecordFile open does this first.
bool recoverInterruptedRewrite(const std::filesystem::path& file);

// Tests stand a failing disk in for the write of a rewrite's new bytes: the hook gets the
// file, the offset and the bytes and may write part of them and throw.
using RewriteHook = std::function<void(int fd, std::int64_t offset, std::span<const std::uint8_t> bytes)>;
class ScopedRewriteHook {
public:
    explicit ScopedRewriteHook(RewriteHook hook);
    ~ScopedRewriteHook();
    ScopedRewriteHook(const ScopedRewriteHook&) = delete;
    ScopedRewriteHook& operator=(const ScopedRewriteHook&) = delete;
};

// Length-prefixed text field of capacity N: one length byte (0..N), then N bytes of
// Windows-1252 text. It occupies N + 1 bytes.

// Text of the field at `field` (its length byte); a length above the capacity is taken as
// the capacity.
std::string readField(const std::uint8_t* field, int capacity);

// Stores text cut to `capacity` characters; the bytes after the text are zero.
void writeField(std::uint8_t* field, int capacity, std::string_view text);

// Reads n bytes at `offset`, going on after interrupted or partial reads: the number read
// before the end of the file, or -1 on error (errno tells which).
ssize_t preadAll(int fd, std::uint8_t* buf, std::size_t n, off_t offset);

// Replaces the file's contents with `bytes`: written to a temporary file in the same
// folder, flushed, then renamed over the old file, so a failure never leaves half a file;
// the folder is flushed too, so the new name survives a power cut.
void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Files written whole under `folder` (and its subfolders) are not flushed to disk: a scratch
// folder whose files matter only while the program runs, where the flushes cost more than
// the work. An empty path ends it. One folder per program.
void setScratchFolder(const std::filesystem::path& folder);
// Whether `folder` lies in the scratch folder.
bool inScratchFolder(const std::filesystem::path& folder);

}  // namespace athanor
