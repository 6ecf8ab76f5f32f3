#pragma once
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace athanor {

struct Workstation;

// TFoPrinci: "PRINCIPI CURATIVI". Generates the principles archive Principi.sto from its
// text source Principi.txt and shows what it holds.
class PrinciplesDialog : public QDialog {
    Q_OBJECT
public:
    explicit PrinciplesDialog(Workstation& ws, QWidget* parent = nullptr);

    // Shows the archive as it stands (empty when there is none yet).
    void load();

private:
    void generate();
    void showArchive();

    Workstation& ws_;
    QPlainTextEdit* shown_ = nullptr;
    QPushButton* generate_ = nullptr;
    QPushButton* back_ = nullptr;
};

}  // namespace athanor
