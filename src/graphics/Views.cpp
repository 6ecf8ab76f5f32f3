#include "graphics/Views.h"

#include "foundations/DataRoot.h"
#include "foundations/FileError.h"
#include "graphics/EmfDevice.h"
#include "graphics/PageCanvas.h"
#include "graphics/PngFile.h"
#include "graphics/Wheel.h"

#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <stdexcept>

namespace athanor {

namespace {

std::vector<View>& registry() {
    static std::vector<View> all = [] {
        std::vector<View> v;
        // The analysis window's wheel; the picture leaves room for the axis degrees.
        v.push_back(View{"wheel",
                         200,
                         200,
                         true,
                         [](PageCanvas& canvas, const ViewContext& ctx) { drawWheel(canvas, ctx.chart, ctx.orbs); },
                         {}});
        return v;
    }();
    return all;
}

QSize pixelSize(const View& view, double ppu) {
    return QSize(static_cast<int>(std::ceil(view.width * ppu)), static_cast<int>(std::ceil(view.height * ppu)));
}

// Draws one sheet of a view; the number of sheets it has.
int drawView(PageCanvas& canvas, const View& view, const ViewContext& context, int sheet) {
    if (!view.drawSheet) {
        view.draw(canvas, context);
        return 1;
    }
    return view.drawSheet(canvas, context, sheet);
}

void prepare(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

}  // namespace

const std::vector<View>& views() { return registry(); }

const View* findView(std::string_view name) {
    for (const View& v : registry())
        if (v.name == name) return &v;
    return nullptr;
}

void registerView(View view) {
    auto& all = registry();
    for (View& v : all)
        if (v.name == view.name) {
            v = std::move(view);
            return;
        }
    all.push_back(std::move(view));
}

std::optional<OutputFormat> outputFormatFor(const std::filesystem::path& file) {
    std::string ext = file.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if (ext == ".png") return OutputFormat::Png;
    if (ext == ".pdf") return OutputFormat::Pdf;
    if (ext == ".svg") return OutputFormat::Svg;
    if (ext == ".emf") return OutputFormat::Emf;
    return std::nullopt;
}

DrawingState renderState(const View& view, OutputFormat format, const RenderOptions& options) {
    DrawingState s;
    s.monochrome = options.monochrome;
    s.portrait = view.portrait;
    switch (format) {
    case OutputFormat::Png:
        s.setScreenScale(options.screenPpu);
        s.printing = options.paperLook;
        break;
    case OutputFormat::Svg:
    case OutputFormat::Emf:
        s.setScreenScale(options.screenPpu);
        s.recording = true;
        break;
    case OutputFormat::Pdf: {
        const QPageSize a4(QPageSize::A4);
        const QSizeF mm = a4.size(QPageSize::Millimeter);
        const double widthMm = view.portrait ? mm.width() : mm.height();
        s.printing = true;
        s.setPrintScale(widthMm / 25.4 * options.pdfDpi);
        break;
    }
    }
    return s;
}

std::vector<std::filesystem::path> chartGlyphFiles(const DataRoot& root, const DrawingState& state) {
    const GlyphVariant variant = glyphVariant(state);
    std::vector<std::filesystem::path> files;
    // In the order the wheel draws them: the signs, then the planets.
    for (int sign = 1; sign <= 12; ++sign) files.push_back(root.resolve(signGlyphFile(sign, 'M', variant)));
    for (int body = 1; body <= 11; ++body) files.push_back(root.resolve(planetGlyphFile(body, variant)));
    return files;
}

QImage renderImage(const View& view, const ViewContext& context, const RenderOptions& options) {
    const DrawingState state = renderState(view, OutputFormat::Png, options);
    QImage image = blankOpaqueImage(pixelSize(view, state.ppu), state.onPaper() ? Qt::white : Qt::black);
    QPainter painter(&image);
    prepare(painter);
    PageCanvas canvas(painter, state, &context.data);
    view.draw(canvas, context);
    painter.end();
    return image;
}

namespace {

// Writes sheet `sheet` (every sheet into a PDF); the number of sheets the view has.
int writePicture(const View& view, const ViewContext& context, const RenderOptions& options, OutputFormat format,
                 const std::filesystem::path& file, int sheet) {
    const QString name = QString::fromStdString(file.string());
    switch (format) {
    case OutputFormat::Png: {
        const DrawingState state = renderState(view, OutputFormat::Png, options);
        QImage image = blankOpaqueImage(pixelSize(view, state.ppu), state.onPaper() ? Qt::white : Qt::black);
        QPainter painter(&image);
        prepare(painter);
        PageCanvas canvas(painter, state, &context.data);
        const int sheets = drawView(canvas, view, context, sheet);
        painter.end();
        writeOpaquePng(image, file);
        return sheets;
    }
    case OutputFormat::Pdf: {
        DrawingState state = renderState(view, format, options);
        QPdfWriter writer(name);
        writer.setResolution(static_cast<int>(options.pdfDpi));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(view.portrait ? QPageLayout::Portrait : QPageLayout::Landscape);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setCreator(QStringLiteral("Athanor"));
        QPainter painter;
        if (!painter.begin(&writer)) throw FileError(file, "cannot write the document", FileFault::NotWritten);
        prepare(painter);
        // A drawing narrower than the sheet is centred across it.
        const double drawn = view.width * state.ppu;
        state.ox = std::max(0, static_cast<int>(std::lround((writer.width() - drawn) / 2.0)));
        state.oy = std::min(state.ox, static_cast<int>(std::lround(writer.height() - view.height * state.ppu)));
        state.oy = std::max(0, state.oy);
        PageCanvas canvas(painter, state, &context.data);
        const int sheets = drawView(canvas, view, context, 0);
        for (int i = 1; i < sheets; ++i) {
            if (!writer.newPage()) throw FileError(file, "cannot write the document", FileFault::NotWritten);
            drawView(canvas, view, context, i);
        }
        if (!painter.end()) throw FileError(file, "cannot write the document", FileFault::NotWritten);
        return sheets;
    }
    case OutputFormat::Svg: {
        const DrawingState state = renderState(view, format, options);
        const QSize size = pixelSize(view, state.ppu);
        QSvgGenerator generator;
        generator.setFileName(name);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        generator.setTitle(QString::fromStdString(view.name));
        generator.setDescription(QStringLiteral("Athanor"));
        QPainter painter;
        if (!painter.begin(&generator)) throw FileError(file, "cannot write the picture", FileFault::NotWritten);
        prepare(painter);
        PageCanvas canvas(painter, state, &context.data);
        const int sheets = drawView(canvas, view, context, sheet);
        painter.end();
        if (!QFile::exists(name)) throw FileError(file, "cannot write the picture", FileFault::NotWritten);
        return sheets;
    }
    case OutputFormat::Emf: {
        const DrawingState state = renderState(view, format, options);
        EmfDevice device(pixelSize(view, state.ppu), 96.0);
        QPainter painter(&device);
        prepare(painter);
        int sheets = 1;
        {
            PageCanvas canvas(painter, state, &context.data);
            sheets = drawView(canvas, view, context, sheet);
        }
        painter.end();
        device.save(file);
        return sheets;
    }
    }
    return 1;
}

}  // namespace

std::filesystem::path sheetFile(const std::filesystem::path& file, int sheet) {
    if (sheet <= 1) return file;
    return file.parent_path() / (file.stem().string() + "-" + std::to_string(sheet) + file.extension().string());
}

std::vector<std::filesystem::path> renderToFile(const View& view, const ViewContext& context,
                                                const RenderOptions& options, const std::filesystem::path& file) {
    const auto format = outputFormatFor(file);
    if (!format) throw std::invalid_argument("unknown picture format: " + file.string());
    // Each picture is drawn into a temporary file first: a drawing that fails leaves no half picture.
    std::vector<std::filesystem::path> written;
    int sheets = 1;
    for (int sheet = 0; sheet < sheets; ++sheet) {
        const auto target = sheetFile(file, sheet + 1);
        const auto partial =
            target.parent_path() / ("." + target.filename().string() + ".part" + target.extension().string());
        try {
            sheets = writePicture(view, context, options, *format, partial, sheet);
            std::error_code ec;
            std::filesystem::rename(partial, target, ec);
            if (ec) throw FileError::fromErrorCode(target, ec);
        } catch (...) {
            std::error_code ec;
            std::filesystem::remove(partial, ec);
            throw;
        }
        written.push_back(target);
        if (*format == OutputFormat::Pdf) break;
    }
    return written;
}

}  // namespace athanor
