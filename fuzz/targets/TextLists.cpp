// The text lists of the knowledge base and the ranked searches over them: the lists come
// from the input, beside a small remedy file.
#include "../FuzzSupport.h"
#include "../Targets.h"

#include "foundations/FileError.h"
#include "knowledge/Consultation.h"
#include "knowledge/Rankings.h"
#include "knowledge/TextLists.h"

namespace athanor::fuzz {

void textLists(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const std::uint8_t ask = in.byte();
    const Scratch& s = Scratch::fresh();
    s.write(kSymptomListFile, in.part());
    s.write(kRemedyListFile, in.part());
    s.write(kRemedyAliasListFile, in.part());
    s.write(kPathologyListFile, in.part());
    s.write(kRemedyNumbersFile, in.part());
    s.write(kSearchCountersFile, in.part());
    s.write(kRemedyDatabaseFile, in.part());
    const DataRoot& root = s.root();
    try {
        const auto symptoms = symptomList(root);
        for (const std::string& line : remedyLineList(root)) {
            (void)aliasTarget(line);
            (void)aliasLines(line);
            (void)productTypeText(line);
        }
        (void)pathologyList(root);
        (void)sortedWithoutRepetitions(symptoms);
        (void)readRemedyNumbers(root.resolve(kRemedyNumbersFile));
        if (ask & 1) {
            ComplaintSlots slots;
            for (std::size_t k = 0; k < symptoms.size() && k < 20; ++k) (void)slots.pick(symptoms[k]);
            const auto ranked = rankRemedies(root, RankingKind::Symptoms, slots.texts());
            for (const RankedRemedy& r : ranked) (void)r.text();
            if (!ranked.empty()) (void)rankingDetail(root, RankingKind::Symptoms, slots.texts(), ranked.front().name);
        }
    } catch (const FileError&) {
    }
}

}  // namespace athanor::fuzz
