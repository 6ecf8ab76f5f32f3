// The knowledge-base record files, read by the consultation windows, the searches and the
// statistics; the input names what is searched for.
#include "../FuzzSupport.h"
#include "../Targets.h"

#include "foundations/FileError.h"
#include "knowledge/Consultation.h"
#include "knowledge/KnowledgeRecords.h"
#include "knowledge/KnowledgeStats.h"
#include "knowledge/Signatures.h"
#include "knowledge/TextLists.h"

namespace athanor::fuzz {

void knowledgeRecords(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const std::uint8_t ask = in.byte();
    const std::string wanted = in.part();
    const Scratch& s = Scratch::fresh();
    s.write(kRemedyDatabaseFile, in.part());
    s.write(kRepertoryFile, in.part());
    s.write(kPlantSymptomFile, in.part());
    s.write(kPlantNamesFile, in.part());
    s.write(kPlantSymptomNamesFile, in.part());
    const DataRoot& root = s.root();
    // The statistics zero a large read buffer: asked for now and then, they would otherwise
    // take most of the short pass.
    if ((ask & 0x0C) == 0x0C) {
        try {
            (void)knowledgeStats(root);
        } catch (const FileError&) {
        }
    }
    try {
        switch (ask % 4) {
        case 0: {
            const Matches m = findSymptom(root, wanted);
            for (const auto& row : symptomRows(root, m.records)) (void)row;
            const Matches r = findRemedy(root, wanted);
            for (const auto& row : remedyRows(root, r.records)) (void)row;
            if (r.last >= 0) {
                const RemedyRecord last = KnowledgeFile<RemedyRecord>(root.resolve(kRemedyDatabaseFile)).read(r.last);
                (void)remedyHeader(last, wanted);
                for (int step = 0; step < 3; ++step) (void)remedyRowNote(last, step);
            }
            break;
        }
        case 1: {
            const Matches t = findTherapy(root, wanted);
            for (const auto& row : therapyRows(root, t.records)) (void)row;
            (void)therapyRemedyWarnings(root, wanted);
            (void)therapyPairingNotes(root, wanted, wanted);
            break;
        }
        case 2: {
            (void)plantList(root);
            (void)plantSymptomList(root);
            (void)consultPlant(root, wanted);
            const SymptomConsultation c = consultPlantSymptom(root, wanted);
            for (const auto& p : c.plants) (void)plantDetails(root, p.record);
            break;
        }
        default: {
            const KnowledgeFile<RemedyRecord> database(root.resolve(kRemedyDatabaseFile));
            std::vector<std::string> names;
            std::vector<std::int64_t> numbers;
            for (std::int64_t k = 0; k < database.count() && k < 64; ++k) {
                names.push_back(database.read(k).name);
                numbers.push_back(k);
            }
            const auto list = remedyNameList(names);
            (void)signatureSearch(database, list, numbers, wanted, "Aries");
        }
        }
    } catch (const FileError&) {
    }
}

}  // namespace athanor::fuzz
