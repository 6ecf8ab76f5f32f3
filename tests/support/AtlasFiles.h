#pragma once
// The bytes of an atlas's files, for tests that lay out a small atlas of their own.
#include "subjects/Localities.h"
#include "subjects/TimeZones.h"

#include <string>
#include <vector>

namespace athanor::test {

// A locality list: the blank header record, then the places in the order given.
inline std::string listBytes(const std::vector<LocalityRecord>& places) {
    std::string bytes(kLocalityRecordSize, '\0');
    for (const auto& p : places) {
        const Bytes r = encodeLocality(p);
        bytes.append(r.begin(), r.end());
    }
    return bytes;
}

// A time-zone table: its records in the order given.
inline std::string tableBytes(const std::vector<ZoneRecord>& records) {
    std::string bytes;
    for (const auto& r : records) {
        const Bytes b = encodeZoneRecord(r);
        bytes.append(b.begin(), b.end());
    }
    return bytes;
}

}  // namespace athanor::test
