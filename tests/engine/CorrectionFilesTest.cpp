#include "engine/CorrectionFiles.h"
#include "engine/CorrectionFixtures.h"
#include "foundations/FileError.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace athanor {
namespace {

using test::kApogeeFileBase;
using test::kMoonFileBase;

// A non-linear sequence, so that a wrong pair of records shows.
std::vector<long double> dailyValues(int count) {
    std::vector<long double> v;
    for (int k = 0; k < count; ++k) v.push_back(7 * k * k - 300);
    return v;
}

TEST(CorrectionFiles, DailyInterpolationRoundsTiesToEven) {
    test::TempDir dir;
    const std::vector<long double> v = dailyValues(6);  // records 0..5 only
    const std::vector<int> v16(v.begin(), v.end());
    dir.write("FilePosi/DSEL.rnd", test::int16Records(v16));
    const std::vector<std::int32_t> v32(v.begin(), v.end());
    dir.write("FilePosi/NOJLNE.rnd", test::int32Records(v32));
    CorrectionFiles files{DataRoot(dir.path())};

    struct Case {
        long double offset;  // days after record 0
        long double expect;
    };
    const Case cases[] = {
        {3.25L, v[3] + 0.25L * (v[4] - v[3])},
        {2.75L, v[2] + 0.75L * (v[3] - v[2])},
        {4.0L, v[4]},  // 3.5 rounds to 4: fraction 0
        {3.0L, v[3]},  // 2.5 rounds to 2: fraction 1 of records 2 and 3
        {5.0L, v[5]},  // 4.5 rounds to 4, so the last pair is 4 and 5 and nothing is read beyond
        {1.5L, v[1] + 0.5L * (v[2] - v[1])},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(static_cast<double>(files.moon(kMoonFileBase + c.offset)), static_cast<double>(c.expect), 1e-9)
            << "moon at +" << static_cast<double>(c.offset);
        EXPECT_NEAR(static_cast<double>(files.blackMoon(kApogeeFileBase + c.offset)), static_cast<double>(c.expect),
                    1e-9)
            << "apogee at +" << static_cast<double>(c.offset);
    }
    // 4.6 rounds to 5: record 6 is missing.
    EXPECT_THROW(files.moon(kMoonFileBase + 5.1L), FileError);
    EXPECT_THROW(files.blackMoon(kApogeeFileBase + 5.1L), FileError);
}

TEST(CorrectionFiles, MoonValuesAboveAFullCircleWrapOnce) {
    test::TempDir dir;
    dir.write("FilePosi/DSEL.rnd", test::int16Records({0, 21000, 21800, 32767, -32768, 0}));
    dir.write("FilePosi/NOJLNE.rnd", test::int32Records({0, 21000, 21800, 2000000000, -2000000000, 0}));
    CorrectionFiles files{DataRoot(dir.path())};
    struct Case {
        long double offset;
        long double moon, apogee;
    };
    const Case cases[] = {
        {1.5L, 21400, 21400},
        {1.9L, 21720 - 21600, 21720},
        {2.0L, 21800 - 21600, 21800},
        {1.75L, 21600, 21600},  // exactly a full circle stays
        {3.0L, 32767 - 21600, 2000000000},
        {4.0L, -32768, -2000000000},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(static_cast<double>(files.moon(kMoonFileBase + c.offset)), static_cast<double>(c.moon), 1e-6)
            << static_cast<double>(c.offset);
        EXPECT_NEAR(static_cast<double>(files.blackMoon(kApogeeFileBase + c.offset)), static_cast<double>(c.apogee),
                    1e-3)
            << static_cast<double>(c.offset);
    }
}

TEST(CorrectionFiles, FiveDayRecordHeaderDecodesAsA48BitReal) {
    // Hand-made bytes: 1.0, -2.5 and 2415020.5.
    EXPECT_EQ(test::encodeReal48(1.0L), std::string("\x81\0\0\0\0\0", 6));
    EXPECT_EQ(test::encodeReal48(-2.5L), std::string("\x82\0\0\0\0\xA0", 6));

    test::TempDir dir;
    std::vector<test::FiveDayRecord> recs(3);
    // Record 1 carries a Julian day of its own, not the nominal one: interpolation must use it.
    recs[0].jd = 1721409.0L;
    recs[1].jd = 1721414.0L + 0.75L;
    recs[2].jd = 1721419.0L;
    recs[1].field[1] = 10;
    recs[2].field[1] = 20;
    dir.write("FilePosi/DPR1.rnd", test::fiveDayRecords(recs));
    CorrectionFiles files{DataRoot(dir.path())};
    // Day 1721417.25 lies in record 1; 2.5 days after its stored Julian day.
    EXPECT_NEAR(static_cast<double>(files.planet(1721417.25L, 1)), 15.0, 1e-12);
}

TEST(CorrectionFiles, FiveDayFieldsHaveTheirOwnOffsetsAndWidths) {
    test::TempDir dir;
    std::vector<test::FiveDayRecord> recs(4);
    for (int n = 0; n < 4; ++n) {
        recs[n].jd = test::kFiveDayOrigin + 0.5L + 5 * n;
        for (int f = 1; f <= 17; ++f) recs[n].field[f] = (f * 5 + n) * (f % 2 ? 1 : -1);
    }
    recs[2].field[3] = -128;  // 8-bit extremes
    recs[3].field[3] = 127;
    recs[2].field[8] = -1;  // 16-bit fields
    recs[3].field[8] = -30000;
    recs[2].field[17] = 21500;  // wraps past a full circle of arc-minutes
    recs[3].field[17] = 21800;
    dir.write("FilePosi/DPR1.rnd", test::fiveDayRecords(recs));
    CorrectionFiles files{DataRoot(dir.path())};

    const long double jd = recs[2].jd + 2.5L;  // halfway from record 2 to record 3
    for (int f = 1; f <= 17; ++f) {
        const long double p = recs[2].field[f], q = recs[3].field[f];
        long double expect = (p + q) / 2;
        if (expect > 21600) expect -= 21600;
        EXPECT_NEAR(static_cast<double>(files.planet(jd, f)), static_cast<double>(expect), 1e-12) << "field " << f;
    }
    EXPECT_NEAR(static_cast<double>(files.planet(recs[2].jd, 3)), -128.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(files.planet(recs[2].jd, 8)), -1.0, 1e-12);
    // Records are found by truncation: the last instant of record 2's span still uses records 2 and 3.
    EXPECT_NEAR(static_cast<double>(files.planet(recs[2].jd + 4.999L, 1)), recs[2].field[1] + 4.999 / 5, 1e-9);
    // Record 3 is the last: day 0 of it needs a record 4.
    EXPECT_THROW(files.planet(recs[3].jd, 1), FileError);
    EXPECT_THROW(files.planet(jd, 0), std::invalid_argument);
    EXPECT_THROW(files.planet(jd, 18), std::invalid_argument);
}

TEST(CorrectionFiles, BatchServesARecordPairOnceReadUntilTheOutermostBatchEnds) {
    test::TempDir dir;
    dir.write("FilePosi/DSEL.rnd", test::int16Records({0, 100, 200, 300, 400, 500}));
    std::vector<test::FiveDayRecord> recs(3);
    for (int n = 0; n < 3; ++n) {
        recs[n].jd = test::kFiveDayOrigin + 0.5L + 5 * n;
        for (int f = 1; f <= 17; ++f) recs[n].field[f] = f * 10 + n;
    }
    dir.write("FilePosi/DPR1.rnd", test::fiveDayRecords(recs));
    CorrectionFiles files{DataRoot(dir.path())};
    auto moonAt = [&](long double offset) { return static_cast<double>(files.moon(kMoonFileBase + offset)); };
    {
        const CorrectionFiles::Batch outer(files);
        EXPECT_NEAR(moonAt(1.25L), 125, 1e-9);
        // Same records, another fraction; other fields of the same five-day records.
        EXPECT_NEAR(moonAt(1.75L), 175, 1e-9);
        EXPECT_NEAR(static_cast<double>(files.planet(recs[0].jd + 2.5L, 3)), 30.5, 1e-12);
        EXPECT_NEAR(static_cast<double>(files.planet(recs[0].jd + 2.5L, 17)), 170.5, 1e-12);
        EXPECT_THROW(files.moon(kMoonFileBase + 5.1L), FileError);

        dir.write("FilePosi/DSEL.rnd", test::int16Records({0, -100, -200, -300, -400, -500}));
        { const CorrectionFiles::Batch inner(files); }
        EXPECT_NEAR(moonAt(1.25L), 125, 1e-9);  // kept from before the change
        EXPECT_NEAR(moonAt(3.5L), -350, 1e-9);  // another pair: read now
        EXPECT_NEAR(moonAt(3.25L), -325, 1e-9);
    }
    EXPECT_NEAR(moonAt(1.25L), -125, 1e-9);  // the batch is over: read again
    EXPECT_NEAR(moonAt(3.25L), -325, 1e-9);
}

TEST(CorrectionFiles, AFiveDayRecordOutOfItsPlaceIsADamagedFile) {
    // A record of zeros, of 0xFF, and one carrying the date of another record: each would
    // stretch the interpolation (Jupiter at 2.9e17 degrees); the file is reported instead.
    test::FiveDayRecord good, next;
    good.jd = test::kFiveDayOrigin + 0.5L;
    next.jd = good.jd + 5;
    test::FiveDayRecord elsewhere = good;
    elsewhere.jd = good.jd + 5000;
    const std::string goodBytes = test::fiveDayRecords({good, next});
    for (const std::string& bytes :
         {std::string(64, '\0'), std::string(64, '\xFF'), test::fiveDayRecords({elsewhere, next})}) {
        test::TempDir dir;
        dir.write("FilePosi/DPR1.rnd", bytes);
        CorrectionFiles files{DataRoot(dir.path())};
        try {
            files.planet(test::kFiveDayOrigin + 0.5L, 5);
            ADD_FAILURE() << "no error";
        } catch (const FileError& e) {
            EXPECT_EQ(e.fault(), FileFault::Damaged);
            EXPECT_NE(std::string(e.what()).find("DPR1.rnd"), std::string::npos) << e.what();
        }
    }
    test::TempDir dir;
    dir.write("FilePosi/DPR1.rnd", goodBytes);
    EXPECT_NO_THROW(CorrectionFiles{DataRoot(dir.path())}.planet(test::kFiveDayOrigin + 0.5L, 5));
}

TEST(CorrectionFiles, FailuresNameTheFile) {
    test::TempDir dir;
    CorrectionFiles files{DataRoot(dir.path())};
    struct Case {
        const char* name;
        std::function<void()> lookup;
    };
    const Case missing[] = {
        {"DSEL.rnd", [&] { files.moon(2451545.0L); }},
        {"DPR1.rnd", [&] { files.planet(2400000.0L, 1); }},
        {"NOJLNE.rnd", [&] { files.blackMoon(2451545.0L); }},
    };
    for (const Case& c : missing) {
        try {
            c.lookup();
            ADD_FAILURE() << c.name << " missing but no error";
        } catch (const FileError& e) {
            EXPECT_EQ(e.path().filename().string(), c.name);
            EXPECT_FALSE(e.systemMessage().empty());
        }
    }

    // Present but too short: a whole record missing, then half a record.
    dir.write("FilePosi/DSEL.rnd", test::int16Records({1, 2, 3}) + std::string(1, '\0'));
    test::FiveDayRecord r, r1;
    r.jd = test::kFiveDayOrigin + 0.5L;
    r1.jd = r.jd + 5;
    dir.write("FilePosi/DPR1.rnd", test::fiveDayRecords({r, r1}) + std::string(10, '\0'));
    dir.write("FilePosi/NOJLNE.rnd", test::int32Records({1, 2}));
    EXPECT_NO_THROW(files.moon(kMoonFileBase + 1.5L));
    EXPECT_NO_THROW(files.planet(test::kFiveDayOrigin + 0.5L, 5));
    EXPECT_NO_THROW(files.blackMoon(kApogeeFileBase + 0.5L));
    const Case shortFiles[] = {
        {"DSEL.rnd", [&] { files.moon(kMoonFileBase + 2.5L); }},   // records 2 and (half) 3
        {"DSEL.rnd", [&] { files.moon(kMoonFileBase + 40.5L); }},  // far beyond the end
        {"DPR1.rnd", [&] { files.planet(test::kFiveDayOrigin + 5.5L, 5); }},
        {"DPR1.rnd", [&] { files.planet(test::kFiveDayOrigin + 10.5L, 5); }},
        {"NOJLNE.rnd", [&] { files.blackMoon(kApogeeFileBase + 1.5L); }},
        {"NOJLNE.rnd", [&] { files.blackMoon(kApogeeFileBase - 3.0L); }},  // before record 0
        {"DSEL.rnd", [&] { files.moon(std::numeric_limits<long double>::quiet_NaN()); }},
        {"DPR1.rnd", [&] { files.planet(std::numeric_limits<long double>::infinity(), 1); }},
        {"NOJLNE.rnd", [&] { files.blackMoon(1e300L); }},
    };
    for (const Case& c : shortFiles) {
        try {
            c.lookup();
            ADD_FAILURE() << c.name << " read beyond its end without an error";
        } catch (const FileError& e) {
            EXPECT_EQ(e.path().filename().string(), c.name);
        }
    }
}

TEST(CorrectionFiles, NamesMatchRegardlessOfCase) {
    test::TempDir dir;
    dir.write("filePOSI/dsel.RND", test::int16Records({0, 0, 120, 240}));
    CorrectionFiles files{DataRoot(dir.path())};
    EXPECT_NEAR(static_cast<double>(files.moon(kMoonFileBase + 2.5L)), 180.0, 1e-12);
}

}  // namespace
}  // namespace athanor
