#pragma once
#include <cmath>

namespace athanor {

// Where the drawing goes; decides the logical colours, the monochrome mapping and the
// glyph variants.
enum class Surface { Screen, Printer, Metafile };

// The page-unit drawing model shared by every drawing: scale, corrections, zoom, pan,
// line factor, font base and the surface flags. The program keeps one; renderers make
// their own.
struct DrawingState {
    double ppu = 4.0;  // device pixels per page unit at zoom 1
    double hc = 1.0;   // divides X page units
    double vc = 1.0;   // divides Y page units
    double zoom = 1.0;
    int ox = 0, oy = 0;       // pan, device pixels, added after scaling
    double lineFactor = 1.0;  // multiplies pen widths; a stored 0 reads as 1
    double fontBase = 15.0;   // FB, base of every font height

    bool printing = false;
    bool recording = false;
    bool monochrome = false;
    bool printerPresent = false;
    bool secondaryWindow = false;  // changes the monochrome rule of brushes
    bool portrait = false;         // page orientation of the page frame
    double verticalAspect = 1.0;   // k of the wheel's vertical positions

    Surface surface() const {
        if (recording) return Surface::Metafile;
        if (printing) return Surface::Printer;
        return Surface::Screen;
    }
    bool onPaper() const { return printing || recording; }

    double effectiveLineFactor() const { return lineFactor == 0 ? 1.0 : lineFactor; }

    // Screen scale: FB follows PPU.
    void setScreenScale(double pixelsPerUnit) {
        ppu = pixelsPerUnit;
        fontBase = std::round(pixelsPerUnit * 3.7);
    }

    // Print scale from the printer's page width in pixels; the corrections do not apply
    // on paper.
    void setPrintScale(double pageWidthPixels) {
        ppu = pageWidthPixels / 210.0 * 0.776;
        hc = vc = 1.0;
        fontBase = std::round(pageWidthPixels / 82.0);
    }

    // Virtual page in page units.
    static constexpr double kPageWidth = 279.0;
    double pageHeight() const { return portrait ? 405.0 : 202.0; }
};

}  // namespace athanor
