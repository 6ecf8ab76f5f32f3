#pragma once
#include <QColor>
#include <QImage>

#include <filesystem>

namespace athanor {

// An opaque RGB32 image filled with one colour, ready to draw on. On Linux its pixels lie in
// huge pages where the system allows them: a 1600 × 1600 picture is then a handful of page
// faults instead of 2500, which on a virtual machine saves tens of milliseconds.
QImage blankOpaqueImage(QSize size, const QColor& fill);

// Writes an image as an 8-bit RGB PNG (any alpha is dropped) with its resolution, compressed
// for speed: runs and repeats of the row above only, the two halves of the picture side by
// side. Throws FileError when the file cannot be written.
void writeOpaquePng(const QImage& image, const std::filesystem::path& file);

}  // namespace athanor
