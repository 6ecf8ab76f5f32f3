#include "foundations/HelperThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

namespace athanor {
namespace {

// Jobs run beside the caller, one after another in the order given, and hand back their
// failures; a job that hands on work does not wait for itself.
TEST(HelperThread, RunsJobsBesideTheCallerInOrder) {
    HelperThread& helper = HelperThread::shared();
    const auto caller = std::this_thread::get_id();
    std::thread::id ranOn;
    helper.run([&] { ranOn = std::this_thread::get_id(); }).get();
    EXPECT_NE(ranOn, caller);

    std::vector<int> order;
    std::vector<std::future<void>> done;
    for (int i = 0; i < 50; ++i) done.push_back(helper.run([&order, i] { order.push_back(i); }));
    for (auto& d : done) d.get();
    ASSERT_EQ(order.size(), 50u);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(order[static_cast<std::size_t>(i)], i);

    auto failing = helper.run([] { throw std::runtime_error("no"); });
    EXPECT_THROW(failing.get(), std::runtime_error);

    std::atomic<bool> inner{false};
    helper.run([&] { helper.run([&] { inner = true; }).get(); }).get();
    EXPECT_TRUE(inner);
}

}  // namespace
}  // namespace athanor
