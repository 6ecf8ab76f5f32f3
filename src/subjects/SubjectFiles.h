#pragma once
#include "foundations/DataRoot.h"
#include "subjects/ArchiveRecords.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace athanor {

// The current subject and the small files that carry it from one window to the next.

struct CurrentSubject {
    std::string entryText;  // record 0 of TMPR.ST1: the name (padded and numbered after a save)
    BirthRecord record;     // record 0 of TMPR.ST2
};

// Record 0 of TMPR.ST1 and TMPR.ST2; every "." of the stamp becomes ",". FileError when
// a file or its record 0 is missing.
CurrentSubject loadCurrent(const DataRoot& root);

// Writes record 0 of TMPR.ST1 and TMPR.ST2, keeping their other records (the save).
// A missing file is created.
void storeCurrent(const DataRoot& root, std::string_view entryText, const BirthRecord& record);

// Rewrites TMPR.ST1 and TMPR.ST2 with one record each (the retrieval's OK).
void replaceCurrent(const DataRoot& root, std::string_view entryText, const BirthRecord& record);

inline constexpr std::string_view kNotesLineFile = "FileDum\\Annotaz.dum";
inline constexpr std::string_view kTextReferenceFile = "FileDum\\StrText.dum";
inline constexpr std::string_view kEditTargetFile = "FileDum\\DatModif.dum";
inline constexpr std::string_view kLastRetrievedFile = "FileDum\\PointGlo.dum";
inline constexpr std::string_view kArchiveMemoFile = "FileDum\\MMDatArc.dum";
inline constexpr std::string_view kArchivesWrittenFile = "FileDum\\MMordina.dum";

// The notes of a subject as the memo shows them: each line without leading and trailing
// blanks, preceded by one blank.
std::array<std::string, 4> memoLines(const NotesRecord& notes);
// The memo as one text (the four memo lines one after the other).
std::string memoText(const NotesRecord& notes);

// FileDum\Annotaz.dum: one line.
void writeNotesLine(const DataRoot& root, std::string_view text);
// "" when the file is missing.
std::string readNotesLine(const DataRoot& root);

// FileDum\StrText.dum: the archive name and the five-digit document number (or "").
struct TextReference {
    std::string archive;
    std::string number;
};
void writeTextReference(const DataRoot& root, const TextReference& ref);
std::optional<TextReference> readTextReference(const DataRoot& root);
// The current subject's text document ("BASEtxt\00007.txt") when StrText.dum names one
// that exists.
std::optional<std::string> currentTextDocument(const DataRoot& root);

// FileDum\DatModif.dum: the document the editor is to open.
void writeEditTarget(const DataRoot& root, std::string_view relativePath);
// FileDum\PointGlo.dum: record number and archive of the subject last retrieved.
void writeLastRetrieved(const DataRoot& root, std::string_view recordNumber, std::string_view archive);

// FileDum\MMDatArc.dum: what the save and retrieval windows leave behind when they close.
struct ArchiveMemo {
    std::string archive;
    std::string entryText;
    int position = 0;
    std::string name;
};
void writeArchiveMemo(const DataRoot& root, const ArchiveMemo& memo);

// FileDum\MMordina.dum: adds the archive name when it is not listed yet.
void noteArchiveWritten(const DataRoot& root, std::string_view archive);
std::vector<std::string> archivesWritten(const DataRoot& root);

}  // namespace athanor
