#pragma once
// The editor's ruler: where its three markers stand for a paragraph's indents and which
// indents a marker dropped at a place gives. Indents are in points, places in pixels of a
// 96-dots-per-inch screen (4/3 pixel a point), the ruler's text starting 6 pixels in.

namespace athanor {

// A paragraph's indents as the ruler edits them: the first line starts `first` points in,
// the other lines `first + left`, and every line ends `right` points before the margin.
struct ParagraphIndents {
    int first = 0;
    int left = 0;
    int right = 0;
    bool operator==(const ParagraphIndents&) const = default;
};

enum class RulerMarker { First, Left, Right };

// The left edges of the three markers, in pixels, on a ruler `rulerWidth` pixels wide.
struct MarkerPlaces {
    int first = 0;
    int left = 0;
    int right = 0;
    bool operator==(const MarkerPlaces&) const = default;
};

MarkerPlaces markerPlaces(const ParagraphIndents& indents, int rulerWidth);

// The indents after `marker` is dropped with its left edge at `x`; `halfWidth` is half the
// marker's width and `places` where the markers stood before. A marker dropped off the ruler
// stops at its end. Moving the first-line marker
// keeps the other lines where the left marker shows them.
ParagraphIndents dropMarker(const ParagraphIndents& indents, const MarkerPlaces& places, RulerMarker marker, int x,
                            int halfWidth, int rulerWidth);

// The same indents as a text layout takes them, in pixels: the margin of every line, the
// first line's shift from it, the right margin. Nothing starts left of the text's edge.
struct BlockMargins {
    double left = 0;
    double firstLineShift = 0;
    double right = 0;
};
BlockMargins blockMargins(const ParagraphIndents& indents);
ParagraphIndents indentsOf(const BlockMargins& margins);

}  // namespace athanor
