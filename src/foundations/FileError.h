#pragma once
#include <filesystem>
#include <stdexcept>
#include <string>

namespace athanor {

// The one exception for file failures: which file, and what the system said.
// Event handlers catch it, show it and stop the operation; the program goes on.
class FileError : public std::runtime_error {
public:
    FileError(std::filesystem::path path, std::string message)
        : std::runtime_error(path.string() + ": " + message),
          path_(std::move(path)), message_(std::move(message)) {}

    const std::filesystem::path& path() const noexcept { return path_; }
    const std::string& systemMessage() const noexcept { return message_; }

    // A FileError carrying strerror(errno) for the failing path.
    static FileError fromErrno(const std::filesystem::path& path, int err);

private:
    std::filesystem::path path_;
    std::string message_;
};

}  // namespace athanor
