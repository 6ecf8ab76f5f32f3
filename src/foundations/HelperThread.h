#pragma once
#include <functional>
#include <future>

namespace athanor {

// One long-lived thread for work that runs beside the caller's: starting a thread costs a
// millisecond or more on a virtual machine, waking a waiting one a few microseconds. Jobs run
// one after another in the order given. Thread-safe.
class HelperThread {
public:
    // The process's helper, started on first use and never stopped (it waits for work).
    static HelperThread& shared();

    // Runs `job` on the helper thread; the future is ready when it has run and carries its
    // exception, if any. Where no thread can be started, or when called from a job, the job
    // runs here and now.
    std::future<void> run(std::function<void()> job);

    HelperThread(const HelperThread&) = delete;
    HelperThread& operator=(const HelperThread&) = delete;

private:
    HelperThread() = default;
    struct State;
    State* state_ = nullptr;
};

}  // namespace athanor
