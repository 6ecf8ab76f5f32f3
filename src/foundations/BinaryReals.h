#pragma once
#include <cstdint>

namespace athanor {

// The two non-IEEE reals of the binary files, decoded from and encoded to bytes by
// portable code (no reinterpretation of memory as long double).

inline constexpr int kReal48Size = 6;
inline constexpr int kExtended80Size = 10;

// 6-byte real: byte 0 exponent with bias 129 (0 means zero), bytes 1..5 a 39-bit fraction
// least significant byte first, top bit of byte 5 the sign.
long double decodeReal48(const std::uint8_t* p);

// Nearest 6-byte real (ties to even). Values too small become zero, values too large and
// infinities the largest 6-byte real of the same sign, NaN zero.
void encodeReal48(long double value, std::uint8_t* p);

// 80-bit extended real: 64-bit mantissa with explicit integer bit (bytes 0..7), then
// 15-bit exponent with bias 16383 and the sign bit (bytes 8..9), little-endian.
// Denormals, infinities and NaN decode to their values.
long double decodeExtended80(const std::uint8_t* p);

// Exact for 80-bit long double; NaN is written as the default quiet NaN.
void encodeExtended80(long double value, std::uint8_t* p);

}  // namespace athanor
