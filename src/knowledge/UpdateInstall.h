#pragma once
#include "foundations/DataRoot.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace athanor {

// Updates of the knowledge base: a folder (a mounted volume) holding an OpzioneH folder
// is copied over the program's OpzioneH.

// The information text of the update window: Appoggio\Aggiorna2.txt when OpzioneH\AutoSet
// exists, else Appoggio\Aggiorna1.txt.
std::vector<std::string> updateInformation(const DataRoot& root);

// The date of a base: the date text ("DD/MM/YYYY hh:mm") of the newer of
// OpzioneH\DBmain.rnd and OpzioneH\Repertorio.rnd below `folder` (the database's when
// both are equal); "Non Valida" when neither exists.
std::string baseDate(const std::filesystem::path& folder);
inline std::string installedDate(const DataRoot& root) { return baseDate(root.root()); }
// True when the base below `source` is older than the installed one (its date is shown red).
bool updateIsOlder(const DataRoot& root, const std::filesystem::path& source);

// The first three of the candidate folders, in the order given, that hold OpzioneH.
std::vector<std::filesystem::path> updateSources(const std::vector<std::filesystem::path>& candidates);

struct InstallReport {
    std::vector<std::string> files;  // the names installed
    std::string installedDate;       // baseDate of the program folder afterwards
};

// Copies every file of source/OpzioneH into the program's OpzioneH, keeping their
// modification times, replacing files of the same name (letter case aside). All files
// are first copied into temporaries beside their targets and checked against the size
// of their source; only when every one is complete are they renamed over the targets.
// A source without OpzioneH, or whose OpzioneH lacks DBmain.rnd or Repertorio.rnd, or a
// copy that fails or comes out short, raises FileError and changes nothing.
// `progress` is told the bytes copied so far and the bytes of the whole update.
using InstallProgress = std::function<void(std::uint64_t copied, std::uint64_t total)>;
InstallReport installUpdate(const DataRoot& root, const std::filesystem::path& source,
                            const InstallProgress& progress = {});

}  // namespace athanor
