#include "subjects/ArchiveOps.h"

#include "foundations/Calendar.h"

#include "foundations/FileError.h"
#include "foundations/FolderLock.h"
#include "foundations/Format.h"
#include "foundations/RecordFile.h"
#include "foundations/TextFile.h"
#include "subjects/BirthStamp.h"
#include "subjects/SubjectFiles.h"
#include "subjects/SubjectSummaries.h"

#include <algorithm>
#include <functional>
#include <cmath>

namespace athanor {

namespace {

std::string five(int v) { return zeroPadded(static_cast<std::int64_t>(v), kRecordNumberWidth); }

// The value of text[from, from+len) when all of it is digits.
std::optional<int> digitsAt(std::string_view text, std::size_t from, std::size_t len) {
    if (from + len > text.size()) return std::nullopt;
    int v = 0;
    for (char c : text.substr(from, len)) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

bool anyText(const std::array<std::string, 4>& notes, std::string_view documentNumber) {
    for (const auto& n : notes)
        if (!trim(n).empty()) return true;
    return !trim(documentNumber).empty();
}

// The record number an entry points at, when the archive holds that record.
std::optional<int> usableRecord(const Archive& archive, std::string_view entry) {
    const auto r = entryRecordNumber(entry);
    if (!r || *r < 1 || *r >= archive.birthRecordCount()) return std::nullopt;
    return r;
}

std::string textOfDocument(std::string_view name) { return std::string(name.substr(0, kNameWidth)); }

// The notes of record k, or blank ones and a warning when the notes file cannot give them:
// a missing or cut ".ST3" must not keep a subject from being deleted or modified.
NotesRecord notesOrBlank(const Archive& archive, int k, std::string& warning) {
    if (k == 0 && !archive.hasNotesFile()) return NotesRecord::blank();
    try {
        if (archive.hasNotesFile() && k >= 0 && k < archive.notesRecordCount()) return archive.readNotes(k);
    } catch (const FileError&) {
    }
    warning = "No se pueden leer las notas de este sujeto: el archivo " + archive.name() +
              ".ST3 falta o est\xE1 incompleto. Se muestran vac\xED" "as.";
    return NotesRecord::blank();
}

}  // namespace

// ---- save ---------------------------------------------------------------------------

std::string zoneTextFromCorrection(std::string_view correction) {
    std::string zone = (!correction.empty() && correction[0] == '+') ? "-" : "+";
    if (correction.size() > 1) zone += correction.substr(1, 4);
    for (char& ch : zone)
        if (ch == '.') ch = ',';
    return zone;
}

long double correctionFromZone(std::string_view zoneText) {
    const long double c = -correctionValue(zoneText);
    return c == 0 ? 0.0L : c;
}

SaveResult saveSubject(const DataRoot& root, const ChartState& settings, const CorrectionFiles& files,
                       const SaveInput& input, const SaveRequest& request) {
    const FolderLock lock(root.root());
    Archive archive(root, request.archive);
    const BirthMoment& moment = input.moment;
    const std::string coord = input.coordText.substr(0, 12);
    const std::string name = input.name.substr(0, kNameWidth);

    BirthRecord record;
    record.birthStamp = birthStampOf(moment);
    record.placeText = coord + input.locality;
    record.calendarCode = calendarCodeOf(moment.calendarFlag());
    record.country = input.country;

    noteArchiveWritten(root, archive.name());

    const int m = archive.birthRecordCount();
    if (m > kMaxRecordNumber)
        throw FileError(archive.birthPath(),
                        "el archivo ya tiene " + std::to_string(kMaxRecordNumber) + " registros: no caben m\xE1s");

    const Summaries s = computeSummaries(settings, files, moment, decodeCoordText(coord));
    record.planetSummary = s.planets;
    record.cuspSummary = s.cusps;
    record.aspectSummary = s.aspects;
    record.reserved21.clear();
    record.reserved12.clear();
    record.notesNumber = five(0);

    if (!archive.isTemporary() && anyText(request.notes, request.documentNumber)) {
        const NotesRecord notes = NotesRecord::fromNotes(request.notes, request.documentNumber);
        const int k = archive.appendNotes(notes);
        record.notesNumber = five(k);
        writeNotesLine(root, trimRight(request.notes[0]) + " " + trimRight(request.notes[1]) + " " +
                                 trimRight(request.notes[2]) + " " + trimRight(notes.lines[3]));
    }

    // The record first and the entry last: whatever interrupts the save, no entry points
    // at a record that is not there.
    const int n = archive.appendRecord(record);
    const std::string entry = makeEntryText(name, n);
    storeCurrent(root, entry, record);
    if (request.beforeIndexEntry) request.beforeIndexEntry();

    SaveResult result{n, 0, entry};
    if (archive.isTemporary()) archive.writeEntry(0, entry);
    else result.position = archive.insertEntry(entry);
    return result;
}

std::string createTextDocument(const DataRoot& root, std::string_view archiveName, std::string_view name) {
    const FolderLock lock(root.root());
    Archive archive(root, archiveName);
    const std::string number = archive.nextTextNumber();
    const std::string document = archive.textDocument(number);
    writeLines(root.resolveForWriting(document), {textOfDocument(name)});
    writeEditTarget(root, document);
    writeTextReference(root, {archive.name(), number});
    return number;
}

// ---- retrieve -----------------------------------------------------------------------

std::vector<std::string> nameWords(std::string_view name) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < name.size()) {
        while (i < name.size() && name[i] == ' ') ++i;
        if (i >= name.size()) break;
        if (words.size() == 2) {
            // The third word keeps whatever follows, blanks reduced to one.
            std::string rest;
            for (std::size_t j = i; j < name.size(); ++j)
                if (name[j] != ' ' || (j + 1 < name.size() && name[j + 1] != ' ')) rest += name[j];
            words.push_back(trimRight(rest));
            break;
        }
        std::size_t j = i;
        while (j < name.size() && name[j] != ' ') ++j;
        words.emplace_back(name.substr(i, j - i));
        i = j;
    }
    return words;
}

std::string NameInversion::press(const std::vector<std::string>& w) {
    const int k = presses_++;
    if (w.size() == 2) return k % 2 == 0 ? w[1] + " " + w[0] : w[0] + " " + w[1];
    if (w.size() == 3) {
        static const int order[6][3] = {{1, 2, 0}, {0, 2, 1}, {1, 0, 2}, {2, 0, 1}, {2, 1, 0}, {0, 1, 2}};
        const int* o = order[k % 6];
        return w[o[0]] + " " + w[o[1]] + " " + w[o[2]];
    }
    return w.empty() ? std::string() : w[0];
}

std::optional<RetrievedSubject> retrieveSubject(const DataRoot& root, const Archive& archive, std::string_view entry,
                                                std::string_view fallbackEntry) {
    std::string chosen(entry);
    auto r = usableRecord(archive, chosen);
    if (!r && !fallbackEntry.empty()) {
        chosen = std::string(fallbackEntry);
        r = usableRecord(archive, chosen);
    }
    if (!r) return std::nullopt;
    // Looking at a subject must not need free space: the scratch files that hand the choice on
    // are written when they can be; on a full disk the OK that makes it current says why not.
    auto scratch = [](const std::function<void()>& write) {
        try {
            write();
        } catch (const FileError&) {
        }
    };
    scratch([&] { writeLastRetrieved(root, five(*r), archive.name()); });

    RetrievedSubject s;
    s.entryText = chosen;
    s.recordNumber = *r;
    s.record = archive.readRecord(*r);

    std::string name = chosen.substr(0, kNameWidth);
    if (const auto bracket = name.find('('); bracket != std::string::npos) name.resize(bracket);
    s.words = nameWords(name);
    s.name = name;

    const StampDisplay shown = storedToDisplayed(s.record.birthStamp);
    s.displayDate = shown.dateTime;
    s.correction = shown.correctionText;
    s.coordText = s.record.coordText();
    s.locality = trimRight(s.record.locality());
    cleanLocality(s.locality);
    s.country = s.record.country;
    s.calendar = calendarFieldText(s.record.calendarFlag());

    if (archive.hasNotesFile()) {
        s.hasNotes = true;
        NotesRecord notes = NotesRecord::blank();
        const int k = s.record.notesRecord();
        // A notes number beyond the file shows no notes rather than refusing the subject.
        if (k >= 0 && k < archive.notesRecordCount()) notes = archive.readNotes(k);
        s.memo = memoLines(notes);
        s.documentNumber = notes.documentNumber();
        scratch([&] { writeNotesLine(root, memoText(notes)); });
        scratch([&] { writeTextReference(root, {archive.name(), s.documentNumber}); });
    }
    return s;
}

void makeRetrievedCurrent(const DataRoot& root, const RetrievedSubject& subject, std::string_view editedName,
                          std::string_view editedLocality, std::string_view editedCountry) {
    const FolderLock lock(root.root());
    BirthRecord record = subject.record;
    record.placeText = subject.record.coordText() + std::string(editedLocality);
    record.country = std::string(editedCountry);
    replaceCurrent(root, editedName, record);
}

// ---- delete -------------------------------------------------------------------------

std::optional<SubjectForDeletion> showForDeletion(const Archive& archive, int position) {
    SubjectForDeletion s;
    s.position = position;
    s.entryText = archive.readEntry(position);
    const auto r = usableRecord(archive, s.entryText);
    if (!r) return std::nullopt;
    s.record = archive.readRecord(*r);

    const StampDisplay shown = storedToDisplayed(s.record.birthStamp);
    s.lines[0] = s.entryText.substr(0, kNameWidth);
    s.lines[1] = "Nascita " + shown.dateTime + "  Correz. " + shown.correctionText;
    s.lines[2] = "Localit\xE0: " + trimRight(s.record.locality());
    s.lines[3] = "Nazionalit\xE0: " + s.record.country;
    s.lines[4] = "Coordinate: " + s.record.coordText();
    s.lines[5] = std::string("Calendario: ") + calendarCaption(s.record.calendarFlag());
    s.lines[6] = s.record.reserved12;

    const NotesRecord notes = notesOrBlank(archive, s.record.notesRecord(), s.notesWarning);
    s.memo = memoLines(notes);
    s.documentNumber = notes.documentNumber();
    return s;
}

bool deleteSubject(const DataRoot& root, Archive& archive, const SubjectForDeletion& shown) {
    const FolderLock lock(root.root());
    // Another running program may have saved since the subject was shown: its entry may
    // have moved, and the one now at its old place belongs to someone else.
    int position = shown.position;
    const std::vector<std::string> entries = archive.readAllEntries();
    if (position < 1 || position >= static_cast<int>(entries.size()) || entries[position] != shown.entryText) {
        const auto it = std::find(entries.begin() + (entries.empty() ? 0 : 1), entries.end(), shown.entryText);
        if (it == entries.end()) return false;
        position = static_cast<int>(it - entries.begin());
    }
    archive.removeEntry(position);
    noteArchiveWritten(root, archive.name());
    if (digitsAt(shown.documentNumber, 0, kRecordNumberWidth) && shown.documentNumber.size() == kRecordNumberWidth) {
        const std::string document = archive.textFolder() + "\\" + shown.documentNumber + ".Txt";
        if (root.exists(document)) {
            std::error_code ec;
            std::filesystem::remove(root.resolve(document), ec);
            if (ec) throw FileError(root.resolve(document), ec.message());
        }
    }
    return true;
}

// ---- modify -------------------------------------------------------------------------

const char* const kModifyConfirmQuestion = "Possibile Incongruenza tra Longitudine e \"Corr\", Confermi i Dati?";

std::optional<SubjectForModify> loadForModify(const Archive& archive, int position) {
    SubjectForModify s;
    s.position = position;
    const std::string entry = archive.readEntry(position);
    const auto r = usableRecord(archive, entry);
    if (!r) return std::nullopt;
    s.recordNumber = *r;
    s.oldKey = entry.substr(0, kNameWidth);
    s.record = archive.readRecord(*r);

    const StampDisplay shown = storedToDisplayed(s.record.birthStamp);
    ModifyForm& f = s.form;
    f.name = s.oldKey;
    f.date = shown.dateTime.substr(0, 10);
    f.time = shown.dateTime.size() > 11 ? shown.dateTime.substr(11, 5) : std::string();
    f.correction = stampCorrectionText(s.record.birthStamp);
    f.locality = trimRight(s.record.locality());
    f.country = s.record.country;
    f.coordText = s.record.coordText();
    f.calendar = calendarCaption(s.record.calendarFlag());
    if (const int k = s.record.notesRecord(); k != 0) {
        const NotesRecord notes = notesOrBlank(archive, k, s.notesWarning);
        for (int i = 0; i < 3; ++i) f.notes[i] = notes.lines[i];
        f.notes[3] = notes.lines[3].substr(0, 64);
        f.documentNumber = notes.lines[3].size() > 64 ? notes.lines[3].substr(64, 5) : std::string();
    }
    return s;
}

ModifyCheck checkModification(const ModifyForm& input) {
    ModifyCheck out;
    ModifyForm f = input;
    for (std::string* field : {&f.name, &f.date, &f.time, &f.calendar, &f.locality, &f.correction, &f.coordText,
                               &f.country, &f.documentNumber})
        *field = trim(*field);
    for (auto& n : f.notes) n = trim(n);
    out.form = f;

    auto fail = [&](const char* message) {
        out.message = message;
        return out;
    };

    const auto day = digitsAt(f.date, 0, 2), month = digitsAt(f.date, 3, 2), year = digitsAt(f.date, 6, 4);
    if (!day || !month || !year || *day < 1 || *day > 31 || *month < 1 || *month > 12 || *year < 1 || *year > 2080)
        return fail("Fecha de nacimiento incorrecta o incomplete");
    // 31/02, or 29/02 of a common year of the record's calendar, would be stored and read as March.
    if (!civilDateExists(*year, *month, *day, f.calendar.starts_with("GREG") ? 1 : 0))
        return fail("Fecha de nacimiento incorrecta o incomplete");

    const auto hour = digitsAt(f.time, 0, 2), minute = digitsAt(f.time, 3, 2);
    if (!hour || !minute || *hour > 23 || *minute > 59) return fail("Hora nacimiento incorrecta o incompleta");

    if (!parseCoordText(f.coordText, CoordCheck::Modify)) return fail("Coordenadas incorrecta o incomplete");

    if (f.calendar != "GREGORIANO" && f.calendar != "GIULIANO") return fail("Error definici\xF3n Calendar");

    for (char& ch : f.correction)
        if (ch == ',') ch = '.';
    out.form.correction = f.correction;
    const auto c = parseReal(f.correction);
    if (!c) return fail("Error en la entrada \"Corr.\" (correcci\xF3n total)");
    if (*c < -12 || *c > 12) return fail("\"Corr\" muestra un valor imposible");

    const Coordinates place = *parseCoordText(f.coordText, CoordCheck::Modify);
    const long double lon = place.west() ? -place.longitudeDegrees : place.longitudeDegrees;
    out.needsConfirmation = std::fabs(*c * 15 + lon) / 15 > 2;
    out.ok = true;
    return out;
}

int moveEntry(std::vector<std::string>& entries, int position, const std::string& newKey) {
    int pos = position;
    const int last = static_cast<int>(entries.size()) - 1;
    if (newKey < entries[pos]) {
        while (pos - 1 >= 1 && newKey < entries[pos - 1]) {
            entries[pos] = entries[pos - 1];
            --pos;
        }
    } else if (newKey > entries[pos]) {
        while (pos + 1 <= last && newKey > entries[pos + 1]) {
            entries[pos] = entries[pos + 1];
            ++pos;
        }
    }
    entries[pos] = newKey;
    return pos;
}

ModifyResult applyModification(const ChartState& settings, const CorrectionFiles& files, Archive& archive,
                               const SubjectForModify& subject, const ModifyForm& f) {
    const FolderLock lock(archive.root().root());
    const std::string newKey = makeEntryText(f.name, subject.recordNumber);

    StampDate d;
    d.day = digitsAt(f.date, 0, 2).value_or(0);
    d.month = digitsAt(f.date, 3, 2).value_or(0);
    d.year = digitsAt(f.date, 6, 4).value_or(0);
    d.hour = digitsAt(f.time, 0, 2).value_or(0);
    d.minute = digitsAt(f.time, 3, 2).value_or(0);

    BirthRecord record = subject.record;
    record.birthStamp = withCommaSeparator(stampDigits(d) + f.correction).substr(0, 20);
    record.placeText = f.coordText.substr(0, 12) + f.locality;
    record.calendarCode = f.calendar.substr(0, 2);
    record.country = f.country;
    // The summaries of the moment as stored, which the chart will read back: a correction
    // typed longer than the stamp holds counts as far as the stamp keeps it.
    const BirthMoment moment = readBirthStamp(record.birthStamp, record.calendarFlag());
    const Summaries s = computeSummaries(settings, files, moment, decodeCoordText(f.coordText));
    record.planetSummary = s.planets;
    record.cuspSummary = s.cusps;
    record.aspectSummary = s.aspects;

    if (anyText(f.notes, f.documentNumber)) {
        NotesRecord notes;
        for (int i = 0; i < 3; ++i) notes.lines[i] = trim(f.notes[i]).substr(0, kNotesCapacity);
        notes.lines[3] =
            trim(padRight(f.notes[3], kNotesCapacity).substr(0, 64) + f.documentNumber).substr(0, kNotesCapacity);
        const int k = record.notesRecord();
        if (!archive.hasNotesFile()) archive.create();
        if (k > 0 && k < archive.notesRecordCount()) {
            archive.writeNotes(k, notes);
        } else {
            record.notesNumber = five(archive.appendNotes(notes));
        }
    }

    // The record before the index: an interruption leaves the entry with its old name,
    // still pointing at the right record.
    archive.writeRecord(subject.recordNumber, record);

    std::vector<std::string> entries = archive.readAllEntries();
    int position = subject.position;
    // The entry is found again by its record: another running program may have moved it.
    auto pointsAtSubject = [&](int k) {
        return k >= 1 && k < static_cast<int>(entries.size()) && entryRecordNumber(entries[k]) == subject.recordNumber;
    };
    if (!pointsAtSubject(position)) {
        position = -1;
        for (int k = 1; k < static_cast<int>(entries.size()) && position < 0; ++k)
            if (pointsAtSubject(k)) position = k;
    }
    if (position < 1)
        throw FileError(archive.indexPath(), "el sujeto ya no est\xE1 en el \xEDndice", FileFault::Damaged);
    if (newKey.substr(0, 8) != subject.oldKey.substr(0, 8)) position = moveEntry(entries, position, newKey);
    else entries[position] = newKey;
    std::string bytes;
    for (const auto& e : entries) {
        const auto rec = encodeIndexEntry(e);
        bytes.append(reinterpret_cast<const char*>(rec.data()), rec.size());
    }
    writeFileAtomically(archive.indexPath(), bytes);
    return {position, newKey, record};
}

std::string prepareTextDocument(Archive& archive, std::string_view documentNumber, std::string_view name) {
    const FolderLock lock(archive.root().root());
    const std::string number = trim(documentNumber);
    if (!number.empty() && archive.root().exists(archive.textDocument(number))) return number;
    const std::string fresh = archive.nextTextNumber();
    writeLines(archive.root().resolveForWriting(archive.textDocument(fresh)), {textOfDocument(name)});
    return fresh;
}

}  // namespace athanor
