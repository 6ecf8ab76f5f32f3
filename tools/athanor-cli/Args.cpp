// The argument parsers every command shares, apart from main() so that tests can call them.
#include "Cli.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <regex>

namespace athanor::cli {

std::map<std::string, Command>& registry() {
    static std::map<std::string, Command> commands;
    return commands;
}

Args::Args(const std::vector<std::string>& raw, const std::vector<std::string>& flags) {
    for (size_t i = 0; i < raw.size(); ++i) {
        const std::string& a = raw[i];
        if (a.rfind("--", 0) != 0 || a.size() < 3) throw UsageError("unexpected argument: " + a);
        std::string name = a.substr(2);
        if (auto eq = name.find('='); eq != std::string::npos) {
            values_[name.substr(0, eq)] = name.substr(eq + 1);
            continue;
        }
        if (std::find(flags.begin(), flags.end(), name) != flags.end()) {
            flags_.push_back(name);
            continue;
        }
        if (i + 1 >= raw.size()) throw UsageError("--" + name + " needs a value");
        values_[name] = raw[++i];
    }
}

std::optional<std::string> Args::get(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    // An empty folder name would mean the current folder, silently.
    if (name == "data" && it->second.empty()) throw UsageError("--data needs a folder");
    return it->second;
}

std::string Args::require(const std::string& name) const {
    auto v = get(name);
    if (!v) throw UsageError("missing --" + name);
    return *v;
}

bool Args::flag(const std::string& name) const { return std::find(flags_.begin(), flags_.end(), name) != flags_.end(); }

long double parseNumber(const std::string& option, const std::string& text) {
    // Plain decimals only: no exponent, no hexadecimal, no "nan" or "inf", which strtold takes.
    static const std::regex decimal(R"(^[+-]?(\d+(\.\d*)?|\.\d+)$)");
    if (!std::regex_match(text, decimal)) throw UsageError("--" + option + ": not a number: " + text);
    errno = 0;
    char* end = nullptr;
    long double v = std::strtold(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || errno == ERANGE)
        throw UsageError("--" + option + ": not a number: " + text);
    return v;
}

void checkCorrection(const std::string& option, const std::string& text) {
    static const std::regex form(R"(^[+-]?\d{1,2}([.,]\d+)?$)");
    std::string dotted = text;
    std::replace(dotted.begin(), dotted.end(), ',', '.');
    if (!std::regex_match(text, form) || std::fabs(std::stold(dotted)) > 14.0L)
        throw UsageError("--" + option + ": a correction is hours between -14 and +14 (e.g. -1 or +5,5), got: " + text);
}

long double Args::number(const std::string& name) const {
    const long double v = parseNumber(name, require(name));
    // Julian days beyond some 20,000 years either side are no dates the engine can reckon.
    if (name == "jd" && std::fabs(v) > 1.0e7L) throw UsageError("--jd: between -10000000 and 10000000");
    return v;
}

std::optional<long double> Args::optionalNumber(const std::string& name) const {
    auto v = get(name);
    if (!v) return std::nullopt;
    return parseNumber(name, *v);
}

void Args::allowOnly(const std::vector<std::string>& names) const {
    auto known = [&](const std::string& n) { return std::find(names.begin(), names.end(), n) != names.end(); };
    for (const auto& [k, v] : values_)
        if (!known(k)) throw UsageError("unknown option --" + k);
    for (const auto& f : flags_)
        if (!known(f)) throw UsageError("unknown option --" + f);
}

}  // namespace athanor::cli
