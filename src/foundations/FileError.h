#pragma once
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace athanor {

// What went wrong with a file, as far as the user can act on it.
enum class FileFault {
    Other,       // only the system's message says
    Missing,     // the file or a folder on its path does not exist
    Denied,      // no permission
    ReadOnly,    // the file system cannot be written
    DiskFull,    // no space left
    Damaged,     // the contents are not what the program needs (short, cut, unreadable values)
    NotWritten,  // a document or picture could not be written
    InUse,       // another running program is writing it
};

// The one exception for file failures: which file, what is wrong and what the system said.
// Event handlers catch it, show it and stop the operation; the program goes on.
class FileError : public std::runtime_error {
public:
    FileError(std::filesystem::path path, std::string message, FileFault fault = FileFault::Other)
        : std::runtime_error(path.string() + ": " + message),
          path_(std::move(path)),
          message_(std::move(message)),
          fault_(fault) {}

    const std::filesystem::path& path() const noexcept { return path_; }
    const std::string& systemMessage() const noexcept { return message_; }
    FileFault fault() const noexcept { return fault_; }

    // A FileError carrying strerror(errno) for the failing path, its fault told by errno.
    static FileError fromErrno(const std::filesystem::path& path, int err);
    // The same for an error code of the file-system library.
    static FileError fromErrorCode(const std::filesystem::path& path, const std::error_code& ec);

private:
    std::filesystem::path path_;
    std::string message_;
    FileFault fault_;
};

}  // namespace athanor
