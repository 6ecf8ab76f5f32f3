// Draws the program's glyph set as enhanced metafiles: planets and points (Simboli\PiaX01
// to PiaX15), the zodiac signs (Zodiaco\SegM01 to SegM12) and the element and principle
// glyphs (Simboli\ElFuo1 ... ElMer2), each in colour, white ("B") and black ("N").
//
// Planet and sign shapes are the outlines of the astrological characters of DejaVu Sans;
// the Moon, the elements, salt and sulphur are drawn here.
//
//   gen-glyphs --font /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
//              --bold /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf --out data

#include "graphics/EmfDevice.h"
#include "graphics/PageCanvas.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRawFont>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

namespace fs = std::filesystem;
using namespace athanor;

namespace {

constexpr int kSide = 64;       // device pixels of the square picture
constexpr double kFill = 0.84;  // share of the side the larger dimension of a glyph takes

QPainterPath charPath(const QRawFont& font, char32_t cp) {
    const auto idx = font.glyphIndexesForString(QString::fromUcs4(&cp, 1));
    if (idx.isEmpty() || idx[0] == 0) {
        std::cerr << "gen-glyphs: the font lacks U+" << std::hex << static_cast<unsigned>(cp) << '\n';
        std::exit(1);
    }
    return font.pathForGlyph(idx[0]);
}

QPainterPath textPath(const QRawFont& font, const QString& text) {
    QPainterPath all;
    const auto idx = font.glyphIndexesForString(text);
    const auto adv = font.advancesForGlyphIndexes(idx);
    double x = 0;
    for (int i = 0; i < idx.size(); ++i) {
        all.addPath(font.pathForGlyph(idx[i]).translated(x, 0));
        x += adv[i].x();
    }
    return all;
}

// A stroked figure turned into a filled outline, so every glyph is a filled shape.
QPainterPath outline(const QPainterPath& strokes, double width, Qt::PenJoinStyle join = Qt::MiterJoin) {
    QPainterPathStroker s;
    s.setWidth(width);
    s.setJoinStyle(join);
    s.setMiterLimit(8);
    s.setCapStyle(Qt::FlatCap);
    return s.createStroke(strokes).simplified();
}

// Element and principle figures on a 100-unit grid, y down.
QPainterPath triangle(bool up) {
    QPainterPath p;
    if (up) {
        p.moveTo(50, 8);
        p.lineTo(94, 84);
        p.lineTo(6, 84);
    } else {
        p.moveTo(6, 16);
        p.lineTo(94, 16);
        p.lineTo(50, 92);
    }
    p.closeSubpath();
    return p;
}

QPainterPath element(int n) {
    const double w = 8;
    switch (n) {
    case 1:
        return outline(triangle(true), w);  // fire
    case 2: {                               // earth: water's triangle crossed
        QPainterPath p = triangle(false);
        p.moveTo(20, 40);
        p.lineTo(80, 40);
        return outline(p, w);
    }
    case 3: {  // air: fire's triangle crossed
        QPainterPath p = triangle(true);
        p.moveTo(20, 60);
        p.lineTo(80, 60);
        return outline(p, w);
    }
    case 4:
        return outline(triangle(false), w);  // water
    case 5: {                                // salt: circle with its horizontal diameter
        QPainterPath p;
        p.addEllipse(QPointF(50, 50), 40, 40);
        p.moveTo(10, 50);
        p.lineTo(90, 50);
        return outline(p, w);
    }
    case 6: {  // sulphur: triangle over a cross
        QPainterPath p;
        p.moveTo(50, 4);
        p.lineTo(80, 56);
        p.lineTo(20, 56);
        p.closeSubpath();
        p.moveTo(50, 56);
        p.lineTo(50, 98);
        p.moveTo(30, 78);
        p.lineTo(70, 78);
        return outline(p, w);
    }
    default:
        return {};
    }
}

// The Moon: the font's crescent is hairline; this one has the weight of the other glyphs.
QPainterPath crescent() {
    QPainterPath outer, inner;
    outer.addEllipse(QPointF(0, 0), 50, 50);
    inner.addEllipse(QPointF(-16, 0), 47, 47);
    return outer.subtracted(inner);
}

// Scales and centres a shape in the square picture.
QPainterPath fitted(const QPainterPath& path) {
    const QRectF b = path.boundingRect();
    const double scale = kSide * kFill / std::max(b.width(), b.height());
    QTransform t;
    t.translate(kSide / 2.0, kSide / 2.0);
    t.scale(scale, scale);
    t.translate(-b.center().x(), -b.center().y());
    return t.map(path);
}

void write(const fs::path& file, const QPainterPath& shape, const QColor& colour) {
    EmfDevice device(QSize(kSide, kSide), 96.0);
    {
        QPainter p(&device);
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawPath(fitted(shape));
    }
    fs::create_directories(file.parent_path());
    device.save(file);
}

// Colour, white and black variants of one glyph.
void writeSet(const fs::path& folder, const std::string& stem, const std::string& number, const QPainterPath& shape,
              const QColor& colour) {
    write(folder / (stem + number + ".emf"), shape, colour);
    write(folder / (stem + "B" + number + ".emf"), shape, colour::White);
    write(folder / (stem + "N" + number + ".emf"), shape, colour::Black);
}

std::string two(int n) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d", n);
    return b;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    std::string fontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    std::string boldFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
    fs::path out = "data";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--font") fontFile = argv[i + 1];
        else if (a == "--bold") boldFile = argv[i + 1];
        else if (a == "--out") out = argv[i + 1];
        else {
            std::cerr << "usage: gen-glyphs [--font TTF] [--bold TTF] [--out DATA_DIR]\n";
            return 2;
        }
    }
    const QRawFont font(QString::fromStdString(fontFile), 100);
    const QRawFont bold(QString::fromStdString(boldFile), 100);
    if (!font.isValid() || !bold.isValid()) {
        std::cerr << "gen-glyphs: cannot read the fonts\n";
        return 1;
    }

    // Planets and points: file number, character (0 for a text), text, colour.
    struct Planet {
        int number;
        char32_t cp;
        const char* text;
        QColor colour;
    };
    const Planet planets[] = {
        {1, U'\u2609', nullptr, QColor(232, 163, 23)},    // Sun, gold
        {2, 0, nullptr, QColor(138, 170, 205)},           // Moon, silver
        {3, U'\u263F', nullptr, QColor(166, 112, 214)},   // Mercury
        {4, U'\u2640', nullptr, QColor(46, 173, 75)},     // Venus
        {5, U'\u2642', nullptr, QColor(226, 48, 42)},     // Mars
        {6, U'\u2643', nullptr, QColor(58, 120, 230)},    // Jupiter
        {7, U'\u2644', nullptr, QColor(166, 124, 82)},    // Saturn
        {8, U'\u2645', nullptr, QColor(24, 168, 184)},    // Uranus
        {9, U'\u2646', nullptr, QColor(47, 143, 216)},    // Neptune
        {10, U'\u2647', nullptr, QColor(176, 64, 122)},   // Pluto
        {11, U'\u260A', nullptr, QColor(200, 138, 30)},   // North node
        {12, U'\u26B8', nullptr, QColor(128, 128, 128)},  // Black Moon
        {13, U'\u260B', nullptr, QColor(200, 138, 30)},   // South node
        {14, 0, "AC", QColor(214, 64, 42)},               // Ascendant
        {15, 0, "MC", QColor(214, 64, 42)},               // Midheaven
    };
    for (const Planet& p : planets) {
        const QPainterPath shape = p.cp     ? charPath(font, p.cp)
                                   : p.text ? textPath(bold, QString::fromLatin1(p.text))
                                            : crescent();
        writeSet(out / "Simboli", "PiaX", two(p.number), shape, p.colour);
    }

    // Signs, coloured by element: fire, earth, air, water.
    const QColor elementColour[4] = {QColor(226, 52, 42), QColor(60, 154, 60), QColor(217, 163, 0),
                                     QColor(42, 140, 224)};
    for (int s = 1; s <= 12; ++s)
        writeSet(out / "Zodiaco", "SegM", two(s), charPath(font, U'\u2648' + (s - 1)), elementColour[(s - 1) % 4]);

    // Elements and principles; mercury is the planet's character.
    const QColor principleColour(160, 160, 160);
    for (int n = 1; n <= 7; ++n) {
        const QPainterPath shape = n == 7 ? charPath(font, U'\u263F') : element(n);
        const QColor c = n <= 4 ? elementColour[n - 1] : principleColour;
        const std::string name = kElementGlyphNames[n];
        write(out / "Simboli" / (name + ".emf"), shape, c);
        write(out / "Simboli" / (name + "B.emf"), shape, colour::White);
        write(out / "Simboli" / (name + "N.emf"), shape, colour::Black);
    }
    std::cout << "gen-glyphs: wrote the glyph set below " << out << '\n';
    return 0;
}
