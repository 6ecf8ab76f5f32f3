#pragma once
// The engine against the reference, on the bare theories, with the three correction files
// and with the precision supplement as well, by century and by era.
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

// The three program folders compared.
struct AccuracyFolders {
    std::filesystem::path bare;        // all-zero correction files, no supplement
    std::filesystem::path files;       // the three correction files, no supplement
    std::filesystem::path supplement;  // the three files and the precision supplement
};

// Markdown tables, arc-seconds.
std::string accuracyReport(const AccuracyFolders& folders, const AccuracyOptions& options);

}  // namespace athanor::corrections
