#include "app/Volumes.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <system_error>

namespace athanor {

namespace {

bool isNetworkFileSystem(const std::string& type) {
    static const std::set<std::string> kNetwork = {"nfs",   "nfs4",        "cifs",     "smb3", "smbfs",
                                                   "sshfs", "fuse.sshfs",  "9p",       "afs",  "ncpfs",
                                                   "davfs", "fuse.davfs2", "glusterfs"};
    return kNetwork.count(type) > 0;
}

}  // namespace

VolumeSources defaultVolumeSources(const std::string& user) {
    VolumeSources s;
    if (!user.empty()) {
        s.mountParents.push_back(std::filesystem::path("/media") / user);
        s.mountParents.push_back(std::filesystem::path("/run/media") / user);
    }
    s.mountParents.push_back("/media");
    s.mountParents.push_back("/mnt");
    return s;
}

std::string decodeMountField(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string digits = field.substr(i + 1, 3);
            if (digits.size() == 3 &&
                std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '7'; })) {
                out.push_back(static_cast<char>(std::stoi(digits, nullptr, 8)));
                i += 3;
                continue;
            }
        }
        out.push_back(field[i]);
    }
    return out;
}

std::vector<Volume> findVolumes(const VolumeSources& sources) {
    std::vector<Volume> found;
    std::set<std::filesystem::path> seen;
    std::set<std::filesystem::path> parents(sources.mountParents.begin(), sources.mountParents.end());
    auto add = [&](const std::filesystem::path& path, bool network) {
        // A parent of other volumes (/media holding /media/USER) is not a volume itself.
        if (parents.count(path) > 0 || !seen.insert(path).second) return;
        found.push_back({path, path.filename().string(), network});
    };
    for (const auto& parent : sources.mountParents) {
        std::error_code ec;
        std::filesystem::directory_iterator it(parent, ec), end;
        for (; !ec && it != end; it.increment(ec)) {
            std::error_code dirError;
            if (it->is_directory(dirError)) add(it->path(), false);
        }
    }
    std::ifstream table(sources.mountTable);
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint, type;
        if (!(fields >> device >> mountPoint >> type)) continue;
        if (!isNetworkFileSystem(type)) continue;
        const std::filesystem::path path = decodeMountField(mountPoint);
        if (seen.count(path) > 0) {
            for (auto& v : found)
                if (v.path == path) v.network = true;
            continue;
        }
        add(path, true);
    }
    std::sort(found.begin(), found.end(), [](const Volume& a, const Volume& b) { return a.path < b.path; });
    return found;
}

}  // namespace athanor
