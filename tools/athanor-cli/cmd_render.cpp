#include "Cli.h"
#include "Json.h"

#include "subjects/SubjectChart.h"
#include "engine/CorrectionFiles.h"
#include "foundations/DataRoot.h"
#include "foundations/Format.h"
#include "foundations/HelperThread.h"
#include "foundations/Pages.h"
#include "graphics/EmfPlayer.h"
#include "graphics/Views.h"
#include "interpretation/OrbFiles.h"
#include "subjects/CoordText.h"

#include <QFontDatabase>
#include <QGuiApplication>

#include <malloc.h>

#ifdef ATHANOR_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

#include <cstdlib>
#include <future>
#include <iostream>
#include <regex>

namespace athanor::cli {
namespace {

const char* formatName(OutputFormat f) {
    switch (f) {
    case OutputFormat::Png:
        return "png";
    case OutputFormat::Pdf:
        return "pdf";
    case OutputFormat::Svg:
        return "svg";
    case OutputFormat::Emf:
        return "emf";
    }
    return "";
}

std::string viewNames() {
    std::string list;
    for (const View& v : views()) list += (list.empty() ? "" : "|") + v.name;
    return list;
}

// "YYYYMMDDhhmm" with an optional correction such as "-1" or "+5,5".
void checkStamp(const std::string& stamp) {
    static const std::regex form(R"(^(\d{4})(\d{2})(\d{2})(\d{2})(\d{2})([+-]\d+([.,]\d+)?)?$)");
    std::smatch m;
    if (!std::regex_match(stamp, m, form))
        throw UsageError("--stamp: expected YYYYMMDDhhmm followed by the correction (e.g. 199003211430-1), got: " +
                         stamp);
    const int month = std::stoi(m[2]), day = std::stoi(m[3]), hour = std::stoi(m[4]), minute = std::stoi(m[5]);
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59)
        throw UsageError("--stamp: date or time out of range: " + stamp);
    if (m[6].matched) checkCorrection("stamp", m[6]);
}

// The GUI library's settings in the environment. Called before any other thread starts:
// setting a variable while another thread reads the environment (the font configuration
// does) can crash the reader.
void prepareGuiEnvironment() {
    // Rendering needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The GLib event loop costs some milliseconds to set up and a drawing runs no events.
    if (qEnvironmentVariableIsEmpty("QT_NO_GLIB")) qputenv("QT_NO_GLIB", "1");
}

// Fonts and images need the GUI library.
void ensureGuiApplication() {
    if (QGuiApplication::instance()) return;
    // Without a session the platform warns about its runtime folder; that says nothing
    // about the picture.
    static const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR"))) return;
            if (previous) previous(type, context, message);
            else std::cerr << qPrintable(qFormatLogMessage(type, context, message)) << '\n';
        });
    static int argc = 1;
    static char name[] = "athanor-cli";
    static char* argv[] = {name, nullptr};
    // Lives until the process ends; destroying it among static destructors is unsafe.
    new QGuiApplication(argc, argv);
}

// A drawing allocates about a megabyte and a half on each of its two threads: taken from
// pages committed at once (commitPages) instead of one page fault at a time. Freed blocks
// stay with the program, which ends soon after.
constexpr std::size_t kHeapPerThread = std::size_t(2) << 20;

void commitHeap(std::size_t bytes) {
#ifdef M_MMAP_THRESHOLD
    static const bool tuned = [bytes] {
        mallopt(M_MMAP_THRESHOLD, static_cast<int>(2 * bytes));
        mallopt(M_TRIM_THRESHOLD, static_cast<int>(4 * bytes));
        return true;
    }();
    (void)tuned;
    void* block = std::malloc(bytes);
    if (!block) return;
    commitPages(block, bytes);
    std::free(block);
#else
    (void)bytes;
#endif
}

// Work for the second core while the first computes the chart and starts the GUI library:
// reading the system's font configuration (the longest step before drawing), then, once the
// GUI library is up, its list of fonts and the glyph files the picture is likely to draw.
class DrawingWarmUp {
public:
    DrawingWarmUp()
        : fonts_(HelperThread::shared().run([] {
              commitHeap(kHeapPerThread);
#ifdef ATHANOR_FONTCONFIG
              FcInit();
#endif
          })) {
    }
    // Nothing of the warm-up may still run while the program ends.
    ~DrawingWarmUp() {
        fonts_.wait();
        if (glyphs_.valid()) glyphs_.wait();
    }
    // Called once the GUI library is up.
    void loadGlyphs(std::vector<std::filesystem::path> files) {
        glyphs_ = HelperThread::shared().run([files = std::move(files)] {
            // The GUI library's list of fonts, which the first text would otherwise wait for.
            // It may be read from any thread; a drawing that needs it meanwhile waits for it.
            QFontDatabase::families();
            GlyphLibrary::shared().loadAhead(files);
        });
    }
    // The GUI library reads the font configuration itself if it is not read yet: both at once
    // would read it twice.
    void awaitFonts() { fonts_.wait(); }

private:
    std::future<void> fonts_;
    std::future<void> glyphs_;
};

int render(const Args& args) {
    prepareGuiEnvironment();
    DrawingWarmUp warmUp;
    commitHeap(kHeapPerThread);
    args.allowOnly({"stamp", "coord", "calendar", "view", "out", "mono", "data", "scale", "paper"});
    const std::string viewName = args.require("view");
    const View* view = findView(viewName);
    if (!view) throw UsageError("--view: one of " + viewNames());
    const std::filesystem::path out = args.require("out");
    const auto format = outputFormatFor(out);
    if (!format) throw UsageError("--out: the file must end in .png, .pdf, .svg or .emf");

    ChartSubject subject;
    subject.birthStamp = args.require("stamp");
    checkStamp(subject.birthStamp);
    subject.coordText = args.require("coord");
    if (!parseCoordText(subject.coordText, CoordCheck::Entry) || !coordinatesOnTheGlobe(subject.coordText))
        throw UsageError("--coord: expected the form 45N28-009E11, got: " + subject.coordText);
    subject.calendarCode = args.get("calendar").value_or("GR");
    if (subject.calendarCode != "GR" && subject.calendarCode != "GI") throw UsageError("--calendar: GR or GI");
    requireExistingMoment(subject.birthStamp, subject.calendarCode);

    RenderOptions options;
    options.monochrome = args.flag("mono");
    options.paperLook = args.flag("paper");
    if (const auto scale = args.optionalNumber("scale")) {
        if (!(*scale >= 1 && *scale <= 40)) throw UsageError("--scale: pixels per page unit, 1 to 40");
        options.screenPpu = static_cast<double>(*scale);
    }

    const auto data = args.get("data");
    const DataRoot root(data ? std::filesystem::path(*data) : DataRoot::defaultLocation());

    // The orb set and engine settings of the program folder; set A without one.
    ChartState chart;
    OrbSettings orbs;
    if (root.exists(kOrbSettingsFile)) {
        loadOrbSettings(root, orbs, chart);
    } else {
        for (const auto& k : kAspectsByDisplay) orbs.AspectOrb[k.orbIndex] = k.setA;
    }
    const CorrectionFiles files(root);
    buildChart(chart, files, subject, ChartVariant::Analysis);

    ensureGuiApplication();
    warmUp.loadGlyphs(chartGlyphFiles(root, renderState(*view, *format, options)));
    warmUp.awaitFonts();
    const auto written = renderToFile(*view, ViewContext{chart, orbs, root, "", todayText()}, options, out);

    Json j;
    j.beginObject()
        .field("view", view->name)
        .field("out", out.string())
        .field("format", formatName(*format))
        .field("monochrome", options.monochrome)
        .field("ascendant", chart.HouseCusp[0]);
    // A drawing that runs on over several sheets gives one picture a sheet (a PDF holds them all).
    j.key("files").beginArray();
    for (const auto& f : written) j.value(f.string());
    j.endArray().endObject();
    std::cout << j.str() << std::endl;
#if !defined(__SANITIZE_ADDRESS__)
    // Nothing is left to save: the GUI library's and the fonts' tidying at exit takes a
    // millisecond for nothing. (Under the sanitizers the leak check runs at exit.)
    if (std::cout) std::_Exit(0);
#endif
    return std::cout ? 0 : 1;
}

const Register reg("render", Command{kRenderUsage, {"mono", "paper"}, render});

}  // namespace
}  // namespace athanor::cli
