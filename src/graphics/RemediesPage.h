#pragma once
#include "graphics/Pages.h"
#include "interpretation/ChartWeaknesses.h"

#include <string>
#include <vector>

namespace athanor {

class PageCanvas;

// The printed page of a chart's remedies, in the conventions of the summary pages: a portrait
// sheet in their units, their subject header, then the archetypal structure, the weaknesses
// and the ranked remedies with their signatures, indications, warnings and pathologies, and on
// every sheet a footer saying whose the prescription is.
struct RemediesPageContent {
    const ChartRemedies& found;
    PageSubject subject;
    std::string userName;  // the practitioner (header)
    std::string today;     // "DD/MM/YYYY"
};

// The footer sentence (Windows-1252).
extern const char* const kRemediesFooter;

// Where the text of a sheet runs, in page units: the body between the header and the footer.
inline constexpr double kRemediesLeft = 15, kRemediesRight = 230;
inline constexpr double kRemediesBodyTop = 50, kRemediesBodyBottom = 344;

// The structure of one planet in words, e.g. "Venus en G\xE9minis: domicilio" (Windows-1252).
std::string structureWords(const ChartRemedies& found, int planet);

// The content wrapped and cut into sheets for the canvas's surface (text widths differ a
// little between screen and paper). A remedy is kept on one sheet when it fits on one; a
// section title never ends a sheet; a section carried over repeats its title.
class RemediesPages {
public:
    RemediesPages(const PageCanvas& canvas, const RemediesPageContent& content);
    int count() const { return static_cast<int>(sheets_.size()); }
    // Draws sheet `index` (0-based) with its header and footer.
    void draw(PageCanvas& canvas, int index) const;

    struct Line {
        std::string text;
        int font = 2;
        double x = kRemediesLeft;
        double height = 0;
        enum Tone { Plain, Title, Name, Warning } tone = Plain;
    };

private:
    const RemediesPageContent& content_;
    std::vector<std::vector<Line>> sheets_;
};

}  // namespace athanor
