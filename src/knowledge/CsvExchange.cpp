#include "knowledge/CsvExchange.h"

#include "foundations/FolderLock.h"
#include "foundations/Cp1252.h"
#include "foundations/FileError.h"
#include "foundations/Format.h"
#include "knowledge/FileReplacement.h"
#include "knowledge/KnowledgeRecords.h"
#include "knowledge/KnowledgeText.h"
#include "knowledge/Rebuild.h"
#include "knowledge/RecordScan.h"
#include "knowledge/Signatures.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace athanor {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

enum class Check { Text, Planets, Signs };

template <class R>
struct Column {
    const char* name;
    int capacity;
    Check check;
    std::string (*get)(const R&);
    void (*set)(R&, std::string_view);
};

// The columns of each record file, in the order of its fields.
const std::vector<Column<RemedyRecord>>& remedyColumns() {
    using R = RemedyRecord;
    static const std::vector<Column<R>> c = {
        {"remedio", 50, Check::Text, [](const R& r) { return r.name; }, [](R& r, std::string_view t) { r.name = t; }},
        {"posologia", 900, Check::Text, [](const R& r) { return r.posologyText(); },
         [](R& r, std::string_view t) { r.setPosology(t); }},
        {"indicacion", 300, Check::Text, [](const R& r) { return r.indicationText(); },
         [](R& r, std::string_view t) { r.setIndication(t); }},
        {"sintesis", 1500, Check::Text, [](const R& r) { return r.synthesisText(); },
         [](R& r, std::string_view t) { r.setSynthesis(t); }},
        {"signatura_primaria", 30, Check::Planets, [](const R& r) { return r.primarySignature; },
         [](R& r, std::string_view t) { r.primarySignature = t; }},
        {"signatura_secundaria", 40, Check::Planets, [](const R& r) { return r.secondarySignature; },
         [](R& r, std::string_view t) { r.secondarySignature = t; }},
        {"signatura_zodiacal", 70, Check::Signs, [](const R& r) { return r.zodiacSignature; },
         [](R& r, std::string_view t) { r.zodiacSignature = t; }},
        {"advertencias", 400, Check::Text, [](const R& r) { return r.warningsText(); },
         [](R& r, std::string_view t) { r.setWarnings(t); }},
        {"notas", 750, Check::Text, [](const R& r) { return r.notesText(); },
         [](R& r, std::string_view t) { r.setNotes(t); }},
        {"notas_adicionales", 750, Check::Text, [](const R& r) { return r.extraNotesText(); },
         [](R& r, std::string_view t) { r.setExtraNotes(t); }},
    };
    return c;
}

const std::vector<Column<TherapyRecord>>& therapyColumns() {
    using R = TherapyRecord;
    static const std::vector<Column<R>> c = {
        {"patologia", 100, Check::Text, [](const R& r) { return r.pathology; },
         [](R& r, std::string_view t) { r.pathology = t; }},
        {"posologia", 250, Check::Text, [](const R& r) { return r.posology; },
         [](R& r, std::string_view t) { r.posology = t; }},
        {"remedio", 100, Check::Text, [](const R& r) { return r.remedy; },
         [](R& r, std::string_view t) { r.remedy = t; }},
        {"notas", 750, Check::Text, [](const R& r) { return r.notesText(); },
         [](R& r, std::string_view t) { r.setNotes(t); }},
    };
    return c;
}

const std::vector<Column<PlantSymptomRecord>>& plantColumns() {
    using R = PlantSymptomRecord;
    static const std::vector<Column<R>> c = {
        {"sintoma", 100, Check::Text, [](const R& r) { return r.symptom; },
         [](R& r, std::string_view t) { r.symptom = t; }},
        {"planta", 20, Check::Text, [](const R& r) { return r.plant; }, [](R& r, std::string_view t) { r.plant = t; }},
        {"codigo", 15, Check::Text, [](const R& r) { return r.code; }, [](R& r, std::string_view t) { r.code = t; }},
        {"signatura_primaria", 15, Check::Planets, [](const R& r) { return r.primarySignature; },
         [](R& r, std::string_view t) { r.primarySignature = t; }},
        {"signatura_secundaria", 30, Check::Planets, [](const R& r) { return r.secondarySignature; },
         [](R& r, std::string_view t) { r.secondarySignature = t; }},
        {"signatura_zodiacal", 70, Check::Signs, [](const R& r) { return r.zodiacSignature; },
         [](R& r, std::string_view t) { r.zodiacSignature = t; }},
        {"sintesis", 100, Check::Text, [](const R& r) { return r.synthesis; },
         [](R& r, std::string_view t) { r.synthesis = t; }},
        {"autores", 100, Check::Text, [](const R& r) { return r.authors; },
         [](R& r, std::string_view t) { r.authors = t; }},
        {"nota", 140, Check::Text, [](const R& r) { return r.note; }, [](R& r, std::string_view t) { r.note = t; }},
    };
    return c;
}

// ---- Writing ----------------------------------------------------------------------------

void appendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

template <class R>
void exportFile(const fs::path& records, const std::vector<Column<R>>& columns, const fs::path& target) {
    FileReplacement out(target);
    std::string line(kBom);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i) line += ',';
        appendQuoted(line, columns[i].name);
    }
    line += "\r\n";
    out.write(line);
    RecordScanner(records, R::kSize)
        .forEach(
            [&](std::int64_t, const std::uint8_t* bytes) {
                const R r = R::decode(bytes);
                line.clear();
                for (std::size_t i = 0; i < columns.size(); ++i) {
                    if (i) line += ',';
                    appendQuoted(line, cp1252ToUtf8(columns[i].get(r)));
                }
                line += "\r\n";
                out.write(line);
                return true;
            },
            1);
    out.commit();
}

// ---- Reading ----------------------------------------------------------------------------

struct CsvRow {
    std::int64_t row = 0;
    std::vector<std::string> fields;
};

// RFC 4180 records: fields separated by commas, quoted ones may hold commas, quotes
// (doubled) and line breaks. A blank line is no record but counts as a row.
std::vector<CsvRow> parseCsv(std::string_view text, const std::string& file, std::vector<CsvFault>& faults) {
    if (text.starts_with(kBom)) text.remove_prefix(kBom.size());
    std::vector<CsvRow> rows;
    std::size_t at = 0;
    std::int64_t row = 0;
    const std::size_t n = text.size();
    auto endOfLine = [&](std::size_t p) { return p >= n || text[p] == '\n' || text[p] == '\r'; };
    auto skipLineEnd = [&](std::size_t& p) {
        if (p < n && text[p] == '\r') ++p;
        if (p < n && text[p] == '\n') ++p;
    };
    while (at < n) {
        ++row;
        CsvRow r{row, {}};
        bool bad = false;
        bool quotedAny = false;
        for (;;) {
            std::string field;
            const int column = static_cast<int>(r.fields.size()) + 1;
            if (at < n && text[at] == '"') {
                quotedAny = true;
                ++at;
                bool closed = false;
                while (at < n) {
                    if (text[at] != '"') {
                        field += text[at++];
                        continue;
                    }
                    if (at + 1 < n && text[at + 1] == '"') {
                        field += '"';
                        at += 2;
                        continue;
                    }
                    ++at;
                    closed = true;
                    break;
                }
                if (!closed) {
                    faults.push_back({file, row, column, "", "faltan las comillas que cierran el campo"});
                    return rows;
                }
                if (at < n && text[at] != ',' && !endOfLine(at)) {
                    faults.push_back(
                        {file, row, column, "", "hay texto detr\xC3\xA1s de las comillas que cierran el campo"});
                    bad = true;
                    while (at < n && text[at] != ',' && !endOfLine(at)) ++at;
                }
            } else {
                while (at < n && text[at] != ',' && !endOfLine(at)) field += text[at++];
                if (!bad && field.find('"') != std::string::npos) {
                    faults.push_back(
                        {file, row, column, "", "comillas dentro de un campo que no empieza con comillas"});
                    bad = true;
                }
            }
            r.fields.push_back(std::move(field));
            if (at < n && text[at] == ',') {
                ++at;
                continue;
            }
            skipLineEnd(at);
            break;
        }
        const bool blank = !quotedAny && r.fields.size() == 1 && r.fields[0].empty();
        if (!bad && !blank) rows.push_back(std::move(r));
    }
    return rows;
}

// UTF-8 to Windows-1252, refusing what does not convert.
std::optional<std::string> toCp1252(std::string_view utf8, std::string& problem) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        char32_t cp;
        std::size_t len;
        if (c < 0x80) {
            cp = c;
            len = 1;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            len = 2;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            len = 3;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            len = 4;
        } else {
            problem = "el texto no est\xC3\xA1 en UTF-8";
            return std::nullopt;
        }
        if (i + len > utf8.size()) {
            problem = "el texto no est\xC3\xA1 en UTF-8";
            return std::nullopt;
        }
        for (std::size_t k = 1; k < len; ++k) {
            const unsigned char cc = static_cast<unsigned char>(utf8[i + k]);
            if ((cc & 0xC0) != 0x80) {
                problem = "el texto no est\xC3\xA1 en UTF-8";
                return std::nullopt;
            }
            cp = (cp << 6) | (cc & 0x3F);
        }
        const int byte = codePointToCp1252(cp);
        if (byte < 0) {
            problem = "el car\xC3\xA1\x63ter \xC2\xAB" + std::string(utf8.substr(i, len)) +
                      "\xC2\xBB no existe en la codificaci\xC3\xB3n de la base (Windows-1252)";
            return std::nullopt;
        }
        out += static_cast<char>(byte);
        i += len;
    }
    return out;
}

// The first word of a signature that is no planet (or sign) name; "" when all are.
std::string unknownWord(std::string_view text, Check check) {
    std::string word;
    auto known = [&](const std::string& w) {
        if (check == Check::Planets)
            return std::find_if(kSignaturePlanets.begin(), kSignaturePlanets.end(),
                                [&](const char* p) { return w == p; }) != kSignaturePlanets.end();
        for (int s = 1; s <= 12; ++s)
            if (w == signName(s)) return true;
        return false;
    };
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && isLetterCp1252(static_cast<unsigned char>(text[i]))) {
            word += text[i];
            continue;
        }
        if (!word.empty() && !known(word)) return word;
        word.clear();
    }
    return {};
}

template <class R>
std::vector<R> readFile(const fs::path& folder, const char* name, const std::vector<Column<R>>& columns,
                        std::vector<CsvFault>& faults) {
    std::vector<R> records;
    const fs::path path = resolveCaseInsensitive(folder, name);
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        faults.push_back({name, 0, 0, "", "no se puede leer el archivo"});
        return records;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto rows = parseCsv(text, name, faults);
    if (rows.empty() || rows.front().row != 1) {
        if (faults.empty() || faults.back().file != name)
            faults.push_back({name, 1, 0, "", "falta la fila de encabezado"});
        return records;
    }
    const auto& header = rows.front().fields;
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (i >= header.size() || header[i] != columns[i].name) {
            faults.push_back({name, 1, static_cast<int>(i) + 1, columns[i].name,
                              "se esperaba el encabezado \xC2\xAB" + std::string(columns[i].name) + "\xC2\xBB"});
            return records;
        }
    if (header.size() != columns.size()) {
        faults.push_back({name, 1, static_cast<int>(columns.size()) + 1, "", "columna de m\xC3\xA1s en el encabezado"});
        return records;
    }
    for (std::size_t k = 1; k < rows.size(); ++k) {
        const CsvRow& row = rows[k];
        if (row.fields.size() != columns.size()) {
            faults.push_back({name, row.row, 0, "",
                              "la fila tiene " + std::to_string(row.fields.size()) + " columnas y se esperan " +
                                  std::to_string(columns.size())});
            continue;
        }
        R r;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const Column<R>& c = columns[i];
            const int column = static_cast<int>(i) + 1;
            std::string problem;
            const auto text = toCp1252(row.fields[i], problem);
            if (!text) {
                faults.push_back({name, row.row, column, c.name, problem});
                continue;
            }
            if (text->size() > static_cast<std::size_t>(c.capacity)) {
                faults.push_back({name, row.row, column, c.name,
                                  "el texto tiene " + std::to_string(text->size()) + " caracteres y caben " +
                                      std::to_string(c.capacity)});
                continue;
            }
            if (c.check != Check::Text) {
                if (const std::string w = unknownWord(*text, c.check); !w.empty()) {
                    faults.push_back({name, row.row, column, c.name,
                                      std::string(c.check == Check::Planets ? "planeta" : "signo") +
                                          " desconocido \xC2\xAB" + cp1252ToUtf8(w) + "\xC2\xBB"});
                    continue;
                }
            }
            c.set(r, *text);
        }
        records.push_back(std::move(r));
    }
    return records;
}

template <class R>
FileReplacement replacement(const DataRoot& root, const char* file, const std::vector<R>& records) {
    const fs::path path = root.resolveForWriting(file);
    // Record 0 is nobody's to change: the installed one is kept, a new base gets a blank one.
    Bytes first(R::kSize, 0);
    std::error_code ec;
    if (fs::is_regular_file(path, ec) && fs::file_size(path, ec) >= R::kSize) {
        const RecordFile old(path, R::kSize);
        old.read(0, first.data());
    } else {
        first = R{}.encode();
    }
    FileReplacement out(path);
    out.write(first);
    for (const auto& r : records) out.write(r.encode());
    out.finish();
    return out;
}

}  // namespace

std::string CsvFault::describe() const {
    std::string s = file;
    if (row > 0) s += ", fila " + std::to_string(row);
    if (column > 0) s += ", columna " + std::to_string(column);
    if (!columnName.empty()) s += " (" + columnName + ")";
    return s + ": " + message;
}

CsvImportError::CsvImportError(std::vector<CsvFault> faults)
    : std::runtime_error(faults.empty() ? std::string("importaci\xC3\xB3n rechazada") : faults.front().describe()),
      faults_(std::move(faults)) {}

void exportKnowledgeCsv(const DataRoot& root, const fs::path& folder) {
    fs::create_directories(folder);
    exportFile(root.resolve(kRemedyDatabaseFile), remedyColumns(), folder / kRemedyCsv);
    exportFile(root.resolve(kRepertoryFile), therapyColumns(), folder / kRepertoryCsv);
    exportFile(root.resolve(kPlantSymptomFile), plantColumns(), folder / kPlantSymptomCsv);
}

std::vector<CsvFault> checkKnowledgeCsv(const fs::path& folder) {
    std::vector<CsvFault> faults;
    (void)readFile(folder, kRemedyCsv, remedyColumns(), faults);
    (void)readFile(folder, kRepertoryCsv, therapyColumns(), faults);
    (void)readFile(folder, kPlantSymptomCsv, plantColumns(), faults);
    return faults;
}

ImportSummary importKnowledgeCsv(const DataRoot& root, const fs::path& folder) {
    const FolderLock lock(root.root());
    std::vector<CsvFault> faults;
    const auto remedies = readFile(folder, kRemedyCsv, remedyColumns(), faults);
    const auto therapies = readFile(folder, kRepertoryCsv, therapyColumns(), faults);
    const auto plants = readFile(folder, kPlantSymptomCsv, plantColumns(), faults);
    if (!faults.empty()) throw CsvImportError(std::move(faults));

    // The three new files are complete on disk before the first one takes its name.
    FileReplacement a = replacement(root, kRemedyDatabaseFile, remedies);
    FileReplacement b = replacement(root, kRepertoryFile, therapies);
    FileReplacement c = replacement(root, kPlantSymptomFile, plants);
    a.commit();
    b.commit();
    c.commit();
    rebuildDerivedFiles(root);
    return {static_cast<std::int64_t>(remedies.size()), static_cast<std::int64_t>(therapies.size()),
            static_cast<std::int64_t>(plants.size())};
}

}  // namespace athanor
