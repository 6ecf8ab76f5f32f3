// Drawing costs of the four printable pages: each whole page to a PDF page at 1200 dpi (as
// printing to a file does) and to an image as the chart window shows it.
#include "subjects/SubjectChart.h"
#include "engine/CorrectionFiles.h"
#include "foundations/DataRoot.h"
#include "graphics/PageCanvas.h"
#include "graphics/Pages.h"
#include "graphics/Views.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace {

using namespace athanor;

// A program folder with the installed glyphs, exchange and correction files and terms
// texts of the natal pages (80 characters for every body and sector).
class Folder {
public:
    Folder() {
        namespace fs = std::filesystem;
        std::random_device rd;
        path_ = fs::temp_directory_path() / ("athanor-bench-pages-" + std::to_string(rd()));
        fs::create_directories(path_ / "OpzioneT");
        for (const char* d : {"Simboli", "Zodiaco", "Scambi", "FilePosi"})
            fs::create_directory_symlink(fs::path(ATHANOR_DEFAULT_DATA) / d, path_ / d);
        std::ofstream out(path_ / "OpzioneT" / "SpgPianCan.Txt", std::ios::binary);
        for (const char* code :
             {"Sole", "Luna", "Merc", "Vene", "Mart", "Giov", "Satu", "NNor", "NSud", "Asce", "Mcie"})
            for (int s = 1; s <= 60; ++s) {
                std::string key = std::string(code) + (s < 10 ? "0" : "") + std::to_string(s);
                key.resize(21, ' ');
                std::string text = "sector " + std::to_string(s);
                while (text.size() < 80) text += " texto";
                out << key << text.substr(0, 80) << "\r\n";
            }
    }
    ~Folder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    DataRoot root() const { return DataRoot(path_); }

private:
    std::filesystem::path path_;
};

const Folder& folder() {
    static const Folder f;
    return f;
}

const ChartState& chart() {
    static const ChartState c = [] {
        ChartState s;
        const CorrectionFiles files(folder().root());
        buildChart(s, files, ChartSubject{"201903151200-1", "45N28-009E11", "GR"}, ChartVariant::Analysis);
        return s;
    }();
    return c;
}

OrbSettings setA() {
    OrbSettings o;
    for (const auto& k : kAspectsByDisplay) o.AspectOrb[k.orbIndex] = k.setA;
    return o;
}

PageLayout layoutOf(int n) { return static_cast<PageLayout>(n); }

void BM_PageToPdf(benchmark::State& st) {
    const PageLayout layout = layoutOf(static_cast<int>(st.range(0)));
    const DataRoot data = folder().root();
    const OrbSettings orbs = setA();
    const View view{"page", pagePortrait(layout) ? 405.0 : 202.0, DrawingState::kPageWidth, pagePortrait(layout), {}};
    RenderOptions o;
    const DrawingState s = renderState(view, OutputFormat::Pdf, o);
    qint64 bytes = 0;
    for (auto _ : st) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(static_cast<int>(o.pdfDpi));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(pagePortrait(layout) ? QPageLayout::Portrait : QPageLayout::Landscape);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter p(&writer);
        p.setRenderHint(QPainter::Antialiasing);
        PageCanvas canvas(p, s, &data);
        drawPage(canvas, layout, PageContent{chart(), orbs, data, pageSubjectFromChart(chart()), "", "01/02/2003"});
        p.end();
        bytes = buffer.size();
    }
    st.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_PageToPdf)->Arg(5)->Arg(18)->Arg(16)->Arg(17)->Unit(benchmark::kMillisecond);

// The page as the chart window shows it on a full-HD screen (portrait at zoom 0.5 would
// halve it; this is the full page at 4 pixels per unit).
void BM_PageToImage(benchmark::State& st) {
    const PageLayout layout = layoutOf(static_cast<int>(st.range(0)));
    const DataRoot data = folder().root();
    const OrbSettings orbs = setA();
    DrawingState s;
    s.setScreenScale(4);
    const int w = static_cast<int>(DrawingState::kPageWidth * 4), h = pagePortrait(layout) ? 405 * 4 : 202 * 4;
    for (auto _ : st) {
        QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::black);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        PageCanvas canvas(p, s, &data);
        drawPage(canvas, layout, PageContent{chart(), orbs, data, pageSubjectFromChart(chart()), "", "01/02/2003"});
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PageToImage)->Arg(5)->Arg(18)->Arg(16)->Arg(17)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
