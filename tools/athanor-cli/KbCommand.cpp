// athanor-cli kb: the knowledge base from the command line, through the same operations
// the windows use. Texts in and out are UTF-8; the base keeps Windows-1252.
#include "Cli.h"
#include "Json.h"

#include "foundations/Cp1252.h"
#include "foundations/FileError.h"
#include "foundations/Format.h"
#include "interpretation/ChartWeaknesses.h"
#include "knowledge/ChartRemedies.h"
#include "knowledge/Consultation.h"
#include "knowledge/CsvExchange.h"
#include "knowledge/KnowledgeStats.h"
#include "knowledge/Rankings.h"
#include "knowledge/Rebuild.h"
#include "knowledge/RecordScan.h"
#include "knowledge/SignatureSearch.h"
#include "knowledge/TextSearch.h"
#include "subjects/SubjectChart.h"

#include <iostream>
#include <map>
#include <set>

namespace athanor::cli {
namespace {

const char* const kUsage =
    "SUBCOMMAND [--data DIR]\n"
    "    symptom TEXT | remedy NAME | therapy PATHOLOGY | plant NAME | plant-symptom TEXT\n"
    "    signature [--planet P] [--sign S] | weakness [--planet P] [--sign S] [--pathology X]\n"
    "    multi --symptom A [--symptom B ...] | composite --pathology A [--pathology B ...]\n"
    "    chart-remedies --stamp YYYYMMDDhhmm+C --coord 41N54-012E29 [--calendar GR|GI]\n"
    "    search-text --field plants|synthesis WORD | rebuild | stats | export --out DIR | import --from DIR";

// The arguments of one subcommand: free texts and --options, which may repeat.
struct KbArgs {
    std::string sub;
    std::vector<std::string> texts;
    std::multimap<std::string, std::string> options;

    std::vector<std::string> all(const std::string& name) const {
        std::vector<std::string> out;
        for (auto [a, b] = options.equal_range(name); a != b; ++a) out.push_back(a->second);
        return out;
    }
    std::optional<std::string> get(const std::string& name) const {
        const auto v = all(name);
        if (v.empty()) return std::nullopt;
        if (v.size() > 1) throw UsageError("--" + name + " aparece m\xC3\xA1s de una vez");
        return v.front();
    }
    std::string require(const std::string& name) const {
        auto v = get(name);
        if (!v) throw UsageError("falta --" + name);
        return *v;
    }
    // Exactly one free text, in Windows-1252.
    std::string text(const char* what) const {
        if (texts.size() != 1)
            throw UsageError(std::string("se espera un solo ") + what + " (entre comillas si lleva blancos)");
        return utf8ToCp1252(texts.front());
    }
    void allow(std::set<std::string> names, bool takesText) const {
        names.insert("data");
        for (const auto& [k, v] : options)
            if (!names.count(k)) throw UsageError("opci\xC3\xB3n desconocida para kb " + sub + ": --" + k);
        if (!takesText && !texts.empty())
            throw UsageError("argumento de m\xC3\xA1s para kb " + sub + ": " + texts.front());
    }
};

KbArgs parse(const std::vector<std::string>& raw) {
    if (raw.empty())
        throw UsageError("falta la orden: symptom, remedy, therapy, plant, plant-symptom, signature, weakness, multi, "
                         "composite, chart-remedies, search-text, rebuild, stats, export o import");
    KbArgs a;
    a.sub = raw.front();
    for (std::size_t i = 1; i < raw.size(); ++i) {
        const std::string& s = raw[i];
        if (s.size() > 2 && s.starts_with("--")) {
            std::string name = s.substr(2);
            if (const auto eq = name.find('='); eq != std::string::npos) {
                a.options.emplace(name.substr(0, eq), name.substr(eq + 1));
                continue;
            }
            if (i + 1 >= raw.size()) throw UsageError("--" + name + " necesita un valor");
            a.options.emplace(name, raw[++i]);
        } else {
            a.texts.push_back(s);
        }
    }
    return a;
}

DataRoot rootOf(const KbArgs& a) {
    const auto data = a.get("data");
    if (data && data->empty()) throw UsageError("--data necesita una carpeta");
    DataRoot root(data ? std::filesystem::absolute(*data) : DataRoot::defaultLocation());
    if (!data) root.seedFrom(DataRoot::installedDefaults());
    return root;
}

std::string u8(std::string_view cp1252) { return cp1252ToUtf8(cp1252); }

// Letters a-z, the accents of the names dropped, blanks and hyphens ignored: "jupiter",
// "Júpiter" and "JUPITER" are the same planet, "nodo norte" is "NodoNorte".
std::string folded(std::string_view cp1252) {
    std::string out;
    for (unsigned char c : cp1252) {
        switch (c) {
        case 0xE1:
        case 0xC1:
            c = 'a';
            break;
        case 0xE9:
        case 0xC9:
            c = 'e';
            break;
        case 0xED:
        case 0xCD:
            c = 'i';
            break;
        case 0xF3:
        case 0xD3:
            c = 'o';
            break;
        case 0xFA:
        case 0xDA:
            c = 'u';
            break;
        default:
            break;
        }
        if (c == ' ' || c == '-') continue;
        out += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return out;
}

std::string criterion(const KbArgs& a, const char* option, bool planet) {
    const auto given = a.get(option);
    if (!given) return kAnyCriterion;
    const std::string key = folded(utf8ToCp1252(*given));
    if (key == folded(kAnyCriterion)) return kAnyCriterion;
    std::string names;
    auto consider = [&](const char* name) -> bool {
        names += (names.empty() ? "" : ", ") + u8(name);
        return folded(name) == key;
    };
    if (planet) {
        for (const char* p : kSignaturePlanets)
            if (consider(p)) return p;
    } else {
        for (int s = 1; s <= 12; ++s)
            if (consider(signName(s))) return signName(s);
    }
    throw UsageError("--" + std::string(option) + ": " + *given + " no es " + (planet ? "un planeta" : "un signo") +
                     " (" + names + " o Cualquier)");
}

void print(const Json& j) { std::cout << j.str() << '\n'; }

template <class F>
int results(F each) {
    Json j;
    j.beginObject().key("results").beginArray();
    each(j);
    j.endArray().endObject();
    print(j);
    return 0;
}

void rowObject(Json& j, const ConsultationRow& r, const char* fourth, bool signatures) {
    j.beginObject().field("name", u8(r.remedy));
    if (signatures) j.field("planets", u8(r.planets)).field("signs", u8(r.signs));
    j.field(fourth, u8(r.fourth)).endObject();
}

int symptom(const KbArgs& a) {
    a.allow({}, true);
    const std::string text = a.text("s\xC3\xADntoma");
    const DataRoot root = rootOf(a);
    const Matches m = findSymptom(root, text);
    return results([&](Json& j) {
        for (const auto& r : symptomRows(root, m.records)) rowObject(j, r, "posology", true);
    });
}

int remedy(const KbArgs& a) {
    a.allow({}, true);
    const std::string text = a.text("remedio");
    const DataRoot root = rootOf(a);
    const Matches m = findRemedy(root, text);
    return results([&](Json& j) {
        for (const auto& r : remedyRows(root, m.records)) rowObject(j, r, "indication", true);
    });
}

int therapy(const KbArgs& a) {
    a.allow({}, true);
    const std::string text = a.text("patolog\xC3\xAD"
                                    "a");
    const DataRoot root = rootOf(a);
    const Matches m = findTherapy(root, text);
    return results([&](Json& j) {
        for (const auto& r : therapyRows(root, m.records)) rowObject(j, r, "posology", false);
    });
}

int plant(const KbArgs& a) {
    a.allow({}, true);
    const PlantConsultation c = consultPlant(rootOf(a), a.text("nombre de planta"));
    return results([&](Json& j) {
        for (const auto& page : c.pages)
            for (const auto& [symptom, authors] : page) {
                // The lines as the window lists them, without the rule of dashes after each.
                j.beginObject()
                    .field("name", u8(c.plant))
                    .field("symptom", u8(symptom.substr(0, symptom.size() - 120)))
                    .field("authors", u8(authors.substr(0, authors.size() - 120)))
                    .field("primarySignature", u8(c.primary))
                    .field("secondarySignature", u8(c.secondary))
                    .field("zodiacSignature", u8(c.zodiac))
                    .field("synthesis", u8(c.synthesis))
                    .endObject();
            }
    });
}

int plantSymptom(const KbArgs& a) {
    a.allow({}, true);
    const DataRoot root = rootOf(a);
    const SymptomConsultation c = consultPlantSymptom(root, a.text("s\xC3\xADntoma"));
    return results([&](Json& j) {
        for (const auto& p : c.plants) {
            const PlantDetails d = plantDetails(root, p.record);
            j.beginObject()
                .field("name", u8(std::string(trimmedBlanks(d.plant))))
                .field("synthesis", u8(p.synthesis))
                .field("record", static_cast<long long>(p.record))
                .field("primarySignature", u8(d.primary))
                .field("secondarySignature", u8(d.secondary))
                .field("zodiacSignature", u8(d.zodiac))
                .field("authors", u8(d.authors))
                .endObject();
        }
        // No plant for it: the window shows the authors of the last record without one.
        if (c.alternative) j.beginObject().field("name", "").field("authors", u8(*c.alternative)).endObject();
    });
}

int signature(const KbArgs& a) {
    a.allow({"planet", "sign"}, false);
    const std::string planet = criterion(a, "planet", true);
    const std::string sign = criterion(a, "sign", false);
    const DataRoot root = rootOf(a);
    const auto list = openRemedyNameList(root);
    const std::size_t found = runSignatureSearch(root, list, planet, sign);
    return results([&](Json& j) {
        for (int p = 1; p <= signaturePageCount(found); ++p)
            for (const auto& r : signatureResultPage(root, p))
                j.beginObject()
                    .field("name", u8(r.name))
                    .field("primarySignature", u8(r.primary))
                    .field("secondarySignature", u8(r.secondary))
                    .field("zodiacSignature", u8(r.zodiac))
                    .endObject();
    });
}

int weakness(const KbArgs& a) {
    a.allow({"planet", "sign", "pathology"}, false);
    const std::string planet = criterion(a, "planet", true);
    const std::string sign = criterion(a, "sign", false);  // the weakened sign
    const DataRoot root = rootOf(a);
    if (const auto pathology = a.get("pathology")) {
        const auto remedies = weaknessRemedies(root, utf8ToCp1252(*pathology), planet, sign);
        return results([&](Json& j) {
            for (const auto& r : remedies) {
                const bool marked = r.starts_with(">>> ") && r.ends_with(" <<<");
                const std::string name = marked ? r.substr(4, r.size() - 8) : r;
                j.beginObject().field("name", u8(name)).field("answers", marked).endObject();
            }
        });
    }
    const auto pathologies = weaknessPathologies(root, planet, sign);
    return results([&](Json& j) {
        for (const auto& p : pathologies) j.beginObject().field("name", u8(p)).endObject();
    });
}

// The weaknesses of a birth's chart and the remedies that answer them.
int chartRemedies(const KbArgs& a) {
    a.allow({"stamp", "coord", "calendar"}, false);
    // The chart commands' own checks of the birth.
    std::vector<std::string> raw;
    for (const auto& [k, v] : a.options) raw.insert(raw.end(), {"--" + k, v});
    const SubjectArgs given = subjectArgs(Args(raw, {}));

    ChartState chart;
    const CorrectionFiles files{given.root};
    buildChart(chart, files, ChartSubject{given.stamp, given.coord, given.calendar}, ChartVariant::Analysis);
    const ChartRemedies found = chartRemediesFor(given.root, chart);
    const auto& weaknesses = found.weaknesses;
    const auto& ranked = found.remedies;

    Json j;
    j.beginObject().key("weaknesses").beginArray();
    for (const auto& w : weaknesses)
        j.beginObject()
            .field("planet", u8(w.planet))
            .field("weakenedSign", u8(w.weakenedSign))
            .field("searchedSign", u8(signSearchedForWeakness(w.weakenedSign)))
            .field("reason", u8(w.reason))
            .endObject();
    j.endArray().key("results").beginArray();
    for (const auto& r : ranked) {
        j.beginObject().field("name", u8(r.name)).key("answers").beginArray();
        for (int i : r.answers) j.value(i);
        j.endArray()
            .field("primarySignature", u8(r.record.primarySignature))
            .field("secondarySignature", u8(r.record.secondarySignature))
            .field("zodiacSignature", u8(r.record.zodiacSignature))
            .field("indications", u8(r.record.indicationText()))
            .field("warnings", u8(r.record.warningsText()))
            .key("pathologies")
            .beginArray();
        for (const auto& p : r.pathologies) j.value(u8(p));
        j.endArray().endObject();
    }
    j.endArray().endObject();
    print(j);
    return 0;
}

int ranking(const KbArgs& a, RankingKind kind, const char* option) {
    a.allow({option}, false);
    const auto picked = a.all(option);
    if (picked.empty()) throw UsageError(std::string("falta --") + option);
    if (picked.size() > kComplaintSlots)
        throw UsageError(std::string("como mucho ") + std::to_string(kComplaintSlots) + " --" + option);
    ComplaintSlots slots;
    for (const auto& p : picked) slots.pick(utf8ToCp1252(p));
    const DataRoot root = rootOf(a);
    if (kind == RankingKind::Therapies) writeRepertoryRemedies(root);  // as the window does when it opens
    const auto ranked = rankRemedies(root, kind, slots.texts());
    return results([&](Json& j) {
        for (const auto& r : ranked)
            j.beginObject().field("name", u8(r.name)).field("count", static_cast<long long>(r.count)).endObject();
    });
}

int searchText(const KbArgs& a) {
    a.allow({"field"}, true);
    const std::string fieldName = a.require("field");
    if (fieldName != "plants" && fieldName != "synthesis") throw UsageError("--field: plants o synthesis");
    const RemedyText field = fieldName == "plants" ? RemedyText::Composition : RemedyText::Synthesis;
    const std::string word = a.text("texto");
    const DataRoot root = rootOf(a);
    const auto list = openRemedyNameList(root);
    const auto found = searchRemedyTexts(root, field, list, word);
    const auto texts = remedyTexts(root, field, found);
    return results([&](Json& j) {
        for (std::size_t i = 0; i < found.size(); ++i)
            j.beginObject()
                .field("name", u8(found[i]))
                .field("text", u8(withCapitalisedHit(texts[i], word)))
                .endObject();
    });
}

int rebuild(const KbArgs& a) {
    a.allow({}, false);
    const RebuildSummary s = rebuildDerivedFiles(rootOf(a));
    Json j;
    j.beginObject()
        .field("symptoms", static_cast<long long>(s.symptoms))
        .field("remedies", static_cast<long long>(s.remedies))
        .field("remedyLines", static_cast<long long>(s.remedyLines))
        .field("pathologies", static_cast<long long>(s.pathologies))
        .field("repertoryRemedies", static_cast<long long>(s.repertoryRemedies))
        .field("plants", static_cast<long long>(s.plants))
        .field("plantSymptoms", static_cast<long long>(s.plantSymptoms))
        .endObject();
    print(j);
    return 0;
}

int stats(const KbArgs& a) {
    a.allow({}, false);
    const KnowledgeStats s = knowledgeStats(rootOf(a));
    Json j;
    j.beginObject()
        .field("remedies", static_cast<long long>(s.remedies))
        .field("remedyRecords", static_cast<long long>(s.remedyRecords))
        .field("repertoryRecords", static_cast<long long>(s.repertoryRecords))
        .field("pathologies", static_cast<long long>(s.pathologies))
        .field("plantSymptomRecords", static_cast<long long>(s.plantSymptomRecords))
        .field("plants", static_cast<long long>(s.plants))
        .field("symptoms", static_cast<long long>(s.symptoms))
        .endObject();
    print(j);
    return 0;
}

int exportCsv(const KbArgs& a) {
    a.allow({"out"}, false);
    const std::filesystem::path out = std::filesystem::absolute(a.require("out"));
    const DataRoot root = rootOf(a);
    exportKnowledgeCsv(root, out);
    const KnowledgeStats s = knowledgeStats(root);
    Json j;
    j.beginObject()
        .field("out", out.string())
        .field("remedyRecords", static_cast<long long>(s.remedyRecords))
        .field("repertoryRecords", static_cast<long long>(s.repertoryRecords))
        .field("plantSymptomRecords", static_cast<long long>(s.plantSymptomRecords))
        .endObject();
    print(j);
    return 0;
}

int importCsv(const KbArgs& a) {
    a.allow({"from"}, false);
    const std::filesystem::path from = std::filesystem::absolute(a.require("from"));
    const DataRoot root = rootOf(a);
    try {
        const ImportSummary s = importKnowledgeCsv(root, from);
        Json j;
        j.beginObject()
            .field("remedyRecords", static_cast<long long>(s.remedyRecords))
            .field("repertoryRecords", static_cast<long long>(s.repertoryRecords))
            .field("plantSymptomRecords", static_cast<long long>(s.plantSymptomRecords))
            .endObject();
        print(j);
        return 0;
    } catch (const CsvImportError& e) {
        std::cerr << "athanor-cli kb import: " << e.faults().front().describe() << '\n';
        return 1;
    }
}

int run(const std::vector<std::string>& raw) {
    const KbArgs a = parse(raw);
    static const std::map<std::string, int (*)(const KbArgs&)> subcommands = {
        {"symptom", symptom},
        {"remedy", remedy},
        {"therapy", therapy},
        {"plant", plant},
        {"plant-symptom", plantSymptom},
        {"signature", signature},
        {"weakness", weakness},
        {"multi", [](const KbArgs& x) { return ranking(x, RankingKind::Symptoms, "symptom"); }},
        {"composite", [](const KbArgs& x) { return ranking(x, RankingKind::Therapies, "pathology"); }},
        {"chart-remedies", chartRemedies},
        {"search-text", searchText},
        {"rebuild", rebuild},
        {"stats", stats},
        {"export", exportCsv},
        {"import", importCsv},
    };
    const auto it = subcommands.find(a.sub);
    if (it == subcommands.end()) throw UsageError("orden desconocida: " + a.sub);
    try {
        return it->second(a);
    } catch (const FileError& e) {
        // The base's own messages are Windows-1252.
        std::cerr << "athanor-cli kb " << a.sub << ": " << e.path().string() << ": " << u8(e.systemMessage()) << '\n';
        return 1;
    }
}

const Register reg("kb", Command{kUsage, {}, nullptr, run});

}  // namespace
}  // namespace athanor::cli
