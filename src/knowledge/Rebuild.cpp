#include "knowledge/Rebuild.h"

#include "foundations/FolderLock.h"
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
#include <unordered_map>

namespace athanor {

namespace {

// Texts sorted as sortedAscending sorts them, with each text's collation key computed
// once however many lists it enters.
class KeyedTexts {
public:
    // Texts that repeat a lot (the names of the records) share one key per distinct text.
    explicit KeyedTexts(bool repeated = false) : repeated_(repeated) {}

    std::size_t add(std::string text) {
        if (!repeated_) {
            keys_.push_back(collationKey(text));
        } else {
            const auto [it, fresh] = firstOf_.try_emplace(text, texts_.size());
            keys_.push_back(fresh ? collationKey(text) : keys_[it->second]);
        }
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
    bool repeated_;
    std::unordered_map<std::string, std::size_t> firstOf_;
};

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

// The files of one rebuild, written into one batch: nothing takes its name before every
// file has been written.
class Output {
public:
    Output(const DataRoot& root, FileBatch& batch, const RebuildProgress& progress)
        : root_(root), batch_(batch), progress_(progress) {}

    void lines(std::string_view relative, const std::vector<std::string>& lines) {
        file(relative).write(linesText(lines));
    }
    template <class R>
    void records(std::string_view relative, const std::vector<R>& records) {
        FileReplacement& out = file(relative);
        for (const auto& r : records) out.write(r.encode());
    }
    void bytes(std::string_view relative, std::span<const std::uint8_t> b) { file(relative).write(b); }

private:
    FileReplacement& file(std::string_view relative) {
        if (progress_) progress_(relative);
        return batch_.add(root_.resolveForWriting(relative));
    }

    const DataRoot& root_;
    FileBatch& batch_;
    const RebuildProgress& progress_;
};

// A signature list: the names of the given records, already in ascending order, a name
// equal to the previous one skipped, one record each from record 0.
template <class NameRec>
std::vector<NameRec> signatureList(const KeyedTexts& names, const std::vector<std::size_t>& ids) {
    std::vector<NameRec> records;
    std::string previous = "0";
    for (std::size_t id : ids) {
        const std::string& name = names.text(id);
        if (name == previous) continue;
        previous = name;
        records.push_back(NameRec{name.substr(0, NameRec::kCapacity)});
    }
    return records;
}

std::filesystem::path existing(const DataRoot& root, std::string_view relative) {
    auto path = root.resolve(relative);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) throw FileError(path, "No such file or directory");
    return path;
}

std::string planetStem(std::size_t i) { return kPlanetSignatureLists[i].stem; }
std::string plantListFile(std::string_view stem) { return "OpzioneS\\" + std::string(stem) + ".rnd"; }

void remedyLists(const DataRoot& root, Output& out, RebuildSummary& summary) {
    KeyedTexts byIndication, byName, names(true);
    std::vector<std::string> primary, zodiac;
    RecordScanner(existing(root, kRemedyDatabaseFile), RemedyRecord::kSize)
        .forEach(
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

    const auto symptoms = firstColumn(byIndication);
    out.lines(kSymptomListFile, symptoms);
    summary.symptoms = symptoms.size();

    const auto remedies = firstColumn(byName);
    out.lines(kRemedyListFile, remedies);
    summary.remedies = remedies.size();
    out.bytes(kSearchCountersFile, zeroCounterFile(remedies));

    // The names sorted once; each list takes its records in that order (the same order as
    // sorting each list on its own, for fewer comparisons).
    const std::vector<std::size_t> nameOrder = names.sortedAll();
    auto listOf = [&](const std::vector<std::string>& field, std::string_view key) {
        std::vector<std::size_t> ids;
        for (std::size_t i : nameOrder)
            if (field[i].find(key) != std::string::npos) ids.push_back(i);
        return signatureList<NameRecord>(names, ids);
    };
    for (std::size_t p = 0; p < kPlanetSignatureLists.size(); ++p)
        out.records(signatureListFile(planetStem(p)), listOf(primary, kPlanetSignatureLists[p].key));
    for (int s = 1; s <= 12; ++s) out.records(signatureListFile(signName(s)), listOf(zodiac, signName(s)));

    std::vector<std::string> withAliases;
    for (const auto& line : remedies) {
        withAliases.push_back(line);
        for (auto& alias : aliasLines(line)) withAliases.push_back(std::move(alias));
    }
    withAliases = sortedAscending(std::move(withAliases));
    out.lines(kRemedyAliasListFile, withAliases);
    summary.remedyLines = withAliases.size();
}

void repertoryLists(const DataRoot& root, Output& out, RebuildSummary& summary) {
    std::vector<std::string> pathologies;
    RecordScanner(existing(root, kRepertoryFile), TherapyRecord::kSize)
        .forEach(
            [&](std::int64_t, const std::uint8_t* r) {
                pathologies.emplace_back(therapyPathology(r));
                return true;
            },
            1);
    pathologies = sortedWithoutRepetitions(std::move(pathologies));
    out.lines(kPathologyListFile, pathologies);
    summary.pathologies = pathologies.size();

    // As the composite-therapy window writes them when it opens.
    const auto remedies = repertoryRemedies(root);
    out.lines(kRepertoryRemedyListFile, remedies);
    out.bytes(kTherapyCountersFile, zeroCounterFile(remedies));
    summary.repertoryRemedies = remedies.size();
}

void plantLists(const DataRoot& root, Output& out, RebuildSummary& summary) {
    KeyedTexts plants(true);
    std::vector<std::string> symptoms, primary, zodiac;
    RecordScanner(existing(root, kPlantSymptomFile), PlantSymptomRecord::kSize)
        .forEach(
            [&](std::int64_t, const std::uint8_t* r) {
                plants.add(std::string(trimmedBlanks(plantName(r))));
                symptoms.emplace_back(trimmedBlanks(plantSymptom(r)));
                primary.emplace_back(fieldView(r, plant_field::kPrimarySignature, 15));
                zodiac.emplace_back(fieldView(r, plant_field::kZodiacSignature, 70));
                return true;
            },
            1);

    auto withoutEmpty = [](std::vector<std::string> v) {
        std::erase(v, std::string());
        return sortedWithoutRepetitions(std::move(v));
    };
    std::vector<std::string> plantNames;
    for (std::size_t i = 0; i < plants.size(); ++i) plantNames.push_back(plants.text(i));
    plantNames = withoutEmpty(std::move(plantNames));
    std::vector<PlantNameRecord> plantRecords(1);
    for (const auto& p : plantNames) plantRecords.push_back({p});
    out.records(kPlantNamesFile, plantRecords);
    summary.plants = plantNames.size();

    symptoms = withoutEmpty(std::move(symptoms));
    std::vector<SymptomNameRecord> symptomRecords(1);
    for (const auto& s : symptoms) symptomRecords.push_back({s});
    out.records(kPlantSymptomNamesFile, symptomRecords);
    summary.plantSymptoms = symptoms.size();

    const std::vector<std::size_t> plantOrder = plants.sortedAll();
    auto listOf = [&](const std::vector<std::string>& field, std::string_view key) {
        std::vector<std::size_t> ids;
        for (std::size_t i : plantOrder)
            if (!plants.text(i).empty() && field[i].find(key) != std::string::npos) ids.push_back(i);
        return signatureList<PlantNameRecord>(plants, ids);
    };
    for (std::size_t p = 0; p < kPlanetSignatureLists.size(); ++p)
        out.records(plantListFile(planetStem(p)), listOf(primary, kPlanetSignatureLists[p].key));
    for (int s = 1; s <= 12; ++s) out.records(plantListFile(signName(s)), listOf(zodiac, signName(s)));
}

template <class Part>
void rebuildPart(const DataRoot& root, RebuildSummary& summary, const RebuildProgress& progress, Part part) {
    FileBatch batch;
    Output out(root, batch, progress);
    part(root, out, summary);
    batch.commit();
}

}  // namespace

void rebuildRemedyLists(const DataRoot& root, RebuildSummary& summary, const RebuildProgress& progress) {
    rebuildPart(root, summary, progress, remedyLists);
}

void rebuildRepertoryLists(const DataRoot& root, RebuildSummary& summary, const RebuildProgress& progress) {
    rebuildPart(root, summary, progress, repertoryLists);
}

void rebuildPlantLists(const DataRoot& root, RebuildSummary& summary, const RebuildProgress& progress) {
    rebuildPart(root, summary, progress, plantLists);
}

RebuildSummary rebuildDerivedFiles(const DataRoot& root, const RebuildProgress& progress) {
    const FolderLock lock(root.root());
    for (const char* file : {kRemedyDatabaseFile, kRepertoryFile, kPlantSymptomFile}) (void)existing(root, file);
    RebuildSummary summary;
    rebuildPart(root, summary, progress, [](const DataRoot& r, Output& out, RebuildSummary& s) {
        remedyLists(r, out, s);
        repertoryLists(r, out, s);
        plantLists(r, out, s);
    });
    return summary;
}

}  // namespace athanor
