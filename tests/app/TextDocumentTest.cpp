#include "app/TextDocument.h"
#include "foundations/FileError.h"
#include "subjects/SubjectFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace athanor::test {
namespace {

TEST(TextDocumentTest, DocumentsGoBackToDiskAsTheyCame) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string text;
        TextEncoding encoding;
        LineEnding ending;
    };
    const Case cases[] = {
        {"a subject's document", "GARC\xCD" "A JOS\xC9\r\nNi\xF1o, 5 \x80\r\n", "GARCÍA JOSÉ\nNiño, 5 €",
         TextEncoding::Windows1252, LineEnding::CrLf},
        {"no line end after the last line", "uno\r\ndos", "uno\ndos", TextEncoding::Windows1252, LineEnding::CrLf},
        {"a file written on this desktop", "caf\xC3\xA9\nt\xC3\xA9\n", "café\nté", TextEncoding::Utf8,
         LineEnding::Lf},
        {"with a byte-order mark", "\xEF\xBB\xBFplain\r\n", "plain", TextEncoding::Utf8WithBom, LineEnding::CrLf},
        {"old line ends", "a\rb\r", "a\nb", TextEncoding::Windows1252, LineEnding::Cr},
        {"blank lines kept", "\r\n\r\nx\r\n\r\n", "\n\nx\n", TextEncoding::Windows1252, LineEnding::CrLf},
        // Bytes that happen to be no valid UTF-8 stay Windows-1252, undefined bytes included.
        {"bytes Windows-1252 leaves undefined", "\x81\x8D\xC3(\r\n", "\xC2\x81\xC2\x8D\xC3\x83(",
         TextEncoding::Windows1252, LineEnding::CrLf},
    };
    for (const auto& c : cases) {
        const DecodedDocument d = decodeDocument(c.bytes);
        EXPECT_EQ(d.text, c.text) << c.what;
        EXPECT_EQ(d.format.encoding, c.encoding) << c.what;
        EXPECT_EQ(d.format.ending, c.ending) << c.what;
        EXPECT_EQ(encodeDocument(d.text, d.format), c.bytes) << c.what;
    }
}

TEST(TextDocumentTest, AnEditedDocumentKeepsItsFormat) {
    DecodedDocument d = decodeDocument("ROSSI MARIO\r\n");
    d.text += "\nPrimera visita: se\xC3\xB1" "ales de fr\xC3\xADo";
    EXPECT_EQ(encodeDocument(d.text, d.format), "ROSSI MARIO\r\nPrimera visita: se\xF1" "ales de fr\xEDo\r\n");
    // A new document is Windows-1252 with CR LF, every line ended.
    const DecodedDocument fresh = decodeDocument("");
    EXPECT_EQ(encodeDocument("a\nb", fresh.format), "a\r\nb\r\n");
    EXPECT_EQ(encodeDocument("", fresh.format), "");
}

TEST(TextDocumentTest, CharactersWindows1252LacksAreNamedBeforeSaving) {
    EXPECT_EQ(unencodable("Ni\xC3\xB1o \xE2\x82\xAC", TextEncoding::Windows1252), U"");
    EXPECT_EQ(unencodable("\xE2\x99\x84 y \xE2\x98\xBF y \xE2\x99\x84", TextEncoding::Windows1252), U"\u2644\u263F");
    EXPECT_EQ(unencodable("\xE2\x99\x84", TextEncoding::Utf8), U"");
}

TEST(TextDocumentTest, FilesThatAreNoTextDocumentsAreRefused) {
    TempDir dir;
    const auto binary = dir.write("pic.png", std::string("\x89PNG\r\n\x1A\n\0\0", 10));
    const auto missing = dir / "none.txt";
    for (const auto& p : {binary, missing}) {
        try {
            loadDocument(p);
            ADD_FAILURE() << p << " was loaded";
        } catch (const FileError& e) {
            EXPECT_EQ(e.path(), p);
        }
    }
    std::filesystem::resize_file(dir.write("big.txt", "x"), kMaxDocumentBytes + 1);
    EXPECT_THROW(loadDocument(dir / "big.txt"), FileError);
}

TEST(TextDocumentTest, SavingIntoAFolderThatCannotHoldItFailsAndKeepsNothingHalfWritten) {
    TempDir dir;
    const auto notAFolder = dir.write("file", "x");
    EXPECT_THROW(saveDocument(notAFolder / "doc.txt", "texto", {}), FileError);
    const auto doc = dir.write("doc.txt", "viejo\r\n");
    saveDocument(doc, "nuevo", {});
    EXPECT_EQ(TempDir::read(doc), "nuevo\r\n");
}

TEST(TextDocumentTest, TheEditTargetAndTheCaretStatus) {
    TempDir dir;
    DataRoot root(dir.path());
    EXPECT_THROW(readEditTarget(root), FileError);
    writeEditTarget(root, "BASEtxt\\00003.txt");
    EXPECT_EQ(readEditTarget(root), "BASEtxt\\00003.txt");

    EXPECT_EQ(caretStatus(1, 1), "Line:   1   Col:   1");
    EXPECT_EQ(caretStatus(120, 45), "Line: 120   Col:  45");
    EXPECT_EQ(caretStatus(12345, 7), "Line: 12345   Col:   7");
}

}  // namespace
}  // namespace athanor::test
