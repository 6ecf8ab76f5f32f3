#include "foundations/Binary.h"
#include "foundations/BinaryReals.h"

#include <gtest/gtest.h>

#include <array>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace athanor {
namespace {

using B = std::vector<std::uint8_t>;

TEST(Binary, ReadsAndWritesLittleEndianIntegers) {
    const B bytes = {0x78, 0x56, 0x34, 0x12, 0xFF, 0xFF, 0x80, 0x00, 0xF8, 0x3F};
    EXPECT_EQ(getI8(&bytes[6]), -128);
    EXPECT_EQ(getU8(&bytes[6]), 0x80);
    EXPECT_EQ(getI16(&bytes[4]), -1);
    EXPECT_EQ(getU16(&bytes[4]), 0xFFFF);
    EXPECT_EQ(getI16(&bytes[0]), 0x5678);
    EXPECT_EQ(getI32(&bytes[0]), 0x12345678);
    EXPECT_EQ(getI32(&bytes[2]), static_cast<std::int32_t>(0xFFFF1234));
    EXPECT_EQ(getU64(&bytes[0]), 0x0080FFFF12345678ULL);

    std::array<std::uint8_t, 8> out{};
    putI16(out.data(), -2);
    EXPECT_EQ(out[0], 0xFE);
    EXPECT_EQ(out[1], 0xFF);
    putI32(out.data(), -123456789);
    EXPECT_EQ(getI32(out.data()), -123456789);
    putF64(out.data(), 1.5);
    EXPECT_EQ(out, (std::array<std::uint8_t, 8>{0, 0, 0, 0, 0, 0, 0xF8, 0x3F}));
    EXPECT_EQ(getF64(out.data()), 1.5);
}

TEST(Real48, DecodesKnownBytes) {
    struct Case {
        B bytes;
        long double value;
    };
    const Case cases[] = {
        {{0x81, 0, 0, 0, 0, 0}, 1.0L},
        {{0x81, 0, 0, 0, 0, 0x40}, 1.5L},
        {{0x80, 0, 0, 0, 0, 0x80}, -0.5L},
        {{0x96, 0x00, 0x00, 0x64, 0xA1, 0x15}, 2451545.0L},
        {{0x00, 0xAB, 0xCD, 0xEF, 0x12, 0xB4}, 0.0L},  // exponent 0 is zero whatever follows
        {{0x01, 0, 0, 0, 0, 0}, std::ldexp(1.0L, -128)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decodeReal48(c.bytes.data()), c.value);
        if (c.value != 0) {
            B out(6);
            encodeReal48(c.value, out.data());
            EXPECT_EQ(out, c.bytes);
        }
    }
}

TEST(Real48, EncodesToTheNearestValueAndSaturates) {
    std::array<std::uint8_t, 6> b{};
    // Julian days with half days and small integers are exact.
    for (long double v : {2415020.5L, 1721423.5L, -7.25L, 1e-30L, 123456789.0L}) {
        encodeReal48(v, b.data());
        const long double back = decodeReal48(b.data());
        EXPECT_LE(std::fabs(back - v), std::fabs(v) * std::ldexp(1.0L, -40)) << static_cast<double>(v);
    }
    encodeReal48(2451545.123456789L, b.data());
    EXPECT_NEAR(static_cast<double>(decodeReal48(b.data())), 2451545.123456789, 1e-5);

    const long double largest = std::ldexp(static_cast<long double>((1ULL << 40) - 1), 126 - 39);
    encodeReal48(1e300L, b.data());
    EXPECT_EQ(decodeReal48(b.data()), largest);
    encodeReal48(-HUGE_VALL, b.data());
    EXPECT_EQ(decodeReal48(b.data()), -largest);
    encodeReal48(NAN, b.data());
    EXPECT_EQ(decodeReal48(b.data()), 0.0L);
    encodeReal48(1e-60L, b.data());
    EXPECT_EQ(decodeReal48(b.data()), 0.0L);
    // A value whose rounding carries into the exponent.
    encodeReal48(2.0L - std::ldexp(1.0L, -45), b.data());
    EXPECT_EQ(decodeReal48(b.data()), 2.0L);
}

TEST(Extended80, DecodesKnownBytesAndOddEncodingsSafely) {
    struct Case {
        B bytes;
        long double value;
    };
    const Case cases[] = {
        {{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}, 1.0L},
        {{0, 0, 0, 0, 0, 0, 0, 0xC0, 0x00, 0xC0}, -3.0L},
        {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0.0L},
        {{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, std::ldexp(1.0L, -16445)},  // smallest denormal
        {{0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F}, 0.5L},             // unnormal: no integer bit
        {{0, 0, 0, 0, 0, 0, 0, 0x00, 0xFF, 0x7F}, HUGE_VALL},        // pseudo-infinity
        {{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF}, -HUGE_VALL},
    };
    for (const Case& c : cases) EXPECT_EQ(decodeExtended80(c.bytes.data()), c.value);

    const B nan = {0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F};
    EXPECT_TRUE(std::isnan(decodeExtended80(nan.data())));
    const B signalling = {1, 0, 0, 0, 0, 0, 0, 0x00, 0xFF, 0x7F};
    EXPECT_TRUE(std::isnan(decodeExtended80(signalling.data())));
}

TEST(Extended80, EncodingRoundTripsAndMatchesTheX87Layout) {
    const long double values[] = {0.0L,
                                  -0.0L,
                                  1.0L,
                                  -2.5L,
                                  45.4666666666666666667L,
                                  -9.18333333333333L,
                                  3.14159265358979323846L,
                                  2451545.0L + 1.0L / 3,
                                  LDBL_MIN,
                                  LDBL_MAX,
                                  LDBL_TRUE_MIN,
                                  LDBL_MIN / 3,
                                  -LDBL_TRUE_MIN * 5,
                                  HUGE_VALL,
                                  -HUGE_VALL};
    for (long double v : values) {
        std::array<std::uint8_t, 10> b{};
        encodeExtended80(v, b.data());
        const long double back = decodeExtended80(b.data());
        EXPECT_EQ(back, v) << static_cast<double>(v);
        EXPECT_EQ(std::signbit(back), std::signbit(v));
        if constexpr (std::numeric_limits<long double>::digits == 64) {
            std::array<std::uint8_t, 10> native{};
            std::memcpy(native.data(), &v, 10);
            EXPECT_EQ(b, native) << static_cast<double>(v);
        }
    }
    std::array<std::uint8_t, 10> b{};
    encodeExtended80(NAN, b.data());
    EXPECT_TRUE(std::isnan(decodeExtended80(b.data())));
}

}  // namespace
}  // namespace athanor
