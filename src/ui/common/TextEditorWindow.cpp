// TFoReMaiH: the built-in text editor of the subjects' documents. TFoReMai1 is the same window
// with the style groups (bold, italic, underline and the three alignments).
#include "ui/common/TextEditorWindow.h"

#include "foundations/FileError.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WindowSupport.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>

#include <cmath>

namespace athanor {

namespace names {
constexpr const char* kWindow = "FoReMaiH";
constexpr const char* kStyledWindow = "FoReMai1";
constexpr const char* kEditor = "Editor";
constexpr const char* kRuler = "Ruler";
constexpr const char* kFirstMarker = "FirstInd";
constexpr const char* kLeftMarker = "LeftInd";
constexpr const char* kRightMarker = "RightInd";
constexpr const char* kToolBar = "ToolBar";
constexpr const char* kStyleBar = "StyleBar";
constexpr const char* kFontName = "FontName";
constexpr const char* kFontSize = "FontSize";
constexpr const char* kStatusBar = "StatusBar";
constexpr const char* kCaretPanel = "StatusLine";
constexpr const char* kModifiedPanel = "StatusModified";
constexpr const char* kQuestion = "SaveQuestion";
// The commands, by the names tests and menus share.
constexpr const char* kNew = "FileNew";
constexpr const char* kOpen = "FileOpen";
constexpr const char* kSave = "FileSave";
constexpr const char* kSaveAs = "FileSaveAs";
constexpr const char* kPrint = "FilePrint";
constexpr const char* kExit = "FileExit";
constexpr const char* kUndo = "EditUndo";
constexpr const char* kCut = "EditCut";
constexpr const char* kCopy = "EditCopy";
constexpr const char* kPaste = "EditPaste";
constexpr const char* kFont = "EditFont";
constexpr const char* kBold = "BoldButton";
constexpr const char* kItalic = "ItalicButton";
constexpr const char* kUnderline = "UnderlineButton";
constexpr const char* kAlignLeft = "LeftAlign";
constexpr const char* kAlignCenter = "CenterAlign";
constexpr const char* kAlignRight = "RightAlign";
}  // namespace names

namespace {

constexpr const char* kUntitled = "Untitled";
constexpr const char* kEmptyCaption = "Rich Edit Control Demo";
constexpr const char* kSaveQuestion = "Guarde los cambios en %s?";
constexpr const char* kOverwriteQuestion = "Aceptar para sobrescribir %s";
constexpr const char* kTextsFolder = "MieiTesti";
constexpr int kMarkerWidth = 9;
constexpr int kHalfMarker = kMarkerWidth / 2;
const QColor kEditorBackground(226, 226, 226);  // 14869218

std::function<QString(const QString&)>& saveAsHook() {
    static std::function<QString(const QString&)> h;
    return h;
}

QString withName(const char* text, const QString& name) { return QString::fromLatin1(text).replace("%s", name); }

// The three-way question of the editor; its box is named so that tests can answer it.
QMessageBox::StandardButton askYesNoCancel(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Editor de textos"), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setObjectName(names::kQuestion);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QAction* makeAction(QWidget* owner, const char* name, const QString& text, const QString& hint,
                    const QKeySequence& key = {}) {
    auto* a = new QAction(text, owner);
    a->setObjectName(QString::fromLatin1(name));
    if (!hint.isEmpty()) {
        a->setToolTip(hint);
        a->setStatusTip(hint);
    }
    if (!key.isEmpty()) a->setShortcut(key);
    owner->addAction(a);
    return a;
}

QIcon themeIcon(const char* name, QStyle::StandardPixmap fallback, const QWidget* w) {
    return QIcon::fromTheme(QString::fromLatin1(name), w->style()->standardIcon(fallback));
}

}  // namespace

// ---- the ruler ---------------------------------------------------------------------------

// A marker of the ruler: dragged with the mouse, centred on it; dropping it hands its place
// to the ruler.
class RulerMarkerWidget : public QWidget {
public:
    RulerMarkerWidget(QWidget* ruler, const char* name, RulerMarker which, bool pointsDown)
        : QWidget(ruler), which_(which), down_(pointsDown) {
        setObjectName(QString::fromLatin1(name));
        setFixedSize(kMarkerWidth, 8);
        setCursor(Qt::SizeHorCursor);
    }
    std::function<void(RulerMarker, int)> dropped;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(palette().color(QPalette::WindowText));
        p.setBrush(palette().color(QPalette::Button));
        const QPolygonF tip = down_ ? QPolygonF({QPointF(0, 0), QPointF(width() - 1, 0), QPointF((width() - 1) / 2.0, height() - 1)})
                                    : QPolygonF({QPointF(0, height() - 1), QPointF(width() - 1, height() - 1),
                                                 QPointF((width() - 1) / 2.0, 0)});
        p.drawPolygon(tip);
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) dragging_ = true;
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (!dragging_) return;
        const int x = parentWidget()->mapFromGlobal(e->globalPosition().toPoint()).x();
        move(x - kHalfMarker, y());
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (!dragging_ || e->button() != Qt::LeftButton) return;
        dragging_ = false;
        if (dropped) dropped(which_, x());
    }

private:
    RulerMarker which_;
    bool down_;
    bool dragging_ = false;
};

class EditorRulerWidget : public QWidget {
public:
    explicit EditorRulerWidget(QWidget* parent) : QWidget(parent) {
        setObjectName(QString::fromLatin1(names::kRuler));
        setFixedHeight(26);
        setAutoFillBackground(true);
        first_ = new RulerMarkerWidget(this, names::kFirstMarker, RulerMarker::First, true);
        left_ = new RulerMarkerWidget(this, names::kLeftMarker, RulerMarker::Left, false);
        right_ = new RulerMarkerWidget(this, names::kRightMarker, RulerMarker::Right, false);
        first_->setToolTip(QStringLiteral("Sangría de la primera línea"));
        left_->setToolTip(QStringLiteral("Sangría izquierda"));
        right_->setToolTip(QStringLiteral("Sangría derecha"));
    }

    void setDropped(const std::function<void(RulerMarker, int)>& f) {
        first_->dropped = left_->dropped = right_->dropped = f;
    }
    void place(const MarkerPlaces& m) {
        places_ = m;
        first_->move(m.first, 0);
        left_->move(m.left, height() - left_->height());
        right_->move(m.right, height() - right_->height());
    }
    const MarkerPlaces& places() const { return places_; }
    void setTabDistance(double pixels) {
        tab_ = pixels;
        update();
    }
    std::function<void()> resized;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(palette().color(QPalette::Mid));
        p.drawLine(0, height() - 1, width(), height() - 1);
        p.setPen(palette().color(QPalette::WindowText));
        // One hundred tab stops, a bar at each, from where the text starts.
        for (int k = 1; k <= 100; ++k) {
            const int x = 6 + static_cast<int>(std::lround(k * tab_));
            if (x >= width()) break;
            p.drawLine(x, 9, x, height() - 10);
        }
    }
    void resizeEvent(QResizeEvent* e) override {
        QWidget::resizeEvent(e);
        if (resized) resized();
    }

private:
    RulerMarkerWidget* first_;
    RulerMarkerWidget* left_;
    RulerMarkerWidget* right_;
    MarkerPlaces places_;
    double tab_ = 48;
};

// ---- the window --------------------------------------------------------------------------

TextEditorWindow::TextEditorWindow(DataRoot root, QWidget* parent, Kind kind)
    : QMainWindow(parent, Qt::Window), root_(std::move(root)), name_(QString::fromLatin1(kUntitled)) {
    setObjectName(kind == Kind::Styled ? names::kStyledWindow : names::kWindow);
    setWindowTitle(QString::fromLatin1(kEmptyCaption));
    setAcceptDrops(true);
    QFont windowFont(QStringLiteral("Arial Narrow"), 12);
    windowFont.setStyleHint(QFont::SansSerif);
    setFont(windowFont);

    editor_ = new QTextEdit(this);
    editor_->setObjectName(names::kEditor);
    editor_->setAcceptRichText(false);
    editor_->setLineWrapMode(QTextEdit::NoWrap);
    editor_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor_->document()->setDocumentMargin(6);
    QPalette pal = editor_->palette();
    pal.setColor(QPalette::Base, kEditorBackground);
    pal.setColor(QPalette::Text, Qt::black);
    editor_->setPalette(pal);
    // The default typing font, at the size the system gives its default font.
    QFont typing(QStringLiteral("Courier New"));
    typing.setStyleHint(QFont::TypeWriter);
    typing.setPointSizeF(std::abs(QApplication::font().pointSizeF()) > 0 ? QApplication::font().pointSizeF() : 10);
    editor_->document()->setDefaultFont(typing);
    editor_->setCurrentFont(typing);
    editor_->viewport()->installEventFilter(this);
    editor_->installEventFilter(this);

    buildActions(kind);
    buildRuler();

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ruler_);
    layout->addWidget(editor_, 1);
    setCentralWidget(central);

    statusBar()->setObjectName(names::kStatusBar);
    caretPanel_ = new QLabel(this);
    caretPanel_->setObjectName(names::kCaretPanel);
    caretPanel_->setMinimumWidth(220);
    // The figures are padded to three places: they line up only in a fixed-width font.
    caretPanel_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    modifiedPanel_ = new QLabel(this);
    modifiedPanel_->setObjectName(names::kModifiedPanel);
    modifiedPanel_->setMinimumWidth(90);
    statusBar()->addWidget(caretPanel_);
    statusBar()->addWidget(modifiedPanel_, 1);

    connect(editor_, &QTextEdit::cursorPositionChanged, this, &TextEditorWindow::selectionChanged);
    connect(editor_, &QTextEdit::currentCharFormatChanged, this, [this] { selectionChanged(); });
    connect(editor_->document(), &QTextDocument::modificationChanged, this, &TextEditorWindow::updateModified);
    connect(editor_, &QTextEdit::copyAvailable, cut_, &QAction::setEnabled);
    connect(editor_, &QTextEdit::copyAvailable, copy_, &QAction::setEnabled);
    connect(editor_, &QTextEdit::undoAvailable, undo_, &QAction::setEnabled);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            [this] { paste_->setEnabled(editor_->canPaste()); });
    cut_->setEnabled(false);
    copy_->setEnabled(false);
    undo_->setEnabled(false);
    paste_->setEnabled(editor_->canPaste());

    resize(820, 600);
    selectionChanged();
    updateModified(false);
    editor_->setFocus();

    // The document the save or modify window, or the main window, handed over.
    try {
        loadFile(fromCp(readEditTarget(root_)));
    } catch (const FileError& e) {
        showFileError(this, e);
    }
}

void TextEditorWindow::buildActions(Kind kind) {
    auto* save = makeAction(this, names::kSave, QStringLiteral("&Salva"), QStringLiteral("Salva il File Attuale"),
                            QKeySequence(Qt::CTRL | Qt::Key_S));
    save->setIcon(themeIcon("document-save", QStyle::SP_DialogSaveButton, this));
    auto* print = makeAction(this, names::kPrint, QStringLiteral("Stam&Pa"), QStringLiteral("Stampa il File Attuale"),
                             QKeySequence(Qt::CTRL | Qt::Key_P));
    print->setIcon(themeIcon("document-print", QStyle::SP_FileIcon, this));
    auto* exit = makeAction(this, names::kExit, QStringLiteral("Fine E&Xit"), QString(), QKeySequence(Qt::ALT | Qt::Key_X));
    // New, open and save-as are there but hidden: the editor works on the document handed to it.
    auto* newDoc = makeAction(this, names::kNew, QStringLiteral("&Nuevo"), QString(), QKeySequence(Qt::CTRL | Qt::Key_N));
    auto* open = makeAction(this, names::kOpen, QStringLiteral("&Abrir..."), QString(), QKeySequence(Qt::CTRL | Qt::Key_O));
    auto* saveAs = makeAction(this, names::kSaveAs, QStringLiteral("Guardar &como..."), QString());
    for (QAction* hidden : {newDoc, open, saveAs}) hidden->setVisible(false);

    undo_ = makeAction(this, names::kUndo, QStringLiteral("&Annulla"), QStringLiteral("Annulla Ultima Operazione"),
                       QKeySequence::Undo);
    undo_->setIcon(themeIcon("edit-undo", QStyle::SP_ArrowBack, this));
    cut_ = makeAction(this, names::kCut, QStringLiteral("&Taglia"), QStringLiteral("Elimina Parte Selezionata"),
                      QKeySequence::Cut);
    cut_->setIcon(themeIcon("edit-cut", QStyle::SP_DialogDiscardButton, this));
    copy_ = makeAction(this, names::kCopy, QStringLiteral("&Copia"), QStringLiteral("Copia Parte Selezionata"),
                       QKeySequence::Copy);
    copy_->setIcon(themeIcon("edit-copy", QStyle::SP_FileDialogDetailedView, this));
    paste_ = makeAction(this, names::kPaste, QStringLiteral("&Incolla"), QStringLiteral("Incolla"), QKeySequence::Paste);
    paste_->setIcon(themeIcon("edit-paste", QStyle::SP_DialogApplyButton, this));
    auto* font = makeAction(this, names::kFont, QStringLiteral("&Font..."), QString());

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(newDoc);
    file->addAction(open);
    file->addAction(save);
    file->addAction(saveAs);
    file->addSeparator();
    file->addAction(print);
    file->addSeparator();
    file->addAction(exit);
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Modifica"));
    edit->addAction(undo_);
    edit->addSeparator();
    edit->addAction(cut_);
    edit->addAction(copy_);
    edit->addAction(paste_);
    edit->addSeparator();
    edit->addAction(font);

    QToolBar* bar = addToolBar(QStringLiteral("Herramientas"));
    bar->setObjectName(names::kToolBar);
    bar->setMovable(false);
    bar->addAction(save);
    bar->addAction(print);
    bar->addSeparator();
    bar->addAction(cut_);
    bar->addAction(copy_);
    bar->addAction(paste_);
    bar->addAction(undo_);
    bar->addSeparator();
    fontName_ = new QFontComboBox(bar);
    fontName_->setObjectName(names::kFontName);
    fontName_->setToolTip(QStringLiteral("Nome del Font"));
    fontName_->setStatusTip(QStringLiteral("Nome del Font"));
    fontName_->setEditable(false);
    bar->addWidget(fontName_);
    fontSize_ = new QSpinBox(bar);
    fontSize_->setObjectName(names::kFontSize);
    fontSize_->setRange(1, 400);
    fontSize_->setToolTip(QStringLiteral("Grandezza Font"));
    fontSize_->setStatusTip(QStringLiteral("Grandezza Font"));
    bar->addWidget(fontSize_);

    if (kind == Kind::Styled) {
        QToolBar* styles = addToolBar(QStringLiteral("Estilos"));
        styles->setObjectName(names::kStyleBar);
        styles->setMovable(false);
        auto charStyle = [&](const char* name, const char* caption, const char* hint, QKeySequence key,
                             std::function<void(QTextCharFormat&, bool)> set) {
            auto* a = makeAction(this, name, QString::fromLatin1(caption), QString::fromLatin1(hint), key);
            a->setCheckable(true);
            connect(a, &QAction::triggered, this, [this, set](bool on) {
                QTextCharFormat fmt;
                set(fmt, on);
                editor_->mergeCurrentCharFormat(fmt);
            });
            styles->addAction(a);
            return a;
        };
        auto* bold = charStyle(names::kBold, "G", "Grassetto", QKeySequence::Bold,
                               [](QTextCharFormat& f, bool on) { f.setFontWeight(on ? QFont::Bold : QFont::Normal); });
        auto* italic = charStyle(names::kItalic, "I", "Inclinato", QKeySequence::Italic,
                                 [](QTextCharFormat& f, bool on) { f.setFontItalic(on); });
        auto* underline = charStyle(names::kUnderline, "S", "Sottolineato", QKeySequence::Underline,
                                    [](QTextCharFormat& f, bool on) { f.setFontUnderline(on); });
        QFont b = bold->font();
        b.setBold(true);
        bold->setFont(b);
        QFont i = italic->font();
        i.setItalic(true);
        italic->setFont(i);
        QFont u = underline->font();
        u.setUnderline(true);
        underline->setFont(u);
        styles->addSeparator();
        auto* group = new QActionGroup(this);
        auto align = [&](const char* name, const char* icon, QStyle::StandardPixmap fallback, const char* hint,
                         Qt::Alignment a) {
            auto* act = makeAction(this, name, QString::fromLatin1(hint), QString::fromLatin1(hint));
            act->setIcon(themeIcon(icon, fallback, this));
            act->setCheckable(true);
            group->addAction(act);
            connect(act, &QAction::triggered, this, [this, a] { editor_->setAlignment(a); });
            styles->addAction(act);
        };
        align(names::kAlignLeft, "format-justify-left", QStyle::SP_ArrowLeft, "Allinea a Sinistra", Qt::AlignLeft);
        align(names::kAlignCenter, "format-justify-center", QStyle::SP_ArrowUp, "Centrato", Qt::AlignHCenter);
        align(names::kAlignRight, "format-justify-right", QStyle::SP_ArrowRight, "Allinea a Destra", Qt::AlignRight);
        connect(editor_, &QTextEdit::currentCharFormatChanged, this, [bold, italic, underline](const QTextCharFormat& f) {
            bold->setChecked(f.fontWeight() >= QFont::Bold);
            italic->setChecked(f.fontItalic());
            underline->setChecked(f.fontUnderline());
        });
    }

    connect(save, &QAction::triggered, this, [this] { this->save(); });
    connect(saveAs, &QAction::triggered, this, [this] { this->saveAs(); });
    connect(newDoc, &QAction::triggered, this, &TextEditorWindow::newDocument);
    connect(open, &QAction::triggered, this, &TextEditorWindow::openDocument);
    connect(print, &QAction::triggered, this, &TextEditorWindow::print);
    connect(exit, &QAction::triggered, this, &QWidget::close);
    connect(undo_, &QAction::triggered, editor_, &QTextEdit::undo);
    connect(cut_, &QAction::triggered, editor_, &QTextEdit::cut);
    connect(copy_, &QAction::triggered, editor_, &QTextEdit::copy);
    connect(paste_, &QAction::triggered, editor_, &QTextEdit::paste);
    connect(font, &QAction::triggered, this, &TextEditorWindow::chooseFont);
    connect(fontName_, &QFontComboBox::currentFontChanged, this, [this](const QFont& f) {
        if (updating_) return;
        QTextCharFormat fmt;
        fmt.setFontFamilies({f.family()});
        editor_->mergeCurrentCharFormat(fmt);
    });
    connect(fontSize_, &QSpinBox::valueChanged, this, [this](int points) {
        if (updating_) return;
        QTextCharFormat fmt;
        fmt.setFontPointSize(points);
        editor_->mergeCurrentCharFormat(fmt);
    });
}

void TextEditorWindow::buildRuler() {
    ruler_ = new EditorRulerWidget(this);
    ruler_->setTabDistance(editor_->tabStopDistance());
    ruler_->setDropped([this](RulerMarker marker, int x) {
        const QTextBlockFormat f = editor_->textCursor().blockFormat();
        const ParagraphIndents now = indentsOf({f.leftMargin(), f.textIndent(), f.rightMargin()});
        applyIndents(dropMarker(now, ruler_->places(), marker, x, kHalfMarker, ruler_->width()));
    });
    ruler_->resized = [this] { selectionChanged(); };
}

void TextEditorWindow::applyIndents(const ParagraphIndents& indents) {
    const BlockMargins m = blockMargins(indents);
    QTextBlockFormat f;
    f.setLeftMargin(m.left);
    f.setTextIndent(m.firstLineShift);
    f.setRightMargin(m.right);
    editor_->textCursor().mergeBlockFormat(f);
    selectionChanged();
}

void TextEditorWindow::exec() {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    connect(this, &TextEditorWindow::closed, &loop, &QEventLoop::quit);
    show();
    loop.exec(QEventLoop::DialogExec);
}

// ---- documents ---------------------------------------------------------------------------

QString TextEditorWindow::programPath(const QString& relative) const {
    if (QDir::isAbsolutePath(relative)) return relative;
    return QString::fromStdString(root_.resolve(toCp(relative)).string());
}

QString TextEditorWindow::textsFolder() const {
    return QString::fromStdString(root_.resolve(kTextsFolder).string());
}

bool TextEditorWindow::loadFile(const QString& path) {
    DecodedDocument doc;
    const QString full = programPath(path);
    if (!guarded(this, [&] { doc = loadDocument(full.toStdString()); })) return false;
    updating_ = true;
    editor_->setPlainText(QString::fromStdString(doc.text));
    updating_ = false;
    format_ = doc.format;
    path_ = full;
    // A hand-off path is shown as the program folder names it, with this system's separators.
    name_ = QDir::isAbsolutePath(path) ? path : QString(path).replace('\\', '/');
    setWindowTitle(QStringLiteral("%1 - Athanor").arg(QFileInfo(full).fileName()));
    editor_->moveCursor(QTextCursor::Start);
    editor_->setFocus();
    editor_->document()->setModified(false);
    selectionChanged();
    return true;
}

bool TextEditorWindow::save() {
    if (name_ == QLatin1String(kUntitled)) return saveAs();
    const std::string text = editor_->toPlainText().toStdString();
    const std::u32string lost = unencodable(text, format_.encoding);
    if (!lost.empty()) {
        const QString chars = QString::fromUcs4(lost.data(), static_cast<qsizetype>(lost.size()));
        if (!askYesNo(this, QStringLiteral("Editor de textos"),
                      QStringLiteral("El documento se guarda en Windows-1252, que no tiene estos caracteres: %1\n"
                                     "¿Guardarlo con «?» en su lugar?")
                          .arg(chars))) {
            return false;
        }
    }
    if (!guarded(this, [&] { saveDocument(path_.toStdString(), text, format_); })) return false;
    editor_->document()->setModified(false);
    return true;
}

bool TextEditorWindow::saveAs() {
    const QString folder = textsFolder();
    QDir().mkpath(folder);
    QString file;
    if (saveAsHook()) {
        file = saveAsHook()(folder);
    } else {
        QFileDialog dialog(this, QStringLiteral("Guardar como"), folder, QStringLiteral("Textos (*.txt *.TXT);;Todos (*)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("TXT"));
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) file = dialog.selectedFiles().first();
    }
    if (file.isEmpty()) return false;
    if (QFileInfo::exists(file) && askYesNoCancel(this, withName(kOverwriteQuestion, file)) != QMessageBox::Yes) {
        return false;
    }
    const QString oldPath = path_, oldName = name_;
    path_ = name_ = file;
    if (save()) {
        setWindowTitle(QStringLiteral("%1 - Athanor").arg(QFileInfo(file).fileName()));
        return true;
    }
    path_ = oldPath;
    name_ = oldName;
    return false;
}

void TextEditorWindow::newDocument() {
    if (!maySetTextAside()) return;
    editor_->clear();
    format_ = DocumentFormat{};
    path_.clear();
    name_ = QString::fromLatin1(kUntitled);
    setWindowTitle(QString::fromLatin1(kEmptyCaption));
    editor_->document()->setModified(false);
}

void TextEditorWindow::openDocument() {
    if (!maySetTextAside()) return;
    const QString folder = textsFolder();
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Abrir"), folder,
                                                      QStringLiteral("Textos (*.txt *.TXT);;Todos (*)"));
    if (!file.isEmpty()) loadFile(file);
}

bool TextEditorWindow::maySetTextAside() {
    if (!editor_->document()->isModified()) return true;
    switch (askYesNoCancel(this, withName(kSaveQuestion, name_))) {
        case QMessageBox::Yes: return save();
        case QMessageBox::No: return true;
        default: return false;
    }
}

void TextEditorWindow::print() {
    QPrinter printer(QPrinter::HighResolution);
    const QString title = QFileInfo(name_).fileName();
    printer.setDocName(title);
    QString pdf;
    if (systemPrinterAvailable()) {
        QPrintDialog dialog(&printer, this);
        if (dialog.exec() != QDialog::Accepted) return;
    } else {
        pdf = askPdfFileName(this, QDir(documentsFolder()).filePath(QFileInfo(title).completeBaseName() + ".pdf"));
        if (pdf.isEmpty()) return;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
    }
    {
        BusyCursor busy;
        editor_->document()->print(&printer);
    }
    if (pdf.isEmpty()) return;
    if (QFileInfo(pdf).size() > 0) {
        showStatus(QStringLiteral("Texto guardado en %1").arg(pdf));
        statusBar()->showMessage(QStringLiteral("Texto guardado en %1").arg(pdf), 10000);
    } else {
        showMessage(this, MessageKind::Error, QStringLiteral("No se pudo escribir %1").arg(pdf));
    }
}

void TextEditorWindow::chooseFont() {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, editor_->currentFont(), this, QStringLiteral("Font"));
    if (!ok) return;
    QTextCharFormat fmt;
    fmt.setFont(chosen);
    editor_->mergeCurrentCharFormat(fmt);
    selectionChanged();
}

// ---- what the window shows ---------------------------------------------------------------

void TextEditorWindow::selectionChanged() {
    if (!ruler_ || !caretPanel_) return;
    const bool wasUpdating = updating_;
    updating_ = true;
    const QTextBlockFormat f = editor_->textCursor().blockFormat();
    ruler_->place(markerPlaces(indentsOf({f.leftMargin(), f.textIndent(), f.rightMargin()}), ruler_->width()));
    const QFont font = editor_->currentFont();
    fontSize_->setValue(static_cast<int>(std::lround(font.pointSizeF())));
    fontName_->setCurrentFont(font);
    updateStatus();
    updating_ = wasUpdating;
}

void TextEditorWindow::updateStatus() {
    const QTextCursor c = editor_->textCursor();
    caretPanel_->setText(QString::fromLatin1(caretStatus(c.blockNumber() + 1, c.positionInBlock() + 1)));
}

void TextEditorWindow::updateModified(bool modified) {
    modifiedPanel_->setText(modified ? QStringLiteral("Modified") : QString());
}

// ---- closing and dropped files -----------------------------------------------------------

void TextEditorWindow::closeEvent(QCloseEvent* event) {
    if (!maySetTextAside()) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed();
}

bool TextEditorWindow::dropFiles(const QMimeData* data) {
    if (!data || !data->hasUrls()) return false;
    QString first;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            first = url.toLocalFile();
            break;
        }
    }
    if (first.isEmpty()) return false;
    activateWindow();
    if (maySetTextAside()) loadFile(first);
    return true;
}

void TextEditorWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TextEditorWindow::dropEvent(QDropEvent* event) {
    if (dropFiles(event->mimeData())) event->acceptProposedAction();
}

bool TextEditorWindow::eventFilter(QObject* watched, QEvent* event) {
    // Files dropped on the text are loaded, not pasted in as their names.
    if (watched == editor_->viewport() || watched == editor_) {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* e = static_cast<QDragMoveEvent*>(event);
            if (e->mimeData()->hasUrls()) {
                e->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto* e = static_cast<QDropEvent*>(event);
            if (dropFiles(e->mimeData())) {
                e->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::FocusIn) {
            paste_->setEnabled(editor_->canPaste());
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TextEditorWindow::setSaveAsHook(std::function<QString(const QString&)> hook) { saveAsHook() = std::move(hook); }

}  // namespace athanor
