#include "knowledge/InterpretationTexts.h"

#include "foundations/Format.h"
#include "foundations/TextFile.h"
#include "foundations/Vocabulary.h"

#include <stdexcept>

namespace athanor {

KeyedTexts KeyedTexts::load(const DataRoot& root, std::string_view file, KeyedLayout layout) {
    return KeyedTexts(readLines(root.resolve(file)), layout);
}

bool KeyedTexts::matches(const std::string& line, std::string_view key) const {
    if (layout_.keyWidth > 0 && key.size() != static_cast<std::size_t>(layout_.keyWidth)) return false;
    return line.starts_with(key);
}

std::string KeyedTexts::textOf(const std::string& line) const {
    const std::size_t from = static_cast<std::size_t>(layout_.textColumn - 1);
    if (line.size() <= from) return {};
    std::string text = line.substr(from, static_cast<std::size_t>(layout_.textWidth));
    trimTrailingBlanks(text);
    return text;
}

std::vector<std::string> KeyedTexts::lookup(std::string_view key) const {
    std::vector<std::string> out;
    if (key.empty()) return out;
    for (const auto& line : lines_)
        if (matches(line, key)) out.push_back(textOf(line));
    return out;
}

std::optional<std::string> KeyedTexts::first(std::string_view key) const {
    if (key.empty()) return std::nullopt;
    for (const auto& line : lines_)
        if (matches(line, key)) return textOf(line);
    return std::nullopt;
}

MessageSections::MessageSections(const std::vector<std::string>& lines) {
    bool open = false;
    for (const auto& line : lines) {
        if (line.find('#') != std::string::npos) {
            if (open) sections_.emplace_back();
            else {
                open = true;
                sections_.emplace_back();
            }
            continue;
        }
        if (open) sections_.back().push_back(line);
    }
    // The text after the last separator is no section: it has no closing line.
    if (open) sections_.pop_back();
}

MessageSections MessageSections::load(const DataRoot& root) {
    return MessageSections(readLines(root.resolve(kMessagesFile)));
}

const std::vector<std::string>& MessageSections::section(int n) const {
    static const std::vector<std::string> none;
    return n >= 1 && n <= count() ? sections_[static_cast<std::size_t>(n - 1)] : none;
}

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isOneOf(std::string_view s, std::initializer_list<std::string_view> set) {
    for (auto t : set)
        if (s == t) return true;
    return false;
}

}  // namespace

std::vector<std::string> codesOfBody(int body, const std::vector<std::string>& codes) {
    if (body < 1 || body > kChartBodies) throw std::out_of_range("body " + std::to_string(body));
    const std::string_view code4 = kBodyCode4[body], tag3 = kBodyTag3[body], code2 = kBodyCode2[body];
    std::vector<std::string> out;
    for (const auto& c : codes) {
        const std::string_view v = c;
        bool mine = false;
        if (v.size() == 8 && v.starts_with(code4)) {
            mine = true;  // sign or house
        } else if (v.size() == 6 && v.starts_with(code4)) {
            mine = isDigit(v[4]) && isDigit(v[5]);  // sector
        } else if (v.size() == 4 && v.starts_with(code2)) {
            mine = isDigit(v[2]) && isDigit(v[3]);  // décadas
        } else if (v.size() == 8) {
            const std::string_view kind = v.substr(3, 2);
            if (v.starts_with(tag3)) mine = isOneOf(kind, {"De", "An", "Ca", "Co", "Se", "Qu", "Tr", "Op"});
            else mine = v.substr(5) == tag3 && isOneOf(kind, {"Co", "Se", "Qu", "Tr", "Op"});
        }
        if (mine) out.push_back(c);
    }
    return out;
}

std::vector<std::string> bodySpecificTexts(int body, const std::vector<std::string>& positionCodes,
                                           const KeyedTexts& specific) {
    std::vector<std::string> out;
    for (const auto& code : codesOfBody(body, positionCodes))
        for (auto& t : specific.lookup(code)) out.push_back(std::move(t));
    return out;
}

std::vector<std::string> bodyGeneralTexts(int body, const KeyedTexts& general) {
    if (body < 1 || body > kChartBodies) throw std::out_of_range("body " + std::to_string(body));
    return general.lookup(kBodyCode4[body]);
}

std::vector<std::string> signSpecificTexts(int sign, const std::vector<std::string>& signCodes,
                                           const KeyedTexts& specific) {
    if (sign < 1 || sign > 12) throw std::out_of_range("sign " + std::to_string(sign));
    std::vector<std::string> out;
    for (const auto& code : signCodes)
        if (code.size() >= 7 && code.starts_with(kSignTag2[sign]))
            for (auto& t : specific.lookup(std::string_view(code).substr(0, 7))) out.push_back(std::move(t));
    return out;
}

std::vector<std::string> signGeneralTexts(int sign, const KeyedTexts& general) {
    if (sign < 1 || sign > 12) throw std::out_of_range("sign " + std::to_string(sign));
    return general.lookup(kSignTag2[sign]);
}

}  // namespace athanor
