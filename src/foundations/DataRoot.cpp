#include "foundations/DataRoot.h"

#include "foundations/FileError.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <vector>

namespace athanor {

namespace fs = std::filesystem;

namespace {

FileFault faultOf(const std::error_condition& e) {
    if (e == std::errc::no_such_file_or_directory || e == std::errc::not_a_directory) return FileFault::Missing;
    if (e == std::errc::permission_denied || e == std::errc::operation_not_permitted) return FileFault::Denied;
    if (e == std::errc::read_only_file_system) return FileFault::ReadOnly;
    if (e == std::errc::no_space_on_device) return FileFault::DiskFull;
#ifdef EDQUOT
    if (e.category() == std::generic_category() && e.value() == EDQUOT) return FileFault::DiskFull;
#endif
    return FileFault::Other;
}

}  // namespace

FileError FileError::fromErrno(const fs::path& path, int err) {
    return FileError(path, std::strerror(err), faultOf(std::generic_category().default_error_condition(err)));
}

FileError FileError::fromErrorCode(const fs::path& path, const std::error_code& ec) {
    return FileError(path, ec.message(), faultOf(ec.default_error_condition()));
}

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

std::vector<std::string> splitComponents(std::string_view relative) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : relative) {
        if (c == '\\' || c == '/') {
            if (!current.empty() && current != ".") parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty() && current != ".") parts.push_back(current);
    return parts;
}

}  // namespace

fs::path resolveCaseInsensitive(const fs::path& base, std::string_view relative) {
    fs::path current = base;
    bool matching = true;  // once a component is missing, the rest cannot exist either
    for (const std::string& part : splitComponents(relative)) {
        if (part == "..") {
            current /= part;
            continue;
        }
        if (matching) {
            std::error_code ec;
            if (fs::exists(current / part, ec)) {
                current /= part;
                continue;
            }
            bool found = false;
            for (fs::directory_iterator it(current, ec), end; !ec && it != end; it.increment(ec)) {
                const std::string name = it->path().filename().string();
                if (equalsIgnoringCase(name, part)) {
                    current /= name;
                    found = true;
                    break;
                }
            }
            if (found) continue;
            matching = false;
        }
        current /= part;
    }
    return current;
}

fs::path DataRoot::resolve(std::string_view relative) const { return resolveCaseInsensitive(root_, relative); }

fs::path DataRoot::resolveForWriting(std::string_view relative) const {
    fs::path p = resolve(relative);
    std::error_code ec;
    if (p.has_parent_path()) {
        fs::create_directories(p.parent_path(), ec);
        if (ec) throw FileError::fromErrorCode(p.parent_path(), ec);
    }
    return p;
}

bool DataRoot::exists(std::string_view relative) const {
    std::error_code ec;
    return fs::exists(resolve(relative), ec);
}

fs::path DataRoot::defaultLocation() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg && fs::path(xdg).is_absolute()) return fs::path(xdg) / "athanor";
    const char* home = std::getenv("HOME");
    return fs::path(home && *home ? home : ".") / ".local" / "share" / "athanor";
}

fs::path DataRoot::installedFolder(std::string_view name) {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec || !exe.has_parent_path()) return {};
    fs::path folder = exe.parent_path().parent_path() / "share" / "athanor" / fs::path(name);
    return fs::is_directory(folder, ec) ? folder : fs::path{};
}

fs::path DataRoot::installedDefaults() {
    fs::path installed = installedFolder("data");
    return installed.empty() ? fs::path(ATHANOR_DEFAULT_DATA) : installed;
}

int DataRoot::seedFrom(const fs::path& defaults) const {
    std::error_code ec;
    fs::create_directories(root_, ec);
    if (ec) throw FileError::fromErrorCode(root_, ec);
    if (!fs::is_directory(defaults, ec)) return 0;
    int copied = 0;
    for (fs::recursive_directory_iterator it(defaults, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path rel = fs::relative(it->path(), defaults, ec);
        if (ec) break;
        if (it->path().filename().string().starts_with(".")) {  // .gitkeep and the like
            if (it->is_directory()) it.disable_recursion_pending();
            continue;
        }
        // Match existing folders and files by case too, so a seeded folder never
        // gains a second spelling of a file the user already has.
        const fs::path target = resolveCaseInsensitive(root_, rel.generic_string());
        if (it->is_directory()) {
            fs::create_directories(target, ec);
            if (ec) throw FileError::fromErrorCode(target, ec);
        } else if (it->is_regular_file() && !fs::exists(target)) {
            fs::create_directories(target.parent_path(), ec);
            if (ec) throw FileError::fromErrorCode(target.parent_path(), ec);
            fs::copy_file(it->path(), target, fs::copy_options::skip_existing, ec);
            if (ec) throw FileError::fromErrorCode(target, ec);
            ++copied;
        }
    }
    if (ec) throw FileError::fromErrorCode(defaults, ec);
    return copied;
}

}  // namespace athanor
