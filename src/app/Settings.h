#pragma once
#include "foundations/DataRoot.h"

#include <string>

namespace athanor {

inline constexpr const char* kGeneralSettingsFile = "FileSet\\MMVarLas.stt";

// The eight lines of the general settings file, shared by every window that reads or
// changes one of them. Each writer updates its own member and rewrites the whole file.
struct GeneralSettings {
    long long reserved1 = 1;     // carried through; the printer-type window writes 1
    long long printerType = 0;   // 1: a dummy page before every print job
    long long reserved3 = 0;     // carried through
    long long calendarRule = 1;  // 1: after 15 October 1582 always Gregorian
    long double lineFactor = 1;  // chart line thickness, 0.5 .. 4
    std::string backupFolder;    // "?:\OrdalisBck", "X:\OrdalisBck" or "Da definire"
    long double scaleX = 1;      // roundness of the chart's circles
    long double scaleY = 1;
};

// Reads the file into `s`; a factor read as 0 becomes 1. When the file is missing, `s`
// takes the defaults (the backup folder keeps the text it held) and the file is created.
// A short file or a non-numeric line is a FileError and nothing is rewritten.
void loadSettings(const DataRoot& root, GeneralSettings& s);

// Reads the file when it exists; false when it does not (nothing is created).
bool readSettings(const DataRoot& root, GeneralSettings& s);

// Rewrites the eight lines from `s`.
void saveSettings(const DataRoot& root, const GeneralSettings& s);

// The backup folder of an older release ("Or6Backup") on line 6 becomes "Da definire";
// the other lines are written back as read. Returns true when the file was rewritten.
bool resetOldBackupLine(const DataRoot& root);

}  // namespace athanor
