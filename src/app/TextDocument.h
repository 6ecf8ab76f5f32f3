#pragma once
// A text document of the editor as it lies on disk and as the editor shows it: the subjects'
// documents are Windows-1252 with CR LF, and a document saved goes back in the encoding and
// with the line ends it came with, so nothing the user did not touch changes.
#include "foundations/DataRoot.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace athanor {

enum class TextEncoding { Windows1252, Utf8, Utf8WithBom };
enum class LineEnding { CrLf, Lf, Cr };

// How the bytes of a document are to be written back.
struct DocumentFormat {
    TextEncoding encoding = TextEncoding::Windows1252;
    LineEnding ending = LineEnding::CrLf;
    bool endsWithLineEnd = true;  // the last line is terminated too
};

struct DecodedDocument {
    std::string text;  // UTF-8, lines separated by '\n', without the last line's terminator
    DocumentFormat format;
};

// Reads document bytes. A file that is valid UTF-8 with at least one non-ASCII character, or
// that starts with a UTF-8 byte-order mark, is UTF-8; anything else is Windows-1252. The line
// end is CR LF when the file has one, else LF, else a lone CR, else CR LF.
DecodedDocument decodeDocument(std::string_view bytes);

// The bytes of `text` (UTF-8, '\n' lines) in `format`. Characters that Windows-1252 lacks
// become '?': unencodable() says beforehand which they are.
std::string encodeDocument(std::string_view text, const DocumentFormat& format);

// The distinct characters of `text` (UTF-8) that `encoding` cannot hold, in order of first
// appearance; empty when the text can be saved as it is.
std::u32string unencodable(std::string_view text, TextEncoding encoding);

// Documents larger than this are not opened: the editor is for notes, not for data files.
inline constexpr std::uint64_t kMaxDocumentBytes = 8u << 20;

// Loads a document: FileError when it is missing or unreadable, and (FileFault::Damaged) when
// it is too large or holds NUL bytes, that is when it is not a text document.
DecodedDocument loadDocument(const std::filesystem::path& path);

// Writes a document atomically: a failure leaves the file as it was.
void saveDocument(const std::filesystem::path& path, std::string_view text, const DocumentFormat& format);

// The document the editor is to open: the first line of FileDum\DatModif.dum, a path
// relative to the program folder. FileError when the file is missing or empty.
std::string readEditTarget(const DataRoot& root);

// The status bar's first panel for a caret at 1-based `line` and `column`:
// "Line: %3d   Col: %3d".
std::string caretStatus(int line, int column);

}  // namespace athanor
