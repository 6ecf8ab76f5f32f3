#include "interpretation/ChartWeaknesses.h"

#include "foundations/Vocabulary.h"

namespace athanor {

std::vector<ChartWeakness> chartWeaknesses(const ArchetypalStructure& structure, const std::array<int, 8>& signs) {
    std::vector<ChartWeakness> out;
    for (int p = 1; p <= kTraditionalPlanets; ++p) {
        const int sign = signs[p];
        if (sign < 1 || sign > 12) continue;
        const StructureRow& row = structure.rows[p];
        const std::string planet = kChartBodyNames[p];
        const std::string where = std::string(" en ") + kSignNames[sign];
        std::string reason;
        switch (row.code) {
        case condition::Exile:
            reason = planet + " en exilio" + where;
            break;
        case condition::Fall:
            reason = planet +
                     " en ca\xED"
                     "da" +
                     where;
            break;
        case condition::None:
            reason = planet + where + ", sin dignidad, debilidad ni recepci\xF3n";
            break;
        default:
            continue;
        }
        out.push_back({planet, kSignNames[sign], reason});
    }
    return out;
}

ChartRemedies chartRemediesFor(const DataRoot& root, const ChartState& chart) {
    ChartRemedies out;
    out.signs = planetSigns(chart);
    ExchangeFiles exchange(root);
    out.structure = computeStructure(out.signs, exchange);
    out.weaknesses = chartWeaknesses(out.structure, out.signs);
    const KnowledgeFile<RemedyRecord> database(root.resolve(kRemedyDatabaseFile));
    const KnowledgeFile<TherapyRecord> repertory(root.resolve(kRepertoryFile));
    out.remedies = remediesForWeaknesses(database, repertory, out.weaknesses);
    return out;
}

}  // namespace athanor
