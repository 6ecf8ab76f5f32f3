#include "graphics/EmfDevice.h"
#include "graphics/EmfPlayer.h"

#include "foundations/DataRoot.h"
#include "foundations/FileError.h"
#include "graphics/PageCanvas.h"
#include "graphics/Views.h"
#include "graphics/Wheel.h"
#include "support/TempDir.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <thread>

namespace athanor {
namespace {

const DataRoot kData{ATHANOR_SOURCE_DIR "/data"};

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

// A drawing with every kind of primitive the program records: the wheel (circles,
// chords, polygons, glyph paths, texts) plus a dashed line and a filled rectangle.
void scene(QPainter& painter, const DrawingState& state) {
    painter.setRenderHint(QPainter::Antialiasing);
    PageCanvas canvas(painter, state, &kData);
    const ChartState chart = sampleChart();
    const OrbSettings orbs = setA();
    drawWheel(canvas, chart, orbs);
    canvas.selectPen(12);
    canvas.line(195, 5, 195, 190);
    canvas.selectPen(4);
    canvas.selectBrush(colour::Orange);
    canvas.rectangle(199, 30, 196, 10);
    canvas.releaseBrush();
    canvas.setLogicalTextColour(4);
    canvas.textLeft(196, 40, "Tema de nacimiento \xB7 J\xFApiter", 2);
}

constexpr int kPpu = 4;
const QSize kSize(200 * kPpu, 200 * kPpu);

DrawingState recordingState() {
    DrawingState s;
    s.setScreenScale(kPpu);
    s.recording = true;
    return s;
}

QImage direct() {
    QImage img(kSize, QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    scene(p, recordingState());
    return img;
}

QByteArray recorded() {
    EmfDevice device(kSize);
    QPainter p(&device);
    scene(p, recordingState());
    p.end();
    return device.data();
}

QImage played(const EmfPicture& picture) {
    QImage img(kSize, QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    picture.draw(p, QRectF(QPointF(0, 0), QSizeF(kSize)));
    return img;
}

// Share of pixels whose colour differs by more than `tolerance` in any channel.
double differingShare(const QImage& a, const QImage& b, int tolerance) {
    long differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > tolerance || std::abs(qGreen(p) - qGreen(q)) > tolerance ||
                std::abs(qBlue(p) - qBlue(q)) > tolerance)
                ++differing;
        }
    return double(differing) / (a.width() * a.height());
}

double inkShare(const QImage& img) {
    long ink = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) ink += img.pixel(x, y) != qRgb(255, 255, 255);
    return double(ink) / (img.width() * img.height());
}

TEST(Metafile, PlaysBackAsTheDirectDrawing) {
    const QImage reference = direct();
    ASSERT_GT(inkShare(reference), 0.05);
    const QImage replay = played(*EmfPicture::fromBytes(recorded()));
    // Edges may fall a pixel apart; the picture itself must agree.
    EXPECT_LT(differingShare(reference, replay, 96), 0.01);

    // A picture that lost its glyphs or texts would not: the comparison can fail.
    QImage bare(kSize, QImage::Format_ARGB32);
    bare.fill(Qt::white);
    {
        QPainter p(&bare);
        p.setRenderHint(QPainter::Antialiasing);
        DrawingState s = recordingState();
        PageCanvas canvas(p, s, &kData);
        canvas.selectLogicalPen(0);
        for (double r : {83.0, 78.0, 65.0, 50.0, 47.0, 39.0}) canvas.circle(r, 100, 100);
    }
    EXPECT_GT(differingShare(reference, bare, 96), 0.03);
}

TEST(Metafile, SurvivesARoundTripThroughAFile) {
    const test::TempDir dir;
    const QByteArray bytes = recorded();
    EmfDevice device(kSize);
    {
        QPainter p(&device);
        scene(p, recordingState());
    }
    const auto file = dir / "GRAF01.EMF";
    device.save(file);
    EXPECT_EQ(test::TempDir::read(file), std::string(bytes.constData(), bytes.size()));

    const auto fromFile = EmfPicture::load(file);
    const QImage replay = played(*fromFile);
    EXPECT_EQ(replay, played(*EmfPicture::fromBytes(bytes)));
    EXPECT_LT(differingShare(direct(), replay, 96), 0.01);
}

TEST(Metafile, HeaderDescribesThePicture) {
    const QByteArray bytes = recorded();
    EmfHeaderInfo h;
    ASSERT_TRUE(readEmfHeader(bytes, h));
    EXPECT_EQ(h.left, 0);
    EXPECT_EQ(h.top, 0);
    EXPECT_EQ(h.right, kSize.width() * EmfDevice::kSubunits - 1);
    EXPECT_EQ(h.bottom, kSize.height() * EmfDevice::kSubunits - 1);
    EXPECT_EQ(h.bytes, static_cast<unsigned>(bytes.size()));
    // 800 pixels at 96 dpi: 212 mm.
    EXPECT_EQ(h.frameRight, 21200);
    // Walk the records: sizes add up to the file and the last is EMR_EOF.
    unsigned records = 0, offset = 0, last = 0;
    while (offset + 8 <= static_cast<unsigned>(bytes.size())) {
        uint32_t type, size;
        std::memcpy(&type, bytes.constData() + offset, 4);
        std::memcpy(&size, bytes.constData() + offset + 4, 4);
        ASSERT_GE(size, 8u);
        ASSERT_EQ(size % 4, 0u);
        last = type;
        offset += size;
        ++records;
    }
    EXPECT_EQ(offset, static_cast<unsigned>(bytes.size()));
    EXPECT_EQ(records, h.records);
    EXPECT_EQ(last, 14u);
}

TEST(Metafile, RejectsWhatIsNotAMetafile) {
    const test::TempDir dir;
    EXPECT_THROW(EmfPicture::load(dir / "missing.emf"), FileError);
    EXPECT_THROW(EmfPicture::load(dir.write("text.emf", "not a metafile at all, just words")), FileError);
    const QByteArray bytes = recorded();
    EXPECT_THROW(EmfPicture::fromBytes(bytes.left(bytes.size() / 2)), std::runtime_error);
    EXPECT_THROW(EmfPicture::fromBytes(QByteArray()), std::runtime_error);
}

// Bytes that claim more than they hold are refused before the converter sees them.
TEST(Metafile, DamagedRecordsAreRefusedBeforeTheyArePlayed) {
    const QByteArray good = recorded();
    auto put32 = [](QByteArray& b, int off, uint32_t v) { std::memcpy(b.data() + off, &v, 4); };
    auto get32 = [](const QByteArray& b, int off) {
        uint32_t v;
        std::memcpy(&v, b.constData() + off, 4);
        return v;
    };
    const uint32_t headerSize = get32(good, 4);
    struct Case {
        const char* what;
        std::function<void(QByteArray&)> damage;
    };
    const std::vector<Case> cases = {
        {"description past the header",
         [&](QByteArray& b) {
             put32(b, 60, 4000);
             put32(b, 64, 88);
         }},
        {"description offset past the header",
         [&](QByteArray& b) {
             put32(b, 60, 2);
             put32(b, 64, headerSize + 64);
         }},
        {"second record runs past the end",
         [&](QByteArray& b) { put32(b, static_cast<int>(headerSize) + 4, 0x7FFFFFF0u); }},
        {"second record of size zero", [&](QByteArray& b) { put32(b, static_cast<int>(headerSize) + 4, 0); }},
        {"bounds wider than an int", [&](QByteArray& b) { put32(b, 8, 0x80000000u); }},
        {"frame wider than an int",
         [&](QByteArray& b) {
             put32(b, 24, 0x80000000u);
             put32(b, 32, 0x7FFFFFFFu);
         }},
        {"no end-of-file record",
         [&](QByteArray& b) {
             const int eofSize = 20;
             b.chop(eofSize);
             put32(b, 48, static_cast<uint32_t>(b.size()));
         }},
    };
    ASSERT_NO_THROW(EmfPicture::fromBytes(good));
    for (const Case& c : cases) {
        QByteArray bytes = good;
        c.damage(bytes);
        EXPECT_THROW(EmfPicture::fromBytes(bytes), std::runtime_error) << c.what;
    }
}

TEST(GlyphSet, EveryNameAndVariantPlaysInItsColours) {
    std::vector<std::string> colourNames;
    for (int n = 1; n <= 15; ++n) {
        char b[32];
        std::snprintf(b, sizeof b, "Simboli\\PiaX%02d", n);
        colourNames.push_back(b);
    }
    for (int s = 1; s <= 12; ++s) colourNames.push_back(signGlyphFile(s, 'M', GlyphVariant::Colour).substr(0, 14));
    for (int e = 1; e <= 7; ++e) colourNames.push_back(std::string("Simboli\\") + kElementGlyphNames[e]);

    for (const std::string& base : colourNames) {
        // Planet and sign variants put the letter before the number, elements at the end.
        const bool numbered = std::isdigit(static_cast<unsigned char>(base.back()));
        const bool element = base.find("\\El") != std::string::npos;
        auto variant = [&](const char* letter) {
            if (element) return base + letter + ".emf";
            if (numbered) return base.substr(0, base.size() - 2) + letter + base.substr(base.size() - 2) + ".emf";
            return base + letter + ".emf";
        };
        for (const char* letter : {"", "B", "N"}) {
            const std::string name = variant(letter);
            const auto picture = EmfPicture::load(kData.resolve(name));
            QImage img(48, 48, QImage::Format_ARGB32);
            img.fill(QColor(255, 0, 255));  // a colour no glyph uses
            {
                QPainter p(&img);
                p.setRenderHint(QPainter::Antialiasing);
                picture->draw(p, QRectF(0, 0, 48, 48));
            }
            long ink = 0, white = 0, black = 0;
            QRect box;
            for (int y = 0; y < 48; ++y)
                for (int x = 0; x < 48; ++x) {
                    const QRgb px = img.pixel(x, y);
                    if (px == qRgb(255, 0, 255)) continue;
                    ++ink;
                    white += px == qRgb(255, 255, 255);
                    black += px == qRgb(0, 0, 0);
                    box |= QRect(x, y, 1, 1);
                }
            EXPECT_GT(ink, 48 * 48 / 20) << name;
            EXPECT_NEAR(box.center().x(), 24, 3) << name;
            EXPECT_NEAR(box.center().y(), 24, 3) << name;
            // Solid ink with antialiased edges.
            const std::string v = letter;
            if (v == "B") {
                EXPECT_GT(white, ink / 4) << name;
            } else if (v == "N") {
                EXPECT_GT(black, ink / 4) << name;
            } else {
                EXPECT_LT(white + black, ink / 10) << name;
            }
        }
    }
}

TEST(GlyphSet, LibraryReloadsAChangedFile) {
    const test::TempDir dir;
    const auto file = dir / "Glyph.emf";
    std::filesystem::copy_file(kData.resolve("Simboli\\PiaX01.emf"), file);
    auto& library = GlyphLibrary::shared();
    const auto first = library.get(file);
    EXPECT_EQ(library.get(file), first);
    std::filesystem::copy_file(kData.resolve("Simboli\\PiaX02.emf"), file,
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) + std::chrono::seconds(2));
    const auto second = library.get(file);
    EXPECT_NE(second, first);
    EXPECT_NE(second->svg(), first->svg());
    std::filesystem::remove(file);
    EXPECT_THROW(library.get(file), FileError);
}

// Glyphs loaded ahead on another thread are the ones drawn; one that cannot be played is
// reported when it is drawn, as if never loaded ahead.
TEST(GlyphSet, LoadedAheadOnAnotherThreadAndDrawnFromThere) {
    const test::TempDir dir;
    const auto good = dir / "Good.emf", damaged = dir / "Damaged.emf", missing = dir / "Missing.emf";
    std::filesystem::copy_file(kData.resolve("Zodiaco\\SegM05.emf"), good);
    {
        std::ofstream out(damaged, std::ios::binary);
        out << "not a metafile at all, and long enough to look like one's header........................";
    }
    auto& library = GlyphLibrary::shared();
    std::thread ahead([&] { library.loadAhead({good, damaged, missing}); });
    ahead.join();
    // Changed behind the library's back (same time stamp): what is drawn is what was loaded ahead.
    const auto stamp = std::filesystem::last_write_time(good);
    std::filesystem::copy_file(kData.resolve("Simboli\\PiaX02.emf"), good,
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::last_write_time(good, stamp);
    const auto picture = library.get(good);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->svg(), EmfPicture::load(kData.resolve("Zodiaco\\SegM05.emf"))->svg());
    EXPECT_EQ(library.get(good), picture);
    EXPECT_THROW(library.get(damaged), FileError);
    EXPECT_THROW(library.get(missing), FileError);

    // Drawn on this thread, it looks as when loaded here.
    QImage aheadImage(64, 64, QImage::Format_RGB32), here(64, 64, QImage::Format_RGB32);
    aheadImage.fill(Qt::black);
    here.fill(Qt::black);
    {
        QPainter p(&aheadImage);
        picture->draw(p, QRectF(0, 0, 64, 64));
        QPainter q(&here);
        EmfPicture::load(kData.resolve("Zodiaco\\SegM05.emf"))->draw(q, QRectF(0, 0, 64, 64));
    }
    EXPECT_EQ(aheadImage, here);
    EXPECT_NE(here, [] {
        QImage blank(64, 64, QImage::Format_RGB32);
        blank.fill(Qt::black);
        return blank;
    }());
}

TEST(Render, FormatsFollowTheExtension) {
    EXPECT_EQ(outputFormatFor("a/wheel.png"), OutputFormat::Png);
    EXPECT_EQ(outputFormatFor("WHEEL.PDF"), OutputFormat::Pdf);
    EXPECT_EQ(outputFormatFor("x.svg"), OutputFormat::Svg);
    EXPECT_EQ(outputFormatFor("GRAF01.EMF"), OutputFormat::Emf);
    EXPECT_EQ(outputFormatFor("x.wmf"), std::nullopt);
    EXPECT_EQ(outputFormatFor("noextension"), std::nullopt);

    // Every format writes a file that reads back as its kind.
    const test::TempDir dir;
    const ChartState chart = sampleChart();
    const OrbSettings orbs = setA();
    const ViewContext ctx{chart, orbs, kData, "", ""};
    RenderOptions o;
    o.screenPpu = 2;
    o.pdfDpi = 150;
    for (const char* name : {"w.png", "w.pdf", "w.svg", "w.emf"}) {
        renderToFile(*findView("wheel"), ctx, o, dir / name);
        const std::string bytes = test::TempDir::read(dir / name);
        ASSERT_GT(bytes.size(), 1000u) << name;
        const std::string ext = name + 2;
        if (ext == "png") {
            EXPECT_EQ(bytes.substr(1, 3), "PNG");
        } else if (ext == "pdf") {
            EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
        } else if (ext == "svg") {
            EXPECT_NE(bytes.find("<svg"), std::string::npos);
        } else {
            EmfHeaderInfo h;
            EXPECT_TRUE(readEmfHeader(QByteArray(bytes.data(), bytes.size()), h));
        }
    }
    EXPECT_THROW(renderToFile(*findView("wheel"), ctx, o, dir / "w.bmp"), std::invalid_argument);
    EXPECT_THROW(renderToFile(*findView("wheel"), ctx, o, dir / "no-such-folder" / "w.png"), FileError);
}

}  // namespace
}  // namespace athanor
