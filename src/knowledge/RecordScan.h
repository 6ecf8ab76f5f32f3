#pragma once
#include "knowledge/KnowledgeRecords.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace athanor {

// Sequential scans over a record file, as the windows make them, at the speed of a plain
// read: the file is read front to back in large blocks and a scan looks only at the
// fields it compares, straight in the record's bytes, without decoding the rest.
class RecordScanner {
public:
    RecordScanner(std::filesystem::path path, std::size_t recordSize);
    RecordScanner(const RecordScanner&) = delete;
    RecordScanner& operator=(const RecordScanner&) = delete;
    ~RecordScanner();

    std::int64_t count() const noexcept { return count_; }  // whole records when opened

    // Calls f(k, bytes) for every record from `from` to the last, in order; f returns
    // true to go on, false to stop.
    template <class F>
    void forEach(F&& f, std::int64_t from = 0) {
        seek(from);
        std::int64_t k = from < 0 ? 0 : from;
        const std::uint8_t* block;
        std::size_t n;
        while ((n = nextBlock(block)) > 0)
            for (std::size_t i = 0; i < n; ++i, ++k)
                if (!f(k, block + i * size_)) return;
    }

private:
    void seek(std::int64_t from);
    std::size_t nextBlock(const std::uint8_t*& block);

    std::filesystem::path path_;
    std::size_t size_;
    int fd_ = -1;
    std::int64_t count_ = 0;
    std::int64_t next_ = 0;
    std::vector<std::uint8_t> buffer_;
};

// The text of a length-prefixed field, viewed in place.
inline std::string_view fieldView(const std::uint8_t* record, std::size_t offset, int capacity) {
    const int len = std::min<int>(record[offset], capacity);
    return {reinterpret_cast<const char*>(record + offset + 1), static_cast<std::size_t>(len)};
}

inline std::string_view trimmedBlanks(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// Where the fields of the records lie (their length byte), as read in place by scans.
namespace remedy_field {
inline constexpr std::size_t kName = 0;
inline constexpr std::size_t kPosology[] = {51, 302, 553, 804};
inline constexpr std::size_t kIndication[] = {955, 1206};
inline constexpr std::size_t kSynthesis[] = {1257, 1508, 1759, 2010, 2261, 2512};
inline constexpr std::size_t kPrimarySignature = 2763;
inline constexpr std::size_t kSecondarySignature = 2794;
inline constexpr std::size_t kZodiacSignature = 2835;
inline constexpr std::size_t kWarnings[] = {2906, 3157};
inline constexpr std::size_t kNotes[] = {3308, 3559, 3810};
inline constexpr std::size_t kExtraNotes[] = {4061, 4312, 4563};
}  // namespace remedy_field

namespace therapy_field {
inline constexpr std::size_t kPathology = 0;
inline constexpr std::size_t kPosology = 101;
inline constexpr std::size_t kRemedy = 352;
inline constexpr std::size_t kNotes[] = {453, 704, 955};
}  // namespace therapy_field

namespace plant_field {
inline constexpr std::size_t kSymptom = 0;
inline constexpr std::size_t kPlant = 101;
inline constexpr std::size_t kPrimarySignature = 138;
inline constexpr std::size_t kZodiacSignature = 185;
}  // namespace plant_field

// RemedyRecord fields viewed in place.
inline std::string_view remedyName(const std::uint8_t* r) { return fieldView(r, remedy_field::kName, 50); }
inline std::string_view remedyIndication1(const std::uint8_t* r) {
    return fieldView(r, remedy_field::kIndication[0], 250);
}
inline std::string_view remedyPrimary(const std::uint8_t* r) {
    return fieldView(r, remedy_field::kPrimarySignature, RemedyRecord::kPrimarySignatureCapacity);
}
inline std::string_view remedySecondary(const std::uint8_t* r) {
    return fieldView(r, remedy_field::kSecondarySignature, RemedyRecord::kSecondarySignatureCapacity);
}
inline std::string_view remedyZodiac(const std::uint8_t* r) {
    return fieldView(r, remedy_field::kZodiacSignature, RemedyRecord::kZodiacSignatureCapacity);
}
// The whole indication (both parts), compared without building it.
bool remedyIndicationEquals(const std::uint8_t* r, std::string_view text);
std::string remedyIndication(const std::uint8_t* r);
// The notes (3 parts) or the synthesis (6 parts) joined.
std::string remedyNotes(const std::uint8_t* r);
std::string remedySynthesis(const std::uint8_t* r);

inline std::string_view therapyPathology(const std::uint8_t* r) { return fieldView(r, therapy_field::kPathology, 100); }
inline std::string_view therapyRemedy(const std::uint8_t* r) { return fieldView(r, therapy_field::kRemedy, 100); }

inline std::string_view plantSymptom(const std::uint8_t* r) { return fieldView(r, plant_field::kSymptom, 100); }
inline std::string_view plantName(const std::uint8_t* r) { return fieldView(r, plant_field::kPlant, 20); }

}  // namespace athanor
