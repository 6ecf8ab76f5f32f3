#pragma once
// The long operations of the keeping windows (rankings, saves over a large base, rebuilds,
// re-orderings, updates) run on a worker thread, so that the window keeps drawing itself
// and shows how far the work has gone.
#include <QString>

#include <cstdint>
#include <functional>
#include <string>

class QWidget;

namespace athanor {

// Given to the work: tells the window how far it is. Safe to call from the worker.
class WorkProgress {
public:
    using Sink = std::function<void(std::int64_t done, std::int64_t total, const std::string& text)>;
    explicit WorkProgress(Sink sink) : sink_(std::move(sink)) {}
    // `total` 0: the amount is unknown, only the text says what is being done.
    void report(std::int64_t done, std::int64_t total, const std::string& text = {}) const;

private:
    Sink sink_;
    mutable int lastPermille_ = -1;
    mutable std::string lastText_;
};

// What the window shows of the progress, on its own thread. Without one, a progress dialog
// titled `title` appears when the work lasts more than a moment.
using ProgressView = std::function<void(std::int64_t done, std::int64_t total, const QString& cp1252Text)>;

// Runs `work` on a worker thread and returns when it has ended. Meanwhile the program
// drops clicks and keys (they are not queued for later), shows the busy cursor and keeps
// painting. A FileError (or any exception) of the work is thrown again here, on the
// window's thread. The file-step hook of the calling thread goes with the work.
void runInBackground(QWidget* window, const QString& title, const std::function<void(const WorkProgress&)>& work,
                     const ProgressView& view = {});

}  // namespace athanor
