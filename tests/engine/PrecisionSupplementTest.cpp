// FilePosi\DSUP.rnd, the precision supplement: its pieces and cells, what a damaged file
// does, how the driver applies it, and that a folder without it computes what the engine
// computed before it existed, to the bit.
#include "engine/CorrectionFixtures.h"
#include "engine/Positions.h"
#include "engine/PrecisionSupplement.h"
#include "foundations/FileError.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace athanor {
namespace {

namespace fs = std::filesystem;
using supplement::Latitude;
using supplement::Longitude;
using supplement::Piece;

const fs::path kCommitted = fs::path(ATHANOR_SOURCE_DIR) / "data";

// A piece whose values are f at its instants, in its unit.
Piece sampled(Piece p, const std::function<long double(long double)>& f) {
    const supplement::Grid g = p.grid();
    p.values.clear();
    for (long long n = 0; n < g.valueCount(); ++n)
        p.values.push_back(static_cast<std::int32_t>(std::llround(f(g.instant(n)) * 1.0e6L / p.unit)));
    return p;
}

Piece piece(int body, int coordinate, double from, double to, double origin, double cell, int degree, int width = 2,
            std::uint32_t unit = 10000, bool includesTo = false) {
    Piece p;
    p.body = body;
    p.coordinate = coordinate;
    p.from = from;
    p.to = to;
    p.origin = origin;
    p.cellLength = cell;
    p.degree = degree;
    p.width = width;
    p.unit = unit;
    p.includesTo = includesTo;
    return p;
}

long double lookup(const supplement::File& f, int body, supplement::Coordinate c, long double jd, bool& covered) {
    double v = 0;
    covered = f.lookup(body, c, jd, v);
    return v;
}

// Polynomials of a cell's degree come back exactly, but for the rounding of the stored
// values, wherever the cells fall: cut at both ends of the piece, of any length.
TEST(PrecisionSupplement, CellsReturnPolynomialsOfTheirDegree) {
    struct Case {
        Piece piece;
        const char* what;
    };
    const Case cases[] = {
        {piece(3, Longitude, 2400001.3, 2400097.9, 2399999.0, 5, 3), "cubic, five-day cells cut at both ends"},
        {piece(3, Latitude, 2400000.0, 2400100.0, 2400000.0, 10, 5), "quintic, whole cells"},
        {piece(1, Longitude, 2400000.5, 2400050.5, 2399990.0, 20, 2), "quadratic, one cell cut to a sliver"},
        {piece(11, Longitude, 2400000.0, 2400009.5, 2400000.0, 0.5, 1), "lines, half-day cells"},
        {piece(16, Longitude, 2400000.0, 2400200.0, 2399995.0, 20, 7, 4), "degree 7, 32-bit values of tens of degrees"},
        {piece(9, Latitude, 2400000.0, 2400003.0, 2400000.0, 40, 4, 2, 100000), "one short cell, 0.1\" units"},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        const int p = c.piece.degree;
        // A polynomial of degree p in days from the piece's start, a few hundred arc-seconds
        // (tens of degrees for the 32-bit case) across it.
        const long double span = c.piece.to - c.piece.from;
        const long double size = c.piece.width == 4 ? 50000.0L : 100.0L;
        auto f = [&](long double t) {
            const long double x = (t - c.piece.from) / span;
            long double v = 0;
            for (int k = p; k >= 0; --k) v = v * x + size * (k % 2 ? 1 : -0.7L) / (k + 1);
            return v;
        };
        const Piece filled = sampled(c.piece, f);
        dir.write("FilePosi/DSUP.rnd", supplement::encode({filled}));
        const supplement::File file(dir.path() / "FilePosi" / "DSUP.rnd");
        // Rounding of p + 1 values, each within half a unit, through weights whose sum of
        // magnitudes stays below 7 for p <= 7 over a cell.
        const long double tolerance = 3.5L * c.piece.unit / 1.0e6L + 1e-9L;
        const supplement::Coordinate coordinate = static_cast<supplement::Coordinate>(c.piece.coordinate);
        for (int k = 0; k < 400; ++k) {
            const long double t = c.piece.from + span * k / 400.0L;
            bool covered = false;
            const long double v = lookup(file, c.piece.body, coordinate, t, covered);
            ASSERT_TRUE(covered) << c.what << " at " << static_cast<double>(t);
            ASSERT_NEAR(static_cast<double>(v), static_cast<double>(f(t)), static_cast<double>(tolerance))
                << c.what << " at +" << static_cast<double>(t - c.piece.from);
        }
        bool covered = true;
        lookup(file, c.piece.body, coordinate, c.piece.from - 1e-6L, covered);
        EXPECT_FALSE(covered) << c.what;
        lookup(file, c.piece.body, coordinate, c.piece.to, covered);
        EXPECT_FALSE(covered) << c.what << ": its end belongs to no piece";
        lookup(file, c.piece.body, static_cast<supplement::Coordinate>(1 - c.piece.coordinate), c.piece.from + 1,
               covered);
        EXPECT_FALSE(covered) << c.what << ": the other coordinate has no piece";
    }
}

// Where the theory jumps, one piece ends and the next begins; the instant of the jump
// goes to the side the engine puts it on.
TEST(PrecisionSupplement, BoundaryInstantsGoToTheirSide) {
    auto constant = [](long double v) { return [v](long double) { return v; }; };
    const std::vector<Piece> pieces = {
        sampled(piece(6, Longitude, 2415000.0, 2415020.0, 2415000.0, 5, 2), constant(10)),
        sampled(piece(6, Longitude, 2415020.0, 2415030.0, 2415000.0, 5, 2, 2, 10000, true), constant(20)),
        sampled(piece(6, Longitude, 2415030.0, 2415040.0, 2415000.0, 5, 2), constant(30)),
        sampled(piece(7, Latitude, 2415000.0, 2415040.0, 2415000.0, 10, 3), constant(-5)),
    };
    test::TempDir dir;
    dir.write("FilePosi/DSUP.rnd", supplement::encode(pieces));
    const supplement::File file(dir.path() / "FilePosi" / "DSUP.rnd");
    struct Case {
        long double jd;
        bool covered;
        long double value;
    };
    const Case cases[] = {
        {2414999.9L, false, 0},    {2415000.0L, true, 10},  {2415019.999L, true, 10},
        {2415020.0L, true, 20},                             // an open end: the next piece
        {2415025.0L, true, 20},    {2415030.0L, true, 20},  // an end that belongs to its piece
        {2415030.0001L, true, 30}, {2415039.99L, true, 30}, {2415040.0L, false, 0},
    };
    for (const Case& c : cases) {
        bool covered = false;
        const long double v = lookup(file, 6, Longitude, c.jd, covered);
        EXPECT_EQ(covered, c.covered) << static_cast<double>(c.jd);
        EXPECT_NEAR(static_cast<double>(v), static_cast<double>(c.value), 1e-9) << static_cast<double>(c.jd);
    }
    // Asked in any order, the same instants give the same values.
    for (int round = 0; round < 2; ++round)
        for (const Case& c : cases) {
            bool covered = false;
            EXPECT_NEAR(static_cast<double>(lookup(file, 6, Longitude, c.jd, covered)), static_cast<double>(c.value),
                        1e-9);
        }
    bool covered = false;
    EXPECT_NEAR(static_cast<double>(lookup(file, 7, Latitude, 2415020.0L, covered)), -5.0, 1e-9);
    lookup(file, 7, Longitude, 2415020.0L, covered);
    EXPECT_FALSE(covered);
    lookup(file, 5, Longitude, 2415020.0L, covered);
    EXPECT_FALSE(covered);
}

// ---------------------------------------------------------------------------------------

std::string validFile() {
    // Two pieces over seven checksum blocks; the second ends in the last one.
    return supplement::encode({
        sampled(piece(3, Longitude, 2400000.0, 2420000.0, 2400000.0, 5, 3),
                [](long double t) { return std::sin(t) * 50; }),
        sampled(piece(3, Latitude, 2400000.0, 2401000.0, 2400000.0, 5, 3),
                [](long double t) { return std::cos(t) * 5; }),
    });
}

// A damaged or cut file stops the chart with the usual file error, every time, and never
// computes a chart without it.
TEST(PrecisionSupplement, DamagedFilesStopTheChart) {
    const std::string good = validFile();
    ASSERT_GT(good.size(), 6u * 4096u);
    auto flipped = [&](std::size_t at) {
        std::string s = good;
        s[at] = static_cast<char>(s[at] ^ 0x10);
        return s;
    };
    struct Case {
        const char* what;
        std::string bytes;
        long double jd;  // where the damage shows: at opening, or in the block read
    };
    const Case cases[] = {
        {"empty", "", 2400100.0L},
        {"cut inside the header", good.substr(0, 40), 2400100.0L},
        {"one byte short", good.substr(0, good.size() - 1), 2400100.0L},
        {"one byte more", good + std::string(1, '\0'), 2400100.0L},
        {"another signature", flipped(3), 2400100.0L},
        {"a size that is not its own", flipped(25), 2400100.0L},
        {"a piece table byte changed", flipped(64 + 9), 2400100.0L},
        {"a checksum changed", flipped(64 + 2 * 64 + 1), 2400100.0L},
        {"a value changed in the last block", flipped(good.size() - 3), 2400800.0L},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        test::writeZeroCorrectionFiles(dir.path());
        dir.write("FilePosi/DSUP.rnd", c.bytes);
        const CorrectionFiles files{DataRoot(dir.path())};
        for (int attempt = 0; attempt < 2; ++attempt) {
            ChartState chart;
            try {
                positionsWithRetrograde(chart, files, kSelectAll, c.jd);
                ADD_FAILURE() << c.what << ": a chart without an error";
            } catch (const FileError& e) {
                EXPECT_EQ(e.path().filename().string(), "DSUP.rnd") << c.what;
            }
        }
    }
    // A damaged block stops only the charts that read it.
    test::TempDir dir;
    test::writeZeroCorrectionFiles(dir.path());
    dir.write("FilePosi/DSUP.rnd", flipped(good.size() - 3));
    const CorrectionFiles files{DataRoot(dir.path())};
    ChartState chart;
    EXPECT_NO_THROW(positionsWithRetrograde(chart, files, kSelectAll, 2400100.0L));
    EXPECT_THROW(positionsWithRetrograde(chart, files, kSelectAll, 2400800.0L), FileError);

    // Cut short in place while open (a copy over it, a full disk): a damaged file, never the
    // end of the program.
    test::TempDir cutDir;
    test::writeZeroCorrectionFiles(cutDir.path());
    cutDir.write("FilePosi/DSUP.rnd", good);
    const CorrectionFiles open{DataRoot(cutDir.path())};
    EXPECT_NO_THROW(positionsWithRetrograde(chart, open, kSelectAll, 2400100.0L));
    fs::resize_file(cutDir.path() / "FilePosi" / "DSUP.rnd", 5000);
    EXPECT_THROW(positionsWithRetrograde(chart, open, kSelectAll, 2400800.0L), FileError);
}

// ---------------------------------------------------------------------------------------

// FNV-1a over the ten significant bytes of every value the driver writes.
std::uint64_t digest(const ChartState& c) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    auto add = [&](long double v) {
        unsigned char bytes[sizeof v];
        std::memcpy(bytes, &v, sizeof v);
        for (int i = 0; i < 10; ++i) h = (h ^ bytes[i]) * 0x100000001b3ull;
    };
    for (const BodyArray* a : {&c.BodyLongitude, &c.BodyLatitude, &c.BodyRightAscension, &c.BodyDeclination,
                               &c.HelioLongitude, &c.HelioLatitude})
        for (int b = 1; b <= 19; ++b) add((*a)[b]);
    add(c.EquationOfTime);
    return h;
}

// What the engine computes with the three committed files and no supplement: the retrograde
// wrapper for all bodies and for the true node alone. First taken before the supplement
// existed (commit 9f5ffda) and unchanged by it; taken again when the positions moved from
// long double to double, which changed them by at most a few billionths of a degree.
struct Golden {
    long double jd;
    int selection;
    std::uint64_t digest;
};
constexpr Golden kBefore[] = {
    {1721400.30L, 0, 0xe8bfce66ef7e9a1bull}, {1721400.30L, 11, 0x798e91b87421c009ull},  // before year 1
    {1721425.30L, 0, 0x185ccfbcf16c33cdull}, {1721425.30L, 11, 0x4ad106513c58c7e0ull},
    {2159000.61L, 0, 0x01b01af9f988c8f4ull}, {2159000.61L, 11, 0x8cd1fda12fe21c18ull},
    {2341969.70L, 0, 0x454aea7b3a1efe9eull}, {2341969.70L, 11, 0xacee78061db1070dull},
    {2341970.20L, 0, 0x3445ba04f7840d8full}, {2341970.20L, 11, 0xabc098d0cb73bbcbull},
    {2401234.90L, 0, 0x7b181b716c8d62e5ull}, {2401234.90L, 11, 0x3e44b34a2788ac2dull},
    {2415020.20L, 0, 0x2f413ff22f6a0e97ull}, {2415020.20L, 11, 0x9ce1a7d84d13dac7ull},
    {2415020.70L, 0, 0xbaa74ebd1e272d80ull}, {2415020.70L, 11, 0xfb6615b6db85a433ull},
    {2441817.38L, 0, 0xc6f082b8c18e799cull}, {2441817.38L, 11, 0x8b9f9e5a30928d32ull},
    {2447496.34L, 0, 0x1b77f61243eb4558ull}, {2447496.34L, 11, 0xb6b7d4056862f332ull},
    {2470000.61L, 0, 0xa73213acd4e7f975ull}, {2470000.61L, 11, 0xe9798747bbe3ad5cull},
    {2488070.30L, 0, 0xc53119ddbe6e0dfeull}, {2488070.30L, 11, 0x84d96d0b45949733ull},
    {2495000.20L, 0, 0xf6091b94b4cb009cull}, {2495000.20L, 11, 0xbeeaa6c3bbe0d202ull},  // after 2100
};
// The driver's speed pass alone, every body.
constexpr Golden kSpeedPassBefore[] = {
    {2401234.90L, 0, 0x4e66b4b8d1738839ull},
    {2447496.34L, 0, 0xdc51f9e2149374eeull},
};

ChartState wrapped(const CorrectionFiles& files, const Golden& g) {
    ChartState c;
    c.NodeKind = "VERO";
    c.BlackMoonKind = "VERA";
    c.HouseCusp[0] = 123.25L;
    c.HouseCusp[6] = 303.25L;
    positionsWithRetrograde(c, files, g.selection, g.jd);
    return c;
}

// A folder carried over from before: the committed three files and no supplement.
void linkThreeFiles(const test::TempDir& dir) {
    fs::create_directories(dir.path() / "FilePosi");
    for (const char* name : {"DSEL.rnd", "DPR1.rnd", "NOJLNE.rnd"})
        fs::create_symlink(kCommitted / "FilePosi" / name, dir.path() / "FilePosi" / name);
}

TEST(PrecisionSupplement, WithoutTheFileTheEngineIsUnchangedToTheBit) {
    test::TempDir dir;
    linkThreeFiles(dir);
    const CorrectionFiles files{DataRoot(dir.path())};
    ASSERT_EQ(files.supplement(), nullptr);
    for (const Golden& g : kBefore)
        EXPECT_EQ(digest(wrapped(files, g)), g.digest)
            << "JD " << static_cast<double>(g.jd) << ", selection " << g.selection;
    for (const Golden& g : kSpeedPassBefore) {
        ChartState c;
        c.NodeKind = "VERO";
        c.BlackMoonKind = "VERA";
        runDriver(c, files, g.selection, true, g.jd);
        EXPECT_EQ(digest(c), g.digest) << "speed pass, JD " << static_cast<double>(g.jd);
    }

    // With the committed supplement, outside its years nothing changes either; inside
    // them every chart changes.
    const CorrectionFiles withSupplement{DataRoot(kCommitted)};
    ASSERT_NE(withSupplement.supplement(), nullptr);
    for (const Golden& g : kBefore) {
        const bool outside = g.jd < 1721423.5L || g.jd >= 2488434.5L;
        EXPECT_EQ(digest(wrapped(withSupplement, g)) == g.digest, outside) << "JD " << static_cast<double>(g.jd);
    }
}

// ---------------------------------------------------------------------------------------

// A supplement of constants: every body takes its own in both evaluations, the latitudes
// only outside the speed pass; the Moon and the Black Moon are left alone. Bodies more
// than 30 degrees from the Sun are not deflected, so their shifts are exactly the constants.
TEST(PrecisionSupplement, TheDriverAddsItAfterTheFiles) {
    const long double jd = 2451700.3L;
    const double from = 2451600.0, to = 2451800.0;
    const int bodies[] = {1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 15, 16, 17, 18, 19};
    auto lonShift = [](int b) { return 3.0L * b + 1; };  // arc-seconds
    auto latShift = [](int b) { return -0.5L * b - 2; };
    std::vector<Piece> pieces;
    for (int b : bodies) {
        const long double lon = lonShift(b), lat = latShift(b);
        pieces.push_back(sampled(piece(b, Longitude, from, to, from, 10, 3), [lon](long double) { return lon; }));
        if (b != 11)
            pieces.push_back(sampled(piece(b, Latitude, from, to, from, 20, 2), [lat](long double) { return lat; }));
    }
    test::TempDir without, with;
    test::writeConstantMoonFile(without.path(), 7);
    test::writeConstantApogeeFile(without.path(), 11);
    test::writeConstantFiveDayFile(without.path(), test::FiveDayRecord{});
    test::writeConstantMoonFile(with.path(), 7);
    test::writeConstantApogeeFile(with.path(), 11);
    test::writeConstantFiveDayFile(with.path(), test::FiveDayRecord{});
    with.write("FilePosi/DSUP.rnd", supplement::encode(pieces));
    const CorrectionFiles plain{DataRoot(without.path())}, supplemented{DataRoot(with.path())};

    for (bool speedPass : {false, true}) {
        ChartState a, b;
        for (ChartState* c : {&a, &b}) {
            c->NodeKind = "VERO";
            c->BlackMoonKind = "VERA";
        }
        runDriver(a, plain, kSelectAll, speedPass, jd);
        runDriver(b, supplemented, kSelectAll, speedPass, jd);
        for (int body : {2, 12}) {
            EXPECT_EQ(a.BodyLongitude[body], b.BodyLongitude[body]) << body;
            EXPECT_EQ(a.BodyLatitude[body], b.BodyLatitude[body]) << body;
        }
        for (int body : bodies) {
            const long double sun = a.BodyLongitude[1];
            long double elongation = std::fabs(a.BodyLongitude[body] - sun);
            if (elongation > 180) elongation = 360 - elongation;
            const bool deflected = body != 1 && body != 11 && elongation < 31;
            const double dLon = static_cast<double>((b.BodyLongitude[body] - a.BodyLongitude[body]) * 3600.0L);
            const double dLat = static_cast<double>((b.BodyLatitude[body] - a.BodyLatitude[body]) * 3600.0L);
            SCOPED_TRACE("body " + std::to_string(body) + (speedPass ? ", speed pass" : ""));
            if (deflected) {
                // The deflection: at most a few arc-seconds, through the solar disk.
                EXPECT_NEAR(dLon, static_cast<double>(lonShift(body)), 5.0);
                continue;
            }
            // The true node also follows the corrected Sun, by at most 0.07 times the Sun's
            // shift (the sum of its terms' coefficients times their multiples of S).
            EXPECT_NEAR(dLon, static_cast<double>(lonShift(body)), body == 11 ? 0.07 * 4 : 1e-9);
            const double expected = speedPass || body == 11 ? 0.0 : static_cast<double>(latShift(body));
            EXPECT_NEAR(dLat, expected, 1e-9);
        }
    }
    // Shifts that move nothing in time change no retrograde mark.
    ChartState a, b;
    positionsWithRetrograde(a, plain, kSelectAll, jd);
    positionsWithRetrograde(b, supplemented, kSelectAll, jd);
    for (int body : bodies) EXPECT_EQ(a.BodyLongitude[body] < 0, b.BodyLongitude[body] < 0) << body;
}

}  // namespace
}  // namespace athanor
