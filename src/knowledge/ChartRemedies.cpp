#include "knowledge/ChartRemedies.h"

#include "knowledge/RecordScan.h"
#include "knowledge/Signatures.h"

#include <algorithm>
#include <map>

namespace athanor {

std::vector<RemedyForChart> remediesForWeaknesses(const KnowledgeFile<RemedyRecord>& database,
                                                  const KnowledgeFile<TherapyRecord>& repertory,
                                                  const std::vector<ChartWeakness>& weaknesses) {
    std::vector<std::string> searched;
    for (const auto& w : weaknesses) searched.push_back(signSearchedForWeakness(w.weakenedSign));

    // By name: the record that first answered, and every weakness answered by any record of it.
    std::map<std::string, RemedyForChart> byName;
    RecordScanner(database.path(), RemedyRecord::kSize).forEach([&](std::int64_t k, const std::uint8_t* r) {
        for (std::size_t i = 0; i < weaknesses.size(); ++i) {
            if (searched[i].empty() || !answersSignatureAt(r, weaknesses[i].planet, searched[i])) continue;
            auto [it, fresh] = byName.try_emplace(std::string(trimmedBlanks(remedyName(r))));
            if (fresh) {
                it->second.name = it->first;
                it->second.record = database.read(k);
            }
            auto& answers = it->second.answers;
            if (std::find(answers.begin(), answers.end(), static_cast<int>(i)) == answers.end())
                answers.push_back(static_cast<int>(i));
        }
        return true;
    });

    RecordScanner(repertory.path(), TherapyRecord::kSize).forEach([&](std::int64_t, const std::uint8_t* t) {
        const auto it = byName.find(std::string(trimmedBlanks(therapyRemedy(t))));
        if (it != byName.end()) it->second.pathologies.emplace_back(trimmedBlanks(therapyPathology(t)));
        return true;
    });

    std::vector<RemedyForChart> ranked;
    ranked.reserve(byName.size());
    for (auto& [name, remedy] : byName) {
        std::sort(remedy.answers.begin(), remedy.answers.end());
        auto& p = remedy.pathologies;
        std::sort(p.begin(), p.end());
        p.erase(std::unique(p.begin(), p.end()), p.end());
        ranked.push_back(std::move(remedy));
    }
    // The map gave them by name; a stable sort keeps that order among equals.
    std::stable_sort(ranked.begin(), ranked.end(), [](const RemedyForChart& a, const RemedyForChart& b) {
        return a.answers.size() > b.answers.size();
    });
    return ranked;
}

}  // namespace athanor
