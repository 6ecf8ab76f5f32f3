#include "foundations/BinaryReals.h"

#include <cmath>
#include <cstring>

namespace athanor {

namespace {

// Round to the nearest integer, ties to even, whatever the current rounding mode.
long double roundHalfEven(long double t) {
    const long double fl = std::floor(t);
    const long double diff = t - fl;
    if (diff > 0.5L) return fl + 1;
    if (diff < 0.5L) return fl;
    return std::fmod(fl, 2.0L) == 0 ? fl : fl + 1;
}

constexpr std::uint64_t kBit39 = std::uint64_t{1} << 39;
constexpr std::uint64_t kBit63 = std::uint64_t{1} << 63;

void putReal48(std::uint8_t* p, int exponent, std::uint64_t fraction, bool negative) {
    p[0] = static_cast<std::uint8_t>(exponent);
    for (int i = 0; i < 5; ++i) p[1 + i] = static_cast<std::uint8_t>(fraction >> (8 * i));
    p[5] = static_cast<std::uint8_t>((p[5] & 0x7F) | (negative ? 0x80 : 0));
}

}  // namespace

long double decodeReal48(const std::uint8_t* p) {
    const int exponent = p[0];
    if (exponent == 0) return 0.0L;
    std::uint64_t fraction = 0;
    for (int i = 0; i < 5; ++i) fraction |= static_cast<std::uint64_t>(p[1 + i]) << (8 * i);
    fraction &= kBit39 - 1;
    // (2^39 + fraction) 2^(exponent - 168) has 40 bits and an exponent within a double's: the
    // double is put together bit by bit, exactly, faster than a scaling in long double.
    const std::uint64_t bits = (static_cast<std::uint64_t>(p[5] & 0x80) << 56) |
                               (static_cast<std::uint64_t>(exponent + 894) << 52) | (fraction << 13);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void encodeReal48(long double value, std::uint8_t* p) {
    const bool negative = std::signbit(value);
    if (std::isnan(value) || value == 0) {
        putReal48(p, 0, 0, false);
        return;
    }
    if (std::isinf(value)) {
        putReal48(p, 255, kBit39 - 1, negative);
        return;
    }
    int x = 0;
    const long double f = std::frexp(std::fabs(value), &x);  // |value| = f * 2^x, f in [0.5, 1)
    int exponent = x + 128;
    long double m = roundHalfEven(std::ldexp(f, 40));  // 40 bits with the hidden one
    if (m >= static_cast<long double>(kBit39 << 1)) {
        m = static_cast<long double>(kBit39);
        ++exponent;
    }
    if (exponent < 1) {
        putReal48(p, 0, 0, false);
        return;
    }
    if (exponent > 255) {
        putReal48(p, 255, kBit39 - 1, negative);
        return;
    }
    putReal48(p, exponent, static_cast<std::uint64_t>(m) - kBit39, negative);
}

long double decodeExtended80(const std::uint8_t* p) {
    std::uint64_t mantissa = 0;
    for (int i = 0; i < 8; ++i) mantissa |= static_cast<std::uint64_t>(p[i]) << (8 * i);
    const int exponent = (p[8] | (p[9] << 8)) & 0x7FFF;
    const bool negative = (p[9] & 0x80) != 0;
    long double value;
    if (exponent == 0x7FFF) {
        value = (mantissa << 1) == 0 ? HUGE_VALL : NAN;
    } else {
        // Denormals (exponent 0) use the exponent of the smallest normal.
        const int e = (exponent == 0 ? 1 : exponent) - 16383 - 63;
        value = std::ldexp(static_cast<long double>(mantissa), e);
    }
    return negative ? -value : value;
}

void encodeExtended80(long double value, std::uint8_t* p) {
    const bool negative = std::signbit(value);
    std::uint64_t mantissa = 0;
    int exponent = 0;
    if (std::isnan(value)) {
        mantissa = kBit63 | (kBit63 >> 1);
        exponent = 0x7FFF;
    } else if (std::isinf(value)) {
        mantissa = kBit63;
        exponent = 0x7FFF;
    } else if (value != 0) {
        int x = 0;
        const long double f = std::frexp(std::fabs(value), &x);  // f in [0.5, 1)
        exponent = x + 16382;
        long double m;
        if (exponent <= 0) {
            m = roundHalfEven(std::ldexp(f, x + 16445));  // denormal: 2^(1-16383-63) units
            exponent = m >= static_cast<long double>(kBit63) ? 1 : 0;
        } else {
            m = roundHalfEven(std::ldexp(f, 64));
            if (m >= 2.0L * static_cast<long double>(kBit63)) {
                m = static_cast<long double>(kBit63);
                ++exponent;
            }
        }
        if (exponent >= 0x7FFF) {
            mantissa = kBit63;
            exponent = 0x7FFF;
        } else {
            mantissa = static_cast<std::uint64_t>(m);
        }
    }
    for (int i = 0; i < 8; ++i) p[i] = static_cast<std::uint8_t>(mantissa >> (8 * i));
    p[8] = static_cast<std::uint8_t>(exponent);
    p[9] = static_cast<std::uint8_t>(((exponent >> 8) & 0x7F) | (negative ? 0x80 : 0));
}

}  // namespace athanor
