#pragma once
#include "app/Volumes.h"

#include <QDialog>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QWidget;

namespace athanor {

struct Workstation;

// TFoBakMod1: the backup of the archive BASE and its text documents to a folder on another
// volume, and the restore from it. The copies run in a worker thread with a progress bar;
// "OK" appears only when every file has been copied and read back.
class BackupDialog : public QDialog {
    Q_OBJECT
public:
    BackupDialog(Workstation& ws, VolumeSources volumes, QWidget* parent = nullptr);
    ~BackupDialog() override;

    // A copy is running.
    bool busy() const { return busy_; }

    // Tests answer the "Elegir carpeta…" folder dialog.
    static void setFolderHook(std::function<QString()> hook);

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void openChoice();
    void closeChoice();
    void fillVolumes();
    void chooseVolume(int row);
    void chooseFolder();
    void setDestination(const std::filesystem::path& folder, bool store);
    void backup();
    void restore();
    void setBusy(bool busy);
    void runCopies(std::function<std::string(const std::function<void(std::uint64_t, std::uint64_t)>&)> work,
                   std::function<void(const std::string& error, const std::string& result)> finished);
    void setDestinationLabel(const char* text, const char* colour);

    Workstation& ws_;
    VolumeSources volumeSources_;
    std::vector<Volume> volumes_;
    std::optional<std::filesystem::path> folder_;
    bool busy_ = false;
    class QThread* worker_ = nullptr;

    QLineEdit* lastDate_ = nullptr;
    QLabel* okLabel_ = nullptr;
    QWidget* destinationPanel_ = nullptr;
    QLabel* destinationLabel_ = nullptr;
    QLineEdit* destination_ = nullptr;
    QWidget* hintPanel_ = nullptr;
    QPushButton* changeButton_ = nullptr;
    QWidget* choicePanel_ = nullptr;
    QListWidget* volumeList_ = nullptr;
    QPushButton* closeChoiceButton_ = nullptr;
    QPushButton* folderButton_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* backupButton_ = nullptr;
    QPushButton* restoreButton_ = nullptr;
    QPushButton* backButton_ = nullptr;
};

}  // namespace athanor
