#include "ui/common/Pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

#include <cmath>

namespace athanor {

namespace {

// An athanor: the alchemist's furnace, a round vessel over a stepped tower, with the
// triangle of fire inside and a small sun above.
void drawFurnace(QPainter& p, QPointF centre, double size) {
    const QColor gold(232, 196, 92);
    p.setPen(QPen(gold, 2));
    p.setBrush(Qt::NoBrush);
    const double r = size * 0.22;
    const QPointF vessel(centre.x(), centre.y() - size * 0.08);
    p.drawEllipse(vessel, r, r);
    QPolygonF fire;
    fire << QPointF(vessel.x(), vessel.y() - r * 0.65) << QPointF(vessel.x() - r * 0.6, vessel.y() + r * 0.45)
         << QPointF(vessel.x() + r * 0.6, vessel.y() + r * 0.45);
    p.drawPolygon(fire);
    const double baseTop = vessel.y() + r;
    p.drawRect(QRectF(centre.x() - r * 0.9, baseTop, r * 1.8, size * 0.16));
    p.drawRect(QRectF(centre.x() - r * 1.2, baseTop + size * 0.16, r * 2.4, size * 0.1));
    const QPointF sun(vessel.x(), vessel.y() - r - size * 0.12);
    p.drawEllipse(sun, size * 0.06, size * 0.06);
    p.setBrush(gold);
    p.drawEllipse(sun, size * 0.015, size * 0.015);
}

}  // namespace

QImage drawBanner() {
    QImage img(kBannerWidth, kBannerHeight, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, kBannerWidth, kBannerHeight);
    sky.setColorAt(0, QColor(18, 24, 72));
    sky.setColorAt(0.6, QColor(62, 28, 92));
    sky.setColorAt(1, QColor(120, 44, 60));
    p.fillRect(img.rect(), sky);
    // A band of the zodiac: twelve ticks along a faint arc.
    p.setPen(QPen(QColor(255, 255, 255, 60), 1));
    const QPointF hub(kBannerWidth * 0.82, kBannerHeight * 1.9);
    const double radius = kBannerHeight * 1.75;
    p.drawEllipse(hub, radius, radius);
    for (int i = 0; i < 36; ++i) {
        const double a = (200 + i * 4.0) * M_PI / 180;
        const QPointF inner(hub.x() + std::cos(a) * (radius - 5), hub.y() + std::sin(a) * (radius - 5));
        const QPointF outer(hub.x() + std::cos(a) * (radius + (i % 3 == 0 ? 7 : 3)),
                            hub.y() + std::sin(a) * (radius + (i % 3 == 0 ? 7 : 3)));
        p.drawLine(inner, outer);
    }
    drawFurnace(p, QPointF(34, kBannerHeight / 2.0 + 4), kBannerHeight * 0.95);
    QFont title("DejaVu Serif", 22, QFont::Bold);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    p.setFont(title);
    p.setPen(QColor(232, 196, 92));
    p.drawText(QRectF(70, 4, kBannerWidth - 76, 36), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ATHANOR"));
    QFont sub("DejaVu Sans", 8);
    p.setFont(sub);
    p.setPen(QColor(230, 230, 240));
    p.drawText(QRectF(72, 38, kBannerWidth - 76, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromUtf8("Medicina espagírica y astrología"));
    return img;
}

QImage drawExitPicture(bool pressed) {
    QImage img(48, 48, QImage::Format_RGB32);
    img.fill(QColor(212, 208, 200));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(24, 24);
    QRadialGradient g(pressed ? QPointF(28, 28) : QPointF(18, 18), 24);
    g.setColorAt(0, pressed ? QColor(140, 20, 20) : QColor(255, 120, 110));
    g.setColorAt(1, pressed ? QColor(90, 0, 0) : QColor(170, 20, 20));
    p.setBrush(g);
    p.setPen(QPen(QColor(60, 0, 0), 1.5));
    p.drawEllipse(c, 20, 20);
    // The power sign: an open ring and a bar.
    p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(13, 14, 22, 22), 120 * 16, 300 * 16);
    p.drawLine(QPointF(24, 9), QPointF(24, 23));
    return img;
}

QIcon lockIcon(bool open) {
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 2.5));
    p.setBrush(Qt::NoBrush);
    // The shackle: closed over the body, or lifted and swung to the left.
    QPainterPath shackle;
    if (open) {
        shackle.moveTo(5, 12);
        shackle.lineTo(5, 7);
        shackle.arcTo(QRectF(5, 1, 9, 10), 180, -180);
        shackle.lineTo(14, 8);
    } else {
        shackle.moveTo(7.5, 12);
        shackle.lineTo(7.5, 8);
        shackle.arcTo(QRectF(7.5, 3, 9, 10), 180, -180);
        shackle.lineTo(16.5, 12);
    }
    p.drawPath(shackle);
    p.setPen(QPen(QColor(90, 60, 0), 1));
    p.setBrush(open ? QColor(120, 200, 90) : QColor(220, 170, 40));
    p.drawRoundedRect(QRectF(4, 11, 16, 11), 2, 2);
    p.setBrush(QColor(60, 40, 0));
    p.drawEllipse(QPointF(12, 16), 1.6, 1.6);
    return QIcon(pm);
}

}  // namespace athanor
