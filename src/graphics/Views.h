#pragma once
#include "foundations/ChartState.h"
#include "graphics/DrawingState.h"
#include "interpretation/Aspects.h"

#include <QImage>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace athanor {

class DataRoot;
class PageCanvas;

// What a drawing may read besides the drawing state.
struct ViewContext {
    const ChartState& chart;
    const OrbSettings& orbs;
    const DataRoot& data;
    std::string userName;  // the practitioner, for page headers
    std::string today;     // "DD/MM/YYYY"
};

// A named drawing that can be rendered on its own: its picture in page units and the
// routine that draws it.
struct View {
    std::string name;
    double height = 195, width = 195;  // page units
    bool portrait = true;              // page orientation on paper
    std::function<void(PageCanvas&, const ViewContext&)> draw;
    // A drawing that runs on over several sheets draws sheet i (from 0) and says how many
    // there are; `draw` then draws the first. Empty for a single picture.
    std::function<int(PageCanvas&, const ViewContext&, int sheet)> drawSheet;
};

// Every view, built-in ones first; registerView adds or replaces one by name.
const std::vector<View>& views();
const View* findView(std::string_view name);
void registerView(View view);

enum class OutputFormat { Png, Pdf, Svg, Emf };
// By the file's extension, any letter case; nullopt for any other extension.
std::optional<OutputFormat> outputFormatFor(const std::filesystem::path& file);

struct RenderOptions {
    bool monochrome = false;
    double screenPpu = 8.0;  // pixels per page unit of images, SVG and EMF
    bool paperLook = false;  // images drawn as on paper (white), not as on screen (black)
    double pdfDpi = 1200.0;
};

// The drawing state a render uses for a format: the screen scale for images, the
// recording flag for SVG and EMF, the print scale of an A4 page for PDF.
DrawingState renderState(const View& view, OutputFormat format, const RenderOptions& options);

// The glyph files nearly every chart picture draws (the planets' and the signs' of the wheel)
// in the colours `state` gives them, found in the program folder. A drawing program loads them
// ahead on a second thread (GlyphLibrary::loadAhead).
std::vector<std::filesystem::path> chartGlyphFiles(const DataRoot& root, const DrawingState& state);

// Draws a view into an image as the screen shows it (or on white paper).
QImage renderImage(const View& view, const ViewContext& context, const RenderOptions& options);

// The picture of sheet n (from 1) of a drawing that runs on: the file itself for the first,
// then the name with "-2", "-3"... before its extension.
std::filesystem::path sheetFile(const std::filesystem::path& file, int sheet);

// Renders a view to a file whose format follows the extension: a PDF holds every sheet, the
// other formats one picture per sheet (sheetFile). Returns the files written. Throws
// FileError when a file cannot be written, std::invalid_argument for an unknown extension.
std::vector<std::filesystem::path> renderToFile(const View& view, const ViewContext& context,
                                                const RenderOptions& options, const std::filesystem::path& file);

}  // namespace athanor
