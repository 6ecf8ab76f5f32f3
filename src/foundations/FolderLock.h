#pragma once
#include <chrono>
#include <filesystem>
#include <memory>

namespace athanor {

// Keeps two running programs from writing the same program folder at the same time: an
// advisory lock (flock) on a file in the folder, held for a whole save, modify or delete.
// Nested locks of one process on the same folder share the first one. The lock goes with
// the process, so a crash never leaves the folder locked. Threads of one program share it.
class FolderLock {
public:
    // Waits up to `wait` for another program to finish; then throws FileError (InUse).
    explicit FolderLock(const std::filesystem::path& folder,
                        std::chrono::milliseconds wait = std::chrono::milliseconds(5000));
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Takes the lock only if no other program holds it now; nullptr otherwise.
    static std::unique_ptr<FolderLock> tryLock(const std::filesystem::path& folder);

    // The lock file's name inside the folder.
    static constexpr const char* kFileName = ".athanor.lock";

private:
    struct Untried {};
    FolderLock(const std::filesystem::path& folder, Untried);
    bool acquire(std::chrono::milliseconds wait);

    std::filesystem::path key_;
    bool held_ = false;
};

}  // namespace athanor
