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
        } else if (a == "--version" || a == "-v") {
            options.showVersion = true;
        } else if (a == "--help" || a == "-h") {
            options.showHelp = true;
        } else {
            error = "opción desconocida: " + a + " (uso: athanor [--data CARPETA]; athanor --help)";
            return std::nullopt;
        }
    }
    return options;
}

std::string programVersionText() { return std::string("athanor ") + ATHANOR_VERSION; }

std::string programHelpText() {
    return "Uso: athanor [--data CARPETA]\n"
           "Athanor: cartas natales, análisis tradicionales y base de conocimiento de remedios espagíricos.\n"
           "\n"
           "  --data CARPETA  usa CARPETA como carpeta del programa (por omisión\n"
           "                  $XDG_DATA_HOME/athanor o ~/.local/share/athanor); la primera vez\n"
           "                  se llena con los datos de instalación, sin sustituir nada\n"
           "  --version       muestra la versión y termina\n"
           "  --help          muestra esta ayuda y termina\n";
}

DataRoot openProgramFolder(const ProgramOptions& options) {
    DataRoot root(options.dataDir ? std::filesystem::absolute(*options.dataDir) : DataRoot::defaultLocation());
    setMessageProgramFolder(root);
    root.seedFrom(DataRoot::installedDefaults());
    // The manuals are built with the program, not kept in the installation data; an installed
    // program has them beside its data.
    std::filesystem::path manuals = DataRoot::installedFolder("manuals");
#ifdef ATHANOR_MANUALS_DIR
    if (manuals.empty()) manuals = ATHANOR_MANUALS_DIR;
#endif
    if (!manuals.empty() && std::filesystem::is_directory(manuals)) root.seedFrom(manuals);
    return root;
}

}  // namespace athanor
