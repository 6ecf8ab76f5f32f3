// Drawing costs: the analysis wheel to an image, to a metafile and to PDF, playing a
// recorded metafile, and loading one glyph file.
#include "foundations/DataRoot.h"
#include "graphics/EmfDevice.h"
#include "graphics/EmfPlayer.h"
#include "graphics/PageCanvas.h"
#include "graphics/PngFile.h"
#include "graphics/Views.h"
#include "graphics/Wheel.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

namespace {

using namespace athanor;

const DataRoot kData{ATHANOR_DEFAULT_DATA};

ChartState sampleChart() {
    ChartState c;
    const double lon[12] = {0, 100.2, 104.5, 106.1, 130.0, 200.3, 250.7, 305.2, 12.4, 192.4, 0, 0};
    for (int b = 1; b <= 9; ++b) c.BodyLongitude[b] = lon[b];
    const double cusps[12] = {75.6, 98.0, 122.0, 150.2, 182.0, 220.0, 255.6, 278.0, 302.0, 330.2, 2.0, 40.0};
    for (int h = 0; h < 12; ++h) c.HouseCusp[h] = cusps[h];
    c.BodyLongitude[body::Ascendant] = cusps[0];
    c.BodyLongitude[body::Midheaven] = cusps[9];
    for (auto& m : c.RetroMark) m = ' ';
    c.RetroMark[body::Mercury] = 'r';
    return c;
}

OrbSettings setA() {
    OrbSettings o;
    for (const auto& k : kAspectsByDisplay) o.AspectOrb[k.orbIndex] = k.setA;
    return o;
}

const ChartState kChart = sampleChart();
const OrbSettings kOrbs = setA();

// The analysis wheel as the window shows it, 7 pixels per unit (a full-HD screen).
void BM_WheelToImage(benchmark::State& st) {
    const ViewContext ctx{kChart, kOrbs, kData, "", ""};
    RenderOptions o;
    o.screenPpu = 7;
    o.monochrome = st.range(0);
    for (auto _ : st) benchmark::DoNotOptimize(renderImage(*findView("wheel"), ctx, o));
}
BENCHMARK(BM_WheelToImage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_WheelToMetafile(benchmark::State& st) {
    DrawingState s;
    s.setScreenScale(7);
    s.recording = true;
    for (auto _ : st) {
        EmfDevice device(QSize(1400, 1400));
        QPainter p(&device);
        PageCanvas canvas(p, s, &kData);
        drawWheel(canvas, kChart, kOrbs);
        p.end();
        benchmark::DoNotOptimize(device.data().size());
    }
}
BENCHMARK(BM_WheelToMetafile)->Unit(benchmark::kMillisecond);

void BM_WheelToPdf(benchmark::State& st) {
    const View& wheel = *findView("wheel");
    RenderOptions o;
    const DrawingState s = renderState(wheel, OutputFormat::Pdf, o);
    for (auto _ : st) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(static_cast<int>(o.pdfDpi));
        writer.setPageSize(QPageSize(QPageSize::A4));
        QPainter p(&writer);
        PageCanvas canvas(p, s, &kData);
        drawWheel(canvas, kChart, kOrbs);
        p.end();
        benchmark::DoNotOptimize(buffer.size());
    }
}
BENCHMARK(BM_WheelToPdf)->Unit(benchmark::kMillisecond);

void BM_PlayWheelMetafile(benchmark::State& st) {
    DrawingState s;
    s.setScreenScale(7);
    s.recording = true;
    EmfDevice device(QSize(1400, 1400));
    {
        QPainter p(&device);
        PageCanvas canvas(p, s, &kData);
        drawWheel(canvas, kChart, kOrbs);
    }
    QImage img(1400, 1400, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : st) {
        const auto picture = EmfPicture::fromBytes(device.data());
        img.fill(Qt::white);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        picture->draw(p, QRectF(0, 0, 1400, 1400));
    }
    st.counters["bytes"] = device.data().size();
}
BENCHMARK(BM_PlayWheelMetafile)->Unit(benchmark::kMillisecond);

// The wheel as `render` writes it (1600 × 1600, 8 pixels per unit) to a PNG file: the
// program's writer (arg 0) and Qt's at zlib level 1 (arg 1).
void BM_WheelPng(benchmark::State& st) {
    const ViewContext ctx{kChart, kOrbs, kData, "", ""};
    const QImage image = renderImage(*findView("wheel"), ctx, RenderOptions{});
    const auto file = std::filesystem::temp_directory_path() / ("athanor-bench-" + std::to_string(::getpid()) + ".png");
    for (auto _ : st) {
        if (st.range(0) == 0) writeOpaquePng(image, file);
        else image.save(QString::fromStdString(file.string()), "PNG", 85);
    }
    st.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file));
    std::filesystem::remove(file);
}
BENCHMARK(BM_WheelPng)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadGlyph(benchmark::State& st) {
    const auto file = kData.resolve("Zodiaco\\SegM05.emf");
    for (auto _ : st) benchmark::DoNotOptimize(EmfPicture::load(file));
}
BENCHMARK(BM_LoadGlyph)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
