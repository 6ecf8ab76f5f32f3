#include "ui/charts/AnalysisWindow.h"

#include "app/SubjectDisplay.h"
#include "app/Workstation.h"
#include "engine/ChartBuilder.h"
#include "foundations/Format.h"
#include "foundations/TextFile.h"
#include "graphics/AnalysisViews.h"
#include "graphics/EmfPlayer.h"
#include "graphics/GridDrawings.h"
#include "graphics/PageCanvas.h"
#include "graphics/PowerDrawings.h"
#include "graphics/SectorDrawings.h"
#include "graphics/StructureDrawing.h"
#include "graphics/TableDrawings.h"
#include "graphics/Views.h"
#include "interpretation/AnalysisKnowledge.h"
#include "interpretation/AspectViews.h"
#include "interpretation/NativityRuler.h"
#include "interpretation/Powers.h"
#include "interpretation/Sectors.h"
#include "knowledge/InterpretationTexts.h"
#include "knowledge/Signatures.h"
#include "subjects/DatiNasc.h"
#include "subjects/SubjectFiles.h"
#include "ui/common/PageWidget.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"
#include "ui/common/WindowSupport.h"

#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace athanor {

namespace names {
constexpr const char* kWindow = "FgrSpagy";
constexpr const char* kClient = "Client";
constexpr const char* kDrawingArea = "PaintBox1";
constexpr const char* kTextsPanel = "PanelBase";
constexpr const char* kTextsGlyph = "Image1";
constexpr const char* kSpecificTitle = "LabL1";
constexpr const char* kSpecificTexts = "MemoL1";
constexpr const char* kGeneralTitle = "LabL2";
constexpr const char* kGeneralTexts = "MemoL2";
constexpr const char* kAspectPanel = "Panel3";
constexpr const char* kAspectTitle = "LabAspetti";
constexpr const char* kAspectMemo = "MemoAspetti";
constexpr const char* kAspectFont = "BBFont";
constexpr const char* kAspectClose = "BBchiudiAsp";
constexpr const char* kDataPanel = "PanelDati";
constexpr const char* kDataFields[] = {"EdNome", "EdData", "EdLocal", "EdCoordi", "EdDomif", "EdNodo", "EdJd"};
constexpr const char* kInfo = "Memo1";
constexpr const char* kInfoFont = "BBsizeFont";
constexpr const char* kButtonPanel = "PanelPulsanti";
constexpr const char* kBack = "BBprivato";
constexpr const char* kChartRemedies = "BBRemTema";
constexpr const char* kLinkedPanel = "PanelCorv";
constexpr const char* kLinkedTitle = "LabPianta";
constexpr const char* kLinkedGlyph = "Image2";
constexpr const char* kLinkedList = "ListBoxPiante";
constexpr const char* kLinkedCombo = "ComboBoxPiante";
constexpr const char* kLinkedSpin = "SpinButton1";
constexpr const char* kSymptomsTitle = "LabSintomi";
constexpr const char* kSymptoms = "Memo3";
constexpr const char* kDescription = "Memo4";
constexpr const char* kWiden = "BBsuGiu";
constexpr const char* kLinkedFont = "BBFontCorv";
constexpr const char* kLinkedClose = "BBchiudiCorv";
constexpr const char* kSignaturePanel = "PanelExtra";
constexpr const char* kSignatureLabel = "LabExtra";
constexpr const char* kSignaturePlanet = "LbExtraPia";
constexpr const char* kSignatureSign = "LbExtraSeg";
constexpr const char* kSearch = "BBextraOk";
constexpr const char* kSearchPanel = "PanelSegnaPato";
constexpr const char* kSearchTitle = "LabSegnaPato";
constexpr const char* kSearchMemo = "MemoExtra";
constexpr const char* kSearchList = "ListBoxExtra";
constexpr const char* kSearchClose = "BBchiudiExtra";
}  // namespace names

namespace {

// Page units of the window's layout.
constexpr double kAreaWidth = 196, kAreaHeight = 196;
constexpr double kColumnLeft = 197, kColumnWidth = 82;  // right edge at 279
constexpr double kCentre = 100;                         // the wheel's centre

// The analysis buttons, two columns of five.
struct ButtonDef {
    const char* name;
    const char* caption;
    AnalysisButton button;
};
const ButtonDef kButtons[] = {
    {"BBcoordi", "Coordenadas Planetarias", AnalysisButton::Coordinates},
    {"BBarchetip", "Estructura arquet\xEDpica", AnalysisButton::Structure},
    {"BBstoffa", "Constituci\xF3n (Tela)", AnalysisButton::Constitution},
    {"BBaspetti", "Aspectos Planetarios", AnalysisButton::Aspects},
    {"BBEnergi", "Afinidades Energ\xE9teticas", AnalysisButton::Energies},
    {"BBantisce", "Antiscias y Contrantiscias", AnalysisButton::Antiscia},
    {"BBdodecate", "Dodecatemorias", AnalysisButton::Dodecatemoria},
    {"BBmaestri", "Maestros", AnalysisButton::Masters},
    {"BBtarquell", "Dominantes Tarquell", AnalysisButton::Powers},
};

const char* const kStyle =
    "QWidget#Client { background: black; }"
    "QFrame { background: #14141c; color: #e8e8e8; border: 1px solid #44485a; }"
    "QLabel { border: none; background: transparent; color: #ffd866; }"
    "QPlainTextEdit, QListWidget { background: black; color: #e8e8e8; border: 1px solid #44485a; }"
    "QLineEdit { background: #008080; color: white; border: none; }"
    "QPushButton, QToolButton { background: #2c3040; color: white; border: 1px solid #6a7090; padding: 1px 4px; }"
    "QPushButton:pressed, QToolButton:pressed { background: #505878; }"
    "QComboBox { background: #2c3040; color: white; }";

// A boxed panel of the window.
QFrame* boxPanel(QWidget* parent, const char* name) { return widgets::panel(parent, name, QFrame::Box); }

QHBoxLayout* hbox(std::initializer_list<QWidget*> widgets) {
    auto* r = new QHBoxLayout;
    for (QWidget* w : widgets) r->addWidget(w);
    return r;
}

}  // namespace

AnalysisWindow::AnalysisWindow(Workstation& ws, QWidget* parent) : QWidget(parent), ws_(ws) {
    setObjectName(names::kWindow);
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
    client_ = widgets::named<QWidget>(this, names::kClient);
    client_->setStyleSheet(kStyle);
    drawingArea_ = widgets::named<PageWidget>(client_, names::kDrawingArea);
    drawingArea_->onPress = [this](QMouseEvent* e) { areaPressed(e->position().toPoint()); };
    buildTextsPanel();
    buildAspectPanel();
    buildDataPanel();
    buildInfoMemo();
    buildButtonPanel();
    buildLinkedPanel();
    buildSignaturePanel();
    buildSearchPanel();
}

// The interpretation texts of a planet or a sign, with its glyph.
void AnalysisWindow::buildTextsPanel() {
    textsPanel_ = boxPanel(client_, names::kTextsPanel);
    textsGlyph_ = widgets::label(textsPanel_, "", names::kTextsGlyph);
    textsGlyph_->setAlignment(Qt::AlignCenter);
    specificTitle_ = widgets::label(textsPanel_,
                                    "ATRIBUCIONES ESPEC\xCD"
                                    "FICAS al PLANETA",
                                    names::kSpecificTitle);
    specificTexts_ = widgets::memo(textsPanel_, names::kSpecificTexts);
    generalTitle_ = widgets::label(textsPanel_, "ATRIBUCIONES GENERALES AL PLANETA", names::kGeneralTitle);
    generalTexts_ = widgets::memo(textsPanel_, names::kGeneralTexts);
    auto* head = hbox({textsGlyph_, specificTitle_});
    head->setAlignment(specificTitle_, Qt::AlignTop);
    auto* layout = new QVBoxLayout(textsPanel_);
    layout->addLayout(head);
    layout->addWidget(specificTexts_, 46);
    layout->addWidget(generalTitle_);
    layout->addWidget(generalTexts_, 28);
    textsPanel_->hide();
}

void AnalysisWindow::buildAspectPanel() {
    aspectPanel_ = boxPanel(client_, names::kAspectPanel);
    aspectTitle_ = widgets::label(aspectPanel_, "", names::kAspectTitle);
    aspectMemo_ = widgets::memo(aspectPanel_, names::kAspectMemo);
    aspectMemo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    aspectMemo_->viewport()->installEventFilter(this);
    aspectFontButton_ = widgets::button(aspectPanel_, names::kAspectFont, "Font +");
    auto* close = widgets::button(aspectPanel_, names::kAspectClose, "Cerrar");
    connect(aspectFontButton_, &QPushButton::clicked, this, [this] {
        bigAspectFont_ = !bigAspectFont_;
        aspectFontButton_->setText(bigAspectFont_ ? "Font -" : "Font +");
        layoutPanels();
    });
    connect(close, &QPushButton::clicked, aspectPanel_, &QWidget::hide);
    auto* head = hbox({aspectTitle_, aspectFontButton_, close});
    head->setStretch(0, 1);
    auto* layout = new QVBoxLayout(aspectPanel_);
    layout->addLayout(head);
    layout->addWidget(aspectMemo_, 1);
    aspectPanel_->hide();
}

// The subject's data, shown, not edited.
void AnalysisWindow::buildDataPanel() {
    dataPanel_ = boxPanel(client_, names::kDataPanel);
    QLineEdit** fields[] = {&nameField_,        &dateField_, &placeField_,    &coordField_,
                            &houseSystemField_, &nodeField_, &julianDayField_};
    auto* layout = new QVBoxLayout(dataPanel_);
    for (size_t i = 0; i < std::size(fields); ++i) {
        QLineEdit* e = widgets::field(dataPanel_, names::kDataFields[i], 0, true);
        e->setFocusPolicy(Qt::NoFocus);
        e->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(e);
        *fields[i] = e;
    }
}

// The messages that explain each view; a double click makes the memo tall.
void AnalysisWindow::buildInfoMemo() {
    infoMemo_ = widgets::memo(client_, names::kInfo);
    infoMemo_->viewport()->installEventFilter(this);
    infoFontButton_ = widgets::named<QToolButton>(client_, names::kInfoFont);
    infoFontButton_->setText("A+");
    infoFontButton_->setToolTip(fromCp("Tama\xF1o de la letra"));
    connect(infoFontButton_, &QToolButton::clicked, this, [this] {
        bigInfoFont_ = !bigInfoFont_;
        infoFontButton_->setText(bigInfoFont_ ? QStringLiteral("A-") : QStringLiteral("A+"));
        layoutPanels();
    });
}

void AnalysisWindow::buildButtonPanel() {
    // Escape leaves, as "Volver" does.
    auto* leave = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(leave, &QShortcut::activated, this, &QWidget::close);
    buttonPanel_ = boxPanel(client_, names::kButtonPanel);
    auto* grid = new QGridLayout(buttonPanel_);
    int i = 0;
    for (const ButtonDef& b : kButtons) {
        auto* button = widgets::button(buttonPanel_, b.name, b.caption);
        const AnalysisButton which = b.button;
        connect(button, &QPushButton::clicked, this, [this, which] { press(which); });
        grid->addWidget(button, i / 2, i % 2);
        viewButtons_.push_back(button);
        ++i;
    }
    // From the chart's weaknesses to the remedies that answer them.
    auto* remedies = widgets::button(buttonPanel_, names::kChartRemedies, "Remedios para el tema");
    connect(remedies, &QPushButton::clicked, this, [this] {
        if (chartRemediesAction_) chartRemediesAction_();
    });
    grid->addWidget(remedies, i / 2, i % 2);
    viewButtons_.push_back(remedies);
    ++i;
    auto* back = widgets::button(buttonPanel_, names::kBack, "Volver");
    connect(back, &QPushButton::clicked, this, &QWidget::close);
    grid->addWidget(back, i / 2, i % 2);
    viewButtons_.push_back(back);
    for (QPushButton* b : viewButtons_) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }
}

// The plants or remedies of the glyph clicked, with the symptoms they treat.
void AnalysisWindow::buildLinkedPanel() {
    linkedPanel_ = boxPanel(client_, names::kLinkedPanel);
    linkedTitle_ = widgets::label(linkedPanel_, "", names::kLinkedTitle);
    linkedGlyph_ = widgets::label(linkedPanel_, "", names::kLinkedGlyph);
    linkedGlyph_->setAlignment(Qt::AlignCenter);
    linkedList_ = widgets::named<QListWidget>(linkedPanel_, names::kLinkedList);
    linkedCombo_ = widgets::named<QComboBox>(linkedPanel_, names::kLinkedCombo);
    auto* spin = widgets::spinButton(
        linkedPanel_, names::kLinkedSpin,
        [this] {
            if (linkedList_->currentRow() > 0) linkedList_->setCurrentRow(linkedList_->currentRow() - 1);
        },
        [this] {
            if (linkedList_->currentRow() + 1 < linkedList_->count())
                linkedList_->setCurrentRow(linkedList_->currentRow() + 1);
        });
    symptomsTitle_ = widgets::label(linkedPanel_, "", names::kSymptomsTitle);
    symptomsTitle_->setWordWrap(true);
    symptomsMemo_ = widgets::memo(linkedPanel_, names::kSymptoms);
    symptomsMemo_->viewport()->installEventFilter(this);
    descriptionMemo_ = widgets::memo(linkedPanel_, names::kDescription);
    widenButton_ = widgets::button(linkedPanel_, names::kWiden, "Ensancha");
    linkedFontButton_ = widgets::button(linkedPanel_, names::kLinkedFont, "Font +");
    auto* close = widgets::button(linkedPanel_, names::kLinkedClose, "Cerrar");

    auto* head = hbox({linkedTitle_, linkedGlyph_});
    head->setStretch(0, 1);
    head->setAlignment(linkedTitle_, Qt::AlignTop);
    auto* choice = hbox({linkedCombo_, spin});
    choice->setStretch(0, 1);
    auto* layout = new QVBoxLayout(linkedPanel_);
    layout->addLayout(head);
    layout->addWidget(linkedList_, 4);
    layout->addLayout(choice);
    layout->addWidget(symptomsTitle_);
    layout->addWidget(symptomsMemo_, 5);
    layout->addWidget(descriptionMemo_, 6);
    layout->addLayout(hbox({widenButton_, linkedFontButton_, close}));
    connectLinkedPanel(close);
    linkedPanel_->hide();
}

void AnalysisWindow::connectLinkedPanel(QPushButton* close) {
    connect(linkedList_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (linkedCombo_->currentIndex() != row) linkedCombo_->setCurrentIndex(row);
        showLinkedDetails(row);
    });
    connect(linkedCombo_, &QComboBox::activated, this, [this](int row) { linkedList_->setCurrentRow(row); });
    connect(widenButton_, &QPushButton::clicked, this, [this] {
        symptomsTall_ = !symptomsTall_;
        widenButton_->setText(symptomsTall_ ? "Anterior" : "Ensancha");
        layoutPanels();
    });
    connect(linkedFontButton_, &QPushButton::clicked, this, [this] {
        bigLinkedFont_ = !bigLinkedFont_;
        linkedFontButton_->setText(bigLinkedFont_ ? "Font -" : "Font +");
        layoutPanels();
    });
    connect(close, &QPushButton::clicked, linkedPanel_, &QWidget::hide);
}

// The signature of the search: a planet and a sign, "any" by a click on either.
void AnalysisWindow::buildSignaturePanel() {
    signaturePanel_ = boxPanel(client_, names::kSignaturePanel);
    auto* caption = widgets::label(signaturePanel_, "Signatura:", names::kSignatureLabel);
    signaturePlanet_ = widgets::button(signaturePanel_, names::kSignaturePlanet, kAnyCriterion);
    signatureSign_ = widgets::button(signaturePanel_, names::kSignatureSign, kAnyCriterion);
    signaturePlanet_->setToolTip(fromCp("Clic: cualquier planeta"));
    signatureSign_->setToolTip(fromCp("Clic: cualquier signo"));
    auto* search = widgets::button(signaturePanel_, names::kSearch, "Buscar");
    connect(signaturePlanet_, &QPushButton::clicked, this,
            [this] { signaturePlanet_->setText(fromCp(kAnyCriterion)); });
    connect(signatureSign_, &QPushButton::clicked, this, [this] { signatureSign_->setText(fromCp(kAnyCriterion)); });
    connect(search, &QPushButton::clicked, this, [this] { this->search(); });
    // Widths in the proportions of the strip's page units.
    auto* layout = new QHBoxLayout(signaturePanel_);
    layout->addWidget(caption, 22);
    layout->addWidget(signaturePlanet_, 55);
    layout->addWidget(signatureSign_, 55);
    layout->addStretch(23);
    layout->addWidget(search, 32);
    for (QPushButton* b : {signaturePlanet_, signatureSign_, search})
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

// The remedies or pathologies the signature finds.
void AnalysisWindow::buildSearchPanel() {
    searchPanel_ = boxPanel(client_, names::kSearchPanel);
    searchTitle_ = widgets::label(searchPanel_, "", names::kSearchTitle);
    searchTitle_->setWordWrap(true);
    searchMemo_ = widgets::memo(searchPanel_, names::kSearchMemo);
    searchList_ = widgets::named<QListWidget>(searchPanel_, names::kSearchList);
    auto* close = widgets::button(searchPanel_, names::kSearchClose, "Cerrar");
    connect(close, &QPushButton::clicked, this, [this] {
        searchPanel_->hide();
        clearArea();
        drawChartWheel();
    });
    auto* layout = new QVBoxLayout(searchPanel_);
    layout->addWidget(searchTitle_);
    layout->addWidget(searchMemo_, 1);
    layout->addWidget(searchList_, 2);
    layout->addWidget(close, 0, Qt::AlignRight);
    searchPanel_->hide();
}

// ---- layout ---------------------------------------------------------------------------

void AnalysisWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutPanels();
}

// The drawing is made in page units at the window's scale. The panels are placed in the
// same units so that the column beside the drawing keeps its height and the panels that
// grow (the tall memos) or show on demand lie over the others; what is inside a panel is
// laid out by its own layout.
void AnalysisWindow::layoutPanels() {
    client_->setGeometry(rect());
    scale_ = std::max(1.0, std::min(height() / 203.0, width() / 280.0));
    const double s = scale_;
    const auto units = [s](double top, double left, double h, double w) {
        return QRect(static_cast<int>(std::lround(left * s)), static_cast<int>(std::lround(top * s)),
                     static_cast<int>(std::lround(w * s)), static_cast<int>(std::lround(h * s)));
    };
    drawingArea_->setGeometry(units(0, 0, kAreaHeight, kAreaWidth));

    // The column beside the drawing: texts or aspects, data, messages, buttons.
    textsPanel_->setGeometry(units(1.3, kColumnLeft, 92, kColumnWidth));
    aspectPanel_->setGeometry(units(1.3, kColumnLeft, aspectTall_ ? 198 : 92, kColumnWidth));
    dataPanel_->setGeometry(units(94, kColumnLeft, 38.7, kColumnWidth));
    infoMemo_->setGeometry(infoTall_ ? units(1.3, kColumnLeft, 167.7, kColumnWidth - 6)
                                     : units(133.5, kColumnLeft, 35.5, kColumnWidth - 6));
    if (infoTall_) infoMemo_->raise();
    infoFontButton_->setGeometry(units(133.5, kColumnLeft + kColumnWidth - 5.5, 5, 5.5));
    buttonPanel_->setGeometry(units(170, kColumnLeft, 32, kColumnWidth));
    // The signature strip under the drawing.
    signaturePanel_->setGeometry(units(196.5, 1, 6, 194));
    // Plants or remedies and the signature results: beside the column when the screen is
    // wide enough, otherwise over the right half of the drawing.
    const double spare = width() / s - 280;
    const QRect side = spare >= 60 ? units(1.3, 280, 200, spare - 1) : units(1.3, 110, 194, 86);
    linkedPanel_->setGeometry(side);
    searchPanel_->setGeometry(side);
    descriptionMemo_->setVisible(!symptomsTall_);
    scalePanels();
}

// Fonts, margins and the glyphs' size follow the scale.
void AnalysisWindow::scalePanels() {
    const double s = scale_;
    const int fontPx = std::max(10, static_cast<int>(std::lround(s * 2.3)));
    QFont f = font();
    f.setPixelSize(fontPx);
    setFont(f);
    const auto sized = [&](QWidget* w, double factor) {
        QFont g = w->font();
        g.setPixelSize(std::max(9, static_cast<int>(std::lround(fontPx * factor))));
        w->setFont(g);
    };
    sized(infoMemo_, bigInfoFont_ ? 1.3 : 1.0);
    sized(aspectMemo_, bigAspectFont_ ? 1.3 : 1.0);
    for (QWidget* w : std::initializer_list<QWidget*>{linkedList_, symptomsMemo_, descriptionMemo_, linkedCombo_})
        sized(w, bigLinkedFont_ ? 1.3 : 1.0);
    for (QPushButton* b : viewButtons_) sized(b, 0.86);

    const QSize glyph(static_cast<int>(std::lround(10 * s)), static_cast<int>(std::lround(9 * s)));
    textsGlyph_->setFixedSize(glyph);
    linkedGlyph_->setFixedSize(glyph);
    const int margin = static_cast<int>(std::lround(s));
    const int spacing = static_cast<int>(std::lround(0.6 * s));
    for (QFrame* p :
         {textsPanel_, aspectPanel_, dataPanel_, buttonPanel_, linkedPanel_, signaturePanel_, searchPanel_}) {
        p->layout()->setContentsMargins(margin, margin, margin, margin);
        p->layout()->setSpacing(spacing);
        // Now, not at the next event: the windows' callers read the sizes at once.
        p->layout()->activate();
    }
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
    signaturePlanet_->setText(fromCp(kAnyCriterion));
    signatureSign_->setText(fromCp(kAnyCriterion));
    cycles_.reset();
    searchClicks_ = 0;
    wheelHits_.clear();
    structureHits_.clear();
    textsPanel_->hide();
    aspectPanel_->hide();
    linkedPanel_->hide();
    searchPanel_->hide();
    messages_.reset();
    guarded(this, [&] { messages_ = std::make_unique<MessageSections>(MessageSections::load(ws_.root)); });
    hourValid_ = guarded(this, [&] { hour_ = computePlanetaryHour(ws_.chart, *ws_.corrections); });
    showInfoSection(1);
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
        nameField_->setText(fromCp(lines[0]));
        dateField_->setText(fromCp(stamp.dateTime + (subject.record.gregorian() ? "" : " Calend. Giuliano")));
        const std::string warning = impossibleDateWarning(subject);
        if (!warning.empty()) dateField_->setText(dateField_->text() + QStringLiteral("  (fecha inexistente)"));
        dateField_->setToolTip(fromCp(warning));
        placeField_->setText(fromCp(locality + " - " + subject.record.country));
        coordField_->setText(fromCp(subject.record.coordText()));
    });
    houseSystemField_->setText(fromCp(ws_.chart.HouseSystem));
    nodeField_->setText(fromCp(ws_.chart.NodeKind));
    julianDayField_->setText(QString::number(static_cast<double>(ws_.chart.ChartJulianDay), 'g', 12));
    for (QLineEdit* e : {nameField_, dateField_, placeField_, coordField_}) e->setCursorPosition(0);
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
    drawingArea_->clear(Qt::black);
    wheelHits_.clear();
    structureHits_.clear();
}

template <class Fn>
void AnalysisWindow::paint(Fn&& fn) {
    QPainter painter(&drawingArea_->picture());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const DrawingState state = drawingState();
    PageCanvas canvas(painter, state, &ws_.root);
    guarded(this, [&] { fn(canvas); });
    painter.end();
    drawingArea_->update();
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
    infoMemo_->appendPlainText(fromCp(std::string("\nDominante: ") + dominantName(powers.dominant)));
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
        if (step.view == 1)
            showSectorLists("T\xC9RMINOS, DECANOS y D\xC9"
                            "CADAS",
                            false);
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
        showSectorLists("DODECATEMORIAS", true);
        break;
    case AnalysisButton::Masters:
        drawMasters(step.view);
        break;
    case AnalysisButton::Powers:
        drawPowers();
        break;
    }
}

// The sector lists in the aspect panel, one after the other.
void AnalysisWindow::showSectorLists(const std::string& title, bool dodecatemoria) {
    guarded(this, [&] {
        const auto lists = sectorLists(computeSectors(ws_.chart), SpecificTexts::load(ws_.root), dodecatemoria);
        std::vector<std::string> lines;
        for (const auto& l : lists) {
            if (!lines.empty()) lines.push_back("");
            lines.push_back(l.title);
            lines.insert(lines.end(), l.lines.begin(), l.lines.end());
        }
        showAspectPanel(title, lines);
    });
}

// ---- buttons and the mouse ------------------------------------------------------------

void AnalysisWindow::press(AnalysisButton b) {
    const AnalysisStep step = cycles_.press(b);
    if (b != AnalysisButton::Structure) ws_.analysisShowedStructure = false;
    hideViewPanels();
    clearArea();
    showInfoSection(step.message);
    showView(step);
}

void AnalysisWindow::hideViewPanels() {
    aspectPanel_->hide();
    textsPanel_->hide();
    linkedPanel_->hide();
    searchPanel_->hide();
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
        if (hit->kind == WheelHit::Kind::Body) bodyClicked(hit->number);
        else signClicked(hit->number);
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
    aspectPanel_->hide();
    textsPanel_->show();
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
        linkedPanel_->hide();
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
    showInfoSection(step.message);
}

void AnalysisWindow::signClicked(int sign) {
    const GlyphStep step = cycles_.clickSign(sign);
    setSelection(body_, sign);
    showGlyphPicture(signGlyphFile(sign, 'M', GlyphVariant::Colour));
    switch (step.action) {
    case GlyphAction::Texts:
        aspectPanel_->hide();
        textsPanel_->show();
        showSignTexts(sign);
        break;
    case GlyphAction::Plants:
        showLinked(0, sign);
        break;
    case GlyphAction::HidePlants:
        linkedPanel_->hide();
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
    showInfoSection(step.message);
}

void AnalysisWindow::structurePlanetClicked(int planet) {
    aspectPanel_->hide();
    setSelection(planet, sign_);
    showGlyphPicture(planetGlyphFile(planet, GlyphVariant::Colour));
    showLinked(planet, 0);
    textsPanel_->show();
    showBodyTexts(planet);
}

void AnalysisWindow::setSelection(int body, int sign) {
    if (body != body_ && body >= 1 && body <= 9) signaturePlanet_->setText(fromCp(signaturePlanetName(body)));
    if (sign != sign_ && sign >= 1) signatureSign_->setText(fromCp(signatureSignName(sign)));
    body_ = body;
    sign_ = sign;
}

void AnalysisWindow::showGlyphPicture(const std::string& file) {
    guarded(this, [&] {
        const auto picture = EmfPicture::load(ws_.root.resolve(file));
        for (QLabel* l : {textsGlyph_, linkedGlyph_}) {
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
    specificTitle_->setText(fromCp("ATRIBUCIONES ESPEC\xCD"
                                   "FICAS al PLANETA"));
    generalTitle_->setText(fromCp("ATRIBUCIONES GENERALES AL PLANETA"));
    specificTexts_->clear();
    generalTexts_->clear();
    guarded(this, [&] {
        std::vector<std::string> specific{bodyHeading(body, ws_.chart), ""};
        const auto codes = readLines(ws_.root.resolve(kPositionCodesFile));
        const auto texts = KeyedTexts::load(ws_.root, kPlanetSpecificFile, kPlanetTextLayout);
        for (const auto& line : bodySpecificParagraphs(body, codes, texts)) specific.push_back(line);
        setMemoLines(specificTexts_, specific);
        const auto general = KeyedTexts::load(ws_.root, kPlanetGeneralFile, kPlanetTextLayout);
        const std::vector<std::string> lines{bodyCapitalName(body), "",
                                             joinedParagraph(bodyGeneralTexts(body, general))};
        setMemoLines(generalTexts_, lines);
    });
}

void AnalysisWindow::showSignTexts(int sign) {
    specificTitle_->setText(fromCp("ATRIBUCIONES ESPEC\xCD"
                                   "FICAS al SIGNO"));
    generalTitle_->setText(fromCp("ATRIBUCIONES GENERALES al SIGNO"));
    specificTexts_->clear();
    generalTexts_->clear();
    guarded(this, [&] {
        std::vector<std::string> specific{signCapitalName(sign), ""};
        const auto codes = readLines(ws_.root.resolve(kSignCodeListFile));
        const auto texts = KeyedTexts::load(ws_.root, kSignSpecificFile, kSignSpecificLayout);
        for (const auto& line : signSpecificParagraphs(sign, codes, texts)) specific.push_back(line);
        setMemoLines(specificTexts_, specific);
        const auto general = KeyedTexts::load(ws_.root, kSignGeneralFile, kSignGeneralLayout);
        const std::vector<std::string> lines{signCapitalName(sign), "",
                                             joinedParagraph(signGeneralTexts(sign, general))};
        setMemoLines(generalTexts_, lines);
    });
}

void AnalysisWindow::showLinked(int body, int sign) {
    const bool plants = ws_.corvellMode;
    linkedBody_ = body;
    linkedSign_ = sign;
    linkedTitle_->setText(
        plants ? fromCp(std::string("PLANTAS de ") + (body ? bodyCapitalName(body) : signCapitalName(sign)))
               : fromCp("REMEDIO asociado"));
    linkedList_->blockSignals(true);
    linkedList_->clear();
    linkedCombo_->clear();
    symptomsTitle_->clear();
    symptomsMemo_->clear();
    descriptionMemo_->clear();
    linkedPanel_->show();
    linkedPanel_->raise();
    guarded(this, [&] {
        for (const auto& name : linkedNames(ws_.root, plants, body, sign)) {
            linkedList_->addItem(fromCp(name));
            linkedCombo_->addItem(fromCp(name));
        }
    });
    linkedList_->blockSignals(false);
    if (linkedList_->count() > 0) linkedList_->setCurrentRow(0);
}

void AnalysisWindow::showLinkedDetails(int row) {
    if (row < 0 || row >= linkedList_->count()) return;
    const std::string name = toCp(linkedList_->item(row)->text());
    symptomsTitle_->setText(fromCp("S\xCDNTOMAS TRATABLES con " + name));
    guarded(this, [&] {
        const LinkedDetails d = linkedDetails(ws_.root, ws_.corvellMode, name);
        setMemoLines(symptomsMemo_, d.symptoms);
        setMemoLines(descriptionMemo_, d.description);
    });
}

void AnalysisWindow::showInfoSection(int section) {
    if (section <= 0) return;
    infoMemo_->clear();
    if (messages_) setMemoLines(infoMemo_, messages_->section(section));
    infoMemo_->moveCursor(QTextCursor::Start);
}

void AnalysisWindow::setMemoLines(QPlainTextEdit* memo, const std::vector<std::string>& lines) {
    QStringList all;
    for (const auto& l : lines) all << fromCp(l);
    memo->setPlainText(all.join('\n'));
    memo->moveCursor(QTextCursor::Start);
}

void AnalysisWindow::showAspectPanel(const std::string& title, const std::vector<std::string>& lines) {
    aspectTitle_->setText(fromCp(title));
    setMemoLines(aspectMemo_, lines);
    textsPanel_->hide();
    aspectPanel_->show();
    aspectPanel_->raise();
}

// ---- signature search -----------------------------------------------------------------

void AnalysisWindow::search() {
    const std::string planet = toCp(signaturePlanet_->text());
    const std::string sign = toCp(signatureSign_->text());
    const bool remedies = searchClicks_ % 2 == 0;
    ++searchClicks_;
    searchTitle_->setText(fromCp(std::string(remedies ? "REMEDIOS"
                                                      : "PATOLOG\xCD"
                                                        "AS") +
                                 " con Signatura " + planet + "/" + sign));
    searchList_->clear();
    linkedPanel_->hide();
    searchPanel_->show();
    searchPanel_->raise();
    searchMemo_->clear();
    if (messages_) setMemoLines(searchMemo_, messages_->section(34));
    BusyCursor busy;
    guarded(this, [&] {
        const auto names =
            remedies ? signatureRemedyNames(ws_.root, planet, sign) : signaturePathologyNames(ws_.root, planet, sign);
        for (const auto& n : names) searchList_->addItem(fromCp(n));
    });
}

// ---- memos ----------------------------------------------------------------------------

bool AnalysisWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == infoMemo_->viewport()) {
            infoTall_ = !infoTall_;
            layoutPanels();
            return true;
        }
        if (watched == aspectMemo_->viewport()) {
            aspectTall_ = !aspectTall_;
            layoutPanels();
            aspectPanel_->raise();
            return true;
        }
        if (watched == symptomsMemo_->viewport()) {
            widenButton_->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace athanor
