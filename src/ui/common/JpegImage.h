#pragma once
#include <QImage>

#include <filesystem>
#include <string>

namespace athanor {

// The largest side decodeJpeg accepts: far beyond any banner, far below what damaged
// header bytes can claim.
inline constexpr unsigned kMaxJpegSide = 8192;

// Decodes a JPEG picture through libjpeg. A null image when the bytes are not a JPEG
// picture libjpeg can read, or one larger than kMaxJpegSide a side.
QImage decodeJpeg(const std::string& bytes);
QImage readJpegFile(const std::filesystem::path& path);

// Encodes an image as a baseline JPEG (quality 0..100).
std::string encodeJpeg(const QImage& image, int quality = 90);

}  // namespace athanor
