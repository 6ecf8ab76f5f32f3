#include "subjects/ArchiveRecords.h"

#include "foundations/Format.h"
#include "foundations/RecordFile.h"

#include <cstdio>

namespace athanor {

IndexRecordBytes encodeIndexEntry(std::string_view text) {
    IndexRecordBytes bytes{};
    writeField(bytes.data(), kEntryCapacity, text);
    return bytes;
}

std::string decodeIndexEntry(const std::uint8_t* record) { return readField(record, kEntryCapacity); }

std::string makeEntryText(std::string_view name, int recordNumber) {
    std::string text = padRight(name, kNameWidth) + zeroPadded(recordNumber, kRecordNumberWidth);
    return text.substr(0, kEntryCapacity);
}

std::optional<int> entryRecordNumber(std::string_view entry) {
    if (entry.size() < kRecordNumberWidth) return std::nullopt;
    int v = 0;
    for (char c : entry.substr(entry.size() - kRecordNumberWidth)) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

std::string entryName(std::string_view entry) { return trimRight(entry.substr(0, kNameWidth)); }

BirthRecord BirthRecord::blank() {
    BirthRecord r;
    r.birthStamp = r.placeText = r.calendarCode = r.country = " ";
    r.planetSummary = r.cuspSummary = r.aspectSummary = r.reserved21 = r.reserved12 = " ";
    r.notesNumber = "     ";
    return r;
}

int BirthRecord::notesRecord() const {
    const std::string t = trim(notesNumber);
    if (t.empty()) return 0;
    int v = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return 0;
        v = v * 10 + (c - '0');
    }
    return v;
}

namespace {

std::array<std::string*, 10> birthFields(BirthRecord& r) {
    return {&r.birthStamp,  &r.placeText,     &r.calendarCode, &r.country,    &r.planetSummary,
            &r.cuspSummary, &r.aspectSummary, &r.reserved21,   &r.reserved12, &r.notesNumber};
}

}  // namespace

BirthRecordBytes encodeBirthRecord(const BirthRecord& r) {
    BirthRecordBytes bytes{};
    BirthRecord copy = r;
    const auto fields = birthFields(copy);
    for (std::size_t i = 0; i < fields.size(); ++i)
        writeField(bytes.data() + kBirthFieldOffset[i], kBirthFieldCapacity[i], *fields[i]);
    return bytes;
}

BirthRecord decodeBirthRecord(const std::uint8_t* record) {
    BirthRecord r;
    const auto fields = birthFields(r);
    for (std::size_t i = 0; i < fields.size(); ++i)
        *fields[i] = readField(record + kBirthFieldOffset[i], kBirthFieldCapacity[i]);
    return r;
}

NotesRecord NotesRecord::blank() { return NotesRecord{{" ", " ", " ", " "}}; }

NotesRecord NotesRecord::fromNotes(const std::array<std::string, 4>& notes, std::string_view documentNumber) {
    NotesRecord r;
    for (int i = 0; i < 3; ++i) r.lines[i] = notes[i].substr(0, kNotesCapacity);
    r.lines[3] = padRight(notes[3], kNotesCapacity).substr(0, 64) + std::string(documentNumber);
    r.lines[3] = r.lines[3].substr(0, kNotesCapacity);
    return r;
}

std::string NotesRecord::documentNumber() const {
    if (lines[3].size() <= 64) return {};
    return trim(lines[3].substr(64, 5));
}

NotesRecordBytes encodeNotesRecord(const NotesRecord& r) {
    NotesRecordBytes bytes{};
    for (int i = 0; i < 4; ++i) writeField(bytes.data() + 71 * i, kNotesCapacity, r.lines[i]);
    return bytes;
}

NotesRecord decodeNotesRecord(const std::uint8_t* record) {
    NotesRecord r;
    for (int i = 0; i < 4; ++i) r.lines[i] = readField(record + 71 * i, kNotesCapacity);
    return r;
}

std::string trimRight(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return std::string(s);
}

std::string trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    return trimRight(s);
}

std::string padRight(std::string_view s, std::size_t width, char fill) {
    std::string out(s);
    if (out.size() < width) out.append(width - out.size(), fill);
    return out;
}

}  // namespace athanor
