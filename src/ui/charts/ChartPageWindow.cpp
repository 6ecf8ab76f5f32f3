#include "ui/charts/ChartPageWindow.h"

#include "foundations/Format.h"
#include "graphics/ChartViewControls.h"
#include "graphics/EmfDevice.h"
#include "graphics/EmfPlayer.h"
#include "graphics/PageCanvas.h"
#include "graphics/Pages.h"
#include "ui/common/PageWidget.h"
#include "ui/charts/MetafileViewerDialog.h"
#include "ui/common/WindowSupport.h"
#include "ui/common/WidgetBuilders.h"
#include "ui/common/UiHelpers.h"
#include "app/Workstation.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>

namespace athanor {

namespace names {
constexpr const char* kWindow = "FgrNaSpa";
constexpr const char* kPage = "PaintBox1";
constexpr const char* kControls = "PanelBottom";
constexpr const char* kZoomIn = "BitBtnZoomPiu";
constexpr const char* kZoomOut = "BitBtnZoomMeno";
constexpr const char* kFullHeight = "BBaltezza";
constexpr const char* kFullWidth = "BBlargarghezza";
constexpr const char* kColour = "BitBtnColNer";
constexpr const char* kAspectLines = "BBFlagRiga";
constexpr const char* kOrientation = "BitBtnFoglio";
constexpr const char* kSetup = "BitBtnSetup";
constexpr const char* kPrint = "BitBtnStampa";
constexpr const char* kMetafile = "ComboEMF";
constexpr const char* kExport = "BBEMFout";
constexpr const char* kImport = "BBEMFin";
constexpr const char* kBack = "BBchiudi";
}  // namespace names

namespace {

void drawLayout(PageCanvas& canvas, Workstation& ws, int layout, bool aspectLines) {
    const PageContent content{ws.chart,      ws.orbs,     ws.root,    pageSubjectFor(ws.chart, ws.root),
                              ws.fullName(), todayText(), aspectLines};
    drawPage(canvas, static_cast<PageLayout>(layout), content);
}

void prepare(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

}  // namespace

ChartPageWindow::ChartPageWindow(Workstation& ws, QWidget* parent) : QWidget(parent), ws_(ws) {
    setObjectName(names::kWindow);
    setWindowTitle(fromCp("Gr\xE1"
                          "ficos Resumidos Imprimibles"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildPage(), 1);
    layout->addWidget(buildControls());
    viewer_ = new MetafileViewerDialog(ws_, this);
}

// The page: dragged with the mouse (kept beyond two pixels), moved by the wheel.
PageWidget* ChartPageWindow::buildPage() {
    page_ = widgets::named<PageWidget>(this, names::kPage);
    page_->onPress = [this](QMouseEvent* e) {
        if (e->button() != Qt::LeftButton) return;
        dragging_ = true;
        dragStart_ = e->position().toPoint();
    };
    page_->onMove = [this](QMouseEvent* e) {
        if (!dragging_) return;
        page_->setCursor(Qt::ClosedHandCursor);
        page_->setPreviewShift(e->position().toPoint() - dragStart_);
    };
    page_->onRelease = [this](QMouseEvent* e) {
        if (!dragging_) return;
        dragging_ = false;
        page_->unsetCursor();
        page_->setPreviewShift(QPoint());
        const QPoint d = e->position().toPoint() - dragStart_;
        const int dx = keptDrag(d.x()), dy = keptDrag(d.y());
        if (dx == 0 && dy == 0) return;
        ws_.drawing.ox += dx;
        ws_.drawing.oy += dy;
        redraw();
    };
    page_->onWheel = [this](QWheelEvent* e) {
        const int notches = e->angleDelta().y() / 120;
        if (notches == 0) return;
        ws_.drawing.oy += notches * kWheelNotchPixels;  // as everywhere: turning down brings up what is below
        redraw();
    };
    return page_;
}

// The row of controls under the page.
QFrame* ChartPageWindow::buildControls() {
    auto* panel = widgets::panel(this, names::kControls, QFrame::NoFrame);
    panel->setStyleSheet("QFrame#PanelBottom { background: #20222c; } QLabel { color: #ffd866; }"
                         "QPushButton { background: #2c3040; color: white; border: 1px solid #6a7090; "
                         "padding: 3px 8px; } QPushButton:pressed { background: #505878; }");
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(6, 4, 6, 4);
    const auto add = [&](const char* name, const char* caption, const char* hint, auto fn) {
        auto* b = widgets::button(panel, name, caption);
        b->setToolTip(fromCp(hint));
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, fn);
        row->addWidget(b);
        return b;
    };
    add(names::kZoomIn, "+", "Ampliar", [this] { zoom(true); });
    add(names::kZoomOut, "-", "Reducir", [this] { zoom(false); });
    add(names::kFullHeight, "Atura", "Toda la altura", [this] { resetView(); });
    add(names::kFullWidth, "Ancho", "Toda la anchura", [this] {
        fitPageWidth(ws_.drawing, page_->width());
        redraw();
    });
    colourButton_ = add(names::kColour, "Blanco y negro", "Color o blanco y negro", [this] { toggleColour(); });
    aspectLinesButton_ =
        add(names::kAspectLines, "Muestra Aspectos", "Muestra u oculta los aspectos", [this] { toggleAspectLines(); });
    row->addSpacing(12);
    orientationButton_ =
        add(names::kOrientation, "Vertical", "Orientaci\xF3n de la p\xE1gina", [this] { toggleOrientation(); });
    add(names::kSetup, "Configurar", "Configurar la impresora", [this] { setUpPrinter(); });
    add(names::kPrint, "Imprimir", "Imprimir la p\xE1gina", [this] { print(); });
    row->addSpacing(12);
    metafileCombo_ = widgets::named<QComboBox>(panel, names::kMetafile);
    metafileCombo_->setEditable(true);
    for (int n = 1; n <= kOfferedMetafiles; ++n)
        metafileCombo_->addItem(QString::fromStdString(offeredMetafileName(n)));
    metafileCombo_->setMinimumWidth(130);
    row->addWidget(metafileCombo_);
    add(names::kExport, "Exportar EMF", "Guarda la p\xE1gina como metaarchivo en Emf", [this] { exportMetafile(); });
    add(names::kImport, "Ver EMF", "Muestra un metaarchivo guardado", [this] { importMetafile(); });
    row->addStretch();
    add(names::kBack, "Volver", "Cierra la ventana", [this] { close(); });
    return panel;
}

void ChartPageWindow::toggleColour() {
    ws_.drawing.monochrome = !ws_.drawing.monochrome;
    colourButton_->setText(fromCp(ws_.drawing.monochrome ? "Color" : "Blanco y negro"));
    redraw();
}

void ChartPageWindow::toggleAspectLines() {
    aspectLines_ = !aspectLines_;
    aspectLinesButton_->setText(fromCp(aspectLines_ ? "Muestra Aspectos" : "Sin Aspectos"));
    redraw();
}

void ChartPageWindow::setUpPrinter() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(ws_.drawing.portrait ? QPageLayout::Portrait : QPageLayout::Landscape);
    QPageSetupDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    ws_.drawing.portrait = printer.pageLayout().orientation() == QPageLayout::Portrait;
    orientationButton_->setText(fromCp(ws_.drawing.portrait ? "Vertical" : "Horizontal"));
    redraw();
}

bool ChartPageWindow::portrait() const { return ws_.drawing.portrait; }

void ChartPageWindow::setLayout(int layout) {
    layout_ = layout;
    ws_.drawing.portrait = layoutIsPortrait(layout);
}

void ChartPageWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    applyGraphSettings(ws_);
    ws_.drawing.zoom = 1;
    metafileCombo_->setCurrentText(
        QString::fromStdString(lastExported_.empty() ? offeredMetafileName(1) : lastExported_));
    orientationButton_->setText(fromCp(ws_.drawing.portrait ? "Vertical" : "Horizontal"));
    colourButton_->setText(fromCp(ws_.drawing.monochrome ? "Color" : "Blanco y negro"));
    resetView();
    QTimer::singleShot(1, this, [this] { redraw(); });
}

void ChartPageWindow::closeEvent(QCloseEvent* event) {
    ws_.drawing.zoom = 1;
    ws_.drawing.ox = ws_.drawing.oy = 0;
    ws_.drawing.monochrome = false;
    aspectLines_ = true;
    aspectLinesButton_->setText(fromCp("Muestra Aspectos"));
    QWidget::closeEvent(event);
}

void ChartPageWindow::redraw() {
    page_->clear(Qt::black);
    QPainter painter(&page_->picture());
    prepare(painter);
    DrawingState state = ws_.drawing;
    state.portrait = layoutIsPortrait(layout_);  // the frame of the sheet the layout prints on
    state.printing = state.recording = false;
    // The page frame shows the sheet: with no system printer the sheet is the PDF's.
    state.printerPresent = true;
    PageCanvas canvas(painter, state, &ws_.root);
    guarded(this, [&] { drawLayout(canvas, ws_, layout_, aspectLines_); });
    canvas.pageFrame();
    painter.end();
    page_->update();
}

void ChartPageWindow::zoom(bool in) {
    const QSize screen = size();
    if (in) zoomIn(ws_.drawing, screen.width(), screen.height());
    else zoomOut(ws_.drawing, screen.width(), screen.height());
    redraw();
}

void ChartPageWindow::resetView() {
    // The page is shown as it prints: in its layout's orientation, whatever the printer's.
    resetPageView(ws_.drawing, layoutIsPortrait(layout_), width());
    redraw();
}

void ChartPageWindow::toggleOrientation() {
    ws_.drawing.portrait = !ws_.drawing.portrait;
    orientationButton_->setText(fromCp(ws_.drawing.portrait ? "Vertical" : "Horizontal"));
    viewer_->resize(ws_.drawing.portrait ? QSize(512, 659) : QSize(659, 512));
    resetView();
}

DrawingState beginPrintedSheet(QPrinter& printer, QPainter& painter, const DrawingState& base, bool portrait) {
    printer.setFullPage(true);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(portrait ? QPageLayout::Portrait : QPageLayout::Landscape);
    printer.setCreator(QStringLiteral("Athanor"));
    if (!painter.begin(&printer))
        throw FileError(printer.outputFileName().toStdString(), "cannot print", FileFault::NotWritten);
    prepare(painter);
    DrawingState state = base;
    state.portrait = portrait;
    state.printing = true;
    state.recording = false;
    state.zoom = 1;
    state.setPrintScale(printer.width());
    // The page, a little narrower than the sheet, is centred across it.
    state.ox = std::max(0, static_cast<int>(std::lround((printer.width() - DrawingState::kPageWidth * state.ppu) / 2)));
    state.oy = std::max(
        0, std::min(state.ox, static_cast<int>(std::lround(printer.height() - state.pageHeight() * state.ppu))));
    return state;
}

void ChartPageWindow::printOn(QPrinter& printer) {
    QPainter painter;
    const DrawingState state = beginPrintedSheet(printer, painter, ws_.drawing, layoutIsPortrait(layout_));
    PageCanvas canvas(painter, state, &ws_.root);
    drawLayout(canvas, ws_, layout_, aspectLines_);
    if (!painter.end()) throw FileError(printer.outputFileName().toStdString(), "cannot print", FileFault::NotWritten);
}

void ChartPageWindow::print() {
    guarded(this, [&] {
        BusyCursor busy;
        if (systemPrinterAvailable()) {
            if (ws_.settings.printerType == 1) {
                // Printers that lose the first page of a job get an empty one first.
                QPrinter dummy(QPrinter::HighResolution);
                QPainter p;
                if (p.begin(&dummy)) p.end();
            }
            QPrinter printer(QPrinter::HighResolution);
            printOn(printer);
        } else {
            const QString suggested =
                QDir(documentsFolder()).filePath(QString::fromLatin1(layoutViewName(layout_)) + ".pdf");
            const QString file = askPdfFileName(this, suggested);
            if (file.isEmpty()) return;
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(file);
            printOn(printer);
            showStatus(QStringLiteral("Página guardada en %1").arg(file));
        }
    });
    redraw();
}

std::string ChartPageWindow::metafileName() const { return toCp(metafileCombo_->currentText()); }

void ChartPageWindow::exportMetafile() {
    const std::string name = metafileName();
    if (!acceptableMetafileName(name)) {
        showMessage(this, MessageKind::Warning, kBadMetafileName);
        return;
    }
    guarded(this, [&] {
        BusyCursor busy;
        const bool portraitPage = layoutIsPortrait(layout_);
        recordGraphType(ws_.root, name, portraitPage ? 'P' : 'L');
        resetPageView(ws_.drawing, portraitPage, width());
        DrawingState state = ws_.drawing;
        state.portrait = portraitPage;
        state.recording = true;
        state.printing = false;
        state.zoom = 1;
        state.ox = state.oy = 0;
        const QSize size(static_cast<int>(std::ceil(DrawingState::kPageWidth * state.ppu)),
                         static_cast<int>(std::ceil(state.pageHeight() * state.ppu)));
        EmfDevice device(size, 96.0);
        QPainter painter(&device);
        prepare(painter);
        {
            PageCanvas canvas(painter, state, &ws_.root);
            drawLayout(canvas, ws_, layout_, aspectLines_);
        }
        painter.end();
        const auto file = ws_.root.resolveForWriting(std::string(kMetafileFolder) + name);
        device.save(file);
        lastExported_ = name;
        showStatus(QStringLiteral("Metaarchivo guardado en %1 y copiado al portapapeles")
                       .arg(QString::fromStdString(file.string())));

        // The saved picture goes to the clipboard as an image and as metafile data.
        const auto picture = EmfPicture::load(file);
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter ip(&image);
        prepare(ip);
        picture->draw(ip, QRectF(QPointF(0, 0), QSizeF(size)));
        ip.end();
        auto* mime = new QMimeData;
        mime->setImageData(image);
        mime->setData(QStringLiteral("image/emf"), device.data());
        mime->setData(QStringLiteral("image/x-emf"), device.data());
        QApplication::clipboard()->setMimeData(mime);
    });
    redraw();
}

void ChartPageWindow::importMetafile() {
    const std::string name = metafileName();
    if (!acceptableMetafileName(name)) {
        showMessage(this, MessageKind::Warning, kBadMetafileName);
        return;
    }
    char type = ' ';
    if (!guarded(this, [&] { type = readGraphType(ws_.root, name); })) return;
    const ViewerSize size = metafileViewerSize(type, ws_.screenRatio);
    viewer_->resize(size.width, size.height);
    viewer_->setMetafile(name);
    viewer_->exec();
    resetView();
}

}  // namespace athanor
