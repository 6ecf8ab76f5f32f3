#include "knowledge/RecordScan.h"

#include "foundations/FileError.h"
#include "foundations/RecordFile.h"
#include "knowledge/KnowledgeRecords.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace athanor {

namespace fs = std::filesystem;

namespace {
constexpr std::size_t kBlockBytes = 2 << 20;
}

RecordScanner::RecordScanner(fs::path path, std::size_t recordSize) : path_(std::move(path)), size_(recordSize) {
    do {
        fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) throw FileError::fromErrno(path_, errno);
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int err = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd_);
        throw FileError::fromErrno(path_, err);
    }
    try {
        requireWholeRecords(path_, static_cast<std::uintmax_t>(st.st_size), size_);
    } catch (const FileError&) {
        ::close(fd_);
        fd_ = -1;
        throw;
    }
    count_ = static_cast<std::int64_t>(st.st_size) / static_cast<std::int64_t>(size_);
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
    // No larger than the file: a scan of a few records would otherwise zero megabytes.
    const auto perBlock = std::min<std::int64_t>(count_, static_cast<std::int64_t>(kBlockBytes / size_));
    buffer_.resize(static_cast<std::size_t>(std::max<std::int64_t>(1, perBlock)) * size_);
}

RecordScanner::~RecordScanner() { ::close(fd_); }

void RecordScanner::seek(std::int64_t from) { next_ = std::max<std::int64_t>(0, from); }

std::size_t RecordScanner::nextBlock(const std::uint8_t*& block) {
    if (next_ >= count_) return 0;
    const std::size_t records = static_cast<std::size_t>(
        std::min<std::int64_t>(count_ - next_, static_cast<std::int64_t>(buffer_.size() / size_)));
    const std::size_t want = records * size_;
    const off_t at = static_cast<off_t>(next_) * static_cast<off_t>(size_);
    // A file that shrank under us stops at its last whole record.
    const ssize_t done = preadAll(fd_, buffer_.data(), want, at);
    if (done < 0) throw FileError::fromErrno(path_, errno);
    const std::size_t got = static_cast<std::size_t>(done) / size_;
    next_ = got == records ? next_ + static_cast<std::int64_t>(got) : count_;
    block = buffer_.data();
    return got;
}

bool remedyIndicationEquals(const std::uint8_t* r, std::string_view text) {
    const std::string_view a = fieldView(r, remedy_field::kIndication[0], 250);
    if (text.size() < a.size() || text.substr(0, a.size()) != a) return false;
    return fieldView(r, remedy_field::kIndication[1], 50) == text.substr(a.size());
}

std::string remedyIndication(const std::uint8_t* r) {
    std::string s(fieldView(r, remedy_field::kIndication[0], 250));
    s += fieldView(r, remedy_field::kIndication[1], 50);
    return s;
}

std::string remedyNotes(const std::uint8_t* r) {
    std::string s;
    for (auto at : remedy_field::kNotes) s += fieldView(r, at, 250);
    return s;
}

std::string remedySynthesis(const std::uint8_t* r) {
    std::string s;
    for (auto at : remedy_field::kSynthesis) s += fieldView(r, at, 250);
    return s;
}

}  // namespace athanor
