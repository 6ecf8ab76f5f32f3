#include "foundations/FolderLock.h"

#include "foundations/FileError.h"

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <memory>
#include <mutex>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace athanor {

namespace {

struct Held {
    int fd = -1;
    int depth = 0;
    pid_t owner = 0;  // a forked child inherits the table, not the right to nest
};

std::mutex& tableMutex() {
    static std::mutex m;
    return m;
}

// flock belongs to the open file: a second open in this process would wait for itself,
// so the process keeps one per folder and counts its users.
std::map<std::filesystem::path, Held>& table() {
    static std::map<std::filesystem::path, Held> t;
    return t;
}

std::filesystem::path keyOf(const std::filesystem::path& folder) {
    std::error_code ec;
    auto p = std::filesystem::weakly_canonical(folder, ec);
    return ec ? folder.lexically_normal() : p;
}

}  // namespace

FolderLock::FolderLock(const std::filesystem::path& folder, Untried) : key_(keyOf(folder)) {}

FolderLock::FolderLock(const std::filesystem::path& folder, std::chrono::milliseconds wait) : key_(keyOf(folder)) {
    if (!acquire(wait))
        throw FileError(key_ / kFileName,
                        "otro programa Athanor est\xE1 guardando en esta carpeta; espere a que termine y repita "
                        "la operaci\xF3n",
                        FileFault::InUse);
}

std::unique_ptr<FolderLock> FolderLock::tryLock(const std::filesystem::path& folder) {
    std::unique_ptr<FolderLock> lock(new FolderLock(folder, Untried{}));
    if (!lock->acquire(std::chrono::milliseconds(0))) return nullptr;
    return lock;
}

bool FolderLock::acquire(std::chrono::milliseconds wait) {
    std::lock_guard guard(tableMutex());
    Held& h = table()[key_];
    if (h.depth > 0 && h.owner != ::getpid()) {
        ::close(h.fd);  // the parent's lock stays: it holds its own descriptor
        h = Held{};
    }
    if (h.depth > 0) {
        ++h.depth;
        held_ = true;
        return true;
    }
    const std::filesystem::path file = key_ / kFileName;
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        // A folder that cannot hold the lock file cannot be written either; the write
        // itself will say why.
        if (errno == EROFS || errno == EACCES || errno == ENOENT) {
            table().erase(key_);
            return true;
        }
        const int err = errno;
        table().erase(key_);
        throw FileError::fromErrno(file, err);
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) break;
        if (std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            table().erase(key_);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    h.fd = fd;
    h.depth = 1;
    h.owner = ::getpid();
    held_ = true;
    return true;
}

FolderLock::~FolderLock() {
    if (!held_) return;
    std::lock_guard guard(tableMutex());
    auto it = table().find(key_);
    if (it == table().end() || it->second.owner != ::getpid()) return;
    if (--it->second.depth == 0) {
        ::close(it->second.fd);  // releases the flock
        table().erase(it);
    }
}

}  // namespace athanor
