#include "foundations/Pages.h"

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <sys/resource.h>

namespace athanor {
namespace {

long minorFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// Committed pages are written without a fault each; the range need not be page-aligned.
TEST(Pages, CommittedPagesAreWrittenWithoutFaults) {
    constexpr std::size_t kPages = 256, kPage = 4096;
    auto* area = static_cast<char*>(
        ::mmap(nullptr, (kPages + 1) * kPage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(area, MAP_FAILED);
#ifdef MADV_POPULATE_WRITE
    constexpr int populate = MADV_POPULATE_WRITE;
#else
    constexpr int populate = 23;
#endif
    if (::madvise(area + kPages * kPage, kPage, populate) != 0) GTEST_SKIP() << "the system commits no pages ahead";

    commitPages(area + 100, kPages * kPage - 100);  // the first page only partly: left alone
    const long before = minorFaults();
    for (std::size_t i = 1; i < kPages; ++i) area[i * kPage] = 1;
    // Without the commit every page faults; with it only what else the write touches does
    // (the sanitizers' shadow memory: one page for every eight).
    EXPECT_LT(minorFaults() - before, long(kPages / 4));
    area[0] = 1;
    ::munmap(area, (kPages + 1) * kPage);
}

}  // namespace
}  // namespace athanor
