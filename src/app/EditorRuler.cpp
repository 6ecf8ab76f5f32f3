#include "app/EditorRuler.h"

#include <algorithm>
#include <cmath>

namespace athanor {

namespace {

int pixels(double points) { return static_cast<int>(std::trunc(points * 4.0 / 3.0)); }
int points(double pixels) { return static_cast<int>(std::trunc(pixels * 3.0 / 4.0)); }

}  // namespace

MarkerPlaces markerPlaces(const ParagraphIndents& indents, int rulerWidth) {
    return {pixels(indents.first) + 2, pixels(indents.left + indents.first) + 2,
            rulerWidth - pixels(indents.right + 6) - 6};
}

ParagraphIndents dropMarker(const ParagraphIndents& indents, const MarkerPlaces& places, RulerMarker marker, int x,
                            int halfWidth, int rulerWidth) {
    // A marker stays on the ruler: no further left than an indent of 0 puts it.
    x = std::clamp(x, 2, std::max(2, rulerWidth - 14));
    ParagraphIndents out = indents;
    switch (marker) {
        case RulerMarker::First:
            out.first = points(x + halfWidth - 6);
            out.left = points(places.left + halfWidth - 6) - out.first;
            break;
        case RulerMarker::Left:
            out.left = points(x + halfWidth - 6) - out.first;
            break;
        case RulerMarker::Right:
            out.right = points(rulerWidth + halfWidth - x - 2) - 12;
            break;
    }
    return out;
}

BlockMargins blockMargins(const ParagraphIndents& indents) {
    const double first = std::max(0, indents.first) * 4.0 / 3.0;
    const double rest = std::max(0, indents.first + indents.left) * 4.0 / 3.0;
    return {rest, first - rest, std::max(0, indents.right) * 4.0 / 3.0};
}

ParagraphIndents indentsOf(const BlockMargins& margins) {
    const int rest = static_cast<int>(std::lround(margins.left * 3.0 / 4.0));
    const int first = static_cast<int>(std::lround((margins.left + margins.firstLineShift) * 3.0 / 4.0));
    return {first, rest - first, static_cast<int>(std::lround(margins.right * 3.0 / 4.0))};
}

}  // namespace athanor
