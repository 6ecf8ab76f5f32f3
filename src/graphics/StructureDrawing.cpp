#include "graphics/StructureDrawing.h"

#include "graphics/DrawingKit.h"
#include "graphics/PageCanvas.h"

#include <string>

namespace athanor {

namespace {

constexpr double kColumnStep = 13;
constexpr double kSlotStep = 7;
constexpr double kGlyph = 5.5;

struct Look {
    bool print;
    int framePen(std::uint8_t code) const {
        if (code == condition::Reception) return print ? 18 : 7;  // orange on the page, yellow on screen
        if (code == condition::Exile || code == condition::Fall) return print ? 13 : 2;
        return print ? 25 : 5;
    }
    QColor textColour(const PageCanvas& c, std::uint8_t code) const {
        if (code == condition::Reception) return print ? colour::Orange : colour::Yellow;
        if (code == condition::Exile || code == condition::Fall) return colour::Red;
        return ink(c, colour::Cyan);
    }
};

void drawColumns(PageCanvas& c, const ArchetypalStructure& s, double firstX, double y0, const Look& look,
                 std::vector<StructureHit>* hits) {
    const auto& cols = s.columns;
    for (std::size_t k = 0; k < cols.size(); ++k) {
        const StructureRow& col = cols[k];
        const double xc = firstX + kColumnStep * static_cast<double>(k);
        const int levels = filledLevels(col);

        c.releaseBrush();
        c.selectPen(inkPen(c, look.framePen(col.code)));
        c.rectangle(y0 + 4, xc + 4, y0 - kSlotStep * levels + 2, xc - 8);

        // Members of one reception share an open frame.
        if (k > 0 && col.code == condition::Reception && cols[k - 1].code == condition::Reception &&
            col.group == cols[k - 1].group && col.group != reception::None) {
            eraseBox(c, y0 + 4, xc - 7.5, y0 - 5, xc - 9.5);
            c.selectPen(inkPen(c, look.framePen(col.code)));
            c.line(y0 - 5, xc - 8, y0 - 5, xc - 9.6);
            c.line(y0 + 3.7, xc - 7.5, y0 + 3.7, xc - 10);
        }

        const QColor text = look.textColour(c, col.code);
        for (int i = 0; i < 8; ++i) {
            const StructureSlot& slot = col.entries[i];
            if (slot.planet == 0) continue;
            const double y = y0 - kSlotStep * i;
            c.planetGlyph(slot.planet, y, xc, kGlyph);
            if (hits) hits->push_back({slot.planet, y, xc});
            c.setTextColour(text);
            if (i == 0) {
                c.textLeft(y - 2.5, xc - 6.5, std::to_string(slot.level), look.print ? 2 : 18);
            } else {
                c.textLeft(y - 4, xc - 6, std::to_string(slot.level), 15);
                c.textLeft(y - 0.5, xc - 7.5, parentTag(slot.parent), 33);
            }
        }

        c.setTextColour(text);
        const double captionX = col.code == condition::Reception ? xc - 8 : xc - 7;
        if (look.print) c.textLeft(y0 + 4.5, captionX, conditionPrintCaption(col.code), 1);
        else c.textLeft(y0 + 4, captionX, conditionScreenCaption(col.code), 33);
    }
}

}  // namespace

std::vector<StructureHit> drawStructureScreen(PageCanvas& canvas, const ArchetypalStructure& structure, double cx,
                                              double cy) {
    std::vector<StructureHit> hits;
    const double y0 = cy + 18;
    const int n = static_cast<int>(structure.columns.size());
    if (n == 0) {
        canvas.setLogicalTextColour(0);
        canvas.textLeft(y0, cx - 35, "Nessuna Debilit\xE0 n\xE9 Dignit\xE0 Planetaria", 2);
        return hits;
    }
    drawColumns(canvas, structure, cx + 6.5 - 6.0 * n, y0, Look{false}, &hits);
    return hits;
}

void drawStructurePrint(PageCanvas& canvas, const ArchetypalStructure& structure, double anchorY, double anchorX) {
    canvas.setLogicalTextColour(4);
    canvas.textLeft(anchorY - 53, anchorX - 8, "ESTRUCTURA ARQUETIPAL", 2);
    if (structure.columns.empty()) {
        canvas.setLogicalTextColour(0);
        canvas.textLeft(anchorY, anchorX - 8, "Ninguna Debilidad o Dignidad Planetary", 2);
        return;
    }
    drawColumns(canvas, structure, anchorX, anchorY, Look{true}, nullptr);
}

}  // namespace athanor
