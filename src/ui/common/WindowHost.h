#pragma once
// What a group of windows needs of the window that opens them: the shared program state,
// the buttons they take over, and the opener's refresh and dialog placement. The main
// window implements it, so the windows it opens never include it.

#include <functional>

class QDialog;
class QString;
class QWidget;

namespace athanor {

struct Workstation;

class WindowHost {
public:
    virtual ~WindowHost() = default;
    virtual QWidget* hostWidget() = 0;
    virtual Workstation& workstation() = 0;
    // Gives a button its action and enables it.
    virtual void setAction(const char* buttonName, std::function<void()> action) = 0;
    // Reads the current subject, shows it and computes its chart.
    virtual void reloadSubject() = 0;
    // Refreshes the opener as after a dialog.
    virtual void activate() = 0;
    // Opens a dialog at the opener's place and waits for it.
    virtual void runDialog(QDialog* dialog, int offset = 10) = 0;
    // Opens the remedy consultation on a remedy of the knowledge base.
    virtual void showRemedy(const QString& name) = 0;
};

}  // namespace athanor
