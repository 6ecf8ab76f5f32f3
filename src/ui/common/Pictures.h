#pragma once
#include <QIcon>
#include <QImage>

namespace athanor {

// The pictures of the main window, drawn here. The installation keeps them as files
// (tools/athanor-pictures writes them); the window falls back to drawing them when a
// file is missing.
inline constexpr const char* kBannerFile = "Banner.jpg";
inline constexpr const char* kExitPictureFile = "FineProg.bmp";
inline constexpr const char* kExitPressedPictureFile = "FineProgClic.bmp";

inline constexpr int kBannerWidth = 360;
inline constexpr int kBannerHeight = 64;

QImage drawBanner();
QImage drawExitPicture(bool pressed);
// The lock glyphs "LockOpen" and "LockShut".
QIcon lockIcon(bool open);

}  // namespace athanor
