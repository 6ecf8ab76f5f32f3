#pragma once
// The records of the three correction files. Each value is the reference at the record's
// instant minus the engine's own uncorrected value at the same Julian day, rounded to the
// nearest unit of the file; records outside the dates the engine reads are zero.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace athanor::corrections {

// FilePosi\DSEL.rnd: the Moon's longitude, one signed 16-bit record of arc-seconds a day,
// record n at Julian day n + 1721420.5 (0h UT).
struct MoonFile {
    static constexpr const char* kName = "DSEL.rnd";
    static constexpr int kRecordSize = 2;
    static constexpr long kRecords = 777954;
    static constexpr long kFirstUsed = 2, kLastUsed = 777953;
    static long double instant(long n) { return 1721420.5L + static_cast<long double>(n); }
};

// FilePosi\DPR1.rnd: five-day records of arc-minute corrections; fields 1..8 the longitudes
// and 10..17 the latitudes of Mercury to Pluto, 9 the true node. Record n serves the
// Julian days from 1721409 + 5n to five days later and carries that first day, noon.
struct FiveDayFile {
    static constexpr const char* kName = "DPR1.rnd";
    static constexpr int kRecordSize = 32;
    static constexpr long kRecords = 155594;
    static constexpr long kFirstPlanets = 2, kLastPlanets = 138723;  // years 1 to 1899
    static constexpr long kFirstNode = 4, kLastNode = 155593;        // years 1 to 2131
    static long double instant(long n) { return 1721409.0L + 5.0L * static_cast<long double>(n); }
};

// FilePosi\NOJLNE.rnd: osculating minus mean lunar apogee, one signed 32-bit record of
// arc-seconds a day, record n at Julian day n + 2341972.5 (0h UT, record 0 is 1 January 1700).
struct ApogeeFile {
    static constexpr const char* kName = "NOJLNE.rnd";
    static constexpr int kRecordSize = 4;
    static constexpr long kRecords = 146462;
    static constexpr long kFirstUsed = 54786, kLastUsed = 146461;  // 1850 to 2100
    static long double instant(long n) { return 2341972.5L + static_cast<long double>(n); }
};

// What happened to the values of one field.
struct FieldTally {
    long written = 0;    // values computed
    long clamped = 0;    // outside the field's range, stored at its limit
    long uncovered = 0;  // reference files missing for the date, stored as zero
    long largest = 0;    // largest magnitude stored
};

// Index 0 for the daily files; 1..17 for the fields of the five-day file.
struct Tally {
    FieldTally field[18];
    void merge(const Tally& other);
    long clamped() const;
    long uncovered() const;
};

// Program folders the engine is run on. `bare` holds all-zero correction files, so the
// engine gives its bare theories. `withMoon` holds the Moon's corrections and zeros
// otherwise: the true node depends on the corrected Moon, so its corrections are measured
// from the node the program actually computes.
struct EngineFolders {
    std::filesystem::path bare;
    std::filesystem::path withMoon;
};

// Writes full-size all-zero correction files into root/FilePosi (sparse where the file
// system allows).
void writeZeroFiles(const std::filesystem::path& root);

// The whole five-day file with zero corrections: every record still carries its date.
std::string zeroFiveDayFile();

struct Options {
    std::string ephePath;
    int threads = 1;
    // For tests: only the last `limit` values of each file and supplement piece are
    // computed, the others left zero; 0 computes them all.
    long limit = 0;
    // Called now and then from the calling thread with the records done so far.
    std::function<void(long done, long total)> progress;
};

// Bytes of records first..last (inclusive) of each file.
std::string moonRecords(const EngineFolders& folders, long first, long last, const Options& options, Tally& tally);
std::string fiveDayRecords(const EngineFolders& folders, long first, long last, const Options& options, Tally& tally);
std::string apogeeRecords(const EngineFolders& folders, long first, long last, const Options& options, Tally& tally);

}  // namespace athanor::corrections
