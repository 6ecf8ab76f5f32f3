#include "graphics/DrawingKit.h"

#include "foundations/ChartState.h"
#include "foundations/Format.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace athanor {

ScaledCanvas::ScaledCanvas(PageCanvas& base, const DataRoot& data, double factor)
    : state_(base.state()), canvas_(base.painter(), state_, &data) {
    state_.zoom *= factor;
}

double fontUnits(const PageCanvas& canvas, int fontCode) {
    const DrawingState& s = canvas.state();
    return canvas.fontHeight(fontCode) / (s.ppu * s.zoom) * s.vc;
}

QColor ink(const PageCanvas& canvas, const QColor& c) {
    if (!canvas.state().onPaper()) return c;
    if (c.rgb() == colour::Yellow.rgb()) return colour::Orange;
    if (c.rgb() == colour::Cyan.rgb()) return colour::Blue;
    return c;
}

int inkPen(const PageCanvas& canvas, int pen) {
    if (!canvas.state().onPaper()) return pen;
    switch (pen) {
    case 5:
        return 4;  // cyan u/4 -> blue
    case 7:
        return 78;  // yellow -> olive
    case 25:
        return 11;  // cyan u/8 -> blue
    case 33:
        return 71;  // cyan 0.8u -> blue u/2
    case 75:
        return 71;  // cyan u/2 -> blue
    case 76:
        return 78;  // yellow u/2 -> olive
    case 77:
        return 78;  // yellow 0.8u -> olive
    default:
        return pen;
    }
}

QColor background(const PageCanvas& canvas) { return canvas.state().onPaper() ? colour::White : colour::Black; }

void eraseBox(PageCanvas& canvas, double y2, double x2, double y1, double x1) {
    const QRectF box = QRectF(QPointF(canvas.toDevice(y1, x1)), QPointF(canvas.toDevice(y2, x2))).normalized();
    canvas.painter().fillRect(box, background(canvas));
}

void engineBodyGlyph(PageCanvas& canvas, int engineBody, double y, double x, double size) {
    const char* suffix = "";
    switch (glyphVariant(canvas.state())) {
    case GlyphVariant::ScreenMono:
        suffix = "B";
        break;
    case GlyphVariant::PaperMono:
        suffix = "N";
        break;
    default:
        break;
    }
    canvas.metafileGlyph(std::string("Simboli\\PiaX") + suffix + zeroPadded(engineBody, 2) + ".emf", y, x, size);
}

void textMiddleLeft(PageCanvas& canvas, double y, double x, std::string_view text, int font) {
    canvas.textLeft(y - fontUnits(canvas, font) / 2, x, text, font);
}
void textMiddleCentred(PageCanvas& canvas, double y, double x, std::string_view text, int font) {
    canvas.textCentred(y - fontUnits(canvas, font) / 2, x, text, font);
}
void textMiddleRight(PageCanvas& canvas, double y, double x, std::string_view text, int font) {
    canvas.textRight(y - fontUnits(canvas, font) / 2, x, text, font);
}

std::string fitted(const PageCanvas& canvas, std::string_view text, int font, double width) {
    std::string s(text);
    while (!s.empty() && canvas.textWidthUnits(s, font) > width) s.pop_back();
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

std::string absoluteLongitudeText(long double longitude) {
    const AngleParts p = roundedToMinutes(splitLongitude(longitude));
    const int degrees = (p.sign - 1) * 30 + p.degrees;
    return zeroPadded(degrees, 3) + "\xB0" + zeroPadded(p.minutes, 2) + "'";
}

std::string latitudeText(long double latitude) {
    if (!std::isfinite(latitude)) latitude = 0;
    const long double a = std::min<long double>(std::fabs(latitude), 90);
    long total = std::lround(a * 60);  // whole minutes
    const int degrees = static_cast<int>(total / 60), minutes = static_cast<int>(total % 60);
    const std::string d = degrees < 10 ? " " + std::to_string(degrees) : std::to_string(degrees);
    return d + "\xB0" + zeroPadded(minutes, 2) + "' " + (latitude < 0 ? "S" : "N");
}

}  // namespace athanor
