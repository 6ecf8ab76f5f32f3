#include "subjects/Archive.h"

#include "foundations/FileError.h"
#include "foundations/FolderLock.h"
#include "foundations/Format.h"
#include "foundations/RecordFile.h"
#include "foundations/TextFile.h"

#include <algorithm>
#include <ctime>
#include <set>
#include <stdexcept>

#include <sys/stat.h>

namespace athanor {

namespace {

// Appends record k (the count) and flushes it. A failure takes the file back to its old
// length: a half-written record, or one whose flush failed, must not stay for the next
// save to number after.
void appendDurably(RecordFile& file, std::int64_t k, std::span<const std::uint8_t> bytes) {
    try {
        file.write(k, bytes);
        file.sync();
    } catch (const FileError&) {
        try {
            if (k <= file.count()) {
                file.truncate(k);
                file.sync();
            }
        } catch (const FileError&) {
        }
        throw;
    }
}

// An existing record is rewritten old-or-new; one past the end is appended and flushed.
template <typename Record>
void writeInPlace(RecordFile& file, int k, const Record& bytes) {
    if (k >= 0 && k < file.count()) file.rewrite(k, bytes);
    else appendDurably(file, k, bytes);
}

std::string upperAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

void checkIndex(const RecordFile& file, std::int64_t k) {
    if (k < 0 || k >= file.count())
        throw FileError(file.path(), "el registro " + std::to_string(k) + " no existe", FileFault::Damaged);
}

std::string encodeAll(const std::vector<std::string>& entries) {
    std::string bytes;
    bytes.reserve(entries.size() * kIndexRecordSize);
    for (const auto& e : entries) {
        const auto rec = encodeIndexEntry(e);
        bytes.append(reinterpret_cast<const char*>(rec.data()), rec.size());
    }
    return bytes;
}

}  // namespace

bool isArchiveName(std::string_view name) {
    if (name.size() != 4) return false;
    for (char c : name)
        if (c == '/' || c == '\\' || c == '.' || c == '\0' || c == ':') return false;
    return true;
}

Archive::Archive(DataRoot root, std::string_view name) : root_(std::move(root)), name_(upperAscii(name)) {
    if (!isArchiveName(name_)) throw std::invalid_argument("nombre de archivo no admitido: " + std::string(name));
}

std::filesystem::path Archive::path(std::string_view extension) const {
    return root_.resolve(name_ + std::string(extension));
}

std::filesystem::path Archive::indexPath() const { return path(".ST1"); }
std::filesystem::path Archive::birthPath() const { return path(".ST2"); }
std::filesystem::path Archive::notesPath() const { return path(".ST3"); }

bool Archive::exists() const { return root_.exists(name_ + ".ST1"); }
bool Archive::hasNotesFile() const { return root_.exists(name_ + ".ST3"); }

int Archive::indexRecordCount() const { return static_cast<int>(RecordFile(indexPath(), kIndexRecordSize).count()); }
int Archive::count() const { return indexRecordCount() - 1; }
int Archive::birthRecordCount() const { return static_cast<int>(RecordFile(birthPath(), kBirthRecordSize).count()); }
int Archive::notesRecordCount() const { return static_cast<int>(RecordFile(notesPath(), kNotesRecordSize).count()); }

std::string Archive::readEntry(int k) const {
    RecordFile file(indexPath(), kIndexRecordSize);
    checkIndex(file, k);
    return decodeIndexEntry(file.read(k).data());
}

void Archive::writeEntry(int k, std::string_view text) {
    RecordFile file(indexPath(), kIndexRecordSize, RecordFile::Mode::ReadWrite);
    writeInPlace(file, k, encodeIndexEntry(text));
}

std::vector<std::string> Archive::readAllEntries() const {
    // One read for the whole index: a save at 99,999 subjects read it record by record.
    const Bytes all = RecordFile(indexPath(), kIndexRecordSize).readAll();
    std::vector<std::string> entries;
    entries.reserve(all.size() / kIndexRecordSize);
    for (std::size_t at = 0; at < all.size(); at += kIndexRecordSize)
        entries.push_back(decodeIndexEntry(all.data() + at));
    return entries;
}

BirthRecord Archive::readRecord(int n) const {
    RecordFile file(birthPath(), kBirthRecordSize);
    checkIndex(file, n);
    return decodeBirthRecord(file.read(n).data());
}

void Archive::writeRecord(int n, const BirthRecord& record) {
    RecordFile file(birthPath(), kBirthRecordSize, RecordFile::Mode::ReadWrite);
    writeInPlace(file, n, encodeBirthRecord(record));
}

int Archive::appendRecord(const BirthRecord& record) {
    RecordFile file(birthPath(), kBirthRecordSize, RecordFile::Mode::ReadWrite);
    const auto n = file.count();
    appendDurably(file, n, encodeBirthRecord(record));  // on the disk before an index entry can point at it
    return static_cast<int>(n);
}

NotesRecord Archive::readNotes(int n) const {
    RecordFile file(notesPath(), kNotesRecordSize);
    checkIndex(file, n);
    return decodeNotesRecord(file.read(n).data());
}

void Archive::writeNotes(int n, const NotesRecord& notes) {
    RecordFile file(notesPath(), kNotesRecordSize, RecordFile::Mode::ReadWrite);
    writeInPlace(file, n, encodeNotesRecord(notes));
}

int Archive::appendNotes(const NotesRecord& notes) {
    RecordFile file(notesPath(), kNotesRecordSize, RecordFile::Mode::ReadWrite);
    const auto n = file.count();
    appendDurably(file, n, encodeNotesRecord(notes));
    return static_cast<int>(n);
}

int insertionPass(std::vector<std::string>& entries) {
    const int p = static_cast<int>(entries.size()) - 1;
    if (p < 1) return p;
    const std::string key = entries[p];
    int position = p;
    for (int k = p; k >= 2; --k) {
        if (entries[k] <= entries[k - 1]) {
            std::swap(entries[k], entries[k - 1]);
            if (entries[k - 1] == key) position = k - 1;
        }
    }
    return position;
}

int Archive::insertEntry(std::string_view text) {
    // The same pass as insertionPass, on the file's bytes: at 99,999 subjects decoding and
    // encoding every entry cost more than reading and writing the file.
    Bytes all = RecordFile(indexPath(), kIndexRecordSize).readAll();
    const auto added = encodeIndexEntry(std::string(text).substr(0, kEntryCapacity));
    all.insert(all.end(), added.begin(), added.end());
    const int p = static_cast<int>(all.size() / kIndexRecordSize) - 1;
    auto at = [&](int k) { return all.data() + static_cast<std::size_t>(k) * kIndexRecordSize; };
    auto textOf = [&](int k) {
        const std::uint8_t* r = at(k);
        return std::string_view(reinterpret_cast<const char*>(r + 1), std::min<int>(r[0], kEntryCapacity));
    };
    const std::string key(textOf(p));
    int position = p;
    for (int k = p; k >= 2; --k) {
        if (textOf(k) <= textOf(k - 1)) {
            std::swap_ranges(at(k), at(k) + kIndexRecordSize, at(k - 1));
            if (textOf(k - 1) == key) position = k - 1;
        }
    }
    writeFileAtomically(indexPath(), std::string_view(reinterpret_cast<const char*>(all.data()), all.size()));
    return p < 1 ? p : position;
}

void Archive::removeEntry(int k) {
    std::vector<std::string> entries = readAllEntries();
    if (k < 1 || k >= static_cast<int>(entries.size()))
        throw FileError(indexPath(), "el registro " + std::to_string(k) + " no existe", FileFault::Damaged);
    entries.erase(entries.begin() + k);
    writeFileAtomically(indexPath(), encodeAll(entries));
}

struct Archive::IndexSnapshot {
    struct stat identity {};
    Bytes records;  // whole records
    int count() const { return static_cast<int>(records.size() / kIndexRecordSize); }
    const std::uint8_t* record(int k) const { return records.data() + static_cast<std::size_t>(k) * kIndexRecordSize; }
};

namespace {

// The same file, unchanged: replaced whole it is another inode, written in place it has
// another modification time.
bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
           a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

}  // namespace

std::shared_ptr<const Archive::IndexSnapshot> Archive::indexSnapshot() const {
    const std::filesystem::path index = indexPath();
    struct stat before {};
    const bool known = ::stat(index.c_str(), &before) == 0;
    if (known && snapshot_ && sameFile(snapshot_->identity, before)) return snapshot_;
    auto s = std::make_shared<IndexSnapshot>();
    s->records = RecordFile(index, kIndexRecordSize).readAll();  // the file's own errors
    struct stat after {};
    // Kept only when nothing changed the file while it was read, and when its last change
    // is old enough that a write now would show a later time: file times advance by clock
    // ticks of a few milliseconds, and a write within the tick of the one before would
    // otherwise pass for no change.
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    auto ms = [](const timespec& t) { return static_cast<long long>(t.tv_sec) * 1000 + t.tv_nsec / 1000000; };
    if (known && ::stat(index.c_str(), &after) == 0 && sameFile(before, after) &&
        ms(now) - std::max(ms(after.st_mtim), ms(after.st_ctim)) > 100) {
        s->identity = after;
        snapshot_ = s;
    } else {
        snapshot_.reset();
    }
    return s;
}

int Archive::findNear(std::string_view prefix) const {
    const auto index = indexSnapshot();
    const int n = index->count() - 1;
    if (n <= 0) return 0;
    const std::string key = padRight(prefix, kNameWidth, '!');
    int lo = 1, hi = n, mid = 0;
    for (int step = 0; step < 100; ++step) {
        mid = (lo + hi) / 2;
        const std::string entry = decodeIndexEntry(index->record(mid));
        const int oldLo = lo, oldHi = hi;
        if (key > entry) lo = mid;
        else hi = mid;
        if (lo < 1) lo = 1;
        // Once the bounds stop moving every later step reads the same record to the same end.
        if (lo == oldLo && hi == oldHi) break;
    }
    return mid;
}

int Archive::firstStartingWith(std::string_view prefix) const {
    if (prefix.empty()) return 0;
    const auto index = indexSnapshot();
    const int n = index->count() - 1;
    int lo = 1, hi = n + 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (decodeIndexEntry(index->record(mid)) < prefix) lo = mid + 1;
        else hi = mid;
    }
    return lo <= n && decodeIndexEntry(index->record(lo)).starts_with(prefix) ? lo : 0;
}

std::string Archive::textDocument(std::string_view number) const {
    return textFolder() + "\\" + std::string(number) + ".txt";
}

std::string Archive::nextTextNumber() {
    const std::string counterName = textFolder() + "\\FlagTxt.set";
    if (!root_.exists(counterName)) writeLines(root_.resolveForWriting(counterName), {"1"});
    const auto counter = root_.resolve(counterName);
    const auto lines = readLines(counter);
    std::int64_t n = 1;
    if (!lines.empty())
        if (auto v = parseInteger(lines.front()); v && *v >= 1) n = *v;
    // A counter set back (by a restore, by hand) must not hand out the number of a
    // document that is there: that document would be overwritten.
    while (root_.exists(textDocument(zeroPadded(static_cast<int>(n), kRecordNumberWidth)))) ++n;
    writeLines(counter, {std::to_string(n + 1)});
    return zeroPadded(static_cast<int>(n), kRecordNumberWidth);
}

std::string unnamedSubject(int k) { return "SIN NOMBRE " + zeroPadded(k, kRecordNumberWidth); }

int Archive::create() {
    // The index lost but the birth records kept (deleted by hand, a failed copy): an empty new
    // index would hide every subject, so it is rebuilt from the records, in record order,
    // which the zero-padded names keep sorted.
    int recovered = 0;
    if (!root_.exists(name_ + ".ST1") && root_.exists(name_ + ".ST2")) {
        const int records = birthRecordCount();
        std::string index;
        const auto header = encodeIndexEntry(kIndexHeaderText);
        index.append(reinterpret_cast<const char*>(header.data()), header.size());
        for (int k = 1; k < records; ++k) {
            const auto entry = encodeIndexEntry(makeEntryText(unnamedSubject(k), k));
            index.append(reinterpret_cast<const char*>(entry.data()), entry.size());
        }
        if (records > 1) {
            writeFileAtomically(root_.resolveForWriting(name_ + ".ST1"), index);
            recovered = records - 1;
        }
    }
    auto createWith = [&](std::string_view extension, const std::uint8_t* bytes, std::size_t size) {
        const std::string name = name_ + std::string(extension);
        if (root_.exists(name)) return;
        writeFileAtomically(root_.resolveForWriting(name),
                            std::string_view(reinterpret_cast<const char*>(bytes), size));
    };
    const auto index = encodeIndexEntry(kIndexHeaderText);
    const auto birth = encodeBirthRecord(BirthRecord::blank());
    const auto notes = encodeNotesRecord(NotesRecord::blank());
    createWith(".ST1", index.data(), index.size());
    createWith(".ST2", birth.data(), birth.size());
    createWith(".ST3", notes.data(), notes.size());
    return recovered;
}

IndexMismatch findIndexMismatch(const Archive& archive) {
    IndexMismatch m;
    const std::vector<std::string> entries = archive.readAllEntries();
    const int records = archive.birthRecordCount();
    std::set<int> named;
    for (int k = 1; k < static_cast<int>(entries.size()); ++k) {
        const auto r = entryRecordNumber(entries[static_cast<std::size_t>(k)]);
        if (!r || *r < 1 || *r >= records) m.dangling.push_back(k);
        else if (!named.insert(*r).second) m.duplicates.push_back(k);
    }
    const auto cut = [](const std::filesystem::path& file, std::size_t recordSize) {
        std::error_code ec;
        const std::uintmax_t size = std::filesystem::file_size(file, ec);
        return !ec && size % recordSize != 0;
    };
    m.indexCut = cut(archive.indexPath(), kIndexRecordSize);
    m.recordsCut = cut(archive.birthPath(), kBirthRecordSize);
    return m;
}

std::string repairIndex(Archive& archive) {
    const FolderLock lock(archive.root().root());
    const IndexMismatch mismatch = findIndexMismatch(archive);
    const Bytes all = RecordFile(archive.indexPath(), kIndexRecordSize).readAll();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string copyName = archive.indexPath().filename().string() + ".copia-" + stamp;
    writeFileAtomically(archive.indexPath().parent_path() / copyName,
                        std::string_view(reinterpret_cast<const char*>(all.data()), all.size()));

    std::set<int> dropped(mismatch.dangling.begin(), mismatch.dangling.end());
    dropped.insert(mismatch.duplicates.begin(), mismatch.duplicates.end());
    std::string kept;
    for (std::size_t k = 0; k * kIndexRecordSize < all.size(); ++k)
        if (dropped.count(static_cast<int>(k)) == 0)
            kept.append(reinterpret_cast<const char*>(all.data()) + k * kIndexRecordSize, kIndexRecordSize);
    writeFileAtomically(archive.indexPath(), kept);
    return copyName;
}

std::vector<std::string> listArchives(const DataRoot& root) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(root.root(), ec)) {
        const std::string file = entry.path().filename().string();
        if (file.size() != 8 || lowerAscii(file.substr(4)) != ".st1") continue;
        std::error_code fileEc;
        if (!entry.is_regular_file(fileEc)) continue;
        const std::string name = upperAscii(file.substr(0, 4));
        if (isArchiveName(name)) names.insert(name);
    }
    if (ec) throw FileError::fromErrorCode(root.root(), ec);
    return {names.begin(), names.end()};
}

std::string archiveCaption(std::string_view name) {
    if (name == "BASE") return "BASE (personale)";
    if (name == "TMPR") return "TMPR (temporaneo)";
    if (name == "RICE") return "RICE (speciale)";
    if (name == "BANK") return "BANK (banca dati)";
    return std::string(name);
}

bool ensureBaseArchive(const DataRoot& root, int* recovered) {
    if (root.exists("BASE.st1")) return false;
    const int n = Archive(root, "BASE").create();
    if (recovered) *recovered = n;
    return true;
}

}  // namespace athanor
