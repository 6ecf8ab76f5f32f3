// Renders one Markdown manual to an A4 PDF: athanor-manuals SOURCE.md OUT.pdf
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

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
    doc.setMarkdown(markdown);
    // print() lays the document out page by page, with the page number at the foot.
    doc.print(&pdf);
    return 0;
}
