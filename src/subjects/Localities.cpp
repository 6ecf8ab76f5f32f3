#include "subjects/Localities.h"

#include "foundations/Binary.h"
#include "foundations/BinaryReals.h"
#include "foundations/FileError.h"

#include <algorithm>

namespace athanor {

namespace {

constexpr int kNameOffset = 0;
constexpr int kLatitudeOffset = 32;
constexpr int kLongitudeOffset = 48;
constexpr int kTableOffset = 60;
constexpr int kCountryOffset = 64;

// Blanks after the key's text sort below "!", so the padded key falls after the exact name
// and after the names that go on with a blank, and before those that go on with a letter.
constexpr int kKeyPadding = 25;
constexpr int kBisectionSteps = 100;

std::string trimmedRight(std::string_view s) {
    const auto end = s.find_last_not_of(' ');
    return std::string(end == std::string_view::npos ? std::string_view{} : s.substr(0, end + 1));
}

}  // namespace

LocalityRecord decodeLocality(std::span<const std::uint8_t> record) {
    if (record.size() < kLocalityRecordSize) throw std::invalid_argument("decodeLocality: short record");
    const std::uint8_t* p = record.data();
    LocalityRecord r;
    r.name = readField(p + kNameOffset, kLocalityNameCapacity);
    r.latitude = decodeExtended80(p + kLatitudeOffset);
    r.longitude = decodeExtended80(p + kLongitudeOffset);
    r.tableNumber = getI32(p + kTableOffset);
    r.country = readField(p + kCountryOffset, kLocalityCountryCapacity);
    return r;
}

Bytes encodeLocality(const LocalityRecord& place) {
    Bytes out(kLocalityRecordSize, 0);
    std::uint8_t* p = out.data();
    writeField(p + kNameOffset, kLocalityNameCapacity, place.name);
    encodeExtended80(place.latitude, p + kLatitudeOffset);
    encodeExtended80(place.longitude, p + kLongitudeOffset);
    putI32(p + kTableOffset, place.tableNumber);
    writeField(p + kCountryOffset, kLocalityCountryCapacity, place.country);
    return out;
}

const char* localityListFile(LocalityListKind kind) {
    return kind == LocalityListKind::Italian ? "Localita\\ITALIA.LOC" : "Localita\\ESTERO.LOC";
}

std::string foldLocalityName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (char ch : name) {
        unsigned c = static_cast<unsigned char>(ch);
        if (c >= 224 && c <= 230) c = 'a';
        else if ((c >= 242 && c <= 244) || c == 246 || c == 248) c = 'o';
        else if (c == 223) c = 's';
        else if (c >= 249 && c <= 252) c = 'u';
        else if (c >= 232 && c <= 235) c = 'e';
        else if (c >= 236 && c <= 239) c = 'i';
        else if (c == 241) c = 'n';
        else if (c == 231) c = 'c';
        if (c >= 'a' && c <= 'z') c -= 'a' - 'A';
        if (c == 193 || c == 194 || (c >= 196 && c <= 198)) c = 'A';
        else if (c == 211 || c == 212 || c == 214 || c == 216) c = 'O';
        else if (c == 218 || c == 220) c = 'U';
        else if (c >= 205 && c <= 207) c = 'I';
        else if (c == 200 || c == 201 || c == 203) c = 'E';
        else if (c == 199) c = 'C';
        else if (c == '-' || c == '(') c = ' ';
        out.push_back(static_cast<char>(c));
    }
    if (!out.empty() && out.front() == '\'') out.erase(0, 1);
    return out;
}

std::string tableFileName(std::int32_t tableNumber) {
    const std::string digits = std::to_string(tableNumber);
    return digits.substr(std::min<std::size_t>(1, digits.size())) + ".CAL";
}

std::string continuationFileName(std::int64_t number) {
    std::string digits = std::to_string(number);
    if (digits.size() < 8) digits.insert(0, 8 - digits.size(), '0');
    return digits + ".CAL";
}

std::string shownLocalityName(std::string_view name) {
    std::string out(name);
    bool opened = false;
    for (char& c : out) {
        if (c != '*') continue;
        c = opened ? ')' : '(';
        opened = true;
    }
    return out;
}

std::string localityLine(const LocalityRecord& place) {
    // Written together, "MILANOITALIA" and "New York CityESTADOS UNIDOS" read as one word.
    const std::string country = trimmedRight(place.country);
    return trimmedRight(shownLocalityName(place.name)) + (country.empty() ? "" : " \x97 " + country);
}

LocalityList::LocalityList(const DataRoot& root, LocalityListKind kind)
    : path_(root.resolve(localityListFile(kind))), kind_(kind) {
    records_ = RecordFile(path_, kLocalityRecordSize).readAll();
    count_ = static_cast<std::int64_t>(records_.size() / kLocalityRecordSize) - 1;
    if (count_ < 0) throw FileError(path_, "lista de localidades sin cabecera", FileFault::Damaged);
}

const std::uint8_t* LocalityList::at(std::int64_t k) const {
    if (k < 0 || k > count_)
        throw FileError(
            path_, "Read beyond end of file (record " + std::to_string(k) + " of " + std::to_string(count_ + 1) + ")",
            FileFault::Damaged);
    return records_.data() + static_cast<std::size_t>(k) * kLocalityRecordSize;
}

LocalityRecord LocalityList::record(std::int64_t k) const {
    return decodeLocality(std::span(at(k), kLocalityRecordSize));
}

std::string LocalityList::compareName(std::int64_t k) const {
    std::string name = readField(at(k), kLocalityNameCapacity);
    return italian() ? name : foldLocalityName(name);
}

std::int64_t LocalityList::bisect(std::string_view prefix) const {
    const std::string key = foldLocalityName(prefix) + std::string(kKeyPadding, '!');
    std::int64_t lo = 1, hi = count_, mid = 0;
    // The steps settle on one mid long before the hundredth; its name is read once.
    std::int64_t cachedMid = -1;
    std::string name;
    for (int step = 0; step < kBisectionSteps; ++step) {
        mid = (lo + hi) / 2;
        if (mid != cachedMid) {
            name = compareName(mid);
            cachedMid = mid;
        }
        if (key > name) lo = mid;
        else hi = mid;
        if (lo < 1) lo = 1;
    }
    return mid;
}

std::int64_t LocalityList::firstStartingWith(std::string_view typed) const {
    const std::string key = foldLocalityName(typed);
    if (key.empty()) return 0;
    std::int64_t lo = 1, hi = count_ + 1;
    while (lo < hi) {
        const std::int64_t mid = lo + (hi - lo) / 2;
        if (compareName(mid) < key) lo = mid + 1;
        else hi = mid;
    }
    return lo <= count_ && compareName(lo).compare(0, key.size(), key) == 0 ? lo : 0;
}

std::vector<std::int64_t> LocalityList::exactMatches(std::string_view typed, std::size_t limit) const {
    const std::string key = foldLocalityName(typed);
    std::vector<std::int64_t> found;
    if (key.empty()) return found;
    // The first name not below the key, then the run of names equal to it.
    std::int64_t lo = 1, hi = count_ + 1;
    while (lo < hi) {
        const std::int64_t mid = lo + (hi - lo) / 2;
        if (compareName(mid) < key) lo = mid + 1;
        else hi = mid;
    }
    for (std::int64_t k = lo; k <= count_ && found.size() < limit; ++k) {
        if (trimmedRight(compareName(k)) != key) break;
        found.push_back(k);
    }
    return found;
}

std::array<std::string, kLocalityWindowLines> LocalityList::windowLines(std::int64_t centre) const {
    std::array<std::string, kLocalityWindowLines> lines;
    const std::int64_t first = std::max<std::int64_t>(centre, 3) - 3;
    for (int i = 0; i < kLocalityWindowLines; ++i) {
        const std::int64_t k = first + i;
        if (k <= count_) lines[static_cast<std::size_t>(i)] = localityLine(record(k));
    }
    return lines;
}

}  // namespace athanor
