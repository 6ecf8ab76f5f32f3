#pragma once
#include "app/Workstation.h"
#include "knowledge/ListFind.h"
#include "knowledge/Rankings.h"

#include <QDialog>

#include <array>
#include <string>
#include <vector>

class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace athanor {

class PrefixBox;

// TFoRicCom ("SINTOMI MULTIPLI") and TFoTerCom ("TERAPIE COMPOSITE"): up to fifteen
// complaints picked from a list, the remedies ranked by how many of them they answer, and
// the detail of a ranked remedy.
class RankingDialog : public QDialog {
    Q_OBJECT
public:
    RankingDialog(Workstation& ws, RankingKind kind, QWidget* parent = nullptr);

    static QString slotName(int slot);        // Ed01 .. Ed15
    static QString clearButtonName(int slot);  // BB01 .. BB15
    // The colour of a slot that the detail refers to.
    static QColor highlightColour();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLayout* buildComplaints();
    QLayout* buildSlots();
    QLayout* buildResults();
    void fill();
    void pick(int row);
    void slotsChanged();
    void search();
    void showDetail(int row);
    void find();
    void clearAll();
    void paintSlots(const std::array<bool, kComplaintSlots>& highlighted);

    Workstation& ws_;
    RankingKind kind_;
    ComplaintSlots slots_;
    std::vector<std::string> complaints_;
    std::vector<RankedRemedy> ranked_;
    ListFinder finder_{ListFinder::AtEnd::StayOnFirst};

    QListWidget* complaintList_ = nullptr;
    QLineEdit* searchBox_ = nullptr;
    PrefixBox* prefix_ = nullptr;
    QPushButton* findButton_ = nullptr;
    std::array<QLineEdit*, kComplaintSlots> slotFields_{};
    QPushButton* searchButton_ = nullptr;
    QListWidget* ranking_ = nullptr;
    QPlainTextEdit* detail_ = nullptr;
    QPlainTextEdit* instructions_ = nullptr;
};

}  // namespace athanor
