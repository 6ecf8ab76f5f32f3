#pragma once
#include <filesystem>
#include <string_view>

namespace athanor {

// The program folder. Every data path of the program is a relative name such as
// "FileSet\\OrbiDomi.Stt" and goes through resolve(): backslashes are folder separators
// and each component is matched to what exists regardless of letter case, because the
// same file is spelt differently in different places. Components that do not exist keep
// the spelling given, so a new file takes the spelling of its data model.
class DataRoot {
public:
    DataRoot() = default;
    explicit DataRoot(std::filesystem::path root) : root_(std::move(root)) {}

    const std::filesystem::path& root() const noexcept { return root_; }

    std::filesystem::path resolve(std::string_view relative) const;

    // Resolves and creates the parent folders of a file about to be written.
    std::filesystem::path resolveForWriting(std::string_view relative) const;

    bool exists(std::string_view relative) const;

    // $XDG_DATA_HOME/athanor, or ~/.local/share/athanor.
    static std::filesystem::path defaultLocation();

    // The installed defaults that seed a new program folder: PREFIX/share/athanor/data beside an
    // installed program, otherwise the data folder the build was given.
    static std::filesystem::path installedDefaults();

    // PREFIX/share/athanor/<name> when the running program is installed under PREFIX/bin and
    // that folder exists; empty otherwise.
    static std::filesystem::path installedFolder(std::string_view name);

    // Copies every file of `defaults` that the folder lacks; never overwrites. Returns
    // the number of files copied. Throws FileError when the folder cannot be written.
    int seedFrom(const std::filesystem::path& defaults) const;

private:
    std::filesystem::path root_;
};

// Resolves one path below `base`, component by component, case-insensitively.
std::filesystem::path resolveCaseInsensitive(const std::filesystem::path& base, std::string_view relative);

}  // namespace athanor
