// The command line's parsers: option pairs, stamps, coordinates, numbers, and the dates and
// times of the jd and date commands, as the commands receive them.
#include "../Targets.h"

#include "Cli.h"

#include <iostream>
#include <sstream>

namespace athanor::fuzz {

void cliArguments(const std::uint8_t* data, std::size_t size) {
    // The arguments, separated by NUL bytes; the first chooses the command.
    std::vector<std::string> raw;
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            raw.push_back(current);
            current.clear();
        } else {
            current.push_back(static_cast<char>(data[i]));
        }
    }
    raw.push_back(current);
    const std::string command = raw.front();
    raw.erase(raw.begin());
    // The commands print their answer; the fuzzer has no use for it.
    struct Silence {
        std::ostringstream sink;
        std::streambuf* saved = std::cout.rdbuf(sink.rdbuf());
        ~Silence() { std::cout.rdbuf(saved); }
    } silence;
    try {
        if (command == "jd" || command == "date") {
            const cli::Command& c = cli::registry().at(command);
            (void)c.run(cli::Args(raw, c.flags));
        } else {
            const cli::Args args(raw, {"julian"});
            if (args.get("stamp")) {
                std::vector<std::string> withData = raw;
                withData.insert(withData.end(), {"--data", "/nonexistent-athanor-folder"});
                (void)cli::subjectArgs(cli::Args(withData, {"julian"}));
            }
            if (const auto coord = args.get("coord")) (void)cli::coordinatesOnTheGlobe(*coord);
            if (const auto c = args.get("correction")) cli::checkCorrection("correction", *c);
            (void)args.optionalNumber("jd");
        }
    } catch (const cli::UsageError&) {
    }
}

}  // namespace athanor::fuzz
