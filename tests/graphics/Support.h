#pragma once
// Charts, a program folder and a recording canvas for the tests of the analysis drawings
// and the printable pages.
#include "subjects/SubjectChart.h"
#include "engine/CorrectionFiles.h"
#include "foundations/ChartState.h"
#include "foundations/DataRoot.h"
#include "graphics/DrawingState.h"
#include "graphics/PageCanvas.h"
#include "graphics/Recorder.h"
#include "interpretation/Aspects.h"
#include "support/TempDir.h"

#include <QFontMetricsF>
#include <QPainter>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace athanor::test {

inline const DataRoot kSourceData{ATHANOR_SOURCE_DIR "/data"};

inline OrbSettings setA() {
    OrbSettings o;
    for (const auto& k : kAspectsByDisplay) o.AspectOrb[k.orbIndex] = k.setA;
    return o;
}

// A chart from longitudes 1..11 (Sun .. Midheaven) with equal houses from `asc`.
inline ChartState chartWith(const std::array<double, 12>& longitudes, double asc) {
    ChartState c;
    for (int b = 1; b <= 11; ++b) c.BodyLongitude[b] = longitudes[b];
    for (int h = 0; h < 12; ++h) c.HouseCusp[h] = normalize360(asc + 30.0L * h);
    c.BodyLongitude[body::Ascendant] = c.HouseCusp[0];
    c.HouseSystem = "CASE_UGUALI";
    for (auto& m : c.RetroMark) m = ' ';
    c.Day = 21, c.Month = 3, c.Year = 1990, c.Hour = 14, c.Minute = 30, c.TimeCorrection = -1;
    c.LatitudeDegrees = 41, c.LatitudeMinutes = 54, c.LatitudeHemisphere = 'N';
    c.LongitudeDegrees = 12, c.LongitudeMinutes = 29, c.LongitudeSide = 'E';
    deriveTables(c);
    return c;
}

// Births the drawings must cope with: the four quarters of the globe at four times of
// day (so the Sun stands in each quadrant of the houses), a birth before 1850 (no
// asteroids), one in the Julian calendar and one with retrograde planets.
struct Birth {
    const char* label;
    ChartSubject subject;
};
inline const std::vector<Birth>& births() {
    static const std::vector<Birth> all = {
        {"rome-afternoon", {"199003211430-1", "41N54-012E29", "GR"}},
        {"new-york-dawn", {"197507040545+4", "40N43-074W00", "GR"}},
        {"sydney-evening", {"200112251930-11", "33S52-151E12", "GR"}},
        {"buenos-aires-night", {"196808150010+3", "34S36-058W22", "GR"}},
        {"paris-1805", {"180512021100-0,15", "48N51-002E20", "GR"}},
        {"venice-julian", {"157002101200-0,82", "45N26-012E20", "GI"}},
        {"retrograde-mercury", {"201903151200-1", "45N28-009E11", "GR"}},
    };
    return all;
}

inline ChartState chartOf(const ChartSubject& s) {
    ChartState c;
    const CorrectionFiles files(kSourceData);
    buildChart(c, files, s, ChartVariant::Analysis);
    return c;
}

// A program folder with the installed glyphs, exchange and correction files, and terms
// texts of full length for the printed pages: every body key of every six-degree sector.
class TestFolder {
public:
    TestFolder() {
        namespace fs = std::filesystem;
        for (const char* d : {"Simboli", "Zodiaco", "Scambi", "FilePosi"})
            fs::create_directory_symlink(fs::path(ATHANOR_SOURCE_DIR) / "data" / d, dir.path() / d);
        static const char* const codes[] = {"Sole", "Luna", "Merc", "Vene", "Mart", "Giov",
                                            "Satu", "NNor", "NSud", "Asce", "Mcie"};
        std::string text;
        for (const char* code : codes)
            for (int s = 1; s <= 60; ++s) {
                std::string key = std::string(code) + (s < 10 ? "0" : "") + std::to_string(s);
                key.resize(21, ' ');
                // As long as the texts of the file run: 60 characters and more.
                std::string line = "t\xE9rmino " + std::to_string(s) + " de " + code + ":";
                while (line.size() < 80) line += " palabra";
                text += key + line.substr(0, 80) + "\r\n";
            }
        dir.write("OpzioneT/SpgPianCan.Txt", text);
    }
    DataRoot root() const { return DataRoot(dir.path()); }
    TempDir dir;
};

// What a drawing routine painted, recorded primitive by primitive.
struct Recording {
    RecordingDevice device;
    DrawingState state;
    double unitsPerPixel() const { return 1.0 / (state.ppu * state.zoom); }
};

inline std::unique_ptr<Recording> record(const std::function<void(PageCanvas&)>& draw, double ppu = 10,
                                         bool paper = false, bool monochrome = false,
                                         const DataRoot& data = kSourceData) {
    auto r = std::make_unique<Recording>();
    r->state.setScreenScale(ppu);
    r->state.printing = paper;
    r->state.monochrome = monochrome;
    QPainter painter(&r->device);
    PageCanvas canvas(painter, r->state, &data);
    draw(canvas);
    return r;
}

// Box of a recorded text in device pixels (its ink, not its line height).
inline QRectF textBox(const Primitive& p) {
    const QFontMetricsF fm(p.font);
    return fm.tightBoundingRect(p.text).translated(p.points[0]);
}

// Horizontal centre and top of the line box of a recorded text, in page units.
struct TextPlace {
    double top, left, centre, right;
};
inline TextPlace placeOf(const Primitive& p, double unitsPerPixel) {
    const QFontMetricsF fm(p.font);
    const double w = fm.horizontalAdvance(p.text);
    const QPointF o = p.points[0];
    return {(o.y() - fm.ascent()) * unitsPerPixel, o.x() * unitsPerPixel, (o.x() + w / 2) * unitsPerPixel,
            (o.x() + w) * unitsPerPixel};
}

inline std::vector<const Primitive*> textsNamed(const Recording& r, const QString& text) {
    std::vector<const Primitive*> out;
    for (const auto* p : r.device.of(Primitive::Text))
        if (p->text == text) out.push_back(p);
    return out;
}

// Pairs of texts whose ink overlaps (by more than half a pixel each way).
inline std::vector<std::pair<QString, QString>> overlappingTexts(const std::vector<const Primitive*>& texts) {
    std::vector<std::pair<QString, QString>> out;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const QRectF a = textBox(*texts[i]).adjusted(0.5, 0.5, -0.5, -0.5);
        for (std::size_t j = i + 1; j < texts.size(); ++j)
            if (a.intersects(textBox(*texts[j]).adjusted(0.5, 0.5, -0.5, -0.5)))
                out.emplace_back(texts[i]->text, texts[j]->text);
    }
    return out;
}

}  // namespace athanor::test
