#include "foundations/RecordFile.h"

#include "foundations/FileError.h"
#include "foundations/FolderLock.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <set>
#include <stdexcept>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace athanor {

namespace fs = std::filesystem;

ssize_t preadAll(int fd, std::uint8_t* buf, std::size_t n, off_t offset) {
    std::size_t done = 0;
    while (done < n) {
        const ssize_t r = ::pread(fd, buf + done, n - done, offset + static_cast<off_t>(done));
        if (r < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (r == 0) break;
        done += static_cast<std::size_t>(r);
    }
    return static_cast<ssize_t>(done);
}

namespace {

// Writes all n bytes at offset; false on error.
bool pwriteAll(int fd, const std::uint8_t* buf, std::size_t n, off_t offset) {
    std::size_t done = 0;
    while (done < n) {
        const ssize_t r = ::pwrite(fd, buf + done, n - done, offset + static_cast<off_t>(done));
        if (r < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(r);
    }
    return true;
}

// Flushes a folder so that a rename or unlink in it is durable.
void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

fs::path journalOf(const fs::path& file) { return fs::path(file.string() + ".jnl"); }

constexpr char kJournalMagic[8] = {'A', 'T', 'H', 'J', 'N', 'L', '1', '\n'};

std::uint64_t fnv1a(const std::uint8_t* p, std::size_t n) {
    std::uint64_t h = 1469598103934665603ull;
    for (std::size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
    return h;
}

void putU64(std::string& out, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::uint64_t getU64(const std::uint8_t* p) {
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

// Files whose rewrite this process is doing now: another thread's open must not undo it.
std::mutex& rewritingMutex() {
    static std::mutex m;
    return m;
}
std::set<fs::path>& rewriting() {
    static std::set<fs::path> s;
    return s;
}

RewriteHook& rewriteHook() {
    thread_local RewriteHook hook;
    return hook;
}

}  // namespace

ScopedRewriteHook::ScopedRewriteHook(RewriteHook hook) { rewriteHook() = std::move(hook); }
ScopedRewriteHook::~ScopedRewriteHook() { rewriteHook() = nullptr; }

bool recoverInterruptedRewrite(const fs::path& file) {
    const fs::path journal = journalOf(file);
    struct stat st {};
    if (::stat(journal.c_str(), &st) != 0) return false;
    {
        std::lock_guard guard(rewritingMutex());
        if (rewriting().count(file) > 0) return false;
    }
    const auto lock = FolderLock::tryLock(file.has_parent_path() ? file.parent_path() : fs::path("."));
    if (!lock) return false;  // the other program is writing; its journal is in use

    Bytes j;
    {
        const int fd = ::open(journal.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return false;
        j.resize(static_cast<std::size_t>(std::max<off_t>(st.st_size, 0)));
        const ssize_t got = preadAll(fd, j.data(), j.size(), 0);
        ::close(fd);
        if (got != static_cast<ssize_t>(j.size())) return false;
    }
    const std::size_t head = sizeof kJournalMagic + 16;
    bool whole = j.size() >= head + 8 && std::memcmp(j.data(), kJournalMagic, sizeof kJournalMagic) == 0;
    std::uint64_t offset = 0, length = 0;
    if (whole) {
        offset = getU64(j.data() + 8);
        length = getU64(j.data() + 16);
        whole = length == j.size() - head - 8 && getU64(j.data() + j.size() - 8) == fnv1a(j.data(), j.size() - 8);
    }
    bool restored = false;
    if (whole) {
        const int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0) throw FileError::fromErrno(file, errno);
        const bool ok = pwriteAll(fd, j.data() + head, length, static_cast<off_t>(offset)) && ::fsync(fd) == 0;
        const int err = errno;
        ::close(fd);
        if (!ok) throw FileError::fromErrno(file, err);
        restored = true;
    }
    ::unlink(journal.c_str());
    syncFolder(file.parent_path());
    return restored;
}

RecordFile::RecordFile(fs::path path, std::size_t recordSize, Mode mode) : path_(std::move(path)), size_(recordSize) {
    if (recordSize == 0) throw std::invalid_argument("RecordFile: record size 0");
    recoverInterruptedRewrite(path_);
    int flags = O_CLOEXEC;
    switch (mode) {
    case Mode::Read:
        flags |= O_RDONLY;
        break;
    case Mode::ReadWrite:
        flags |= O_RDWR;
        break;
    case Mode::Create:
        flags |= O_RDWR | O_CREAT | O_TRUNC;
        break;
    }
    do {
        fd_ = ::open(path_.c_str(), flags, 0666);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) failErrno(errno);
    struct stat st {};
    if (::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        failErrno(EISDIR);
    }
}

RecordFile::~RecordFile() {
    if (fd_ >= 0) ::close(fd_);
}

RecordFile::RecordFile(RecordFile&& other) noexcept
    : path_(std::move(other.path_)), size_(other.size_), fd_(std::exchange(other.fd_, -1)) {}

RecordFile& RecordFile::operator=(RecordFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        path_ = std::move(other.path_);
        size_ = other.size_;
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

void RecordFile::fail(const std::string& message) const { throw FileError(path_, message, FileFault::Damaged); }

void RecordFile::failErrno(int err) const { throw FileError::fromErrno(path_, err); }

std::int64_t RecordFile::count() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) failErrno(errno);
    return static_cast<std::int64_t>(st.st_size) / static_cast<std::int64_t>(size_);
}

Bytes RecordFile::read(std::int64_t k) const {
    Bytes out(size_);
    read(k, out.data());
    return out;
}

void RecordFile::read(std::int64_t k, std::uint8_t* out) const {
    // The size is asked only when the read comes short: a whole record read is one that exists.
    const ssize_t got = k < 0 ? 0 : preadAll(fd_, out, size_, static_cast<off_t>(k) * static_cast<off_t>(size_));
    if (got < 0) failErrno(errno);
    if (static_cast<std::size_t>(got) == size_) return;
    const std::int64_t n = count();
    if (k < 0 || k >= n)
        fail("Read beyond end of file (record " + std::to_string(k) + " of " + std::to_string(n) + ")");
    fail("Read beyond end of file (short record " + std::to_string(k) + ")");
}

Bytes RecordFile::readAll() const {
    const std::int64_t n = count();
    Bytes all(static_cast<std::size_t>(n) * size_);
    if (all.empty()) return all;
    const ssize_t got = preadAll(fd_, all.data(), all.size(), 0);
    if (got < 0) failErrno(errno);
    if (static_cast<std::size_t>(got) != all.size()) fail("Read beyond end of file (the file shrank while read)");
    return all;
}

void RecordFile::write(std::int64_t k, std::span<const std::uint8_t> bytes) {
    if (bytes.size() != size_)
        throw std::invalid_argument("RecordFile::write: " + std::to_string(bytes.size()) + " bytes for a record of " +
                                    std::to_string(size_));
    const std::int64_t n = count();
    if (k < 0 || k > n)
        fail("Write beyond end of file (record " + std::to_string(k) + " of " + std::to_string(n) + ")");
    if (!pwriteAll(fd_, bytes.data(), size_, static_cast<off_t>(k) * static_cast<off_t>(size_))) failErrno(errno);
}

void RecordFile::rewrite(std::int64_t k, std::span<const std::uint8_t> bytes) {
    if (bytes.size() != size_)
        throw std::invalid_argument("RecordFile::rewrite: " + std::to_string(bytes.size()) + " bytes for a record of " +
                                    std::to_string(size_));
    const Bytes old = read(k);
    const off_t offset = static_cast<off_t>(k) * static_cast<off_t>(size_);

    std::string journal(kJournalMagic, sizeof kJournalMagic);
    putU64(journal, static_cast<std::uint64_t>(offset));
    putU64(journal, old.size());
    journal.append(reinterpret_cast<const char*>(old.data()), old.size());
    putU64(journal, fnv1a(reinterpret_cast<const std::uint8_t*>(journal.data()), journal.size()));

    struct Rewriting {
        fs::path file;
        explicit Rewriting(fs::path f) : file(std::move(f)) {
            std::lock_guard guard(rewritingMutex());
            rewriting().insert(file);
        }
        ~Rewriting() {
            std::lock_guard guard(rewritingMutex());
            rewriting().erase(file);
        }
    } marker(path_);

    writeFileAtomically(journalOf(path_), journal);
    try {
        if (rewriteHook()) rewriteHook()(fd_, offset, bytes);
        else if (!pwriteAll(fd_, bytes.data(), size_, offset)) failErrno(errno);
        sync();
    } catch (const FileError&) {
        // Overwriting bytes already there needs no new space: put the old ones back now.
        if (pwriteAll(fd_, old.data(), size_, offset) && ::fsync(fd_) == 0) {
            ::unlink(journalOf(path_).c_str());
            syncFolder(path_.parent_path());
        }
        throw;
    }
    ::unlink(journalOf(path_).c_str());
    syncFolder(path_.parent_path());
}

void RecordFile::sync() {
    if (::fsync(fd_) != 0) failErrno(errno);
}

std::int64_t RecordFile::append(std::span<const std::uint8_t> bytes) {
    const std::int64_t k = count();
    write(k, bytes);
    return k;
}

void RecordFile::truncate(std::int64_t n) {
    const std::int64_t have = count();
    if (n < 0 || n > have)
        fail("Truncate beyond end of file (" + std::to_string(n) + " of " + std::to_string(have) + " records)");
    int r;
    do {
        r = ::ftruncate(fd_, static_cast<off_t>(n) * static_cast<off_t>(size_));
    } while (r != 0 && errno == EINTR);
    if (r != 0) failErrno(errno);
}

std::string readField(const std::uint8_t* field, int capacity) {
    if (capacity <= 0) return {};
    const int len = std::min<int>(field[0], capacity);
    return std::string(reinterpret_cast<const char*>(field + 1), static_cast<std::size_t>(len));
}

void writeField(std::uint8_t* field, int capacity, std::string_view text) {
    if (capacity <= 0) return;
    const std::size_t len = std::min({text.size(), static_cast<std::size_t>(capacity), std::size_t{255}});
    field[0] = static_cast<std::uint8_t>(len);
    std::memcpy(field + 1, text.data(), len);
    std::memset(field + 1 + len, 0, static_cast<std::size_t>(capacity) - len);
}

namespace {

std::mutex& scratchMutex() {
    static std::mutex m;
    return m;
}
std::string& scratchFolder() {
    static std::string folder;
    return folder;
}

}  // namespace

bool inScratchFolder(const fs::path& dir) {
    std::lock_guard guard(scratchMutex());
    const std::string& scratch = scratchFolder();
    if (scratch.empty()) return false;
    const std::string d = dir.lexically_normal().string();
    return d.size() >= scratch.size() && d.compare(0, scratch.size(), scratch) == 0 &&
           (d.size() == scratch.size() || d[scratch.size()] == '/');
}

void setScratchFolder(const fs::path& folder) {
    std::lock_guard guard(scratchMutex());
    std::string s = folder.empty() ? std::string() : folder.lexically_normal().string();
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    scratchFolder() = s;
}

void writeFileAtomically(const fs::path& path, std::string_view bytes) {
    const fs::path dir = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const bool durable = !inScratchFolder(dir);
    std::string temp = (dir / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) throw FileError::fromErrno(path, errno);

    auto abandon = [&](int err) {
        ::close(fd);
        ::unlink(temp.c_str());
        throw FileError::fromErrno(path, err);
    };

    // mkstemp creates the file private; give it the old file's mode, or the usual one.
    struct stat st {};
    mode_t mode;
    if (::stat(path.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0) abandon(errno);
    if (!pwriteAll(fd, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), 0)) abandon(errno);
    if (durable && ::fsync(fd) != 0) abandon(errno);
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        throw FileError::fromErrno(path, err);
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        throw FileError::fromErrno(path, err);
    }
    if (durable) syncFolder(dir);
}

}  // namespace athanor
