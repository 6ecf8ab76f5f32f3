#include "ui/charts/ChartRemediesWindow.h"
#include "ui/charts/ChartPageWindow.h"

#include "app/SubjectDisplay.h"
#include "app/Workstation.h"
#include "foundations/Cp1252.h"
#include "foundations/FileError.h"
#include "foundations/Format.h"
#include "graphics/ChartViewControls.h"
#include "graphics/EmfDevice.h"
#include "graphics/PageCanvas.h"
#include "graphics/RemediesPage.h"
#include "graphics/Views.h"
#include "subjects/SubjectFiles.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WindowHost.h"
#include "ui/common/WindowSupport.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>

namespace athanor {

namespace names {
constexpr const char* kWindow = "ChartRemediesWindow";
constexpr const char* kSubject = "LabelSujeto";
constexpr const char* kWeaknesses = "ListDebilidades";
constexpr const char* kRemedies = "TreeRemedios";
constexpr const char* kDetail = "MemoRemedio";
constexpr const char* kPrint = "BBImprimir";
constexpr const char* kMetafile = "ComboEMF";
constexpr const char* kExport = "BBEMFout";
constexpr const char* kClose = "BBVolver";
}  // namespace names

namespace {

std::array<std::string, 6> currentSubjectLines(const Workstation& ws) {
    try {
        return subjectDisplayLines(loadCurrent(ws.root));
    } catch (const FileError&) {
        return {};
    }
}

}  // namespace

ChartRemediesWindow::ChartRemediesWindow(Workstation& ws, QWidget* parent) : QWidget(parent, Qt::Window), ws_(ws) {
    setObjectName(names::kWindow);
    setWindowTitle(QStringLiteral("Remedios para el tema"));
    resize(1100, 720);

    subject_ = new QLabel(this);
    subject_->setObjectName(names::kSubject);
    subject_->setWordWrap(true);

    weaknesses_ = new QListWidget(this);
    weaknesses_->setObjectName(names::kWeaknesses);
    weaknesses_->setWordWrap(true);

    remedies_ = new QTreeWidget(this);
    remedies_->setObjectName(names::kRemedies);
    remedies_->setRootIsDecorated(false);
    remedies_->setToolTip(QStringLiteral("Doble clic o Intro: el remedio en la consulta de remedios"));
    remedies_->setHeaderLabels({QStringLiteral("Remedio"), QStringLiteral("Debilidades"),
                                QStringLiteral("Signatura planetaria"), QStringLiteral("Signatura zodiacal")});
    remedies_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    detail_ = new QTextBrowser(this);
    detail_->setObjectName(names::kDetail);

    print_ = new QPushButton(QStringLiteral("&Imprimir…"), this);
    print_->setObjectName(names::kPrint);
    metafile_ = new QComboBox(this);
    metafile_->setObjectName(names::kMetafile);
    metafile_->setEditable(true);
    for (int n = 1; n <= kOfferedMetafiles; ++n) metafile_->addItem(QString::fromStdString(offeredMetafileName(n)));
    metafile_->setToolTip(QStringLiteral("Metaarchivo de la carpeta Emf; las hojas siguientes añaden -2, -3…"));
    export_ = new QPushButton(QStringLiteral("E&xportar EMF"), this);
    export_->setObjectName(names::kExport);
    close_ = new QPushButton(QStringLiteral("&Volver"), this);
    close_->setObjectName(names::kClose);

    auto* left = new QWidget(this);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(new QLabel(QStringLiteral("Debilidades del tema"), left));
    leftLayout->addWidget(weaknesses_);
    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(new QLabel(QStringLiteral("Remedios que responden (por número de debilidades)"), right));
    rightLayout->addWidget(remedies_, 3);
    rightLayout->addWidget(detail_, 2);
    auto* split = new QSplitter(this);
    split->addWidget(left);
    split->addWidget(right);
    split->setStretchFactor(1, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(metafile_);
    buttons->addWidget(export_);
    buttons->addWidget(print_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(subject_);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);

    connect(remedies_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { showRemedy(item ? remedies_->indexOfTopLevelItem(item) : -1); });
    connect(remedies_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const int i = remedies_->indexOfTopLevelItem(item);
        if (host_ && i >= 0 && i < static_cast<int>(found_.remedies.size()))
            host_->showRemedy(fromCp(found_.remedies[static_cast<std::size_t>(i)].name));
    });
    connect(print_, &QPushButton::clicked, this, &ChartRemediesWindow::print);
    connect(export_, &QPushButton::clicked, this, &ChartRemediesWindow::exportMetafiles);
    connect(close_, &QPushButton::clicked, this, &QWidget::close);
}

void ChartRemediesWindow::refresh() {
    BusyCursor busy;
    const auto lines = currentSubjectLines(ws_);
    subject_->setText(fromCp(lines[0]) + QStringLiteral("   ") + fromCp(lines[1]));
    weaknesses_->clear();
    remedies_->clear();
    detail_->clear();
    found_ = {};
    // Until the base has been read there is no page: an empty one would say the chart has no weakness.
    print_->setEnabled(false);
    export_->setEnabled(false);
    try {
        found_ = chartRemediesFor(ws_.root, ws_.chart);
    } catch (const FileError& e) {
        showFileError(this, e);
        return;
    }
    print_->setEnabled(true);
    export_->setEnabled(true);
    if (found_.weaknesses.empty())
        weaknesses_->addItem(QStringLiteral("Ningún planeta está en exilio, en caída ni sin condición."));
    for (const auto& w : found_.weaknesses) weaknesses_->addItem(fromCp(w.reason));
    for (const auto& r : found_.remedies) {
        QStringList answered;
        for (int i : r.answers) answered << fromCp(found_.weaknesses[static_cast<std::size_t>(i)].planet);
        QString planets = fromCp(r.record.primarySignature);
        if (!r.record.secondarySignature.empty())
            planets += QStringLiteral(" / ") + fromCp(r.record.secondarySignature);
        new QTreeWidgetItem(remedies_, {fromCp(r.name), answered.join(QStringLiteral(", ")), planets,
                                        fromCp(r.record.zodiacSignature)});
    }
    if (found_.remedies.empty())
        detail_->setPlainText(QStringLiteral("Ningún remedio de la base responde a estas debilidades."));
    else remedies_->setCurrentItem(remedies_->topLevelItem(0));
}

void ChartRemediesWindow::showRemedy(int index) {
    if (index < 0 || index >= static_cast<int>(found_.remedies.size())) {
        detail_->clear();
        return;
    }
    const RemedyForChart& r = found_.remedies[static_cast<std::size_t>(index)];
    QString text = QStringLiteral("<h3>%1</h3>").arg(fromCp(r.name).toHtmlEscaped());
    auto part = [&](const QString& title, const std::string& cp1252) {
        if (!cp1252.empty()) text += QStringLiteral("<p><b>%1:</b> %2</p>").arg(title, fromCp(cp1252).toHtmlEscaped());
    };
    part(QStringLiteral("Indicaciones"), r.record.indicationText());
    part(QStringLiteral("Posología"), r.record.posologyText());
    part(QStringLiteral("Advertencias"), r.record.warningsText());
    QStringList pathologies;
    for (const auto& p : r.pathologies) pathologies << fromCp(p).toHtmlEscaped();
    if (!pathologies.isEmpty())
        text +=
            QStringLiteral("<p><b>Patologías del repertorio:</b> %1</p>").arg(pathologies.join(QStringLiteral(", ")));
    detail_->setHtml(text);
}

void ChartRemediesWindow::printOn(QPrinter& printer) {
    QPainter painter;
    DrawingState state = beginPrintedSheet(printer, painter, ws_.drawing, true);
    state.monochrome = false;
    PageCanvas canvas(painter, state, &ws_.root);
    const RemediesPageContent content{found_, pageSubjectFor(ws_.chart, ws_.root), ws_.fullName(), todayText()};
    const RemediesPages pages(canvas, content);
    for (int i = 0; i < pages.count(); ++i) {
        if (i > 0 && !printer.newPage())
            throw FileError(printer.outputFileName().toStdString(), "cannot print", FileFault::NotWritten);
        pages.draw(canvas, i);
    }
    if (!painter.end()) throw FileError(printer.outputFileName().toStdString(), "cannot print", FileFault::NotWritten);
}

void ChartRemediesWindow::printToPdf(const QString& file) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printOn(printer);
    if (!QFileInfo::exists(file))
        throw FileError(file.toStdString(), "cannot write the document", FileFault::NotWritten);
}

void ChartRemediesWindow::print() {
    if (systemPrinterAvailable()) {
        guarded(this, [&] {
            BusyCursor busy;
            if (ws_.settings.printerType == 1) {
                // Printers that lose the first page of a job get an empty one first.
                QPrinter dummy(QPrinter::HighResolution);
                QPainter p;
                if (p.begin(&dummy)) p.end();
            }
            QPrinter printer(QPrinter::HighResolution);
            printOn(printer);
        });
        return;
    }
    const QString file =
        askPdfFileName(this, QDir(documentsFolder()).filePath(QStringLiteral("Remedios para el tema.pdf")));
    if (file.isEmpty()) return;
    const bool written = guarded(this, [&] {
        BusyCursor busy;
        printToPdf(file);
    });
    if (written)
        showMessage(
            this, MessageKind::Information,
            QStringLiteral("No hay impresora: la página se ha guardado en %1").arg(QDir::toNativeSeparators(file)));
}

std::vector<std::filesystem::path> ChartRemediesWindow::writeMetafiles(const std::string& name) {
    const RemediesPageContent content{found_, pageSubjectFor(ws_.chart, ws_.root), ws_.fullName(), todayText()};
    // As the summary pages are recorded: the screen's scale, a portrait sheet, nothing moved.
    DrawingState state = ws_.drawing;
    state.portrait = true;
    state.recording = true;
    state.printing = false;
    state.zoom = 1;
    state.ox = state.oy = 0;
    const QSize size(static_cast<int>(std::ceil(DrawingState::kPageWidth * state.ppu)),
                     static_cast<int>(std::ceil(state.pageHeight() * state.ppu)));
    std::vector<std::filesystem::path> written;
    int count = 1;
    for (int i = 0; i < count; ++i) {
        EmfDevice device(size, 96.0);
        QPainter painter(&device);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        {
            PageCanvas canvas(painter, state, &ws_.root);
            const RemediesPages pages(canvas, content);
            count = pages.count();
            pages.draw(canvas, i);
        }
        painter.end();
        const auto file = ws_.root.resolveForWriting(std::string(kMetafileFolder) + sheetFile(name, i + 1).string());
        device.save(file);
        written.push_back(file);
    }
    recordGraphType(ws_.root, name, 'P');
    return written;
}

void ChartRemediesWindow::exportMetafiles() {
    const std::string name = toCp(metafile_->currentText());
    if (!acceptableMetafileName(name)) {
        showMessage(this, MessageKind::Warning, kBadMetafileName);
        return;
    }
    std::vector<std::filesystem::path> written;
    if (!guarded(this, [&] {
            BusyCursor busy;
            written = writeMetafiles(name);
        }))
        return;
    QStringList files;
    for (const auto& f : written) files << QDir::toNativeSeparators(QString::fromStdString(f.string()));
    showMessage(this, MessageKind::Information,
                (files.size() == 1 ? QStringLiteral("Metaarchivo guardado en %1")
                                   : QStringLiteral("Metaarchivos guardados, una hoja en cada uno: %1"))
                    .arg(files.join(QStringLiteral(", "))));
}

void ChartRemediesWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace athanor
