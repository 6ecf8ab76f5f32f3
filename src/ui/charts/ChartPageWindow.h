#pragma once
#include <QPoint>
#include <QWidget>

#include <string>

class QComboBox;
class QFrame;
class QPainter;
class QPrinter;
class QPushButton;

namespace athanor {

struct DrawingState;
struct Workstation;
class PageWidget;
class MetafileViewerDialog;

// Begins painting a printed A4 sheet and gives the summary pages' drawing state for it:
// their print scale, their corrections left aside, the page centred across the sheet.
DrawingState beginPrintedSheet(QPrinter& printer, QPainter& painter, const DrawingState& base, bool portrait);

// TFgrNaSpa: the natal-chart window. One printable page of the current chart, zoomed,
// dragged, switched to black and white, printed (or written to a PDF file the user names
// when the system has no printer) and exported as an enhanced metafile.
class ChartPageWindow : public QWidget {
    Q_OBJECT
public:
    explicit ChartPageWindow(Workstation& ws, QWidget* parent = nullptr);

    // The page the main window selected: 5, 18 (portrait), 16, 17 (landscape).
    void setLayout(int layout);
    int layout() const { return layout_; }
    bool portrait() const;
    bool aspectLinesShown() const { return aspectLines_; }
    PageWidget* page() const { return page_; }

    // Draws the page now (the window does it from a timer once it is visible).
    void redraw();
    // Prints onto a printer already set up; used by the print button.
    void printOn(QPrinter& printer);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    PageWidget* buildPage();
    QFrame* buildControls();
    void toggleColour();
    void toggleAspectLines();
    void setUpPrinter();
    void zoom(bool in);
    void resetView();
    void toggleOrientation();
    void print();
    void exportMetafile();
    void importMetafile();
    std::string metafileName() const;

    Workstation& ws_;
    int layout_ = 5;
    bool aspectLines_ = true;
    bool dragging_ = false;
    QPoint dragStart_;
    std::string lastExported_;
    PageWidget* page_ = nullptr;
    QComboBox* metafileCombo_ = nullptr;
    QPushButton* colourButton_ = nullptr;
    QPushButton* orientationButton_ = nullptr;
    QPushButton* aspectLinesButton_ = nullptr;
    MetafileViewerDialog* viewer_ = nullptr;
};

}  // namespace athanor
