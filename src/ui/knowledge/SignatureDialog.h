#pragma once
#include "knowledge/SignatureSearch.h"

#include <QDialog>

#include <array>
#include <functional>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace athanor {

class SignatureCriteria;
struct Workstation;

// TFoSegnat: "SIGNATURAS ASTROLÓGICAS ". The signature of any remedy, side by side for up
// to fourteen, and the remedies whose signature holds a planet and a sign, page by page.
class SignatureDialog : public QDialog {
    Q_OBJECT
public:
    explicit SignatureDialog(Workstation& ws, QWidget* parent = nullptr);

    // Reads the remedy list (and rewrites FileDum\Prdts.dum); false, after telling the
    // user which file failed, when the base cannot be read.
    bool load();

    // A double click on a remedy's name asks for its window.
    void setRemedyAction(std::function<void(const QString& name)> action);

private:
    void showCriteria();
    void choose(int entry);
    void search();
    void showRows(const std::vector<SignatureRow>& rows);
    void showPage();
    void clearRows();
    bool eventFilter(QObject* watched, QEvent* event) override;

    Workstation& ws_;
    std::vector<RemedyNameEntry> list_;
    ChosenSignatures chosen_;
    SignaturePages pages_;
    std::function<void(const QString&)> remedyAction_;

    SignatureCriteria* criteria_ = nullptr;
    QLineEdit* planet_ = nullptr;
    QLineEdit* sign_ = nullptr;
    QListWidget* remedies_ = nullptr;
    std::array<std::array<QLineEdit*, 4>, kSignatureRows> rows_{};
    QLineEdit* total_ = nullptr;
    QLineEdit* page_ = nullptr;
    QLabel* noResult_ = nullptr;
    QPushButton* search_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* previous_ = nullptr;
    QPushButton* clear_ = nullptr;
    QPushButton* back_ = nullptr;
    QPlainTextEdit* help_ = nullptr;
};

}  // namespace athanor
