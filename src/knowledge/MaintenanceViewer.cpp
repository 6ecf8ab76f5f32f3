#include "knowledge/MaintenanceViewer.h"

#include "knowledge/RecordScan.h"
#include "knowledge/TextLists.h"

namespace athanor {

namespace {
constexpr const char* kNoPlant = "XXXX";
constexpr std::size_t kPlantColumn = 20;
}  // namespace

std::vector<std::string> maintenanceList(const DataRoot& root, bool sorted) {
    std::vector<std::string> entries;
    RecordScanner(root.resolve(kPlantSymptomFile), PlantSymptomRecord::kSize)
        .forEach(
            [&](std::int64_t, const std::uint8_t* r) {
                std::string plant(trimmedBlanks(plantName(r)));
                if (plant.empty()) plant = kNoPlant;
                plant.resize(std::max(plant.size(), kPlantColumn), ' ');
                entries.push_back(plant + std::string(trimmedBlanks(plantSymptom(r))));
                return true;
            },
            1);
    return sorted ? sortedAscending(std::move(entries)) : entries;
}

std::optional<PlantSymptomRecord> maintenanceRecord(const DataRoot& root, bool sorted,
                                                    const std::vector<std::string>& list, int index) {
    if (index < 0 || index >= static_cast<int>(list.size())) return std::nullopt;
    const KnowledgeFile<PlantSymptomRecord> file(root.resolve(kPlantSymptomFile));
    if (!sorted) {
        if (index + 1 >= file.count()) return std::nullopt;
        return file.read(index + 1);
    }
    const std::string_view entry = list[static_cast<std::size_t>(index)];
    const std::string_view plant = trimmedBlanks(entry.substr(0, kPlantColumn));
    // The list shows "XXXX" for a record without a plant, so "XXXX" also finds the empty
    // plant (otherwise such an entry would never find its record).
    auto samePlant = [&](std::string_view p) { return p == plant || (plant == kNoPlant && p.empty()); };
    const std::string_view symptom = entry.size() > kPlantColumn ? trimmedBlanks(entry.substr(kPlantColumn)) : "";
    std::optional<PlantSymptomRecord> found;
    RecordScanner(file.path(), PlantSymptomRecord::kSize)
        .forEach(
            [&](std::int64_t, const std::uint8_t* r) {
                if (!samePlant(trimmedBlanks(plantName(r))) || trimmedBlanks(plantSymptom(r)) != symptom) return true;
                found = PlantSymptomRecord::decode(r);
                return false;
            },
            1);
    return found;
}

}  // namespace athanor
