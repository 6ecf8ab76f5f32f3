#pragma once
#include <QPointF>

class QPainter;

namespace athanor {

// Strokes a whole circle with the painter's pen straight into the pixels of the image it paints
// on, antialiased by the distance of each pixel's centre from the ring. Qt's antialiased
// rasteriser takes about half a millisecond for each of the wheel's large circles; this takes a
// few hundredths. It draws only what it can reproduce: an opaque solid pen wider than one
// pixel (Qt draws thinner ones quickly), on an RGB32 or premultiplied ARGB32 image, with no
// transformation but a shift, no clipping, full opacity and plain source-over painting;
// otherwise it draws nothing and returns false, and Qt must draw the circle.
bool strokeCircleOnImage(QPainter& painter, QPointF centre, double radius);

}  // namespace athanor
