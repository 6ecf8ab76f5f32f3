#pragma once
#include "foundations/DataRoot.h"

#include <optional>
#include <string>
#include <vector>

namespace athanor {

// What the command line of the program says: --data DIR, --version, --help.
struct ProgramOptions {
    std::optional<std::filesystem::path> dataDir;
    bool showVersion = false;
    bool showHelp = false;
};

// "athanor X.Y" and the text of --help, in Spanish.
std::string programVersionText();
std::string programHelpText();

// Parses the program's arguments; on a bad argument returns nullopt and sets `error`.
std::optional<ProgramOptions> parseProgramOptions(const std::vector<std::string>& args, std::string& error);

// Opens the program folder (the one named, or the default one) and seeds whatever it lacks
// from the installed defaults, never overwriting a file that exists.
DataRoot openProgramFolder(const ProgramOptions& options);

}  // namespace athanor
