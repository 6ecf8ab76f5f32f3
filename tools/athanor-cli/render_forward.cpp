// "render" in the light athanor-cli: runs athanor-cli-render with the same arguments. It sits
// beside athanor-cli in a build and in PREFIX/libexec/athanor when installed.
#include "Cli.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>

namespace athanor::cli {
namespace {

int forward(const std::vector<std::string>& raw) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    const fs::path bin = self.parent_path();
    for (const fs::path& helper :
         {bin / "athanor-cli-render", bin.parent_path() / "libexec" / "athanor" / "athanor-cli-render"}) {
        if (ec || !fs::exists(helper, ec)) continue;
        std::vector<std::string> words = {"athanor-cli", "render"};
        words.insert(words.end(), raw.begin(), raw.end());
        std::vector<char*> argv;
        for (auto& w : words) argv.push_back(w.data());
        argv.push_back(nullptr);
        ::execv(helper.c_str(), argv.data());
        std::cerr << "athanor-cli render: " << helper.string() << ": " << std::strerror(errno) << '\n';
        return 1;
    }
    std::cerr << "athanor-cli render: athanor-cli-render, which draws, is not installed beside athanor-cli\n";
    return 1;
}

const Register reg("render", Command{kRenderUsage, {"mono", "paper"}, nullptr, forward});

}  // namespace
}  // namespace athanor::cli
