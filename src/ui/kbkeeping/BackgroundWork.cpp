#include "ui/kbkeeping/BackgroundWork.h"

#include "knowledge/FileReplacement.h"
#include "ui/common/UiHelpers.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <exception>

namespace athanor {

namespace {

// Drops the user's clicks and keys while the work runs: dropped, not queued, so that a
// second click on "Salva come Nuovo" appends nothing once the first one has ended. The
// window is not disabled, so a short piece of work does not flash it grey.
class InputBlocker : public QObject {
public:
    InputBlocker() { QCoreApplication::instance()->installEventFilter(this); }
    ~InputBlocker() override { QCoreApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        // Only what comes from the user: the program's own closing of a window goes through.
        if (!event->spontaneous()) return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::Wheel:
            event->ignore();
            return true;
        default:
            return false;
        }
    }
};

}  // namespace

void WorkProgress::report(std::int64_t done, std::int64_t total, const std::string& text) const {
    // Only what the eye can see goes to the window: a new tenth of a percent or a new text.
    const int permille = total > 0 ? static_cast<int>(done * 1000 / total) : 0;
    if (permille == lastPermille_ && text == lastText_) return;
    lastPermille_ = permille;
    lastText_ = text;
    if (sink_) sink_(done, total, text);
}

void runInBackground(QWidget* window, const QString& title, const std::function<void(const WorkProgress&)>& work,
                     const ProgressView& view) {
    QWidget* top = window ? window->window() : nullptr;
    QPointer<QProgressDialog> dialog;
    if (!view) {
        dialog = new QProgressDialog(top);
        dialog->setObjectName(QStringLiteral("ProgresoTrabajo"));
        dialog->setWindowTitle(title);
        dialog->setLabelText(title);
        dialog->setCancelButton(nullptr);
        dialog->setRange(0, 0);
        dialog->setAutoClose(false);
        dialog->setAutoReset(false);
        dialog->setMinimumDuration(0);
        dialog->setWindowModality(Qt::NonModal);
        dialog->hide();
    }
    // Runs on the window's thread, posted from the worker.
    QObject receiver;
    auto show = [dialog, view](std::int64_t done, std::int64_t total, const QString& text) {
        if (view) {
            view(done, total, text);
            return;
        }
        if (!dialog) return;
        if (total > 0) {
            dialog->setRange(0, 1000);
            dialog->setValue(static_cast<int>(done * 1000 / total));
        } else {
            dialog->setRange(0, 0);
        }
        if (!text.isEmpty()) dialog->setLabelText(text);
    };
    WorkProgress progress([&receiver, show](std::int64_t done, std::int64_t total, const std::string& text) {
        const QString t = fromCp(text);
        QMetaObject::invokeMethod(&receiver, [show, done, total, t] { show(done, total, t); }, Qt::QueuedConnection);
    });

    std::exception_ptr failure;
    const FileStepHook hook = currentFileStepHook();
    QThread* thread = QThread::create([&] {
        ScopedFileStepHook carried(hook);
        try {
            work(progress);
        } catch (...) {
            failure = std::current_exception();
        }
    });

    BusyCursor busy;
    InputBlocker blocker;
    QEventLoop loop;
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    // A short piece of work ends before anything flashes on the screen.
    QTimer later;
    later.setSingleShot(true);
    QObject::connect(&later, &QTimer::timeout, &loop, [dialog] {
        if (dialog) dialog->show();
    });
    later.start(300);
    thread->start();
    if (!thread->isFinished()) loop.exec();
    thread->wait();
    delete thread;
    later.stop();
    // The last reports still queued reach the view before the caller goes on.
    QCoreApplication::sendPostedEvents(&receiver);
    if (dialog) delete dialog;
    if (failure) std::rethrow_exception(failure);
}

}  // namespace athanor
