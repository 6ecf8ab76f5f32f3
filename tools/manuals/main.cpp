// Renders one Markdown manual to an A4 PDF: athanor-manuals SOURCE.md OUT.pdf
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>
#include <cstdio>

// Screenshots are taken at screen size; a page holds about 640 layout pixels of text width,
// so wider images are scaled down to it, keeping their proportions.
static bool fitImages(QTextDocument& doc, const QString& baseDir) {
    constexpr double kMaxWidth = 620.0;
    bool allFound = true;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || !fragment.charFormat().isImageFormat()) continue;
            QTextImageFormat image = fragment.charFormat().toImageFormat();
            const QImage picture(baseDir + "/" + image.name());
            if (picture.isNull()) {
                std::fprintf(stderr, "athanor-manuals: falta la imagen %s\n", qPrintable(image.name()));
                allFound = false;
                continue;
            }
            // print() lays out a copy of the document, which keeps added resources but does not
            // load them again from the base URL.
            doc.addResource(QTextDocument::ImageResource, QUrl(image.name()), picture);
            const double scale = std::min(1.0, kMaxWidth / picture.width());
            image.setWidth(picture.width() * scale);
            image.setHeight(picture.height() * scale);
            QTextCursor cursor(&doc);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(image);
        }
    }
    return allFound;
}

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "uso: athanor-manuals FUENTE.md SALIDA.pdf\n");
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "athanor-manuals: no se puede leer %s\n", argv[1]);
        return 1;
    }
    const QString markdown = QString::fromUtf8(in.readAll());

    QPdfWriter pdf(QString::fromLocal8Bit(argv[2]));
    pdf.setPageSize(QPageSize(QPageSize::A4));
    // print() keeps its own margins of two centimetres.
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    pdf.setResolution(300);
    pdf.setTitle(markdown.section('\n', 0, 0).remove('#').trimmed());
    pdf.setCreator("Athanor");

    QTextDocument doc;
    QFont font("DejaVu Serif");
    font.setPointSizeF(10.5);
    doc.setDefaultFont(font);
    doc.setDefaultStyleSheet("h1 { color: #402070; } h2 { color: #402070; } code { font-family: 'DejaVu Sans Mono'; }");
    const QString baseDir = QFileInfo(in.fileName()).absolutePath();
    doc.setBaseUrl(QUrl::fromLocalFile(baseDir + "/"));
    doc.setMarkdown(markdown);
    // A manual that names a missing screenshot is a broken build, not a blank space in print.
    if (!fitImages(doc, baseDir)) return 1;
    // print() lays the document out page by page, with the page number at the foot.
    doc.print(&pdf);
    return 0;
}
