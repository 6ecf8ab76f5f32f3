#pragma once
#include "foundations/DataRoot.h"

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace athanor {

// The knowledge base as spreadsheet files: the three record files as UTF-8 CSV (comma
// separated, every field quoted, CR LF, a byte-order mark so that spreadsheets read the
// accents), a header row naming the fields and one row per record from record 1, one
// column per field, the parts of a long text joined into one cell.
//
//   DBmain.csv      remedio, posologia, indicacion, sintesis, signatura_primaria,
//                   signatura_secundaria, signatura_zodiacal, advertencias, notas,
//                   notas_adicionales
//   Repertorio.csv  patologia, posologia, remedio, notas
//   DataQvl.csv     sintoma, planta, codigo, signatura_primaria, signatura_secundaria,
//                   signatura_zodiacal, sintesis, autores, nota
//
// Record 0, which no window reads, is not exported; an import keeps the installed one.

inline constexpr const char* kRemedyCsv = "DBmain.csv";
inline constexpr const char* kRepertoryCsv = "Repertorio.csv";
inline constexpr const char* kPlantSymptomCsv = "DataQvl.csv";

// Writes the three files into `folder` (created when missing).
void exportKnowledgeCsv(const DataRoot& root, const std::filesystem::path& folder);

// A fault of an import, where it lies: the file, its row (1 is the header) and column
// (from 1; 0 when the fault is the file or the row as a whole).
struct CsvFault {
    std::string file;
    std::int64_t row = 0;
    int column = 0;
    std::string columnName;
    std::string message;  // Spanish, UTF-8
    // "DBmain.csv, fila 7, columna 3 (indicacion): ..."
    std::string describe() const;
};

class CsvImportError : public std::runtime_error {
public:
    explicit CsvImportError(std::vector<CsvFault> faults);
    const std::vector<CsvFault>& faults() const noexcept { return faults_; }

private:
    std::vector<CsvFault> faults_;
};

// Every fault of the three files of `folder`: quoting, the number of columns, text that
// is not UTF-8 or has no Windows-1252 character, a text longer than its field's
// capacity, a word of a planetary signature that is no planet name or of a zodiacal
// signature that is no sign name (names as the searches match them: "Sol", "NodoNorte",
// "Géminis"...).
std::vector<CsvFault> checkKnowledgeCsv(const std::filesystem::path& folder);

struct ImportSummary {
    std::int64_t remedyRecords = 0;
    std::int64_t repertoryRecords = 0;
    std::int64_t plantSymptomRecords = 0;
};

// Reads the three files of `folder`. Any fault (checkKnowledgeCsv) raises CsvImportError
// and changes nothing. Otherwise the three record files are written beside the old ones,
// then renamed over them, and every derived file is rebuilt (rebuildDerivedFiles).
ImportSummary importKnowledgeCsv(const DataRoot& root, const std::filesystem::path& folder);

}  // namespace athanor
