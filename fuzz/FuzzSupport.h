#pragma once
#include "foundations/DataRoot.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace athanor::fuzz {

// One input cut into the pieces a target needs: a few leading bytes that choose what to
// ask, then files separated by kSeparator. Running out gives zeros and empty files, so
// every input means something.
inline constexpr std::string_view kSeparator = "|||";

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}

    std::uint8_t byte();
    std::uint16_t u16();
    // The bytes up to the next separator (or the end).
    std::string part();
    std::string rest() const { return std::string(rest_); }

private:
    std::string_view rest_;
};

// A program folder of this process, emptied before each input; the reader under test finds
// its files there as in a real one.
class Scratch {
public:
    static Scratch& fresh();  // the folder, emptied
    const DataRoot& root() const { return root_; }
    std::filesystem::path write(std::string_view relative, std::string_view bytes) const;

private:
    Scratch();
    DataRoot root_;
};

}  // namespace athanor::fuzz
