#pragma once
#include "knowledge/KnowledgeRecords.h"

#include <filesystem>
#include <string>
#include <vector>

namespace athanor::starter {

// The starter knowledge base, composed from the tables in tools/gen-knowledge/tables
// (docs/knowledge-base.md says what each holds and the rules they follow).
struct StarterBase {
    // Record 0 of DBmain.rnd. Its name carries "Errore" so that the remedy lists that
    // read from record 0 leave it out; the other two files have a blank record 0.
    RemedyRecord reservedRemedy;
    // Records 1 to the last of OpzioneH\DBmain.rnd, OpzioneH\Repertorio.rnd and
    // OpzioneS\DataQvl.rnd.
    std::vector<RemedyRecord> remedies;
    std::vector<TherapyRecord> repertory;
    std::vector<PlantSymptomRecord> plantSymptoms;
    std::vector<std::string> principles;          // Principi.txt
    std::vector<std::string> updateText;          // Appoggio\Aggiorna1.txt
    std::vector<std::string> personalUpdateText;  // Appoggio\Aggiorna2.txt
};

inline constexpr const char* kUpdateTextFile = "Appoggio\\Aggiorna1.txt";
inline constexpr const char* kPersonalUpdateTextFile = "Appoggio\\Aggiorna2.txt";

// Reads the tables and composes every record; TableError names the file and line of the
// first fault (an unknown key, a text beyond its field, a signature outside the names
// the searches know, an indication no plant of the remedy supports...).
StarterBase buildStarterBase(const std::filesystem::path& tablesDir);

// Writes the three record files, the principles and the update texts below the program
// folder `out`; each file is replaced whole.
void writePrimaryFiles(const StarterBase& base, const std::filesystem::path& out);

// buildStarterBase and writePrimaryFiles, then every derived list by the rebuild the
// editors use (knowledge/Rebuild.h). Lists are sorted in the Spanish order whatever the
// caller's locale, so that every run writes the same bytes.
StarterBase generateStarterBase(const std::filesystem::path& tablesDir, const std::filesystem::path& out);

}  // namespace athanor::starter
