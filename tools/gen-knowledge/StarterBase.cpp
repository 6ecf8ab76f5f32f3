#include "StarterBase.h"

#include "SourceTables.h"

#include "foundations/Collation.h"
#include "foundations/Format.h"
#include "foundations/RecordFile.h"
#include "foundations/DataRoot.h"
#include "foundations/TextFile.h"
#include "knowledge/Rebuild.h"
#include "knowledge/Signatures.h"
#include "knowledge/TextSearch.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

namespace fs = std::filesystem;

namespace athanor::starter {

namespace {

// Field capacities, in characters, as the editors announce them.
constexpr std::size_t kRemedyName = 50, kRemedyPosology = 900, kIndication = 300, kRemedySynthesis = 1500,
                      kRemedyPrimary = 30, kRemedySecondary = 40, kZodiac = 70, kWarnings = 400, kNotes = 750;
constexpr std::size_t kPathology = 100, kTherapyPosology = 250, kTherapyNotes = 300;
constexpr std::size_t kSymptom = 100, kPlantName = 20, kCode = 15, kPlantPrimary = 15, kPlantSynthesis = 100,
                      kAuthors = 100, kPlantNote = 140;
// What follows the product-type prefix: the alias line of ProdotB.txt keeps 30 characters.
constexpr std::size_t kAliasRest = 30;
constexpr std::size_t kPrinciples = kPrincipleRecords * kPrincipleLines, kPrincipleLine = 40;

// Every posology sends the reader back to the practitioner; this word must appear in it.
constexpr std::string_view kPractitioner = "terapeuta";

struct Use {
    std::string symptom;  // key
    char route = 'I';     // I internal, E external, A both
    std::vector<std::string> sources;
};

struct Plant {
    std::string key, name, latin, part, constituents, planet;
    std::vector<std::string> signs;
    bool signsFromSource = false;  // otherwise the planet's domiciles
    std::string source, synthesis, warnings, caution, code;
    std::vector<Use> uses;
};

struct Symptom {
    std::string text, pathology;
};

struct Planet {
    std::vector<std::string> domiciles;
    std::string character;
};

struct Form {
    std::string prefix;
    char route = 'I';
    std::string description, posology, shortPosology, warning;
};

std::vector<std::string> split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find(separator, from);
        std::string part(text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
        const auto first = part.find_first_not_of(' ');
        const auto last = part.find_last_not_of(' ');
        parts.push_back(first == std::string::npos ? std::string() : part.substr(first, last - first + 1));
        if (at == std::string_view::npos) return parts;
        from = at + 1;
    }
}

std::string join(const std::vector<std::string>& parts, std::string_view separator) {
    std::string out;
    for (const auto& p : parts) {
        if (!out.empty()) out += separator;
        out += p;
    }
    return out;
}

void addOnce(std::vector<std::string>& list, const std::string& item) {
    if (std::find(list.begin(), list.end(), item) == list.end()) list.push_back(item);
}

bool routeFits(char formRoute, char useRoute) { return useRoute == 'A' || useRoute == formRoute; }

class Composer {
public:
    explicit Composer(const fs::path& dir) : dir_(dir) {}

    StarterBase compose() {
        readSources();
        readPhrases();
        readPlanets();
        readSymptoms();
        readForms();
        readPlants();
        readUses();
        StarterBase base;
        base.reservedRemedy.name = phrase("registro_reservado");
        composePlantSymptoms(base);
        composeRemedies(base);
        readTexts(base);
        return base;
    }

private:
    SourceTable table(const char* name, std::size_t columns, bool blanksAllowed = false) {
        return readSourceTable(dir_ / name, columns, blanksAllowed);
    }

    static void fits(const std::string& text, std::size_t capacity, const char* what, const SourceTable& t, int line) {
        if (text.size() > capacity)
            tableError(t.file, line,
                       std::string(what) + ": " + std::to_string(text.size()) + " characters where the field holds " +
                           std::to_string(capacity) + ": \"" + text + "\"");
    }

    template <class Map>
    static const typename Map::mapped_type& known(const Map& map, const std::string& key, const char* what,
                                                  const SourceTable& t, int line) {
        const auto it = map.find(key);
        if (it == map.end()) tableError(t.file, line, std::string("unknown ") + what + " \"" + key + "\"");
        return it->second;
    }

    std::string phrase(const std::string& key) const { return phrases_.at(key); }

    // The phrase with each {name} replaced; a mark left over is a fault of the table.
    std::string fill(const std::string& key, const std::vector<std::pair<std::string, std::string>>& values) const {
        const auto it = phrases_.find(key);
        if (it == phrases_.end()) throw TableError("phrases.tsv: the phrase \"" + key + "\" is missing");
        std::string text = it->second;
        for (const auto& [name, value] : values) {
            const std::string mark = "{" + name + "}";
            for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + value.size()))
                text.replace(at, mark.size(), value);
        }
        if (text.find('{') != std::string::npos || text.find('}') != std::string::npos)
            throw TableError("phrases.tsv: \"" + key + "\" has a mark the generator does not fill");
        return text;
    }

    // "Leo"; "Tauro y Libra"; "Géminis, Virgo y Aries".
    std::string spokenList(const std::vector<std::string>& items) const {
        if (items.size() <= 1) return join(items, "");
        std::vector<std::string> head(items.begin(), items.end() - 1);
        return join(head, ", ") + phrase("y") + items.back();
    }

    std::string sourceTexts(const std::vector<std::string>& codes) const {
        std::vector<std::string> texts;
        for (const auto& code : sourceOrder_)
            if (std::find(codes.begin(), codes.end(), code) != codes.end()) texts.push_back(sources_.at(code));
        return join(texts, "; ");
    }

    void readSources() {
        const auto t = table("sources.tsv", 2);
        for (const auto& r : t.rows) {
            if (!sources_.emplace(r.cells[0], r.cells[1]).second) tableError(t.file, r.line, "repeated code");
            sourceOrder_.push_back(r.cells[0]);
        }
    }

    void readPhrases() {
        const auto t = table("phrases.tsv", 2, true);
        for (const auto& r : t.rows)
            if (!phrases_.emplace(r.cells[0], r.cells[1]).second) tableError(t.file, r.line, "repeated key");
    }

    void readPlanets() {
        const auto t = table("planets.tsv", 3);
        for (const auto& r : t.rows) {
            if (std::find(kSignaturePlanets.begin(), kSignaturePlanets.end(), r.cells[0]) == kSignaturePlanets.end())
                tableError(t.file, r.line, "\"" + r.cells[0] + "\" is not a planet of the signature searches");
            Planet p{split(r.cells[1], ','), r.cells[2]};
            for (const auto& sign : p.domiciles) checkSign(sign, t, r.line);
            if (!planets_.emplace(r.cells[0], std::move(p)).second) tableError(t.file, r.line, "repeated planet");
        }
    }

    static void checkSign(const std::string& sign, const SourceTable& t, int line) {
        for (int s = 1; s <= 12; ++s)
            if (sign == signName(s)) return;
        tableError(t.file, line, "\"" + sign + "\" is not a sign of the signature searches");
    }

    void readSymptoms() {
        const auto t = table("symptoms.tsv", 3);
        std::set<std::string> texts;
        for (const auto& r : t.rows) {
            fits(r.cells[1], kSymptom, "the symptom", t, r.line);
            fits(r.cells[2], kPathology, "the pathology", t, r.line);
            if (!texts.insert(r.cells[1]).second) tableError(t.file, r.line, "repeated symptom text");
            if (!symptoms_.emplace(r.cells[0], Symptom{r.cells[1], r.cells[2]}).second)
                tableError(t.file, r.line, "repeated key");
        }
    }

    void readForms() {
        const auto t = table("forms.tsv", 7);
        for (const auto& r : t.rows) {
            const auto& c = r.cells;
            if (c[2] != "I" && c[2] != "E") tableError(t.file, r.line, "the route is I or E");
            Form f{c[1], c[2][0], c[3], c[4], c[5], c[6]};
            checkPosology(f.posology, f.shortPosology, t, r.line);
            if (!forms_.emplace(c[0], std::move(f)).second) tableError(t.file, r.line, "repeated key");
        }
    }

    static void checkPosology(const std::string& posology, const std::string& shortPosology, const SourceTable& t,
                              int line) {
        fits(posology, kRemedyPosology, "the posology", t, line);
        fits(shortPosology, kTherapyPosology, "the short posology", t, line);
        if (posology.find(kPractitioner) == std::string::npos || shortPosology.find(kPractitioner) == std::string::npos)
            tableError(t.file, line, "a posology must send the reader to the practitioner (\"terapeuta\")");
    }

    // HYPPER for Hypericum perforatum, ROSDAM for Rosa x damascena.
    static std::string plantCode(const std::string& latin) {
        const auto words = split(latin, ' ');
        std::string code = words.empty() ? std::string() : words[0].substr(0, 3);
        for (std::size_t i = 1; i < words.size(); ++i)
            if (words[i] != "x") {
                code += words[i].substr(0, 3);
                break;
            }
        return upperCased(code);
    }

    void readPlants() {
        const auto t = table("plants.tsv", 11);
        std::set<std::string> names, codes;
        for (const auto& r : t.rows) {
            const auto& c = r.cells;
            Plant p;
            p.key = c[0];
            p.name = c[1];
            p.latin = c[2];
            p.part = c[3];
            p.constituents = c[4];
            p.planet = c[5];
            const Planet& planet = known(planets_, p.planet, "planet", t, r.line);
            p.signsFromSource = !c[6].empty();
            p.signs = p.signsFromSource ? split(c[6], ',') : planet.domiciles;
            for (const auto& sign : p.signs) checkSign(sign, t, r.line);
            p.source = c[7];
            known(sources_, p.source, "source", t, r.line);
            p.synthesis = c[8];
            p.warnings = c[9];
            p.caution = c[10];
            p.code = plantCode(p.latin);
            fits(p.name, kPlantName, "the plant name", t, r.line);
            fits(p.planet, kPlantPrimary, "the primary signature", t, r.line);
            fits(join(p.signs, "-"), kZodiac, "the zodiacal signature", t, r.line);
            fits(p.synthesis, kPlantSynthesis, "the synthesis", t, r.line);
            fits(plantNote(p), kPlantNote, "the note", t, r.line);
            if (p.code.size() != 6) tableError(t.file, r.line, "the scientific name gives no code");
            if (!names.insert(p.name).second) tableError(t.file, r.line, "repeated plant name");
            if (!codes.insert(p.code).second) tableError(t.file, r.line, "repeated plant code " + p.code);
            if (plants_.count(p.key)) tableError(t.file, r.line, "repeated key");
            plantOrder_.push_back(p.key);
            plants_.emplace(p.key, std::move(p));
        }
    }

    std::string plantNote(const Plant& p) const {
        std::string note = fill("nota_planta", {{"parte", p.part}});
        if (!p.caution.empty()) note += " " + p.caution;
        return note;
    }

    void readUses() {
        const auto t = table("uses.tsv", 4);
        for (const auto& r : t.rows) {
            const auto& c = r.cells;
            auto it = plants_.find(c[0]);
            if (it == plants_.end()) tableError(t.file, r.line, "unknown plant \"" + c[0] + "\"");
            known(symptoms_, c[1], "symptom", t, r.line);
            if (c[2] != "I" && c[2] != "E" && c[2] != "A") tableError(t.file, r.line, "the route is I, E or A");
            Use use{c[1], c[2][0], split(c[3], '+')};
            for (const auto& code : use.sources) known(sources_, code, "source", t, r.line);
            fits(sourceTexts(use.sources), kAuthors, "the authors", t, r.line);
            for (const auto& other : it->second.uses)
                if (other.symptom == use.symptom) tableError(t.file, r.line, "the plant has this symptom already");
            it->second.uses.push_back(std::move(use));
        }
        for (const auto& key : plantOrder_)
            if (plants_.at(key).uses.empty()) throw TableError("uses.tsv: the plant \"" + key + "\" has no use");
    }

    void composePlantSymptoms(StarterBase& base) const {
        for (const auto& key : plantOrder_) {
            const Plant& p = plants_.at(key);
            int n = 0;
            for (const auto& use : p.uses) {
                PlantSymptomRecord r;
                r.symptom = symptoms_.at(use.symptom).text;
                r.plant = p.name;
                r.code = p.code + "-" + zeroPadded(++n, 2);
                r.primarySignature = p.planet;
                r.zodiacSignature = join(p.signs, "-");
                r.synthesis = p.synthesis;
                r.authors = sourceTexts(use.sources);
                r.note = plantNote(p);
                if (r.code.size() > kCode) throw TableError("uses.tsv: too many uses for " + p.name);
                base.plantSymptoms.push_back(std::move(r));
            }
        }
    }

    struct Indication {
        std::string symptom;  // key
        std::vector<std::string> sources;
    };

    void composeRemedies(StarterBase& base) const {
        const auto t = readSourceTable(dir_ / "remedies.tsv", 7);
        std::set<std::string> names;
        std::vector<std::pair<std::string, TherapyRecord>> therapies;  // sort key, record
        for (const auto& row : t.rows) {
            const auto& c = row.cells;
            const std::string& name = c[0];
            const Form& form = known(forms_, c[1], "form", t, row.line);
            const std::string prefix = form.prefix + " ";
            if (!name.starts_with(prefix)) tableError(t.file, row.line, "the name does not begin with " + prefix);
            fits(name, kRemedyName, "the remedy name", t, row.line);
            fits(name.substr(prefix.size()), kAliasRest, "the name after its prefix", t, row.line);
            if (!names.insert(name).second) tableError(t.file, row.line, "repeated remedy");

            std::vector<const Plant*> plants;
            for (const auto& key : split(c[2], '+')) plants.push_back(&known(plants_, key, "plant", t, row.line));

            const std::vector<Indication> indications = indicationsOf(form, plants, c[3], t, row.line);
            if (indications.empty()) tableError(t.file, row.line, "the remedy has no indication");

            const std::string posology = c[4].empty() ? form.posology : c[4];
            const std::string shortPosology = c[5].empty() ? form.shortPosology : c[5];
            checkPosology(posology, shortPosology, t, row.line);

            std::vector<std::string> planetNames, signs, syntheses, warnings, compositions, signatures;
            for (const Plant* p : plants) {
                addOnce(planetNames, p->planet);
                for (const auto& s : p->signs) addOnce(signs, s);
                syntheses.push_back(p->synthesis);
                warnings.push_back(p->warnings);
                compositions.push_back(fill(
                    "composicion_planta",
                    {{"latin", p->latin}, {"nombre", p->name}, {"parte", p->part}, {"componentes", p->constituents}}));
                const std::string signText = p->signsFromSource
                                                 ? fill("signos_fuente", {{"signos", spokenList(p->signs)}})
                                                 : fill("signos_domicilio", {{"signos", spokenList(p->signs)}});
                signatures.push_back(fill("signatura", {{"fuente", sources_.at(p->source)},
                                                        {"nombre", p->name},
                                                        {"planeta", p->planet},
                                                        {"signos", signText}}));
            }
            for (const auto& planet : planetNames) syntheses.push_back(planets_.at(planet).character);
            warnings.push_back(form.warning);

            RemedyRecord r;
            r.name = name;
            r.setPosology(posology);
            r.setSynthesis(join(syntheses, " "));
            r.primarySignature = join(planetNames, "-");
            r.zodiacSignature = join(signs, "-");
            r.setWarnings(c[6].empty() ? join(warnings, " ") : c[6]);
            r.setNotes(fill("composicion", {{"plantas", join(compositions, " ")}}));
            fits(r.synthesisText(), kRemedySynthesis, "the synthesis", t, row.line);
            fits(r.primarySignature, kRemedyPrimary, "the primary signature", t, row.line);
            fits(r.secondarySignature, kRemedySecondary, "the secondary signature", t, row.line);
            fits(r.zodiacSignature, kZodiac, "the zodiacal signature", t, row.line);
            fits(c[6].empty() ? join(warnings, " ") : c[6], kWarnings, "the warnings", t, row.line);
            fits(r.notesText(), kNotes, "the composition", t, row.line);

            std::vector<std::string> pathologies;  // in the order of the indications
            std::map<std::string, std::pair<std::vector<std::string>, std::vector<std::string>>> byPathology;
            for (const auto& ind : indications) {
                const Symptom& s = symptoms_.at(ind.symptom);
                RemedyRecord record = r;
                record.setIndication(s.text);
                const std::string extra = form.description + " " + join(signatures, " ") + " " +
                                          fill("fuentes_indicacion", {{"fuentes", sourceTexts(ind.sources)}});
                fits(extra, kNotes, "the additional notes", t, row.line);
                fits(s.text, kIndication, "the indication", t, row.line);
                record.setExtraNotes(extra);
                base.remedies.push_back(std::move(record));

                addOnce(pathologies, s.pathology);
                auto& [texts, codes] = byPathology[s.pathology];
                texts.push_back(s.text);
                for (const auto& code : ind.sources) addOnce(codes, code);
            }
            for (const auto& pathology : pathologies) {
                const auto& [texts, codes] = byPathology.at(pathology);
                TherapyRecord therapy;
                therapy.pathology = pathology;
                therapy.posology = shortPosology;
                therapy.remedy = name;
                const std::string notes =
                    fill("notas_repertorio", {{"sintomas", join(texts, "; ")}, {"fuentes", sourceTexts(codes)}});
                fits(notes, kTherapyNotes, "the repertory notes", t, row.line);
                therapy.setNotes(notes);
                therapies.emplace_back(collationKey(pathology) + '\0' + collationKey(name), std::move(therapy));
            }
        }
        // The therapies window lists a pathology's remedies in file order: alphabetical.
        std::stable_sort(therapies.begin(), therapies.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto& [key, therapy] : therapies) base.repertory.push_back(std::move(therapy));
    }

    // Given indications must each be a use of one of the plants by the form's route; none
    // given, a single-plant remedy takes every use of its plant by that route.
    std::vector<Indication> indicationsOf(const Form& form, const std::vector<const Plant*>& plants,
                                          const std::string& given, const SourceTable& t, int line) const {
        std::vector<std::string> keys;
        if (given.empty()) {
            if (plants.size() != 1) tableError(t.file, line, "a remedy of several plants names its indications");
            for (const auto& use : plants[0]->uses)
                if (routeFits(form.route, use.route)) keys.push_back(use.symptom);
        } else {
            keys = split(given, ',');
        }
        std::vector<Indication> out;
        for (const auto& key : keys) {
            known(symptoms_, key, "symptom", t, line);
            Indication ind{key, {}};
            for (const Plant* p : plants)
                for (const auto& use : p->uses)
                    if (use.symptom == key && routeFits(form.route, use.route))
                        for (const auto& code : use.sources) addOnce(ind.sources, code);
            if (ind.sources.empty())
                tableError(t.file, line, "no plant of the remedy is used for \"" + key + "\" by its route");
            for (const auto& other : out)
                if (other.symptom == key) tableError(t.file, line, "repeated indication \"" + key + "\"");
            out.push_back(std::move(ind));
        }
        return out;
    }

    void readTexts(StarterBase& base) const {
        base.principles = readSourceText(dir_ / "principles.txt");
        if (base.principles.size() != kPrinciples)
            throw TableError("principles.txt: fifteen principles of five lines each are expected, " +
                             std::to_string(base.principles.size()) + " lines found");
        for (std::size_t i = 0; i < base.principles.size(); ++i)
            if (base.principles[i].empty() || base.principles[i].size() > kPrincipleLine)
                tableError("principles.txt", static_cast<int>(i) + 1, "a line holds 1 to 40 characters");
        base.updateText = readSourceText(dir_ / "update-install.txt");
        base.personalUpdateText = readSourceText(dir_ / "update-personal.txt");
    }

    fs::path dir_;
    std::map<std::string, std::string> sources_, phrases_;
    std::vector<std::string> sourceOrder_;
    std::map<std::string, Planet> planets_;
    std::map<std::string, Symptom> symptoms_;
    std::map<std::string, Form> forms_;
    std::map<std::string, Plant> plants_;
    std::vector<std::string> plantOrder_;
};

template <class R>
void writeRecords(const DataRoot& root, const char* file, const R& zero, const std::vector<R>& records) {
    std::string bytes;
    bytes.reserve((records.size() + 1) * R::kSize);
    const auto add = [&](const R& r) {
        const Bytes b = r.encode();
        bytes.append(b.begin(), b.end());
    };
    add(zero);
    for (const auto& r : records) add(r);
    writeFileAtomically(root.resolveForWriting(file), bytes);
}

}  // namespace

StarterBase buildStarterBase(const fs::path& tablesDir) {
    setCollationLocale("es");
    return Composer(tablesDir).compose();
}

void writePrimaryFiles(const StarterBase& base, const fs::path& out) {
    const DataRoot root(out);
    writeRecords(root, kRemedyDatabaseFile, base.reservedRemedy, base.remedies);
    writeRecords(root, kRepertoryFile, TherapyRecord{}, base.repertory);
    writeRecords(root, kPlantSymptomFile, PlantSymptomRecord{}, base.plantSymptoms);
    writeLines(root.resolveForWriting(kPrinciplesText), base.principles);
    writeLines(root.resolveForWriting(kUpdateTextFile), base.updateText);
    writeLines(root.resolveForWriting(kPersonalUpdateTextFile), base.personalUpdateText);
}

StarterBase generateStarterBase(const fs::path& tablesDir, const fs::path& out) {
    StarterBase base = buildStarterBase(tablesDir);
    writePrimaryFiles(base, out);
    rebuildDerivedFiles(DataRoot(out));
    return base;
}

}  // namespace athanor::starter
