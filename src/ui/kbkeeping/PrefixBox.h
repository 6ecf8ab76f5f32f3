#pragma once
#include "knowledge/PrefixSearch.h"

#include <QObject>

#include <functional>
#include <string>
#include <vector>

class QLineEdit;
class QListWidget;

namespace athanor {

// Calls `picked` with the row of a list entry that is clicked, or chosen with Enter.
void onEntryPicked(QListWidget* list, QObject* context, std::function<void(int row)> picked);

// A search box beside a sorted list: the text typed so far positions the list's selection
// by the bisection of the knowledge base; a click into the box empties it and starts again.
class PrefixBox : public QObject {
public:
    // `entries` gives the list's texts (Windows-1252) as they stand when a key is typed.
    PrefixBox(QLineEdit* box, QListWidget* list, TypedPrefix::Case mode,
              std::function<const std::vector<std::string>&()> entries);
    void setCase(TypedPrefix::Case mode);
    void clear();
    // Also told of a click into the box (after it has been emptied).
    std::function<void()> onClick;
    // Told of the row the list stands on when Enter is pressed in the box.
    std::function<void(int row)> onEnter;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* box_;
    QListWidget* list_;
    TypedPrefix prefix_;
    std::function<const std::vector<std::string>&()> entries_;
};

}  // namespace athanor
