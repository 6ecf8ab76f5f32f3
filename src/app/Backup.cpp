#include "app/Backup.h"

#include "app/Settings.h"
#include "foundations/Cp1252.h"
#include "foundations/FileError.h"
#include "foundations/Format.h"
#include "foundations/RecordFile.h"
#include "foundations/TextFile.h"
#include "subjects/ArchiveRecords.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace athanor {

namespace fs = std::filesystem;

namespace {

constexpr std::array<const char*, 3> kArchiveFiles = {"BASE.ST1", "BASE.ST2", "BASE.ST3"};
constexpr std::array<std::size_t, 3> kArchiveRecordSizes = {kIndexRecordSize, kBirthRecordSize, kNotesRecordSize};
constexpr std::size_t kChunk = 1 << 20;

// A file of `dir` named `name` in any letter case, as the program folder's resolver finds it.
std::optional<fs::path> findInFolder(const fs::path& dir, const std::string& name) {
    const fs::path found = resolveCaseInsensitive(dir, name);
    std::error_code ec;
    if (fs::is_regular_file(found, ec)) return found;
    return std::nullopt;
}

std::uint64_t fileSize(const fs::path& p) {
    std::error_code ec;
    const auto n = fs::file_size(p, ec);
    if (ec) throw FileError::fromErrorCode(p, ec);
    return n;
}

void makeFolder(const fs::path& p) {
    std::error_code ec;
    fs::create_directories(p, ec);
    if (ec) throw FileError::fromErrorCode(p, ec);
    if (!fs::is_directory(p, ec)) throw FileError::fromErrno(p, ENOTDIR);
}

// The regular files of a folder, sorted by name; none when the folder is missing.
std::vector<fs::path> filesOf(const fs::path& dir) {
    std::vector<fs::path> out;
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) return out;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fileEc;
        if (it->is_regular_file(fileEc)) out.push_back(it->path());
    }
    if (ec) throw FileError::fromErrorCode(dir, ec);
    std::sort(out.begin(), out.end());
    return out;
}

void syncFolder(const fs::path& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;  // the rename itself succeeded; a folder that cannot be opened is not worth failing for
    ::fsync(fd);
    ::close(fd);
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() {
        const int f = fd_;
        fd_ = -1;
        return f;
    }

private:
    int fd_;
};

std::array<std::uint8_t, 32> hashOf(const fs::path& p, std::uint64_t& size) {
    Fd in(::open(p.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0) throw FileError::fromErrno(p, errno);
    std::vector<std::uint8_t> buf(kChunk);
    Sha256 hash;
    size = 0;
    for (;;) {
        const ssize_t n = ::read(in.get(), buf.data(), buf.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            throw FileError::fromErrno(p, errno);
        }
        if (n == 0) break;
        hash.add(buf.data(), static_cast<std::size_t>(n));
        size += static_cast<std::uint64_t>(n);
    }
    return hash.finish();
}

void moveInto(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::rename(from, to, ec);
    if (ec) throw FileError::fromErrorCode(from, ec);
}

}  // namespace

// ---- the backup folder -------------------------------------------------------------------

std::optional<fs::path> chosenBackupFolder(const std::string& line6) {
    if (line6.empty() || line6[0] != '/') return std::nullopt;
    return fs::path(cp1252ToUtf8(line6));
}

fs::path backupFolderOn(const fs::path& place) {
    fs::path p = place;
    if (p.has_filename() == false) p = p.parent_path();
    if (p.filename() == kBackupFolderName) return p;
    return p / kBackupFolderName;
}

void storeBackupFolder(const DataRoot& root, const fs::path& folder) {
    const std::string text = utf8ToCp1252(folder.string());
    if (root.exists(kGeneralSettingsFile)) {
        const fs::path path = root.resolve(kGeneralSettingsFile);
        std::vector<std::string> lines = readLines(path);
        if (lines.size() >= 8) {
            lines[5] = text;
            writeLines(path, lines);
            return;
        }
    }
    // No file, or one the main window would refuse: the defaults with the folder.
    GeneralSettings s;
    readSettings(root, s);
    s.backupFolder = text;
    saveSettings(root, s);
}

std::string lastBackupDate(const DataRoot& root) {
    if (!root.exists(kLastBackupFile)) return "Mai";
    const auto lines = readLines(root.resolve(kLastBackupFile));
    if (lines.empty()) return "Mai";
    return lines[0].substr(0, 10);
}

// ---- copies ------------------------------------------------------------------------------

void copyVerified(const CopyItem& item, std::uint64_t& done, std::uint64_t total, const CopyProgress& progress) {
    Fd in(::open(item.from.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0) throw FileError::fromErrno(item.from, errno);

    const fs::path dir = item.to.parent_path();
    std::string temp = (dir / ("." + item.to.filename().string() + ".XXXXXX")).string();
    Fd out(::mkstemp(temp.data()));
    if (out.get() < 0) throw FileError::fromErrno(item.to, errno);
    bool keepTemp = false;
    struct Cleanup {
        const std::string& path;
        bool& keep;
        ~Cleanup() {
            if (!keep) ::unlink(path.c_str());
        }
    } cleanup{temp, keepTemp};

    ::fchmod(out.get(), 0644);
    std::vector<std::uint8_t> buf(kChunk);
    Sha256 hash;
    std::uint64_t copied = 0;
    for (;;) {
        const ssize_t n = ::read(in.get(), buf.data(), buf.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            throw FileError::fromErrno(item.from, errno);
        }
        if (n == 0) break;
        std::size_t written = 0;
        while (written < static_cast<std::size_t>(n)) {
            const ssize_t w = ::write(out.get(), buf.data() + written, static_cast<std::size_t>(n) - written);
            if (w < 0) {
                if (errno == EINTR) continue;
                throw FileError::fromErrno(item.to, errno);
            }
            written += static_cast<std::size_t>(w);
        }
        hash.add(buf.data(), static_cast<std::size_t>(n));
        copied += static_cast<std::uint64_t>(n);
        done += static_cast<std::uint64_t>(n);
        if (progress) progress(std::min(done, total), total);
    }
    if (::fsync(out.get()) != 0) throw FileError::fromErrno(item.to, errno);
    if (::close(out.release()) != 0) throw FileError::fromErrno(item.to, errno);

    std::uint64_t readBack = 0;
    const auto expected = hash.finish();
    if (hashOf(temp, readBack) != expected || readBack != copied) {
        throw FileError(item.to, "la copia no coincide con el original", FileFault::NotWritten);
    }
    if (::rename(temp.c_str(), item.to.c_str()) != 0) throw FileError::fromErrno(item.to, errno);
    keepTemp = true;
    syncFolder(dir);
}

namespace {

void runCopies(const std::vector<CopyItem>& items, const CopyProgress& progress) {
    std::uint64_t total = 0;
    for (const auto& i : items) total += i.size;
    std::uint64_t done = 0;
    if (progress) progress(0, total);
    for (const auto& i : items) {
        copyVerified(i, done, total, progress);
        // A file that grew while it was planned still ends at the whole.
        if (done > total) total = done;
    }
    if (progress) progress(total, total);
}

}  // namespace

// ---- backup ------------------------------------------------------------------------------

std::vector<CopyItem> backupPlan(const DataRoot& root, const fs::path& folder) {
    std::vector<CopyItem> plan;
    if (root.exists(kLastBackupFile)) {
        const fs::path date = root.resolve(kLastBackupFile);
        plan.push_back({date, folder / "MMbakMod1.dum", fileSize(date)});
    }
    for (const char* name : kArchiveFiles) {
        if (!root.exists(name)) throw FileError(root.resolveForWriting(name), "no existe", FileFault::Missing);
        const fs::path from = root.resolve(name);
        plan.push_back({from, folder / kBackupArchiveFolder / name, fileSize(from)});
    }
    if (root.exists(kDocumentsFolder)) {
        for (const fs::path& doc : filesOf(root.resolve(kDocumentsFolder))) {
            plan.push_back({doc, folder / kDocumentsFolder / doc.filename(), fileSize(doc)});
        }
    }
    return plan;
}

void runBackup(const DataRoot& root, const fs::path& folder, const CalendarDay& today, const CopyProgress& progress) {
    const auto plan = backupPlan(root, folder);
    makeFolder(folder);
    makeFolder(folder / kBackupArchiveFolder);
    makeFolder(folder / kDocumentsFolder);
    runCopies(plan, progress);
    const std::string date =
        zeroPadded(today.day, 2) + "/" + zeroPadded(today.month, 2) + "/" + zeroPadded(today.year, 4);
    writeLines(root.resolveForWriting(kLastBackupFile), {date});
}

// ---- restore -----------------------------------------------------------------------------

std::string restoreProblem(const fs::path& folder) {
    const fs::path archive = folder / kBackupArchiveFolder;
    for (std::size_t i = 0; i < kArchiveFiles.size(); ++i) {
        const std::string name = kArchiveFiles[i];
        const auto found = findInFolder(archive, name);
        if (!found) {
            return "La copia de " + utf8ToCp1252(folder.string()) + " est\xE1 incompleta: falta el archivo " +
                   kBackupArchiveFolder + "/" + name + ". No se ha restaurado nada.";
        }
        std::error_code ec;
        const auto size = fs::file_size(*found, ec);
        if (ec || size == 0 || size % kArchiveRecordSizes[i] != 0) {
            return "La copia de " + utf8ToCp1252(folder.string()) + " est\xE1 incompleta: el archivo " +
                   kBackupArchiveFolder + "/" + name + " no contiene registros enteros (quiz\xE1 la copia se " +
                   "interrumpi\xF3). No se ha restaurado nada.";
        }
    }
    return {};
}

RestoreOutcome runRestore(const DataRoot& root, const fs::path& folder, const std::string& stamp,
                          const CopyProgress& progress) {
    if (const std::string problem = restoreProblem(folder); !problem.empty()) {
        throw FileError(folder, problem, FileFault::Damaged);
    }
    const fs::path programFolder = root.root();
    std::vector<CopyItem> plan;
    for (const char* name : kArchiveFiles) {
        const fs::path from = *findInFolder(folder / kBackupArchiveFolder, name);
        plan.push_back({from, root.resolveForWriting(name), fileSize(from)});
    }
    const fs::path backupDocs = resolveCaseInsensitive(folder, kDocumentsFolder);
    const fs::path docs = root.resolveForWriting(kDocumentsFolder);
    for (const fs::path& doc : filesOf(backupDocs)) plan.push_back({doc, docs / doc.filename(), fileSize(doc)});

    // The safety folder: a new one each time, never mixed with an earlier restore's.
    const fs::path safetyParent = root.resolveForWriting(kSafetyFolder);
    fs::path safety = safetyParent / stamp;
    for (int n = 2; fs::exists(safety); ++n) safety = safetyParent / (stamp + "-" + std::to_string(n));
    makeFolder(safety);

    // What is moved aside, to be put back if the restore fails.
    std::vector<std::pair<fs::path, fs::path>> moved;
    bool copying = false;
    auto putBack = [&] {
        std::error_code ec;
        if (copying) {
            // Everything in place is the restore's own by now: the originals are aside.
            for (const auto& item : plan) fs::remove(item.to, ec);
            fs::remove(docs, ec);
        }
        for (auto it = moved.rbegin(); it != moved.rend(); ++it) fs::rename(it->second, it->first, ec);
        fs::remove(safety, ec);  // only when empty again
    };
    try {
        for (const char* name : kArchiveFiles) {
            if (!root.exists(name)) continue;
            const fs::path from = root.resolve(name);
            moveInto(from, safety / from.filename());
            moved.emplace_back(from, safety / from.filename());
        }
        if (root.exists(kDocumentsFolder)) {
            const fs::path from = root.resolve(kDocumentsFolder);
            moveInto(from, safety / from.filename());
            moved.emplace_back(from, safety / from.filename());
        }
        syncFolder(programFolder);
        copying = true;
        makeFolder(docs);
        runCopies(plan, progress);
    } catch (...) {
        putBack();
        throw;
    }
    return {safety};
}

// ---- SHA-256 -----------------------------------------------------------------------------

namespace {

constexpr std::array<std::uint32_t, 64> kRound = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::uint32_t rotr(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

}  // namespace

Sha256::Sha256()
    : h_{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19} {}

void Sha256::block(const std::uint8_t* p) {
    std::array<std::uint32_t, 64> w{};
    for (int i = 0; i < 16; ++i) {
        w[i] = (std::uint32_t(p[4 * i]) << 24) | (std::uint32_t(p[4 * i + 1]) << 16) |
               (std::uint32_t(p[4 * i + 2]) << 8) | std::uint32_t(p[4 * i + 3]);
    }
    for (int i = 16; i < 64; ++i) {
        const std::uint32_t s0 = rotr(w[i - 15], 7) ^ rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
        const std::uint32_t s1 = rotr(w[i - 2], 17) ^ rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    std::uint32_t a = h_[0], b = h_[1], c = h_[2], d = h_[3], e = h_[4], f = h_[5], g = h_[6], h = h_[7];
    for (int i = 0; i < 64; ++i) {
        const std::uint32_t t1 = h + (rotr(e, 6) ^ rotr(e, 11) ^ rotr(e, 25)) + ((e & f) ^ (~e & g)) + kRound[i] + w[i];
        const std::uint32_t t2 = (rotr(a, 2) ^ rotr(a, 13) ^ rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
        h = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    h_[0] += a;
    h_[1] += b;
    h_[2] += c;
    h_[3] += d;
    h_[4] += e;
    h_[5] += f;
    h_[6] += g;
    h_[7] += h;
}

void Sha256::add(const void* data, std::size_t size) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    length_ += size;
    while (size > 0) {
        const std::size_t take = std::min(size, buffer_.size() - used_);
        std::memcpy(buffer_.data() + used_, p, take);
        used_ += take;
        p += take;
        size -= take;
        if (used_ == buffer_.size()) {
            block(buffer_.data());
            used_ = 0;
        }
    }
}

std::array<std::uint8_t, 32> Sha256::finish() {
    const std::uint64_t bits = length_ * 8;
    const std::uint8_t one = 0x80;
    add(&one, 1);
    const std::uint8_t zero = 0;
    while (used_ != 56) add(&zero, 1);
    std::uint8_t len[8];
    for (int i = 0; i < 8; ++i) len[i] = static_cast<std::uint8_t>(bits >> (56 - 8 * i));
    add(len, 8);
    std::array<std::uint8_t, 32> out{};
    for (int i = 0; i < 8; ++i) {
        out[4 * i] = static_cast<std::uint8_t>(h_[i] >> 24);
        out[4 * i + 1] = static_cast<std::uint8_t>(h_[i] >> 16);
        out[4 * i + 2] = static_cast<std::uint8_t>(h_[i] >> 8);
        out[4 * i + 3] = static_cast<std::uint8_t>(h_[i]);
    }
    return out;
}

}  // namespace athanor
