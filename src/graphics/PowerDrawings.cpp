#include "graphics/PowerDrawings.h"

#include "graphics/DrawingKit.h"
#include "graphics/PageCanvas.h"

namespace athanor {

void drawPowerBars(PageCanvas& c, const Powers& powers, double x0, double y0) {
    const double base = y0 + 30;
    for (int i = 1; i <= 10; ++i) {
        const PowerBar& bar = powers.bars[i];
        const double left = powerBarLeft(x0, i);
        c.selectLogicalPen(0);
        c.selectBrush(bar.negative ? colour::Red : colour::Blue);
        c.rectangle(base, left + 5, base - bar.height, left);
        c.releaseBrush();
        engineBodyGlyph(c, i, y0 + 33, left + 2.5, 5);
        c.setTextColour(c.state().onPaper() ? colour::Grey : colour::Silver);
        c.textCentred(y0 + 36, left + 2.5, bar.text, 15);
    }
}

}  // namespace athanor
