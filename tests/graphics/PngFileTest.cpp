#include "graphics/PngFile.h"

#include "foundations/FileError.h"
#include "support/TempDir.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <random>

namespace athanor {
namespace {

// A drawing's kinds of content: a plain ground, runs, lines that repeat the row above,
// antialiased curves and, in one corner, noise that repeats nothing.
QImage drawingLike(int width, int height, unsigned seed) {
    QImage image = blankOpaqueImage(QSize(width, height), Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::yellow, 3));
    p.drawEllipse(QRectF(width * 0.1, height * 0.1, width * 0.8, height * 0.8));
    p.setPen(QPen(QColor(30, 200, 90), 1));
    for (int x = 0; x < width; x += 17) p.drawLine(x, 0, width - x, height - 1);
    p.fillRect(QRect(width / 3, height / 3, width / 4, height / 5), QColor(200, 10, 10));
    p.end();
    std::mt19937 random(seed);
    for (int y = 0; y < std::min(height, 40); ++y)
        for (int x = 0; x < std::min(width, 50); ++x) image.setPixel(x, y, random() | 0xff000000u);
    return image;
}

void expectSamePixels(const QImage& written, const QImage& original) {
    ASSERT_EQ(written.size(), original.size());
    const QImage a = written.convertToFormat(QImage::Format_RGB32);
    const QImage b = original.convertToFormat(QImage::Format_RGB32);
    long differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) differing += (a.pixel(x, y) & 0xffffff) != (b.pixel(x, y) & 0xffffff);
    EXPECT_EQ(differing, 0);
}

TEST(PngFile, ReadsBackPixelForPixel) {
    const test::TempDir dir;
    struct Case {
        const char* name;
        QImage image;
    };
    QImage tiny(1, 1, QImage::Format_RGB32);
    tiny.fill(QColor(1, 2, 3));
    QImage argb(5, 4, QImage::Format_ARGB32);
    argb.fill(QColor(10, 20, 30, 40));
    const Case cases[] = {
        {"one pixel", tiny},
        {"small picture in one part", drawingLike(60, 45, 1)},
        {"a picture of two parts and many blocks", drawingLike(900, 700, 2)},
        {"an odd number of rows in two parts", drawingLike(1200, 301, 3)},
        {"rows too long to copy from the row above", drawingLike(11000, 33, 4)},
        {"a single row", drawingLike(400, 1, 5)},
        {"a format with alpha, drawn opaque", argb},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto file = dir / "picture.png";
        writeOpaquePng(c.image, file);
        const QImage read(QString::fromStdString(file.string()));
        ASSERT_FALSE(read.isNull());
        EXPECT_FALSE(read.hasAlphaChannel());
        expectSamePixels(read, c.image);
    }
}

TEST(PngFile, KeepsTheResolution) {
    const test::TempDir dir;
    QImage image = drawingLike(30, 20, 6);
    image.setDotsPerMeterX(11811);  // 300 dpi
    image.setDotsPerMeterY(5906);
    writeOpaquePng(image, dir / "dpi.png");
    const QImage read(QString::fromStdString((dir / "dpi.png").string()));
    EXPECT_EQ(read.dotsPerMeterX(), 11811);
    EXPECT_EQ(read.dotsPerMeterY(), 5906);
}

TEST(PngFile, ReportsAFileThatCannotBeWritten) {
    const test::TempDir dir;
    try {
        writeOpaquePng(drawingLike(10, 10, 7), dir / "no such folder" / "x.png");
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.fault(), FileFault::Missing);
    }
    EXPECT_THROW(writeOpaquePng(QImage(), dir / "empty.png"), FileError);
    EXPECT_FALSE(std::filesystem::exists(dir / "empty.png"));
}

TEST(PngFile, BlankImagesAreFilledAndOpaque) {
    for (const QSize size : {QSize(3, 2), QSize(1600, 1600)}) {
        const QImage image = blankOpaqueImage(size, QColor(250, 240, 230));
        EXPECT_EQ(image.size(), size);
        EXPECT_EQ(image.format(), QImage::Format_RGB32);
        EXPECT_EQ(image.pixel(0, 0), qRgb(250, 240, 230));
        EXPECT_EQ(image.pixel(size.width() - 1, size.height() - 1), qRgb(250, 240, 230));
    }
}

}  // namespace
}  // namespace athanor
