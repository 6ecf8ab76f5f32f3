#pragma once
#include "foundations/FileError.h"

#include <QCursor>
#include <QString>

#include <functional>
#include <string>
#include <string_view>

class QKeyEvent;
class QLineEdit;
class QWidget;

namespace athanor {

// Windows-1252 text of the core to and from the widgets.
QString fromCp(std::string_view cp1252);
std::string toCp(const QString& text);

// The key of a key press as the core's key handlers take it: '\r' for Enter, '\b' for
// Backspace, the Windows-1252 byte of the typed character, or 0 for keys without text.
char keyChar(const QKeyEvent* event);

// State colours of the entry windows: red = invalid or not chosen, aqua = valid or
// editable, teal with white text = computed and locked; white and grey as the lock needs.
// The colour is also kept as the widget's "stateColour" property ("red", "aqua", ...).
enum class StateColour { Red, Aqua, Teal, White, Grey, Yellow };
void setStateColour(QWidget* widget, StateColour colour);
QString stateColourName(const QWidget* widget);

// Message boxes with the fixed texts.
enum class MessageKind { Error, Warning, Information, Question };
void showMessage(QWidget* parent, MessageKind kind, const QString& text);
inline void showMessage(QWidget* parent, MessageKind kind, const char* cp1252) {
    showMessage(parent, kind, fromCp(cp1252));
}
// The same box, but it neither waits nor takes the keyboard: for a message shown while the
// user is typing, so that the keys typed next still reach the field.
void showMessageWithoutFocus(QWidget* parent, MessageKind kind, const QString& text);
// A line in the main window's status bar for a while: what was written where.
void showStatus(const QString& text);
// A Yes/No question with its own caption; true for Yes.
bool askYesNo(QWidget* parent, const QString& caption, const QString& text);
// A file error: its path and the system's message.
void showFileError(QWidget* parent, const FileError& error);

// Tests replace the boxes: the hook receives every message and answers the questions.
using MessageHook = std::function<bool(MessageKind kind, const QString& text)>;
void setMessageHook(MessageHook hook);

// Runs an event handler's work; a FileError stops it and is shown. False when it failed.
bool guarded(QWidget* parent, const std::function<void()>& work);

// The placement of the main window's dialogs: pending window messages run first, then the
// dialog's bottom-right corner goes to the main window's bottom-right corner moved by
// `offset` pixels (10, or 0 for the retrieval window).
void placeDialog(QWidget* dialog, QWidget* mainWindow, int offset = 10);

// The application's idle handler: one at a time, run from a zero-time timer once the
// event queue is empty. install() replaces the handler and runs it at the next idle
// moment; poke() asks for another run after a change.
class IdleHandler {
public:
    static void install(const void* owner, std::function<void()> handler);
    static void poke();
    // The owner of the handler in place (nullptr for none).
    static const void* owner();
    // Forgets the handler of `owner` (a window being destroyed).
    static void remove(const void* owner);
};

// The hourglass cursor for the life of the object.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace athanor

#include <filesystem>

namespace athanor {

// Keeps a field's text in upper case as it is typed.
void forceUpperCase(QLineEdit* field);

// Asks the desktop to open a document with its associated program, without waiting
// (the manuals). Tests replace it with a hook that receives the path.
void openDocument(const std::filesystem::path& path);
void setDocumentHook(std::function<void(const std::filesystem::path&)> hook);

}  // namespace athanor
