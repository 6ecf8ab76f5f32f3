#include "ui/charts/ChartRemediesWindow.h"

#include "app/ChartRemediesReport.h"
#include "app/SubjectDisplay.h"
#include "app/Workstation.h"
#include "foundations/Cp1252.h"
#include "foundations/FileError.h"
#include "subjects/SubjectFiles.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WindowHost.h"
#include "ui/common/WindowSupport.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace athanor {

namespace names {
constexpr const char* kWindow = "ChartRemediesWindow";
constexpr const char* kSubject = "LabelSujeto";
constexpr const char* kWeaknesses = "ListDebilidades";
constexpr const char* kRemedies = "TreeRemedios";
constexpr const char* kDetail = "MemoRemedio";
constexpr const char* kPrint = "BBImprimir";
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
    try {
        found_ = chartRemediesFor(ws_.root, ws_.chart);
    } catch (const FileError& e) {
        showFileError(this, e);
        return;
    }
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

std::string ChartRemediesWindow::pageHtml() const {
    return chartRemediesHtml(found_, currentSubjectLines(ws_), ws_.fullName(),
                             QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")).toStdString());
}

void ChartRemediesWindow::printOn(QPrinter& printer) {
    QTextDocument page;
    page.setHtml(QString::fromStdString(pageHtml()));
    page.print(&printer);
}

bool ChartRemediesWindow::printToPdf(const QString& file) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printOn(printer);
    return QFileInfo::exists(file);
}

void ChartRemediesWindow::print() {
    if (systemPrinterAvailable()) {
        BusyCursor busy;
        QPrinter printer(QPrinter::HighResolution);
        printOn(printer);
        return;
    }
    const QString file =
        askPdfFileName(this, QDir(documentsFolder()).filePath(QStringLiteral("Remedios para el tema.pdf")));
    if (file.isEmpty()) return;
    BusyCursor busy;
    if (printToPdf(file))
        showMessage(this, MessageKind::Information, QStringLiteral("Página guardada en %1").arg(file));
    else showMessage(this, MessageKind::Error, QStringLiteral("No se pudo escribir %1").arg(file));
}

void ChartRemediesWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace athanor
