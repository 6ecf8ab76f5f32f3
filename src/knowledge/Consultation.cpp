#include "knowledge/Consultation.h"

#include "foundations/Format.h"
#include "foundations/TextFile.h"
#include "knowledge/KnowledgeText.h"
#include "knowledge/RecordScan.h"
#include "knowledge/TextLists.h"

#include <algorithm>

namespace athanor {

namespace {

std::string trimmed(std::string_view s) { return std::string(trimmedBlanks(s)); }

template <class R>
std::vector<std::string> nameRecordsFrom1(const DataRoot& root, const char* file) {
    if (!root.exists(file)) return {};
    std::vector<std::string> out;
    const auto records = readAllRecords<R>(root.resolve(file));
    for (std::size_t k = 1; k < records.size(); ++k) out.push_back(records[k].text);
    return sortedAscending(std::move(out));
}

template <class Pred>
Matches scanMatches(const std::filesystem::path& file, std::size_t recordSize, Pred pred) {
    Matches m;
    RecordScanner scan(file, recordSize);
    scan.forEach(
        [&](std::int64_t k, const std::uint8_t* r) {
            if (!pred(r)) return true;
            if (m.records.size() < kMaxEntries) m.records.push_back(k);
            ++m.total;
            m.last = k;
            return true;
        },
        1);
    return m;
}

NoteText rowNote(const RemedyRecord& r, std::string_view title, std::string text, const char* whenEmpty) {
    trimTrailingCharacters(text);
    if (text.empty()) text = whenEmpty;
    return {r.name + " - " + std::string(title), std::move(text)};
}

template <class R, class Row>
std::vector<ConsultationRow> rowsOf(const DataRoot& root, const char* file, const std::vector<std::int64_t>& records,
                                    Row row) {
    std::vector<ConsultationRow> out;
    if (records.empty()) return out;
    const KnowledgeFile<R> f(root.resolve(file));
    for (auto k : records) out.push_back(row(f.read(k)));
    return out;
}

}  // namespace

std::vector<std::string> symptomList(const DataRoot& root) { return readLines(root.resolve(kSymptomListFile)); }
std::vector<std::string> remedyLineList(const DataRoot& root) { return readLines(root.resolve(kRemedyAliasListFile)); }
std::vector<std::string> pathologyList(const DataRoot& root) {
    if (!root.exists(kPathologyListFile)) return {};
    return sortedAscending(readLines(root.resolve(kPathologyListFile)));
}
std::vector<std::string> plantList(const DataRoot& root) {
    return nameRecordsFrom1<PlantNameRecord>(root, kPlantNamesFile);
}
std::vector<std::string> plantSymptomList(const DataRoot& root) {
    return nameRecordsFrom1<SymptomNameRecord>(root, kPlantSymptomNamesFile);
}

Matches findSymptom(const DataRoot& root, std::string_view symptom) {
    return scanMatches(root.resolve(kRemedyDatabaseFile), RemedyRecord::kSize,
                       [&](const std::uint8_t* r) { return remedyIndicationEquals(r, symptom); });
}

Matches findRemedy(const DataRoot& root, std::string_view line) {
    const auto file = root.resolve(kRemedyDatabaseFile);
    auto byName = [&](std::string_view name) {
        Matches m =
            scanMatches(file, RemedyRecord::kSize, [&](const std::uint8_t* r) { return remedyName(r) == name; });
        m.name = std::string(name);
        return m;
    };
    Matches m = byName(line);
    if (m.total == 0) {
        // An alias line points at its remedy from character 71 on. A line without one
        // points nowhere (rather than at every record with an empty name).
        const std::string target = aliasTarget(line);
        if (!target.empty()) m = byName(target);
    }
    return m;
}

Matches findTherapy(const DataRoot& root, std::string_view pathology) {
    return scanMatches(root.resolve(kRepertoryFile), TherapyRecord::kSize,
                       [&](const std::uint8_t* r) { return therapyPathology(r) == pathology; });
}

// ---- ResultPager ---------------------------------------------------------------------

void ResultPager::reset() {
    entries_.clear();
    rows_.clear();
    page_ = 1;
    red_ = false;
}

void ResultPager::offer(std::int64_t record) {
    if (entries_.size() < static_cast<std::size_t>(kMaxEntries)) entries_.push_back(record);
    if (rows_.size() < static_cast<std::size_t>(kPageRows)) {
        rows_.push_back(record);
        red_ = false;
    } else {
        red_ = true;
    }
}

void ResultPager::offerAll(const std::vector<std::int64_t>& records) {
    for (auto k : records) offer(k);
}

int ResultPager::pageCount() const noexcept {
    return std::max(1, static_cast<int>((entries_.size() + kPageRows - 1) / kPageRows));
}

std::string ResultPager::pageText() const { return std::to_string(page_) + "/" + std::to_string(pageCount()); }

std::int64_t ResultPager::rowRecord(int n) const {
    return n >= 1 && n <= static_cast<int>(rows_.size()) ? rows_[static_cast<std::size_t>(n - 1)] : -1;
}

void ResultPager::showPage() {
    // The entries from the page's first on are offered again without being appended: the
    // first fourteen fill the rows, each placed one turning the box aqua; entries beyond
    // leave its colour as it is.
    rows_.clear();
    for (std::size_t i = static_cast<std::size_t>(page_ - 1) * kPageRows; i < entries_.size(); ++i) {
        if (rows_.size() == static_cast<std::size_t>(kPageRows)) break;
        rows_.push_back(entries_[i]);
        red_ = false;
    }
}

bool ResultPager::next() {
    if (page_ >= pageCount()) return false;
    ++page_;
    showPage();
    return true;
}

bool ResultPager::previous() {
    if (page_ <= 1) return false;
    --page_;
    showPage();
    return true;
}

// ---- Rows ------------------------------------------------------------------------------

namespace {
std::string planetsText(const RemedyRecord& r) {
    return (r.primarySignature + " " + r.secondarySignature).substr(0, 71);
}
}  // namespace

ConsultationRow symptomRow(const RemedyRecord& r) {
    return {r.name, planetsText(r), r.zodiacSignature, r.posologyText()};
}
ConsultationRow remedyRow(const RemedyRecord& r) {
    return {r.name, planetsText(r), r.zodiacSignature, r.indicationText()};
}
ConsultationRow therapyRow(const TherapyRecord& t) { return {t.remedy, "", "", t.posology}; }

std::vector<ConsultationRow> symptomRows(const DataRoot& root, const std::vector<std::int64_t>& records) {
    return rowsOf<RemedyRecord>(root, kRemedyDatabaseFile, records, symptomRow);
}
std::vector<ConsultationRow> remedyRows(const DataRoot& root, const std::vector<std::int64_t>& records) {
    return rowsOf<RemedyRecord>(root, kRemedyDatabaseFile, records, remedyRow);
}
std::vector<ConsultationRow> therapyRows(const DataRoot& root, const std::vector<std::int64_t>& records) {
    return rowsOf<TherapyRecord>(root, kRepertoryFile, records, therapyRow);
}

// ---- Notes -------------------------------------------------------------------------------

int RowSteps::press(int n) {
    if (n < 1 || n > kPageRows) return 0;
    int& c = counters_[static_cast<std::size_t>(n - 1)];
    const int shown = c;
    c = (c + 1) % steps_;
    return shown;
}

namespace {
constexpr const char* kNoSynthesis = "No hay S\xEDntesis Ps\xEDquica para este remedio";
constexpr const char* kNoNotes = "Base de datos principal no informan Notas";
constexpr const char* kNoExtraNotes = "Base de datos principal no informan las notas complementarias";
constexpr const char* kSynthesisUnconfirmed = "Todav\xED"
                                              "a no se ha confirmado una s\xEDntesis ps\xEDquica";
}  // namespace

NoteText symptomRowNote(const RemedyRecord& r, int step) {
    switch (step) {
    case 0:
        return rowNote(r, "Advertencias", r.warningsText(), kNoWarnings);
    case 1:
        return rowNote(r, "S\xEDntesis Ps\xEDquica", r.synthesisText(), kNoSynthesis);
    case 2:
        return rowNote(r, "Notas", r.notesText(), kNoNotes);
    default:
        return rowNote(r, "Notas adicionales", r.extraNotesText(), kNoExtraNotes);
    }
}

NoteText remedyRowNote(const RemedyRecord& r, int step) {
    switch (step) {
    case 0:
        return rowNote(r,
                       "Posolog\xED"
                       "a",
                       r.posologyText(), "");
    case 1:
        return rowNote(r, "S\xEDntesis Ps\xEDquica", r.synthesisText(), kSynthesisUnconfirmed);
    case 2:
        return rowNote(r, "Notas", r.notesText(), kNoNotes);
    default:
        return rowNote(r, "Notas adicionales", r.extraNotesText(), kNoExtraNotes);
    }
}

NoteText therapyPairingNotes(const DataRoot& root, std::string_view pathology, std::string_view remedy) {
    NoteText n{"Notas sobre " + std::string(remedy) + " / " + std::string(pathology),
               "No hay notas grabadas para esta combinaci\xF3n Patolog\xED"
               "a-Rimedy"};
    const KnowledgeFile<TherapyRecord> f(root.resolve(kRepertoryFile));
    const auto k =
        f.findFirst(1, [&](const TherapyRecord& t) { return t.pathology == pathology && t.remedy == remedy; });
    if (!k) return n;
    const TherapyRecord t = f.read(*k);
    if (!trailingTrimmed(t.notes[0]).empty()) n.text = t.notesText();
    return n;
}

NoteText therapyRemedyWarnings(const DataRoot& root, std::string_view remedy) {
    const KnowledgeFile<RemedyRecord> f(root.resolve(kRemedyDatabaseFile));
    std::optional<std::int64_t> found;
    RecordScanner scan(f.path(), RemedyRecord::kSize);
    scan.forEach(
        [&](std::int64_t k, const std::uint8_t* r) {
            if (remedyName(r) != remedy) return true;
            found = k;
            return false;
        },
        1);
    if (!found) return {std::string(remedy) + " No se ha encontrado en la base de datos principal", ""};
    const RemedyRecord r = f.read(*found);
    std::string w = r.warningsText();
    if (trailingTrimmed(w).empty()) w = kNoWarnings;
    return {r.name + " - Advertencias", std::move(w)};
}

std::string productTypeText(std::string_view name) {
    std::string out;
    auto has = [&](std::string_view s) { return name.find(s) != std::string_view::npos; };
    if (has("MSA")) out = "(Alchemical-Spagyric Macerated of Tessaran)";
    if (has("TSA")) out = "(Alchemical-Spagyric Tincture of Tessaran)";
    if (has("QSPC")) out = "(Alchemical-Spagyric Quintessence of Tessaran)";
    return out;
}

bool hasUseNumber(std::string_view text) {
    for (char d = '1'; d <= '9'; ++d)
        if (text.find(std::string{'(', d, ')'}) != std::string_view::npos) return true;
    return false;
}

RemedyHeader remedyHeader(const RemedyRecord& last, std::string_view selectedLine) {
    RemedyHeader h;
    h.name = last.name;
    h.warnings = last.warningsText();
    if (h.warnings.empty()) h.warnings = kNoWarnings;
    h.synthesis = last.synthesisText();
    h.productType = productTypeText(last.name);
    h.useNumberNote = hasUseNumber(selectedLine);
    return h;
}

std::vector<std::string> signaturePopup(std::string_view text, bool planetsBox) {
    std::vector<std::string> words(1);
    for (char c : text) {
        if (c == ' ' || c == '-') words.emplace_back();
        else words.back() += c;
    }
    const auto primary = static_cast<std::size_t>(1 + std::count(text.begin(), text.end(), '-'));
    std::vector<std::string> out;
    for (std::size_t i = 0; i < words.size() && out.size() < 12; ++i) {
        std::string w = words[i].substr(0, 15);
        out.push_back(planetsBox && i < primary ? "\xA7 " + w : w);
    }
    return out;
}

// ---- Corvell-1 and Corvell-2 ---------------------------------------------------------

PlantConsultation consultPlant(const DataRoot& root, std::string_view plant) {
    PlantConsultation c;
    c.plant = trimmed(plant);
    const std::string dashes(120, '-');
    const KnowledgeFile<PlantSymptomRecord> f(root.resolve(kPlantSymptomFile));
    int i = 0;
    for (std::int64_t k = 1, n = f.count(); k < n; ++k) {
        const PlantSymptomRecord r = f.read(k);
        if (trimmed(r.plant) != c.plant) continue;
        c.primary = r.primarySignature;
        c.secondary = r.secondarySignature;
        c.zodiac = r.zodiacSignature;
        c.synthesis = r.synthesis;
        const int page = std::min(3, i / kPlantPageLines);
        c.pages[static_cast<std::size_t>(page)].emplace_back(r.symptom + dashes, r.authors + dashes);
        c.pageCount = std::max(c.pageCount, page + 1);
        ++i;
    }
    return c;
}

SymptomConsultation consultPlantSymptom(const DataRoot& root, std::string_view symptom) {
    SymptomConsultation c;
    c.symptom = trimmed(symptom);
    const KnowledgeFile<PlantSymptomRecord> f(root.resolve(kPlantSymptomFile));
    std::optional<std::string> alternative;
    for (std::int64_t k = 1, n = f.count(); k < n; ++k) {
        const PlantSymptomRecord r = f.read(k);
        if (trimmed(r.symptom) != c.symptom) continue;
        if (trimmed(r.plant).empty()) {
            alternative = r.authors;
            continue;
        }
        c.plants.push_back({trimmed(r.plant) + std::string(40, '-'), r.synthesis, zeroPadded(k, 4), k});
        c.details = {r.plant, r.primarySignature, r.secondarySignature, r.zodiacSignature, r.authors};
    }
    if (c.plants.empty()) c.alternative = alternative;
    return c;
}

PlantDetails plantDetails(const DataRoot& root, std::int64_t record) {
    const PlantSymptomRecord r = KnowledgeFile<PlantSymptomRecord>(root.resolve(kPlantSymptomFile)).read(record);
    return {r.plant, r.primarySignature, r.secondarySignature, r.zodiacSignature, r.authors};
}

}  // namespace athanor
