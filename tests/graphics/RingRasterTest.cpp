#include "graphics/RingRaster.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace athanor {
namespace {

struct Ring {
    double cx, cy, radius, pen;
    QColor colour, ground;
};

QImage blank(const QColor& ground, QImage::Format format = QImage::Format_RGB32) {
    QImage image(420, 380, format);
    image.fill(ground);
    return image;
}

void prepare(QPainter& p, const Ring& r) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(r.colour, r.pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
}

QImage byQt(const Ring& r) {
    QImage image = blank(r.ground);
    QPainter p(&image);
    prepare(p, r);
    p.drawArc(QRectF(r.cx - r.radius, r.cy - r.radius, 2 * r.radius, 2 * r.radius), 0, 360 * 16);
    return image;
}

QImage direct(const Ring& r) {
    QImage image = blank(r.ground);
    QPainter p(&image);
    prepare(p, r);
    EXPECT_TRUE(strokeCircleOnImage(p, QPointF(r.cx, r.cy), r.radius));
    return image;
}

struct Difference {
    int largest = 0;          // of any channel of any pixel
    long far = 0;             // pixels off by more than a tenth of the range
    long inkQt = 0, ink = 0;  // total of the channels' departures from the ground
};

Difference compare(const QImage& a, const QImage& b, const QColor& ground) {
    Difference d;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int worst =
                std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
            d.largest = std::max(d.largest, worst);
            d.far += worst > 25;
            d.inkQt += std::abs(qRed(p) - ground.red()) + std::abs(qGreen(p) - ground.green()) +
                       std::abs(qBlue(p) - ground.blue());
            d.ink += std::abs(qRed(q) - ground.red()) + std::abs(qGreen(q) - ground.green()) +
                     std::abs(qBlue(q) - ground.blue());
        }
    return d;
}

// The circle drawn straight into the pixels: as much ink as the ring's area holds, and the
// look of Qt's antialiased circle (whose ink falls 3-7% short of the area): the same pixels
// inked, each within a quarter of the range.
TEST(RingRaster, InksTheRingsAreaLikeQtsAntialiasedCircle) {
    struct Case {
        Ring ring;
        bool whole;  // all of it on the picture
    };
    const Case cases[] = {
        {{210, 190, 170, 2, QColor(255, 255, 0), Qt::black}, true},       // the wheel's rings: 2 pixels on black
        {{210.5, 190.5, 120.25, 2, QColor(0, 0, 160), Qt::white}, true},  // off the pixel grid, on paper
        {{200, 180, 60, 1.5, QColor(200, 40, 40), Qt::black}, true},
        {{215.3, 187.7, 150, 3.5, QColor(20, 180, 90), QColor(240, 240, 230)}, true},
        {{100, 90, 3, 2, Qt::white, Qt::black}, true},    // tiny: nearly a dot
        {{400, 20, 90, 2, Qt::green, Qt::black}, false},  // runs off two edges
    };
    for (const Case& c : cases) {
        const Ring& r = c.ring;
        SCOPED_TRACE(testing::Message() << "radius " << r.radius << " pen " << r.pen << " at " << r.cx << "," << r.cy);
        const Difference d = compare(byQt(r), direct(r), r.ground);
        if (c.whole) {
            const double perPixel = std::abs(r.colour.red() - r.ground.red()) +
                                    std::abs(r.colour.green() - r.ground.green()) +
                                    std::abs(r.colour.blue() - r.ground.blue());
            EXPECT_NEAR(double(d.ink), 2 * M_PI * r.radius * r.pen * perPixel, 0.01 * double(d.ink));
        }
        EXPECT_NEAR(double(d.ink), double(d.inkQt), 0.08 * double(d.inkQt));
        EXPECT_LE(d.largest, 64);
        EXPECT_LE(double(d.far), 0.4 * 2 * M_PI * r.radius + 4);
    }
}

// Anything it cannot reproduce is left to Qt, untouched.
TEST(RingRaster, LeavesToQtWhatItCannotDraw) {
    const Ring r{210, 190, 170, 2, QColor(255, 255, 0), Qt::black};
    struct Case {
        const char* what;
        void (*set)(QPainter&);
    };
    const Case cases[] = {
        {"no antialiasing", [](QPainter& p) { p.setRenderHint(QPainter::Antialiasing, false); }},
        {"clipped", [](QPainter& p) { p.setClipRect(QRect(0, 0, 100, 100)); }},
        {"rotated", [](QPainter& p) { p.rotate(10); }},
        {"scaled", [](QPainter& p) { p.scale(2, 2); }},
        {"dashed", [](QPainter& p) { p.setPen(QPen(Qt::yellow, 2, Qt::DashLine)); }},
        {"translucent", [](QPainter& p) { p.setPen(QPen(QColor(255, 255, 0, 128), 2)); }},
        {"faded", [](QPainter& p) { p.setOpacity(0.5); }},
        {"cosmetic", [](QPainter& p) { p.setPen(QPen(Qt::yellow, 0)); }},
        {"xor", [](QPainter& p) { p.setCompositionMode(QPainter::RasterOp_SourceXorDestination); }},
    };
    for (const Case& c : cases) {
        QImage image = blank(Qt::black);
        QPainter p(&image);
        prepare(p, r);
        c.set(p);
        EXPECT_FALSE(strokeCircleOnImage(p, QPointF(r.cx, r.cy), r.radius)) << c.what;
        p.end();
        EXPECT_EQ(image, blank(Qt::black)) << c.what;
    }
    QImage sixteenBits(100, 100, QImage::Format_RGB16);
    QPainter p16(&sixteenBits);
    prepare(p16, r);
    EXPECT_FALSE(strokeCircleOnImage(p16, QPointF(50, 50), 30));
}

// On a transparent ground the edges come out translucent, as Qt's do.
TEST(RingRaster, KeepsTheEdgesOfATransparentGroundTranslucent) {
    const Ring r{210, 190, 150, 2, QColor(255, 255, 0), Qt::transparent};
    QImage mine = blank(Qt::transparent, QImage::Format_ARGB32_Premultiplied);
    QImage theirs = mine;
    {
        QPainter p(&mine);
        prepare(p, r);
        ASSERT_TRUE(strokeCircleOnImage(p, QPointF(r.cx, r.cy), r.radius));
        QPainter q(&theirs);
        prepare(q, r);
        q.drawArc(QRectF(r.cx - r.radius, r.cy - r.radius, 2 * r.radius, 2 * r.radius), 0, 360 * 16);
    }
    long translucent = 0, opaque = 0, largest = 0;
    for (int y = 0; y < mine.height(); ++y)
        for (int x = 0; x < mine.width(); ++x) {
            const QRgb m = mine.pixel(x, y);
            translucent += qAlpha(m) > 0 && qAlpha(m) < 255;
            opaque += qAlpha(m) == 255;
            largest = std::max<long>(largest, std::abs(qAlpha(m) - qAlpha(theirs.pixel(x, y))));
            // premultiplied: no colour beyond its own alpha
            ASSERT_LE(qRed(m), qAlpha(m));
        }
    EXPECT_GT(translucent, 500);
    EXPECT_GT(opaque, 500);
    EXPECT_LE(largest, 64);
}

// A shift of the painter moves the circle as it moves Qt's.
TEST(RingRaster, FollowsThePaintersShift) {
    const Ring r{150, 140, 100, 2, QColor(255, 255, 0), Qt::black};
    QImage shifted = blank(r.ground);
    {
        QPainter p(&shifted);
        prepare(p, r);
        p.translate(60, 40);
        ASSERT_TRUE(strokeCircleOnImage(p, QPointF(r.cx, r.cy), r.radius));
    }
    const Difference d = compare(direct(Ring{210, 180, 100, 2, r.colour, r.ground}), shifted, r.ground);
    EXPECT_EQ(d.largest, 0);
}

}  // namespace
}  // namespace athanor
