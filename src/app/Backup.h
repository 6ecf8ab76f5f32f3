#pragma once
// The copy of the practitioner's own archive BASE, its text documents and the date of the last
// backup to a folder on another volume, and the way back. Every file is copied by the program,
// flushed to the disk and read back: a backup is reported done only when every copy has the
// size and the content hash of its source.
#include "foundations/DataRoot.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace athanor {

inline constexpr const char* kBackupFolderName = "OrdalisBck";
// Line 6 of the settings while no destination is chosen.
inline constexpr const char* kNoBackupFolder = "?:\\OrdalisBck";
inline constexpr const char* kLastBackupFile = "FileDum\\MMbakMod1.dum";
inline constexpr const char* kBackupArchiveFolder = "DatiBase";
inline constexpr const char* kDocumentsFolder = "BASEtxt";
// Where a restore leaves what it replaced, inside the program folder.
inline constexpr const char* kSafetyFolder = "CopiasPrevias";

// The backup folder that line 6 of the settings names: a full path, or nothing while no
// destination has been chosen ("?:\OrdalisBck", "Da definire", an empty line, a drive letter).
std::optional<std::filesystem::path> chosenBackupFolder(const std::string& line6);

// The backup folder on a volume or in a folder the user picked: its "OrdalisBck" sub-folder,
// or the folder itself when it is one already (a backup chosen to restore from).
std::filesystem::path backupFolderOn(const std::filesystem::path& place);

// Writes the backup folder into line 6 of the settings file, the other seven lines as they
// are. The path is stored in Windows-1252 like every line of the file.
void storeBackupFolder(const DataRoot& root, const std::filesystem::path& folder);

// The date of the last backup as the window shows it (the file's first line, at most ten
// characters), or "Mai" when there has been none.
std::string lastBackupDate(const DataRoot& root);

struct CalendarDay {
    int day = 1, month = 1, year = 2000;
};

// One file to copy and the size it had when the copy was planned.
struct CopyItem {
    std::filesystem::path from;
    std::filesystem::path to;
    std::uint64_t size = 0;
};

// Bytes done and bytes in all, after each piece of a copy.
using CopyProgress = std::function<void(std::uint64_t done, std::uint64_t total)>;

// The copies of a backup into `folder`: the previous date file into the folder, BASE.ST1 to
// BASE.ST3 into "DatiBase", every file of BASEtxt into "BASEtxt". FileError when BASE is not
// complete in the program folder.
std::vector<CopyItem> backupPlan(const DataRoot& root, const std::filesystem::path& folder);

// Runs a backup: creates the folder and its two sub-folders, makes and verifies every copy,
// and only then writes `today` as the date of the last backup. Any failure is a FileError and
// the date is left as it was.
void runBackup(const DataRoot& root, const std::filesystem::path& folder, const CalendarDay& today,
               const CopyProgress& progress = {});

// Why `folder` cannot be restored from, in Spanish (Windows-1252): a missing BASE.ST1 to
// BASE.ST3, a file whose size is not a whole number of records. Empty when it can.
std::string restoreProblem(const std::filesystem::path& folder);

struct RestoreOutcome {
    std::filesystem::path safetyFolder;  // where the replaced archive and documents went
};

// Restores BASE and BASEtxt from `folder`. The archive and the documents in place are moved
// first into a new dated folder below "CopiasPrevias"; when a copy fails they are put back,
// so the program folder ends either restored or as it was. A backup that restoreProblem
// refuses is a FileError before anything changes.
RestoreOutcome runRestore(const DataRoot& root, const std::filesystem::path& folder, const std::string& stamp,
                          const CopyProgress& progress = {});

// Copies one file: written under a temporary name beside the target, flushed, read back and
// compared by size and SHA-256 with what was read from the source, then renamed into place.
// `done` and `total` feed the progress. FileError on any failure, the target untouched.
void copyVerified(const CopyItem& item, std::uint64_t& done, std::uint64_t total, const CopyProgress& progress);

// SHA-256 of a byte string, incrementally.
class Sha256 {
public:
    Sha256();
    void add(const void* data, std::size_t size);
    std::array<std::uint8_t, 32> finish();

private:
    void block(const std::uint8_t* p);
    std::array<std::uint32_t, 8> h_{};
    std::array<std::uint8_t, 64> buffer_{};
    std::size_t used_ = 0;
    std::uint64_t length_ = 0;
};

}  // namespace athanor
