#include "subjects/SubjectFiles.h"

#include "foundations/FileError.h"
#include "foundations/RecordFile.h"
#include "foundations/TextFile.h"
#include "subjects/BirthStamp.h"

#include <algorithm>

namespace athanor {

namespace {

std::string bytesOf(const std::uint8_t* p, std::size_t n) { return std::string(reinterpret_cast<const char*>(p), n); }

void writeRecord0(const DataRoot& root, std::string_view name, std::size_t size, const std::uint8_t* bytes) {
    if (!root.exists(name)) {
        writeFileAtomically(root.resolveForWriting(name), bytesOf(bytes, size));
        return;
    }
    RecordFile file(root.resolve(name), size, RecordFile::Mode::ReadWrite);
    const std::span<const std::uint8_t> record(bytes, size);
    if (file.count() > 0) file.rewrite(0, record);
    else file.write(0, record);
}

RecordFile openRecord0(const DataRoot& root, std::string_view name, std::size_t size) {
    RecordFile file(root.resolve(name), size);
    if (file.count() < 1) throw FileError(file.path(), "falta el registro 0", FileFault::Damaged);
    return file;
}

}  // namespace

CurrentSubject loadCurrent(const DataRoot& root) {
    CurrentSubject s;
    {
        RecordFile index = openRecord0(root, "TMPR.ST1", kIndexRecordSize);
        s.entryText = decodeIndexEntry(index.read(0).data());
    }
    RecordFile birth = openRecord0(root, "TMPR.ST2", kBirthRecordSize);
    s.record = decodeBirthRecord(birth.read(0).data());
    s.record.birthStamp = withCommaSeparator(s.record.birthStamp);
    return s;
}

void storeCurrent(const DataRoot& root, std::string_view entryText, const BirthRecord& record) {
    const auto birth = encodeBirthRecord(record);
    const auto index = encodeIndexEntry(entryText);
    writeRecord0(root, "TMPR.ST2", birth.size(), birth.data());
    writeRecord0(root, "TMPR.ST1", index.size(), index.data());
}

void replaceCurrent(const DataRoot& root, std::string_view entryText, const BirthRecord& record) {
    const auto birth = encodeBirthRecord(record);
    const auto index = encodeIndexEntry(entryText);
    writeFileAtomically(root.resolveForWriting("TMPR.ST2"), bytesOf(birth.data(), birth.size()));
    writeFileAtomically(root.resolveForWriting("TMPR.ST1"), bytesOf(index.data(), index.size()));
}

std::array<std::string, 4> memoLines(const NotesRecord& notes) {
    std::array<std::string, 4> out;
    for (int i = 0; i < 4; ++i) out[i] = " " + trim(notes.lines[i]);
    return out;
}

std::string memoText(const NotesRecord& notes) {
    std::string text;
    for (const auto& line : memoLines(notes)) text += line;
    return text;
}

void writeNotesLine(const DataRoot& root, std::string_view text) {
    writeLines(root.resolveForWriting(kNotesLineFile), {std::string(text)});
}

std::string readNotesLine(const DataRoot& root) {
    if (!root.exists(kNotesLineFile)) return {};
    const auto lines = readLines(root.resolve(kNotesLineFile));
    return lines.empty() ? std::string() : lines.front();
}

void writeTextReference(const DataRoot& root, const TextReference& ref) {
    writeLines(root.resolveForWriting(kTextReferenceFile), {ref.archive, ref.number});
}

std::optional<TextReference> readTextReference(const DataRoot& root) {
    if (!root.exists(kTextReferenceFile)) return std::nullopt;
    const auto lines = readLines(root.resolve(kTextReferenceFile));
    TextReference ref;
    if (!lines.empty()) ref.archive = lines[0];
    if (lines.size() > 1) ref.number = lines[1];
    return ref;
}

std::optional<std::string> currentTextDocument(const DataRoot& root) {
    const auto ref = readTextReference(root);
    if (!ref || trim(ref->archive).empty() || trim(ref->number).empty()) return std::nullopt;
    const std::string path = trim(ref->archive) + "txt\\" + trim(ref->number) + ".txt";
    if (!root.exists(path)) return std::nullopt;
    return path;
}

void writeEditTarget(const DataRoot& root, std::string_view relativePath) {
    writeLines(root.resolveForWriting(kEditTargetFile), {std::string(relativePath)});
}

void writeLastRetrieved(const DataRoot& root, std::string_view recordNumber, std::string_view archive) {
    writeLines(root.resolveForWriting(kLastRetrievedFile), {std::string(recordNumber), std::string(archive)});
}

void writeArchiveMemo(const DataRoot& root, const ArchiveMemo& memo) {
    writeLines(root.resolveForWriting(kArchiveMemoFile),
               {memo.archive, memo.entryText, std::to_string(memo.position), memo.name});
}

std::vector<std::string> archivesWritten(const DataRoot& root) {
    if (!root.exists(kArchivesWrittenFile)) return {};
    return readLines(root.resolve(kArchivesWrittenFile));
}

void noteArchiveWritten(const DataRoot& root, std::string_view archive) {
    std::vector<std::string> lines = archivesWritten(root);
    const std::string name(archive.substr(0, 6));
    if (std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return trim(l) == name; })) return;
    lines.push_back(name);
    writeLines(root.resolveForWriting(kArchivesWrittenFile), lines);
}

}  // namespace athanor
