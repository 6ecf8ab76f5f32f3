#include "graphics/PowerDrawings.h"

#include "graphics/DrawingKit.h"
#include "graphics/PageCanvas.h"

namespace athanor {

void drawPowerBars(PageCanvas& c, const Powers& powers, double x0, double y0) {
    const double base = y0 + 30;
    double lastRight = -1e9;  // right edge of the last score text on the first line
    for (int i = 1; i <= 10; ++i) {
        const PowerBar& bar = powers.bars[i];
        const double left = powerBarLeft(x0, i);
        c.selectLogicalPen(0);
        c.selectBrush(bar.negative ? colour::Red : colour::Blue);
        c.rectangle(base, left + 5, base - bar.height, left);
        c.releaseBrush();
        engineBodyGlyph(c, i, y0 + 33, left + 2.5, 5);
        // Silver would vanish on white paper.
        c.setTextColour(c.state().onPaper() ? colour::Grey : colour::Silver);
        // A score wider than its bar steps down a line rather than run into its neighbour.
        const double half = c.textWidthUnits(bar.text, 15) / 2;
        double y = y0 + 36;
        if (left + 2.5 - half < lastRight + 0.4) y += fontUnits(c, 15);
        else lastRight = left + 2.5 + half;
        c.textCentred(y, left + 2.5, bar.text, 15);
    }
}

}  // namespace athanor
