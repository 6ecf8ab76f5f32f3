#include "ui/charts/AnalysisWindow.h"

#include "engine/ChartBuilder.h"
#include "foundations/Format.h"
#include "foundations/TextFile.h"
#include "graphics/EmfPlayer.h"
#include "graphics/GridDrawings.h"
#include "graphics/PageCanvas.h"
#include "graphics/PowerDrawings.h"
#include "graphics/SectorDrawings.h"
#include "graphics/StructureDrawing.h"
#include "graphics/TableDrawings.h"
#include "graphics/Views.h"
#include "graphics/AnalysisViews.h"
#include "ui/common/PageWidget.h"
#include "ui/common/WindowSupport.h"
#include "ui/common/WidgetBuilders.h"
#include "interpretation/AnalysisKnowledge.h"
#include "interpretation/AspectViews.h"
#include "interpretation/NativityRuler.h"
#include "interpretation/Powers.h"
#include "interpretation/Sectors.h"
#include "knowledge/InterpretationTexts.h"
#include "knowledge/Signatures.h"
#include "app/SubjectDisplay.h"
#include "ui/common/UiHelpers.h"
#include "app/Workstation.h"
#include "subjects/DatiNasc.h"
#include "subjects/SubjectFiles.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace athanor {

namespace {

// Page units of the window's layout.
constexpr double kAreaWidth = 196, kAreaHeight = 196;
constexpr double kColumnLeft = 197, kColumnWidth = 82;  // right edge at 279
constexpr double kCentre = 100;                          // the wheel's centre

struct ButtonDef {
    const char* name;
    const char* caption;
    int column, row;
};
const ButtonDef kButtons[] = {
    {"BBcoordi", "Coordenadas Planetarias", 0, 0},
    {"BBarchetip", "Estructura arquet\xEDpica", 1, 0},
    {"BBstoffa", "Constituci\xF3n (Tela)", 0, 1},
    {"BBaspetti", "Aspectos Planetarios", 1, 1},
    {"BBEnergi", "Afinidades Energ\xE9teticas", 0, 2},
    {"BBantisce", "Antiscias y Contrantiscias", 1, 2},
    {"BBdodecate", "Dodecatemorias", 0, 3},
    {"BBmaestri", "Maestros", 1, 3},
    {"BBtarquell", "Dominantes Tarquell", 0, 4},
    {"BBprivato", "Volver", 1, 4},
};
const double kButtonTops[] = {3, 8.5, 14, 19.5, 25};

QFrame* panel(QWidget* parent, const char* name) {
    auto* f = new QFrame(parent);
    f->setObjectName(QString::fromLatin1(name));
    f->setFrameShape(QFrame::Box);
    return f;
}

QPlainTextEdit* memo(QWidget* parent, const char* name) {
    auto* m = new QPlainTextEdit(parent);
    m->setObjectName(QString::fromLatin1(name));
    m->setReadOnly(true);
    m->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    return m;
}

QLabel* label(QWidget* parent, const char* name, const char* text = "") {
    auto* l = new QLabel(fromCp(text), parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QLineEdit* field(QWidget* parent, const char* name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}

AnalysisButton buttonOf(const char* name) {
    static const struct {
        const char* name;
        AnalysisButton button;
    } map[] = {{"BBcoordi", AnalysisButton::Coordinates}, {"BBarchetip", AnalysisButton::Structure},
               {"BBstoffa", AnalysisButton::Constitution}, {"BBaspetti", AnalysisButton::Aspects},
               {"BBEnergi", AnalysisButton::Energies},     {"BBantisce", AnalysisButton::Antiscia},
               {"BBdodecate", AnalysisButton::Dodecatemoria}, {"BBmaestri", AnalysisButton::Masters},
               {"BBtarquell", AnalysisButton::Powers}};
    for (const auto& m : map)
        if (std::string_view(m.name) == name) return m.button;
    return AnalysisButton::Structure;
}

const char* const kStyle =
    "QWidget#Client { background: black; }"
    "QFrame { background: #14141c; color: #e8e8e8; border: 1px solid #44485a; }"
    "QLabel { border: none; background: transparent; color: #ffd866; }"
    "QPlainTextEdit, QListWidget { background: black; color: #e8e8e8; border: 1px solid #44485a; }"
    "QLineEdit { background: #008080; color: white; border: none; }"
    "QPushButton, QToolButton { background: #2c3040; color: white; border: 1px solid #6a7090; padding: 1px 4px; }"
    "QPushButton:pressed, QToolButton:pressed { background: #505878; }"
    "QComboBox { background: #2c3040; color: white; }";

}  // namespace

AnalysisWindow::AnalysisWindow(Workstation& ws, QWidget* parent) : QWidget(parent), ws_(ws) {
    setObjectName("FgrSpagy");
    setWindowTitle(fromCp("Modelo proped\xE9utico interactivo"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);
    registerAnalysisViews();
    build();
}

AnalysisWindow::~AnalysisWindow() = default;

// ---- building -------------------------------------------------------------------------

void AnalysisWindow::build() {
    // The panels live on a client widget of their own, so that their style does not reach
    // the message boxes of the window.
    client_ = new QWidget(this);
    client_->setObjectName("Client");
    client_->setStyleSheet(kStyle);
    area_ = new PageWidget(client_);
    area_->setObjectName("PaintBox1");
    area_->onPress = [this](QMouseEvent* e) { areaPressed(e->position().toPoint()); };

    // Interpretation texts.
    panelBase_ = panel(client_, "PanelBase");
    image1_ = label(panelBase_, "Image1");
    image1_->setAlignment(Qt::AlignCenter);
    labL1_ = label(panelBase_, "LabL1", "ATRIBUCIONES ESPEC\xCD" "FICAS al PLANETA");
    memoL1_ = memo(panelBase_, "MemoL1");
    labL2_ = label(panelBase_, "LabL2", "ATRIBUCIONES GENERALES AL PLANETA");
    memoL2_ = memo(panelBase_, "MemoL2");
    panelBase_->hide();

    // The aspect memo.
    panel3_ = panel(client_, "Panel3");
    labAspetti_ = label(panel3_, "LabAspetti");
    memoAspetti_ = memo(panel3_, "MemoAspetti");
    memoAspetti_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memoAspetti_->viewport()->installEventFilter(this);
    fontAsp_ = widgets::button(panel3_, "BBFont", "Font +");
    auto* chiudiAsp = widgets::button(panel3_, "BBchiudiAsp", "Cerrar");
    connect(fontAsp_, &QPushButton::clicked, this, [this] {
        bigAspectFont_ = !bigAspectFont_;
        fontAsp_->setText(bigAspectFont_ ? "Font -" : "Font +");
        layoutPanels();
    });
    connect(chiudiAsp, &QPushButton::clicked, panel3_, &QWidget::hide);
    panel3_->hide();

    // The subject's data.
    panelDati_ = panel(client_, "PanelDati");
    edNome_ = field(panelDati_, "EdNome");
    edData_ = field(panelDati_, "EdData");
    edLocal_ = field(panelDati_, "EdLocal");
    edCoordi_ = field(panelDati_, "EdCoordi");
    edDomif_ = field(panelDati_, "EdDomif");
    edNodo_ = field(panelDati_, "EdNodo");
    edJd_ = field(panelDati_, "EdJd");

    // Information memo.
    memo1_ = memo(client_, "Memo1");
    memo1_->viewport()->installEventFilter(this);
    sizeFont_ = new QToolButton(client_);
    sizeFont_->setObjectName("BBsizeFont");
    sizeFont_->setText("A+");
    sizeFont_->setToolTip(fromCp("Tama\xF1o de la letra"));
    connect(sizeFont_, &QToolButton::clicked, this, [this] {
        bigMemoFont_ = !bigMemoFont_;
        sizeFont_->setText(bigMemoFont_ ? QStringLiteral("A-") : QStringLiteral("A+"));
        layoutPanels();
    });

    // Buttons.
    panelPulsanti_ = panel(client_, "PanelPulsanti");
    for (const ButtonDef& b : kButtons) {
        auto* button = widgets::button(panelPulsanti_, b.name, b.caption);
        button->setFocusPolicy(Qt::NoFocus);
        if (std::string_view(b.name) == "BBprivato") {
            connect(button, &QPushButton::clicked, this, &QWidget::close);
        } else {
            const AnalysisButton which = buttonOf(b.name);
            connect(button, &QPushButton::clicked, this, [this, which] { press(which); });
        }
    }

    // Plants or remedies.
    panelCorv_ = panel(client_, "PanelCorv");
    labPianta_ = label(panelCorv_, "LabPianta");
    image2_ = label(panelCorv_, "Image2");
    image2_->setAlignment(Qt::AlignCenter);
    listPiante_ = new QListWidget(panelCorv_);
    listPiante_->setObjectName("ListBoxPiante");
    comboPiante_ = new QComboBox(panelCorv_);
    comboPiante_->setObjectName("ComboBoxPiante");
    auto* spin = widgets::spinButton(
        panelCorv_, "SpinButton1",
        [this] {
            if (listPiante_->currentRow() > 0) listPiante_->setCurrentRow(listPiante_->currentRow() - 1);
        },
        [this] {
            if (listPiante_->currentRow() + 1 < listPiante_->count())
                listPiante_->setCurrentRow(listPiante_->currentRow() + 1);
        });
    labSintomi_ = label(panelCorv_, "LabSintomi");
    labSintomi_->setWordWrap(true);
    memo3_ = memo(panelCorv_, "Memo3");
    memo3_->viewport()->installEventFilter(this);
    memo4_ = memo(panelCorv_, "Memo4");
    suGiu_ = widgets::button(panelCorv_, "BBsuGiu", "Ensancha");
    fontCorv_ = widgets::button(panelCorv_, "BBFontCorv", "Font +");
    auto* chiudiCorv = widgets::button(panelCorv_, "BBchiudiCorv", "Cerrar");
    connect(listPiante_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (comboPiante_->currentIndex() != row) comboPiante_->setCurrentIndex(row);
        showLinkedDetails(row);
    });
    connect(comboPiante_, &QComboBox::activated, this, [this](int row) { listPiante_->setCurrentRow(row); });
    connect(suGiu_, &QPushButton::clicked, this, [this] {
        memo3Tall_ = !memo3Tall_;
        suGiu_->setText(memo3Tall_ ? "Anterior" : "Ensancha");
        layoutPanels();
    });
    connect(fontCorv_, &QPushButton::clicked, this, [this] {
        bigCorvFont_ = !bigCorvFont_;
        fontCorv_->setText(bigCorvFont_ ? "Font -" : "Font +");
        layoutPanels();
    });
    connect(chiudiCorv, &QPushButton::clicked, panelCorv_, &QWidget::hide);
    spin->setProperty("corv", true);
    panelCorv_->hide();

    // Signature search.
    panelExtra_ = panel(client_, "PanelExtra");
    auto* labSignature = label(panelExtra_, "LabExtra", "Signatura:");
    labSignature->setProperty("extra", 1);
    lbExtraPia_ = widgets::button(panelExtra_, "LbExtraPia", kAnyCriterion);
    lbExtraSeg_ = widgets::button(panelExtra_, "LbExtraSeg", kAnyCriterion);
    lbExtraPia_->setToolTip(fromCp("Clic: cualquier planeta"));
    lbExtraSeg_->setToolTip(fromCp("Clic: cualquier signo"));
    auto* extraOk = widgets::button(panelExtra_, "BBextraOk", "Buscar");
    connect(lbExtraPia_, &QPushButton::clicked, this, [this] { lbExtraPia_->setText(fromCp(kAnyCriterion)); });
    connect(lbExtraSeg_, &QPushButton::clicked, this, [this] { lbExtraSeg_->setText(fromCp(kAnyCriterion)); });
    connect(extraOk, &QPushButton::clicked, this, [this] { search(); });

    panelSegnaPato_ = panel(client_, "PanelSegnaPato");
    labSegnaPato_ = label(panelSegnaPato_, "LabSegnaPato");
    labSegnaPato_->setWordWrap(true);
    memoExtra_ = memo(panelSegnaPato_, "MemoExtra");
    listExtra_ = new QListWidget(panelSegnaPato_);
    listExtra_->setObjectName("ListBoxExtra");
    auto* chiudiExtra = widgets::button(panelSegnaPato_, "BBchiudiExtra", "Cerrar");
    connect(chiudiExtra, &QPushButton::clicked, this, [this] {
        panelSegnaPato_->hide();
        clearArea();
        drawChartWheel();
    });
    panelSegnaPato_->hide();
}


// ---- layout ---------------------------------------------------------------------------

void AnalysisWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutPanels();
}

void AnalysisWindow::layoutPanels() {
    client_->setGeometry(rect());
    // The page is laid out in page units: as large as the window allows.
    scale_ = std::max(1.0, std::min(height() / 203.0, width() / 280.0));
    const double s = scale_;
    const auto units = [s](double top, double left, double h, double w) {
        return QRect(static_cast<int>(std::lround(left * s)), static_cast<int>(std::lround(top * s)),
                     static_cast<int>(std::lround(w * s)), static_cast<int>(std::lround(h * s)));
    };
    const auto inner = [s](double top, double left, double h, double w) {
        return QRect(static_cast<int>(std::lround(left * s)), static_cast<int>(std::lround(top * s)),
                     static_cast<int>(std::lround(w * s)), static_cast<int>(std::lround(h * s)));
    };
    const int fontPx = std::max(10, static_cast<int>(std::lround(s * 2.3)));
    QFont f = font();
    f.setPixelSize(fontPx);
    setFont(f);
    const auto sized = [&](QWidget* w, double factor) {
        QFont g = w->font();
        g.setPixelSize(std::max(9, static_cast<int>(std::lround(fontPx * factor))));
        w->setFont(g);
    };

    area_->setGeometry(units(0, 0, kAreaHeight, kAreaWidth));

    // Right column: texts, data, messages, buttons.
    const QRect base = units(1.3, kColumnLeft, 92, kColumnWidth);
    panelBase_->setGeometry(base);
    const double bw = kColumnWidth - 2;
    image1_->setGeometry(inner(1, 1, 9, 10));
    labL1_->setGeometry(inner(1, 12, 4, bw - 12));
    memoL1_->setGeometry(inner(11, 1, 46, bw));
    labL2_->setGeometry(inner(58, 1, 4, bw));
    memoL2_->setGeometry(inner(62.5, 1, 28.5, bw));
    panel3_->setGeometry(base);
    labAspetti_->setGeometry(inner(1, 1, 4, bw - 34));
    fontAsp_->setGeometry(inner(0.8, bw - 32, 4.4, 16));
    panel3_->findChild<QPushButton*>("BBchiudiAsp")->setGeometry(inner(0.8, bw - 15, 4.4, 16));
    memoAspetti_->setGeometry(aspectTall_ ? inner(6, 1, 196 - 8, bw) : inner(6, 1, 85, bw));
    panel3_->resize(base.width(), aspectTall_ ? units(0, 0, 198, 0).height() : base.height());
    sized(memoAspetti_, bigAspectFont_ ? 1.3 : 1.0);

    panelDati_->setGeometry(units(94, kColumnLeft, 38.7, kColumnWidth));
    QLineEdit* fields[] = {edNome_, edData_, edLocal_, edCoordi_, edDomif_, edNodo_, edJd_};
    for (int i = 0; i < 7; ++i) fields[i]->setGeometry(inner(0.8 + 5.4 * i, 1, 4.9, bw));

    const QRect memoNormal = units(133.5, kColumnLeft, 35.5, kColumnWidth - 6);
    const QRect memoLarge = units(1.3, kColumnLeft, 167.7, kColumnWidth - 6);
    memo1_->setGeometry(memo1Tall_ ? memoLarge : memoNormal);
    if (memo1Tall_) memo1_->raise();
    sizeFont_->setGeometry(units(133.5, kColumnLeft + kColumnWidth - 5.5, 5, 5.5));
    sized(memo1_, bigMemoFont_ ? 1.3 : 1.0);

    panelPulsanti_->setGeometry(units(170, kColumnLeft, 32, kColumnWidth));
    for (const ButtonDef& b : kButtons)
        if (auto* button = panelPulsanti_->findChild<QPushButton*>(b.name))
            button->setGeometry(inner(kButtonTops[b.row], b.column == 0 ? 4 : 43, 5, 35)), sized(button, 0.86);

    // The signature strip under the drawing area.
    panelExtra_->setGeometry(units(196.5, 1, 6, 194));
    panelExtra_->findChild<QLabel*>("LabExtra")->setGeometry(inner(0.6, 2, 4.6, 22));
    lbExtraPia_->setGeometry(inner(0.6, 25, 4.6, 55));
    lbExtraSeg_->setGeometry(inner(0.6, 82, 4.6, 55));
    panelExtra_->findChild<QPushButton*>("BBextraOk")->setGeometry(inner(0.6, 160, 4.6, 32));

    // Plants or remedies and the signature results: beside the column when the screen is
    // wide enough, otherwise over the right half of the drawing area.
    const double spare = width() / s - 280;
    const QRect side = spare >= 60 ? units(1.3, 280, 200, spare - 1) : units(1.3, 110, 194, 86);
    panelCorv_->setGeometry(side);
    panelSegnaPato_->setGeometry(side);
    const double sw = side.width() / s - 2, sh = side.height() / s;
    labPianta_->setGeometry(inner(1, 1, 5, sw - 12));
    image2_->setGeometry(inner(1, sw - 10, 9, 10));
    listPiante_->setGeometry(inner(11, 1, sh * 0.22, sw));
    const double comboTop = 12 + sh * 0.22;
    comboPiante_->setGeometry(inner(comboTop, 1, 5, sw - 8));
    panelCorv_->findChild<QWidget*>("SpinButton1")->setGeometry(inner(comboTop, sw - 6, 5.6, 6));
    const double sympTop = comboTop + 6.5;
    labSintomi_->setGeometry(inner(sympTop, 1, 6, sw));
    const double memo3Top = sympTop + 6.5;
    const double buttonsTop = sh - 7;
    const double memo3Height = memo3Tall_ ? buttonsTop - memo3Top - 1 : (buttonsTop - memo3Top) * 0.45;
    memo3_->setGeometry(inner(memo3Top, 1, memo3Height, sw));
    memo4_->setGeometry(inner(memo3Top + memo3Height + 1, 1, buttonsTop - memo3Top - memo3Height - 2, sw));
    memo4_->setVisible(!memo3Tall_);
    const double third = (sw - 2) / 3;
    suGiu_->setGeometry(inner(buttonsTop, 1, 5.5, third));
    fontCorv_->setGeometry(inner(buttonsTop, 2 + third, 5.5, third));
    panelCorv_->findChild<QPushButton*>("BBchiudiCorv")->setGeometry(inner(buttonsTop, 3 + 2 * third, 5.5, third));
    for (QWidget* w : {static_cast<QWidget*>(listPiante_), static_cast<QWidget*>(memo3_),
                       static_cast<QWidget*>(memo4_), static_cast<QWidget*>(comboPiante_)})
        sized(w, bigCorvFont_ ? 1.3 : 1.0);

    labSegnaPato_->setGeometry(inner(1, 1, 9, sw));
    memoExtra_->setGeometry(inner(11, 1, sh * 0.3, sw));
    listExtra_->setGeometry(inner(12 + sh * 0.3, 1, sh - 12 - sh * 0.3 - 8, sw));
    panelSegnaPato_->findChild<QPushButton*>("BBchiudiExtra")->setGeometry(inner(sh - 7, sw - 24, 5.5, 25));
}

// ---- opening --------------------------------------------------------------------------

void AnalysisWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    opening();
}

void AnalysisWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    drawPending_ = false;
}

void AnalysisWindow::opening() {
    layoutPanels();
    applyGraphSettings(ws_);
    body_ = sign_ = 0;
    lbExtraPia_->setText(fromCp(kAnyCriterion));
    lbExtraSeg_->setText(fromCp(kAnyCriterion));
    cycles_.reset();
    searchClicks_ = 0;
    wheelHits_.clear();
    structureHits_.clear();
    panelBase_->hide();
    panel3_->hide();
    panelCorv_->hide();
    panelSegnaPato_->hide();
    messages_.reset();
    guarded(this, [&] { messages_ = std::make_unique<MessageSections>(MessageSections::load(ws_.root)); });
    hourValid_ = guarded(this, [&] { hour_ = computePlanetaryHour(ws_.chart, *ws_.corrections); });
    showMessage(1);
    clearArea();
    // The drawing waits for the window to be on the screen.
    drawPending_ = true;
    QTimer::singleShot(10, this, [this] { drawPending(); });
}

void AnalysisWindow::drawPending() {
    if (!drawPending_) return;
    drawPending_ = false;
    fillDataPanel();
    if (ws_.analysisShowedStructure) {
        drawStructure();
        shown_ = {AnalysisButton::Structure, 1, 9};
    } else {
        drawChartWheel();
        shown_ = {AnalysisButton::Structure, 0, 1};
    }
}

void AnalysisWindow::fillDataPanel() {
    guarded(this, [&] {
        const CurrentSubject subject = loadCurrent(ws_.root);
        const auto lines = subjectDisplayLines(subject);
        const StampDisplay stamp = storedToDisplayed(subject.record.birthStamp);
        std::string locality = subject.record.locality().substr(0, 28);
        cleanLocality(locality);
        trimTrailingBlanks(locality);
        edNome_->setText(fromCp(lines[0]));
        edData_->setText(fromCp(stamp.dateTime + (subject.record.gregorian() ? "" : " Calend. Giuliano")));
        edLocal_->setText(fromCp(locality + " - " + subject.record.country));
        edCoordi_->setText(fromCp(subject.record.coordText()));
    });
    edDomif_->setText(fromCp(ws_.chart.HouseSystem));
    edNodo_->setText(fromCp(ws_.chart.NodeKind));
    edJd_->setText(QString::number(static_cast<double>(ws_.chart.ChartJulianDay), 'g', 12));
    for (QLineEdit* e : {edNome_, edData_, edLocal_, edCoordi_}) e->setCursorPosition(0);
}

// ---- drawing --------------------------------------------------------------------------

DrawingState AnalysisWindow::drawingState() const {
    DrawingState s = ws_.drawing;
    s.setScreenScale(scale_);
    s.zoom = 1;
    s.ox = s.oy = 0;
    s.printing = s.recording = s.monochrome = false;
    s.portrait = false;
    return s;
}

QPoint AnalysisWindow::areaPoint(double y, double x) const {
    const DrawingState s = drawingState();
    return QPoint(static_cast<int>(std::lround(x / s.hc * s.ppu)), static_cast<int>(std::lround(y / s.vc * s.ppu)));
}

void AnalysisWindow::clearArea() {
    area_->clear(Qt::black);
    wheelHits_.clear();
    structureHits_.clear();
}

template <class Fn>
void AnalysisWindow::paint(Fn&& fn) {
    QPainter painter(&area_->picture());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const DrawingState state = drawingState();
    PageCanvas canvas(painter, state, &ws_.root);
    guarded(this, [&] { fn(canvas); });
    painter.end();
    area_->update();
}

void AnalysisWindow::drawChartWheel(bool aspectLines) {
    paint([&](PageCanvas& c) {
        WheelOptions o;
        o.aspectLines = aspectLines;
        wheelHits_ = drawWheel(c, ws_.chart, ws_.orbs, WheelGeometry{}, o);
        writePositionCodes(ws_.root, ws_.chart, ws_.orbs);
    });
}

void AnalysisWindow::drawStructure() {
    drawChartWheel(false);
    paint([&](PageCanvas& c) {
        ExchangeFiles files(ws_.root);
        const ArchetypalStructure s = computeStructure(ws_.chart, files);
        structureHits_.clear();
        for (const StructureHit& h : drawStructureScreen(c, s, kCentre, kCentre))
            structureHits_.push_back(WheelHit{WheelHit::Kind::Body, h.planet, h.y, h.x});
    });
    ws_.analysisShowedStructure = true;
}

void AnalysisWindow::drawMasters(int view) {
    drawChartWheel(false);
    paint([&](PageCanvas& c) {
        c.setTextBackground(std::nullopt);
        if (view == 1) {
            if (!hourValid_) return;
            double y = kCentre - 19;
            bool first = true;
            for (const DisplayLine& l : mastersOfBirthLines(hour_, ws_.chart)) {
                if (!first) y += l.newGroup ? 6 : 4;
                first = false;
                c.setTextColour(l.colour == TextColour::Yellow ? colour::Yellow
                                : l.colour == TextColour::Cyan ? colour::Cyan
                                                               : colour::White);
                c.textCentred(y, kCentre, l.text, 15);
            }
            c.setTextColour(colour::Cyan);
            c.textLeft(5, 5, "MAESTRO \"Asc\", Mc\", Hora Planetaria\"", 2);
        } else {
            const YearMasters m = computeYearMasters(ws_.root, ws_.chart, *ws_.corrections);
            const auto lines = yearMastersLines(m);
            c.setTextColour(colour::Cyan);
            for (size_t i = 0; i < lines.size(); ++i) c.textCentred(kCentre - 3 + 5.0 * i, kCentre, lines[i], 2);
            c.textLeft(5, 5, "MAESTROS del A\xD1O y CICLO", 2);
        }
    });
}

void AnalysisWindow::drawAspectListText() {
    paint([&](PageCanvas& c) {
        const auto lines = aspectListLines(ws_.chart, ws_.orbs);
        c.setTextColour(colour::Cyan);
        double y = 6, x = 6;
        for (size_t i = 0; i < lines.size(); ++i) {
            if (i > 0) c.setTextColour(colour::White);
            if (y > 188) {
                y = 14;
                x += 97;
            }
            c.textLeft(y, x, lines[i], 15);
            y += 5;
        }
    });
}

void AnalysisWindow::drawPowers() {
    BusyCursor busy;
    Powers powers;
    const bool ok = guarded(this, [&] {
        // The chart goes to the scoring through the hand-off file, with Placidus houses;
        // the chart of the window is restored afterwards.
        const CurrentSubject subject = loadCurrent(ws_.root);
        const ChartState saved = ws_.chart;
        const std::string name = subjectDisplayLines(subject)[0].substr(0, 38);
        try {
            ChartState working = saved;
            working.HouseSystem = "PLACIDO";
            writeChartHandOff(ws_.root,
                              ChartHandOff{name, subject.record.birthStamp, subject.record.placeText, "PLACIDO",
                                           saved.ChartJulianDay},
                              working);
            runNativityRuler(ws_.root, working, *ws_.corrections);
        } catch (...) {
            ws_.chart = saved;
            throw;
        }
        ws_.chart = saved;
        powers = runPowers(ws_.root, ws_.chart);
    });
    if (!ok) return;
    paint([&](PageCanvas& c) {
        c.setTextColour(colour::Cyan);
        c.textLeft(5, 5, "POTENCIAS PLANETARIAS", 2);
        c.textLeft(10, 5, "(de acuerdo con Tarquell)", 15);
        drawPowerBars(c, powers, kCentre - 31.2, 28);
        drawEclipticGrid(c, ws_.chart, ws_.orbs, 88, 56, true);
    });
    memo1_->appendPlainText(fromCp(std::string("\nDominante: ") + dominantName(powers.dominant)));
}

void AnalysisWindow::drawNamedView(const char* name) {
    const View* view = findView(name);
    if (!view) return;
    paint([&](PageCanvas& c) {
        const ViewContext ctx{ws_.chart, ws_.orbs, ws_.root, ws_.fullName(), todayText()};
        view->draw(c, ctx);
    });
}

void AnalysisWindow::showView(const AnalysisStep& step) {
    shown_ = step;
    const std::string n = std::to_string(step.view);
    switch (step.button) {
    case AnalysisButton::Coordinates: {
        static const char* const names[] = {"", "longitudes-relative", "longitudes-absolute", "latitudes"};
        drawNamedView(names[step.view]);
        if (step.view == 1) {
            guarded(this, [&] {
                const auto lists = sectorLists(computeSectors(ws_.chart), SpecificTexts::load(ws_.root), false);
                std::vector<std::string> lines;
                for (const auto& l : lists) {
                    if (!lines.empty()) lines.push_back("");
                    lines.push_back(l.title);
                    lines.insert(lines.end(), l.lines.begin(), l.lines.end());
                }
                showAspectPanel("T\xC9RMINOS, DECANOS y D\xC9" "CADAS", lines);
            });
        }
        break;
    }
    case AnalysisButton::Structure:
        drawStructure();
        break;
    case AnalysisButton::Constitution: {
        static const char* const names[] = {"", "weave-elemental", "humoral-elemental", "weave-seasonal",
                                            "humoral-seasonal"};
        drawNamedView(names[step.view]);
        break;
    }
    case AnalysisButton::Aspects:
        if (step.view == 1) {
            drawChartWheel();
            showAspectPanel("ASPECTOS PLANETARIOS", aspectListLines(ws_.chart, ws_.orbs));
        } else if (step.view == 2) {
            drawAspectListText();
        } else {
            drawNamedView(step.view == 3 ? "grid-ecliptic" : "grid-spherical");
        }
        break;
    case AnalysisButton::Energies:
        drawNamedView(("affinities-" + n).c_str());
        break;
    case AnalysisButton::Antiscia:
        drawNamedView(("antiscia-" + n).c_str());
        break;
    case AnalysisButton::Dodecatemoria:
        drawNamedView("dodecatemoria");
        guarded(this, [&] {
            const auto lists = sectorLists(computeSectors(ws_.chart), SpecificTexts::load(ws_.root), true);
            std::vector<std::string> lines;
            for (const auto& l : lists) {
                if (!lines.empty()) lines.push_back("");
                lines.push_back(l.title);
                lines.insert(lines.end(), l.lines.begin(), l.lines.end());
            }
            showAspectPanel("DODECATEMORIAS", lines);
        });
        break;
    case AnalysisButton::Masters:
        drawMasters(step.view);
        break;
    case AnalysisButton::Powers:
        drawPowers();
        break;
    }
}

// ---- buttons and the mouse ------------------------------------------------------------

void AnalysisWindow::press(AnalysisButton b) {
    const AnalysisStep step = cycles_.press(b);
    if (b != AnalysisButton::Structure) ws_.analysisShowedStructure = false;
    hideViewPanels();
    clearArea();
    showMessage(step.message);
    showView(step);
}

void AnalysisWindow::hideViewPanels() {
    panel3_->hide();
    panelBase_->hide();
    panelCorv_->hide();
    panelSegnaPato_->hide();
    aspectTall_ = false;
}

void AnalysisWindow::areaPressed(QPoint p) {
    // A search in progress keeps the mouse.
    if (QApplication::activeModalWidget()) return;
    const DrawingState s = drawingState();
    if (const auto hit = findHit(structureHits_, s, p)) {
        structurePlanetClicked(hit->number);
        return;
    }
    if (const auto hit = findHit(wheelHits_, s, p)) {
        if (hit->kind == WheelHit::Kind::Body)
            bodyClicked(hit->number);
        else
            signClicked(hit->number);
    }
}

void AnalysisWindow::markGlyph(double y, double x) {
    paint([&](PageCanvas& c) {
        c.selectPen(2);
        c.releaseBrush();
        c.circle(4.6, y, x);
    });
}

void AnalysisWindow::bodyClicked(int body) {
    const GlyphStep step = cycles_.clickBody(body);
    panel3_->hide();
    panelBase_->show();
    setSelection(body, sign_);
    showGlyphPicture(planetGlyphFile(body, GlyphVariant::Colour));
    switch (step.action) {
    case GlyphAction::Texts:
        showBodyTexts(body);
        break;
    case GlyphAction::Plants:
        showLinked(body, 0);
        break;
    case GlyphAction::HidePlants:
        panelCorv_->hide();
        break;
    case GlyphAction::Antiscia:
        clearArea();
        drawChartWheel();
        paint([&](PageCanvas& c) {
            drawPointAntiscia(c, ws_.chart, WheelGeometry{}, ws_.chart.BodyLongitude[static_cast<size_t>(body)]);
        });
        break;
    }
    const WheelHitTable hits = wheelHits_;
    for (const WheelHit& h : hits)
        if (h.kind == WheelHit::Kind::Body && h.number == body) markGlyph(h.y, h.x);
    showMessage(step.message);
}

void AnalysisWindow::signClicked(int sign) {
    const GlyphStep step = cycles_.clickSign(sign);
    setSelection(body_, sign);
    showGlyphPicture(signGlyphFile(sign, 'M', GlyphVariant::Colour));
    switch (step.action) {
    case GlyphAction::Texts:
        panel3_->hide();
        panelBase_->show();
        showSignTexts(sign);
        break;
    case GlyphAction::Plants:
        showLinked(0, sign);
        break;
    case GlyphAction::HidePlants:
        panelCorv_->hide();
        break;
    case GlyphAction::Antiscia:
        clearArea();
        drawChartWheel();
        paint([&](PageCanvas& c) { drawPointAntiscia(c, ws_.chart, WheelGeometry{}, 30.0L * sign - 15.0L); });
        break;
    }
    const WheelHitTable hits = wheelHits_;
    for (const WheelHit& h : hits)
        if (h.kind == WheelHit::Kind::Sign && h.number == sign) markGlyph(h.y, h.x);
    showMessage(step.message);
}

void AnalysisWindow::structurePlanetClicked(int planet) {
    panel3_->hide();
    setSelection(planet, sign_);
    showGlyphPicture(planetGlyphFile(planet, GlyphVariant::Colour));
    showLinked(planet, 0);
    panelBase_->show();
    showBodyTexts(planet);
}

void AnalysisWindow::setSelection(int body, int sign) {
    if (body != body_ && body >= 1 && body <= 9) lbExtraPia_->setText(fromCp(signaturePlanetName(body)));
    if (sign != sign_ && sign >= 1) lbExtraSeg_->setText(fromCp(signatureSignName(sign)));
    body_ = body;
    sign_ = sign;
}

void AnalysisWindow::showGlyphPicture(const std::string& file) {
    guarded(this, [&] {
        const auto picture = EmfPicture::load(ws_.root.resolve(file));
        for (QLabel* l : {image1_, image2_}) {
            const int side = std::max(8, std::min(l->width(), l->height()));
            QPixmap pm(side, side);
            pm.fill(Qt::transparent);
            QPainter p(&pm);
            p.setRenderHint(QPainter::Antialiasing);
            picture->draw(p, QRectF(0, 0, side, side));
            p.end();
            l->setPixmap(pm);
        }
    });
}

// ---- texts ----------------------------------------------------------------------------

void AnalysisWindow::showBodyTexts(int body) {
    labL1_->setText(fromCp("ATRIBUCIONES ESPEC\xCD" "FICAS al PLANETA"));
    labL2_->setText(fromCp("ATRIBUCIONES GENERALES AL PLANETA"));
    memoL1_->clear();
    memoL2_->clear();
    guarded(this, [&] {
        std::vector<std::string> specific{bodyHeading(body, ws_.chart), ""};
        const auto codes = readLines(ws_.root.resolve(kPositionCodesFile));
        const auto texts = KeyedTexts::load(ws_.root, kPlanetSpecificFile, kPlanetTextLayout);
        for (const auto& line : bodySpecificParagraphs(body, codes, texts)) specific.push_back(line);
        setMemoLines(memoL1_, specific);
        const auto general = KeyedTexts::load(ws_.root, kPlanetGeneralFile, kPlanetTextLayout);
        const std::vector<std::string> lines{bodyCapitalName(body), "", joinedParagraph(bodyGeneralTexts(body, general))};
        setMemoLines(memoL2_, lines);
    });
}

void AnalysisWindow::showSignTexts(int sign) {
    labL1_->setText(fromCp("ATRIBUCIONES ESPEC\xCD" "FICAS al SIGNO"));
    labL2_->setText(fromCp("ATRIBUCIONES GENERALES al SIGNO"));
    memoL1_->clear();
    memoL2_->clear();
    guarded(this, [&] {
        std::vector<std::string> specific{signCapitalName(sign), ""};
        const auto codes = readLines(ws_.root.resolve(kSignCodeListFile));
        const auto texts = KeyedTexts::load(ws_.root, kSignSpecificFile, kSignSpecificLayout);
        for (const auto& line : signSpecificParagraphs(sign, codes, texts)) specific.push_back(line);
        setMemoLines(memoL1_, specific);
        const auto general = KeyedTexts::load(ws_.root, kSignGeneralFile, kSignGeneralLayout);
        const std::vector<std::string> lines{signCapitalName(sign), "", joinedParagraph(signGeneralTexts(sign, general))};
        setMemoLines(memoL2_, lines);
    });
}

void AnalysisWindow::showLinked(int body, int sign) {
    const bool plants = ws_.corvellMode;
    linkedBody_ = body;
    linkedSign_ = sign;
    labPianta_->setText(plants ? fromCp(std::string("PLANTAS de ") +
                                        (body ? bodyCapitalName(body) : signCapitalName(sign)))
                               : fromCp("REMEDIO asociado"));
    listPiante_->blockSignals(true);
    listPiante_->clear();
    comboPiante_->clear();
    labSintomi_->clear();
    memo3_->clear();
    memo4_->clear();
    panelCorv_->show();
    panelCorv_->raise();
    guarded(this, [&] {
        for (const auto& name : linkedNames(ws_.root, plants, body, sign)) {
            listPiante_->addItem(fromCp(name));
            comboPiante_->addItem(fromCp(name));
        }
    });
    listPiante_->blockSignals(false);
    if (listPiante_->count() > 0) listPiante_->setCurrentRow(0);
}

void AnalysisWindow::showLinkedDetails(int row) {
    if (row < 0 || row >= listPiante_->count()) return;
    const std::string name = toCp(listPiante_->item(row)->text());
    labSintomi_->setText(fromCp("S\xCDNTOMAS TRATABLES con " + name));
    guarded(this, [&] {
        const LinkedDetails d = linkedDetails(ws_.root, ws_.corvellMode, name);
        setMemoLines(memo3_, d.symptoms);
        setMemoLines(memo4_, d.description);
    });
}

void AnalysisWindow::showMessage(int section) {
    if (section <= 0) return;
    memo1_->clear();
    if (messages_) setMemoLines(memo1_, messages_->section(section));
    memo1_->moveCursor(QTextCursor::Start);
}

void AnalysisWindow::setMemoLines(QPlainTextEdit* memo, const std::vector<std::string>& lines) {
    QStringList all;
    for (const auto& l : lines) all << fromCp(l);
    memo->setPlainText(all.join('\n'));
    memo->moveCursor(QTextCursor::Start);
}

void AnalysisWindow::showAspectPanel(const std::string& title, const std::vector<std::string>& lines) {
    labAspetti_->setText(fromCp(title));
    setMemoLines(memoAspetti_, lines);
    panelBase_->hide();
    panel3_->show();
    panel3_->raise();
}

// ---- signature search -----------------------------------------------------------------

void AnalysisWindow::search() {
    const std::string planet = toCp(lbExtraPia_->text());
    const std::string sign = toCp(lbExtraSeg_->text());
    const bool remedies = searchClicks_ % 2 == 0;
    ++searchClicks_;
    labSegnaPato_->setText(fromCp(std::string(remedies ? "REMEDIOS" : "PATOLOG\xCD" "AS") + " con Signatura " +
                                  planet + "/" + sign));
    listExtra_->clear();
    panelCorv_->hide();
    panelSegnaPato_->show();
    panelSegnaPato_->raise();
    memoExtra_->clear();
    if (messages_) setMemoLines(memoExtra_, messages_->section(34));
    BusyCursor busy;
    guarded(this, [&] {
        const auto names = remedies ? signatureRemedyNames(ws_.root, planet, sign)
                                    : signaturePathologyNames(ws_.root, planet, sign);
        for (const auto& n : names) listExtra_->addItem(fromCp(n));
    });
}

// ---- memos ----------------------------------------------------------------------------

bool AnalysisWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == memo1_->viewport()) {
            memo1Tall_ = !memo1Tall_;
            layoutPanels();
            return true;
        }
        if (watched == memoAspetti_->viewport()) {
            aspectTall_ = !aspectTall_;
            layoutPanels();
            panel3_->raise();
            return true;
        }
        if (watched == memo3_->viewport()) {
            suGiu_->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace athanor
