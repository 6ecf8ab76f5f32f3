#pragma once
#include "interpretation/ChartWeaknesses.h"

#include <QWidget>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QPrinter;
class QPushButton;
class QTextBrowser;
class QTreeWidget;

namespace athanor {

struct Workstation;
class WindowHost;

// "Remedios para el tema": the current subject's weaknesses and the remedies of the base that
// answer them, with their signatures, indications, warnings and pathologies; printable.
class ChartRemediesWindow : public QWidget {
    Q_OBJECT
public:
    explicit ChartRemediesWindow(Workstation& ws, QWidget* parent = nullptr);
    // Where a double click (or Enter) on a remedy opens the remedy consultation.
    void setHost(WindowHost* host) { host_ = host; }

    // Reads the current chart again and fills the lists.
    void refresh();
    const ChartRemedies& found() const { return found_; }
    // Prints the page on the system printer, or into a PDF the user names when there is none.
    void print();
    // Writes the page into a PDF file; FileError when it cannot.
    void printToPdf(const QString& file);
    // Draws the page's sheets onto a printer already set up.
    void printOn(QPrinter& printer);
    // Writes the sheets as metafiles in the Emf folder, the first under `name`; the files
    // written. FileError when one cannot be.
    std::vector<std::filesystem::path> writeMetafiles(const std::string& name);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showRemedy(int index);
    void exportMetafiles();

    Workstation& ws_;
    WindowHost* host_ = nullptr;
    ChartRemedies found_;
    QLabel* subject_ = nullptr;
    QListWidget* weaknesses_ = nullptr;
    QTreeWidget* remedies_ = nullptr;
    QTextBrowser* detail_ = nullptr;
    QComboBox* metafile_ = nullptr;
    QPushButton* export_ = nullptr;
    QPushButton* print_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace athanor
