#pragma once
#include "foundations/DataRoot.h"

#include <cstdint>

namespace athanor {

// What the knowledge base holds, counted from its three record files (records 1 on).
struct KnowledgeStats {
    std::int64_t remedies = 0;             // distinct remedy names (trailing blanks aside)
    std::int64_t remedyRecords = 0;        // records of DBmain.rnd
    std::int64_t repertoryRecords = 0;     // records of Repertorio.rnd
    std::int64_t pathologies = 0;          // distinct pathologies of the repertory
    std::int64_t plantSymptomRecords = 0;  // records of OpzioneS\DataQvl.rnd
    std::int64_t plants = 0;               // distinct plant names of DataQvl.rnd, empty ones aside
    std::int64_t symptoms = 0;             // distinct symptoms of the remedy database: indications
                                           // trailing-character trimmed, empty ones aside
};

// FileError when one of the three record files is missing.
KnowledgeStats knowledgeStats(const DataRoot& root);

}  // namespace athanor
