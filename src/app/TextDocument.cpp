#include "app/TextDocument.h"

#include "foundations/Cp1252.h"
#include "foundations/FileError.h"
#include "foundations/RecordFile.h"
#include "foundations/TextFile.h"
#include "subjects/SubjectFiles.h"

#include <cstdio>
#include <fstream>
#include <system_error>

namespace athanor {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// Decodes one UTF-8 sequence at `i`; -1 when it is malformed (overlong, surrogate, too big).
long nextCodePoint(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int extra;
    long cp;
    long minimum;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1, cp = b0 & 0x1F, minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2, cp = b0 & 0x0F, minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3, cp = b0 & 0x07, minimum = 0x10000;
    } else {
        return -1;
    }
    if (i + static_cast<std::size_t>(extra) >= s.size()) return -1;
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
        if ((b & 0xC0) != 0x80) return -1;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return -1;
    i += static_cast<std::size_t>(extra) + 1;
    return cp;
}

// Valid UTF-8 holding at least one character beyond ASCII.
bool looksLikeUtf8(std::string_view s) {
    bool wide = false;
    for (std::size_t i = 0; i < s.size();) {
        const long cp = nextCodePoint(s, i);
        if (cp < 0) return false;
        if (cp >= 0x80) wide = true;
    }
    return wide;
}

}  // namespace

DecodedDocument decodeDocument(std::string_view bytes) {
    DecodedDocument out;
    std::string_view body = bytes;
    if (body.substr(0, kBom.size()) == kBom) {
        out.format.encoding = TextEncoding::Utf8WithBom;
        body.remove_prefix(kBom.size());
    } else if (looksLikeUtf8(body)) {
        out.format.encoding = TextEncoding::Utf8;
    }

    std::size_t crlf = 0, lf = 0, cr = 0;
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] == '\r') {
            if (i + 1 < body.size() && body[i + 1] == '\n') {
                ++crlf;
                ++i;
            } else {
                ++cr;
            }
        } else if (body[i] == '\n') {
            ++lf;
        }
    }
    out.format.ending = crlf ? LineEnding::CrLf : lf ? LineEnding::Lf : cr ? LineEnding::Cr : LineEnding::CrLf;

    // Every kind of line end becomes '\n'; a mixed file is written back with the one kind.
    std::string text;
    text.reserve(body.size());
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] == '\r') {
            if (i + 1 < body.size() && body[i + 1] == '\n') ++i;
            text += '\n';
        } else {
            text += body[i];
        }
    }
    out.format.endsWithLineEnd = !text.empty() && text.back() == '\n';
    if (out.format.endsWithLineEnd) text.pop_back();
    out.text = out.format.encoding == TextEncoding::Windows1252 ? cp1252ToUtf8(text) : text;
    if (bytes.empty()) out.format.endsWithLineEnd = true;  // a new document's lines all end
    return out;
}

std::string encodeDocument(std::string_view text, const DocumentFormat& format) {
    std::string body(text);
    if (format.endsWithLineEnd && !body.empty()) body += '\n';
    const std::string_view end = format.ending == LineEnding::CrLf ? "\r\n" : format.ending == LineEnding::Lf ? "\n" : "\r";
    std::string lined;
    lined.reserve(body.size() + body.size() / 16);
    for (char c : body) {
        if (c == '\n') lined += end;
        else lined += c;
    }
    switch (format.encoding) {
        case TextEncoding::Windows1252: return utf8ToCp1252(lined);
        case TextEncoding::Utf8: return lined;
        case TextEncoding::Utf8WithBom: return std::string(kBom) + lined;
    }
    return lined;
}

std::u32string unencodable(std::string_view text, TextEncoding encoding) {
    std::u32string out;
    if (encoding != TextEncoding::Windows1252) return out;
    for (std::size_t i = 0; i < text.size();) {
        const long cp = nextCodePoint(text, i);
        if (cp < 0) {
            ++i;
            continue;
        }
        const auto c = static_cast<char32_t>(cp);
        if (codePointToCp1252(c) < 0 && out.find(c) == std::u32string::npos) out += c;
    }
    return out;
}

DecodedDocument loadDocument(const std::filesystem::path& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) throw FileError::fromErrorCode(path, ec);
    if (size > kMaxDocumentBytes) {
        throw FileError(path, "es demasiado grande para un documento de texto", FileFault::Damaged);
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) throw FileError::fromErrno(path, errno ? errno : EACCES);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    if (in.bad()) throw FileError::fromErrno(path, EIO);
    if (bytes.find('\0') != std::string::npos) {
        throw FileError(path, "no es un documento de texto", FileFault::Damaged);
    }
    return decodeDocument(bytes);
}

void saveDocument(const std::filesystem::path& path, std::string_view text, const DocumentFormat& format) {
    writeFileAtomically(path, encodeDocument(text, format));
}

std::string readEditTarget(const DataRoot& root) {
    const auto lines = readLines(root.resolve(kEditTargetFile));
    if (lines.empty() || lines[0].empty()) {
        throw FileError(root.resolve(kEditTargetFile), "no nombra ning\xFAn documento", FileFault::Damaged);
    }
    return lines[0];
}

std::string caretStatus(int line, int column) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "Line: %3d   Col: %3d", line, column);
    return buf;
}

}  // namespace athanor
