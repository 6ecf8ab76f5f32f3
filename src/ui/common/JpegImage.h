#pragma once
#include <QImage>

#include <filesystem>
#include <string>

namespace athanor {

// Decodes a JPEG picture through libjpeg. A null image when the bytes are not a JPEG
// picture libjpeg can read.
QImage decodeJpeg(const std::string& bytes);
QImage readJpegFile(const std::filesystem::path& path);

// Encodes an image as a baseline JPEG (quality 0..100).
std::string encodeJpeg(const QImage& image, int quality = 90);

}  // namespace athanor
