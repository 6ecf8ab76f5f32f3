#include "knowledge/FileReplacement.h"

#include "foundations/FileError.h"

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace athanor {

namespace fs = std::filesystem;

namespace {

thread_local FileStepHook tHook;

constexpr std::size_t kBufferSize = 1 << 20;

bool writeAll(int fd, const std::uint8_t* p, std::size_t n) {
    while (n > 0) {
        const ssize_t r = ::write(fd, p, n);
        if (r < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += r;
        n -= static_cast<std::size_t>(r);
    }
    return true;
}

class InputFile {
public:
    explicit InputFile(const fs::path& path) : path_(path) {
        do {
            fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        } while (fd_ < 0 && errno == EINTR);
        if (fd_ < 0) throw FileError::fromErrno(path, errno);
    }
    ~InputFile() { ::close(fd_); }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    int fd() const { return fd_; }
    std::uint64_t size() const {
        struct stat st {};
        if (::fstat(fd_, &st) != 0) throw FileError::fromErrno(path_, errno);
        return static_cast<std::uint64_t>(st.st_size);
    }

private:
    fs::path path_;
    int fd_ = -1;
};

std::uint64_t wholeRecordsSize(const fs::path& file, std::size_t recordSize) {
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    if (ec) throw FileError(file, ec.message());
    return size / recordSize * recordSize;
}

void syncFolder(const fs::path& dir) {
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

}  // namespace

FileStepHook currentFileStepHook() { return tHook; }

ScopedFileStepHook::ScopedFileStepHook(FileStepHook hook) : previous_(std::exchange(tHook, std::move(hook))) {}
ScopedFileStepHook::~ScopedFileStepHook() { tHook = std::move(previous_); }

FileReplacement::FileReplacement(fs::path target, Durability durability)
    : target_(std::move(target)), durability_(durability) {
    step(FileStep::Create);
    const fs::path dir = target_.has_parent_path() ? target_.parent_path() : fs::path(".");
    std::string temp = (dir / ("." + target_.filename().string() + ".new-XXXXXX")).string();
    fd_ = ::mkstemp(temp.data());
    if (fd_ < 0) throw FileError::fromErrno(target_, errno);
    temp_ = temp;
    // mkstemp makes the file private; the new file keeps the old one's mode, or the usual one.
    struct stat st {};
    mode_t mode;
    if (::stat(target_.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd_, mode) != 0) fail(errno);
    buffer_.reserve(kBufferSize);
}

FileReplacement::FileReplacement(FileReplacement&& o) noexcept
    : target_(std::move(o.target_)),
      temp_(std::move(o.temp_)),
      fd_(std::exchange(o.fd_, -1)),
      written_(o.written_),
      buffer_(std::move(o.buffer_)),
      finished_(o.finished_),
      committed_(std::exchange(o.committed_, true)),
      durability_(o.durability_) {}

FileReplacement::~FileReplacement() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
}

void FileReplacement::step(FileStep s) const {
    if (tHook) tHook(s, target_);
}

void FileReplacement::fail(int err) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    ::unlink(temp_.c_str());
    committed_ = true;  // nothing left to clean up
    throw FileError::fromErrno(target_, err);
}

void FileReplacement::flushBuffer() {
    if (buffer_.empty()) return;
    try {
        step(FileStep::Write);
    } catch (...) {
        buffer_.clear();
        throw;
    }
    if (!writeAll(fd_, buffer_.data(), buffer_.size())) fail(errno);
    written_ += buffer_.size();
    buffer_.clear();
}

void FileReplacement::write(std::span<const std::uint8_t> bytes) {
    if (finished_) throw FileError(target_, "write after finish");
    if (buffer_.size() + bytes.size() > kBufferSize) flushBuffer();
    if (bytes.size() >= kBufferSize) {
        step(FileStep::Write);
        if (!writeAll(fd_, bytes.data(), bytes.size())) fail(errno);
        written_ += bytes.size();
        return;
    }
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

void FileReplacement::write(std::string_view bytes) {
    write(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

void FileReplacement::copyFrom(const fs::path& source, std::uint64_t offset, std::uint64_t length) {
    if (finished_) throw FileError(target_, "write after finish");
    flushBuffer();
    if (length == 0) return;
    step(FileStep::Write);
    InputFile in(source);
    if (in.size() < offset + length) throw FileError(source, "Read beyond end of file");
    off_t from = static_cast<off_t>(offset);
    std::uint64_t left = length;
    // The kernel copies (or shares) the blocks without passing them through us; plain
    // reads and writes where it cannot.
    while (left > 0) {
        const ssize_t r = ::copy_file_range(in.fd(), &from, fd_, nullptr, left, 0);
        if (r < 0) {
            if (errno == EINTR) continue;
            if (errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP || errno == EINVAL) break;
            fail(errno);
        }
        if (r == 0) throw FileError(source, "Read beyond end of file");
        left -= static_cast<std::uint64_t>(r);
        written_ += static_cast<std::uint64_t>(r);
    }
    std::vector<std::uint8_t> chunk(left > 0 ? kBufferSize : 0);
    while (left > 0) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(left, chunk.size()));
        const ssize_t r = ::pread(in.fd(), chunk.data(), want, from);
        if (r < 0) {
            if (errno == EINTR) continue;
            throw FileError::fromErrno(source, errno);
        }
        if (r == 0) throw FileError(source, "Read beyond end of file");
        if (!writeAll(fd_, chunk.data(), static_cast<std::size_t>(r))) fail(errno);
        from += r;
        left -= static_cast<std::uint64_t>(r);
        written_ += static_cast<std::uint64_t>(r);
    }
}

void FileReplacement::finish() {
    if (finished_) return;
    flushBuffer();
    step(FileStep::Sync);
    if (durability_ == Durability::Durable && ::fsync(fd_) != 0) fail(errno);
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0) fail(errno);
    finished_ = true;
}

void FileReplacement::commit() {
    if (committed_) return;
    finish();
    step(FileStep::Rename);
    if (::rename(temp_.c_str(), target_.c_str()) != 0) fail(errno);
    committed_ = true;
    // Make the new name itself durable.
    if (durability_ == Durability::Durable && syncFolder_)
        syncFolder(target_.has_parent_path() ? target_.parent_path() : fs::path("."));
}

FileReplacement& FileBatch::add(fs::path target) {
    FileReplacement& f = files_.emplace_back(std::move(target));
    f.syncFolder_ = false;
    return f;
}

void FileBatch::commit() {
    for (auto& f : files_) f.finish();
    std::vector<fs::path> folders;
    for (auto& f : files_) {
        f.commit();
        const fs::path dir = f.target().has_parent_path() ? f.target().parent_path() : fs::path(".");
        if (std::find(folders.begin(), folders.end(), dir) == folders.end()) folders.push_back(dir);
    }
    for (const auto& dir : folders) syncFolder(dir);
    files_.clear();
}

void replaceFileContents(const fs::path& target, std::string_view bytes) {
    FileReplacement out(target);
    out.write(bytes);
    out.commit();
}

std::string linesText(const std::vector<std::string>& lines) {
    std::string text;
    std::size_t n = 0;
    for (const auto& l : lines) n += l.size() + 2;
    text.reserve(n);
    for (const auto& l : lines) {
        text += l;
        text += "\r\n";
    }
    return text;
}

void replaceLines(const fs::path& target, const std::vector<std::string>& lines) {
    replaceFileContents(target, linesText(lines));
}

void replaceRecord(const fs::path& file, std::size_t recordSize, std::int64_t k, std::span<const std::uint8_t> bytes) {
    const std::uint64_t size = wholeRecordsSize(file, recordSize);
    const std::int64_t count = static_cast<std::int64_t>(size / recordSize);
    if (k < 0 || k >= count)
        throw FileError(file,
                        "Write beyond end of file (record " + std::to_string(k) + " of " + std::to_string(count) + ")");
    if (bytes.size() != recordSize) throw FileError(file, "record of the wrong size");
    const std::uint64_t at = static_cast<std::uint64_t>(k) * recordSize;
    FileReplacement out(file);
    out.copyFrom(file, 0, at);
    out.write(bytes);
    out.copyFrom(file, at + recordSize, size - at - recordSize);
    out.commit();
}

std::int64_t appendRecord(const fs::path& file, std::size_t recordSize, std::span<const std::uint8_t> bytes) {
    if (bytes.size() != recordSize) throw FileError(file, "record of the wrong size");
    const std::uint64_t size = wholeRecordsSize(file, recordSize);
    FileReplacement out(file);
    out.copyFrom(file, 0, size);
    out.write(bytes);
    out.commit();
    return static_cast<std::int64_t>(size / recordSize);
}

void removeRecord(const fs::path& file, std::size_t recordSize, std::int64_t k) {
    const std::uint64_t size = wholeRecordsSize(file, recordSize);
    const std::int64_t count = static_cast<std::int64_t>(size / recordSize);
    if (k < 0 || k >= count)
        throw FileError(file,
                        "Read beyond end of file (record " + std::to_string(k) + " of " + std::to_string(count) + ")");
    const std::uint64_t at = static_cast<std::uint64_t>(k) * recordSize;
    FileReplacement out(file);
    out.copyFrom(file, 0, at);
    out.copyFrom(file, at + recordSize, size - at - recordSize);
    out.commit();
}

}  // namespace athanor
