#include "knowledge/KnowledgeRecords.h"

#include "foundations/FileError.h"

#include <cassert>
#include <system_error>

namespace athanor {

void requireWholeRecords(const std::filesystem::path& path, std::size_t recordSize) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (!ec) requireWholeRecords(path, size, recordSize);  // an unreadable file fails where it is read
}

void requireWholeRecords(const std::filesystem::path& path, std::uintmax_t size, std::size_t recordSize) {
    if (recordSize == 0 || size % recordSize == 0) return;
    throw FileError(path,
                    std::to_string(size) + " bytes: no es un n\xFAmero entero de registros de " +
                        std::to_string(recordSize) + " bytes",
                    FileFault::Damaged);
}

namespace {

// One walk over a record's fields in storage order serves both directions, so the
// reader and the writer cannot disagree about an offset.
class FieldReader {
public:
    explicit FieldReader(const std::uint8_t* bytes) : bytes_(bytes) {}
    void text(std::string& out, int capacity) {
        out = readField(bytes_ + at_, capacity);
        at_ += static_cast<std::size_t>(capacity) + 1;
    }
    template <std::size_t N>
    void parts(TextParts<N>& out, const std::array<int, N>& capacities) {
        for (std::size_t i = 0; i < N; ++i) text(out[i], capacities[i]);
    }
    void byte(std::uint8_t& out) { out = bytes_[at_++]; }
    std::size_t offset() const { return at_; }

private:
    const std::uint8_t* bytes_;
    std::size_t at_ = 0;
};

class FieldWriter {
public:
    explicit FieldWriter(std::size_t size) : bytes_(size, 0) {}
    void text(const std::string& in, int capacity) {
        writeField(bytes_.data() + at_, capacity, in);
        at_ += static_cast<std::size_t>(capacity) + 1;
    }
    template <std::size_t N>
    void parts(const TextParts<N>& in, const std::array<int, N>& capacities) {
        for (std::size_t i = 0; i < N; ++i) text(in[i], capacities[i]);
    }
    void byte(const std::uint8_t& in) { bytes_[at_++] = in; }
    std::size_t offset() const { return at_; }
    Bytes take() { return std::move(bytes_); }

private:
    Bytes bytes_;
    std::size_t at_ = 0;
};

template <class R, class Io>
void remedyFields(R& r, Io& io) {
    io.text(r.name, RemedyRecord::kNameCapacity);
    io.parts(r.posology, kPosologyParts);
    io.parts(r.indication, kIndicationParts);
    io.parts(r.synthesis, kSynthesisParts);
    io.text(r.primarySignature, RemedyRecord::kPrimarySignatureCapacity);
    io.text(r.secondarySignature, RemedyRecord::kSecondarySignatureCapacity);
    io.text(r.zodiacSignature, RemedyRecord::kZodiacSignatureCapacity);
    io.parts(r.warnings, kWarningsParts);
    io.parts(r.notes, kNotesParts);
    io.parts(r.extraNotes, kNotesParts);
}

template <class R, class Io>
void therapyFields(R& r, Io& io) {
    io.text(r.pathology, 100);
    io.text(r.posology, 250);
    io.text(r.remedy, 100);
    io.parts(r.notes, kNotesParts);
}

template <class R, class Io>
void plantSymptomFields(R& r, Io& io) {
    io.text(r.symptom, 100);
    io.text(r.plant, 20);
    io.text(r.code, 15);
    io.text(r.primarySignature, 15);
    io.text(r.secondarySignature, 30);
    io.text(r.zodiacSignature, 70);
    io.text(r.synthesis, 100);
    io.text(r.authors, 100);
    io.text(r.note, 140);
}

template <class R, class Io>
void counterFields(R& r, Io& io) {
    io.text(r.name, 50);
    io.byte(r.counter);
}

template <class Record, void (*Fields)(Record&, FieldReader&)>
Record decodeWith(const std::uint8_t* bytes) {
    Record r;
    FieldReader io(bytes);
    Fields(r, io);
    assert(io.offset() == Record::kSize);
    return r;
}

template <class Record, void (*Fields)(const Record&, FieldWriter&)>
Bytes encodeWith(const Record& r) {
    FieldWriter io(Record::kSize);
    Fields(r, io);
    assert(io.offset() == Record::kSize);
    return io.take();
}

}  // namespace

RemedyRecord RemedyRecord::decode(const std::uint8_t* b) {
    return decodeWith<RemedyRecord, remedyFields<RemedyRecord, FieldReader>>(b);
}
Bytes RemedyRecord::encode() const {
    return encodeWith<RemedyRecord, remedyFields<const RemedyRecord, FieldWriter>>(*this);
}

TherapyRecord TherapyRecord::decode(const std::uint8_t* b) {
    return decodeWith<TherapyRecord, therapyFields<TherapyRecord, FieldReader>>(b);
}
Bytes TherapyRecord::encode() const {
    return encodeWith<TherapyRecord, therapyFields<const TherapyRecord, FieldWriter>>(*this);
}

PlantSymptomRecord PlantSymptomRecord::decode(const std::uint8_t* b) {
    return decodeWith<PlantSymptomRecord, plantSymptomFields<PlantSymptomRecord, FieldReader>>(b);
}
Bytes PlantSymptomRecord::encode() const {
    return encodeWith<PlantSymptomRecord, plantSymptomFields<const PlantSymptomRecord, FieldWriter>>(*this);
}

CounterRecord CounterRecord::decode(const std::uint8_t* b) {
    return decodeWith<CounterRecord, counterFields<CounterRecord, FieldReader>>(b);
}
Bytes CounterRecord::encode() const {
    return encodeWith<CounterRecord, counterFields<const CounterRecord, FieldWriter>>(*this);
}

}  // namespace athanor
