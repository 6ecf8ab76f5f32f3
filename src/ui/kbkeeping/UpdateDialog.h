#pragma once
#include "app/Volumes.h"
#include "app/Workstation.h"

#include <QDialog>

#include <array>
#include <filesystem>
#include <vector>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace athanor {

// TFoAggiorna ("ACTUALIZACIONES DE SITUACIÓN"): the date of the installed knowledge base
// beside those of the updates found on the mounted removable and network volumes, or in a
// folder the practitioner chooses, and the install of one of them.
class UpdateDialog : public QDialog {
    Q_OBJECT
public:
    UpdateDialog(Workstation& ws, VolumeSources sources, QWidget* parent = nullptr);

    static constexpr int kSlots = 3;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void examine();
    void fillSlot(int slot, const std::filesystem::path& source);
    void chooseFolder();
    void install(int slot);

    Workstation& ws_;
    VolumeSources sources_;
    std::array<std::filesystem::path, kSlots> slotSources_;
    std::array<QLineEdit*, kSlots> devices_{};
    std::array<QLineEdit*, kSlots> dates_{};
    std::array<QPushButton*, kSlots> installButtons_{};
    QLineEdit* installedDate_ = nullptr;
    QPlainTextEdit* information_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* backButton_ = nullptr;
    QPushButton* folderButton_ = nullptr;
    QLabel* usage_ = nullptr;
};

}  // namespace athanor
