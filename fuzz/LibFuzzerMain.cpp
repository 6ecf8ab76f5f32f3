// One libFuzzer program per kind of input: ATHANOR_FUZZ_TARGET names its entry.
#include "Targets.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const athanor::fuzz::Entry entry = [] {
        for (const auto& t : athanor::fuzz::targets())
            if (std::strcmp(t.name, ATHANOR_FUZZ_TARGET) == 0) return t.run;
        std::abort();
    }();
    entry(data, size);
    return 0;
}
