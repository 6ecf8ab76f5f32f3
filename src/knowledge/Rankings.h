#pragma once
#include "foundations/DataRoot.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace athanor {

// The multiple-symptom and composite-therapy searches: up to fifteen complaints, and the
// remedies ranked by how many of them they are indicated for.
//
//                      multiple symptoms              composite therapies
// complaints           OpzioneH\Sintomi.txt           OpzioneH\Patolog.txt
// remedy universe      OpzioneH\ProdotA.txt           OpzioneH\ProdotR.txt
// counter file         OpzioneH\RicCom.Rnd            OpzioneH\TerCom.Rnd
// records searched     DBmain.rnd, from record 0      Repertorio.rnd, from record 0
// complaint field      indication part 1              pathology
// remedy field         name                           remedy
enum class RankingKind { Symptoms, Therapies };

inline constexpr int kComplaintSlots = 15;

// The fifteen slots of the chosen complaints.
class ComplaintSlots {
public:
    // Into the first empty slot; false (nothing changes) when all are filled.
    bool pick(std::string_view complaint);
    void clear(int slot);  // 1..15
    void clearAll();
    bool anyFilled() const;
    const std::array<std::string, kComplaintSlots>& texts() const noexcept { return slots_; }

private:
    std::array<std::string, kComplaintSlots> slots_;
};

// The complaint list of each window. Opening the composite-therapy window also rewrites
// ProdotR.txt and TerCom.Rnd from the repertory (writeRepertoryRemedies).
std::vector<std::string> openComplaints(const DataRoot& root, RankingKind kind);

// The remedies of the repertory, records 1 on, sorted, each once: written as the lines of
// ProdotR.txt and the zeroed counters of TerCom.Rnd. Returns them.
std::vector<std::string> writeRepertoryRemedies(const DataRoot& root);

// One line of the ranking.
struct RankedRemedy {
    std::string name;
    std::int64_t count = 0;
    // As the list shows it: the count with at least two digits, a blank, the name.
    std::string text() const;
    bool operator==(const RankedRemedy&) const = default;
};

// The search. The counter file is rebuilt from the remedy universe (one record per line,
// name cut to 50) and every record of the searched file is compared with the slots in
// one pass: a record adds to its remedy's count once for every slot whose text equals its
// complaint field, so a complaint picked twice counts twice. The count is kept in memory
// at its true value; the counter file keeps its one-byte layout with a count above 255
// written as 255. A remedy missing from the universe is not counted. Ranked by falling
// count, ties in descending order of the text (the sorted list read backwards).
std::vector<RankedRemedy> rankRemedies(const DataRoot& root, RankingKind kind,
                                       const std::array<std::string, kComplaintSlots>& slots);

// What a click on a ranked remedy shows: for each record of the remedy (from record 0),
// two lines for each slot whose text equals its complaint field, then the separator
// line; and which slots to highlight.
struct RankingDetail {
    std::vector<std::string> lines;
    std::array<bool, kComplaintSlots> highlighted{};
};
inline constexpr const char* kDetailSeparator = "            =======\xA7\xA7\xA7\xA7\xA7\xA7\xA7=======";
RankingDetail rankingDetail(const DataRoot& root, RankingKind kind,
                            const std::array<std::string, kComplaintSlots>& slots, std::string_view remedy);

}  // namespace athanor
