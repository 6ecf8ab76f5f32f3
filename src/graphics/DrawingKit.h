#pragma once
#include "graphics/DrawingState.h"
#include "graphics/PageCanvas.h"

#include <QColor>

#include <string>
#include <string_view>

namespace athanor {

class DataRoot;

// Small tools shared by the analysis drawings and the printable pages.

// A canvas on the same painter whose zoom is multiplied by `factor`: positions and sizes
// scale about the page origin, the pan stays. Used for the page wheels and for the
// landscape pages.
class ScaledCanvas {
public:
    ScaledCanvas(PageCanvas& base, const DataRoot& data, double factor);
    PageCanvas& operator*() { return canvas_; }
    PageCanvas* operator->() { return &canvas_; }

private:
    DrawingState state_;
    PageCanvas canvas_;
};

// Height of a font in vertical page units.
double fontUnits(const PageCanvas& canvas, int fontCode);

// A colour that reads on the surface: on paper, yellow prints orange and cyan prints blue
// (white paper would swallow them); on screen every colour stays.
QColor ink(const PageCanvas& canvas, const QColor& c);
// A pen that reads on the surface: on paper the cyan and yellow pens give way to blue,
// olive or orange ones of about the same width.
int inkPen(const PageCanvas& canvas, int pen);
// The background of the surface: black on screen, white on paper.
QColor background(const PageCanvas& canvas);
// Fills a box with the background, whatever the monochrome rules say of brushes.
void eraseBox(PageCanvas& canvas, double y2, double x2, double y1, double x1);

// The glyph of a body by the engine's numbering (1..10 Sun .. Pluto): "Simboli\PiaX" + nn.
void engineBodyGlyph(PageCanvas& canvas, int engineBody, double y, double x, double size);

// A text centred vertically on Y (the canvas texts hang from their top).
void textMiddleLeft(PageCanvas& canvas, double y, double x, std::string_view text, int font);
void textMiddleCentred(PageCanvas& canvas, double y, double x, std::string_view text, int font);
void textMiddleRight(PageCanvas& canvas, double y, double x, std::string_view text, int font);

// The longest head of `text` that fits in `width` page units with `font`.
std::string fitted(const PageCanvas& canvas, std::string_view text, int font, double width);

// Position texts of the tables.
// "125\xB0" "07'": the ecliptic longitude 0..360 in degrees and minutes.
std::string absoluteLongitudeText(long double longitude);
// " 1\xB0" "23' N" / " 1\xB0" "23' S": an ecliptic latitude.
std::string latitudeText(long double latitude);

}  // namespace athanor
