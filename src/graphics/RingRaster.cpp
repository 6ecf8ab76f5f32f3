#include "graphics/RingRaster.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace athanor {

namespace {

// The (premultiplied) pixel `p` covered by the opaque `colour` to the extent `cover` (0-256).
inline uint32_t mix(uint32_t p, uint32_t colour, uint32_t cover) {
    const uint32_t keep = 256 - cover;
    const uint32_t rb = (((colour & 0xff00ffu) * cover + (p & 0xff00ffu) * keep) >> 8) & 0xff00ffu;
    const uint32_t ag = ((((colour >> 8) & 0xff00ffu) * cover + ((p >> 8) & 0xff00ffu) * keep) >> 8) & 0xff00ffu;
    return (ag << 8) | rb;
}

}  // namespace

bool strokeCircleOnImage(QPainter& painter, QPointF centre, double radius) {
    QPaintDevice* device = painter.device();
    if (!device || device->devType() != QInternal::Image) return false;
    auto* image = static_cast<QImage*>(device);
    if (image->format() != QImage::Format_RGB32 && image->format() != QImage::Format_ARGB32_Premultiplied) return false;
    if (image->devicePixelRatio() != 1.0) return false;
    const QPen& pen = painter.pen();
    const QTransform& t = painter.transform();
    if (!painter.testRenderHint(QPainter::Antialiasing) || painter.hasClipping() || painter.opacity() != 1.0 ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver || t.type() > QTransform::TxTranslate ||
        pen.style() != Qt::SolidLine || pen.brush().style() != Qt::SolidPattern || pen.color().alpha() != 255 ||
        pen.isCosmetic() || pen.widthF() <= 1.0 || !(radius > 0) || !std::isfinite(radius))
        return false;

    const double cx = centre.x() + t.dx(), cy = centre.y() + t.dy();
    const double half = pen.widthF() / 2.0;
    // Pixels whose centre lies within half a pixel of the stroke's edges are partly covered.
    const double outer = radius + half + 0.5;
    const double inner = radius - half - 0.5;
    const int width = image->width(), height = image->height();
    if (!std::isfinite(cx) || !std::isfinite(cy) || cx + outer < 0 || cx - outer > width || cy + outer < 0 ||
        cy - outer > height)
        return true;  // nothing of it on the picture
    const uint32_t colour = pen.color().rgb() | 0xff000000u;

    const int top = std::max(0, static_cast<int>(std::floor(cy - outer)));
    const int bottom = std::min(height - 1, static_cast<int>(std::ceil(cy + outer)));
    // Pixels whose centre lies this far inside the stroke's edges are covered whole.
    const double fullOuter = radius + half - 0.5, fullInner = std::max(0.0, radius - half + 0.5);
    const double outer2 = outer * outer, inner2 = inner > 0 ? inner * inner : -1.0;
    const double fullOuter2 = fullOuter * fullOuter, fullInner2 = fullInner * fullInner;
    auto span = [&](uint32_t* row, double dy, int from, int to) {
        from = std::max(from, 0);
        to = std::min(to, width - 1);
        const double dy2 = dy * dy;
        double dx = from + 0.5 - cx;
        for (int x = from; x <= to; ++x, dx += 1.0) {
            const double d2 = dx * dx + dy2;
            if (d2 >= outer2 || d2 <= inner2) continue;
            if (d2 <= fullOuter2 && d2 >= fullInner2 && fullOuter > fullInner) {
                row[x] = colour;
                continue;
            }
            const double cover = half + 0.5 - std::abs(std::sqrt(d2) - radius);
            if (cover <= 0) continue;
            if (cover >= 1) row[x] = colour;
            else row[x] = mix(row[x], colour, static_cast<uint32_t>(cover * 256.0 + 0.5));
        }
    };
    for (int y = top; y <= bottom; ++y) {
        const double dy = y + 0.5 - cy;
        const double o2 = outer2 - dy * dy;
        if (o2 < 0) continue;
        const double xo = std::sqrt(o2);
        auto* row = reinterpret_cast<uint32_t*>(image->scanLine(y));
        const int left = static_cast<int>(std::floor(cx - xo)), right = static_cast<int>(std::ceil(cx + xo));
        const double i2 = inner2 - dy * dy;
        if (i2 <= 0) {
            span(row, dy, left, right);
        } else {
            const double xi = std::sqrt(i2);
            span(row, dy, left, static_cast<int>(std::ceil(cx - xi)));
            span(row, dy, static_cast<int>(std::floor(cx + xi)), right);
        }
    }
    return true;
}

}  // namespace athanor
