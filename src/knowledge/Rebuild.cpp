#include "knowledge/Rebuild.h"

#include "foundations/Collation.h"
#include "foundations/FileError.h"
#include "foundations/Format.h"
#include "knowledge/FileReplacement.h"
#include "knowledge/KnowledgeRecords.h"
#include "knowledge/KnowledgeText.h"
#include "knowledge/Rankings.h"
#include "knowledge/RecordScan.h"
#include "knowledge/Signatures.h"
#include "knowledge/TextLists.h"

#include <algorithm>
#include <numeric>

namespace athanor {

namespace {

// Texts sorted as sortedAscending sorts them, with each text's collation key computed
// once however many lists it enters.
class KeyedTexts {
public:
    std::size_t add(std::string text) {
        keys_.push_back(collationKey(text));
        texts_.push_back(std::move(text));
        return texts_.size() - 1;
    }
    const std::string& text(std::size_t i) const { return texts_[i]; }
    std::size_t size() const { return texts_.size(); }

    void sort(std::vector<std::size_t>& ids) const {
        std::sort(ids.begin(), ids.end(), [&](std::size_t a, std::size_t b) {
            if (const int c = keys_[a].compare(keys_[b]); c != 0) return c < 0;
            return texts_[a] < texts_[b];
        });
    }
    std::vector<std::size_t> sortedAll() const {
        std::vector<std::size_t> ids(texts_.size());
        std::iota(ids.begin(), ids.end(), std::size_t{0});
        sort(ids);
        return ids;
    }

private:
    std::vector<std::string> keys_;
    std::vector<std::string> texts_;
};

void tell(const RebuildProgress& progress, std::string_view file) {
    if (progress) progress(file);
}

std::string beforeFirstStar(const std::string& entry) { return entry.substr(0, entry.find('*')); }

// The list of the editor in one of its orders, walked as its rebuild walks it: the text
// before the first "*" of each entry, trailing-character trimmed, written when it differs
// from the text written last. Every entry counts, the first included; an empty text is
// no symptom or remedy and is left out.
std::vector<std::string> firstColumn(const KeyedTexts& entries) {
    std::vector<std::string> lines;
    for (std::size_t id : entries.sortedAll()) {
        std::string text = beforeFirstStar(entries.text(id));
        trimTrailingCharacters(text);
        if (text.empty() || (!lines.empty() && lines.back() == text)) continue;
        lines.push_back(std::move(text));
    }
    return lines;
}

template <class R>
void replaceRecords(const std::filesystem::path& file, const std::vector<R>& records) {
    FileReplacement out(file);
    for (const auto& r : records) out.write(r.encode());
    out.commit();
}

// A signature list: the names of the given records in ascending order, a name equal to
// the previous one skipped, one record each from record 0.
template <class NameRec>
void writeSignatureList(const std::filesystem::path& file, const KeyedTexts& names, std::vector<std::size_t> ids) {
    names.sort(ids);
    std::vector<NameRec> records;
    std::string previous = "0";
    for (std::size_t id : ids) {
        const std::string& name = names.text(id);
        if (name == previous) continue;
        previous = name;
        records.push_back(NameRec{name.substr(0, NameRec::kCapacity)});
    }
    replaceRecords(file, records);
}

std::filesystem::path target(const DataRoot& root, std::string_view relative, const RebuildProgress& progress) {
    tell(progress, relative);
    return root.resolveForWriting(relative);
}

std::filesystem::path existing(const DataRoot& root, std::string_view relative) {
    auto path = root.resolve(relative);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) throw FileError(path, "No such file or directory");
    return path;
}

std::vector<CounterRecord> zeroCounters(const std::vector<std::string>& names) {
    std::vector<CounterRecord> counters;
    counters.reserve(names.size());
    for (const auto& n : names) counters.push_back({n.substr(0, 50), 0});
    return counters;
}

std::string planetStem(std::size_t i) { return kPlanetSignatureLists[i].stem; }

}  // namespace

void rebuildRemedyLists(const DataRoot& root, RebuildSummary& summary, const RebuildProgress& progress) {
    KeyedTexts byIndication, byName, names;
    std::vector<std::string> primary, zodiac;
    {
        RecordScanner scan(existing(root, kRemedyDatabaseFile), RemedyRecord::kSize);
        scan.forEach(
            [&](std::int64_t, const std::uint8_t* r) {
                const std::string name(remedyName(r));
                const std::string indication = remedyIndication(r);
                byIndication.add(indication + "**" + name);
                byName.add(name + "**" + indication);
                names.add(name);
                primary.emplace_back(remedyPrimary(r));
                zodiac.emplace_back(remedyZodiac(r));
                return true;
            },
            1);
    }

    const auto symptoms = firstColumn(byIndication);
    replaceLines(target(root, kSymptomListFile, progress), symptoms);
    summary.symptoms = symptoms.size();

    const auto remedies = firstColumn(byName);
    replaceLines(target(root, kRemedyListFile, progress), remedies);
    summary.remedies = remedies.size();
    replaceRecords(target(root, kSearchCountersFile, progress), zeroCounters(remedies));

    auto listOf = [&](const std::vector<std::string>& field, std::string_view key) {
        std::vector<std::size_t> ids;
        for (std::size_t i = 0; i < field.size(); ++i)
            if (field[i].find(key) != std::string::npos) ids.push_back(i);
        return ids;
    };
    for (std::size_t p = 0; p < kPlanetSignatureLists.size(); ++p)
        writeSignatureList<NameRecord>(target(root, signatureListFile(planetStem(p)), progress), names,
                                       listOf(primary, kPlanetSignatureLists[p].key));
    for (int s = 1; s <= 12; ++s)
        writeSignatureList<NameRecord>(target(root, signatureListFile(signName(s)), progress), names,
                                       listOf(zodiac, signName(s)));

    std::vector<std::string> withAliases;
    for (const auto& line : remedies) {
        withAliases.push_back(line);
        for (auto& alias : aliasLines(line)) withAliases.push_back(std::move(alias));
    }
    withAliases = sortedAscending(std::move(withAliases));
    replaceLines(target(root, kRemedyAliasListFile, progress), withAliases);
    summary.remedyLines = withAliases.size();
}

void rebuildRepertoryLists(const DataRoot& root, RebuildSummary& summary, const RebuildProgress& progress) {
    std::vector<std::string> pathologies;
    {
        RecordScanner scan(existing(root, kRepertoryFile), TherapyRecord::kSize);
        scan.forEach(
            [&](std::int64_t, const std::uint8_t* r) {
                pathologies.emplace_back(therapyPathology(r));
                return true;
            },
            1);
    }
    pathologies = sortedWithoutRepetitions(std::move(pathologies));
    replaceLines(target(root, kPathologyListFile, progress), pathologies);
    summary.pathologies = pathologies.size();

    // As the composite-therapy window writes them when it opens.
    tell(progress, kRepertoryRemedyListFile);
    tell(progress, kTherapyCountersFile);
    summary.repertoryRemedies = writeRepertoryRemedies(root).size();
}

void rebuildPlantLists(const DataRoot& root, RebuildSummary& summary, const RebuildProgress& progress) {
    KeyedTexts plants;
    std::vector<std::string> symptoms, primary, zodiac;
    {
        RecordScanner scan(existing(root, kPlantSymptomFile), PlantSymptomRecord::kSize);
        scan.forEach(
            [&](std::int64_t, const std::uint8_t* r) {
                plants.add(std::string(trimmedBlanks(plantName(r))));
                symptoms.emplace_back(trimmedBlanks(plantSymptom(r)));
                primary.emplace_back(fieldView(r, plant_field::kPrimarySignature, 15));
                zodiac.emplace_back(fieldView(r, plant_field::kZodiacSignature, 70));
                return true;
            },
            1);
    }

    auto withoutEmpty = [](std::vector<std::string> v) {
        std::erase(v, std::string());
        return sortedWithoutRepetitions(std::move(v));
    };
    std::vector<std::string> plantNames;
    for (std::size_t i = 0; i < plants.size(); ++i) plantNames.push_back(plants.text(i));
    plantNames = withoutEmpty(std::move(plantNames));
    std::vector<PlantNameRecord> plantRecords(1);
    for (const auto& p : plantNames) plantRecords.push_back({p});
    replaceRecords(target(root, kPlantNamesFile, progress), plantRecords);
    summary.plants = plantNames.size();

    symptoms = withoutEmpty(std::move(symptoms));
    std::vector<SymptomNameRecord> symptomRecords(1);
    for (const auto& s : symptoms) symptomRecords.push_back({s});
    replaceRecords(target(root, kPlantSymptomNamesFile, progress), symptomRecords);
    summary.plantSymptoms = symptoms.size();

    auto listOf = [&](const std::vector<std::string>& field, std::string_view key) {
        std::vector<std::size_t> ids;
        for (std::size_t i = 0; i < field.size(); ++i)
            if (!plants.text(i).empty() && field[i].find(key) != std::string::npos) ids.push_back(i);
        return ids;
    };
    auto plantListFile = [](std::string_view stem) { return "OpzioneS\\" + std::string(stem) + ".rnd"; };
    for (std::size_t p = 0; p < kPlanetSignatureLists.size(); ++p)
        writeSignatureList<PlantNameRecord>(target(root, plantListFile(planetStem(p)), progress), plants,
                                            listOf(primary, kPlanetSignatureLists[p].key));
    for (int s = 1; s <= 12; ++s)
        writeSignatureList<PlantNameRecord>(target(root, plantListFile(signName(s)), progress), plants,
                                            listOf(zodiac, signName(s)));
}

RebuildSummary rebuildDerivedFiles(const DataRoot& root, const RebuildProgress& progress) {
    for (const char* file : {kRemedyDatabaseFile, kRepertoryFile, kPlantSymptomFile}) (void)existing(root, file);
    RebuildSummary summary;
    rebuildRemedyLists(root, summary, progress);
    rebuildRepertoryLists(root, summary, progress);
    rebuildPlantLists(root, summary, progress);
    return summary;
}

}  // namespace athanor
