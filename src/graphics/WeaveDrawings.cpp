#include "graphics/WeaveDrawings.h"

#include "graphics/DrawingKit.h"
#include "graphics/PageCanvas.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

namespace athanor {

namespace {

constexpr double kCell = 7;
constexpr double kGlyph = 5;
const QColor kCountGrey{128, 128, 128};

struct Caption {
    double x;
    std::string text;
    QColor colour;
};

// Captions centred on their X, each on the first line where it clears the captions
// already there, so that words wider than a cell never run into each other. Lines run
// down from `y` or up from it. Returns the number of lines used.
int staggered(PageCanvas& c, const std::vector<Caption>& captions, double y, int font, bool downward,
              bool draw = true) {
    const double h = fontUnits(c, font);
    std::vector<std::vector<std::pair<double, double>>> lines;
    for (const Caption& cap : captions) {
        const double w = c.textWidthUnits(cap.text, font);
        const double left = cap.x - w / 2 - 0.8, right = cap.x + w / 2 + 0.8;
        std::size_t k = 0;
        for (; k < lines.size(); ++k) {
            bool clear = true;
            for (const auto& [l, r] : lines[k])
                if (left < r && l < right) clear = false;
            if (clear) break;
        }
        if (k == lines.size()) lines.emplace_back();
        lines[k].emplace_back(left, right);
        if (!draw) continue;
        const double top = downward ? y + static_cast<double>(k) * h : y - static_cast<double>(k + 1) * h;
        c.setTextColour(cap.colour);
        c.textCentred(top, cap.x, cap.text, font);
    }
    return static_cast<int>(lines.size());
}

int lineCount(PageCanvas& c, const std::vector<Caption>& captions, int font) {
    return staggered(c, captions, 0, font, true, false);
}

void titles(PageCanvas& c, const char* title, const char* subtitle, double top, double left, WeaveLook look) {
    c.setTextColour(ink(c, colour::Cyan));
    if (look == WeaveLook::Screen) {
        c.textLeft(5, 5, title, 2);
        c.textLeft(10, 5, subtitle, 15);
    } else {
        const double h2 = fontUnits(c, 2), h15 = fontUnits(c, 15);
        c.textLeft(top - h2 - h15, left, title, 2);
        c.textLeft(top - h15, left, subtitle, 15);
    }
}

void tag(PageCanvas& c, const char* text, WeaveLook look) {
    if (look != WeaveLook::Screen) return;
    c.setLogicalTextColour(0);
    c.textCentred(100 - 33, 100, text, 15);
}

void number(PageCanvas& c, double cy, double cx, int value, const QColor& colour) {
    c.setTextColour(colour);
    textMiddleCentred(c, cy, cx, std::to_string(value), 2);
}

// A weave: a header column of element glyphs, three count columns and a total column;
// four rows and a total row. The header row holds glyphs or nothing.
struct WeaveLayout {
    const char* title;
    const char* subtitle;
    const char* tagText;
    std::array<int, 4> rowGlyph;     // element glyph of each row
    std::array<int, 3> columnGlyph;  // 0: no header row
    std::array<const char*, 4> leftCaption;
    std::array<const char*, 4> rightCaption;
    std::array<QColor, 4> rowColour;
    std::array<const char*, 3> topCaption;
    std::array<const char*, 3> bottomCaption;
    const char* totalColumnCaption;  // in the header row when it has glyphs, else above
    int bottomFont;
};

void drawWeave(PageCanvas& c, const WeaveCounts& counts, double y, double x, WeaveLook look, const WeaveLayout& s) {
    const bool headerRow = s.columnGlyph[0] != 0;
    const int rows = headerRow ? 6 : 5;
    const double left = x - 2.5 * kCell;
    const double top = y - rows * kCell / 2;
    const double dataTop = headerRow ? top + kCell : top;  // first element row
    const double right = left + 5 * kCell;
    const double bottom = top + rows * kCell;
    auto colX = [&](int col) { return left + (col + 0.5) * kCell; };     // 0 header, 1..3, 4 total
    auto rowY = [&](int row) { return dataTop + (row + 0.5) * kCell; };  // 0..3, 4 total

    // Rules of the count block.
    c.selectLogicalPen(10);
    c.releaseBrush();
    c.rectangle(bottom, right, dataTop, left + kCell);
    for (int r = 1; r <= 4; ++r) c.line(dataTop + r * kCell, left + kCell, dataTop + r * kCell, right);
    for (int k = 2; k <= 4; ++k) c.line(dataTop, left + k * kCell, bottom, left + k * kCell);
    // The total row and column stand apart by a stronger rule.
    c.selectLogicalPen(0);
    c.line(dataTop + 4 * kCell, left + kCell, dataTop + 4 * kCell, right);
    c.line(dataTop, left + 4 * kCell, bottom, left + 4 * kCell);

    for (int r = 0; r < 4; ++r) c.elementGlyph(s.rowGlyph[r], rowY(r), colX(0), kGlyph);
    if (headerRow)
        for (int k = 0; k < 3; ++k) c.elementGlyph(s.columnGlyph[k], top + kCell / 2, colX(k + 1), kGlyph);

    for (int r = 0; r < 4; ++r) {
        const QColor rc = ink(c, s.rowColour[r]);
        for (int k = 0; k < 3; ++k) number(c, rowY(r), colX(k + 1), counts[r][k], kCountGrey);
        number(c, rowY(r), colX(4), rowTotal(counts, r), rc);
        c.setTextColour(rc);
        textMiddleRight(c, rowY(r), left - 1, s.leftCaption[r], 15);
        textMiddleLeft(c, rowY(r), right + 1, s.rightCaption[r], 15);
    }
    const QColor white = logicalTextColour(0, c.state().surface());
    int grand = 0;
    for (int k = 0; k < 3; ++k) {
        number(c, rowY(4), colX(k + 1), columnTotal(counts, k), white);
        grand += columnTotal(counts, k);
    }
    number(c, rowY(4), colX(4), grand, white);
    c.setTextColour(white);
    textMiddleCentred(c, rowY(4), colX(0), "Tot", 15);

    std::vector<Caption> above;
    for (int k = 0; k < 3; ++k) above.push_back({colX(k + 1), s.topCaption[k], white});
    if (headerRow) {
        c.setTextColour(white);
        textMiddleCentred(c, top + kCell / 2, colX(4), s.totalColumnCaption, 15);
    } else {
        above.push_back({colX(4), s.totalColumnCaption, white});
    }
    // Captions wider than their cells take two lines at most: a smaller font otherwise.
    const int aboveFont = lineCount(c, above, 15) <= 2 ? 15 : 0;
    const int aboveLines = staggered(c, above, top - 0.5, aboveFont, false);
    const double bracketY = top - 0.5 - aboveLines * fontUnits(c, aboveFont) - 1;
    if (headerRow) {
        // The bracket over the three principles.
        c.selectLogicalPen(10);
        c.line(bracketY + 1.5, left + kCell + 0.5, bracketY, left + kCell + 0.5);
        c.line(bracketY, left + kCell + 0.5, bracketY, left + 4 * kCell - 0.5);
        c.line(bracketY, left + 4 * kCell - 0.5, bracketY + 1.5, left + 4 * kCell - 0.5);
    }

    std::vector<Caption> below;
    for (int k = 0; k < 3; ++k) below.push_back({colX(k + 1), s.bottomCaption[k], white});
    staggered(c, below, bottom + 0.5, s.bottomFont, true);

    double widest = 0;
    for (const char* t : s.leftCaption) widest = std::max(widest, c.textWidthUnits(t, 15));
    titles(c, s.title, s.subtitle, bracketY - 1, left - 1 - widest, look);
    tag(c, s.tagText, look);
}

}  // namespace

void drawElementalWeave(PageCanvas& canvas, const WeaveCounts& counts, double y, double x, WeaveLook look) {
    static const WeaveLayout layout{
        "TELA ELEMENTAL",
        "(Nivel Psicosom\xE1tico)",
        "[Elemental]",
        {1, 2, 3, 4},
        {5, 6, 7},
        {"Fuego", "Tierra", "Aire", "Agua"},
        {"Voluntad", "Cuerpo", "Pensamiento", "Sentimiento"},
        {colour::Red, colour::Green, colour::Yellow, colour::Cyan},
        {"Sal", "Azufre", "Mercurio"},
        {"Istinto", "Persona", "Colectividad"},
        "Tot",
        0,
    };
    drawWeave(canvas, counts, y, x, look, layout);
}

void drawSeasonalWeave(PageCanvas& canvas, const WeaveCounts& counts, double y, double x, WeaveLook look) {
    static const WeaveLayout layout{
        "TELA ESTACIONAL",
        "(Nivel somatops\xEDquico)",
        "[Estacional]",
        {3, 1, 2, 4},
        {0, 0, 0},
        {"Primavera", "Verano", "Oto\xF1o", "Invierno"},
        {"Aire", "Fuego", "Tierra", "Agua"},
        {colour::Yellow, colour::Red, colour::Green, colour::Cyan},
        {"Tr\xF3picos", "S\xF3lidos", "Bicorporal"},
        {"(Cardinal)", "(Fijo)", "(Mudable)"},
        "Totales",
        0,
    };
    drawWeave(canvas, counts, y, x, look, layout);
}

void drawHumoralTable(PageCanvas& c, const Humors& h, bool seasonal, double y, double x, WeaveLook look) {
    struct Row {
        const char* element;
        const char* q1;
        const char* q2;
        int count;
        QColor colour;
        const char* quality;
        int total;
        const char* word;
    };
    const Row rows[4] = {
        {"Aire", "C", "U", h.air, colour::Yellow, "C", h.hot, "Extrovertido"},
        {"Fuego", "C", "S", h.fire, colour::Red, "U", h.moist, "Heter\xF3nomo"},
        {"Tierra", "F", "S", h.earth, colour::Green, "F", h.cold, "Introvertido"},
        {"Agua", "F", "U", h.water, colour::Cyan, "S", h.dry, "Aut\xF3nomo"},
    };
    const double top = y - 2 * kCell;
    const double countX = x - 3, totalX = x + 10;
    const QColor white = logicalTextColour(0, c.state().surface());

    c.selectLogicalPen(10);
    c.releaseBrush();
    for (double cx : {countX, totalX}) {
        c.rectangle(top + 4 * kCell, cx + kCell / 2, top, cx - kCell / 2);
        for (int r = 1; r < 4; ++r) c.line(top + r * kCell, cx - kCell / 2, top + r * kCell, cx + kCell / 2);
    }

    for (int r = 0; r < 4; ++r) {
        const double ry = top + (r + 0.5) * kCell;
        const QColor rc = ink(c, rows[r].colour);
        c.setTextColour(rc);
        textMiddleRight(c, ry, x - 20, rows[r].element, 15);
        c.setTextColour(white);
        textMiddleCentred(c, ry, x - 16.5, rows[r].q1, 15);
        textMiddleCentred(c, ry, x - 12, rows[r].q2, 15);
        number(c, ry, countX, rows[r].count, rc);
        c.setTextColour(white);
        textMiddleCentred(c, ry, x + 4, rows[r].quality, 15);
        number(c, ry, totalX, rows[r].total, white);
        c.setTextColour(rc);
        textMiddleLeft(c, ry, x + 15, rows[r].word, 15);
    }
    c.setTextColour(white);
    const double headY = top - 0.5 - fontUnits(c, 15);
    c.textCentred(headY, countX, "Tot", 15);
    c.textCentred(headY, totalX, "Tot", 15);

    // The legend: two pairs of lines under the table.
    const bool print = look == WeaveLook::Print;
    const char* legend[4] = {print ? "C = c\xE1lido" : "C=caliente", print ? "U = h\xFAmedo" : "U=h\xFAmedo",
                             print ? "F = fr\xEDo" : "F=fr\xEDo", print ? "S = seco" : "S=seco"};
    const double h18 = fontUnits(c, 18);
    const double legendTop = top + 4 * kCell + 1;
    for (int k = 0; k < 4; ++k) {
        c.setTextColour(white);
        c.textLeft(legendTop + (k / 2) * h18, x - 30 + (k % 2) * 32, legend[k], 18);
    }

    const char* title = "ATRIBUCI\xD3N HUMORAL";
    if (seasonal && look == WeaveLook::Screen) title = "HUMORAL ATTRIBUTION";
    titles(c, title, seasonal ? "(Estacional)" : "(Elemental)", headY - 1, x - 20 - c.textWidthUnits("Tierra", 15),
           look);
    tag(c, seasonal ? "[Estacional]" : "[Elemental]", look);
}

}  // namespace athanor
