#include "ChartWindowFixture.h"
#include "graphics/ChartViewControls.h"
#include "graphics/EmfPlayer.h"
#include "ui/common/PageWidget.h"
#include "ui/charts/ChartPageWindow.h"
#include "ui/charts/MetafileViewerDialog.h"
#include "ui/common/WindowSupport.h"

#include <QClipboard>
#include <QComboBox>
#include <QMimeData>

namespace athanor::test {
namespace {

class ChartWindowTest : public ChartWindowFixture {
protected:
    void open(int layout) {
        window = std::make_unique<ChartPageWindow>(ws);
        window->setLayout(layout);
        window->resize(1200, 800);
        window->show();
        settle();
    }
    void press(const char* button) { click(child<QAbstractButton>(window.get(), button)); }
    void setName(const char* name) { child<QComboBox>(window.get(), "ComboEMF")->setCurrentText(name); }
    void drag(QPoint from, QPoint to) {
        QWidget* page = window->page();
        QTest::mousePress(page, Qt::LeftButton, Qt::NoModifier, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), page->mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(page, &move);
        QTest::mouseRelease(page, Qt::LeftButton, Qt::NoModifier, to);
    }

    MessageLog messages;
    std::unique_ptr<ChartPageWindow> window;
};

TEST_F(ChartWindowTest, OpensEachPageInItsOrientation) {
    const struct {
        int layout;
        double zoom;
        int ox;
    } cases[] = {{5, 0.5, 300}, {18, 0.5, 300}, {16, 1.0, 0}, {17, 1.0, 0}};
    for (const auto& c : cases) {
        open(c.layout);
        EXPECT_EQ(ws.drawing.zoom, c.zoom) << c.layout;
        EXPECT_EQ(ws.drawing.ox, c.ox) << c.layout;
        EXPECT_EQ(child<QComboBox>(window.get(), "ComboEMF")->currentText(), "GRAF01.EMF");
        // Something is drawn on the page.
        const QImage& p = window->page()->picture();
        int lit = 0;
        for (int y = 0; y < p.height(); y += 4)
            for (int x = 0; x < p.width(); x += 4)
                if (p.pixelColor(x, y) != QColor(Qt::black)) ++lit;
        EXPECT_GT(lit, 500) << c.layout;
        window->close();
    }
    EXPECT_TRUE(messages.messages.empty()) << messages.last();
}

TEST_F(ChartWindowTest, ZoomStopsAtItsLimitsAndTheResetsRestoreThePage) {
    open(16);
    for (int i = 0; i < 15; ++i) press("BitBtnZoomPiu");
    EXPECT_DOUBLE_EQ(ws.drawing.zoom, 4.0);
    for (int i = 0; i < 25; ++i) press("BitBtnZoomMeno");
    EXPECT_DOUBLE_EQ(ws.drawing.zoom, 0.4);
    press("BBaltezza");
    EXPECT_EQ((std::tuple{ws.drawing.zoom, ws.drawing.ox, ws.drawing.oy}), (std::tuple{1.0, 0, 0}));
    // The printer's orientation changes; the landscape page is still shown whole and landscape,
    // as it prints (not shrunk into the top of a portrait frame).
    press("BitBtnFoglio");
    EXPECT_TRUE(window->portrait());
    EXPECT_EQ((std::tuple{ws.drawing.zoom, ws.drawing.ox}), (std::tuple{1.0, 0}));
    // "Ancho" spreads the page across the view, where "Atura" showed it whole in height.
    press("BBlargarghezza");
    const double pageWidth = DrawingState::kPageWidth * ws.drawing.ppu / ws.drawing.hc * ws.drawing.zoom;
    EXPECT_NEAR(pageWidth, window->page()->width(), 2.0);
    EXPECT_EQ((std::pair{ws.drawing.ox, ws.drawing.oy}), (std::pair{0, 0}));
    EXPECT_GT(ws.drawing.zoom, 0.5);
    press("BitBtnColNer");
    EXPECT_TRUE(ws.drawing.monochrome);
    press("BBFlagRiga");
    EXPECT_FALSE(window->aspectLinesShown());
    window->close();
    EXPECT_FALSE(ws.drawing.monochrome) << "closing restores colour, zoom, pan and aspect lines";
    EXPECT_TRUE(window->aspectLinesShown());
    EXPECT_EQ(ws.drawing.zoom, 1.0);
}

TEST_F(ChartWindowTest, OnlyADragBeyondTwoPixelsOrTheWheelMovesThePage) {
    open(16);
    drag({400, 300}, {402, 298});
    EXPECT_EQ((std::pair{ws.drawing.ox, ws.drawing.oy}), (std::pair{0, 0}));
    drag({400, 300}, {403, 302});
    EXPECT_EQ((std::pair{ws.drawing.ox, ws.drawing.oy}), (std::pair{3, 0}));
    drag({400, 300}, {350, 380});
    EXPECT_EQ((std::pair{ws.drawing.ox, ws.drawing.oy}), (std::pair{-47, 80}));
    QWheelEvent down(QPointF(300, 300), QPointF(300, 300), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(window->page(), &down);
    EXPECT_EQ(ws.drawing.oy, 60) << "turning the wheel down shows more of the page below, as in every program";
}

TEST_F(ChartWindowTest, AnExportWantsAnUpperCaseEmfName) {
    open(5);
    for (const char* bad : {"GRAF01.emf", "GRAF01.WMF"}) {
        messages.clear();
        setName(bad);
        press("BBEMFout");
        press("BBEMFin");
        EXPECT_EQ(messages.texts(), (std::vector<std::string>{"El archivo debe ser .EMF", "El archivo debe ser .EMF"}))
            << bad;
    }
    EXPECT_FALSE(folder.root().exists("Emf\\GRAF01.emf"));
    EXPECT_FALSE(folder.root().exists("Emf\\TipGraf.Set"));
}

TEST_F(ChartWindowTest, AnExportedPageOpensInTheViewerAtItsOrientation) {
    open(5);
    ws.drawing.zoom = 2;
    setName("GRAF03.EMF");
    press("BBEMFout");
    ASSERT_TRUE(messages.messages.empty()) << messages.last();
    ASSERT_TRUE(folder.root().exists("Emf\\GRAF03.EMF"));
    EXPECT_NO_THROW(EmfPicture::load(folder.path("Emf/GRAF03.EMF")));
    EXPECT_EQ(readLines(folder.path("Emf/TipGraf.Set"))[2], "P");
    EXPECT_EQ(ws.drawing.zoom, 0.5) << "the export resets zoom and pan";
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    ASSERT_NE(clip, nullptr);
    EXPECT_TRUE(clip->hasImage());
    EXPECT_EQ(clip->data("image/emf").left(4), QByteArray("\x01\x00\x00\x00", 4)) << "an EMF header record";

    // A name without a dot is taken as it is.
    setName("PAGINA");
    press("BBEMFout");
    EXPECT_TRUE(folder.root().exists("Emf\\PAGINA"));

    setName("GRAF03.EMF");
    QSize viewerSize;
    bool shown = false;
    whenModal<MetafileViewerDialog>([&](MetafileViewerDialog* viewer) {
        viewerSize = viewer->size();
        shown = viewer->hasPicture();
        viewer->accept();
    });
    press("BBEMFin");
    EXPECT_EQ(viewerSize, QSize(450, 680));
    EXPECT_TRUE(shown);
}

TEST_F(ChartWindowTest, WithoutASystemPrinterThePageIsPrintedToTheFileTheUserNames) {
    if (systemPrinterAvailable()) GTEST_SKIP() << "a system printer would receive the page";
    open(17);
    const auto pdf = folder.dir() / "pagina.pdf";
    setPdfFileNameHook([&](const QString&) { return QString::fromStdString(pdf.string()); });
    press("BitBtnStampa");
    setPdfFileNameHook([](const QString&) { return QString(); });
    press("BitBtnStampa");  // cancelled: nothing happens
    setPdfFileNameHook(nullptr);
    EXPECT_TRUE(messages.messages.empty()) << messages.last();
    const std::string bytes = TempDir::read(pdf);
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
    EXPECT_GT(bytes.size(), 20000u);
}

}  // namespace
}  // namespace athanor::test
