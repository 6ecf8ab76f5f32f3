#pragma once
#include "foundations/DataRoot.h"

#include <optional>
#include <string>
#include <vector>

namespace athanor {

// What the command line of the program says: only --data DIR.
struct ProgramOptions {
    std::optional<std::filesystem::path> dataDir;
};

// Parses the program's arguments; on a bad argument returns nullopt and sets `error`.
std::optional<ProgramOptions> parseProgramOptions(const std::vector<std::string>& args, std::string& error);

// Opens the program folder (the one named, or the default one) and seeds whatever it lacks
// from the installed defaults, never overwriting a file that exists.
DataRoot openProgramFolder(const ProgramOptions& options);

}  // namespace athanor
