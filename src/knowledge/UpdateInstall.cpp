#include "knowledge/UpdateInstall.h"

#include "foundations/FolderLock.h"
#include "foundations/FileError.h"
#include "foundations/Format.h"
#include "foundations/TextFile.h"
#include "knowledge/FileReplacement.h"

#include <algorithm>
#include <optional>

namespace athanor {

namespace fs = std::filesystem;

namespace {

std::optional<fs::file_time_type> modified(const fs::path& p) {
    std::error_code ec;
    if (!fs::is_regular_file(p, ec)) return std::nullopt;
    const auto t = fs::last_write_time(p, ec);
    if (ec) return std::nullopt;
    return t;
}

struct Newer {
    fs::path file;
    std::optional<fs::file_time_type> time;
};

Newer newerOf(const fs::path& folder) {
    const fs::path db = resolveCaseInsensitive(folder, "OpzioneH\\DBmain.rnd");
    const fs::path rep = resolveCaseInsensitive(folder, "OpzioneH\\Repertorio.rnd");
    const auto a = modified(db), b = modified(rep);
    if (b && (!a || *b > *a)) return {rep, b};
    return {db, a};
}

}  // namespace

std::vector<std::string> updateInformation(const DataRoot& root) {
    return readLines(
        root.resolve(root.exists("OpzioneH\\AutoSet") ? "Appoggio\\Aggiorna2.txt" : "Appoggio\\Aggiorna1.txt"));
}

std::string baseDate(const fs::path& folder) { return fileDateText(newerOf(folder).file); }

bool updateIsOlder(const DataRoot& root, const fs::path& source) {
    const auto installed = newerOf(root.root()).time;
    const auto update = newerOf(source).time;
    return installed && (!update || *update < *installed);
}

std::vector<fs::path> updateSources(const std::vector<fs::path>& candidates) {
    std::vector<fs::path> out;
    for (const auto& c : candidates) {
        if (out.size() == 3) break;
        std::error_code ec;
        if (fs::is_directory(resolveCaseInsensitive(c, "OpzioneH"), ec)) out.push_back(c);
    }
    return out;
}

InstallReport installUpdate(const DataRoot& root, const fs::path& source, const InstallProgress& progress) {
    const FolderLock lock(root.root());
    const fs::path from = resolveCaseInsensitive(source, "OpzioneH");
    std::error_code ec;
    if (!fs::is_directory(from, ec)) throw FileError(from, "No se encontr\xF3 la carpeta de la actualizaci\xF3n");
    for (const char* required : {"DBmain.rnd", "Repertorio.rnd"}) {
        const fs::path p = resolveCaseInsensitive(from, required);
        if (!fs::is_regular_file(p, ec))
            throw FileError(p, "La actualizaci\xF3n est\xE1 incompleta: falta " + std::string(required));
    }

    struct Source {
        fs::path path;
        std::string name;
        std::uintmax_t size;
        fs::file_time_type time;
    };
    std::vector<Source> files;
    for (const auto& e : fs::directory_iterator(from)) {
        if (!e.is_regular_file()) continue;
        files.push_back({e.path(), e.path().filename().string(), e.file_size(), e.last_write_time()});
    }
    std::sort(files.begin(), files.end(), [](const Source& a, const Source& b) { return a.name < b.name; });

    // Every file copied beside its target and checked before the first one is renamed:
    // a failure up to there leaves the installed base untouched.
    const fs::path to = root.resolveForWriting("OpzioneH\\AutoSet").parent_path();
    std::uint64_t total = 0, copiedSoFar = 0;
    for (const auto& f : files) total += f.size;
    if (progress) progress(0, total);
    std::vector<FileReplacement> copies;
    copies.reserve(files.size());
    for (const auto& f : files) {
        FileReplacement& copy = copies.emplace_back(resolveCaseInsensitive(to, f.name));
        copy.copyFrom(f.path, 0, f.size);
        copy.finish();
        const auto copied = fs::file_size(copy.temporary(), ec);
        if (ec || copied != f.size || fs::file_size(f.path, ec) != f.size)
            throw FileError(f.path, "La copia no est\xE1 completa");
        fs::last_write_time(copy.temporary(), f.time, ec);
        if (ec) throw FileError(copy.temporary(), ec.message());
        copiedSoFar += f.size;
        if (progress) progress(copiedSoFar, total);
    }
    InstallReport report;
    for (std::size_t i = 0; i < copies.size(); ++i) {
        copies[i].commit();
        report.files.push_back(files[i].name);
    }
    report.installedDate = installedDate(root);
    return report;
}

}  // namespace athanor
