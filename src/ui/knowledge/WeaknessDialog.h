#pragma once
#include <QDialog>

#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace athanor {

class SignatureCriteria;
struct Workstation;

// TFoMali: "DEBILITAMIENTO ASTROLÓGICO / PATOLOGÍAS". For a weakened planet and sign, the
// pathologies that the remedies of the answering signature treat; for a pathology, the
// remedies of the repertory, those that answer the weakness marked ">>> name <<<".
class WeaknessDialog : public QDialog {
    Q_OBJECT
public:
    explicit WeaknessDialog(Workstation& ws, QWidget* parent = nullptr);

    // Checks that the database and the repertory can be read; false, after telling the
    // user which file failed, when they cannot.
    bool load();

    // A double click on a remedy asks for its window.
    void setRemedyAction(std::function<void(const QString& name)> action);

private:
    void showCriteria();
    void searchPathologies();
    void choosePathology(int row);

    Workstation& ws_;
    std::string planet_, weakenedSign_;  // of the last search
    std::function<void(const QString&)> remedyAction_;

    SignatureCriteria* criteria_ = nullptr;
    QLineEdit* planetBox_ = nullptr;
    QLineEdit* signBox_ = nullptr;
    QPushButton* search_ = nullptr;
    QLineEdit* total_ = nullptr;
    QLabel* noResult_ = nullptr;
    QListWidget* pathologies_ = nullptr;
    QListWidget* remedies_ = nullptr;
    QPlainTextEdit* help_ = nullptr;
    QPushButton* back_ = nullptr;
};

}  // namespace athanor
