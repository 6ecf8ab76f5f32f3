#include "graphics/PageCanvas.h"

#include "foundations/Cp1252.h"
#include "foundations/DataRoot.h"
#include "foundations/FileError.h"
#include "graphics/EmfPlayer.h"
#include "graphics/RingRaster.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <cmath>
#include <cstdio>
#include <map>
#include <mutex>

namespace athanor {

// ---------------------------------------------------------------------------------------
// Tables

PenSpec penSpec(int code) {
    using namespace colour;
    switch (code) {
    case 0:
        return {Black, 0.25};
    case 1:
        return {White, 0.25};
    case 2:
        return {Red, 0.25};
    case 3:
        return {Green, 0.25};
    case 4:
        return {Blue, 0.25};
    case 5:
        return {Cyan, 0.25};
    case 6:
        return {Magenta, 0.25};
    case 7:
        return {Yellow, 0.25};
    case 8:
        return {DarkGrey, 0.25};
    case 9:
        return {Grey, 0.25};
    case 10:
        return {Black, 0.125};
    case 11:
        return {Blue, 0.125};
    case 12:
        return {Red, 0.125, false, true};
    case 13:
        return {Red, 0.125};
    case 14:
        return {Green, 0.125};
    case 15:
        return {Blue, 0.125};
    case 16:
        return {Magenta, 0.125};
    case 17:
        return {White, 0.125};
    case 18:
        return {Orange, 0.125};
    case 25:
        return {Cyan, 0.125};
    case 26:
        return {Magenta, 0.125, false, true};
    case 22:
        return {Red, 0.8};
    case 33:
        return {Cyan, 0.8};
    case 77:
        return {Yellow, 0.8};
    case 58:
        return {Green, 2.0, true};
    case 59:
        return {Green, 1.0, true};
    case 60:
        return {Cyan, 1.0, true};
    case 61:
        return {Blue, 1.0, true};
    case 62:
        return {White, 1.0, true};
    case 64:
        return {Red, 1.0, true};
    case 63:
        return {Black, 1.0 / 1.5};
    case 71:
        return {Blue, 0.5};
    case 74:
        return {Red, 0.5};
    case 75:
        return {Cyan, 0.5};
    case 76:
        return {Yellow, 0.5};
    case 78:
        return {Olive, 0.4};
    case 79:
        return {Red, 0.4};
    case 80:
        return {Cyan, 0.4};
    default:
        return {Black, code < 10 ? 0.25 : 0.125};
    }
}

int logicalPen(int code, Surface surface) {
    const bool screen = surface == Surface::Screen;
    switch (code) {
    case 0:
        return screen ? 1 : 0;
    case 4:
        return screen ? 5 : 4;
    case 10:
        return screen ? 17 : 10;
    case 2:
        return screen ? 7 : 2;
    case 7:
        return screen ? 2 : 7;
    default:
        return code;
    }
}

QColor logicalTextColour(int code, Surface surface) {
    const bool screen = surface == Surface::Screen;
    if (code == 4) return screen ? colour::Cyan : colour::Blue;
    return screen ? colour::White : colour::Black;
}

QColor monochromePenColour(const QColor& c, Surface surface) {
    if (c.rgb() == colour::White.rgb()) return colour::White;
    return surface == Surface::Screen ? colour::White : colour::Black;
}

QColor monochromeBrushColour(const QColor& c, Surface surface, bool secondaryWindow) {
    const bool screen = surface == Surface::Screen;
    if (secondaryWindow) return screen ? colour::Black : colour::White;
    if (c.rgb() == colour::White.rgb()) return colour::White;
    return screen ? colour::White : colour::Black;
}

QColor paperPenColour(const QColor& c) {
    if (c.rgb() == colour::Yellow.rgb()) return colour::Olive;
    if (c.rgb() == colour::Cyan.rgb()) return colour::Blue;
    return c;
}

QColor paperTextColour(const QColor& c) {
    if (c.rgb() == colour::Yellow.rgb()) return colour::Orange;
    if (c.rgb() == colour::Cyan.rgb()) return colour::Blue;
    if (c.rgb() == colour::Silver.rgb()) return colour::Grey;
    return c;
}

FontSpec fontSpec(int code) {
    switch (code) {
    case 0:
        return {38};
    case 33:
        return {33};
    case 1:
        return {30};
    case 15:
        return {27};
    case 16:
        return {27, "Arial", true, true};
    case 18:
        return {21};
    case 2:
        return {23};
    case 3:
        return {20};
    case 4:
        return {16};
    case 5:
        return {12};
    case 21:
        return {20, "Courier", false, false, 1000};
    case 22:
        return {22, "Courier", false, false, 1000};
    default:
        return {38};
    }
}

GlyphVariant glyphVariant(const DrawingState& s) {
    if (!s.monochrome) return GlyphVariant::Colour;
    return s.onPaper() ? GlyphVariant::PaperMono : GlyphVariant::ScreenMono;
}

namespace {

const char* variantSuffix(GlyphVariant v) {
    switch (v) {
    case GlyphVariant::ScreenMono:
        return "B";
    case GlyphVariant::PaperMono:
        return "N";
    default:
        return "";
    }
}

std::string twoDigits(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

}  // namespace

int planetGlyphNumber(int body) {
    switch (body) {
    case 8:
        return 11;
    case 9:
        return 13;
    case 10:
        return 14;
    case 11:
        return 15;
    default:
        return body;
    }
}

std::string planetGlyphFile(int body, GlyphVariant v) {
    return std::string("Simboli\\PiaX") + variantSuffix(v) + twoDigits(planetGlyphNumber(body)) + ".emf";
}

std::string signGlyphFile(int sign, char style, GlyphVariant v) {
    return std::string("Zodiaco\\Seg") + style + variantSuffix(v) + twoDigits(sign) + ".emf";
}

const char* const kElementGlyphNames[8] = {"", "ElFuo1", "ElTer1", "ElAri1", "ElAcq1", "ElSal2", "ElZol2", "ElMer2"};

std::string elementGlyphFile(int element, GlyphVariant v) {
    const char* name = element >= 1 && element <= 7 ? kElementGlyphNames[element] : "";
    return std::string("Simboli\\") + name + variantSuffix(v) + ".emf";
}

const AspectGlyph* aspectGlyph(int code) {
    constexpr signed char U = 100;  // pen up
    static const std::map<int, AspectGlyph> glyphs = {
        {1, {3, 3, {{3, -4}, {-1, 0}, {-2, 0}, {-3, 1}, {-3, 2}, {-2, 3}, {-1, 3}, {0, 2}, {0, 1}, {-1, 0}}}},
        {2, {5, 4, {{-3, 0}, {3, 0}, {U, U}, {3, -3}, {-3, 3}, {U, U}, {-3, -3}, {3, 3}}}},
        {3, {2, 2, {{-3, -4}, {-3, 3}, {3, 3}, {3, -4}, {-3, -4}}}},
        {4, {5, 4, {{0, -4}, {-3, 3}, {3, 3}, {0, -4}}}},
        {5,
         {2,
          2,
          {{-1, 0},
           {-2, 0},
           {-3, 1},
           {-3, 2},
           {-2, 3},
           {-1, 3},
           {0, 2},
           {0, 1},
           {-1, 0},
           {1, -1},
           {2, -1},
           {3, -2},
           {3, -3},
           {2, -4},
           {1, -4},
           {0, -3},
           {0, -2},
           {1, -1}}}},
        {6, {2, 2, {{-3, -4}, {-3, 1}, {3, 1}, {3, -4}, {-3, -4}, {U, U}, {-1, -1}, {-1, 3}, {2, 3}}}},
        {7, {2, 2, {{0, -4}, {-3, 3}, {3, 3}}}},
        {8, {5, 5, {{-3, -4}, {3, -4}, {U, U}, {-3, 3}, {0, -4}, {3, 3}}}},
        {9, {5, 4, {{-3, -4}, {0, 3}, {3, -4}, {U, U}, {-3, 3}, {3, 3}}}},
        {10, {5, 5, {{-3, -2}, {0, 0}, {-3, 3}, {U, U}, {3, -2}, {0, 0}, {3, 3}, {U, U}, {0, -4}, {0, 0}}}},
        {11,
         {5,
          5,
          {{-3, -2},
           {0, 0},
           {-3, 3},
           {U, U},
           {3, -2},
           {0, 0},
           {3, 3},
           {U, U},
           {0, -4},
           {0, 0},
           {U, U},
           {-3, -4},
           {-2, -4},
           {-2, -3}}}},
        {12, {5, 5, {{0, 3}, {2, 1}, {2, -2}, {0, -4}, {-2, -2}, {0, 0}, {2, -2}}}},
        {13, {3, 3, {{-5, -2}, {4, -2}, {U, U}, {-5, 1}, {4, 1}}}},
        {14, {2, 2, {{-5, -2}, {4, -2}, {U, U}, {-5, 1}, {4, 1}, {U, U}, {-4, 2}, {3, -4}}}},
    };
    auto it = glyphs.find(code);
    return it == glyphs.end() ? nullptr : &it->second;
}

// ---------------------------------------------------------------------------------------
// Canvas

namespace {

// Cell height (ascent + descent) per pixel of em of a face, measured once.
double cellRatio(const QString& face) {
    // Pictures may be drawn on more than one thread (fonts are thread-safe in Qt).
    static std::mutex mutex;
    static std::map<QString, double> cache;
    {
        const std::lock_guard lock(mutex);
        auto it = cache.find(face);
        if (it != cache.end()) return it->second;
    }
    QFont f(face);
    f.setPixelSize(1000);
    const QFontMetricsF fm(f);
    const double r = (fm.ascent() + fm.descent()) / 1000.0;
    const std::lock_guard lock(mutex);
    return cache.emplace(face, r > 0.5 ? r : 1.15).first->second;
}

enum Align { Left, Right, Centre };

}  // namespace

PageCanvas::PageCanvas(QPainter& painter, const DrawingState& state, const DataRoot* data)
    : painter_(painter), state_(state), data_(data) {
    painter_.setBrush(Qt::NoBrush);
}

QPoint PageCanvas::toDevice(double y, double x) const {
    const double k = state_.ppu * state_.zoom;
    return QPoint(static_cast<int>(std::lround(x / state_.hc * k)) + state_.ox,
                  static_cast<int>(std::lround(y / state_.vc * k)) + state_.oy);
}

QPoint PageCanvas::toDeviceUncorrected(double y, double x) const {
    const double k = state_.ppu * state_.zoom;
    return QPoint(static_cast<int>(std::lround(x * k)) + state_.ox, static_cast<int>(std::lround(y * k)) + state_.oy);
}

int PageCanvas::toPixels(double units) const { return static_cast<int>(std::lround(units * state_.ppu * state_.zoom)); }

QPen PageCanvas::pen(int code) const {
    const PenSpec s = penSpec(code);
    const double base = s.unitFactor * state_.ppu * (s.zoomed ? state_.zoom : 1.0);
    const int width = static_cast<int>(std::lround(base * state_.effectiveLineFactor()));
    const QColor c = state_.monochrome  ? monochromePenColour(s.colour, state_.surface())
                     : state_.onPaper() ? paperPenColour(s.colour)
                                        : s.colour;
    QPen p(c, width, s.dashed ? Qt::DashLine : Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    return p;
}

void PageCanvas::applyPen(const QPen& p) { painter_.setPen(p); }

void PageCanvas::selectPen(int code) { applyPen(pen(code)); }

void PageCanvas::selectLogicalPen(int code) { selectPen(logicalPen(code, state_.surface())); }

void PageCanvas::selectBrush(const QColor& c) {
    brushColour_ = state_.monochrome ? monochromeBrushColour(c, state_.surface(), state_.secondaryWindow) : c;
    brushSelected_ = true;
    painter_.setBrush(brushColour_);
}

void PageCanvas::releaseBrush() {
    brushSelected_ = false;
    painter_.setBrush(Qt::NoBrush);
}

void PageCanvas::setTextColour(const QColor& c) { textColour_ = c; }

void PageCanvas::setLogicalTextColour(int code) { textColour_ = logicalTextColour(code, state_.surface()); }

void PageCanvas::setTextBackground(std::optional<QColor> c) { textBackground_ = c; }

int PageCanvas::fontHeight(int code) const {
    const long h = std::lround(state_.fontBase * 30.0 * state_.zoom);
    return static_cast<int>(h / fontSpec(code).divisor);
}

QFont PageCanvas::font(int code) const {
    const FontSpec s = fontSpec(code);
    QFont f(QString::fromLatin1(s.face));
    f.setStyleHint(s.face == std::string_view("Courier") ? QFont::TypeWriter : QFont::SansSerif);
    f.setHintingPreference(QFont::PreferNoHinting);
    const int h = fontHeight(code);
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(h / cellRatio(f.family())))));
    f.setItalic(s.italic);
    // The narrow fixed width of this font: ten pixels a character at the usual screen
    // font height, kept in proportion at any scale.
    if (s.condensed) f.setStretch(87);
    return f;
}

double PageCanvas::textWidthUnits(std::string_view text, int fontCode) const {
    const QFontMetricsF fm(font(fontCode), painter_.device());
    const double px = fm.horizontalAdvance(QString::fromStdString(cp1252ToUtf8(text)));
    return px / (state_.ppu * state_.zoom) * state_.hc;
}

void PageCanvas::drawText(double y, double x, std::string_view text, int fontCode, int align) {
    if (text.empty()) return;
    const QString s = QString::fromStdString(cp1252ToUtf8(text));
    const QFont f = font(fontCode);
    const QFontMetricsF fm(f, painter_.device());
    const double w = fm.horizontalAdvance(s);
    const double shift = align == Left ? 0 : align == Right ? w : w / 2;
    const QPoint anchor = toDevice(y, x);
    const FontSpec font = fontSpec(fontCode);
    const QColor c = state_.monochrome  ? monochromePenColour(textColour_, state_.surface())
                     : state_.onPaper() ? paperTextColour(textColour_)
                                        : textColour_;

    const QPen saved = painter_.pen();
    const QBrush savedBrush = painter_.brush();
    painter_.save();
    painter_.translate(anchor);
    if (font.orientationTenths) painter_.rotate(-font.orientationTenths / 10.0);
    if (textBackground_) {
        const QColor bg =
            state_.monochrome ? monochromeBrushColour(*textBackground_, state_.surface(), false) : *textBackground_;
        painter_.fillRect(QRectF(-shift, 0, w, fm.height()), bg);
    }
    painter_.setFont(f);
    painter_.setPen(c);
    painter_.drawText(QPointF(-shift, fm.ascent()), s);
    painter_.restore();
    painter_.setPen(saved);
    painter_.setBrush(savedBrush);
}

void PageCanvas::textLeft(double y, double x, std::string_view text, int fontCode) {
    drawText(y, x, text, fontCode, Left);
}
void PageCanvas::textRight(double y, double x, std::string_view text, int fontCode) {
    drawText(y, x, text, fontCode, Right);
}
void PageCanvas::textCentred(double y, double x, std::string_view text, int fontCode) {
    drawText(y, x, text, fontCode, Centre);
}

void PageCanvas::moveTo(double y, double x) { current_ = toDevice(y, x); }

void PageCanvas::lineTo(double y, double x) {
    const QPoint p = toDevice(y, x);
    painter_.drawLine(current_, p);
    current_ = p;
}

void PageCanvas::line(double y1, double x1, double y2, double x2) {
    moveTo(y1, x1);
    lineTo(y2, x2);
}

void PageCanvas::rectangle(double y2, double x2, double y1, double x1) {
    painter_.drawRect(QRectF(QPointF(toDevice(y1, x1)), QPointF(toDevice(y2, x2))).normalized());
}

void PageCanvas::ellipse(double y2, double x2, double y1, double x1) {
    painter_.drawEllipse(QRectF(QPointF(toDevice(y1, x1)), QPointF(toDevice(y2, x2))).normalized());
}

void PageCanvas::circle(double r, double y, double x) {
    if (state_.surface() == Surface::Screen && state_.zoom == 1.0) {
        const QRectF box = QRectF(QPointF(toDevice(y - r, x - r)), QPointF(toDevice(y + r, x + r))).normalized();
        if (box.width() == box.height() && strokeCircleOnImage(painter_, box.center(), box.width() / 2.0)) return;
        painter_.drawArc(box, 0, 360 * 16);
        return;
    }
    QPolygon chords;
    chords.reserve(73);
    chords << toDevice(y - r, x);
    for (int d = 5; d <= 360; d += 5) {
        const double a = d * M_PI / 180.0;
        chords << toDevice(y - r * std::cos(a), x + r * std::sin(a));
    }
    painter_.drawPolyline(chords);
    current_ = chords.back();
}

void PageCanvas::dashedLine(double y1, double x1, double y2, double x2) {
    const double sy = (y2 - y1) / 44.0, sx = (x2 - x1) / 44.0;
    for (int k = 0; k < 15; ++k) {
        moveTo(y1 + 3 * k * sy, x1 + 3 * k * sx);
        lineTo(y1 + (3 * k + 2) * sy, x1 + (3 * k + 2) * sx);
    }
}

void PageCanvas::dottedLine(double y1, double x1, double y2, double x2, bool fine) {
    const double dy = y2 - y1, dx = x2 - x1;
    const double length = std::hypot(dy, dx);
    const long n = std::lround(1.8 * length / 3.0);
    const double r = fine ? 0.3 : 0.5;
    for (long k = 0; k < n; ++k) {
        const double f = 3.0 * k / (1.8 * length - 1.0);
        const double cy = y1 + f * dy, cx = x1 + f * dx;
        ellipse(cy + r, cx + r, cy - r, cx - r);
    }
}

void PageCanvas::polygon(const std::vector<std::pair<double, double>>& points, bool winding) {
    QPolygon poly;
    poly.reserve(static_cast<int>(points.size()));
    for (const auto& [y, x] : points) poly << toDevice(y, x);
    painter_.drawPolygon(poly, winding ? Qt::WindingFill : Qt::OddEvenFill);
}

QRect PageCanvas::glyphSquare(double y, double x, double size) const {
    const QPoint c = toDevice(y, x);
    const int h = static_cast<int>(std::lround(size / 2.0 * state_.ppu * state_.zoom));
    return QRect(c.x() - h, c.y() - h, 2 * h, 2 * h);
}

void PageCanvas::metafileGlyph(std::string_view relativePath, double y, double x, double size) {
    if (!data_) throw FileError(std::string(relativePath), "no program folder");
    const std::filesystem::path file = data_->resolve(relativePath);
    std::shared_ptr<const EmfPicture> picture;
    try {
        picture = GlyphLibrary::shared().get(file);
    } catch (const FileError&) {
        std::error_code ec;
        if (!std::filesystem::exists(file, ec)) throw;
        // A damaged glyph costs its own square, never a read of its bad bytes.
        glyphPlaceholder(glyphSquare(y, x, size));
        return;
    }
    painter_.save();
    picture->draw(painter_, QRectF(glyphSquare(y, x, size)));
    painter_.restore();
}

void PageCanvas::glyphPlaceholder(const QRect& square) {
    painter_.save();
    painter_.setPen(QPen(QColor(128, 128, 128), 0));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(square);
    painter_.drawLine(square.topLeft(), square.bottomRight());
    painter_.drawLine(square.topRight(), square.bottomLeft());
    painter_.restore();
}

void PageCanvas::planetGlyph(int body, double y, double x, double size) {
    metafileGlyph(planetGlyphFile(body, glyphVariant(state_)), y, x, size);
}

void PageCanvas::signGlyph(int sign, char style, double y, double x, double size) {
    metafileGlyph(signGlyphFile(sign, style, glyphVariant(state_)), y, x, size);
}

void PageCanvas::elementGlyph(int element, double y, double x, double size) {
    metafileGlyph(elementGlyphFile(element, glyphVariant(state_)), y, x, size);
}

void PageCanvas::aspectGlyph(int code, double y, double x, double size) {
    const AspectGlyph* g = athanor::aspectGlyph(code);
    if (!g) return;
    selectPen(state_.surface() == Surface::Screen ? g->screenPen : g->paperPen);
    const double h = 0.45 * size;
    QPolygon stroke;
    auto flush = [&] {
        if (stroke.size() > 1) painter_.drawPolyline(stroke);
        stroke.clear();
    };
    for (const GlyphPoint& p : g->points) {
        if (p.x == 100 && p.y == 100) {
            flush();
            continue;
        }
        stroke << toDevice(y + p.y * h, x + p.x * h);
    }
    flush();
}

void PageCanvas::pageFrame() {
    if (!state_.printerPresent || state_.printing || state_.recording) return;
    selectPen(7);
    releaseBrush();
    rectangle(state_.pageHeight(), DrawingState::kPageWidth, 1, 1);
}

void PageCanvas::footerTag(double y, double x) {
    const double c = (x + 5) / state_.hc;
    const double d = (y + 130) / state_.vc;
    auto at = [&](double yy, double xx) { return toDeviceUncorrected(yy, xx); };

    selectPen(2);
    if (state_.monochrome) releaseBrush();
    else selectBrush(colour::Yellow);
    QPolygon star;
    star << at(d - 2, c + 10) << at(d + 7, c + 25) << at(d + 12, c + 10) << at(d - 2, c + 20) << at(d + 13, c + 20)
         << at(d - 2, c + 10);
    painter_.drawPolygon(star, Qt::WindingFill);

    selectBrush(colour::Red);
    painter_.drawRect(QRectF(QPointF(at(d, c - 1)), QPointF(at(d + 5, c + 30))).normalized());
    releaseBrush();

    // White on red; in monochrome the text takes the colour the band does not.
    const QColor text = !state_.monochrome ? colour::White : state_.onPaper() ? colour::White : colour::Black;
    const QFont f = font(15);
    const QFontMetricsF fm(f, painter_.device());
    const QPoint anchor = at(d + 0.5, c + 1);
    const QPen saved = painter_.pen();
    painter_.setFont(f);
    painter_.setPen(text);
    painter_.drawText(QPointF(anchor.x(), anchor.y() + fm.ascent()), QStringLiteral("Miravelle 3"));
    painter_.setPen(saved);
}

void PageCanvas::header(double y, double x, std::string_view userName, std::string_view today) {
    setLogicalTextColour(0);
    textRight(y, x, today, 1);
    textRight(y + 4, x, userName, 15);
}

}  // namespace athanor
