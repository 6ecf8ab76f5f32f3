#pragma once
#include "foundations/ChartState.h"
#include "foundations/DataRoot.h"
#include "knowledge/InterpretationTexts.h"

#include <string>
#include <string_view>
#include <vector>

namespace athanor {

// What the analysis window reads for a clicked glyph: headings, the plants or remedies
// linked to a planet or a sign, the details of one of them, and the signature searches.

// "SOLE", "LUNA" .. "MEDIOCIELO" (bodies 1..11).
const char* bodyCapitalName(int body);
// "ARIES" .. "PISCIS".
const char* signCapitalName(int sign);
// The body's name and its position in its sign: "SOLE  05\xB0 07' Leo".
std::string bodyHeading(int body, const ChartState& chart);

// The interpretation texts of a body or a sign as the memos show them: for each code,
// its first line alone and the lines after it joined into one paragraph, so that the
// memo wraps them to its width; codes are separated by an empty line. The general
// texts are one paragraph.
std::vector<std::string> bodySpecificParagraphs(int body, const std::vector<std::string>& positionCodes,
                                                const KeyedTexts& specific);
std::vector<std::string> signSpecificParagraphs(int sign, const std::vector<std::string>& signCodes,
                                                const KeyedTexts& specific);
std::string joinedParagraph(const std::vector<std::string>& lines);

// The signature names of the selection: planets 1..9 ("Sol" .. "NodoSur"), signs by
// name; "Cualquier" for anything else.
std::string signaturePlanetName(int body);
std::string signatureSignName(int sign);

// The linked list of a planet (1..9) or a sign (1..12): in plants mode the plant file of
// the spagyric folder ("OpzioneS\SolePri.rnd", "OpzioneS\Aries.rnd", one plant name per
// record), otherwise the remedy file of the primary database ("OpzioneH\SolePri.rnd").
// Empty names are left out. FileError when the file is missing.
std::string linkedListFile(bool plants, int body, int sign);
std::vector<std::string> linkedNames(const DataRoot& root, bool plants, int body, int sign);

// The symptoms a plant or a remedy treats and its description.
struct LinkedDetails {
    std::vector<std::string> symptoms;
    std::vector<std::string> description;
};
// Plants: the records of OpzioneS\DataQvl.rnd whose plant is the name; remedies: the
// records of OpzioneH\DBmain.rnd whose name is the name (trailing blanks aside).
LinkedDetails linkedDetails(const DataRoot& root, bool plants, std::string_view name);

// The signature search of the analysis window: the remedies whose first record answers
// the planet and the sign (a blank name, such as the reserved record's, is no remedy), and the pathologies of the
// repertory those remedies treat.
std::vector<std::string> signatureRemedyNames(const DataRoot& root, std::string_view planet, std::string_view sign);
std::vector<std::string> signaturePathologyNames(const DataRoot& root, std::string_view planet, std::string_view sign);

}  // namespace athanor
