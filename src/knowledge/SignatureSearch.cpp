#include "knowledge/SignatureSearch.h"

#include "knowledge/RecordScan.h"

namespace athanor {

namespace {

std::vector<std::string> recordNames(const DataRoot& root) {
    std::vector<std::string> names;
    RecordScanner(root.resolve(kRemedyDatabaseFile), RemedyRecord::kSize)
        .forEach([&](std::int64_t, const std::uint8_t* r) {
            names.emplace_back(remedyName(r));
            return true;
        });
    return names;
}

}  // namespace

std::vector<RemedyNameEntry> openRemedyNameList(const DataRoot& root) {
    auto list = remedyNameList(recordNames(root));
    writeRemedyNumbers(root.resolveForWriting(kRemedyNumbersFile), list);
    return list;
}

std::optional<RemedyRecord> firstRecordNamed(const DataRoot& root, std::string_view name) {
    std::optional<RemedyRecord> found;
    RecordScanner(root.resolve(kRemedyDatabaseFile), RemedyRecord::kSize)
        .forEach([&](std::int64_t, const std::uint8_t* r) {
            if (trimmedBlanks(remedyName(r)) != name) return true;
            found = RemedyRecord::decode(r);
            return false;
        });
    return found;
}

std::size_t runSignatureSearch(const DataRoot& root, const std::vector<RemedyNameEntry>& list, std::string_view planet,
                               std::string_view sign) {
    const KnowledgeFile<RemedyRecord> database(root.resolve(kRemedyDatabaseFile));
    const auto numbers = readRemedyNumbers(root.resolve(kRemedyNumbersFile));
    const auto found = signatureSearch(database, list, numbers, planet, sign);
    writeSignatureResults(root.resolveForWriting(kSignatureResultsFile), found);
    return found.size();
}

std::vector<SignatureRow> signatureResultPage(const DataRoot& root, int page) {
    return readSignaturePage(root.resolve(kSignatureResultsFile), page);
}

void SignaturePages::found(std::size_t n) {
    found_ = n;
    count_ = signaturePageCount(n);
    page_ = 1;
    red_ = n > static_cast<std::size_t>(kSignatureRows);
    search_ = true;
}

void SignaturePages::clear() { *this = SignaturePages{}; }

bool SignaturePages::next() {
    if (!search_ || page_ >= count_) return false;
    ++page_;
    red_ = false;
    return true;
}

bool SignaturePages::previous() {
    if (!search_ || page_ <= 1) return false;
    --page_;
    red_ = false;
    return true;
}

std::string SignaturePages::text() const {
    return search_ ? std::to_string(page_) + "/" + std::to_string(count_) : std::string();
}

void ChosenSignatures::choose(const RemedyRecord& r) {
    if (rows_.size() == static_cast<std::size_t>(kSignatureRows)) rows_.clear();
    rows_.push_back({r.name, r.primarySignature, r.secondarySignature, r.zodiacSignature});
}

std::vector<std::string> weaknessPathologies(const DataRoot& root, std::string_view planet,
                                             std::string_view weakenedSign) {
    const KnowledgeFile<RemedyRecord> database(root.resolve(kRemedyDatabaseFile));
    const KnowledgeFile<TherapyRecord> repertory(root.resolve(kRepertoryFile));
    return pathologiesForSignature(database, repertory, planet, signSearchedForWeakness(weakenedSign));
}

std::vector<std::string> weaknessRemedies(const DataRoot& root, std::string_view pathology, std::string_view planet,
                                          std::string_view weakenedSign) {
    const KnowledgeFile<RemedyRecord> database(root.resolve(kRemedyDatabaseFile));
    const KnowledgeFile<TherapyRecord> repertory(root.resolve(kRepertoryFile));
    return markedRemediesForPathology(database, repertory, pathology, planet, signSearchedForWeakness(weakenedSign));
}

}  // namespace athanor
