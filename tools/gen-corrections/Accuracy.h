#pragma once
// The engine against the reference, with and without the correction files, by century.
#include <filesystem>
#include <functional>
#include <string>

namespace athanor::corrections {

struct AccuracyOptions {
    std::string ephePath;
    int samples = 2000;  // instants per century
    int threads = 1;
    std::function<void(long done, long total)> progress;
};

// Markdown tables, arc-minutes. `corrected` is a program folder with the real correction
// files, `bare` one with all-zero files.
std::string accuracyReport(const std::filesystem::path& corrected, const std::filesystem::path& bare,
                           const AccuracyOptions& options);

}  // namespace athanor::corrections
