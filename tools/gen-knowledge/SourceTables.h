#pragma once
#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace athanor::starter {

// A fault in a source table, named by file and line: "plants.tsv:12: ...".
class TableError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

[[noreturn]] void tableError(std::string_view file, int line, const std::string& what);

struct SourceRow {
    int line = 0;                    // in the file, from 1
    std::vector<std::string> cells;  // Windows-1252
};

// A table kept beside the generator: UTF-8 text, one row per line, cells separated by
// tabs. Empty lines and lines beginning with '#' are comments; the first other line names
// the columns and must name exactly `columns` of them. Cells are taken as written: a
// leading or trailing blank is refused unless `blanksAllowed`.
struct SourceTable {
    std::string file;
    std::vector<std::string> columns;
    std::vector<SourceRow> rows;
};
SourceTable readSourceTable(const std::filesystem::path& path, std::size_t columns, bool blanksAllowed = false);

// A plain UTF-8 text kept beside the generator, line by line in Windows-1252, without the
// empty lines at its end.
std::vector<std::string> readSourceText(const std::filesystem::path& path);

// UTF-8 to Windows-1252; a character the code page lacks is a fault of the table.
std::string toCp1252(std::string_view utf8, std::string_view file, int line);

}  // namespace athanor::starter
