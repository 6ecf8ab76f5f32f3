// TFoAggiorna: the knowledge-base updates.
#include "ui/kbkeeping/UpdateDialog.h"

#include "app/Login.h"
#include "knowledge/UpdateInstall.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"
#include "ui/kbkeeping/BackgroundWork.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace athanor {

namespace names {
constexpr const char* kWindow = "FoAggiorna";
constexpr const char* kInstalledDate = "EdUltAgg";
constexpr const char* kInformation = "Memo1";
constexpr const char* kBack = "BitBtnRitorna";
constexpr const char* kFolder = "BBcarpeta";
constexpr const char* kProgress = "BarraProgreso";
constexpr const char* kUsage = "LabImpiego";
}  // namespace names

namespace {

const char* kBackCaption = "Volver al Men\xFA";
const char* kNoDevice = "No se detect\xF3 ning\xFAn disco de actualizaci\xF3n";

}  // namespace

UpdateDialog::UpdateDialog(Workstation& ws, VolumeSources sources, QWidget* parent)
    : QDialog(parent), ws_(ws), sources_(std::move(sources)) {
    setObjectName(names::kWindow);
    setWindowTitle(fromCp("ACTUALIZACIONES DE SITUACI\xD3N"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    information_ = widgets::memo(this, names::kInformation);
    installedDate_ = widgets::field(this, names::kInstalledDate, 0, true);
    auto* grid = new QGridLayout;
    grid->addWidget(widgets::label(this, "Origen"), 0, 0);
    grid->addWidget(widgets::label(this, "Fecha de la actualizaci\xF3n"), 0, 1);
    for (int i = 0; i < kSlots; ++i) {
        const QByteArray n = QByteArray::number(i + 1);
        devices_[static_cast<std::size_t>(i)] = widgets::field(this, ("EdDisp" + n).constData(), 0, true);
        dates_[static_cast<std::size_t>(i)] = widgets::field(this, ("EdNuoAgg" + n).constData(), 0, true);
        installButtons_[static_cast<std::size_t>(i)] =
            widgets::button(this, ("BBok" + n).constData(), ("Ok" + n).constData(), widgets::EnterKey::Ignored);
        devices_[static_cast<std::size_t>(i)]->setMinimumWidth(300);
        connect(installButtons_[static_cast<std::size_t>(i)], &QPushButton::clicked, this, [this, i] { install(i); });
        grid->addWidget(devices_[static_cast<std::size_t>(i)], i + 1, 0);
        grid->addWidget(dates_[static_cast<std::size_t>(i)], i + 1, 1);
        grid->addWidget(installButtons_[static_cast<std::size_t>(i)], i + 1, 2);
    }
    folderButton_ = widgets::button(this, names::kFolder, "Elegir carpeta\x85", widgets::EnterKey::Ignored);
    folderButton_->setToolTip(fromCp("Buscar la actualizaci\xF3n en otra carpeta, que contenga la carpeta OpzioneH"));
    connect(folderButton_, &QPushButton::clicked, this, &UpdateDialog::chooseFolder);
    progress_ = widgets::named<QProgressBar>(this, names::kProgress);
    progress_->setRange(0, 1000);
    progress_->setValue(0);
    progress_->setTextVisible(true);
    backButton_ = widgets::button(this, names::kBack, kBackCaption, widgets::EnterKey::Ignored);
    connect(backButton_, &QPushButton::clicked, this, &QDialog::reject);
    usage_ = widgets::label(this, "", names::kUsage);
    usage_->hide();

    auto* installedRow = new QHBoxLayout;
    installedRow->addWidget(widgets::label(this, "\xDAltima actualizaci\xF3n del programa el"));
    installedRow->addWidget(installedDate_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(folderButton_);
    buttons->addWidget(progress_, 1);
    buttons->addWidget(backButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(information_, 1);
    layout->addLayout(installedRow);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    // Placed by the main window, which fits a dialog to its contents: this is the least it keeps.
    setMinimumSize(760, 460);
}

void UpdateDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    examine();
}

void UpdateDialog::examine() {
    backButton_->setText(fromCp(kBackCaption));
    progress_->setValue(0);
    information_->clear();
    installedDate_->clear();
    for (int i = 0; i < kSlots; ++i) {
        slotSources_[static_cast<std::size_t>(i)].clear();
        devices_[static_cast<std::size_t>(i)]->clear();
        dates_[static_cast<std::size_t>(i)]->clear();
        setStateColour(dates_[static_cast<std::size_t>(i)], StateColour::White);
        installButtons_[static_cast<std::size_t>(i)]->setEnabled(false);
    }
    guarded(this, [&] {
        QStringList lines;
        for (const auto& l : updateInformation(ws_.root)) lines << fromCp(l);
        information_->setPlainText(lines.join('\n'));
    });
    installedDate_->setText(fromCp(installedDate(ws_.root)));

    std::vector<std::filesystem::path> candidates;
    for (const Volume& v : findVolumes(sources_)) candidates.push_back(v.path);
    const auto found = updateSources(candidates);
    for (std::size_t i = 0; i < found.size(); ++i) fillSlot(static_cast<int>(i), found[i]);

    guarded(this, [&] {
        const std::string stamp = usageStamp(ws_.root);
        usage_->setText(fromCp(stamp));
        setWindowTitle(fromCp("SITUACI\xD3N de los ACTUALIZACIONES - " + stamp));
    });
    if (found.empty()) showMessage(this, MessageKind::Error, kNoDevice);
}

void UpdateDialog::fillSlot(int slot, const std::filesystem::path& source) {
    const auto i = static_cast<std::size_t>(slot);
    slotSources_[i] = source;
    devices_[i]->setText(QString::fromStdString(source.string()));
    devices_[i]->setToolTip(devices_[i]->text());
    dates_[i]->setText(fromCp(baseDate(source)));
    // An older base is still offered, in red.
    setStateColour(dates_[i], updateIsOlder(ws_.root, source) ? StateColour::Red : StateColour::Aqua);
    installButtons_[i]->setEnabled(true);
}

void UpdateDialog::chooseFolder() {
    const QString folder = QFileDialog::getExistingDirectory(this, fromCp("Carpeta de la actualizaci\xF3n"));
    if (folder.isEmpty()) return;
    const std::filesystem::path path = folder.toStdString();
    if (updateSources({path}).empty()) {
        showMessage(this, MessageKind::Error,
                    fromCp("La carpeta elegida no contiene una carpeta OpzioneH con la base de conocimientos."));
        return;
    }
    // Into the first free slot; with all three taken, in place of the last.
    int slot = kSlots - 1;
    for (int i = 0; i < kSlots; ++i)
        if (slotSources_[static_cast<std::size_t>(i)].empty() || slotSources_[static_cast<std::size_t>(i)] == path) {
            slot = i;
            break;
        }
    fillSlot(slot, path);
}

void UpdateDialog::install(int slot) {
    const std::filesystem::path source = slotSources_[static_cast<std::size_t>(slot)];
    if (source.empty()) return;
    backButton_->setText(QStringLiteral("Attendere..."));
    progress_->setValue(0);
    InstallReport report;
    const bool ok = guarded(this, [&] {
        runInBackground(
            this, QStringLiteral("Instalando la actualizaci\u00F3n"),
            [&](const WorkProgress& progress) {
                report = installUpdate(ws_.root, source, [&](std::uint64_t copied, std::uint64_t total) {
                    progress.report(static_cast<std::int64_t>(copied), static_cast<std::int64_t>(total));
                });
            },
            [this](std::int64_t done, std::int64_t total, const QString&) {
                const int permille = total > 0 ? static_cast<int>(done * 1000 / total) : 0;
                progress_->setValue(permille);
                backButton_->setText(QStringLiteral("Attendere... %1 %").arg(permille / 10));
            });
    });
    installedDate_->setText(fromCp(installedDate(ws_.root)));
    if (!ok) {
        backButton_->setText(fromCp(kBackCaption));
        progress_->setValue(0);
        return;
    }
    progress_->setValue(1000);
    installedDate_->setText(fromCp(report.installedDate));
    backButton_->setText(QStringLiteral("Heco, volver al Men\u00FA"));
    // The slots compare with the new installed date.
    for (int i = 0; i < kSlots; ++i)
        if (!slotSources_[static_cast<std::size_t>(i)].empty()) fillSlot(i, slotSources_[static_cast<std::size_t>(i)]);
}

}  // namespace athanor
