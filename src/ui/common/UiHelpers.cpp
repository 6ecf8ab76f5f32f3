#include "ui/common/UiHelpers.h"

#include "app/FileMessages.h"

#include "foundations/Cp1252.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QStatusBar>
#include <QMainWindow>
#include <QPalette>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace athanor {

QString fromCp(std::string_view cp1252) {
    const std::string utf8 = cp1252ToUtf8(cp1252);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string toCp(const QString& text) { return utf8ToCp1252(text.toUtf8().toStdString()); }

char keyChar(const QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return '\r';
    case Qt::Key_Backspace:
        return '\b';
    default:
        break;
    }
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint()) return 0;
    const std::string cp = toCp(text.left(1));
    return cp.empty() ? 0 : cp[0];
}

namespace {

struct ColourSpec {
    QColor base;
    QColor text;
    const char* name;
};

ColourSpec colourSpec(StateColour c) {
    switch (c) {
    case StateColour::Red:
        return {QColor(255, 0, 0), Qt::black, "red"};
    case StateColour::Aqua:
        return {QColor(0, 255, 255), Qt::black, "aqua"};
    case StateColour::Teal:
        return {QColor(0, 128, 128), Qt::white, "teal"};
    case StateColour::White:
        return {Qt::white, Qt::black, "white"};
    case StateColour::Grey:
        return {QColor(128, 128, 128), Qt::white, "grey"};
    case StateColour::Yellow:
        return {QColor(255, 255, 0), QColor(255, 255, 0), "yellow"};
    }
    return {Qt::white, Qt::black, "white"};
}

MessageHook& hook() {
    static MessageHook h;
    return h;
}

}  // namespace

void setStateColour(QWidget* widget, StateColour colour) {
    const ColourSpec s = colourSpec(colour);
    QPalette p = widget->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Base, s.base);
        p.setColor(group, QPalette::Window, s.base);
        p.setColor(group, QPalette::Button, s.base);
        p.setColor(group, QPalette::Text, s.text);
        p.setColor(group, QPalette::WindowText, s.text);
        p.setColor(group, QPalette::ButtonText, s.text);
    }
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
    widget->setProperty("stateColour", QString::fromLatin1(s.name));
}

QString stateColourName(const QWidget* widget) { return widget->property("stateColour").toString(); }

void setMessageHook(MessageHook h) { hook() = std::move(h); }

void showMessage(QWidget* parent, MessageKind kind, const QString& text) {
    if (hook()) {
        hook()(kind, text);
        return;
    }
    switch (kind) {
    case MessageKind::Error:
        QMessageBox::critical(parent, QStringLiteral("Error"), text);
        break;
    case MessageKind::Warning:
        QMessageBox::warning(parent, QStringLiteral("Advertencia"), text);
        break;
    case MessageKind::Information:
    case MessageKind::Question:
        QMessageBox::information(parent, QStringLiteral("Información"), text);
        break;
    }
}

void showMessageWithoutFocus(QWidget* parent, MessageKind kind, const QString& text) {
    if (hook()) {
        hook()(kind, text);
        return;
    }
    const QMessageBox::Icon icon = kind == MessageKind::Error     ? QMessageBox::Critical
                                   : kind == MessageKind::Warning ? QMessageBox::Warning
                                                                  : QMessageBox::Information;
    auto* box = new QMessageBox(icon, QStringLiteral("Error"), text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setAttribute(Qt::WA_ShowWithoutActivating);
    box->setWindowModality(Qt::NonModal);
    box->setFocusPolicy(Qt::NoFocus);
    box->show();
}

void showStatus(const QString& text) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* main = qobject_cast<QMainWindow*>(w)) main->statusBar()->showMessage(text, 10000);
}

bool askYesNo(QWidget* parent, const QString& caption, const QString& text) {
    if (hook()) return hook()(MessageKind::Question, text);
    return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

void showFileError(QWidget* parent, const FileError& error) {
    showMessage(parent, MessageKind::Error, fromCp(userMessage(error)));
}

bool guarded(QWidget* parent, const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (const FileError& e) {
        showFileError(parent, e);
        return false;
    }
}

void placeDialog(QWidget* dialog, QWidget* mainWindow, int offset) {
    QCoreApplication::processEvents();
    const QRect main = mainWindow->frameGeometry();
    dialog->adjustSize();
    // A dialog not shown yet has no frame: it gets the main window's.
    const QSize frame = mainWindow->frameGeometry().size() - mainWindow->size();
    const QSize size = dialog->isVisible() ? dialog->frameGeometry().size() : dialog->size() + frame;
    const int top = main.y() + main.height() + offset - size.height();
    const int left = main.x() + main.width() + offset - size.width();
    dialog->move(left, top);
}

namespace {

struct IdleState {
    const void* owner = nullptr;
    std::function<void()> handler;
    bool scheduled = false;
};

IdleState& idle() {
    static IdleState s;
    return s;
}

}  // namespace

void IdleHandler::install(const void* owner, std::function<void()> handler) {
    idle().owner = owner;
    idle().handler = std::move(handler);
    poke();
}

void IdleHandler::poke() {
    IdleState& s = idle();
    if (s.scheduled || !s.handler) return;
    s.scheduled = true;
    QTimer::singleShot(0, qApp, [] {
        IdleState& st = idle();
        st.scheduled = false;
        if (st.handler) {
            auto h = st.handler;  // the handler may install another
            h();
        }
    });
}

const void* IdleHandler::owner() { return idle().owner; }

void IdleHandler::remove(const void* owner) {
    if (idle().owner != owner) return;
    idle().owner = nullptr;
    idle().handler = nullptr;
}

BusyCursor::BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
BusyCursor::~BusyCursor() { QApplication::restoreOverrideCursor(); }

}  // namespace athanor

#include <QDesktopServices>
#include <QUrl>

namespace athanor {

namespace {
std::function<void(const std::filesystem::path&)>& documentHook() {
    static std::function<void(const std::filesystem::path&)> h;
    return h;
}
}  // namespace

void forceUpperCase(QLineEdit* field) {
    QObject::connect(field, &QLineEdit::textEdited, field, [field](const QString& text) {
        const QString upper = text.toUpper();
        if (upper == text) return;
        const int cursor = field->cursorPosition();
        field->setText(upper);
        field->setCursorPosition(cursor);
    });
}

void setDocumentHook(std::function<void(const std::filesystem::path&)> hook) { documentHook() = std::move(hook); }

void openDocument(const std::filesystem::path& path) {
    if (documentHook()) {
        documentHook()(path);
        return;
    }
    const QString file = QString::fromStdString(path.string());
    if (!std::filesystem::exists(path)) {
        showMessage(QApplication::activeWindow(), MessageKind::Warning,
                    QStringLiteral("No se encuentra el archivo %1.").arg(file));
        return;
    }
    // Without a viewer the practitioner still learns where the file is.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file)))
        showMessage(QApplication::activeWindow(), MessageKind::Information,
                    QStringLiteral("No hay ningún programa para abrir este archivo. Está en:\n%1").arg(file));
}

}  // namespace athanor
