#pragma once
#include "graphics/DrawingState.h"
#include "graphics/Wheel.h"
#include "interpretation/AnalysisCycles.h"
#include "interpretation/PlanetaryHour.h"

#include <QWidget>

#include <functional>

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

// TFgrSpagy: the spagyric analysis window. Borderless, full screen, black. The chart wheel
// or one analysis at a time on the left; the subject's data, the buttons, the messages,
// the interpretation texts, the plants or remedies and the signature search on the right.
class AnalysisWindow : public QWidget {
    Q_OBJECT
public:
    explicit AnalysisWindow(Workstation& ws, QWidget* parent = nullptr);
    ~AnalysisWindow() override;
    // What "Remedios para el tema" opens.
    void setChartRemediesAction(std::function<void()> action) { chartRemediesAction_ = std::move(action); }

    // What the mouse can hit: the glyphs of the wheel last drawn and the planets of the
    // archetypal structure on show.
    const WheelHitTable& wheelHits() const { return wheelHits_; }
    const WheelHitTable& structureHits() const { return structureHits_; }
    // A page position as a point of the drawing area.
    QPoint areaPoint(double y, double x) const;
    PageWidget* drawingArea() const { return drawingArea_; }
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
    void buildTextsPanel();
    void buildAspectPanel();
    void buildDataPanel();
    void buildInfoMemo();
    void buildButtonPanel();
    void buildLinkedPanel();
    void connectLinkedPanel(QPushButton* close);
    void buildSignaturePanel();
    void buildSearchPanel();
    void layoutPanels();
    void scalePanels();
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
    void showSectorLists(const std::string& title, bool dodecatemoria);

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
    void showInfoSection(int section);
    void setMemoLines(QPlainTextEdit* memo, const std::vector<std::string>& lines);
    void showAspectPanel(const std::string& title, const std::vector<std::string>& lines);
    void hideViewPanels();
    void setSelection(int body, int sign);
    void search();

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
    bool infoTall_ = false, aspectTall_ = false, symptomsTall_ = false;
    bool bigInfoFont_ = false, bigAspectFont_ = false, bigLinkedFont_ = false;

    QWidget* client_ = nullptr;
    PageWidget* drawingArea_ = nullptr;
    QFrame* textsPanel_ = nullptr;
    QLabel* textsGlyph_ = nullptr;
    QLabel* specificTitle_ = nullptr;
    QLabel* generalTitle_ = nullptr;
    QPlainTextEdit* specificTexts_ = nullptr;
    QPlainTextEdit* generalTexts_ = nullptr;
    QFrame* dataPanel_ = nullptr;
    QLineEdit* nameField_ = nullptr;
    QLineEdit* dateField_ = nullptr;
    QLineEdit* placeField_ = nullptr;
    QLineEdit* coordField_ = nullptr;
    QLineEdit* houseSystemField_ = nullptr;
    QLineEdit* nodeField_ = nullptr;
    QLineEdit* julianDayField_ = nullptr;
    QPlainTextEdit* infoMemo_ = nullptr;
    QToolButton* infoFontButton_ = nullptr;
    QFrame* buttonPanel_ = nullptr;
    std::vector<QPushButton*> viewButtons_;
    QFrame* aspectPanel_ = nullptr;
    QLabel* aspectTitle_ = nullptr;
    QPlainTextEdit* aspectMemo_ = nullptr;
    QPushButton* aspectFontButton_ = nullptr;
    QFrame* linkedPanel_ = nullptr;
    QLabel* linkedTitle_ = nullptr;
    QLabel* linkedGlyph_ = nullptr;
    QListWidget* linkedList_ = nullptr;
    QComboBox* linkedCombo_ = nullptr;
    QLabel* symptomsTitle_ = nullptr;
    QPlainTextEdit* symptomsMemo_ = nullptr;
    QPlainTextEdit* descriptionMemo_ = nullptr;
    QPushButton* widenButton_ = nullptr;
    QPushButton* linkedFontButton_ = nullptr;
    QFrame* signaturePanel_ = nullptr;
    QPushButton* signaturePlanet_ = nullptr;
    QPushButton* signatureSign_ = nullptr;
    QFrame* searchPanel_ = nullptr;
    QLabel* searchTitle_ = nullptr;
    QPlainTextEdit* searchMemo_ = nullptr;
    QListWidget* searchList_ = nullptr;
    std::function<void()> chartRemediesAction_;
};

}  // namespace athanor
