#include "app/Settings.h"

#include "foundations/TextFile.h"

namespace athanor {

namespace {

long double factor(long double v) { return v == 0 ? 1.0L : v; }

}  // namespace

bool readSettings(const DataRoot& root, GeneralSettings& s) {
    if (!root.exists(kGeneralSettingsFile)) return false;
    TextReader in(root.resolve(kGeneralSettingsFile));
    GeneralSettings read;
    read.reserved1 = in.integer();
    read.printerType = in.integer();
    read.reserved3 = in.integer();
    read.calendarRule = in.integer();
    read.lineFactor = factor(in.real());
    read.backupFolder = in.line();
    read.scaleX = factor(in.real());
    read.scaleY = factor(in.real());
    s = read;  // only a whole, well-formed file replaces what is held
    return true;
}

void loadSettings(const DataRoot& root, GeneralSettings& s) {
    if (readSettings(root, s)) return;
    GeneralSettings defaults;
    defaults.backupFolder = s.backupFolder;
    s = defaults;
    saveSettings(root, s);
}

void saveSettings(const DataRoot& root, const GeneralSettings& s) {
    TextWriter out;
    out.integer(s.reserved1)
        .integer(s.printerType)
        .integer(s.reserved3)
        .integer(s.calendarRule)
        .real(s.lineFactor)
        .line(s.backupFolder)
        .real(s.scaleX)
        .real(s.scaleY);
    out.save(root.resolveForWriting(kGeneralSettingsFile));
}

bool resetOldBackupLine(const DataRoot& root) {
    if (!root.exists(kGeneralSettingsFile)) return false;
    const auto path = root.resolve(kGeneralSettingsFile);
    std::vector<std::string> lines = readLines(path);
    if (lines.size() < 6 || lines[5].find("Or6Backup") == std::string::npos) return false;
    lines[5] = "Da definire";
    if (lines.size() > 8) lines.resize(8);
    writeLines(path, lines);
    return true;
}

}  // namespace athanor
