#include "SourceTables.h"

#include "foundations/Cp1252.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace athanor::starter {

void tableError(std::string_view file, int line, const std::string& what) {
    throw TableError(std::string(file) + ":" + std::to_string(line) + ": " + what);
}

namespace {

std::vector<std::string> fileLines(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw TableError(path.string() + ": cannot be read");
    std::string text(std::istreambuf_iterator<char>(in), {});
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t end = text.find('\n', from);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(from, end - from);
        if (line.ends_with('\r')) line.pop_back();
        lines.push_back(std::move(line));
        from = end + 1;
    }
    return lines;
}

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> cells;
    std::size_t from = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', from);
        cells.push_back(line.substr(from, tab == std::string::npos ? std::string::npos : tab - from));
        if (tab == std::string::npos) return cells;
        from = tab + 1;
    }
}

}  // namespace

std::string toCp1252(std::string_view utf8, std::string_view file, int line) {
    std::string out = utf8ToCp1252(utf8);
    // The converter writes '?' for what the code page lacks.
    if (std::count(out.begin(), out.end(), '?') != std::count(utf8.begin(), utf8.end(), '?'))
        tableError(file, line, "a character that Windows-1252 cannot hold");
    return out;
}

SourceTable readSourceTable(const std::filesystem::path& path, std::size_t columns, bool blanksAllowed) {
    SourceTable table;
    table.file = path.filename().string();
    const auto lines = fileLines(path);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int lineNo = static_cast<int>(i) + 1;
        const std::string& raw = lines[i];
        if (raw.empty() || raw.starts_with('#')) continue;
        std::vector<std::string> cells = splitTabs(raw);
        if (cells.size() != columns)
            tableError(table.file, lineNo,
                       std::to_string(cells.size()) + " columns where " + std::to_string(columns) + " are expected");
        for (auto& cell : cells) {
            if (!blanksAllowed && !cell.empty() && (cell.front() == ' ' || cell.back() == ' '))
                tableError(table.file, lineNo, "a cell begins or ends with a blank: \"" + cell + "\"");
            cell = toCp1252(cell, table.file, lineNo);
        }
        if (table.columns.empty()) table.columns = std::move(cells);
        else table.rows.push_back({lineNo, std::move(cells)});
    }
    if (table.columns.empty()) tableError(table.file, 1, "no header line");
    return table;
}

std::vector<std::string> readSourceText(const std::filesystem::path& path) {
    const std::string file = path.filename().string();
    auto lines = fileLines(path);
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    for (std::size_t i = 0; i < lines.size(); ++i) lines[i] = toCp1252(lines[i], file, static_cast<int>(i) + 1);
    return lines;
}

}  // namespace athanor::starter
