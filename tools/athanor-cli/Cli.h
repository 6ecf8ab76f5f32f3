#pragma once
#include "foundations/DataRoot.h"

#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace athanor::cli {

// A bad argument: one line on standard error and exit status 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Arguments of one command: --name value pairs and bare --flags.
class Args {
public:
    Args(const std::vector<std::string>& raw, const std::vector<std::string>& flags);

    std::optional<std::string> get(const std::string& name) const;
    std::string require(const std::string& name) const;
    bool flag(const std::string& name) const;
    long double number(const std::string& name) const;  // required, decimal
    std::optional<long double> optionalNumber(const std::string& name) const;
    // Rejects any option the command does not know.
    void allowOnly(const std::vector<std::string>& names) const;

private:
    std::map<std::string, std::string> values_;
    std::vector<std::string> flags_;
};

using Handler = std::function<int(const Args&)>;

// A command with subcommands and free texts reads its arguments itself.
using RawHandler = std::function<int(const std::vector<std::string>&)>;

struct Command {
    std::string usage;
    std::vector<std::string> flags;  // options that take no value
    Handler run;
    RawHandler runRaw = {};  // used instead of run when set
};

// Commands register themselves from their own source files.
std::map<std::string, Command>& registry();

struct Register {
    Register(const std::string& name, Command command) { registry().emplace(name, std::move(command)); }
};

// The drawing command lives in athanor-cli-render, so that the commands that draw nothing
// load no Qt; athanor-cli runs it for "render".
inline constexpr const char* kRenderUsage =
    "--stamp YYYYMMDDhhmm[+-C] --coord 45N28-009E11 [--calendar GR|GI] --view VIEW "
    "--out FILE.png|.pdf|.svg|.emf [--mono] [--paper] [--scale PPU] [--data DIR]";

// --stamp, --coord, --calendar and --data of the commands that compute a subject's chart.
struct SubjectArgs {
    std::string stamp;
    std::string coord;
    std::string calendar;  // "GR" or "GI"
    DataRoot root;         // seeded like the program when --data is absent
};
SubjectArgs subjectArgs(const Args& args);

// The date and time of a stamp whose first twelve characters are digits must exist in the
// calendar named ("GR" Gregorian, anything else Julian); UsageError otherwise.
void requireExistingMoment(const std::string& stamp, const std::string& calendar);

// "41N54-012E29" within the globe: latitude to 90°, longitude to 180°, minutes to 59.
bool coordinatesOnTheGlobe(const std::string& text);

// A total correction as stamps and options give it: hours, decimal digits only, at most 14.
void checkCorrection(const std::string& option, const std::string& text);

// Parses a decimal number, whole text only; throws UsageError naming the option.
long double parseNumber(const std::string& option, const std::string& text);

}  // namespace athanor::cli
