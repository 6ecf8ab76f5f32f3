#include "graphics/ChartViewControls.h"

#include "foundations/Format.h"
#include "foundations/TextFile.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace athanor {

void setZoomKeepingCentre(DrawingState& s, double zoom, int width, int height) {
    const double w2 = width / 2.0, h2 = height / 2.0;
    s.ox += static_cast<int>(std::lround(w2 - zoom * w2) - std::lround(w2 - s.zoom * w2));
    s.oy += static_cast<int>(std::lround(h2 - zoom * h2) - std::lround(h2 - s.zoom * h2));
    s.zoom = zoom;
}

void zoomIn(DrawingState& s, int width, int height) {
    setZoomKeepingCentre(s, std::min(s.zoom * kZoomStep, kZoomMax), width, height);
}

void zoomOut(DrawingState& s, int width, int height) {
    setZoomKeepingCentre(s, std::max(s.zoom / kZoomStep, kZoomMin), width, height);
}

int keptDrag(int delta) { return std::abs(delta) > 2 ? delta : 0; }

void resetPageView(DrawingState& s, bool portrait, int screenWidth) {
    s.zoom = portrait ? 0.5 : 1.0;
    s.ox = portrait ? screenWidth / 4 : 0;
    s.oy = 0;
}

void fitPageWidth(DrawingState& s, int viewWidth) {
    s.zoom = std::clamp(viewWidth * s.hc / (DrawingState::kPageWidth * s.ppu), kZoomMin, kZoomMax);
    s.ox = 0;
    s.oy = 0;
}

bool layoutIsPortrait(int layout) { return layout == 5 || layout == 18; }

const char* layoutViewName(int layout) {
    switch (layout) {
    case 5:
        return "vertical1";
    case 18:
        return "vertical2";
    case 16:
        return "horizontal1";
    case 17:
        return "horizontal2";
    default:
        return "";
    }
}

bool acceptableMetafileName(std::string_view name) {
    const auto dot = name.find('.');
    return dot == std::string_view::npos || name.substr(dot) == ".EMF";
}

std::string offeredMetafileName(int n) { return "GRAF" + zeroPadded(n, 2) + ".EMF"; }

std::optional<int> graphNumber(std::string_view name) {
    if (name.size() < 6) return std::nullopt;
    const char a = name[4], b = name[5];
    if (a < '0' || a > '9' || b < '0' || b > '9') return std::nullopt;
    const int n = (a - '0') * 10 + (b - '0');
    if (n < 1 || n > kOfferedMetafiles) return std::nullopt;
    return n;
}

namespace {

std::vector<std::string> graphTypeLines(const DataRoot& root) {
    std::vector<std::string> lines;
    if (root.exists(kGraphTypeFile)) lines = readLines(root.resolve(kGraphTypeFile));
    lines.resize(kOfferedMetafiles, "L");
    return lines;
}

}  // namespace

void recordGraphType(const DataRoot& root, std::string_view name, char type) {
    const auto n = graphNumber(name);
    if (!n) return;
    auto lines = graphTypeLines(root);
    lines[static_cast<size_t>(*n - 1)] = std::string(1, type);
    writeLines(root.resolveForWriting(kGraphTypeFile), lines);
}

char readGraphType(const DataRoot& root, std::string_view name) {
    const auto n = graphNumber(name);
    if (!n || !root.exists(kGraphTypeFile)) return ' ';
    const auto lines = readLines(root.resolve(kGraphTypeFile));
    if (static_cast<int>(lines.size()) < *n || lines[static_cast<size_t>(*n - 1)].empty()) return ' ';
    return lines[static_cast<size_t>(*n - 1)][0];
}

ViewerSize metafileViewerSize(char type, double screenRatio) {
    const bool wide = screenRatio > 0.62 && screenRatio < 0.63;
    if (type == 'L') return {wide ? 755 : 660, 510};
    return {wide ? 525 : 450, 680};
}

}  // namespace athanor
