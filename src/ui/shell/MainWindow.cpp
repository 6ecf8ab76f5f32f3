#include "ui/shell/MainWindow.h"

#include "subjects/SubjectChart.h"
#include "foundations/Calendar.h"
#include "foundations/TextFile.h"
#include "ui/charts/ChartWindowsWiring.h"
#include "interpretation/OrbFiles.h"
#include "ui/orbs/OrbEditorDialog.h"
#include "app/AccessCodes.h"
#include "ui/common/JpegImage.h"
#include "ui/common/Pictures.h"
#include "app/SubjectDisplay.h"
#include "ui/shell/ManualChooserDialog.h"
#include "ui/shell/PractitionerNameDialog.h"
#include "ui/common/TextEditorDialog.h"
#include "ui/common/UiHelpers.h"
#include "subjects/Archive.h"
#include "subjects/SubjectFiles.h"
#include "ui/subjects/DeleteSubjectDialog.h"
#include "ui/subjects/BirthEntryDialog.h"
#include "ui/subjects/ModifySubjectDialog.h"
#include "ui/subjects/SaveSubjectDialog.h"
#include "ui/subjects/RetrieveSubjectDialog.h"

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

namespace {

template <class W, class... Args>
W* make(QWidget* parent, const char* name, Args&&... args) {
    auto* w = new W(std::forward<Args>(args)..., parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QPushButton* button(QWidget* parent, const char* name, const char* cp1252Caption, bool enabled = false) {
    auto* b = make<QPushButton>(parent, name, fromCp(cp1252Caption));
    b->setEnabled(enabled);
    return b;
}

const char* const kOrbCaptions[] = {"A (normali)", "B (personali)", "C (personali)"};

QPixmap pictureOr(const DataRoot& root, const char* file, const QImage& fallback) {
    QImage img(QString::fromStdString(root.resolve(file).string()));
    return QPixmap::fromImage(img.isNull() ? fallback : img);
}

}  // namespace

MainWindow::MainWindow(DataRoot root, QWidget* parent) : QMainWindow(parent), ws_(std::move(root)) {
    setObjectName("FoSpagyr");
    setWindowTitle(fromCp("Athanor - Medicina Espag\xEDrica"));
    auto* central = new QWidget(this);
    central->setObjectName("ClientArea");
    setCentralWidget(central);
    buildBanner(central);
    buildPages(central);
    buildSidePanel(central);
    buildPasswordPanel(central);
    setFixedSize(636, 453);
    // The later windows, created hidden as the program starts.
    nomUte_ = new PractitionerNameDialog(ws_, this);
    istDef_ = new ManualChooserDialog(ws_, this);
    orbSpa_ = new OrbEditorDialog(ws_, [this](const std::string& caption) { showOrbSetCaption(caption); }, this);
    formRich_ = new RetrieveSubjectDialog(ws_, this);
    formRegSpa_ = new SaveSubjectDialog(ws_, this);
    inputSpa_ = new BirthEntryDialog(ws_, formRegSpa_, this, this);
    cancel_ = new DeleteSubjectDialog(ws_, this);
    modifi_ = new ModifySubjectDialog(ws_, this);
    connectActions();
    setAction("BitBtnCancel", [this] { runDialog(cancel_); });
    setAction("BitBtn1", [this] { runDialog(modifi_); });
    setAction("BitBtnVarOrbAsp", [this] { runDialog(orbSpa_); });
    setAction("BitBtnDati", [this] { runDialog(formRich_, 0); });
    setAction("BitBtnInputA", [this] { runDialog(inputSpa_); });
    wireChartWindows(*this);
    built_ = true;
}

MainWindow::~MainWindow() { IdleHandler::remove(this); }

// ---- building ----------------------------------------------------------------------

void MainWindow::buildBanner(QWidget* central) {
    auto* banner = make<QLabel>(central, "Image1");
    QImage picture = readJpegFile(ws_.root.resolve(kBannerFile));
    if (picture.isNull()) picture = drawBanner();
    banner->setPixmap(QPixmap::fromImage(picture.scaled(kBannerWidth, kBannerHeight)));
    banner->setGeometry(2, 2, kBannerWidth, kBannerHeight);
    image1_ = banner;

    sbPass_ = make<QToolButton>(central, "SBpass");
    sbPass_->setGeometry(2, 2, 6, kBannerHeight);
    sbPass_->setAutoRaise(true);
    sbPass_->setStyleSheet("QToolButton { border: none; background: transparent; }");
    sbPass_->setFocusPolicy(Qt::NoFocus);

    edPass_ = make<QLineEdit>(central, "EdPass");
    edPass_->setGeometry(12, 40, 110, 22);
    edPass_->setStyleSheet("QLineEdit { color: blue; }");
    edPass_->hide();
    edPass_->installEventFilter(this);

    cbox1_ = make<QComboBox>(central, "Cbox1");
    cbox1_->setGeometry(130, 40, 120, 22);
    cbox1_->hide();
    cbox1_->installEventFilter(this);

    const int x = kBannerWidth + 8;
    const int w = 636 - x - 4;
    nomeCognome_ = button(central, "BitBtnNomeCognome", "Nome Cognome", true);
    nomeCognome_->setToolTip(fromCp("Cambia Personalizzazione"));
    nomeCognome_->setGeometry(x, 4, w, 28);
    const int third = (w - 8) / 3;
    aggiorna_ = button(central, "EdAggiorna", "Actualizaci\xF3n");
    aggiorna_->setGeometry(x, 36, third + 10, 28);
    dispensa_ = button(central, "BBdispensa", "Libreto", true);
    dispensa_->setGeometry(x + third + 14, 36, third - 6, 28);
    istruz_ = button(central, "BBistruz", "Instrucciones", true);
    istruz_->setGeometry(x + 2 * third + 12, 36, w - 2 * third - 12, 28);
}

void MainWindow::buildPages(QWidget* central) {
    pages_ = make<QTabWidget>(central, "PageControl1");
    pages_->setGeometry(2, 70, 492, 381);

    // Astrological functions.
    auto* astro = make<QWidget>(nullptr, "TabSheet1");
    memoDati_ = make<QPlainTextEdit>(astro, "MemoDati");
    memoDati_->setReadOnly(true);
    memoDati_->setFont(QFont("DejaVu Sans Mono", 9));
    memoDati_->setFixedHeight(QFontMetrics(memoDati_->font()).lineSpacing() * 7 + 10);
    memoDati_->viewport()->installEventFilter(this);
    memoDati_->setToolTip(fromCp("Clic: anotaciones del sujeto"));
    memoAnnotaz_ = make<QPlainTextEdit>(astro, "MemoAnnotaz");
    memoAnnotaz_->setReadOnly(true);
    memoAnnotaz_->hide();
    memoAnnotaz_->viewport()->installEventFilter(this);

    auto* left = new QVBoxLayout;
    left->addWidget(button(astro, "BitBtnDati", "Recuperar Sujeto"));
    left->addWidget(button(astro, "BitBtnInputA", "Int. Datos Nacimiento"));
    left->addWidget(button(astro, "BitBtnCancel", "Eliminar datos Nacimiento"));
    left->addWidget(button(astro, "BitBtn1", "Mod. Datos Nacim./Crear texto"));
    left->addSpacing(6);
    auto* proped = button(astro, "BBProped", "Modelo proped\xE9utico interactivo");
    proped->setMinimumHeight(34);
    left->addWidget(proped);
    left->addStretch();

    auto* charts = make<QGroupBox>(astro, "GroupBox1", fromCp("Gr\xE1" "ficos Resumidos Imprimibles"));
    auto* chartsLayout = new QGridLayout(charts);
    chartsLayout->addWidget(button(charts, "BBOriz", "Horizontal 1"), 0, 0);
    chartsLayout->addWidget(button(charts, "BBoriz2", "Horizontal 2"), 1, 0);
    chartsLayout->addWidget(button(charts, "BBVert", "Vertical 1"), 0, 1);
    chartsLayout->addWidget(button(charts, "BBvert2", "Vertical 2"), 1, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(charts);
    right->addStretch();
    auto* row = new QHBoxLayout;
    row->addLayout(left, 1);
    row->addLayout(right, 1);
    auto* astroLayout = new QVBoxLayout(astro);
    auto* memoStack = new QGridLayout;
    memoStack->addWidget(memoDati_, 0, 0);
    memoStack->addWidget(memoAnnotaz_, 0, 0);
    astroLayout->addLayout(memoStack);
    astroLayout->addLayout(row);
    pages_->addTab(astro, fromCp("Funciones Astrol\xF3gicas"));

    // Remedy consultation.
    auto* remedies = make<QWidget>(nullptr, "TabSheet2");
    auto* grid = new QGridLayout(remedies);
    grid->addWidget(button(remedies, "BBSintomi", "S\xEDntomas"), 0, 0);
    grid->addWidget(button(remedies, "BitBtn2", "Remedios"), 1, 0);
    grid->addWidget(button(remedies, "BitBtn3", "Terapias"), 2, 0);
    auto* corv1 = button(remedies, "Bcorv1", "Corvell-1");
    corv1->hide();
    auto* corv2 = button(remedies, "Bcorv2", "Corvell-2");
    corv2->hide();
    grid->addWidget(corv1, 3, 0);
    grid->addWidget(corv2, 4, 0);
    grid->addWidget(button(remedies, "BitBtn4", "Base de Datos Primaria"), 5, 0);
    grid->addWidget(button(remedies, "BBaggRep", "Base de Datos de Terapias"), 6, 0);
    grid->addWidget(button(remedies, "BitBtn5", "Signaturas Astrol\xF3gicas / S"), 0, 1);
    grid->addWidget(button(remedies, "BitBtn6", "Debilidades Astrol\xF3gicas / T"), 1, 1);
    grid->addWidget(button(remedies, "BitBtn7", "Plantas y Ingredientes activos"), 2, 1);
    grid->addWidget(button(remedies, "BitBtn9", "S\xEDntesis Ps\xEDquica"), 3, 1);
    grid->addWidget(button(remedies, "BBriceCompo", "Sintomi Multipli"), 4, 1);
    grid->addWidget(button(remedies, "BitBtn10", "Terapie Composite"), 5, 1);
    grid->addWidget(button(remedies, "Button1", "Manutenzione"), 6, 1);
    auto* principles = button(remedies, "BitBtn8", "");
    principles->setFixedWidth(40);
    grid->addWidget(principles, 7, 1, Qt::AlignRight);
    grid->setRowStretch(8, 1);
    pages_->addTab(remedies, fromCp("Consulta de Remedios"));

    // Accessory functions.
    auto* accessory = make<QWidget>(nullptr, "TabSheet3");
    auto* acc = new QVBoxLayout(accessory);
    acc->addWidget(button(accessory, "BitBtnVarOrbAsp", "Variaci\xF3n Aspectos \xD3rbitas"));
    acc->addWidget(button(accessory, "BBCerchio", "Redondez c\xEDrculos y redimensionamiento del cuadro"));
    acc->addWidget(button(accessory, "BitBtn22", "Grosor de ll\xEDneas"));
    auto* utility = button(accessory, "BButility", "Utility Ricerca");
    utility->hide();
    acc->addWidget(utility);
    acc->addWidget(button(accessory, "BBSalva", "Copia de Seguridad/Restauraci\xF3n de los Datos de Nacimiento y Textos"));
    acc->addStretch();
    auto* check = button(accessory, "Button2", "Button2");
    acc->addWidget(check, 0, Qt::AlignLeft);
    pages_->addTab(accessory, fromCp("Funciones Accesorias"));
}

void MainWindow::buildSidePanel(QWidget* central) {
    panel9_ = make<QFrame>(central, "Panel9");
    panel9_->setFrameShape(QFrame::StyledPanel);
    panel9_->setGeometry(498, 70, 136, 381);
    auto* layout = new QVBoxLayout(panel9_);
    layout->setContentsMargins(6, 6, 6, 6);

    comboOrb_ = make<QComboBox>(panel9_, "ComboOrb");
    comboOrb_->setEditable(true);
    for (const char* c : kOrbCaptions) comboOrb_->addItem(fromCp(c));
    auto* orbLabel = new QLabel(fromCp("\xD3rbi. de los Asp."), panel9_);
    orbLabel->setBuddy(comboOrb_);
    comboNodo_ = make<QComboBox>(panel9_, "ComboNodo");
    comboNodo_->setEditable(true);
    comboNodo_->addItem("VERO");
    comboNodo_->addItem("MEDIO");
    comboNodo_->lineEdit()->installEventFilter(this);
    auto* nodeLabel = new QLabel(fromCp("Nodo Lunar"), panel9_);
    nodeLabel->setBuddy(comboNodo_);

    lock_ = make<QToolButton>(panel9_, "BBlk");
    lock_->setToolTip(fromCp("Sblocca/Blocca"));
    lock_->setIconSize(QSize(24, 24));

    auto* printer = make<QToolButton>(panel9_, "SBtipoStamp");
    printer->setText(fromCp("Tipo de \nImpresora"));
    printer->setEnabled(false);
    printer->setMinimumWidth(110);

    apriTesto_ = button(panel9_, "BBApriTesto", "Abrir Texto", true);
    apriTesto_->hide();

    image9_ = make<QLabel>(panel9_, "Image9");
    image9_->setToolTip(fromCp("Chiudi il Programma"));
    image9_->setPixmap(pictureOr(ws_.root, kExitPictureFile, drawExitPicture(false)));
    image9_->setCursor(Qt::PointingHandCursor);
    image9_->installEventFilter(this);

    layout->addWidget(orbLabel);
    layout->addWidget(comboOrb_);
    layout->addSpacing(6);
    layout->addWidget(nodeLabel);
    layout->addWidget(comboNodo_);
    layout->addWidget(lock_, 0, Qt::AlignHCenter);
    layout->addSpacing(10);
    layout->addWidget(printer, 0, Qt::AlignHCenter);
    layout->addSpacing(10);
    layout->addWidget(apriTesto_);
    layout->addStretch();
    layout->addWidget(image9_, 0, Qt::AlignHCenter);
}

void MainWindow::buildPasswordPanel(QWidget* central) {
    panelPass_ = make<QFrame>(central, "PanelPass");
    panelPass_->setFrameShape(QFrame::StyledPanel);
    panelPass_->setGeometry(2, 70, 632, 381);
    panelPass_->setAutoFillBackground(true);

    auto* title = new QLabel(fromCp("Introduzca Contrase\xF1" "a"), panelPass_);
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    title->setFont(big);

    panMainPass_ = make<QLabel>(panelPass_, "PanMainPass", QString("******"));
    panMainPass_->setFixedSize(220, 64);
    panMainPass_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setStateColour(panMainPass_, StateColour::White);
    {
        QPalette p = panMainPass_->palette();
        p.setColor(QPalette::Window, QColor(255, 255, 0));
        p.setColor(QPalette::WindowText, Qt::black);
        panMainPass_->setPalette(p);
        panMainPass_->setAutoFillBackground(true);
        QFont f = panMainPass_->font();
        f.setPointSize(f.pointSize() + 3);
        f.setBold(true);
        panMainPass_->setFont(f);
    }
    edMainPass1_ = make<QLineEdit>(panMainPass_, "EdMainPass1");
    edMainPass1_->setGeometry(20, 32, 180, 24);
    setStateColour(edMainPass1_, StateColour::Yellow);
    edMainPass1_->setFrame(false);
    edMainPass1_->installEventFilter(this);

    bbOk_ = button(panelPass_, "BBok", "Entrar");
    bbOk_->setMinimumWidth(100);
    labPivona_ = make<QLabel>(panelPass_, "LabPivona",
                              fromCp("La contrase\xF1" "a inicial se indica en el manual de instrucciones"));

    auto* intro1 = new QLabel(fromCp("Introduzca en el cuadro de abajo"), panelPass_);
    auto* intro2 = new QLabel(fromCp("la nueva contrase\xF1" "a "), panelPass_);
    intro2->setStyleSheet("color: red;");
    auto* intro3 = new QLabel(fromCp("(6 caracteres alfanum\xE9ricos) que desea utilizar en el futuro"), panelPass_);
    auto* rule1 = new QLabel(fromCp("La nueva contrase\xF1" "a se puede introducir s\xF3lo despu\xE9s de haber,"), panelPass_);
    auto* rule2 = new QLabel(fromCp("entrado la vieja y antes de \"click\" en el bot\xF3n [Guardar]"), panelPass_);
    edNewPass_ = make<QLineEdit>(panelPass_, "EdNewPass");
    edNewPass_->setMaxLength(6);
    edNewPass_->setFixedWidth(120);
    edNewPass_->installEventFilter(this);
    bbOkRegi_ = button(panelPass_, "BBokRegi", "Guardar");
    bbOkRegi_->setMinimumWidth(100);

    auto* layout = new QVBoxLayout(panelPass_);
    layout->setContentsMargins(20, 14, 20, 14);
    layout->addWidget(title, 0, Qt::AlignHCenter);
    layout->addSpacing(6);
    auto* passRow = new QHBoxLayout;
    passRow->addStretch();
    passRow->addWidget(panMainPass_);
    passRow->addSpacing(12);
    passRow->addWidget(bbOk_, 0, Qt::AlignBottom);
    passRow->addStretch();
    layout->addLayout(passRow);
    layout->addWidget(labPivona_, 0, Qt::AlignHCenter);
    layout->addStretch();
    auto* newIntro = new QHBoxLayout;
    newIntro->setSpacing(0);
    newIntro->addStretch();
    newIntro->addWidget(intro1);
    newIntro->addSpacing(4);
    newIntro->addWidget(intro2);
    newIntro->addStretch();
    layout->addLayout(newIntro);
    layout->addWidget(intro3, 0, Qt::AlignHCenter);
    layout->addSpacing(6);
    auto* newRow = new QHBoxLayout;
    newRow->addStretch();
    newRow->addWidget(edNewPass_);
    newRow->addSpacing(12);
    newRow->addWidget(bbOkRegi_);
    newRow->addStretch();
    layout->addLayout(newRow);
    layout->addSpacing(6);
    layout->addWidget(rule1, 0, Qt::AlignHCenter);
    layout->addWidget(rule2, 0, Qt::AlignHCenter);
}

void MainWindow::connectActions() {
    connect(sbPass_, &QToolButton::clicked, this, [this] {
        edPass_->setVisible(!edPass_->isVisible());
        if (edPass_->isVisible()) {
            edPass_->raise();
            edPass_->setFocus();
        }
    });
    connect(nomeCognome_, &QPushButton::clicked, this, [this] {
        runDialog(nomUte_);
        nomeCognome_->setText(fromCp(ws_.fullName()));
    });
    connect(dispensa_, &QPushButton::clicked, this, [this] { openDocument(ws_.root.resolve("Dispensa.pdf")); });
    connect(istruz_, &QPushButton::clicked, this, [this] { runDialog(istDef_); });
    connect(bbOk_, &QPushButton::clicked, this, &MainWindow::enter);
    connect(bbOkRegi_, &QPushButton::clicked, this, &MainWindow::saveNewPassword);
    connect(lock_, &QToolButton::clicked, this, &MainWindow::toggleLock);
    connect(apriTesto_, &QPushButton::clicked, this, &MainWindow::openTextDocument);
    connect(comboOrb_, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        if (quietCombos_) return;
        if (auto letter = orbSetLetterFromCaption(toCp(text))) ws_.orbs.OrbSetLetter = std::string(1, *letter);
        orbChangePending_ = true;
        IdleHandler::install(this, [this] { onIdle(); });
    });
    connect(comboNodo_, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        if (quietCombos_) return;
        nodeType_ = toCp(text).substr(0, 5);
        nodeChangePending_ = true;
        IdleHandler::install(this, [this] { onIdle(); });
    });
}

void MainWindow::setAction(const char* buttonName, std::function<void()> action) {
    auto* b = findChild<QAbstractButton*>(QString::fromLatin1(buttonName));
    if (!b) return;
    connect(b, &QAbstractButton::clicked, this, [action = std::move(action)] { action(); });
    b->setEnabled(true);
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
        showMessage(this, MessageKind::Warning, "NECESITA INSTALAR EL CONTROLADOR DE LA IMPRESORA - VER MANUAL (inizio)");
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

void MainWindow::activate() {
    if (activating_) return;
    activating_ = true;
    guarded(this, [&] {
        resetOldBackupLine(ws_.root);
        ensureBaseArchive(ws_.root);
        // A new program folder has no current subject yet: TMPR starts with its blank record 0.
        if (!ws_.root.exists("TMPR.ST1") || !ws_.root.exists("TMPR.ST2")) Archive(ws_.root, "TMPR").create();
        panelPass_->show();
        bbOkRegi_->setEnabled(false);
        if (!ws_.loggedIn) {
            panelPass_->raise();
            edMainPass1_->setFocus();
            pages_->hide();
            panel9_->hide();
            nomeCognome_->hide();
            istruz_->hide();
            dispensa_->hide();
            aggiorna_->hide();
            labPivona_->setVisible(readStoredPassword(ws_.root) == kInitialPassword);
        } else {
            panelPass_->hide();  // behind the pages once logged in
        }
        password_.setStored(readStoredPassword(ws_.root));
        const QDate today = QDate::currentDate();
        todayJd_ = julianDayFromCivil(1, 0, 0, today.year(), today.month(), today.day()).jd;
        ws_.analysisShowedStructure = false;
        if (readPersonalName(ws_.root, ws_.firstName, ws_.surname)) nomeCognome_->setText(fromCp(ws_.fullName()));
        loadSettings(ws_.root, ws_.settings);
        quietCombos_ = true;
        comboNodo_->setCurrentText(fromCp(nodeType_));
        quietCombos_ = false;
        reloadSubject();
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
    memoDati_->setPlainText(shown.join('\n'));
    memoAnnotaz_->setPlainText(fromCp(readNotesLine(ws_.root)));
    apriTesto_->hide();
    {
        BusyCursor busy;
        buildCurrentChart(ws_.chart, *ws_.corrections, ChartVariant::MainWindow);
    }
    apriTesto_->setVisible(currentTextDocument(ws_.root).has_value());
}

void MainWindow::runDialog(QDialog* dialog, int offset) {
    placeDialog(dialog, this, offset);
    dialog->exec();
    activate();
}

void MainWindow::showOrbSetCaption(const std::string& caption) {
    quietCombos_ = true;
    comboOrb_->setCurrentText(fromCp(caption));
    quietCombos_ = false;
}

// ---- login ---------------------------------------------------------------------------

void MainWindow::showLoggedInControls() {
    ws_.loggedIn = true;
    pages_->show();
    panel9_->show();
    pages_->raise();
    panel9_->raise();
    nomeCognome_->show();
    istruz_->show();
    dispensa_->show();
    aggiorna_->show();
    panelPass_->hide();
}

void MainWindow::passwordKey(char key) {
    password_.typeKey(key);
    panMainPass_->setText(QString(static_cast<int>(password_.typed().size()), QChar('*')));
    edNewPass_->clear();
    bbOk_->setEnabled(password_.lengthMatches());
}

void MainWindow::enter() {
    if (!password_.matches()) {
        bbOk_->setEnabled(false);
        password_.forget();
        edMainPass1_->clear();
        edNewPass_->clear();
        panMainPass_->setText(QString());
        edMainPass1_->setFocus();
        return;
    }
    showLoggedInControls();
    guarded(this, [&] { fillLoginList(recordLogin(ws_.root, todayJd_).days); });
}

void MainWindow::fillLoginList(const std::vector<std::string>& days) {
    cbox1_->clear();
    for (const auto& d : days) cbox1_->addItem(fromCp(loginDateText(d)));
}

bool MainWindow::newPasswordKey(char key) {
    if (edMainPass1_->text().size() != 6) {
        edNewPass_->clear();
        setStateColour(edNewPass_, StateColour::Red);
        showMessage(this, MessageKind::Error, "ANTES Introduzca la contrase\xF1" "a actual!");
        return true;
    }
    if (key == '\r') return true;
    const bool ok = password_.matches();
    setStateColour(edNewPass_, ok ? StateColour::Aqua : StateColour::White);
    bbOkRegi_->setEnabled(ok);
    return false;
}

void MainWindow::saveNewPassword() {
    const std::string text = toCp(edNewPass_->text());
    std::string trimmed = text;
    while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
    if (trimmed.size() != 6) {
        showMessage(this, MessageKind::Error, "Sea necesario 6 caracteres");
        return;
    }
    if (!guarded(this, [&] { writeStoredPassword(ws_.root, trimmed); })) return;
    bbOkRegi_->setText(fromCp("Ok Fatto!"));
    bbOkRegi_->setEnabled(false);
}

// ---- the code field ----------------------------------------------------------------------

void MainWindow::codeKey(char key) {
    const CodeMatch match = code_.typeKey(key);
    edPass_->setText(QString(static_cast<int>(code_.typed().size()), QChar('*')));
    switch (match) {
    case CodeMatch::None:
        break;
    case CodeMatch::Master:
        showLoggedInControls();
        edPass_->hide();
        applyMaintenanceCode();
        break;
    case CodeMatch::Maintenance:
        applyMaintenanceCode();
        break;
    case CodeMatch::Corvell:
        findChild<QPushButton*>("Bcorv1")->show();
        findChild<QPushButton*>("Bcorv2")->show();
        ws_.corvellMode = true;
        showLoggedInControls();
        edPass_->hide();
        break;
    case CodeMatch::Reset:
        guarded(this, [&] {
            writeStoredPassword(ws_.root, std::string(kInitialPassword));
            password_.setStored(std::string(kInitialPassword));
        });
        edPass_->setText("OK");
        break;
    }
}

void MainWindow::applyMaintenanceCode() {
    cbox1_->show();
    cbox1_->raise();
    findChild<QPushButton*>("BButility")->show();
    ws_.maintenanceMode = true;
    edPass_->hide();
    edPass_->setText("OK");
    showLoggedInControls();
    // A login by code records nothing; the list still shows the logins so far.
    if (cbox1_->count() == 0 && ws_.root.exists(kLoginListFile)) {
        guarded(this, [&] { fillLoginList(readLines(ws_.root.resolve(kLoginListFile))); });
    }
}

// ---- chart options ---------------------------------------------------------------------

void MainWindow::toggleLock() { setLocked(!locked_); }

void MainWindow::setLocked(bool locked) {
    locked_ = locked;
    for (QComboBox* c : {comboOrb_, comboNodo_}) {
        c->setEnabled(!locked);
        setStateColour(c, locked ? StateColour::Grey : StateColour::Aqua);
    }
    lock_->setIcon(lockIcon(!locked));
    lock_->setProperty("glyph", locked ? "LockShut" : "LockOpen");
}

void MainWindow::onIdle() {
    if (nodeChangePending_) {
        const std::string text = toCp(comboNodo_->currentText());
        if (text != "MEDIO" && text != "VERO") {
            quietCombos_ = true;
            comboNodo_->setCurrentText("MEDIO");
            quietCombos_ = false;
            nodeType_ = "MEDIO";
        }
        nodeChangePending_ = false;
        guarded(this, [&] { replaceSettingsLine(ws_.root, 18, nodeType_, ws_.orbs, ws_.chart); });
    }
    if (orbChangePending_) {
        const std::string text = toCp(comboOrb_->currentText());
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
        auto* editor = new TextEditorDialog(ws_.root, path, this);
        editor->setAttribute(Qt::WA_DeleteOnClose);
        editor->show();
    });
}

// ---- events ------------------------------------------------------------------------------

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (!built_) return QMainWindow::eventFilter(watched, event);
    const QEvent::Type type = event->type();
    if (watched == edMainPass1_) {
        if (type == QEvent::KeyPress) {
            const char key = keyChar(static_cast<QKeyEvent*>(event));
            if (key == '\r') return true;
            if (key != 0) passwordKey(key);
        } else if (type == QEvent::MouseButtonDblClick) {
            password_.forget();
            edMainPass1_->clear();
            panMainPass_->setText(QString());
            bbOk_->setEnabled(password_.lengthMatches());
            return true;
        }
    } else if (watched == edNewPass_ && type == QEvent::KeyPress) {
        const char key = keyChar(static_cast<QKeyEvent*>(event));
        if (key != 0) return newPasswordKey(key);
    } else if (watched == edPass_) {
        if (type == QEvent::KeyPress) {
            const char key = keyChar(static_cast<QKeyEvent*>(event));
            if (key != 0 && key != '\r' && key != '\b') codeKey(key);
            return true;
        }
        if (type == QEvent::MouseButtonPress) {
            edPass_->hide();
            edPass_->clear();
            code_.clear();
            ws_.maintenanceMode = false;
            return true;
        }
        if (type == QEvent::MouseButtonDblClick) {
            code_.clear();
            return true;
        }
    } else if (watched == cbox1_ && type == QEvent::MouseButtonDblClick) {
        cbox1_->hide();
        return true;
    } else if (watched == comboNodo_->lineEdit() && type == QEvent::MouseButtonDblClick) {
        nodeType_ = nodeType_ == "VERO" ? "MEDIO" : "VERO";
        quietCombos_ = true;
        comboNodo_->setCurrentText(fromCp(nodeType_));
        quietCombos_ = false;
        nodeChangePending_ = true;
        IdleHandler::install(this, [this] { onIdle(); });
        return true;
    } else if (watched == memoDati_->viewport() && type == QEvent::MouseButtonPress) {
        memoAnnotaz_->show();
        memoAnnotaz_->raise();
        return true;
    } else if (watched == memoAnnotaz_->viewport() && type == QEvent::MouseButtonPress) {
        memoAnnotaz_->hide();
        return true;
    } else if (watched == image9_) {
        if (type == QEvent::MouseButtonPress) {
            image9_->setPixmap(pictureOr(ws_.root, kExitPressedPictureFile, drawExitPicture(true)));
            return true;
        }
        if (type == QEvent::MouseButtonRelease) {
            image9_->setPixmap(pictureOr(ws_.root, kExitPictureFile, drawExitPicture(false)));
            close();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace athanor
