#pragma once
#include <QColor>
#include <QImage>

#include <filesystem>

namespace athanor {

// An opaque RGB32 image filled with one colour, ready to draw on. On Linux its pixels lie in
// huge pages where the system allows them: a 1600 × 1600 picture is then a handful of page
// faults instead of 2500, which on a virtual machine saves tens of milliseconds.
QImage blankOpaqueImage(QSize size, const QColor& fill);

// Writes an image as an 8-bit RGB PNG (any alpha is dropped), with its resolution, at zlib's
// fastest level, the two halves of the picture compressed side by side. Throws FileError when
// the file cannot be written.
void writeOpaquePng(const QImage& image, const std::filesystem::path& file);

}  // namespace athanor
