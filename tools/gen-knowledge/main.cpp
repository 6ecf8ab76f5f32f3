// Writes the starter knowledge base from the tables kept beside this generator.
//
//   gen-knowledge --tables tools/gen-knowledge/tables --out data
//
// A fault in a table stops it before anything is written, naming the file and the line.

#include "SourceTables.h"
#include "StarterBase.h"

#include "foundations/FileError.h"

#include <iostream>
#include <string>

int main(int argc, char* argv[]) {
    if (argc != 5 || std::string(argv[1]) != "--tables" || std::string(argv[3]) != "--out") {
        std::cerr << "usage: gen-knowledge --tables TABLES_FOLDER --out DATA_FOLDER\n";
        return 2;
    }
    try {
        const auto base = athanor::starter::generateStarterBase(argv[2], argv[4]);
        std::cout << base.remedies.size() << " remedy records, " << base.repertory.size() << " repertory records, "
                  << base.plantSymptoms.size() << " plant-symptom records\n";
    } catch (const athanor::starter::TableError& e) {
        std::cerr << e.what() << "\n";
        return 1;
    } catch (const athanor::FileError& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
