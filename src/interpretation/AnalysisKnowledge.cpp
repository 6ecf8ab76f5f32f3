#include "interpretation/AnalysisKnowledge.h"

#include "foundations/Format.h"
#include "knowledge/KnowledgeRecords.h"
#include "knowledge/Signatures.h"
#include "knowledge/TextLists.h"

#include "interpretation/Sectors.h"

#include <algorithm>
#include <array>

namespace athanor {

namespace {

std::string trimmed(std::string s) {
    trimTrailingBlanks(s);
    return s;
}

}  // namespace

const char* bodyCapitalName(int body) {
    static const std::array<const char*, 12> names = {"",           "SOLE",     "LUNA",       "MERCURIO",
                                                      "VENUS",      "MARTE",    "J\xDAPITER", "SATURNO",
                                                      "NODO NORTE", "NODO SUR", "ASCENDENTE", "MEDIOCIELO"};
    return body >= 1 && body <= 11 ? names[static_cast<size_t>(body)] : "";
}

const char* signCapitalName(int sign) {
    static const std::array<const char*, 13> names = {
        "",      "ARIES",    "TAURO",     "G\xC9MINIS",  "C\xC1NCER", "LEO",   "VIRGO",
        "LIBRA", "ESCORPIO", "SAGITARIO", "CAPRICORNIO", "ACUARIO",   "PISCIS"};
    return sign >= 1 && sign <= 12 ? names[static_cast<size_t>(sign)] : "";
}

std::string bodyHeading(int body, const ChartState& chart) {
    const char m = chart.RetroMark[static_cast<size_t>(body)];
    const std::string mark(1, m == 0 ? ' ' : m);
    return std::string(bodyCapitalName(body)) + "  " +
           positionWithSignName(chart.BodyLongitude[static_cast<size_t>(body)], body <= 9 ? mark : " ");
}

std::string joinedParagraph(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) {
        std::string t = l;
        trimTrailingBlanks(t);
        const auto first = t.find_first_not_of(' ');
        if (first == std::string::npos) continue;
        if (!out.empty()) out += ' ';
        out += t.substr(first);
    }
    return out;
}

namespace {

void addGroup(std::vector<std::string>& out, const std::vector<std::string>& group) {
    if (group.empty()) return;
    if (!out.empty()) out.push_back("");
    out.push_back(group.front());
    const std::string rest = joinedParagraph(std::vector<std::string>(group.begin() + 1, group.end()));
    if (!rest.empty()) out.push_back(rest);
}

}  // namespace

std::vector<std::string> bodySpecificParagraphs(int body, const std::vector<std::string>& positionCodes,
                                                const KeyedTexts& specific) {
    std::vector<std::string> out;
    for (const auto& code : codesOfBody(body, positionCodes)) addGroup(out, specific.lookup(code));
    return out;
}

std::vector<std::string> signSpecificParagraphs(int sign, const std::vector<std::string>& signCodes,
                                                const KeyedTexts& specific) {
    std::vector<std::string> out;
    const std::string tag = kSignTag2[static_cast<size_t>(std::clamp(sign, 1, 12))];
    for (const auto& code : signCodes)
        if (code.size() >= 7 && code.starts_with(tag))
            addGroup(out, specific.lookup(std::string_view(code).substr(0, 7)));
    return out;
}

std::string signaturePlanetName(int body) {
    return body >= 1 && body <= 9 ? kSignaturePlanets[static_cast<size_t>(body - 1)] : kAnyCriterion;
}

std::string signatureSignName(int sign) { return sign >= 1 && sign <= 12 ? signName(sign) : kAnyCriterion; }

std::string linkedListFile(bool plants, int body, int sign) {
    const std::string stem = body >= 1 && body <= 9 ? kPlanetSignatureLists[static_cast<size_t>(body - 1)].stem
                                                    : std::string(signName(sign));
    return std::string(plants ? "OpzioneS\\" : "OpzioneH\\") + stem + ".rnd";
}

std::vector<std::string> linkedNames(const DataRoot& root, bool plants, int body, int sign) {
    const auto path = root.resolve(linkedListFile(plants, body, sign));
    std::vector<std::string> names;
    const auto take = [&](std::string s) {
        s = trimmed(std::move(s));
        if (!s.empty()) names.push_back(std::move(s));
    };
    if (plants) {
        for (const auto& r : readAllRecords<PlantNameRecord>(path)) take(r.text);
    } else {
        for (const auto& r : readAllRecords<NameRecord>(path)) take(r.text);
    }
    return names;
}

LinkedDetails linkedDetails(const DataRoot& root, bool plants, std::string_view name) {
    LinkedDetails d;
    bool first = true;
    if (plants) {
        const KnowledgeFile<PlantSymptomRecord> file(root.resolve(kPlantSymptomFile));
        for (std::int64_t k = 1; k < file.count(); ++k) {
            const PlantSymptomRecord r = file.read(k);
            if (trimmed(r.plant) != name) continue;
            if (!trimmed(r.symptom).empty()) d.symptoms.push_back(trimmed(r.symptom));
            if (first) {
                first = false;
                d.description = {"Signatura primaria: " + trimmed(r.primarySignature),
                                 "Signatura secundaria: " + trimmed(r.secondarySignature),
                                 "Signatura zodiacal: " + trimmed(r.zodiacSignature), "", trimmed(r.synthesis)};
                if (!trimmed(r.note).empty()) d.description.push_back(trimmed(r.note));
                if (!trimmed(r.authors).empty()) d.description.push_back("Autores: " + trimmed(r.authors));
            }
        }
    } else {
        const KnowledgeFile<RemedyRecord> file(root.resolve(kRemedyDatabaseFile));
        for (std::int64_t k = 1; k < file.count(); ++k) {
            const RemedyRecord r = file.read(k);
            if (trimmed(r.name) != name) continue;
            const std::string indication = trimmed(joinText(r.indication));
            if (!indication.empty()) d.symptoms.push_back(indication);
            if (first) {
                first = false;
                d.description = {
                    "Signatura planetaria: " + trimmed(r.primarySignature) + " " + trimmed(r.secondarySignature),
                    "Signatura zodiacal: " + trimmed(r.zodiacSignature), ""};
                const std::string synthesis = trimmed(joinText(r.synthesis));
                if (!synthesis.empty()) d.description.push_back(synthesis);
                const std::string notes = trimmed(joinText(r.notes));
                if (!notes.empty()) d.description.push_back(notes);
            }
        }
    }
    return d;
}

std::vector<std::string> signatureRemedyNames(const DataRoot& root, std::string_view planet, std::string_view sign) {
    const auto records = readAllRecords<RemedyRecord>(root.resolve(kRemedyDatabaseFile));
    std::vector<std::string> out;
    for (const RemedyNameEntry& e : remedyNameList(records))
        if (!e.name.empty() && answersSignature(records[static_cast<size_t>(e.record)], planet, sign))
            out.push_back(e.name);
    return out;
}

std::vector<std::string> signaturePathologyNames(const DataRoot& root, std::string_view planet, std::string_view sign) {
    const KnowledgeFile<RemedyRecord> database(root.resolve(kRemedyDatabaseFile));
    const KnowledgeFile<TherapyRecord> repertory(root.resolve(kRepertoryFile));
    return pathologiesForSignature(database, repertory, planet, sign);
}

}  // namespace athanor
