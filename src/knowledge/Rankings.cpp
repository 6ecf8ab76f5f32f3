#include "knowledge/Rankings.h"

#include "foundations/Collation.h"
#include "foundations/Format.h"
#include "foundations/TextFile.h"
#include "knowledge/FileReplacement.h"
#include "knowledge/KnowledgeRecords.h"
#include "knowledge/RecordScan.h"
#include "knowledge/TextLists.h"

#include <algorithm>
#include <unordered_map>

namespace athanor {

namespace {

struct Layout {
    const char* universe;
    const char* counters;
    const char* records;
    std::size_t recordSize;
    std::string_view (*complaint)(const std::uint8_t*);
    std::string_view (*remedy)(const std::uint8_t*);
};

const Layout& layoutOf(RankingKind kind) {
    static const Layout symptoms{kRemedyListFile,     kSearchCountersFile, kRemedyDatabaseFile,
                                 RemedyRecord::kSize, remedyIndication1,   remedyName};
    static const Layout therapies{kRepertoryRemedyListFile, kTherapyCountersFile, kRepertoryFile,
                                  TherapyRecord::kSize,     therapyPathology,     therapyRemedy};
    return kind == RankingKind::Symptoms ? symptoms : therapies;
}

// Looks strings up by a view of them, without building a string per record.
struct ViewHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
};

void writeCounters(const std::filesystem::path& file, const std::vector<CounterRecord>& counters) {
    FileReplacement out(file, FileReplacement::Durability::WorkFile);
    for (const auto& c : counters) out.write(c.encode());
    out.commit();
}

}  // namespace

bool ComplaintSlots::pick(std::string_view complaint) {
    for (auto& s : slots_)
        if (s.empty()) {
            s = std::string(complaint);
            return true;
        }
    return false;
}

void ComplaintSlots::clear(int slot) {
    if (slot >= 1 && slot <= kComplaintSlots) slots_[static_cast<std::size_t>(slot - 1)].clear();
}

void ComplaintSlots::clearAll() {
    for (auto& s : slots_) s.clear();
}

bool ComplaintSlots::anyFilled() const {
    return std::any_of(slots_.begin(), slots_.end(), [](const std::string& s) { return !s.empty(); });
}

std::vector<std::string> repertoryRemedies(const DataRoot& root) {
    std::vector<std::string> remedies;
    RecordScanner(root.resolve(kRepertoryFile), TherapyRecord::kSize)
        .forEach(
            [&](std::int64_t, const std::uint8_t* r) {
                remedies.emplace_back(therapyRemedy(r));
                return true;
            },
            1);
    // Each name that differs from the previous one (which starts as "zzzz").
    std::vector<std::string> distinct;
    std::string previous = "zzzz";
    for (auto& name : sortedAscending(std::move(remedies))) {
        if (name == previous) continue;
        previous = name;
        distinct.push_back(name);
    }
    return distinct;
}

std::vector<std::uint8_t> zeroCounterFile(const std::vector<std::string>& names) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(names.size() * CounterRecord::kSize);
    for (const auto& n : names) {
        const Bytes b = CounterRecord{n.substr(0, 50), 0}.encode();
        bytes.insert(bytes.end(), b.begin(), b.end());
    }
    return bytes;
}

std::vector<std::string> writeRepertoryRemedies(const DataRoot& root) {
    auto distinct = repertoryRemedies(root);
    FileBatch batch;
    batch.add(root.resolveForWriting(kTherapyCountersFile)).write(zeroCounterFile(distinct));
    batch.add(root.resolveForWriting(kRepertoryRemedyListFile)).write(linesText(distinct));
    batch.commit();
    return distinct;
}

std::vector<std::string> openComplaints(const DataRoot& root, RankingKind kind) {
    if (kind == RankingKind::Symptoms) return readLines(root.resolve(kSymptomListFile));
    writeRepertoryRemedies(root);
    if (!root.exists(kPathologyListFile)) return {};
    return sortedAscending(readLines(root.resolve(kPathologyListFile)));
}

std::string RankedRemedy::text() const { return zeroPadded(count, 2) + " " + name; }

std::vector<RankedRemedy> rankRemedies(const DataRoot& root, RankingKind kind,
                                       const std::array<std::string, kComplaintSlots>& slots) {
    const Layout& layout = layoutOf(kind);

    std::vector<CounterRecord> counters;
    std::unordered_map<std::string, std::size_t, ViewHash, std::equal_to<>> counterOf;  // first counter of each name
    for (const auto& line : readLines(root.resolve(layout.universe))) {
        counters.push_back({line.substr(0, 50), 0});
        counterOf.emplace(counters.back().name, counters.size() - 1);
    }

    // How many slots hold each complaint: a record matching it adds that many.
    std::unordered_map<std::string, std::int64_t, ViewHash, std::equal_to<>> slotsOf;
    for (const auto& s : slots)
        if (!s.empty()) ++slotsOf[s];

    std::vector<std::int64_t> counts(counters.size(), 0);
    if (!slotsOf.empty()) {
        RecordScanner scan(root.resolve(layout.records), layout.recordSize);
        scan.forEach([&](std::int64_t, const std::uint8_t* r) {
            const auto hit = slotsOf.find(layout.complaint(r));
            if (hit == slotsOf.end()) return true;
            if (const auto c = counterOf.find(layout.remedy(r)); c != counterOf.end()) counts[c->second] += hit->second;
            return true;
        });
    }

    for (std::size_t i = 0; i < counters.size(); ++i)
        counters[i].counter = static_cast<std::uint8_t>(std::min<std::int64_t>(counts[i], 255));
    writeCounters(root.resolveForWriting(layout.counters), counters);

    struct Keyed {
        RankedRemedy r;
        std::string key;
        std::string text;
    };
    std::vector<Keyed> ranked;
    for (std::size_t i = 0; i < counters.size(); ++i) {
        if (counts[i] <= 0) continue;
        RankedRemedy r{counters[i].name, counts[i]};
        std::string text = r.text();
        ranked.push_back({std::move(r), collationKey(text), std::move(text)});
    }
    std::sort(ranked.begin(), ranked.end(), [](const Keyed& a, const Keyed& b) {
        if (a.r.count != b.r.count) return a.r.count > b.r.count;
        if (const int c = a.key.compare(b.key); c != 0) return c > 0;
        return a.text > b.text;
    });
    std::vector<RankedRemedy> out;
    out.reserve(ranked.size());
    for (auto& k : ranked) out.push_back(std::move(k.r));
    return out;
}

RankingDetail rankingDetail(const DataRoot& root, RankingKind kind,
                            const std::array<std::string, kComplaintSlots>& slots, std::string_view remedy) {
    const Layout& layout = layoutOf(kind);
    RankingDetail d;
    RecordScanner scan(root.resolve(layout.records), layout.recordSize);
    scan.forEach([&](std::int64_t, const std::uint8_t* r) {
        if (layout.remedy(r) != remedy) return true;
        const std::string_view complaint = layout.complaint(r);
        for (std::size_t s = 0; s < slots.size(); ++s) {
            // An empty slot is no complaint, even beside a record without one.
            if (slots[s].empty() || slots[s] != complaint) continue;
            d.highlighted[s] = true;
            if (kind == RankingKind::Symptoms) {
                d.lines.push_back(("= " + std::string(complaint)).substr(0, 252));
                d.lines.push_back(("- " + std::string(fieldView(r, remedy_field::kPosology[0], 250))).substr(0, 252));
            } else {
                d.lines.push_back(("= " + std::string(complaint)).substr(0, 102));
                d.lines.push_back(("- " + std::string(fieldView(r, therapy_field::kPosology, 250))).substr(0, 252));
            }
        }
        return true;
    });
    d.lines.push_back(kDetailSeparator);
    return d;
}

}  // namespace athanor
