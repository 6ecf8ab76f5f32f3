#pragma once
#include "knowledge/KnowledgeRecords.h"

#include <string>
#include <vector>

namespace athanor {

// From the weaknesses of one chart to the remedies of the base that answer them, by the
// weakness window's own rule: a remedy answers a weakness (planet P, weakened sign W) when
// its signature answers P and the sign opposite W.

struct ChartWeakness {
    std::string planet;        // criterion as the weakness window gives it: "Sol" .. "Saturno" (Windows-1252)
    std::string weakenedSign;  // "Aries" .. "Piscis", the sign the planet stands in
    std::string reason;        // in words, Spanish (Windows-1252)
};

struct RemedyForChart {
    std::string name;                      // trailing blanks trimmed
    RemedyRecord record;                   // the first record that carries the name and answers
    std::vector<int> answers;              // indices into the weaknesses, ascending
    std::vector<std::string> pathologies;  // of the repertory, sorted, once each
};

// Every remedy of the database that answers at least one weakness, ranked by how many it
// answers, ties by name. Records are read from 0, as the weakness window's pathology
// search does; a name that repeats counts once. FileError on a missing or damaged file.
std::vector<RemedyForChart> remediesForWeaknesses(const KnowledgeFile<RemedyRecord>& database,
                                                  const KnowledgeFile<TherapyRecord>& repertory,
                                                  const std::vector<ChartWeakness>& weaknesses);

}  // namespace athanor
