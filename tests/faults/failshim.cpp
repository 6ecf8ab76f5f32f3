// Preloaded into the fault driver: counts the calls that write, flush, rename, truncate or
// close files below FAILSHIM_DIR and makes call FAILSHIM_N fail with FAILSHIM_ERRNO (ENOSPC
// or EIO). A failing write first writes half its bytes, as a disk that fills up does. At
// exit the number of calls counted goes to FAILSHIM_COUNT. Files elsewhere are untouched.
#include <dlfcn.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace {

constexpr int kMaxFd = 4096;

char g_dir[4096];
std::size_t g_dirLen = 0;
long g_failAt = 0;
int g_errno = ENOSPC;
std::atomic<long> g_count{0};
std::atomic<bool> g_watched[kMaxFd];
std::atomic<bool> g_writable[kMaxFd];

template <class F>
F real(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

__attribute__((constructor)) void init() {
    const char* dir = getenv("FAILSHIM_DIR");
    if (dir && *dir) {
        g_dirLen = strlen(dir);
        if (g_dirLen >= sizeof g_dir) g_dirLen = 0;
        else memcpy(g_dir, dir, g_dirLen + 1);
        while (g_dirLen > 1 && g_dir[g_dirLen - 1] == '/') g_dir[--g_dirLen] = '\0';
    }
    if (const char* n = getenv("FAILSHIM_N")) g_failAt = strtol(n, nullptr, 10);
    if (const char* e = getenv("FAILSHIM_ERRNO"); e && strcmp(e, "EIO") == 0) g_errno = EIO;
}

__attribute__((destructor)) void report() {
    const char* out = getenv("FAILSHIM_COUNT");
    if (!out || !*out) return;
    FILE* f = fopen(out, "w");
    if (!f) return;
    fprintf(f, "%ld\n", g_count.load());
    fclose(f);
}

bool underDir(const char* path) {
    if (g_dirLen == 0 || !path) return false;
    char full[8192];
    if (path[0] != '/') {
        if (!getcwd(full, sizeof full - 2)) return false;
        const std::size_t n = strlen(full);
        full[n] = '/';
        snprintf(full + n + 1, sizeof full - n - 1, "%s", path);
        path = full;
    }
    return strncmp(path, g_dir, g_dirLen) == 0 && (path[g_dirLen] == '/' || path[g_dirLen] == '\0');
}

bool underDirAt(int dirfd, const char* path) {
    if (path && path[0] != '/' && dirfd != AT_FDCWD) return dirfd >= 0 && dirfd < kMaxFd && g_watched[dirfd];
    return underDir(path);
}

void track(int fd, bool watched, int flags) {
    if (fd < 0 || fd >= kMaxFd) return;
    g_watched[fd] = watched;
    g_writable[fd] = watched && (flags & O_ACCMODE) != O_RDONLY;
}

bool watchedFd(int fd) { return fd >= 0 && fd < kMaxFd && g_watched[fd]; }

// True when this counted call is the one to fail; errno is then set.
bool failNow(const char* what, int fd, const char* path) {
    const long n = ++g_count;
    if (g_failAt <= 0 || n != g_failAt) return false;
    char line[600];
    const int len = path ? snprintf(line, sizeof line, "failshim: call %ld, %s %s fails\n", n, what, path)
                         : snprintf(line, sizeof line, "failshim: call %ld, %s fd %d fails\n", n, what, fd);
    if (len > 0) {
        const ssize_t w = real<ssize_t (*)(int, const void*, size_t)>("write")(2, line, static_cast<size_t>(len));
        (void)w;
    }
    errno = g_errno;
    return true;
}

int modeArg(int flags, va_list ap) { return (flags & (O_CREAT | O_TMPFILE)) ? va_arg(ap, int) : 0; }

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    const int mode = modeArg(flags, ap);
    va_end(ap);
    const int fd = real<int (*)(const char*, int, ...)>("open")(path, flags, mode);
    track(fd, underDir(path), flags);
    return fd;
}

int open64(const char* path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    const int mode = modeArg(flags, ap);
    va_end(ap);
    const int fd = real<int (*)(const char*, int, ...)>("open64")(path, flags, mode);
    track(fd, underDir(path), flags);
    return fd;
}

int openat(int dirfd, const char* path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    const int mode = modeArg(flags, ap);
    va_end(ap);
    const int fd = real<int (*)(int, const char*, int, ...)>("openat")(dirfd, path, flags, mode);
    track(fd, underDirAt(dirfd, path), flags);
    return fd;
}

int openat64(int dirfd, const char* path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    const int mode = modeArg(flags, ap);
    va_end(ap);
    const int fd = real<int (*)(int, const char*, int, ...)>("openat64")(dirfd, path, flags, mode);
    track(fd, underDirAt(dirfd, path), flags);
    return fd;
}

int creat(const char* path, mode_t mode) {
    const int fd = real<int (*)(const char*, mode_t)>("creat")(path, mode);
    track(fd, underDir(path), O_WRONLY);
    return fd;
}

int creat64(const char* path, mode_t mode) {
    const int fd = real<int (*)(const char*, mode_t)>("creat64")(path, mode);
    track(fd, underDir(path), O_WRONLY);
    return fd;
}

int mkstemp(char* tmpl) {
    const int fd = real<int (*)(char*)>("mkstemp")(tmpl);
    track(fd, underDir(tmpl), O_RDWR);
    return fd;
}

int mkstemp64(char* tmpl) {
    const int fd = real<int (*)(char*)>("mkstemp64")(tmpl);
    track(fd, underDir(tmpl), O_RDWR);
    return fd;
}

int mkostemp(char* tmpl, int flags) {
    const int fd = real<int (*)(char*, int)>("mkostemp")(tmpl, flags);
    track(fd, underDir(tmpl), O_RDWR);
    return fd;
}

FILE* fopen(const char* path, const char* mode) {
    FILE* f = real<FILE* (*)(const char*, const char*)>("fopen")(path, mode);
    if (f) track(fileno(f), underDir(path), strpbrk(mode, "wa+") ? O_RDWR : O_RDONLY);
    return f;
}

FILE* fopen64(const char* path, const char* mode) {
    FILE* f = real<FILE* (*)(const char*, const char*)>("fopen64")(path, mode);
    if (f) track(fileno(f), underDir(path), strpbrk(mode, "wa+") ? O_RDWR : O_RDONLY);
    return f;
}

ssize_t write(int fd, const void* buf, size_t n) {
    static auto next = real<ssize_t (*)(int, const void*, size_t)>("write");
    if (watchedFd(fd) && failNow("write", fd, nullptr)) {
        const int err = errno;
        if (n > 1) (void)next(fd, buf, n / 2);
        errno = err;
        return -1;
    }
    return next(fd, buf, n);
}

ssize_t pwrite(int fd, const void* buf, size_t n, off_t offset) {
    static auto next = real<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
    if (watchedFd(fd) && failNow("pwrite", fd, nullptr)) {
        const int err = errno;
        if (n > 1) (void)next(fd, buf, n / 2, offset);
        errno = err;
        return -1;
    }
    return next(fd, buf, n, offset);
}

ssize_t pwrite64(int fd, const void* buf, size_t n, off64_t offset) {
    static auto next = real<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64");
    if (watchedFd(fd) && failNow("pwrite64", fd, nullptr)) {
        const int err = errno;
        if (n > 1) (void)next(fd, buf, n / 2, offset);
        errno = err;
        return -1;
    }
    return next(fd, buf, n, offset);
}

ssize_t writev(int fd, const struct iovec* iov, int count) {
    static auto next = real<ssize_t (*)(int, const struct iovec*, int)>("writev");
    if (watchedFd(fd) && failNow("writev", fd, nullptr)) {
        const int err = errno;
        if (count > 0 && iov[0].iov_len > 1) (void)real<ssize_t (*)(int, const void*, size_t)>("write")(fd, iov[0].iov_base, iov[0].iov_len / 2);
        errno = err;
        return -1;
    }
    return next(fd, iov, count);
}

ssize_t copy_file_range(int in, off64_t* inOff, int out, off64_t* outOff, size_t n, unsigned int flags) {
    static auto next = real<ssize_t (*)(int, off64_t*, int, off64_t*, size_t, unsigned int)>("copy_file_range");
    if (watchedFd(out) && failNow("copy_file_range", out, nullptr)) return -1;
    return next(in, inOff, out, outOff, n, flags);
}

ssize_t sendfile(int out, int in, off_t* offset, size_t n) {
    static auto next = real<ssize_t (*)(int, int, off_t*, size_t)>("sendfile");
    if (watchedFd(out) && failNow("sendfile", out, nullptr)) return -1;
    return next(out, in, offset, n);
}

ssize_t sendfile64(int out, int in, off64_t* offset, size_t n) {
    static auto next = real<ssize_t (*)(int, int, off64_t*, size_t)>("sendfile64");
    if (watchedFd(out) && failNow("sendfile64", out, nullptr)) return -1;
    return next(out, in, offset, n);
}

int fsync(int fd) {
    static auto next = real<int (*)(int)>("fsync");
    if (watchedFd(fd) && failNow("fsync", fd, nullptr)) return -1;
    return next(fd);
}

int fdatasync(int fd) {
    static auto next = real<int (*)(int)>("fdatasync");
    if (watchedFd(fd) && failNow("fdatasync", fd, nullptr)) return -1;
    return next(fd);
}

int ftruncate(int fd, off_t length) {
    static auto next = real<int (*)(int, off_t)>("ftruncate");
    if (watchedFd(fd) && failNow("ftruncate", fd, nullptr)) return -1;
    return next(fd, length);
}

int ftruncate64(int fd, off64_t length) {
    static auto next = real<int (*)(int, off64_t)>("ftruncate64");
    if (watchedFd(fd) && failNow("ftruncate64", fd, nullptr)) return -1;
    return next(fd, length);
}

int truncate(const char* path, off_t length) {
    static auto next = real<int (*)(const char*, off_t)>("truncate");
    if (underDir(path) && failNow("truncate", -1, path)) return -1;
    return next(path, length);
}

int rename(const char* from, const char* to) {
    static auto next = real<int (*)(const char*, const char*)>("rename");
    if ((underDir(from) || underDir(to)) && failNow("rename", -1, to)) return -1;
    return next(from, to);
}

int renameat(int fromDir, const char* from, int toDir, const char* to) {
    static auto next = real<int (*)(int, const char*, int, const char*)>("renameat");
    if ((underDirAt(fromDir, from) || underDirAt(toDir, to)) && failNow("renameat", -1, to)) return -1;
    return next(fromDir, from, toDir, to);
}

int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned int flags) {
    static auto next = real<int (*)(int, const char*, int, const char*, unsigned int)>("renameat2");
    if ((underDirAt(fromDir, from) || underDirAt(toDir, to)) && failNow("renameat2", -1, to)) return -1;
    return next(fromDir, from, toDir, to, flags);
}

// Only the close of a file open for writing can lose data; Linux frees the descriptor
// even when close reports an error.
int close(int fd) {
    static auto next = real<int (*)(int)>("close");
    const bool counted = watchedFd(fd) && g_writable[fd];
    if (fd >= 0 && fd < kMaxFd) g_watched[fd] = g_writable[fd] = false;
    const int r = next(fd);
    if (counted && failNow("close", fd, nullptr)) return -1;
    return r;
}

}  // extern "C"
