#pragma once
#include "app/Workstation.h"
#include "subjects/ArchiveOps.h"

#include <QDialog>

#include <optional>

class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;

namespace athanor {

class NameBrowserView;

// The retrieval window: browses an archive by name and makes a stored subject current.
class RetrieveSubjectDialog : public QDialog {
    Q_OBJECT
public:
    explicit RetrieveSubjectDialog(Workstation& ws, QWidget* parent = nullptr);

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void chooseArchive(const QString& caption);
    void load(int position);
    void clearSubject();
    void ok();

    Workstation& ws_;
    NameBrowserView* names_ = nullptr;
    NameInversion inversion_;
    std::optional<RetrievedSubject> loaded_;
    int loadedPosition_ = 0;

    QListWidget* archives_ = nullptr;
    QLineEdit* editArchi_ = nullptr;
    QLineEdit* soggetto_ = nullptr;
    QListWidget* nomi_ = nullptr;
    QScrollBar* bar_ = nullptr;
    QLineEdit* nome_ = nullptr;
    QLineEdit* data_ = nullptr;
    QLineEdit* local_ = nullptr;
    QLineEdit* naz_ = nullptr;
    QLineEdit* corr_ = nullptr;
    QLineEdit* coord_ = nullptr;
    QLineEdit* cal_ = nullptr;
    QPlainTextEdit* memo_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* inverti_ = nullptr;
};

}  // namespace athanor
