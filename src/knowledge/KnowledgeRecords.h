#pragma once
#include "foundations/RecordFile.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace athanor {

// The records of the knowledge base. Every text field is a length byte and its capacity
// in bytes (foundations/RecordFile.h); fields are packed in the order given. A long text
// is stored as consecutive parts; the parts hold what the editor put there, so a record
// keeps them apart and joins them on demand.

inline constexpr const char* kRemedyDatabaseFile = "OpzioneH\\DBmain.rnd";
inline constexpr const char* kRepertoryFile = "OpzioneH\\Repertorio.rnd";
inline constexpr const char* kPlantSymptomFile = "OpzioneS\\DataQvl.rnd";
inline constexpr const char* kPlantNamesFile = "OpzioneS\\Piante.rnd";
inline constexpr const char* kPlantSymptomNamesFile = "OpzioneS\\Sintomi.rnd";
inline constexpr const char* kSearchCountersFile = "OpzioneH\\RicCom.Rnd";
inline constexpr const char* kTherapyCountersFile = "OpzioneH\\TerCom.Rnd";
// Made in the working folder while a file is re-ordered.
inline constexpr const char* kRemedyProvisionalFile = "ArcProv.rnd";
inline constexpr const char* kRepertoryProvisionalFile = "RepProv.rnd";

// Slices of a multi-part text are 250 characters; a part may hold fewer (its capacity).
inline constexpr std::size_t kTextSlice = 250;

template <std::size_t N>
using TextParts = std::array<std::string, N>;

// The whole text: the parts in order, no separator.
template <std::size_t N>
std::string joinText(const TextParts<N>& parts) {
    std::string out;
    for (const auto& p : parts) out += p;
    return out;
}

// Characters 1-250 go to part 1, 251-500 to part 2 and so on, each slice cut to its
// part's capacity; parts past the end of the text are empty.
template <std::size_t N>
TextParts<N> splitText(std::string_view text, const std::array<int, N>& capacities) {
    TextParts<N> parts;
    for (std::size_t i = 0; i < N; ++i) {
        const std::size_t from = i * kTextSlice;
        if (from >= text.size()) break;
        parts[i] = std::string(text.substr(from, std::min<std::size_t>(kTextSlice, std::size_t(capacities[i]))));
    }
    return parts;
}

inline constexpr std::array<int, 4> kPosologyParts = {250, 250, 250, 150};
inline constexpr std::array<int, 2> kIndicationParts = {250, 50};
inline constexpr std::array<int, 6> kSynthesisParts = {250, 250, 250, 250, 250, 250};
inline constexpr std::array<int, 2> kWarningsParts = {250, 150};
inline constexpr std::array<int, 3> kNotesParts = {250, 250, 250};

// OpzioneH\DBmain.rnd: one remedy with one indication.
struct RemedyRecord {
    static constexpr std::size_t kSize = 4814;
    static constexpr int kNameCapacity = 50;
    static constexpr int kPrimarySignatureCapacity = 30;
    static constexpr int kSecondarySignatureCapacity = 40;
    static constexpr int kZodiacSignatureCapacity = 70;

    std::string name;
    TextParts<4> posology;
    TextParts<2> indication;
    TextParts<6> synthesis;
    std::string primarySignature;
    std::string secondarySignature;
    std::string zodiacSignature;
    TextParts<2> warnings;
    TextParts<3> notes;
    TextParts<3> extraNotes;

    std::string posologyText() const { return joinText(posology); }
    std::string indicationText() const { return joinText(indication); }
    std::string synthesisText() const { return joinText(synthesis); }
    std::string warningsText() const { return joinText(warnings); }
    std::string notesText() const { return joinText(notes); }
    std::string extraNotesText() const { return joinText(extraNotes); }

    void setPosology(std::string_view t) { posology = splitText(t, kPosologyParts); }
    void setIndication(std::string_view t) { indication = splitText(t, kIndicationParts); }
    void setSynthesis(std::string_view t) { synthesis = splitText(t, kSynthesisParts); }
    void setWarnings(std::string_view t) { warnings = splitText(t, kWarningsParts); }
    void setNotes(std::string_view t) { notes = splitText(t, kNotesParts); }
    void setExtraNotes(std::string_view t) { extraNotes = splitText(t, kNotesParts); }

    static RemedyRecord decode(const std::uint8_t* bytes);  // kSize bytes
    Bytes encode() const;                                   // texts cut to their capacities

    bool operator==(const RemedyRecord&) const = default;
};

// OpzioneH\Repertorio.rnd: one pathology with one remedy that treats it.
struct TherapyRecord {
    static constexpr std::size_t kSize = 1206;

    std::string pathology;  // 100
    std::string posology;   // 250
    std::string remedy;     // 100, spelt as RemedyRecord::name
    TextParts<3> notes;     // 3 x 250

    std::string notesText() const { return joinText(notes); }
    void setNotes(std::string_view t) { notes = splitText(t, kNotesParts); }

    static TherapyRecord decode(const std::uint8_t* bytes);
    Bytes encode() const;

    bool operator==(const TherapyRecord&) const = default;
};

// OpzioneS\DataQvl.rnd: a symptom linked to a plant, with the plant's signatures and sources.
struct PlantSymptomRecord {
    static constexpr std::size_t kSize = 599;

    std::string symptom;             // 100
    std::string plant;               // 20, may be empty
    std::string code;                // 15
    std::string primarySignature;    // 15
    std::string secondarySignature;  // 30
    std::string zodiacSignature;     // 70
    std::string synthesis;           // 100
    std::string authors;             // 100
    std::string note;                // 140

    static PlantSymptomRecord decode(const std::uint8_t* bytes);
    Bytes encode() const;

    bool operator==(const PlantSymptomRecord&) const = default;
};

// OpzioneH\RicCom.Rnd and TerCom.Rnd: a remedy name and the hit counter of the combined
// searches. Record 0 is an ordinary entry.
struct CounterRecord {
    static constexpr std::size_t kSize = 52;

    std::string name;  // 50
    std::uint8_t counter = 0;

    static CounterRecord decode(const std::uint8_t* bytes);
    Bytes encode() const;

    bool operator==(const CounterRecord&) const = default;
};

// A record that is one text field: the remedy names of the signature lists (50), the
// plant names of Piante.rnd (20), the symptoms of OpzioneS\Sintomi.rnd (100).
template <int Capacity>
struct StringRecord {
    static constexpr int kCapacity = Capacity;
    static constexpr std::size_t kSize = Capacity + 1;

    std::string text;

    static StringRecord decode(const std::uint8_t* bytes) { return {readField(bytes, Capacity)}; }
    Bytes encode() const {
        Bytes b(kSize);
        writeField(b.data(), Capacity, text);
        return b;
    }
    bool operator==(const StringRecord&) const = default;
};

using NameRecord = StringRecord<50>;
using PlantNameRecord = StringRecord<20>;
using SymptomNameRecord = StringRecord<100>;

// The files of the knowledge base are always replaced whole, never appended to: one whose
// size is not a whole number of records was cut or is another file, and is refused
// (FileError, FileFault::Damaged) before anything reads or rewrites it.
void requireWholeRecords(const std::filesystem::path& path, std::size_t recordSize);
// The same for a file whose size the caller has.
void requireWholeRecords(const std::filesystem::path& path, std::uintmax_t size, std::size_t recordSize);

// A record file read and written as records of type R (R::kSize bytes each). Opened for
// one operation. Missing files, a size that is not whole records, records beyond the end
// and failed writes raise FileError; an oversized length byte is read as the capacity, so
// a damaged file never crashes a reader.
template <class R>
class KnowledgeFile {
public:
    explicit KnowledgeFile(std::filesystem::path path, RecordFile::Mode mode = RecordFile::Mode::Read)
        : file_(std::move(path), R::kSize, mode) {
        if (mode != RecordFile::Mode::Create) requireWholeRecords(file_.path(), R::kSize);
    }

    const std::filesystem::path& path() const noexcept { return file_.path(); }
    std::int64_t count() const { return file_.count(); }

    R read(std::int64_t k) const {
        Bytes b(R::kSize);
        file_.read(k, b.data());
        return R::decode(b.data());
    }
    // k == count() appends.
    void write(std::int64_t k, const R& r) { file_.write(k, r.encode()); }
    std::int64_t append(const R& r) { return file_.append(r.encode()); }
    // Keeps records 0 .. n-1.
    void truncate(std::int64_t n) { file_.truncate(n); }

    // Removes record k: every later record moves down one place, the file loses its last.
    void erase(std::int64_t k) {
        const std::int64_t n = count();
        if (k < 0 || k >= n) (void)file_.read(k);  // the file's own out-of-range error
        for (std::int64_t i = k + 1; i < n; ++i) file_.write(i - 1, file_.read(i));
        file_.truncate(n - 1);
    }

    // The first record from `from` on that satisfies pred, in record order.
    template <class Pred>
    std::optional<std::int64_t> findFirst(std::int64_t from, Pred pred) const {
        const std::int64_t n = count();
        for (std::int64_t k = std::max<std::int64_t>(from, 0); k < n; ++k)
            if (pred(read(k))) return k;
        return std::nullopt;
    }

private:
    RecordFile file_;
};

// Every record of a file, from record 0.
template <class R>
std::vector<R> readAllRecords(const std::filesystem::path& path) {
    KnowledgeFile<R> file(path);
    std::vector<R> out;
    const std::int64_t n = file.count();
    out.reserve(static_cast<std::size_t>(n));
    for (std::int64_t k = 0; k < n; ++k) out.push_back(file.read(k));
    return out;
}

}  // namespace athanor
