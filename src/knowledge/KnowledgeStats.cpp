#include "knowledge/KnowledgeStats.h"

#include "knowledge/KnowledgeText.h"
#include "knowledge/RecordScan.h"

#include <unordered_set>

namespace athanor {

KnowledgeStats knowledgeStats(const DataRoot& root) {
    KnowledgeStats s;
    std::unordered_set<std::string> names, symptoms, pathologies, plants;
    RecordScanner remedies(root.resolve(kRemedyDatabaseFile), RemedyRecord::kSize);
    remedies.forEach(
        [&](std::int64_t, const std::uint8_t* r) {
            ++s.remedyRecords;
            const std::string_view name = trimmedBlanks(remedyName(r));
            if (!name.empty()) names.emplace(name);
            std::string symptom = trailingTrimmed(remedyIndication(r));
            if (!symptom.empty()) symptoms.insert(std::move(symptom));
            return true;
        },
        1);
    RecordScanner repertory(root.resolve(kRepertoryFile), TherapyRecord::kSize);
    repertory.forEach(
        [&](std::int64_t, const std::uint8_t* r) {
            ++s.repertoryRecords;
            if (!therapyPathology(r).empty()) pathologies.emplace(therapyPathology(r));
            return true;
        },
        1);
    RecordScanner plantFile(root.resolve(kPlantSymptomFile), PlantSymptomRecord::kSize);
    plantFile.forEach(
        [&](std::int64_t, const std::uint8_t* r) {
            ++s.plantSymptomRecords;
            const std::string_view plant = trimmedBlanks(plantName(r));
            if (!plant.empty()) plants.emplace(plant);
            return true;
        },
        1);
    s.remedies = static_cast<std::int64_t>(names.size());
    s.symptoms = static_cast<std::int64_t>(symptoms.size());
    s.pathologies = static_cast<std::int64_t>(pathologies.size());
    s.plants = static_cast<std::int64_t>(plants.size());
    return s;
}

}  // namespace athanor
