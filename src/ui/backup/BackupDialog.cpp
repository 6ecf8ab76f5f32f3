// TFoBakMod1: "Copia de seguridad / Restaurar Archivo BASE".
#include "ui/backup/BackupDialog.h"

#include "app/Backup.h"
#include "app/FileMessages.h"
#include "app/Workstation.h"
#include "foundations/Cp1252.h"
#include "foundations/FileError.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

namespace athanor {

namespace names {
constexpr const char* kWindow = "FoBakMod1";
constexpr const char* kLastDate = "EditData";
constexpr const char* kOk = "LabOkDati";
constexpr const char* kDestinationPanel = "Panel1";
constexpr const char* kDestinationLabel = "LabDest";
constexpr const char* kDestination = "EditDest";
constexpr const char* kHintPanel = "Panel4";
constexpr const char* kChange = "BBCambiaDest";
constexpr const char* kChoicePanel = "Panel3";
constexpr const char* kVolumes = "DriveComboBox1";
constexpr const char* kCloseChoice = "BBchiudiScelta";
constexpr const char* kFolder = "BBElegirCarpeta";
constexpr const char* kProgress = "BarraCopia";
constexpr const char* kBackup = "BBbackup";
constexpr const char* kRestore = "BBRestore";
constexpr const char* kBack = "BitBtnRitorna";
}  // namespace names

namespace {

constexpr const char* kNoDestination = "Definir la unidad de copia de seguridad";
constexpr const char* kReplaceQuestion = "\xBFSUSTITUIR los datos actual con una COPIA?";

std::function<QString()>& folderHook() {
    static std::function<QString()> h;
    return h;
}

QString pathText(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

QLabel* bigLabel(QWidget* parent, const char* text, int points, bool bold = true) {
    QLabel* l = widgets::label(parent, text);
    QFont f = l->font();
    f.setPointSize(points);
    f.setBold(bold);
    l->setFont(f);
    return l;
}

}  // namespace

BackupDialog::BackupDialog(Workstation& ws, VolumeSources volumes, QWidget* parent)
    : QDialog(parent), ws_(ws), volumeSources_(std::move(volumes)) {
    setObjectName(names::kWindow);
    setWindowTitle(QStringLiteral("Copia de seguridad / Restaurar Archivo BASE"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bigLabel(this, "AHORRO DE DATOS", 16));
    layout->addWidget(widgets::label(this, "Copie Archive Fecha de nacimiento (BASE)"));
    layout->addWidget(widgets::label(this, "desde Folder OrdalysBck / DatiBase"));

    auto* dateRow = new QHBoxLayout;
    auto* dateCaption = new QVBoxLayout;
    dateCaption->setSpacing(0);
    dateCaption->addWidget(widgets::label(this, "\xDAltima"));
    dateCaption->addWidget(widgets::label(this, "copia de seguridad"));
    dateRow->addLayout(dateCaption);
    lastDate_ = widgets::field(this, names::kLastDate, 10, true);
    lastDate_->setMaximumWidth(140);
    dateRow->addWidget(lastDate_);
    okLabel_ = bigLabel(this, "OK", 18);
    okLabel_->setObjectName(names::kOk);
    okLabel_->setMinimumWidth(60);
    dateRow->addWidget(okLabel_);
    dateRow->addStretch();
    layout->addLayout(dateRow);

    // The destination, and the list of volumes that replaces it while one is chosen.
    destinationPanel_ = widgets::panel(this, names::kDestinationPanel);
    auto* dest = new QVBoxLayout(destinationPanel_);
    auto* destRow = new QHBoxLayout;
    destinationLabel_ = widgets::label(destinationPanel_, "Unidad:", names::kDestinationLabel);
    destRow->addWidget(destinationLabel_);
    destination_ = widgets::field(destinationPanel_, names::kDestination, 0, true);
    destination_->setMinimumWidth(360);
    destRow->addWidget(destination_, 1);
    dest->addLayout(destRow);
    hintPanel_ = widgets::panel(destinationPanel_, names::kHintPanel, QFrame::NoFrame);
    auto* hints = new QVBoxLayout(hintPanel_);
    hints->setContentsMargins(0, 0, 0, 0);
    hints->setSpacing(0);
    hints->addWidget(widgets::label(hintPanel_, "Seleccione la unidad en la cual"));
    hints->addWidget(widgets::label(hintPanel_, "copiar / adquirir los datos"));
    dest->addWidget(hintPanel_);
    changeButton_ = widgets::button(destinationPanel_, names::kChange, "Elegir unidad Backup");
    dest->addWidget(changeButton_, 0, Qt::AlignLeft);
    layout->addWidget(destinationPanel_);

    choicePanel_ = widgets::panel(this, names::kChoicePanel);
    auto* choice = new QHBoxLayout(choicePanel_);
    auto* listColumn = new QVBoxLayout;
    volumeList_ = widgets::named<QListWidget>(choicePanel_, names::kVolumes);
    volumeList_->setMinimumSize(360, 120);
    listColumn->addWidget(volumeList_, 1);
    folderButton_ = widgets::button(choicePanel_, names::kFolder, "Elegir carpeta\x85");
    folderButton_->setToolTip(QStringLiteral("Cualquier carpeta: otro disco, una carpeta de red montada…"));
    listColumn->addWidget(folderButton_, 0, Qt::AlignLeft);
    choice->addLayout(listColumn, 1);
    auto* helpColumn = new QVBoxLayout;
    closeChoiceButton_ = widgets::button(choicePanel_, names::kCloseChoice, "X");
    closeChoiceButton_->setFixedWidth(32);
    helpColumn->addWidget(closeChoiceButton_, 0, Qt::AlignRight);
    for (const char* line : {"Clic en el dispositivo de ", "memoria donde escribir", "una copia de los",
                             "datos seleccionados", "(o desde la que conseguir)"}) {
        helpColumn->addWidget(widgets::label(choicePanel_, line));
    }
    helpColumn->addSpacing(8);
    for (const char* line : {"Mensaje de ERROR Indica", "la selecci\xF3n de un ", "dispositivo no adecuado."}) {
        helpColumn->addWidget(widgets::label(choicePanel_, line));
    }
    helpColumn->addStretch();
    choice->addLayout(helpColumn);
    choicePanel_->hide();
    layout->addWidget(choicePanel_);

    progress_ = widgets::named<QProgressBar>(this, names::kProgress);
    progress_->setRange(0, 1000);
    progress_->setTextVisible(true);
    progress_->hide();
    layout->addWidget(progress_);

    auto* buttons = new QHBoxLayout;
    backupButton_ = widgets::button(this, names::kBackup, "Backup");
    restoreButton_ = widgets::button(this, names::kRestore, "Restablecer");
    backButton_ = widgets::button(this, names::kBack, "Atr\xE1s");
    buttons->addWidget(backupButton_);
    buttons->addWidget(restoreButton_);
    buttons->addStretch();
    buttons->addWidget(backButton_);
    layout->addLayout(buttons);

    connect(changeButton_, &QPushButton::clicked, this, &BackupDialog::openChoice);
    connect(closeChoiceButton_, &QPushButton::clicked, this, &BackupDialog::closeChoice);
    connect(folderButton_, &QPushButton::clicked, this, &BackupDialog::chooseFolder);
    connect(volumeList_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { chooseVolume(volumeList_->row(item)); });
    connect(volumeList_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { chooseVolume(volumeList_->row(item)); });
    connect(backupButton_, &QPushButton::clicked, this, &BackupDialog::backup);
    connect(restoreButton_, &QPushButton::clicked, this, &BackupDialog::restore);
    connect(backButton_, &QPushButton::clicked, this, &BackupDialog::reject);

    // Activation. The folder kept from last time is offered again while its volume is there.
    okLabel_->hide();
    destination_->setText(QString::fromLatin1(kNoBackupFolder));
    setStateColour(destination_, StateColour::Red);
    if (const auto kept = chosenBackupFolder(ws_.settings.backupFolder)) {
        std::error_code ec;
        if (std::filesystem::is_directory(kept->parent_path(), ec)) setDestination(*kept, false);
    }
    guarded(this, [&] { lastDate_->setText(fromCp(lastBackupDate(ws_.root))); });
    if (lastDate_->text().isEmpty()) lastDate_->setText(QStringLiteral("Mai"));
}

BackupDialog::~BackupDialog() {
    if (worker_) worker_->wait();
}

void BackupDialog::setFolderHook(std::function<QString()> hook) { folderHook() = std::move(hook); }

// ---- the destination ---------------------------------------------------------------------

void BackupDialog::openChoice() {
    fillVolumes();
    destinationPanel_->hide();
    choicePanel_->show();
    volumeList_->setFocus();
    QTimer::singleShot(0, this, [this] { adjustSize(); });
}

void BackupDialog::closeChoice() {
    choicePanel_->hide();
    destinationPanel_->show();
    QTimer::singleShot(0, this, [this] { adjustSize(); });
}

void BackupDialog::fillVolumes() {
    BusyCursor busy;
    volumes_ = findVolumes(volumeSources_);
    volumeList_->clear();
    for (const Volume& v : volumes_) {
        const QString kind = v.network ? QStringLiteral("red") : QStringLiteral("extraíble");
        volumeList_->addItem(
            QStringLiteral("%1 (%2) — %3").arg(QString::fromStdString(v.label), kind, pathText(v.path)));
    }
    if (volumes_.empty()) {
        auto* none = new QListWidgetItem(QStringLiteral("Ningún dispositivo extraíble o de red montado: "
                                                        "conéctelo o use «Elegir carpeta…»"),
                                         volumeList_);
        none->setFlags(Qt::NoItemFlags);
    } else {
        volumeList_->setCurrentRow(0);
    }
}

void BackupDialog::chooseVolume(int row) {
    if (row < 0 || row >= static_cast<int>(volumes_.size())) return;
    setDestination(backupFolderOn(volumes_[static_cast<size_t>(row)].path), true);
}

void BackupDialog::chooseFolder() {
    QString dir;
    if (folderHook()) {
        dir = folderHook()();
    } else {
        dir = QFileDialog::getExistingDirectory(this, QStringLiteral("Carpeta de la copia de seguridad"),
                                                QDir::homePath());
    }
    if (dir.isEmpty()) return;
    setDestination(backupFolderOn(dir.toStdString()), true);
}

void BackupDialog::setDestination(const std::filesystem::path& folder, bool store) {
    folder_ = folder;
    destination_->setText(pathText(folder));
    destination_->setToolTip(pathText(folder));
    setStateColour(destination_, StateColour::Aqua);
    hintPanel_->hide();
    if (store) {
        ws_.settings.backupFolder = utf8ToCp1252(folder.string());
        guarded(this, [&] { storeBackupFolder(ws_.root, folder); });
    }
    closeChoice();
}

void BackupDialog::setDestinationLabel(const char* text, const char* colour) {
    destinationLabel_->setText(fromCp(text));
    destinationLabel_->setStyleSheet(QStringLiteral("color: %1;").arg(QString::fromLatin1(colour)));
}

// ---- copies ------------------------------------------------------------------------------

void BackupDialog::setBusy(bool busy) {
    busy_ = busy;
    for (QWidget* w : {static_cast<QWidget*>(backupButton_), static_cast<QWidget*>(restoreButton_),
                       static_cast<QWidget*>(backButton_), static_cast<QWidget*>(changeButton_),
                       static_cast<QWidget*>(choicePanel_)}) {
        w->setEnabled(!busy);
    }
    if (busy) {
        progress_->setValue(0);
        progress_->show();
        QApplication::setOverrideCursor(Qt::BusyCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void BackupDialog::runCopies(std::function<std::string(const std::function<void(std::uint64_t, std::uint64_t)>&)> work,
                             std::function<void(const std::string&, const std::string&)> finished) {
    setBusy(true);
    struct Outcome {
        std::string error;
        std::string result;
    };
    auto outcome = std::make_shared<Outcome>();
    QPointer<QProgressBar> bar = progress_;
    auto progress = [bar](std::uint64_t done, std::uint64_t total) {
        const int value = total == 0 ? 1000 : static_cast<int>(done * 1000 / total);
        QMetaObject::invokeMethod(
            bar, [bar, value] { if (bar) bar->setValue(value); }, Qt::QueuedConnection);
    };
    worker_ = QThread::create([work, progress, outcome] {
        try {
            outcome->result = work(progress);
        } catch (const FileError& e) {
            outcome->error = userMessage(e);
        } catch (const std::exception& e) {
            outcome->error = utf8ToCp1252(e.what());
        }
    });
    connect(worker_, &QThread::finished, this, [this, outcome, finished] {
        worker_->deleteLater();
        worker_ = nullptr;
        setBusy(false);
        finished(outcome->error, outcome->result);
    });
    worker_->start();
}

void BackupDialog::backup() {
    setDestinationLabel("Destinat.:", "blue");
    if (!folder_) {
        showMessage(this, MessageKind::Information, kNoDestination);
        return;
    }
    const std::filesystem::path volume = folder_->parent_path();
    std::error_code ec;
    if (!std::filesystem::exists(volume, ec)) {
        showMessage(this, MessageKind::Information,
                    QStringLiteral("Unidad %1 no está disponible").arg(pathText(volume)));
        return;
    }
    okLabel_->hide();
    okLabel_->setStyleSheet(QStringLiteral("color: blue;"));
    const DataRoot root = ws_.root;
    const std::filesystem::path folder = *folder_;
    const QDate today = QDate::currentDate();
    const CalendarDay day{today.day(), today.month(), today.year()};
    runCopies(
        [root, folder, day](const CopyProgress& progress) {
            runBackup(root, folder, day, progress);
            return lastBackupDate(root);
        },
        [this](const std::string& error, const std::string& date) {
            if (!error.empty()) {
                showMessage(this, MessageKind::Error,
                            QStringLiteral("La copia de seguridad no se ha completado:\n%1").arg(fromCp(error)));
                return;
            }
            lastDate_->setText(fromCp(date));
            okLabel_->show();
        });
}

void BackupDialog::restore() {
    setDestinationLabel("Source:", "red");
    if (!folder_) {
        showMessage(this, MessageKind::Information, kNoDestination);
        setDestinationLabel("Unidad:", "blue");
        return;
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(*folder_, ec)) {
        showMessage(this, MessageKind::Information,
                    QStringLiteral("El origin %1 no está disponible").arg(pathText(*folder_)));
        return;
    }
    okLabel_->hide();
    okLabel_->setStyleSheet(QStringLiteral("color: red;"));
    if (const std::string problem = restoreProblem(*folder_); !problem.empty()) {
        showMessage(this, MessageKind::Error, fromCp(problem));
        setDestinationLabel("Unidad:", "blue");
        return;
    }
    if (!askYesNo(this, QStringLiteral("Advertencia"), fromCp(kReplaceQuestion))) {
        setDestinationLabel("Origine:", "red");
        return;
    }
    const DataRoot root = ws_.root;
    const std::filesystem::path folder = *folder_;
    const std::string stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HH.mm.ss")).toStdString();
    runCopies(
        [root, folder, stamp](const CopyProgress& progress) {
            return runRestore(root, folder, stamp, progress).safetyFolder.string();
        },
        [this](const std::string& error, const std::string& safety) {
            if (!error.empty()) {
                showMessage(this, MessageKind::Error,
                            QStringLiteral("No se ha podido restaurar la copia; los datos que hab\u00EDa siguen en su "
                                           "sitio.\n%1")
                                .arg(fromCp(error)));
                setDestinationLabel("Unidad:", "blue");
                return;
            }
            okLabel_->show();
            setDestinationLabel("Unidad:", "blue");
            showMessage(this, MessageKind::Information,
                        QStringLiteral("Copia restaurada. El archivo BASE y los textos que hab\u00EDa antes se han "
                                       "guardado en %1")
                            .arg(QString::fromStdString(safety)));
        });
}

// ---- closing -----------------------------------------------------------------------------

void BackupDialog::reject() {
    if (busy_) return;  // a copy half done is not left behind
    QDialog::reject();
}

void BackupDialog::closeEvent(QCloseEvent* event) {
    if (busy_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace athanor
