#include "ui/shell/MainWindow.h"

#include "app/AccessCodes.h"
#include "app/FileMessages.h"
#include "app/SubjectDisplay.h"
#include "foundations/Calendar.h"
#include "foundations/TextFile.h"
#include "interpretation/OrbFiles.h"
#include "subjects/Archive.h"
#include "subjects/SubjectChart.h"
#include "subjects/SubjectFiles.h"
#include "ui/backup/BackupWiring.h"
#include "ui/charts/ChartWindowsWiring.h"
#include "ui/kbkeeping/KeepingWiring.h"
#include "ui/common/JpegImage.h"
#include "ui/common/Pictures.h"
#include "ui/common/TextEditorWindow.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"
#include "ui/knowledge/ConsultationWiring.h"
#include "ui/knowledge/SignatureWiring.h"
#include "ui/orbs/OrbEditorDialog.h"
#include "ui/shell/ManualChooserDialog.h"
#include "ui/shell/PractitionerNameDialog.h"
#include "ui/subjects/BirthEntryDialog.h"
#include "ui/subjects/DeleteSubjectDialog.h"
#include "ui/subjects/ModifySubjectDialog.h"
#include "ui/subjects/RetrieveSubjectDialog.h"
#include "ui/subjects/SaveSubjectDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDialog>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace athanor {

namespace names {
constexpr const char* kWindow = "FoSpagyr";
constexpr const char* kClientArea = "ClientArea";
// The banner and what lies on it.
constexpr const char* kBanner = "Image1";
constexpr const char* kCodeStrip = "SBpass";
constexpr const char* kCodeField = "EdPass";
constexpr const char* kLoginList = "Cbox1";
constexpr const char* kPractitioner = "BitBtnNomeCognome";
constexpr const char* kUpdate = "EdAggiorna";
constexpr const char* kBooklet = "BBdispensa";
constexpr const char* kManuals = "BBistruz";
// The pages.
constexpr const char* kPages = "PageControl1";
constexpr const char* kAstrologyPage = "TabSheet1";
constexpr const char* kSubject = "MemoDati";
constexpr const char* kSubjectNotes = "MemoAnnotaz";
constexpr const char* kRetrieve = "BitBtnDati";
constexpr const char* kEntry = "BitBtnInputA";
constexpr const char* kDelete = "BitBtnCancel";
constexpr const char* kModify = "BitBtn1";
constexpr const char* kAnalysis = "BBProped";
constexpr const char* kChartsBox = "GroupBox1";
constexpr const char* kHorizontal1 = "BBOriz";
constexpr const char* kHorizontal2 = "BBoriz2";
constexpr const char* kVertical1 = "BBVert";
constexpr const char* kVertical2 = "BBvert2";
constexpr const char* kRemediesPage = "TabSheet2";
constexpr const char* kSymptoms = "BBSintomi";
constexpr const char* kChartRemedies = "BBRemTema";
constexpr const char* kRemedies = "BitBtn2";
constexpr const char* kTherapies = "BitBtn3";
constexpr const char* kPlants1 = "Bcorv1";
constexpr const char* kPlants2 = "Bcorv2";
constexpr const char* kPrimaryDatabase = "BitBtn4";
constexpr const char* kTherapyDatabase = "BBaggRep";
constexpr const char* kSignatures = "BitBtn5";
constexpr const char* kWeaknesses = "BitBtn6";
constexpr const char* kPlantsAndIngredients = "BitBtn7";
constexpr const char* kPsychicSynthesis = "BitBtn9";
constexpr const char* kMultipleSymptoms = "BBriceCompo";
constexpr const char* kCompositeTherapies = "BitBtn10";
constexpr const char* kMaintenance = "Button1";
constexpr const char* kPrinciples = "BitBtn8";
constexpr const char* kAccessoryPage = "TabSheet3";
constexpr const char* kOrbEditor = "BitBtnVarOrbAsp";
constexpr const char* kCircles = "BBCerchio";
constexpr const char* kLines = "BitBtn22";
constexpr const char* kSearchUtility = "BButility";
constexpr const char* kBackup = "BBSalva";
constexpr const char* kCheck = "Button2";
// The chart options.
constexpr const char* kOptionsPanel = "Panel9";
constexpr const char* kOrbSet = "ComboOrb";
constexpr const char* kNode = "ComboNodo";
constexpr const char* kLock = "BBlk";
constexpr const char* kPrinterType = "SBtipoStamp";
constexpr const char* kOpenText = "BBApriTesto";
constexpr const char* kExit = "Image9";
// The password panel.
constexpr const char* kPasswordPanel = "PanelPass";
constexpr const char* kPasswordStars = "PanMainPass";
constexpr const char* kPassword = "EdMainPass1";
constexpr const char* kEnter = "BBok";
constexpr const char* kInitialPasswordNote = "LabPivona";
constexpr const char* kNewPassword = "EdNewPass";
constexpr const char* kSavePassword = "BBokRegi";
}  // namespace names

namespace {

const char* const kOrbCaptions[] = {"A (normali)", "B (personali)", "C (personali)"};

QPixmap pictureOr(const DataRoot& root, const char* file, const QImage& fallback) {
    QImage img(QString::fromStdString(root.resolve(file).string()));
    return QPixmap::fromImage(img.isNull() ? fallback : img);
}

// A row of widgets centred between two stretches.
QHBoxLayout* centredRow(std::initializer_list<QWidget*> widgets, int spacing) {
    auto* row = new QHBoxLayout;
    row->setSpacing(spacing);
    row->addStretch();
    for (QWidget* w : widgets) row->addWidget(w);
    row->addStretch();
    return row;
}

}  // namespace

MainWindow::MainWindow(DataRoot root, QWidget* parent) : QMainWindow(parent), ws_(std::move(root)) {
    setObjectName(names::kWindow);
    setWindowTitle(fromCp("Athanor - Medicina Espag\xEDrica"));
    auto* central = widgets::named<QWidget>(this, names::kClientArea);
    setCentralWidget(central);
    auto* top = new QHBoxLayout;
    top->setSpacing(6);
    top->addWidget(buildBanner(central), 0, Qt::AlignLeft);
    top->addLayout(buildTopButtons(central), 1);
    // The password panel covers the pages and the options until the login.
    auto* bottom = new QGridLayout;
    bottom->setHorizontalSpacing(4);
    bottom->addWidget(buildPages(central), 0, 0);
    bottom->addWidget(buildOptionsPanel(central), 0, 1);
    bottom->addWidget(buildPasswordPanel(central), 0, 0, 1, 2);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addLayout(bottom, 1);
    setFixedSize(636, 453);

    // The later windows, created hidden as the program starts.
    practitionerDialog_ = new PractitionerNameDialog(ws_, this);
    manualChooser_ = new ManualChooserDialog(ws_, this);
    orbEditor_ = new OrbEditorDialog(ws_, this);
    connect(orbEditor_, &OrbEditorDialog::setAdopted, this, &MainWindow::showOrbSetCaption);
    retrieveDialog_ = new RetrieveSubjectDialog(ws_, this);
    saveDialog_ = new SaveSubjectDialog(ws_, this);
    birthEntry_ = new BirthEntryDialog(ws_, saveDialog_, this, this);
    deleteDialog_ = new DeleteSubjectDialog(ws_, this);
    modifyDialog_ = new ModifySubjectDialog(ws_, this);
    connectActions();
    wireChartWindows(*this);
    wireConsultationWindows(*this);
    wireSignatureWindows(*this);
    wireKeepingWindows(*this);
    wireBackupWindows(*this);
    built_ = true;
}

MainWindow::~MainWindow() { IdleHandler::remove(this); }

// ---- building ----------------------------------------------------------------------

// The banner, with the code field, the login list and the strip that shows the code field
// lying over it at fixed places of the picture.
QWidget* MainWindow::buildBanner(QWidget* central) {
    banner_ = widgets::named<QLabel>(central, names::kBanner);
    QImage picture = readJpegFile(ws_.root.resolve(kBannerFile));
    if (picture.isNull()) picture = drawBanner();
    banner_->setPixmap(QPixmap::fromImage(picture.scaled(kBannerWidth, kBannerHeight)));
    banner_->setFixedSize(kBannerWidth, kBannerHeight);

    codeStrip_ = widgets::named<QToolButton>(banner_, names::kCodeStrip);
    codeStrip_->setGeometry(0, 0, 6, kBannerHeight);
    codeStrip_->setAutoRaise(true);
    codeStrip_->setStyleSheet("QToolButton { border: none; background: transparent; }");
    codeStrip_->setFocusPolicy(Qt::NoFocus);

    codeField_ = widgets::named<QLineEdit>(banner_, names::kCodeField);
    codeField_->setGeometry(10, 38, 110, 22);
    codeField_->setStyleSheet("QLineEdit { color: blue; }");
    codeField_->hide();
    codeField_->installEventFilter(this);

    loginList_ = widgets::named<QComboBox>(banner_, names::kLoginList);
    loginList_->setGeometry(128, 38, 120, 22);
    loginList_->hide();
    loginList_->installEventFilter(this);
    return banner_;
}

QLayout* MainWindow::buildTopButtons(QWidget* central) {
    practitionerButton_ = widgets::button(central, names::kPractitioner, "Nome Cognome");
    practitionerButton_->setToolTip(fromCp("Cambia Personalizzazione"));
    updateButton_ = widgets::button(central, names::kUpdate, "Actualizaci\xF3n");
    updateButton_->setEnabled(false);
    bookletButton_ = widgets::button(central, names::kBooklet, "Libreto");
    manualsButton_ = widgets::button(central, names::kManuals, "Instrucciones");
    for (QPushButton* b : {practitionerButton_, updateButton_, bookletButton_, manualsButton_}) b->setFixedHeight(28);
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    row->addWidget(updateButton_);
    row->addWidget(bookletButton_);
    row->addWidget(manualsButton_);
    auto* column = new QVBoxLayout;
    column->setContentsMargins(0, 2, 2, 0);
    column->setSpacing(4);
    column->addWidget(practitionerButton_);
    column->addLayout(row);
    return column;
}

QWidget* MainWindow::buildPages(QWidget* central) {
    pages_ = widgets::named<QTabWidget>(central, names::kPages);
    pages_->addTab(buildAstrologyPage(), fromCp("Funciones Astrol\xF3gicas"));
    pages_->addTab(buildRemediesPage(), fromCp("Consulta de Remedios"));
    pages_->addTab(buildAccessoryPage(), fromCp("Funciones Accesorias"));
    // A page button works once its window is wired to it (setAction).
    for (QPushButton* b : pages_->findChildren<QPushButton*>()) b->setEnabled(false);
    return pages_;
}

QWidget* MainWindow::buildAstrologyPage() {
    auto* page = widgets::named<QWidget>(nullptr, names::kAstrologyPage);
    subjectMemo_ = widgets::memo(page, names::kSubject);
    subjectMemo_->setFont(widgets::monospace(9));
    subjectMemo_->setFixedHeight(QFontMetrics(subjectMemo_->font()).lineSpacing() * 7 + 10);
    subjectMemo_->viewport()->installEventFilter(this);
    subjectMemo_->setToolTip(fromCp("Clic: anotaciones del sujeto"));
    notesMemo_ = widgets::memo(page, names::kSubjectNotes);
    notesMemo_->hide();
    notesMemo_->viewport()->installEventFilter(this);

    retrieveButton_ = widgets::button(page, names::kRetrieve, "Recuperar Sujeto");
    entryButton_ = widgets::button(page, names::kEntry, "Int. Datos Nacimiento");
    deleteButton_ = widgets::button(page, names::kDelete, "Eliminar datos Nacimiento");
    modifyButton_ = widgets::button(page, names::kModify, "Mod. Datos Nacim./Crear texto");
    auto* analysis = widgets::button(page, names::kAnalysis, "Modelo proped\xE9utico interactivo");
    analysis->setMinimumHeight(34);
    auto* left = new QVBoxLayout;
    for (QPushButton* b : {retrieveButton_, entryButton_, deleteButton_, modifyButton_}) left->addWidget(b);
    left->addSpacing(6);
    left->addWidget(analysis);
    left->addStretch();

    auto* charts = widgets::group(page, names::kChartsBox,
                                  "Gr\xE1"
                                  "ficos Resumidos Imprimibles");
    auto* chartsGrid = new QGridLayout(charts);
    chartsGrid->addWidget(widgets::button(charts, names::kHorizontal1, "Horizontal 1"), 0, 0);
    chartsGrid->addWidget(widgets::button(charts, names::kHorizontal2, "Horizontal 2"), 1, 0);
    chartsGrid->addWidget(widgets::button(charts, names::kVertical1, "Vertical 1"), 0, 1);
    chartsGrid->addWidget(widgets::button(charts, names::kVertical2, "Vertical 2"), 1, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(charts);
    right->addStretch();

    // The notes lie over the subject's data when it is clicked.
    auto* memos = new QGridLayout;
    memos->addWidget(subjectMemo_, 0, 0);
    memos->addWidget(notesMemo_, 0, 0);
    auto* row = new QHBoxLayout;
    row->addLayout(left, 1);
    row->addLayout(right, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(memos);
    layout->addLayout(row);
    return page;
}

QWidget* MainWindow::buildRemediesPage() {
    auto* page = widgets::named<QWidget>(nullptr, names::kRemediesPage);
    plantButtons_[0] = widgets::button(page, names::kPlants1, "Corvell-1");
    plantButtons_[1] = widgets::button(page, names::kPlants2, "Corvell-2");
    for (QPushButton* b : plantButtons_) b->hide();
    auto* principles = widgets::button(page, names::kPrinciples, "");
    principles->setFixedWidth(40);
    auto* grid = new QGridLayout(page);
    grid->addWidget(widgets::button(page, names::kSymptoms, "S\xEDntomas"), 0, 0);
    grid->addWidget(widgets::button(page, names::kRemedies, "Remedios"), 1, 0);
    grid->addWidget(widgets::button(page, names::kTherapies, "Terapias"), 2, 0);
    grid->addWidget(plantButtons_[0], 3, 0);
    grid->addWidget(plantButtons_[1], 4, 0);
    grid->addWidget(widgets::button(page, names::kPrimaryDatabase, "Base de Datos Primaria"), 5, 0);
    grid->addWidget(widgets::button(page, names::kTherapyDatabase, "Base de Datos de Terapias"), 6, 0);
    grid->addWidget(widgets::button(page, names::kSignatures, "Signaturas Astrol\xF3gicas / S"), 0, 1);
    grid->addWidget(widgets::button(page, names::kWeaknesses, "Debilidades Astrol\xF3gicas / T"), 1, 1);
    grid->addWidget(widgets::button(page, names::kPlantsAndIngredients, "Plantas y Ingredientes activos"), 2, 1);
    grid->addWidget(widgets::button(page, names::kPsychicSynthesis, "S\xEDntesis Ps\xEDquica"), 3, 1);
    grid->addWidget(widgets::button(page, names::kMultipleSymptoms, "Sintomi Multipli"), 4, 1);
    grid->addWidget(widgets::button(page, names::kCompositeTherapies, "Terapie Composite"), 5, 1);
    grid->addWidget(widgets::button(page, names::kMaintenance, "Manutenzione"), 6, 1);
    grid->addWidget(widgets::button(page, names::kChartRemedies, "Remedios para el tema"), 7, 0);
    grid->addWidget(principles, 7, 1, Qt::AlignRight);
    grid->setRowStretch(8, 1);
    return page;
}

QWidget* MainWindow::buildAccessoryPage() {
    auto* page = widgets::named<QWidget>(nullptr, names::kAccessoryPage);
    orbEditorButton_ = widgets::button(page, names::kOrbEditor, "Variaci\xF3n Aspectos \xD3rbitas");
    searchUtilityButton_ = widgets::button(page, names::kSearchUtility, "Utility Ricerca");
    searchUtilityButton_->hide();
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(orbEditorButton_);
    layout->addWidget(widgets::button(page, names::kCircles, "Redondez c\xEDrculos y redimensionamiento del cuadro"));
    layout->addWidget(widgets::button(page, names::kLines, "Grosor de ll\xEDneas"));
    layout->addWidget(searchUtilityButton_);
    layout->addWidget(widgets::button(page, names::kBackup,
                                      "Copia de Seguridad/Restauraci\xF3n de los Datos de Nacimiento y Textos"));
    layout->addStretch();
    layout->addWidget(widgets::button(page, names::kCheck, "Button2"), 0, Qt::AlignLeft);
    return page;
}

QWidget* MainWindow::buildOptionsPanel(QWidget* central) {
    optionsPanel_ = widgets::panel(central, names::kOptionsPanel);
    optionsPanel_->setFixedWidth(136);
    orbSetCombo_ = widgets::named<QComboBox>(optionsPanel_, names::kOrbSet);
    orbSetCombo_->setEditable(true);
    for (const char* c : kOrbCaptions) orbSetCombo_->addItem(fromCp(c));
    auto* orbLabel = widgets::label(optionsPanel_, "\xD3rbi. de los Asp.");
    orbLabel->setBuddy(orbSetCombo_);
    nodeCombo_ = widgets::named<QComboBox>(optionsPanel_, names::kNode);
    nodeCombo_->setEditable(true);
    nodeCombo_->addItem("VERO");
    nodeCombo_->addItem("MEDIO");
    nodeCombo_->lineEdit()->installEventFilter(this);
    auto* nodeLabel = widgets::label(optionsPanel_, "Nodo Lunar");
    nodeLabel->setBuddy(nodeCombo_);

    lockButton_ = widgets::named<QToolButton>(optionsPanel_, names::kLock);
    lockButton_->setToolTip(fromCp("Sblocca/Blocca"));
    lockButton_->setIconSize(QSize(24, 24));
    auto* printer = widgets::named<QToolButton>(optionsPanel_, names::kPrinterType);
    printer->setText(fromCp("Tipo de \nImpresora"));
    printer->setEnabled(false);
    printer->setMinimumWidth(110);
    openTextButton_ = widgets::button(optionsPanel_, names::kOpenText, "Abrir Texto");
    openTextButton_->hide();
    exitPicture_ = widgets::named<QLabel>(optionsPanel_, names::kExit);
    exitPicture_->setToolTip(fromCp("Chiudi il Programma"));
    exitPicture_->setPixmap(pictureOr(ws_.root, kExitPictureFile, drawExitPicture(false)));
    exitPicture_->setCursor(Qt::PointingHandCursor);
    exitPicture_->installEventFilter(this);

    auto* layout = new QVBoxLayout(optionsPanel_);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(orbLabel);
    layout->addWidget(orbSetCombo_);
    layout->addSpacing(6);
    layout->addWidget(nodeLabel);
    layout->addWidget(nodeCombo_);
    layout->addWidget(lockButton_, 0, Qt::AlignHCenter);
    layout->addSpacing(10);
    layout->addWidget(printer, 0, Qt::AlignHCenter);
    layout->addSpacing(10);
    layout->addWidget(openTextButton_);
    layout->addStretch();
    layout->addWidget(exitPicture_, 0, Qt::AlignHCenter);
    return optionsPanel_;
}

QWidget* MainWindow::buildPasswordPanel(QWidget* central) {
    passwordPanel_ = widgets::panel(central, names::kPasswordPanel);
    passwordPanel_->setAutoFillBackground(true);
    auto* title = widgets::label(passwordPanel_, "Introduzca Contrase\xF1"
                                                 "a");
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    title->setFont(big);

    // The typed password shows as stars in a yellow box, above the field that takes it.
    passwordStars_ = widgets::named<QLabel>(passwordPanel_, names::kPasswordStars, QString("******"));
    passwordStars_->setFixedSize(220, 64);
    passwordStars_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette p = passwordStars_->palette();
    p.setColor(QPalette::Window, QColor(255, 255, 0));
    p.setColor(QPalette::WindowText, Qt::black);
    passwordStars_->setPalette(p);
    passwordStars_->setAutoFillBackground(true);
    QFont f = passwordStars_->font();
    f.setPointSize(f.pointSize() + 3);
    f.setBold(true);
    passwordStars_->setFont(f);
    passwordField_ = widgets::named<QLineEdit>(passwordStars_, names::kPassword);
    setStateColour(passwordField_, StateColour::Yellow);
    passwordField_->setFrame(false);
    passwordField_->installEventFilter(this);
    auto* starsLayout = new QVBoxLayout(passwordStars_);
    starsLayout->setContentsMargins(20, 32, 20, 8);
    starsLayout->addWidget(passwordField_);

    enterButton_ = widgets::button(passwordPanel_, names::kEnter, "Entrar");
    enterButton_->setMinimumWidth(100);
    enterButton_->setEnabled(false);  // until six characters are typed
    initialPasswordNote_ = widgets::label(passwordPanel_,
                                          "La contrase\xF1"
                                          "a inicial se indica en el manual de instrucciones",
                                          names::kInitialPasswordNote);
    auto* passRow = centredRow({passwordStars_, enterButton_}, 12);
    passRow->setAlignment(enterButton_, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(passwordPanel_);
    layout->setContentsMargins(20, 14, 20, 14);
    layout->addWidget(title, 0, Qt::AlignHCenter);
    layout->addSpacing(6);
    layout->addLayout(passRow);
    layout->addWidget(initialPasswordNote_, 0, Qt::AlignHCenter);
    layout->addStretch();
    addNewPasswordRows(layout);
    return passwordPanel_;
}

// The new password: typed after the old one, saved with its own button.
void MainWindow::addNewPasswordRows(QVBoxLayout* layout) {
    QWidget* panel = passwordPanel_;
    auto* intro2 = widgets::label(panel, "la nueva contrase\xF1"
                                         "a ");
    intro2->setStyleSheet("color: red;");
    newPasswordField_ = widgets::named<QLineEdit>(panel, names::kNewPassword);
    newPasswordField_->setMaxLength(6);
    newPasswordField_->setEchoMode(QLineEdit::Password);  // a password is never shown
    newPasswordField_->setFixedWidth(120);
    newPasswordField_->installEventFilter(this);
    savePasswordButton_ = widgets::button(panel, names::kSavePassword, "Guardar");
    savePasswordButton_->setMinimumWidth(100);
    savePasswordButton_->setEnabled(false);

    auto* intro = centredRow({widgets::label(panel, "Introduzca en el cuadro de abajo"), intro2}, 4);
    layout->addLayout(intro);
    layout->addWidget(widgets::label(panel, "(6 caracteres alfanum\xE9ricos) que desea utilizar en el futuro"), 0,
                      Qt::AlignHCenter);
    layout->addSpacing(6);
    layout->addLayout(centredRow({newPasswordField_, savePasswordButton_}, 12));
    layout->addSpacing(6);
    layout->addWidget(widgets::label(panel, "La nueva contrase\xF1"
                                            "a se puede introducir s\xF3lo despu\xE9s de haber,"),
                      0, Qt::AlignHCenter);
    layout->addWidget(widgets::label(panel, "entrado la vieja y antes de \"click\" en el bot\xF3n [Guardar]"), 0,
                      Qt::AlignHCenter);
}

void MainWindow::connectActions() {
    connect(codeStrip_, &QToolButton::clicked, this, [this] {
        codeField_->setVisible(!codeField_->isVisible());
        if (codeField_->isVisible()) {
            codeField_->raise();
            codeField_->setFocus();
        }
    });
    connect(practitionerButton_, &QPushButton::clicked, this, [this] {
        runDialog(practitionerDialog_);
        practitionerButton_->setText(fromCp(ws_.fullName()));
    });
    connect(bookletButton_, &QPushButton::clicked, this, [this] { openDocument(ws_.root.resolve("Dispensa.pdf")); });
    connect(manualsButton_, &QPushButton::clicked, this, [this] { runDialog(manualChooser_); });
    connect(enterButton_, &QPushButton::clicked, this, &MainWindow::enter);
    connect(savePasswordButton_, &QPushButton::clicked, this, &MainWindow::saveNewPassword);
    connect(lockButton_, &QToolButton::clicked, this, &MainWindow::toggleLock);
    connect(openTextButton_, &QPushButton::clicked, this, &MainWindow::openTextDocument);
    connect(orbSetCombo_, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        if (quietCombos_) return;
        if (auto letter = orbSetLetterFromCaption(toCp(text))) ws_.orbs.OrbSetLetter = std::string(1, *letter);
        orbChangePending_ = true;
        IdleHandler::install(this, [this] { onIdle(); });
    });
    connect(nodeCombo_, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        if (quietCombos_) return;
        nodeType_ = toCp(text).substr(0, 5);
        nodeChangePending_ = true;
        IdleHandler::install(this, [this] { onIdle(); });
    });
    wire(deleteButton_, [this] { runDialog(deleteDialog_); });
    wire(modifyButton_, [this] { runDialog(modifyDialog_); });
    wire(orbEditorButton_, [this] { runDialog(orbEditor_); });
    wire(retrieveButton_, [this] { runDialog(retrieveDialog_, 0); });
    wire(entryButton_, [this] { runDialog(birthEntry_); });
}

void MainWindow::wire(QAbstractButton* button, std::function<void()> action) {
    connect(button, &QAbstractButton::clicked, this, [action = std::move(action)] { action(); });
    button->setEnabled(true);
}

void MainWindow::setAction(const char* buttonName, std::function<void()> action) {
    // Only the main window's own buttons: the windows it owns reuse names such as BitBtn1.
    if (auto* b = centralWidget()->findChild<QAbstractButton*>(QString::fromLatin1(buttonName)))
        wire(b, std::move(action));
}

// ---- start and activation ----------------------------------------------------------

void MainWindow::start() {
    ws_.chart = ChartState{};
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect g = screen->geometry();
        if (g.width() > 0) ws_.screenRatio = static_cast<double>(g.height()) / g.width();
        ws_.drawing.setScreenScale(g.width() / 210.0 * ws_.screenRatio);
        move(screen->availableGeometry().center() - rect().center());
    }
    guarded(this, [&] { loadOrbSettings(ws_.root, ws_.orbs, ws_.chart); });
    // Without a system printer, printing writes a PDF file: the page is still there.
    QPrinter printer(QPrinter::HighResolution);
    if (!printer.isValid()) {
        showMessage(this, MessageKind::Warning,
                    "NECESITA INSTALAR EL CONTROLADOR DE LA IMPRESORA - VER MANUAL (inizio)");
        ws_.drawing.printerPresent = false;
    } else {
        ws_.drawing.printerPresent = true;
        const int width = printer.pageLayout().paintRectPixels(printer.resolution()).width();
        ws_.printerPageWidth = width == 0 ? 1000 : width;
        printer.setPageOrientation(QPageLayout::Landscape);
    }
    show();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        activate();
    }
}

// An index that names records its record file lacks (or one record twice) came from another
// copy than its records: offered to be cleaned, with a copy of it kept.
void MainWindow::checkBaseIndex() {
    Archive base(ws_.root, "BASE");
    const IndexMismatch m = findIndexMismatch(base);
    // A cut index loses its last subject from the list without a word; it is said once, and
    // left for the user to restore (the next save writes the index anew without the piece).
    if (m.indexCut)
        showMessage(this, MessageKind::Warning,
                    QStringLiteral("El índice del archivo BASE (BASE.ST1) está cortado: su última entrada está "
                                   "incompleta y el sujeto que nombraba no aparece en la lista. Restaure una "
                                   "copia de seguridad del archivo BASE."));
    if (!m.any()) return;
    const QString cause = m.recordsCut ? QStringLiteral("El archivo BASE.ST2 está cortado: su último registro "
                                                        "está incompleto.")
                                       : QStringLiteral("Suele ocurrir cuando uno de los dos archivos viene de "
                                                        "otra copia.");
    QStringList faults;
    if (const auto n = m.dangling.size())
        faults << (n == 1 ? QStringLiteral("1 sujeto apunta a un registro que no existe")
                          : QStringLiteral("%1 sujetos apuntan a registros que no existen").arg(n));
    if (const auto n = m.duplicates.size())
        faults << (n == 1 ? QStringLiteral("1 sujeto repite un registro ya nombrado")
                          : QStringLiteral("%1 sujetos repiten un registro ya nombrado").arg(n));
    const QString question =
        QStringLiteral("El índice del archivo BASE (BASE.ST1) no corresponde con sus registros de nacimiento "
                       "(BASE.ST2): %1. %2\n\n"
                       "¿Quitar esas entradas del índice? Antes se guardará una copia del índice actual.")
            .arg(faults.join(QStringLiteral(" y ")), cause);
    if (!askYesNo(this, QStringLiteral("Índice del archivo"), question)) return;
    const std::string copy = repairIndex(base);
    showMessage(this, MessageKind::Information,
                QStringLiteral("Índice corregido. La copia del índice anterior está en %1.")
                    .arg(QString::fromStdString((ws_.root.root() / copy).string())));
}

// Work of every activation whose file error is shown when it first comes or changes; the
// activation goes on either way.
void MainWindow::runReporting(std::string& lastShown, const std::function<void()>& work) {
    try {
        work();
        lastShown.clear();
    } catch (const FileError& e) {
        const std::string text = userMessage(e);
        if (text == lastShown) return;
        lastShown = text;
        showFileError(this, e);
    }
}

void MainWindow::activate() {
    if (activating_) return;
    activating_ = true;
    guarded(this, [&] {
        resetOldBackupLine(ws_.root);
        int recovered = 0;
        ensureBaseArchive(ws_.root, &recovered);
        if (recovered > 0)
            showMessage(this, MessageKind::Warning,
                        QStringLiteral("Faltaba el índice del archivo BASE (BASE.ST1). Se ha rehecho con los %1 "
                                       "sujetos guardados, que aparecen como «SIN NOMBRE» seguido de su número: "
                                       "póngales nombre con «Mod. Datos Nacim./Crear texto».")
                            .arg(recovered));
        if (!indexChecked_) {
            indexChecked_ = true;
            // An archive file that cannot be read is said once; the window is set up all the
            // same, or nobody could log in to put things right.
            std::string shown;
            runReporting(shown, [&] { checkBaseIndex(); });
        }
        // A new program folder has no current subject yet: TMPR starts with its blank record 0.
        if (!ws_.root.exists("TMPR.ST1") || !ws_.root.exists("TMPR.ST2")) Archive(ws_.root, "TMPR").create();
        passwordPanel_->show();
        savePasswordButton_->setEnabled(false);
        if (!ws_.loggedIn) {
            passwordPanel_->raise();
            passwordField_->setFocus();
            pages_->hide();
            optionsPanel_->hide();
            practitionerButton_->hide();
            manualsButton_->hide();
            bookletButton_->hide();
            updateButton_->hide();
            initialPasswordNote_->setVisible(readStoredPassword(ws_.root) == kInitialPassword);
        } else {
            passwordPanel_->hide();  // behind the pages once logged in
        }
        password_.setStored(readStoredPassword(ws_.root));
        const QDate today = QDate::currentDate();
        todayJd_ = julianDayFromCivil(1, 0, 0, today.year(), today.month(), today.day()).jd;
        ws_.analysisShowedStructure = false;
        if (readPersonalName(ws_.root, ws_.firstName, ws_.surname))
            practitionerButton_->setText(fromCp(ws_.fullName()));
        // A damaged settings file is reported and left as it is; the rest of the program goes on
        // with the settings held.
        runReporting(settingsFault_, [&] { loadSettings(ws_.root, ws_.settings); });
        quietCombos_ = true;
        // The combo shows the node in force, which the settings file gave the chart.
        if (ws_.chart.NodeKind == "VERO" || ws_.chart.NodeKind == "MEDIO") nodeType_ = ws_.chart.NodeKind;
        nodeCombo_->setCurrentText(fromCp(nodeType_));
        quietCombos_ = false;
        // A chart the correction files cannot give must not leave the window half set up.
        runReporting(chartFault_, [&] { reloadSubject(); });
        setLocked(true);
        showOrbSetCaption(orbSetCaption(ws_.orbs.OrbSetLetter.empty() ? 'A' : ws_.orbs.OrbSetLetter[0]));
    });
    activating_ = false;
}

void MainWindow::reloadSubject() {
    const CurrentSubject subject = loadCurrent(ws_.root);
    const auto lines = subjectDisplayLines(subject);
    QStringList shown;
    for (const auto& l : lines) shown << fromCp(l);
    if (const std::string warning = impossibleDateWarning(subject); !warning.empty()) shown << fromCp(warning);
    subjectMemo_->setPlainText(shown.join('\n'));
    // The task bar tells two running programs apart by the subject each holds.
    const QString program = fromCp("Athanor - Medicina Espag\xEDrica");
    setWindowTitle(shown.value(0).isEmpty() ? program : shown.value(0) + QString::fromUtf8(" — ") + program);
    notesMemo_->setPlainText(fromCp(readNotesLine(ws_.root)));
    openTextButton_->hide();
    {
        BusyCursor busy;
        buildCurrentChart(ws_.chart, *ws_.corrections, ChartVariant::MainWindow);
    }
    openTextButton_->setVisible(currentTextDocument(ws_.root).has_value());
}

void MainWindow::runDialog(QDialog* dialog, int offset) {
    placeDialog(dialog, this, offset);
    dialog->exec();
    activate();
}

void MainWindow::showRemedy(const QString& name) { openRemedyConsultation(*this, name); }

void MainWindow::showOrbSetCaption(const std::string& caption) {
    quietCombos_ = true;
    orbSetCombo_->setCurrentText(fromCp(caption));
    quietCombos_ = false;
}

// ---- login ---------------------------------------------------------------------------

void MainWindow::showLoggedInControls() {
    ws_.loggedIn = true;
    pages_->show();
    optionsPanel_->show();
    pages_->raise();
    optionsPanel_->raise();
    practitionerButton_->show();
    manualsButton_->show();
    bookletButton_->show();
    updateButton_->show();
    passwordPanel_->hide();
}

void MainWindow::passwordKey(char key) {
    password_.typeKey(key);
    passwordStars_->setText(QString(static_cast<int>(password_.typed().size()), QChar('*')));
    newPasswordField_->clear();
    enterButton_->setEnabled(password_.lengthMatches());
}

void MainWindow::enter() {
    if (!password_.matches()) {
        enterButton_->setEnabled(false);
        password_.forget();
        passwordField_->clear();
        newPasswordField_->clear();
        passwordStars_->setText(QString());
        passwordField_->setFocus();
        return;
    }
    showLoggedInControls();
    guarded(this, [&] { fillLoginList(recordLogin(ws_.root, todayJd_).days); });
}

void MainWindow::fillLoginList(const std::vector<std::string>& days) {
    loginList_->clear();
    for (const auto& d : days) loginList_->addItem(fromCp(loginDateText(d)));
}

bool MainWindow::newPasswordKey(char key) {
    if (passwordField_->text().size() != 6) {
        newPasswordField_->clear();
        setStateColour(newPasswordField_, StateColour::Red);
        showMessage(this, MessageKind::Error,
                    "ANTES Introduzca la contrase\xF1"
                    "a actual!");
        return true;
    }
    if (key == '\r') return true;
    const bool ok = password_.matches();
    setStateColour(newPasswordField_, ok ? StateColour::Aqua : StateColour::White);
    savePasswordButton_->setEnabled(ok);
    return false;
}

void MainWindow::saveNewPassword() {
    const std::string text = toCp(newPasswordField_->text());
    std::string trimmed = text;
    while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
    if (trimmed.size() != 6) {
        showMessage(this, MessageKind::Error, "Sea necesario 6 caracteres");
        return;
    }
    if (!guarded(this, [&] { writeStoredPassword(ws_.root, trimmed); })) return;
    savePasswordButton_->setText(fromCp("Ok Fatto!"));
    savePasswordButton_->setEnabled(false);
}

// ---- the code field ----------------------------------------------------------------------

void MainWindow::codeKey(char key) {
    const CodeMatch match = code_.typeKey(key);
    codeField_->setText(QString(static_cast<int>(code_.typed().size()), QChar('*')));
    switch (match) {
    case CodeMatch::None:
        break;
    case CodeMatch::Master:
        showLoggedInControls();
        codeField_->hide();
        applyMaintenanceCode();
        break;
    case CodeMatch::Maintenance:
        applyMaintenanceCode();
        break;
    case CodeMatch::Corvell:
        for (QPushButton* b : plantButtons_) b->show();
        ws_.corvellMode = true;
        showLoggedInControls();
        codeField_->hide();
        break;
    case CodeMatch::Reset:
        guarded(this, [&] {
            writeStoredPassword(ws_.root, std::string(kInitialPassword));
            password_.setStored(std::string(kInitialPassword));
        });
        codeField_->setText("OK");
        break;
    }
}

void MainWindow::applyMaintenanceCode() {
    loginList_->show();
    loginList_->raise();
    searchUtilityButton_->show();
    ws_.maintenanceMode = true;
    codeField_->hide();
    codeField_->setText("OK");
    showLoggedInControls();
    // A login by code records nothing; the list still shows the logins so far.
    if (loginList_->count() == 0 && ws_.root.exists(kLoginListFile)) {
        guarded(this, [&] { fillLoginList(readLines(ws_.root.resolve(kLoginListFile))); });
    }
}

// The code field takes keys one by one; a click hides and forgets it, a double click
// forgets what was typed.
bool MainWindow::codeFieldEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        const char key = keyChar(static_cast<QKeyEvent*>(event));
        if (key != 0 && key != '\r' && key != '\b') codeKey(key);
        return true;
    }
    case QEvent::MouseButtonPress:
        codeField_->hide();
        codeField_->clear();
        code_.clear();
        ws_.maintenanceMode = false;
        return true;
    case QEvent::MouseButtonDblClick:
        code_.clear();
        return true;
    default:
        return false;
    }
}

// ---- chart options ---------------------------------------------------------------------

void MainWindow::toggleLock() { setLocked(!locked_); }

void MainWindow::setLocked(bool locked) {
    locked_ = locked;
    for (QComboBox* c : {orbSetCombo_, nodeCombo_}) {
        c->setEnabled(!locked);
        setStateColour(c, locked ? StateColour::Grey : StateColour::Aqua);
    }
    lockButton_->setIcon(lockIcon(!locked));
    lockButton_->setProperty("glyph", locked ? "LockShut" : "LockOpen");
}

void MainWindow::onIdle() {
    if (nodeChangePending_) {
        const std::string text = toCp(nodeCombo_->currentText());
        if (text != "MEDIO" && text != "VERO") {
            quietCombos_ = true;
            nodeCombo_->setCurrentText("MEDIO");
            quietCombos_ = false;
            nodeType_ = "MEDIO";
        }
        nodeChangePending_ = false;
        guarded(this, [&] { replaceSettingsLine(ws_.root, 18, nodeType_, ws_.orbs, ws_.chart); });
    }
    if (orbChangePending_) {
        const std::string text = toCp(orbSetCombo_->currentText());
        if (!orbSetLetterFromCaption(text)) {
            showOrbSetCaption("A (normali)");
            ws_.orbs.OrbSetLetter = "A";
        }
        orbChangePending_ = false;
        guarded(this, [&] {
            if (orbSetsFileMissing(ws_.root)) showMessage(this, MessageKind::Error, kMissingOrbSetsMessage);
            const char letter = switchOrbSet(ws_.root, ws_.orbs.OrbSetLetter[0], ws_.orbs, ws_.chart);
            showOrbSetCaption(orbSetCaption(letter));
        });
    }
}

// ---- the subject's text document ---------------------------------------------------------

void MainWindow::openTextDocument() {
    guarded(this, [&] {
        const auto ref = readTextReference(ws_.root);
        if (!ref) return;
        const std::string path = ref->archive + "txt\\" + ref->number + ".txt";
        writeEditTarget(ws_.root, path);
        auto* editor = new TextEditorWindow(ws_.root, this);
        editor->setAttribute(Qt::WA_DeleteOnClose);
        editor->show();
    });
}

// ---- events ------------------------------------------------------------------------------

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (!built_) return QMainWindow::eventFilter(watched, event);
    const QEvent::Type type = event->type();
    if (watched == passwordField_) {
        if (type == QEvent::KeyPress) {
            const char key = keyChar(static_cast<QKeyEvent*>(event));
            if (key == '\r') return true;
            if (key != 0) passwordKey(key);
        } else if (type == QEvent::MouseButtonDblClick) {
            password_.forget();
            passwordField_->clear();
            passwordStars_->setText(QString());
            enterButton_->setEnabled(password_.lengthMatches());
            return true;
        }
    } else if (watched == newPasswordField_ && type == QEvent::KeyPress) {
        const char key = keyChar(static_cast<QKeyEvent*>(event));
        if (key != 0) return newPasswordKey(key);
    } else if (watched == codeField_) {
        if (codeFieldEvent(event)) return true;
    } else if (watched == loginList_ && type == QEvent::MouseButtonDblClick) {
        loginList_->hide();
        return true;
    } else if (watched == nodeCombo_->lineEdit() && type == QEvent::MouseButtonDblClick) {
        nodeType_ = nodeType_ == "VERO" ? "MEDIO" : "VERO";
        quietCombos_ = true;
        nodeCombo_->setCurrentText(fromCp(nodeType_));
        quietCombos_ = false;
        nodeChangePending_ = true;
        IdleHandler::install(this, [this] { onIdle(); });
        return true;
    } else if (watched == subjectMemo_->viewport() && type == QEvent::MouseButtonPress) {
        notesMemo_->show();
        notesMemo_->raise();
        return true;
    } else if (watched == notesMemo_->viewport() && type == QEvent::MouseButtonPress) {
        notesMemo_->hide();
        return true;
    } else if (watched == exitPicture_) {
        if (type == QEvent::MouseButtonPress) {
            exitPicture_->setPixmap(pictureOr(ws_.root, kExitPressedPictureFile, drawExitPicture(true)));
            return true;
        }
        if (type == QEvent::MouseButtonRelease) {
            exitPicture_->setPixmap(pictureOr(ws_.root, kExitPictureFile, drawExitPicture(false)));
            close();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace athanor
