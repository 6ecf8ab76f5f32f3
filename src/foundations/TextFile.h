#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace athanor {

// Text files of the program folder: one value per line, Windows-1252 bytes kept as they
// are. Lines end in CR LF when written; CR LF or LF are accepted when read, and a last
// line without a terminator is read too.

// All lines of a file; FileError when it is missing or unreadable.
std::vector<std::string> readLines(const std::filesystem::path& path);

// Splits file contents into lines as readLines does.
std::vector<std::string> splitLines(std::string_view contents);
// The same lines as views into `contents`.
std::vector<std::string_view> splitLineViews(std::string_view contents);

// The whole contents of a file; FileError when it is missing or unreadable.
std::string readWholeFile(const std::filesystem::path& path);

// Rewrites the whole file atomically, every line ended by CR LF.
void writeLines(const std::filesystem::path& path, const std::vector<std::string>& lines);

// The 23-character scientific form: a blank or '-', one digit, '.', 14 decimals, 'E', the
// exponent's sign and four digits (" 1.00000000000000E+0000").
std::string formatReal(long double x);

// A real in any decimal form: optional sign, digits with at most one '.' or ',', optional
// exponent; blanks around are allowed. nullopt for anything else (inf and nan included).
std::optional<long double> parseReal(std::string_view text);

// parseReal, or `fallback` when the text is not a number.
long double parseRealOr(std::string_view text, long double fallback);

// A plain decimal integer with optional sign and blanks around; nullopt when not a number
// or out of range.
std::optional<std::int64_t> parseInteger(std::string_view text);

// Reads a text file value by value. Running out of lines or a non-numeric line where a
// number is expected is a FileError naming the file and the line.
class TextReader {
public:
    explicit TextReader(std::filesystem::path path);  // reads the whole file
    TextReader(std::filesystem::path path, std::vector<std::string> lines);

    bool atEnd() const noexcept { return next_ >= lines_.size(); }
    std::size_t lineNumber() const noexcept { return next_; }  // lines consumed so far
    const std::vector<std::string>& lines() const noexcept { return lines_; }

    std::string line();
    std::int64_t integer();
    long double real();

private:
    [[noreturn]] void fail(const std::string& message) const;

    std::filesystem::path path_;
    std::vector<std::string> lines_;
    std::size_t next_ = 0;
};

// Builds a text file value by value and writes it atomically.
class TextWriter {
public:
    TextWriter& line(std::string_view text);
    TextWriter& integer(std::int64_t v);
    TextWriter& real(long double x);  // formatReal

    const std::vector<std::string>& lines() const noexcept { return lines_; }
    void save(const std::filesystem::path& path) const { writeLines(path, lines_); }

private:
    std::vector<std::string> lines_;
};

}  // namespace athanor
