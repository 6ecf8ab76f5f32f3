#pragma once
#include "foundations/DataRoot.h"
#include "knowledge/KnowledgeRecords.h"

#include <optional>
#include <string>
#include <vector>

namespace athanor {

// The maintenance viewer of OpzioneS\DataQvl.rnd: one entry per record from 1, the plant
// (trailing blanks trimmed, "XXXX" when empty) padded to 20 characters and the symptom
// (trimmed), in record order or sorted. It writes nothing.
std::vector<std::string> maintenanceList(const DataRoot& root, bool sorted);

// The record an entry stands for. In record order the entry at index i is record i + 1;
// sorted, the first record whose trimmed plant and symptom equal the entry's first 20
// characters and its characters 21 on, both trimmed ("XXXX" standing for an empty plant).
std::optional<PlantSymptomRecord> maintenanceRecord(const DataRoot& root, bool sorted,
                                                    const std::vector<std::string>& list, int index);

}  // namespace athanor
