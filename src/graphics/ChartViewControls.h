#pragma once
#include "foundations/DataRoot.h"
#include "graphics/DrawingState.h"

#include <optional>
#include <string>
#include <string_view>

namespace athanor {

// The controls of the natal-chart window that are more than wiring: zoom with its
// limits, the pan threshold, the resets, the metafile names and the graph-type file.

inline constexpr double kZoomStep = 1.15;
inline constexpr double kZoomMax = 4.0;
inline constexpr double kZoomMin = 0.4;
inline constexpr int kWheelNotchPixels = 20;

// "+" and "-": the zoom changes by one step within its limits, and the pan follows so
// that the middle of a screen of `width` x `height` pixels stays where it is.
void zoomIn(DrawingState& s, int width, int height);
void zoomOut(DrawingState& s, int width, int height);
void setZoomKeepingCentre(DrawingState& s, double zoom, int width, int height);

// A drag of more than 2 pixels on an axis moves the page on that axis.
int keptDrag(int delta);

// Full height, full width, and the state the window opens in: landscape at zoom 1, or
// portrait at zoom 0.5 moved right by a quarter of the screen.
void resetPageView(DrawingState& s, bool portrait, int screenWidth);
// The page's whole width across a view `viewWidth` pixels wide, from the top of the page.
void fitPageWidth(DrawingState& s, int viewWidth);

// The page orientation of a layout number: 5 and 18 portrait, 16 and 17 landscape.
bool layoutIsPortrait(int layout);
// The registered view that draws a layout: "vertical1", "vertical2", "horizontal1",
// "horizontal2"; "" for another number.
const char* layoutViewName(int layout);

// Metafile names: a name with a "." must end in exactly ".EMF" from its first dot; a
// name without a dot is taken as it is.
inline constexpr const char* kBadMetafileName = "El archivo debe ser .EMF";
bool acceptableMetafileName(std::string_view name);
// The names the window offers, "GRAF01.EMF" .. "GRAF15.EMF".
std::string offeredMetafileName(int n);
inline constexpr int kOfferedMetafiles = 15;
inline constexpr const char* kMetafileFolder = "Emf\\";

// Emf\TipGraf.Set: fifteen lines, "L" or "P", line n for the name whose characters 5-6
// are n. A name without such a number has no line.
inline constexpr const char* kGraphTypeFile = "Emf\\TipGraf.Set";
std::optional<int> graphNumber(std::string_view name);
// The whole file is read and rewritten; a missing file starts as fifteen "L" lines.
void recordGraphType(const DataRoot& root, std::string_view name, char type);
// The line of the name; ' ' when the file or the line is missing.
char readGraphType(const DataRoot& root, std::string_view name);

// Size of the metafile viewer in pixels: "L" 660 x 510, anything else 450 x 680; with a
// screen ratio strictly between 0.62 and 0.63 the widths are 755 and 525.
struct ViewerSize {
    int width, height;
};
ViewerSize metafileViewerSize(char type, double screenRatio);

}  // namespace athanor
