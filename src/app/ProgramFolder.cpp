#include "app/ProgramFolder.h"

#include "app/FileMessages.h"

namespace athanor {

std::optional<ProgramOptions> parseProgramOptions(const std::vector<std::string>& args, std::string& error) {
    ProgramOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--data") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                error = "--data necesita una carpeta";
                return std::nullopt;
            }
            options.dataDir = std::filesystem::path(args[++i]);
        } else if (a.rfind("--data=", 0) == 0 && a.size() > 7) {
            options.dataDir = std::filesystem::path(a.substr(7));
        } else {
            error = "opción desconocida: " + a + " (uso: athanor [--data CARPETA])";
            return std::nullopt;
        }
    }
    return options;
}

DataRoot openProgramFolder(const ProgramOptions& options) {
    DataRoot root(options.dataDir ? std::filesystem::absolute(*options.dataDir) : DataRoot::defaultLocation());
    setMessageProgramFolder(root);
    root.seedFrom(DataRoot::installedDefaults());
#ifdef ATHANOR_MANUALS_DIR
    // The manuals are built with the program, not kept in the installation data.
    if (std::filesystem::is_directory(ATHANOR_MANUALS_DIR)) root.seedFrom(ATHANOR_MANUALS_DIR);
#endif
    return root;
}

}  // namespace athanor
