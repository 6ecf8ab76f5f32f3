#pragma once
#include "graphics/DrawingState.h"
#include "graphics/Wheel.h"
#include "interpretation/AnalysisCycles.h"
#include "interpretation/PlanetaryHour.h"

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace athanor {

struct Workstation;
class MessageSections;
class PageCanvas;
class PageWidget;

// The spagyric analysis window: borderless, full screen, black. The chart wheel or one
// analysis at a time on the left; the subject's data, the buttons, the messages, the
// interpretation texts, the plants or remedies and the signature search on the right.
class AnalysisWindow : public QWidget {
    Q_OBJECT
public:
    explicit AnalysisWindow(Workstation& ws, QWidget* parent = nullptr);
    ~AnalysisWindow() override;

    // What the mouse can hit: the glyphs of the wheel last drawn and the planets of the
    // archetypal structure on show.
    const WheelHitTable& wheelHits() const { return wheelHits_; }
    const WheelHitTable& structureHits() const { return structureHits_; }
    // A page position as a point of the drawing area.
    QPoint areaPoint(double y, double x) const;
    PageWidget* drawingArea() const { return area_; }
    // The first drawing, which a timer runs once the window is visible.
    void drawPending();

    int selectedBody() const { return body_; }
    int selectedSign() const { return sign_; }
    // The view on show: its button and number.
    AnalysisButton shownButton() const { return shown_.button; }
    int shownView() const { return shown_.view; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void layoutPanels();
    void opening();
    void fillDataPanel();

    // Drawing.
    DrawingState drawingState() const;
    void clearArea();
    template <class Fn>
    void paint(Fn&& fn);
    void drawChartWheel(bool aspectLines = true);
    void drawStructure();
    void drawMasters(int view);
    void drawAspectListText();
    void drawPowers();
    void drawNamedView(const char* name);
    void showView(const AnalysisStep& step);

    // Buttons and glyphs.
    void press(AnalysisButton b);
    void areaPressed(QPoint p);
    void bodyClicked(int body);
    void signClicked(int sign);
    void structurePlanetClicked(int planet);
    void markGlyph(double y, double x);
    void showBodyTexts(int body);
    void showSignTexts(int sign);
    void showLinked(int body, int sign);
    void showLinkedDetails(int row);
    void showGlyphPicture(const std::string& file);

    // Panels.
    void showMessage(int section);
    void setMemoLines(QPlainTextEdit* memo, const std::vector<std::string>& lines);
    void showAspectPanel(const std::string& title, const std::vector<std::string>& lines);
    void hideViewPanels();
    void setSelection(int body, int sign);
    void search();
    void toggleTall(QPlainTextEdit* memo, bool& tall, const QRect& normal, const QRect& large);

    Workstation& ws_;
    std::unique_ptr<MessageSections> messages_;
    AnalysisCycles cycles_;
    AnalysisStep shown_{AnalysisButton::Structure, 0, 0};
    PlanetaryHour hour_;
    bool hourValid_ = false;
    double scale_ = 4.0;  // pixels per page unit of the layout and the drawings
    WheelHitTable wheelHits_;
    WheelHitTable structureHits_;
    bool drawPending_ = false;
    int body_ = 0, sign_ = 0;
    int linkedBody_ = 0, linkedSign_ = 0;
    int searchClicks_ = 0;
    bool memo1Tall_ = false, aspectTall_ = false, memo3Tall_ = false;
    bool bigMemoFont_ = false, bigAspectFont_ = false, bigCorvFont_ = false;

    QWidget* client_ = nullptr;
    PageWidget* area_ = nullptr;
    QFrame* panelBase_ = nullptr;
    QLabel* image1_ = nullptr;
    QLabel* labL1_ = nullptr;
    QLabel* labL2_ = nullptr;
    QPlainTextEdit* memoL1_ = nullptr;
    QPlainTextEdit* memoL2_ = nullptr;
    QFrame* panelDati_ = nullptr;
    QLineEdit* edNome_ = nullptr;
    QLineEdit* edData_ = nullptr;
    QLineEdit* edLocal_ = nullptr;
    QLineEdit* edCoordi_ = nullptr;
    QLineEdit* edDomif_ = nullptr;
    QLineEdit* edNodo_ = nullptr;
    QLineEdit* edJd_ = nullptr;
    QPlainTextEdit* memo1_ = nullptr;
    QToolButton* sizeFont_ = nullptr;
    QFrame* panelPulsanti_ = nullptr;
    QFrame* panel3_ = nullptr;
    QLabel* labAspetti_ = nullptr;
    QPlainTextEdit* memoAspetti_ = nullptr;
    QFrame* panelCorv_ = nullptr;
    QLabel* labPianta_ = nullptr;
    QLabel* image2_ = nullptr;
    QListWidget* listPiante_ = nullptr;
    QComboBox* comboPiante_ = nullptr;
    QLabel* labSintomi_ = nullptr;
    QPlainTextEdit* memo3_ = nullptr;
    QPlainTextEdit* memo4_ = nullptr;
    QPushButton* suGiu_ = nullptr;
    QPushButton* fontCorv_ = nullptr;
    QFrame* panelExtra_ = nullptr;
    QPushButton* lbExtraPia_ = nullptr;
    QPushButton* lbExtraSeg_ = nullptr;
    QFrame* panelSegnaPato_ = nullptr;
    QLabel* labSegnaPato_ = nullptr;
    QPlainTextEdit* memoExtra_ = nullptr;
    QListWidget* listExtra_ = nullptr;
    QPushButton* fontAsp_ = nullptr;
};

}  // namespace athanor
