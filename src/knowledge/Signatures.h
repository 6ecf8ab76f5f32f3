#pragma once
#include "knowledge/KnowledgeRecords.h"
#include "knowledge/TextLists.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace athanor {

// Astrological signatures of the remedies: the criteria a planet and a sign give, the
// match, the signature and weakness searches, and the signature lists of the rebuild.

inline constexpr const char* kAnyCriterion = "Cualquier";

// The planet criteria, in the order of the radio buttons (Sol .. NodoSur).
extern const std::array<const char*, 9> kSignaturePlanets;
// The sign criterion of sign 1..12 is its name ("Aries" .. "Piscis"; signName()).

// A record answers (planet, sign) when the planet is "Cualquier" or a substring of the
// primary or secondary signature, and the sign is "Cualquier" or a substring of the
// zodiacal signature. Case-sensitive, on the stored text.
bool answersSignature(const RemedyRecord& r, std::string_view planet, std::string_view sign);
// The same on a record's bytes, for the scans.
bool answersSignatureAt(const std::uint8_t* record, std::string_view planet, std::string_view sign);

// The weakness window searches the remedies of the sign opposite the weakened one:
// "Libra" -> "Aries". "Cualquier" stays; an unknown name gives "".
std::string signSearchedForWeakness(std::string_view weakenedSign);

// Signature window search. Each entry of the name list is judged by the record that its
// line of Prdts.dum names, when that record still carries the entry's name (trailing
// blanks aside): later records of the same remedy are not examined.
std::vector<RemedyRecord> signatureSearch(const KnowledgeFile<RemedyRecord>& database,
                                          const std::vector<RemedyNameEntry>& list,
                                          const std::vector<std::int64_t>& numbers, std::string_view planet,
                                          std::string_view sign);

// FileDum\Segnat.dum: four lines per remedy found (name, primary, secondary and zodiacal
// signature, stored text as it is).
inline constexpr int kSignatureRows = 14;
void writeSignatureResults(const std::filesystem::path& path, const std::vector<RemedyRecord>& found);
// Pages of 14 remedies: ceil(n / 14), 0 when nothing was found.
int signaturePageCount(std::size_t found);
struct SignatureRow {
    std::string name, primary, secondary, zodiac;
    bool operator==(const SignatureRow&) const = default;
};
// Rows of page p (1-based) read back from the results file; fewer than 14 past its end.
std::vector<SignatureRow> readSignaturePage(const std::filesystem::path& path, int page);

// Weakness search, step 1 and 2: the pathologies of the repertory treated by the
// remedies that answer (planet, sign), sorted and without repetitions. Both files are
// scanned from record 0.
std::vector<std::string> pathologiesForSignature(const KnowledgeFile<RemedyRecord>& database,
                                                 const KnowledgeFile<TherapyRecord>& repertory, std::string_view planet,
                                                 std::string_view sign);

// The remedies of the repertory for a pathology (records from 1), sorted; each one that
// a database record answering (planet, sign) carries - by its exact name or its name
// upper-cased - is shown as ">>> " + name + " <<<".
std::vector<std::string> markedRemediesForPathology(const KnowledgeFile<RemedyRecord>& database,
                                                    const KnowledgeFile<TherapyRecord>& repertory,
                                                    std::string_view pathology, std::string_view planet,
                                                    std::string_view sign);

// Signature lists written by the rebuild: OpzioneH\ + stem + ".rnd", NameRecords of the
// remedies whose signature contains the key.
struct SignatureList {
    const char* stem;
    const char* key;
};
// Searched in primarySignature. The North Node's key has eight characters, "NodoNort".
extern const std::array<SignatureList, 9> kPlanetSignatureLists;
// Searched in zodiacSignature: the stem and the key are the sign's name.
std::string signatureListFile(std::string_view stem);  // "OpzioneH\\SolePri.rnd"

}  // namespace athanor
