#pragma once
#include <string>
#include <string_view>

namespace athanor {

// Windows-1252, the code page of every string of the core and of the data files.
// The five bytes that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to
// the C1 controls of the same value, so any byte string survives a round trip.

// Unicode code point of one Windows-1252 byte.
char32_t cp1252ToCodePoint(unsigned char byte);

// Windows-1252 byte of a code point, or -1 when the code page has none.
int codePointToCp1252(char32_t cp);

// Windows-1252 bytes to UTF-8.
std::string cp1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252 bytes; characters without a byte become '?', and so does each
// byte of a malformed sequence.
std::string utf8ToCp1252(std::string_view utf8);

}  // namespace athanor
