#pragma once
#include "foundations/DataRoot.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace athanor {

// The texts of the analysis window: the message sections and the keyed interpretation
// files of OpzioneT. A keyed file holds one text line per line; the key stands at the
// start of the line and the text in fixed columns. A key may have several lines, read
// in file order.

inline constexpr const char* kMessagesFile = "Appoggio\\Messaggi.txt";
inline constexpr const char* kPlanetGeneralFile = "OpzioneT\\SpgPian.txt";
inline constexpr const char* kPlanetSpecificFile = "OpzioneT\\SpgPianSpe.Txt";
inline constexpr const char* kPrintedPlanetFile = "OpzioneT\\SpgPianCan.Txt";
inline constexpr const char* kSignGeneralFile = "OpzioneT\\SpgSegni.txt";
inline constexpr const char* kSignSpecificFile = "OpzioneT\\SpgSegnSpe.txt";
inline constexpr const char* kSignCodeListFile = "OpzioneT\\PosiSegn.Txt";

// Text columns of a keyed file, 1-based, and how many characters a reader shows.
struct KeyedLayout {
    int keyWidth;  // characters of the key (0: the key is as long as the code looked up)
    int textColumn;
    int textWidth;
};
// Planet files: the body key (SpgPian: "Sole" .. "Mcie") or position code (SpgPianSpe,
// SpgPianCan: "SoleArie", "Sole07", "SolDec05", "SO05", "SolAnSag", "SolQuMar") at the
// start, the text from character 22. The body window shows 60 characters of it, the
// lists of terms, decans and décadas 70; lines are written within 60.
inline constexpr KeyedLayout kPlanetTextLayout{0, 22, 60};
// SpgSegni: the two-letter sign tag ("Ar" .. "Pe") in characters 1-2, text 4 to 83.
inline constexpr KeyedLayout kSignGeneralLayout{2, 4, 80};
// SpgSegnSpe: a seven-character sign code ("ArAnPis") in 1-7, text 21 to 70.
inline constexpr KeyedLayout kSignSpecificLayout{7, 21, 50};

class KeyedTexts {
public:
    KeyedTexts(std::vector<std::string> lines, KeyedLayout layout) : lines_(std::move(lines)), layout_(layout) {}
    // FileError when the file is missing.
    static KeyedTexts load(const DataRoot& root, std::string_view file, KeyedLayout layout);

    // The texts of every line whose key is `key`, trailing blanks removed.
    std::vector<std::string> lookup(std::string_view key) const;
    std::optional<std::string> first(std::string_view key) const;

    const std::vector<std::string>& lines() const noexcept { return lines_; }

private:
    bool matches(const std::string& line, std::string_view key) const;
    std::string textOf(const std::string& line) const;

    std::vector<std::string> lines_;
    KeyedLayout layout_;
};

// Appoggio\Messaggi.txt: sections separated by lines that contain "#"; section n is the
// text between the n-th and the (n+1)-th such line.
class MessageSections {
public:
    explicit MessageSections(const std::vector<std::string>& lines);
    static MessageSections load(const DataRoot& root);

    int count() const noexcept { return static_cast<int>(sections_.size()); }
    // Lines of section n (1-based); empty when the file has no such section.
    const std::vector<std::string>& section(int n) const;

private:
    std::vector<std::vector<std::string>> sections_;
};

// The lines of the position-code file that concern a body 1..11: its sign, house and
// sector codes, its decan and décadas codes, its antiscia and every major aspect it
// takes part in.
std::vector<std::string> codesOfBody(int body, const std::vector<std::string>& positionCodes);

// Specific texts of a body: the lines of SpgPianSpe for each of its codes, in code order.
std::vector<std::string> bodySpecificTexts(int body, const std::vector<std::string>& positionCodes,
                                           const KeyedTexts& specific);
// General texts of a body: the lines of SpgPian under its four-letter tag.
std::vector<std::string> bodyGeneralTexts(int body, const KeyedTexts& general);

// Specific texts of a sign 1..12: for each line of the sign-code file that begins with the
// sign's two-letter tag, the lines of SpgSegnSpe under its seven-character code.
std::vector<std::string> signSpecificTexts(int sign, const std::vector<std::string>& signCodes,
                                           const KeyedTexts& specific);
std::vector<std::string> signGeneralTexts(int sign, const KeyedTexts& general);

}  // namespace athanor
