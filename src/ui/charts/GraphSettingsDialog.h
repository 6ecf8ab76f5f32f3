#pragma once
#include <QDialog>

class QFrame;
class QScrollBar;

namespace athanor {

struct Workstation;
class PageWidget;

// TFgrTxtSpa: circle calibration. Two scroll bars set the horizontal and vertical
// correction of the drawings until the test circle is round and fills its yellow frame.
// Every move of a bar rewrites the settings file.
class GraphSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit GraphSettingsDialog(Workstation& ws, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QFrame* buildPanel();
    void barMoved();
    void reset();
    void save();
    void drawFigure();

    Workstation& ws_;
    PageWidget* page_ = nullptr;
    QScrollBar* horizontalBar_ = nullptr;
    QScrollBar* verticalBar_ = nullptr;
    bool quiet_ = false;
};

}  // namespace athanor
