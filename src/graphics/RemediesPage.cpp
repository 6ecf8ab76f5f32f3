#include "graphics/RemediesPage.h"

#include "foundations/Vocabulary.h"
#include "graphics/DrawingKit.h"
#include "graphics/PageCanvas.h"

#include <algorithm>

namespace athanor {

const char* const kRemediesFooter =
    "Las correspondencias entre planetas, signos y remedios son las de la tradici\xF3n espag\xEDrica; "
    "no son un diagn\xF3stico. La prescripci\xF3n corresponde al profesional.";

namespace {

using Line = RemediesPages::Line;

constexpr const char* kTitle = "REMEDIOS PARA EL TEMA";
constexpr int kBodyFont = 2;
constexpr int kDetailFont = 15;
constexpr double kIndent = 6;
// Line pitch as a share of the font height.
constexpr double kLeading = 1.2;
// The footer: a rule, the sentence beside the tag, the sheet's number under the tag.
constexpr double kFooterRule = 348;
constexpr double kFooterText = 351;
constexpr double kFooterTextRight = 192;
constexpr double kTagY = 221, kTagX = 195;  // the tag stands from (349, 199) to (364, 230)
constexpr double kSheetNumber = 368;

const char* conditionWords(std::uint8_t code) {
    switch (code) {
    case condition::Domicile:
        return "domicilio";
    case condition::Exaltation:
        return "exaltaci\xF3n";
    case condition::Exile:
        return "exilio";
    case condition::Fall:
        return "ca\xED" "da";
    case condition::Reception:
        return "recepci\xF3n";
    default:
        return "sin condici\xF3n";
    }
}

// Greedy word wrap; a word wider than the line is cut where it must. Line breaks of the
// text start new lines.
std::vector<std::string> wrapped(const PageCanvas& c, std::string_view text, int font, double width) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view paragraph = text.substr(start, end - start);
        std::string line;
        std::size_t i = 0;
        while (i < paragraph.size()) {
            while (i < paragraph.size() && paragraph[i] == ' ') ++i;
            if (i >= paragraph.size()) break;
            std::size_t j = paragraph.find(' ', i);
            if (j == std::string_view::npos) j = paragraph.size();
            std::string word(paragraph.substr(i, j - i));
            i = j;
            const std::string candidate = line.empty() ? word : line + " " + word;
            if (c.textWidthUnits(candidate, font) <= width) {
                line = candidate;
                continue;
            }
            if (!line.empty()) out.push_back(std::move(line));
            line.clear();
            while (c.textWidthUnits(word, font) > width) {
                std::string head = fitted(c, word, font, width);
                if (head.empty()) head = word.substr(0, 1);
                out.push_back(head);
                word.erase(0, head.size());
            }
            line = word;
        }
        if (!line.empty()) out.push_back(std::move(line));
        if (end >= text.size()) break;
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    return out;
}

// A piece that stays together on a sheet when it can.
struct Block {
    int section = 0;
    std::vector<Line> lines;
    double height() const {
        double h = 0;
        for (const Line& l : lines) h += l.height;
        return h;
    }
};

class Builder {
public:
    explicit Builder(const PageCanvas& c) : c_(c) {}

    void title(const char* text) {
        ++section_;
        titles_.push_back(text);
        pendingTitle_ = true;
    }
    void block() {
        blocks_.push_back(Block{section_, {}});
        if (pendingTitle_) {
            blocks_.back().lines.push_back(titleLine(titles_.back()));
            pendingTitle_ = false;
        }
    }
    void text(std::string_view text, int font, double indent, Line::Tone tone = Line::Plain) {
        const double x = kRemediesLeft + indent;
        for (std::string& l : wrapped(c_, text, font, kRemediesRight - x))
            blocks_.back().lines.push_back(Line{std::move(l), font, x, fontUnits(c_, font) * kLeading, tone});
    }
    void gap(double units) { blocks_.back().lines.push_back(Line{"", kDetailFont, kRemediesLeft, units, Line::Plain}); }

    Line titleLine(const std::string& text) const {
        return Line{text, kDetailFont, kRemediesLeft, fontUnits(c_, kDetailFont) * 1.8, Line::Title};
    }

    // Sheets of lines: a block goes whole onto the next sheet when it does not fit the
    // rest of this one but fits a fresh sheet; otherwise it runs on line by line.
    std::vector<std::vector<Line>> sheets() const {
        const double body = kRemediesBodyBottom - kRemediesBodyTop;
        std::vector<std::vector<Line>> out(1);
        double used = 0;
        int lastSection = 0;
        const auto newSheet = [&](int section, bool carried) {
            out.emplace_back();
            used = 0;
            if (carried) {
                Line t = titleLine(titles_[static_cast<std::size_t>(section - 1)] + " (continuaci\xF3n)");
                used += t.height;
                out.back().push_back(std::move(t));
            }
        };
        for (const Block& b : blocks_) {
            const double h = b.height();
            const bool startsSection = b.section != lastSection;
            if (used > 0 && used + h > body && h <= body - titleLine("").height) newSheet(b.section, !startsSection);
            for (std::size_t i = 0; i < b.lines.size(); ++i) {
                const Line& l = b.lines[i];
                // A title stays with the line after it.
                const double need = l.height + (l.tone == Line::Title && i + 1 < b.lines.size() ? b.lines[i + 1].height : 0);
                if (used > 0 && used + need > body) newSheet(b.section, !(startsSection && i == 0));
                out.back().push_back(l);
                used += l.height;
            }
            lastSection = b.section;
        }
        return out;
    }

private:
    const PageCanvas& c_;
    std::vector<Block> blocks_;
    std::vector<std::string> titles_;
    int section_ = 0;
    bool pendingTitle_ = false;
};

std::string answeredText(const ChartRemedies& found, const RemedyForChart& r) {
    std::string s = "Responde a: ";
    for (std::size_t i = 0; i < r.answers.size(); ++i) {
        const ChartWeakness& w = found.weaknesses[static_cast<std::size_t>(r.answers[i])];
        s += (i ? ", " : "") + w.planet + " (" + w.weakenedSign + ")";
    }
    return s;
}

void footer(PageCanvas& c, int index, int count) {
    c.selectLogicalPen(0);
    c.line(kFooterRule, kRemediesLeft, kFooterRule, kRemediesRight);
    c.setLogicalTextColour(0);
    double y = kFooterText;
    for (const std::string& l : wrapped(c, kRemediesFooter, kDetailFont, kFooterTextRight - kRemediesLeft)) {
        c.textLeft(y, kRemediesLeft, l, kDetailFont);
        y += fontUnits(c, kDetailFont) * kLeading;
    }
    c.footerTag(kTagY, kTagX);
    c.setLogicalTextColour(0);
    c.textRight(kSheetNumber, kRemediesRight,
                "P\xE1gina " + std::to_string(index + 1) + " de " + std::to_string(count), 1);
}

}  // namespace

std::string structureWords(const ChartRemedies& found, int planet) {
    const int sign = found.signs[static_cast<std::size_t>(planet)];
    std::string line = kChartBodyNames[static_cast<std::size_t>(planet)];
    if (sign >= 1 && sign <= 12) line += std::string(" en ") + kSignNames[static_cast<std::size_t>(sign)];
    const StructureRow& row = found.structure.rows[static_cast<std::size_t>(planet)];
    line += std::string(": ") + conditionWords(row.code);
    if (row.code == condition::Reception) {
        switch (row.group) {
        case reception::FirstPair:
        case reception::SecondPair:
        case reception::ThirdPair:
            line += " mutua";
            break;
        case reception::Triple:
            line += " entre tres planetas";
            break;
        case reception::Quadruple:
            line += " entre cuatro planetas";
            break;
        case reception::Quintuple:
            line += " entre cinco planetas";
            break;
        default:
            break;
        }
    }
    return line;
}

RemediesPages::RemediesPages(const PageCanvas& canvas, const RemediesPageContent& content) : content_(content) {
    const ChartRemedies& found = content.found;
    Builder b(canvas);

    b.title("ESTRUCTURA ARQUETIPAL");
    for (int p = 1; p <= kTraditionalPlanets; ++p) {
        b.block();
        b.text(structureWords(found, p), kBodyFont, 0);
    }

    b.title("DEBILIDADES DEL TEMA");
    b.block();
    if (found.weaknesses.empty()) b.text("Ning\xFAn planeta est\xE1 en exilio, en ca\xED" "da ni sin condici\xF3n.", kBodyFont, 0);
    for (std::size_t i = 0; i < found.weaknesses.size(); ++i) {
        if (i) b.block();
        b.text(std::to_string(i + 1) + ". " + found.weaknesses[i].reason, kBodyFont, 0);
    }

    b.title("REMEDIOS QUE RESPONDEN (por n\xFAmero de debilidades)");
    b.block();
    if (found.remedies.empty()) b.text("Ning\xFAn remedio de la base responde a estas debilidades.", kBodyFont, 0);
    for (std::size_t i = 0; i < found.remedies.size(); ++i) {
        const RemedyForChart& r = found.remedies[i];
        if (i) b.block();
        b.text(std::to_string(i + 1) + ". " + r.name, kBodyFont, 0, Line::Name);
        b.text(answeredText(found, r), kDetailFont, kIndent);
        std::string signature = "Signatura: " + r.record.primarySignature;
        if (!r.record.secondarySignature.empty()) signature += " / " + r.record.secondarySignature;
        if (!r.record.zodiacSignature.empty()) signature += " \x97 " + r.record.zodiacSignature;
        b.text(signature, kDetailFont, kIndent);
        if (const auto s = r.record.indicationText(); !s.empty()) b.text("Indicaciones: " + s, kDetailFont, kIndent);
        if (const auto s = r.record.warningsText(); !s.empty())
            b.text("Advertencias: " + s, kDetailFont, kIndent, Line::Warning);
        if (!r.pathologies.empty()) {
            std::string s = "Patolog\xED" "as del repertorio: ";
            for (std::size_t k = 0; k < r.pathologies.size(); ++k) s += (k ? ", " : "") + r.pathologies[k];
            b.text(s, kDetailFont, kIndent);
        }
        b.gap(2);
    }
    sheets_ = b.sheets();
}

void RemediesPages::draw(PageCanvas& c, int index) const {
    if (index < 0 || index >= count()) return;
    drawSubjectHeader(c, content_.subject, kTitle, kRemediesRight);
    c.header(21, kRemediesRight, content_.userName, content_.today);
    c.selectLogicalPen(0);
    c.line(46, kRemediesLeft, 46, kRemediesRight);

    double y = kRemediesBodyTop;
    for (const Line& l : sheets_[static_cast<std::size_t>(index)]) {
        switch (l.tone) {
        case Line::Title:
        case Line::Name:
            c.setLogicalTextColour(4);
            break;
        case Line::Warning:
            c.setTextColour(ink(c, colour::Red));
            break;
        case Line::Plain:
            c.setLogicalTextColour(0);
            break;
        }
        // A title sits at the foot of its taller line, close to what it heads.
        const double top = l.tone == Line::Title ? y + l.height - fontUnits(c, l.font) * kLeading : y;
        c.textLeft(top, l.x, l.text, l.font);
        y += l.height;
    }
    footer(c, index, count());
}

}  // namespace athanor
