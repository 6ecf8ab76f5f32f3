// The signature match, the signature search with its work files, and the weakness search.
#include "foundations/Collation.h"
#include "knowledge/Signatures.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace athanor {
namespace {

using test::TempDir;
using Lines = std::vector<std::string>;

RemedyRecord remedy(const std::string& name, const std::string& primary, const std::string& secondary,
                    const std::string& zodiac) {
    RemedyRecord r;
    r.name = name;
    r.primarySignature = primary;
    r.secondarySignature = secondary;
    r.zodiacSignature = zodiac;
    return r;
}

TEST(SignatureMatch, PlanetInEitherPlanetarySignatureAndSignInTheZodiacal) {
    const RemedyRecord r = remedy("Romero", "Sol-Marte", "J\xFApiter", "Aries Leo");
    const RemedyRecord longWord = remedy("Solidago", "Solsticio", "", "Libra");
    const RemedyRecord node = remedy("Nodal", "NodoN.", "NodoSur", "Piscis");
    struct Case {
        const RemedyRecord* r;
        const char* planet;
        const char* sign;
        bool answers;
    } cases[] = {
        {&r, "Sol", "Aries", true},
        {&r, "Marte", "Leo", true},
        {&r, "J\xFApiter", "Cualquier", true},
        {&r, "Cualquier", "Cualquier", true},
        {&r, "Luna", "Aries", false},
        {&r, "Sol", "Tauro", false},
        {&r, "sol", "Aries", false},
        {&r, "Cualquier", "aries", false},
        {&longWord, "Sol", "Libra", true},
        {&node, "NodoNorte", "Cualquier", false},
        {&node, "NodoSur", "Piscis", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(answersSignature(*c.r, c.planet, c.sign), c.answers) << c.r->name << " " << c.planet << " " << c.sign;
}

TEST(SignatureMatch, WeaknessSearchesTheOppositeSign) {
    const std::pair<const char*, const char*> cases[] = {
        {"Libra", "Aries"},         {"Escorpio", "Tauro"}, {"Sagitario", "G\xE9minis"}, {"Capricornio", "C\xE1ncer"},
        {"Acuario", "Leo"},         {"Piscis", "Virgo"},   {"Aries", "Libra"},          {"C\xE1ncer", "Capricornio"},
        {"Cualquier", "Cualquier"}, {"Ofiuco", ""},
    };
    for (const auto& [weakened, searched] : cases) EXPECT_EQ(signSearchedForWeakness(weakened), searched) << weakened;
}

class SignatureSearch : public ::testing::Test {
protected:
    void SetUp() override {
        setCollationLocale("es");
        db = dir / "DBmain.rnd";
        KnowledgeFile<RemedyRecord> f(db, RecordFile::Mode::Create);
        f.append(remedy("Registro 0", "", "", ""));
        for (const auto& r : records) f.append(r);
    }
    TempDir dir;
    std::filesystem::path db;
    std::vector<RemedyRecord> records = {
        remedy("Ortica", "", "", ""),  // first record of Ortica has no signature
        remedy("Ortica", "Marte", "", "Aries"),
        remedy("Romero", "Sol-Marte", "", "Aries Leo"),
        remedy("Errore Romero", "Sol", "", "Aries"),
        remedy("Hip\xE9rico", "Sol", "Mercurio", "Leo"),
    };

    std::vector<RemedyRecord> search(const char* planet, const char* sign) {
        const auto list = remedyNameList(readAllRecords<RemedyRecord>(db));
        writeRemedyNumbers(dir / "Prdts.dum", list);
        KnowledgeFile<RemedyRecord> f(db);
        return signatureSearch(f, list, readRemedyNumbers(dir / "Prdts.dum"), planet, sign);
    }
    static Lines names(const std::vector<RemedyRecord>& found) {
        Lines out;
        for (const auto& r : found) out.push_back(r.name);
        return out;
    }
};

TEST_F(SignatureSearch, EachRemedyJudgedByItsFirstRecord) {
    EXPECT_EQ(names(search("Cualquier", "Cualquier")), (Lines{"Hip\xE9rico", "Ortica", "Registro 0", "Romero"}));
    EXPECT_EQ(names(search("Marte", "Aries")), (Lines{"Romero"}));  // not Ortica: its first record is blank
    EXPECT_EQ(names(search("Sol", "Cualquier")), (Lines{"Hip\xE9rico", "Romero"}));
    EXPECT_EQ(names(search("Mercurio", "Leo")), (Lines{"Hip\xE9rico"}));
    EXPECT_TRUE(search("Saturno", "Cualquier").empty());
}

TEST_F(SignatureSearch, ResultsFileAndPagesOfFourteen) {
    // 30 remedies: pages of 14, 14 and 2.
    std::vector<RemedyRecord> found;
    for (int i = 0; i < 30; ++i) found.push_back(remedy("R" + std::to_string(100 + i) + "  ", "Sol ", "", "Leo"));
    const auto path = dir / "Segnat.dum";
    writeSignatureResults(path, found);
    EXPECT_EQ(signaturePageCount(found.size()), 3);
    EXPECT_EQ(signaturePageCount(14), 1);
    EXPECT_EQ(signaturePageCount(0), 0);
    const auto page1 = readSignaturePage(path, 1);
    const auto page3 = readSignaturePage(path, 3);
    ASSERT_EQ(page1.size(), 14u);
    ASSERT_EQ(readSignaturePage(path, 2).size(), 14u);
    ASSERT_EQ(page3.size(), 2u);
    EXPECT_TRUE(readSignaturePage(path, 4).empty());
    // Full stored texts, trailing blanks kept.
    EXPECT_EQ(page1[0], (SignatureRow{"R100  ", "Sol ", "", "Leo"}));
    EXPECT_EQ(page3[1].name, "R129  ");
}

TEST(WeaknessSearch, PathologiesAndMarkedRemedies) {
    setCollationLocale("es");
    TempDir dir;
    {
        KnowledgeFile<RemedyRecord> db(dir / "DBmain.rnd", RecordFile::Mode::Create);
        db.append(remedy("Registro 0", "", "", ""));
        db.append(remedy("Ortica", "Marte", "", "Aries"));
        db.append(remedy("Romero", "Sol", "", "Leo Aries"));
        db.append(remedy("Salvia", "J\xFApiter", "", "Sagitario"));
        KnowledgeFile<TherapyRecord> rep(dir / "Repertorio.rnd", RecordFile::Mode::Create);
        auto add = [&](const char* pathology, const char* name) {
            TherapyRecord t;
            t.pathology = pathology;
            t.remedy = name;
            rep.append(t);
        };
        add("Anemia", "Ortica");  // record 0 takes part in the pathology search
        add("Anemia", "ORTICA");  // capitals: marked through the upper-cased name
        add("Anemia", "Salvia");
        add("Cefalea", "Romero");
        add("Cefalea", "romero");  // neither exact nor upper-cased: not marked
        add("Digesti\xF3n", "Salvia");
    }
    KnowledgeFile<RemedyRecord> db(dir / "DBmain.rnd");
    KnowledgeFile<TherapyRecord> rep(dir / "Repertorio.rnd");
    // Weakened sign Libra: the remedies of Aries.
    const std::string sign = signSearchedForWeakness("Libra");
    EXPECT_EQ(pathologiesForSignature(db, rep, "Cualquier", sign), (Lines{"Anemia", "Cefalea"}));
    EXPECT_EQ(pathologiesForSignature(db, rep, "Sol", sign), (Lines{"Cefalea"}));
    EXPECT_TRUE(pathologiesForSignature(db, rep, "Saturno", "Cualquier").empty());

    EXPECT_EQ(markedRemediesForPathology(db, rep, "Anemia", "Marte", sign),
              (Lines{">>> ORTICA <<<", "Salvia"}));  // record 0 of the repertory is not listed
    EXPECT_EQ(markedRemediesForPathology(db, rep, "Cefalea", "Cualquier", sign), (Lines{">>> Romero <<<", "romero"}));
    EXPECT_EQ(markedRemediesForPathology(db, rep, "Anemia", "Cualquier", "Sagitario"),
              (Lines{"ORTICA", ">>> Salvia <<<"}));
}

}  // namespace
}  // namespace athanor
