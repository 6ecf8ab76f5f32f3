#include "foundations/HelperThread.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

namespace athanor {

struct HelperThread::State {
    std::mutex mutex;
    std::condition_variable work;
    std::deque<std::packaged_task<void()>> jobs;
    bool started = false, failed = false;
    std::thread::id id;

    void loop() {
        for (;;) {
            std::packaged_task<void()> job;
            {
                std::unique_lock lock(mutex);
                work.wait(lock, [this] { return !jobs.empty(); });
                job = std::move(jobs.front());
                jobs.pop_front();
            }
            job();
        }
    }
};

HelperThread& HelperThread::shared() {
    // Never destroyed: its thread waits for work until the process ends.
    static HelperThread* const helper = [] {
        auto* h = new HelperThread;
        h->state_ = new State;
        return h;
    }();
    return *helper;
}

std::future<void> HelperThread::run(std::function<void()> job) {
    std::packaged_task<void()> task(std::move(job));
    std::future<void> done = task.get_future();
    State& s = *state_;
    {
        std::lock_guard lock(s.mutex);
        if (!s.started && !s.failed) {
            try {
                std::thread helper(&State::loop, &s);
                s.id = helper.get_id();
                helper.detach();
                s.started = true;
            } catch (const std::system_error&) {
                s.failed = true;
            }
        }
        // A job that hands on work would otherwise wait for itself.
        if (s.started && std::this_thread::get_id() != s.id) {
            s.jobs.push_back(std::move(task));
            s.work.notify_one();
            return done;
        }
    }
    task();
    return done;
}

}  // namespace athanor
