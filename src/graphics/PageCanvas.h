#pragma once
#include "graphics/DrawingState.h"

#include <QColor>
#include <QFont>
#include <QPen>
#include <QPoint>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QPainter;

namespace athanor {

class DataRoot;

// Named colours of the drawings (Windows RGB values).
namespace colour {
inline const QColor Black{0, 0, 0};
inline const QColor White{255, 255, 255};
inline const QColor Red{255, 0, 0};
inline const QColor Green{0, 255, 0};
inline const QColor Blue{0, 0, 255};
inline const QColor Cyan{0, 255, 255};
inline const QColor Magenta{255, 0, 255};
inline const QColor Yellow{255, 255, 0};
inline const QColor Grey{128, 128, 128};
inline const QColor DarkGrey{69, 69, 69};
inline const QColor Silver{192, 192, 192};
inline const QColor Orange{255, 128, 64};
inline const QColor Olive{196, 200, 36};
}  // namespace colour

// One numbered pen: colour, width as a multiple of PPU (times zoom for the zoomed pens).
struct PenSpec {
    QColor colour;
    double unitFactor = 0.125;
    bool zoomed = false;
    bool dashed = false;
};
PenSpec penSpec(int code);

// The pen a logical pen code selects on a surface.
int logicalPen(int code, Surface surface);
// The colour a logical text colour (0 or 4) gives on a surface.
QColor logicalTextColour(int code, Surface surface);

// Monochrome mapping of pens and texts: white stays white, everything else becomes
// white on screen and black on paper.
QColor monochromePenColour(const QColor& c, Surface surface);
// Monochrome mapping of brushes; a secondary window inverts the rule.
QColor monochromeBrushColour(const QColor& c, Surface surface, bool secondaryWindow);

// Colours on paper (printer and metafile, not monochrome): white paper would swallow
// the yellow and cyan drawn for the black screen, so yellow lines print olive and cyan
// ones blue, yellow texts orange, cyan ones blue and silver ones grey. Every other colour,
// and every brush, stays.
QColor paperPenColour(const QColor& c);
QColor paperTextColour(const QColor& c);

// Font n: divisor of the height, face, italic, rotation.
struct FontSpec {
    int divisor = 38;
    const char* face = "Arial";
    bool italic = false;
    bool condensed = false;  // the fixed narrow width of font 16
    int orientationTenths = 0;
};
FontSpec fontSpec(int code);

// Glyph variants by surface and monochrome flag.
enum class GlyphVariant { Colour, ScreenMono, PaperMono };
GlyphVariant glyphVariant(const DrawingState& state);

// Relative file names of the metafile glyphs.
int planetGlyphNumber(int body);  // body numbering of the chart: 8 -> 11, 9 -> 13, ...
std::string planetGlyphFile(int body, GlyphVariant v);
std::string signGlyphFile(int sign, char style, GlyphVariant v);
std::string elementGlyphFile(int element, GlyphVariant v);  // 1..7
extern const char* const kElementGlyphNames[8];             // [0] unused

// A point of an aspect glyph on its grid; (100, 100) lifts the pen.
struct GlyphPoint {
    signed char x, y;
};
struct AspectGlyph {
    int screenPen;
    int paperPen;
    std::vector<GlyphPoint> points;
};
// Vector aspect glyph by glyph code 1..14; nullptr for other codes.
const AspectGlyph* aspectGlyph(int code);

// Page-unit drawing onto a QPainter: every position is given as (Y, X) in page units
// and converted with the state's scale, corrections, zoom and pan. The painter must be
// active on the surface the state describes; the state is read at every call.
class PageCanvas {
public:
    PageCanvas(QPainter& painter, const DrawingState& state, const DataRoot* data = nullptr);

    const DrawingState& state() const { return state_; }
    QPainter& painter() { return painter_; }

    // Unit conversion.
    QPoint toDevice(double y, double x) const;
    QPoint toDeviceUncorrected(double y, double x) const;  // corrections already applied
    int toPixels(double units) const;                      // PPU * Z, no correction

    // Pens, brushes, text colour.
    void selectPen(int code);
    void selectLogicalPen(int code);
    QPen pen(int code) const;  // what selectPen(code) selects
    void selectBrush(const QColor& c);
    void releaseBrush();
    void setTextColour(const QColor& c);
    void setLogicalTextColour(int code);
    // Opaque text fills its box with the given colour; nullopt draws transparently.
    void setTextBackground(std::optional<QColor> c);

    // Fonts.
    int fontHeight(int code) const;  // pixels
    QFont font(int code) const;

    // Texts: top of the text at Y; X is the left edge, the right edge or the centre.
    // Texts are Windows-1252 bytes.
    void textLeft(double y, double x, std::string_view text, int fontCode);
    void textRight(double y, double x, std::string_view text, int fontCode);
    void textCentred(double y, double x, std::string_view text, int fontCode);
    double textWidthUnits(std::string_view text, int fontCode) const;

    // Shapes.
    void moveTo(double y, double x);
    void lineTo(double y, double x);
    void line(double y1, double x1, double y2, double x2);
    void rectangle(double y2, double x2, double y1, double x1);
    void ellipse(double y2, double x2, double y1, double x1);
    void circle(double r, double y, double x);
    void dashedLine(double y1, double x1, double y2, double x2);
    void dottedLine(double y1, double x1, double y2, double x2, bool fine = false);
    // Filled polygon in the current pen and brush, points as (Y, X).
    void polygon(const std::vector<std::pair<double, double>>& points, bool winding = false);

    // Metafile glyphs in a square of `size` page units centred at (Y, X). Throws
    // FileError when the file is missing; a damaged file is drawn as a crossed square.
    void metafileGlyph(std::string_view relativePath, double y, double x, double size);
    void planetGlyph(int body, double y, double x, double size);
    void signGlyph(int sign, char style, double y, double x, double size);
    void elementGlyph(int element, double y, double x, double size);
    // Square of a glyph in device pixels.
    QRect glyphSquare(double y, double x, double size) const;
    // What stands for a glyph whose file cannot be played.
    void glyphPlaceholder(const QRect& square);

    // Vector aspect glyph by glyph code.
    void aspectGlyph(int code, double y, double x, double size);

    // Page furniture.
    void pageFrame();
    void footerTag(double y, double x);
    void header(double y, double x, std::string_view userName, std::string_view today);

private:
    void drawText(double y, double x, std::string_view text, int fontCode, int align);
    void applyPen(const QPen& p);

    QPainter& painter_;
    const DrawingState& state_;
    const DataRoot* data_;
    QPoint current_;
    QColor textColour_ = colour::Black;
    std::optional<QColor> textBackground_;
    QColor brushColour_;
    bool brushSelected_ = false;
};

}  // namespace athanor
