#pragma once
#include <bit>
#include <cstdint>

namespace athanor {

// Little-endian fields of the binary files, read and written byte by byte so the code
// does not depend on the host's byte order or alignment.

inline std::uint8_t getU8(const std::uint8_t* p) { return p[0]; }
inline std::int8_t getI8(const std::uint8_t* p) { return static_cast<std::int8_t>(p[0]); }

inline std::uint16_t getU16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
inline std::int16_t getI16(const std::uint8_t* p) { return static_cast<std::int16_t>(getU16(p)); }

inline std::uint32_t getU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::int32_t getI32(const std::uint8_t* p) { return static_cast<std::int32_t>(getU32(p)); }

inline std::uint64_t getU64(const std::uint8_t* p) {
    return static_cast<std::uint64_t>(getU32(p)) | (static_cast<std::uint64_t>(getU32(p + 4)) << 32);
}
inline std::int64_t getI64(const std::uint8_t* p) { return static_cast<std::int64_t>(getU64(p)); }

// IEEE 754 binary64 ("64-bit real").
inline double getF64(const std::uint8_t* p) { return std::bit_cast<double>(getU64(p)); }

inline void putU8(std::uint8_t* p, std::uint8_t v) { p[0] = v; }
inline void putI8(std::uint8_t* p, std::int8_t v) { p[0] = static_cast<std::uint8_t>(v); }

inline void putU16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void putI16(std::uint8_t* p, std::int16_t v) { putU16(p, static_cast<std::uint16_t>(v)); }

inline void putU32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void putI32(std::uint8_t* p, std::int32_t v) { putU32(p, static_cast<std::uint32_t>(v)); }

inline void putU64(std::uint8_t* p, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void putI64(std::uint8_t* p, std::int64_t v) { putU64(p, static_cast<std::uint64_t>(v)); }

inline void putF64(std::uint8_t* p, double v) { putU64(p, std::bit_cast<std::uint64_t>(v)); }

}  // namespace athanor
