#include "FuzzSupport.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <unistd.h>

namespace athanor::fuzz {

std::uint8_t Input::byte() {
    if (rest_.empty()) return 0;
    const auto b = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return b;
}

std::uint16_t Input::u16() {
    const std::uint16_t lo = byte();
    return static_cast<std::uint16_t>(lo | (byte() << 8));
}

std::string Input::part() {
    const auto at = rest_.find(kSeparator);
    std::string out(rest_.substr(0, at));
    rest_.remove_prefix(at == std::string_view::npos ? rest_.size() : at + kSeparator.size());
    return out;
}

namespace {
std::filesystem::path scratchPath() {
    std::random_device rd;
    // Thousands of small files are written and removed per second: memory is the place for
    // them unless the user chose a temporary folder.
    std::error_code ec;
    const bool memory = std::getenv("TMPDIR") == nullptr && std::filesystem::is_directory("/dev/shm", ec) &&
                        ::access("/dev/shm", W_OK) == 0;
    return (memory ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path()) /
           ("athanor-fuzz-" + std::to_string(::getpid()) + "-" + std::to_string(rd()));
}

void removeScratch();
std::filesystem::path& scratchFolder() {
    static std::filesystem::path p = [] {
        auto path = scratchPath();
        std::filesystem::create_directories(path);
        std::atexit(removeScratch);
        return path;
    }();
    return p;
}
void removeScratch() {
    std::error_code ec;
    std::filesystem::remove_all(scratchFolder(), ec);
}
}  // namespace

Scratch::Scratch() : root_(scratchFolder()) {}

Scratch& Scratch::fresh() {
    static Scratch s;
    for (const auto& entry : std::filesystem::directory_iterator(s.root_.root()))
        std::filesystem::remove_all(entry.path());
    return s;
}

std::filesystem::path Scratch::write(std::string_view relative, std::string_view bytes) const {
    const auto path = root_.resolveForWriting(relative);
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

}  // namespace athanor::fuzz
