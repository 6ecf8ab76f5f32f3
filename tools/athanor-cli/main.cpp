#include "Cli.h"

#include "foundations/FileError.h"

#include <iostream>

int main(int argc, char* argv[]) {
    using namespace athanor::cli;
    auto usage = [] {
        std::cerr << "usage: athanor-cli COMMAND [options]\ncommands:\n";
        for (const auto& [name, cmd] : registry()) std::cerr << "  " << name << " " << cmd.usage << '\n';
    };
    if (argc < 2) {
        usage();
        return 2;
    }
    const std::string name = argv[1];
    auto it = registry().find(name);
    if (it == registry().end()) {
        std::cerr << "athanor-cli: unknown command: " << name << '\n';
        return 2;
    }
    try {
        if (it->second.runRaw) return it->second.runRaw(std::vector<std::string>(argv + 2, argv + argc));
        Args args(std::vector<std::string>(argv + 2, argv + argc), it->second.flags);
        return it->second.run(args);
    } catch (const UsageError& e) {
        std::cerr << "athanor-cli " << name << ": " << e.what() << '\n';
        return 2;
    } catch (const athanor::FileError& e) {
        std::cerr << "athanor-cli " << name << ": " << e.what() << '\n';
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "athanor-cli " << name << ": " << e.what() << '\n';
        return 1;
    }
}
