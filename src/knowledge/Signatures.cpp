#include "knowledge/Signatures.h"

#include "foundations/Format.h"
#include "foundations/TextFile.h"
#include "knowledge/RecordScan.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

namespace athanor {

const std::array<const char*, 9> kSignaturePlanets = {"Sol",        "Luna",    "Mercurio",  "Venus",  "Marte",
                                                      "J\xFApiter", "Saturno", "NodoNorte", "NodoSur"};

const std::array<SignatureList, 9> kPlanetSignatureLists = {{
    {"SolePri", "Sol"},
    {"LunaPri", "Luna"},
    {"MercPri", "Mercurio"},
    {"VenePri", "Venus"},
    {"MartPri", "Marte"},
    {"GiovPri", "J\xFApiter"},
    {"SatuPri", "Saturno"},
    {"NodNPri", "NodoNort"},
    {"NodSPri", "NodoSur"},
}};

namespace {

bool any(std::string_view criterion) { return criterion == kAnyCriterion; }
bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

}  // namespace

bool answersSignature(const RemedyRecord& r, std::string_view planet, std::string_view sign) {
    const bool planetOk = any(planet) || contains(r.primarySignature, planet) || contains(r.secondarySignature, planet);
    return planetOk && (any(sign) || contains(r.zodiacSignature, sign));
}

bool answersSignatureAt(const std::uint8_t* r, std::string_view planet, std::string_view sign) {
    const bool planetOk = any(planet) || contains(remedyPrimary(r), planet) || contains(remedySecondary(r), planet);
    return planetOk && (any(sign) || contains(remedyZodiac(r), sign));
}

std::string signSearchedForWeakness(std::string_view weakened) {
    if (any(weakened)) return kAnyCriterion;
    for (int s = 1; s <= 12; ++s)
        if (weakened == signName(s)) return signName((s + 5) % 12 + 1);
    return {};
}

std::vector<RemedyRecord> signatureSearch(const KnowledgeFile<RemedyRecord>& database,
                                          const std::vector<RemedyNameEntry>& list,
                                          const std::vector<std::int64_t>& numbers, std::string_view planet,
                                          std::string_view sign) {
    // One pass over the file instead of one read per entry: each record is judged for
    // the entries whose line names it, and the finds are kept in list order.
    const std::int64_t count = database.count();
    std::unordered_multimap<std::int64_t, std::size_t> entriesOf;
    for (std::size_t i = 0; i < list.size() && i < numbers.size(); ++i)
        if (numbers[i] >= 0 && numbers[i] < count) entriesOf.emplace(numbers[i], i);
    std::vector<std::optional<RemedyRecord>> byEntry(list.size());
    if (!entriesOf.empty()) {
        RecordScanner scan(database.path(), RemedyRecord::kSize);
        scan.forEach([&](std::int64_t k, const std::uint8_t* bytes) {
            const auto [from, to] = entriesOf.equal_range(k);
            if (from == to || !answersSignatureAt(bytes, planet, sign)) return true;
            for (auto it = from; it != to; ++it)
                if (trimmedBlanks(remedyName(bytes)) == list[it->second].name)
                    byEntry[it->second] = RemedyRecord::decode(bytes);
            return true;
        });
    }
    std::vector<RemedyRecord> found;
    for (auto& r : byEntry)
        if (r) found.push_back(std::move(*r));
    return found;
}

void writeSignatureResults(const std::filesystem::path& path, const std::vector<RemedyRecord>& found) {
    std::vector<std::string> lines;
    lines.reserve(found.size() * 4);
    for (const auto& r : found) {
        lines.push_back(r.name);
        lines.push_back(r.primarySignature);
        lines.push_back(r.secondarySignature);
        lines.push_back(r.zodiacSignature);
    }
    writeLines(path, lines);
}

int signaturePageCount(std::size_t found) { return static_cast<int>((found + kSignatureRows - 1) / kSignatureRows); }

std::vector<SignatureRow> readSignaturePage(const std::filesystem::path& path, int page) {
    const auto lines = readLines(path);
    std::vector<SignatureRow> rows;
    if (page < 1) return rows;
    const std::size_t from = static_cast<std::size_t>(page - 1) * kSignatureRows * 4;
    for (std::size_t i = from; i + 3 < lines.size() && rows.size() < kSignatureRows; i += 4)
        rows.push_back({lines[i], lines[i + 1], lines[i + 2], lines[i + 3]});
    return rows;
}

std::vector<std::string> pathologiesForSignature(const KnowledgeFile<RemedyRecord>& database,
                                                 const KnowledgeFile<TherapyRecord>& repertory, std::string_view planet,
                                                 std::string_view sign) {
    std::vector<std::string> names;
    RecordScanner(database.path(), RemedyRecord::kSize).forEach([&](std::int64_t, const std::uint8_t* r) {
        if (answersSignatureAt(r, planet, sign)) names.emplace_back(remedyName(r));
        return true;
    });
    // One pass over the repertory instead of one per remedy: the same pathologies result.
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    std::vector<std::string> pathologies;
    std::string remedy;
    RecordScanner(repertory.path(), TherapyRecord::kSize).forEach([&](std::int64_t, const std::uint8_t* t) {
        remedy.assign(therapyRemedy(t));
        if (std::binary_search(names.begin(), names.end(), remedy)) pathologies.emplace_back(therapyPathology(t));
        return true;
    });
    return sortedWithoutRepetitions(std::move(pathologies));
}

std::vector<std::string> markedRemediesForPathology(const KnowledgeFile<RemedyRecord>& database,
                                                    const KnowledgeFile<TherapyRecord>& repertory,
                                                    std::string_view pathology, std::string_view planet,
                                                    std::string_view sign) {
    std::vector<std::string> remedies;
    RecordScanner(repertory.path(), TherapyRecord::kSize)
        .forEach(
            [&](std::int64_t, const std::uint8_t* t) {
                if (therapyPathology(t) == pathology) remedies.emplace_back(therapyRemedy(t));
                return true;
            },
            1);
    remedies = sortedAscending(std::move(remedies));
    // The names (as stored and upper-cased) of the database records that answer.
    std::vector<std::string> answering;
    RecordScanner(database.path(), RemedyRecord::kSize)
        .forEach(
            [&](std::int64_t, const std::uint8_t* r) {
                if (!answersSignatureAt(r, planet, sign)) return true;
                answering.emplace_back(remedyName(r));
                answering.push_back(upperCased(remedyName(r)));
                return true;
            },
            1);
    std::sort(answering.begin(), answering.end());
    for (auto& remedy : remedies)
        if (std::binary_search(answering.begin(), answering.end(), remedy)) remedy = ">>> " + remedy + " <<<";
    return remedies;
}

std::string signatureListFile(std::string_view stem) { return "OpzioneH\\" + std::string(stem) + ".rnd"; }

}  // namespace athanor
