#include "foundations/TextFile.h"

#include "foundations/FileError.h"
#include "foundations/RecordFile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace athanor {

namespace fs = std::filesystem;

std::string readWholeFile(const fs::path& path) {
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) throw FileError::fromErrno(path, errno);
    // A string of the file's size and one byte more, so the read that finds the end finds
    // room: no growth and no copy. The size is a hint; a file that grows meanwhile is read to
    // its end all the same.
    struct stat st {};
    const std::size_t hint = ::fstat(fd, &st) == 0 && st.st_size > 0 ? static_cast<std::size_t>(st.st_size) + 1 : 65536;
    std::string out;
    std::size_t got = 0;
    for (;;) {
        if (got == out.size()) out.resize(std::max(hint, 2 * out.size()));
        const ssize_t r = ::read(fd, out.data() + got, out.size() - got);
        if (r < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            throw FileError::fromErrno(path, err);
        }
        if (r == 0) break;
        got += static_cast<std::size_t>(r);
    }
    ::close(fd);
    out.resize(got);
    return out;
}

namespace {

std::string_view trimBlanks(std::string_view s) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::vector<std::string_view> splitLineViews(std::string_view contents) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < contents.size()) {
        std::size_t end = contents.find('\n', start);
        const bool last = end == std::string_view::npos;
        if (last) end = contents.size();
        std::size_t stop = end;
        if (!last && stop > start && contents[stop - 1] == '\r') --stop;
        lines.push_back(contents.substr(start, stop - start));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> splitLines(std::string_view contents) {
    const auto views = splitLineViews(contents);
    return std::vector<std::string>(views.begin(), views.end());
}

std::vector<std::string> readLines(const fs::path& path) { return splitLines(readWholeFile(path)); }

void writeLines(const fs::path& path, const std::vector<std::string>& lines) {
    std::string out;
    std::size_t total = 0;
    for (const auto& l : lines) total += l.size() + 2;
    out.reserve(total);
    for (const auto& l : lines) {
        out += l;
        out += "\r\n";
    }
    writeFileAtomically(path, out);
}

std::string formatReal(long double x) {
    std::string out;
    if (std::isnan(x) || std::isinf(x)) {
        const std::string word = std::isnan(x) ? "NAN" : (x < 0 ? "-INF" : "+INF");
        return std::string(23 - word.size(), ' ') + word;
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14Le", std::fabs(x));  // d.dddddddddddddde+XX
    const std::string_view s(buf);
    const std::size_t e = s.find('e');
    const int exponent = std::atoi(buf + e + 1);
    out += (x < 0) ? '-' : ' ';
    out += s.substr(0, e);
    char tail[16];
    std::snprintf(tail, sizeof tail, "E%c%04d", exponent < 0 ? '-' : '+', std::abs(exponent));
    out += tail;
    return out;
}

std::optional<long double> parseReal(std::string_view text) {
    text = trimBlanks(text);
    std::string normal;
    normal.reserve(text.size());
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int digits = 0;
    while (i < text.size() && isDigit(text[i])) normal += text[i++], ++digits;
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        normal += '.';
        ++i;
        while (i < text.size() && isDigit(text[i])) normal += text[i++], ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        normal += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) normal += text[i++];
        int expDigits = 0;
        while (i < text.size() && isDigit(text[i])) normal += text[i++], ++expDigits;
        if (expDigits == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    long double value = 0;
    const auto [ptr, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (ec != std::errc() || ptr != normal.data() + normal.size()) return std::nullopt;
    return negative ? -value : value;
}

long double parseRealOr(std::string_view text, long double fallback) { return parseReal(text).value_or(fallback); }

std::optional<std::int64_t> parseInteger(std::string_view text) {
    text = trimBlanks(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return std::nullopt;
    }
    std::int64_t value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

TextReader::TextReader(fs::path path) : path_(std::move(path)), lines_(readLines(path_)) {}

TextReader::TextReader(fs::path path, std::vector<std::string> lines)
    : path_(std::move(path)), lines_(std::move(lines)) {}

void TextReader::fail(const std::string& message) const { throw FileError(path_, message, FileFault::Damaged); }

std::string TextReader::line() {
    if (atEnd()) fail("Read beyond end of file (line " + std::to_string(next_ + 1) + ")");
    return lines_[next_++];
}

std::int64_t TextReader::integer() {
    const std::string text = line();
    const auto v = parseInteger(text);
    if (!v) fail("Invalid numeric input (line " + std::to_string(next_) + ")");
    return *v;
}

long double TextReader::real() {
    const std::string text = line();
    const auto v = parseReal(text);
    if (!v) fail("Invalid numeric input (line " + std::to_string(next_) + ")");
    return *v;
}

TextWriter& TextWriter::line(std::string_view text) {
    lines_.emplace_back(text);
    return *this;
}

TextWriter& TextWriter::integer(std::int64_t v) {
    lines_.push_back(std::to_string(v));
    return *this;
}

TextWriter& TextWriter::real(long double x) {
    lines_.push_back(formatReal(x));
    return *this;
}

}  // namespace athanor
