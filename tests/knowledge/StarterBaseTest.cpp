// The starter knowledge base shipped in data/: exactly what tools/gen-knowledge writes,
// as much as its content rules promise, and usable by every window that reads it. Then
// the generator's own rules on a small set of tables.
#include "SourceTables.h"
#include "StarterBase.h"

#include "foundations/Collation.h"
#include "foundations/FolderLock.h"
#include "foundations/Format.h"
#include "foundations/TextFile.h"
#include "interpretation/AnalysisKnowledge.h"
#include "knowledge/KnowledgeStats.h"
#include "knowledge/Signatures.h"
#include "knowledge/TextLists.h"
#include "knowledge/TextSearch.h"
#include "knowledge/UpdateInstall.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>

namespace athanor {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

const fs::path kData = fs::path(ATHANOR_SOURCE_DIR) / "data";
const fs::path kTables = fs::path(ATHANOR_SOURCE_DIR) / "tools" / "gen-knowledge" / "tables";
const DataRoot kInstalled{kData};

class StarterKnowledgeBase : public ::testing::Test {
protected:
    void SetUp() override { setCollationLocale("es"); }
};

std::vector<std::string> parts(const std::string& text, std::string_view separators) {
    std::vector<std::string> out;
    std::string current;
    for (char c : text) {
        if (separators.find(c) != std::string_view::npos) {
            if (!current.empty()) out.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) out.push_back(current);
    return out;
}

std::vector<RemedyRecord> installedRemedies() {
    auto all = readAllRecords<RemedyRecord>(kInstalled.resolve(kRemedyDatabaseFile));
    all.erase(all.begin());  // the reserved record
    return all;
}

std::vector<PlantSymptomRecord> installedPlantSymptoms() {
    auto all = readAllRecords<PlantSymptomRecord>(kInstalled.resolve(kPlantSymptomFile));
    all.erase(all.begin());
    return all;
}

TEST_F(StarterKnowledgeBase, DataIsWhatTheGeneratorWrites) {
    TempDir out;
    starter::generateStarterBase(kTables, out.path());
    std::set<fs::path> written;
    for (const auto& entry : fs::recursive_directory_iterator(out.path())) {
        if (!entry.is_regular_file() || entry.path().filename() == FolderLock::kFileName) continue;
        const fs::path rel = fs::relative(entry.path(), out.path());
        written.insert(rel);
        ASSERT_TRUE(fs::exists(kData / rel)) << rel << " is missing from data/";
        EXPECT_TRUE(TempDir::read(entry.path()) == TempDir::read(kData / rel))
            << rel << " differs from what tools/gen-knowledge writes";
    }
    EXPECT_GE(written.size(), 57u);
    // Nothing in the two folders that the generator would not write.
    for (const char* folder : {"OpzioneH", "OpzioneS"})
        for (const auto& entry : fs::directory_iterator(kData / folder))
            EXPECT_TRUE(written.count(fs::relative(entry.path(), kData))) << entry.path() << " is not generated";
}

TEST_F(StarterKnowledgeBase, HoldsWhatTheContentRulesPromise) {
    const KnowledgeStats stats = knowledgeStats(kInstalled);
    EXPECT_GE(stats.remedies, 120);
    EXPECT_GE(stats.remedyRecords, 600);
    EXPECT_GE(stats.repertoryRecords, 300);
    EXPECT_GE(stats.plantSymptomRecords, 400);
    EXPECT_GE(stats.plants, 100);

    // Every remedy under a product-type prefix the windows recognise, each prefix used;
    // its alias line of ProdotB.txt carries the whole rest of its name.
    const auto names = readLines(kInstalled.resolve(kRemedyListFile));
    const auto aliasFile = readLines(kInstalled.resolve(kRemedyAliasListFile));
    const std::set<std::string> aliases(aliasFile.begin(), aliasFile.end());
    std::map<std::string, int> byPrefix;
    for (const auto& name : names) {
        const std::string prefix = name.substr(0, name.find(' '));
        ASSERT_TRUE(prefix == "TSA" || prefix == "MSA" || prefix == "QSPC") << name;
        ++byPrefix[prefix];
        std::string alias = name.substr(prefix.size() + 1) + " (" + prefix + ")";
        if (prefix == "QSPC") upperCase(alias);
        alias.resize(kAliasWidth, ' ');
        EXPECT_TRUE(aliases.count(alias + name)) << name;
    }
    EXPECT_EQ(byPrefix.size(), 3u);

    // Some remedies compound several plants.
    std::set<std::string> compounds;
    for (const auto& r : installedRemedies()) {
        const std::string notes = r.notesText();
        std::size_t plants = 0;
        for (std::size_t at = notes.find("componentes principales"); at != std::string::npos;
             at = notes.find("componentes principales", at + 1))
            ++plants;
        ASSERT_GE(plants, 1u) << r.name;
        if (plants > 1) compounds.insert(r.name);
    }
    EXPECT_GE(compounds.size(), 5u);
}

TEST_F(StarterKnowledgeBase, EveryRecordCarriesItsCautionsAndNamesARealSource) {
    std::map<std::string, std::set<std::string>> warningsOf;
    for (const auto& r : installedRemedies()) {
        EXPECT_NE(r.posologyText().find("terapeuta"), std::string::npos) << r.name;
        EXPECT_FALSE(r.warningsText().empty()) << r.name;
        EXPECT_FALSE(r.indicationText().empty()) << r.name;
        warningsOf[r.name].insert(r.warningsText());
    }
    // The well-known cautions of the plants that need them.
    const struct {
        const char* remedy;
        std::vector<const char*> mentions;
    } cautions[] = {
        {"TSA Hip\xE9rico", {"medicamentos", "anticonceptivos", "Fotosensibilizante", "embarazo"}},
        {"TSA Ajenjo", {"tuyona", "embarazo", "epilepsia"}},
        {"TSA Ruda", {"abortiva", "embarazo"}},
        {"TSA Tanaceto", {"tuyona", "embarazo"}},
        {"TSA Regaliz", {"tensi\xF3n arterial", "potasio"}},
        {"TSA Consuelda", {"uso externo", "pirrolizid"}},
        {"TSA Ajo", {"anticoagulantes"}},
        {"TSA Sauce blanco", {"salicilatos", "ni\xF1os"}},
        {"TSA Valeriana", {"somnolencia"}},
    };
    for (const auto& c : cautions) {
        ASSERT_EQ(warningsOf[c.remedy].size(), 1u) << c.remedy;
        const std::string& w = *warningsOf[c.remedy].begin();
        for (const char* m : c.mentions) EXPECT_NE(w.find(m), std::string::npos) << c.remedy << ": " << m;
    }

    const std::set<std::string> sources = {"Culpeper, The English Physitian Enlarged (1653)",
                                           "Comisi\xF3n E alemana, monograf\xED"
                                           "as (1978-1994)",
                                           "Uso tradicional"};
    for (const auto& r : installedPlantSymptoms()) {
        std::string authors = r.authors;
        for (std::size_t at; (at = authors.find("; ")) != std::string::npos;) {
            EXPECT_TRUE(sources.count(authors.substr(0, at))) << r.plant << ": " << r.authors;
            authors.erase(0, at + 2);
        }
        EXPECT_TRUE(sources.count(authors)) << r.plant << ": " << r.authors;
    }
}

TEST_F(StarterKnowledgeBase, SignaturesNameOnlyThePlanetsAndSignsTheSearchesKnow) {
    std::set<std::string> planets(kSignaturePlanets.begin(), kSignaturePlanets.end());
    std::set<std::string> signs;
    for (int s = 1; s <= 12; ++s) signs.insert(signName(s));
    const auto check = [&](const std::string& who, const std::string& primary, const std::string& secondary,
                           const std::string& zodiac) {
        EXPECT_FALSE(primary.empty()) << who;
        EXPECT_FALSE(zodiac.empty()) << who;
        for (const auto& p : parts(primary + " " + secondary, "- ")) EXPECT_TRUE(planets.count(p)) << who << ": " << p;
        for (const auto& s : parts(zodiac, "- ")) EXPECT_TRUE(signs.count(s)) << who << ": " << s;
    };
    for (const auto& r : installedRemedies())
        check(r.name, r.primarySignature, r.secondarySignature, r.zodiacSignature);
    for (const auto& r : installedPlantSymptoms())
        check(r.plant, r.primarySignature, r.secondarySignature, r.zodiacSignature);
}

TEST_F(StarterKnowledgeBase, EveryListTheAnalysisWindowCanAskForIsThere) {
    for (const bool plants : {true, false}) {
        std::set<std::string> listed;
        for (int body = 1; body <= 9; ++body) {
            const auto names = linkedNames(kInstalled, plants, body, 0);  // FileError when missing
            // The herbals give no plant to the lunar nodes.
            if (body <= 7) {
                EXPECT_FALSE(names.empty()) << plants << " " << body;
            }
            listed.insert(names.begin(), names.end());
        }
        for (int sign = 1; sign <= 12; ++sign) {
            const auto names = linkedNames(kInstalled, plants, 0, sign);
            EXPECT_FALSE(names.empty()) << plants << " " << signName(sign);
            listed.insert(names.begin(), names.end());
        }
        // Whatever a list offers opens with its symptoms and description.
        for (const auto& name : listed) {
            const auto details = linkedDetails(kInstalled, plants, name);
            EXPECT_FALSE(details.symptoms.empty()) << name;
            EXPECT_FALSE(details.description.empty()) << name;
        }
        if (plants) {
            // And every plant of the base has a place in them.
            const auto all = readAllRecords<PlantNameRecord>(kInstalled.resolve(kPlantNamesFile));
            for (std::size_t k = 1; k < all.size(); ++k) EXPECT_TRUE(listed.count(all[k].text)) << all[k].text;
            EXPECT_GE(listed.size(), 100u);
        }
    }
}

TEST_F(StarterKnowledgeBase, PrinciplesAndUpdateTextsServeTheirWindows) {
    for (const char* file : {kPrinciplesText, starter::kUpdateTextFile, starter::kPersonalUpdateTextFile}) {
        const std::string bytes = TempDir::read(kInstalled.resolve(file));
        ASSERT_TRUE(bytes.ends_with("\r\n")) << file;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const auto c = static_cast<unsigned char>(bytes[i]);
            if (c == '\n') {
                ASSERT_EQ(bytes[i - 1], '\r') << file;
            }
            ASSERT_TRUE(c != 0xC2 && c != 0xC3) << file << ": UTF-8 where Windows-1252 belongs, byte " << i;
        }
    }

    TempDir folder;
    fs::copy_file(kData / "Principi.txt", folder / "Principi.txt");
    fs::create_directories(folder / "Appoggio");
    fs::create_directories(folder / "OpzioneH");
    for (const char* f : {"Aggiorna1.txt", "Aggiorna2.txt"})
        fs::copy_file(kData / "Appoggio" / f, folder / "Appoggio" / f);
    const DataRoot root(folder.path());
    generatePrinciples(root);
    EXPECT_EQ(fs::file_size(folder / "Principi.sto"), kPrincipleRecords * kPrincipleRecordSize);

    const auto installText = updateInformation(root);
    EXPECT_EQ(installText, readLines(kInstalled.resolve(starter::kUpdateTextFile)));
    folder.write("OpzioneH/AutoSet", "");
    EXPECT_EQ(updateInformation(root), readLines(kInstalled.resolve(starter::kPersonalUpdateTextFile)));
    EXPECT_NE(updateInformation(root), installText);
}

// A small set of tables: the shared ones (sources, phrases, planets, forms, texts) as
// shipped, and two plants of our own.
class StarterTables : public ::testing::Test {
protected:
    void SetUp() override {
        setCollationLocale("es");
        for (const char* f : {"sources.tsv", "phrases.tsv", "planets.tsv", "forms.tsv", "principles.txt",
                              "update-install.txt", "update-personal.txt"})
            fs::copy_file(kTables / f, tables_ / f, fs::copy_options::overwrite_existing);
        write("symptoms.tsv", {"clave\ts\xC3\xADntoma\tpatolog\xC3\xAD"
                               "a",
                               "tos\tTos seca\tTos", "herida\tHeridas\tHeridas", "sueno\tInsomnio\tInsomnio"});
        write(
            "plants.tsv",
            {"clave\tnombre\tlat\xC3\xADn\tparte\tcomponentes\tplaneta\tsignos\tfuente\ts\xC3\xADntesis\tadvertencias\taviso",
             "solar\tPlanta Solar\tTestus solaris L.\thojas\ttaninos\tSol\tLeo\tCU\tS\xC3\xADntesis solar.\tAviso solar.\t",
             "venusina\tPlanta Venusina\tTestus venereus L.\tflores\tmuc\xC3\xADlagos\tVenus\t\tCU\tS\xC3\xADntesis venusina.\t"
             "Advertencia venusina.\tBreve."});
        write("uses.tsv",
              {"planta\ts\xC3\xADntoma\tv\xC3\xAD"
               "a\tfuentes",
               "solar\ttos\tI\tCE", "solar\therida\tE\tCU", "venusina\ttos\tA\tUT", "venusina\tsueno\tI\tUT"});
        write("remedies.tsv", {"nombre\tforma\tplantas\tindicaciones\tposolog\xC3\xAD"
                               "a\tpauta breve\tadvertencias",
                               "TSA Planta Solar\tTINT\tsolar\t\t\t\t", "MSA Planta Solar\tOLEO\tsolar\t\t\t\t",
                               "TSA Solar y Venusina\tCOMP\tsolar+venusina\ttos, sueno\t\t\t"});
    }

    void write(const std::string& file, const std::vector<std::string>& lines) const {
        std::ofstream out(tables_ / file, std::ios::binary);
        for (const auto& l : lines) out << l << "\n";
    }
    void append(const std::string& file, const std::string& line) const {
        std::ofstream out(tables_ / file, std::ios::binary | std::ios::app);
        out << line << "\n";
    }
    int lineCount(const std::string& file) const {
        const std::string text = TempDir::read(tables_ / file);
        return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    }

    TempDir dir_;
    fs::path tables_ = dir_.path();
};

TEST_F(StarterTables, SignaturesIndicationsAndRepertoryFollowTheRules) {
    const auto base = starter::buildStarterBase(tables_);

    // A plant keeps the sign its source names; without one it takes its planet's domiciles.
    ASSERT_EQ(base.plantSymptoms.size(), 4u);
    EXPECT_EQ(base.plantSymptoms[0].code, "TESSOL-01");
    EXPECT_EQ(base.plantSymptoms[0].zodiacSignature, "Leo");
    EXPECT_EQ(base.plantSymptoms[1].authors, "Culpeper, The English Physitian Enlarged (1653)");
    EXPECT_EQ(base.plantSymptoms[2].plant, "Planta Venusina");
    EXPECT_EQ(base.plantSymptoms[2].primarySignature, "Venus");
    EXPECT_EQ(base.plantSymptoms[2].zodiacSignature, "Tauro-Libra");
    EXPECT_EQ(base.plantSymptoms[3].note, "Parte usada: flores. Breve.");
    EXPECT_EQ(base.plantSymptoms[0].note, "Parte usada: hojas.");

    // The tincture takes the internal uses, the oil the external ones; a compound joins its
    // plants' signatures in order and cites every source of each indication.
    ASSERT_EQ(base.remedies.size(), 4u);
    EXPECT_EQ(base.remedies[0].name, "TSA Planta Solar");
    EXPECT_EQ(base.remedies[0].indicationText(), "Tos seca");
    EXPECT_EQ(base.remedies[1].name, "MSA Planta Solar");
    EXPECT_EQ(base.remedies[1].indicationText(), "Heridas");
    for (int k : {2, 3}) {
        EXPECT_EQ(base.remedies[k].primarySignature, "Sol-Venus");
        EXPECT_EQ(base.remedies[k].zodiacSignature, "Leo-Tauro-Libra");
        EXPECT_EQ(base.remedies[k].warningsText().find("Aviso solar. Advertencia venusina."), 0u);
    }
    EXPECT_NE(base.remedies[2].extraNotesText().find("Comisi\xF3n E alemana, monograf\xED"
                                                     "as (1978-1994); Uso tradicional."),
              std::string::npos);
    EXPECT_NE(base.remedies[3].extraNotesText().find("Tauro y Libra, domicilios del planeta"), std::string::npos);
    EXPECT_EQ(base.reservedRemedy.name.find("Errore"), 0u);

    // One repertory pairing per remedy and pathology, by pathology and then remedy.
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const auto& t : base.repertory) pairs.emplace_back(t.pathology, t.remedy);
    const std::vector<std::pair<std::string, std::string>> expected = {{"Heridas", "MSA Planta Solar"},
                                                                       {"Insomnio", "TSA Solar y Venusina"},
                                                                       {"Tos", "TSA Planta Solar"},
                                                                       {"Tos", "TSA Solar y Venusina"}};
    EXPECT_EQ(pairs, expected);
    EXPECT_NE(base.repertory[0].posology.find("terapeuta"), std::string::npos);
}

TEST_F(StarterTables, AFaultIsNamedByFileAndLineAndNothingIsWritten) {
    const struct {
        const char* file;
        std::string row;
        const char* says;
    } cases[] = {
        {"plants.tsv", "otra\tOtra\tTestus alius L.\thojas\ttaninos\tPlut\xC3\xB3n\t\tCU\tS.\tA.\t", "unknown planet"},
        {"plants.tsv", "otra\tOtra\tTestus alius L.\thojas\ttaninos\tSol\tOfiuco\tCU\tS.\tA.\t", "not a sign"},
        {"plants.tsv", "otra\tOtra\tTestus alius L.\thojas\ttaninos\tSol\t\tCU\t" + std::string(101, 's') + "\tA.\t",
         "the synthesis"},
        {"plants.tsv", "otra\tUn nombre demasiado largo\tTestus alius L.\thojas\ttaninos\tSol\t\tCU\tS.\tA.\t",
         "the plant name"},
        {"uses.tsv", "solar\tfiebre\tI\tCE", "unknown symptom"},
        {"uses.tsv", "venusina\therida\tE\tXX", "unknown source"},
        {"remedies.tsv", "TSA Mezcla\tCOMP\tsolar+venusina\therida\t\t\t", "no plant of the remedy is used"},
        {"remedies.tsv", "Planta Solar\tTINT\tsolar\t\t\t\t", "does not begin with"},
        {"remedies.tsv", "TSA Otra Solar\tTINT\tsolar\t\tTres gotas.\tTres gotas.\t", "practitioner"},
        {"remedies.tsv", "TSA Mezcla\tCOMP\tsolar+venusina\t\t\t\t", "names its indications"},
        {"symptoms.tsv", "alfa\tTos \xCE\xB1\tTos", "Windows-1252"},
        {"symptoms.tsv", "mal\tSolo dos columnas", "columns"},
    };
    for (const auto& c : cases) {
        SetUp();  // the tables as they were
        append(c.file, c.row);
        const std::string where = std::string(c.file) + ":" + std::to_string(lineCount(c.file)) + ":";
        TempDir out;
        try {
            starter::generateStarterBase(tables_, out.path());
            ADD_FAILURE() << c.file << ": " << c.row << " was accepted";
        } catch (const starter::TableError& e) {
            const std::string what = e.what();
            EXPECT_EQ(what.find(where), 0u) << what;
            EXPECT_NE(what.find(c.says), std::string::npos) << what;
        }
        EXPECT_TRUE(fs::is_empty(out.path())) << c.row;
    }
}

}  // namespace
}  // namespace athanor
