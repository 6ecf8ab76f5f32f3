#pragma once
// The widget builders of every window: each widget gets its component name as its
// objectName, and its caption from the core's Windows-1252 text.
#include <QFrame>
#include <QString>

#include <functional>
#include <utility>

class QFont;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QWidget;

namespace athanor::widgets {

// Any widget, made with `args` and then the parent, and named.
template <class W, class... Args>
W* named(QWidget* parent, const char* name, Args&&... args) {
    auto* w = new W(std::forward<Args>(args)..., parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// Whether Enter in a dialog may press the button (Qt's auto-default). The entry and archive
// windows give Enter to their fields, so their buttons never take it.
enum class EnterKey { MayPress, Ignored };

QPushButton* button(QWidget* parent, const char* name, const char* cp1252Caption, EnterKey enter = EnterKey::MayPress);

// A label; the ones the windows change or the tests read have a name.
QLabel* label(QWidget* parent, const char* cp1252Text, const char* name = nullptr);

QLineEdit* field(QWidget* parent, const char* name, int maxLength = 0, bool readOnly = false);

// A text box of several lines, read-only unless said otherwise.
QPlainTextEdit* memo(QWidget* parent, const char* name, bool readOnly = true);

QFrame* panel(QWidget* parent, const char* name, QFrame::Shape shape = QFrame::StyledPanel);
QGroupBox* group(QWidget* parent, const char* name, const char* cp1252Title);

// The monospaced font of the fixed-column lists and fields.
QFont monospace(int points);

// A list of fixed lines in the monospaced font, tall enough for `lines` lines and wide
// enough for `columns` characters, without scroll bars of its own.
QListWidget* lineList(QWidget* parent, const char* name, int lines, int columns);
QScrollBar* scrollBar(QWidget* parent, const char* name, Qt::Orientation orientation = Qt::Vertical);

// A spin button: two arrows, named name + "Up" and name + "Down", inside a box named name.
QWidget* spinButton(QWidget* parent, const char* name, std::function<void()> up, std::function<void()> down);

}  // namespace athanor::widgets
