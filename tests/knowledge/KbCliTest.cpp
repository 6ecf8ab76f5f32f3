// athanor-cli kb over a small program folder.
#include "knowledge/CsvExchange.h"
#include "knowledge/Rebuild.h"
#include "KbFixture.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>

namespace athanor {
namespace {

using namespace test;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

CliRun kb(const KbFolder& folder, const std::string& args) {
    TempDir errors;
    const std::string cmd = std::string(ATHANOR_CLI) + " kb " + args + " --data '" + folder.folder().string() +
                            "' 2>'" + (errors.path() / "err").string() + "'";
    CliRun r;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    std::array<char, 4096> buf{};
    while (fgets(buf.data(), buf.size(), p)) r.out += buf.data();
    const int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    r.err = TempDir::read(errors.path() / "err");
    return r;
}

KbFolder base() {
    KbFolder f(
        {remedy("Salvia", "Tos", "J\xFApiter", "Sagitario"), remedy("Salvia", "Fiebre", "J\xFApiter", "Sagitario"),
         remedy("Tilo", "Tos", "Venus", "Libra"), remedy("MSA - Ortica", "Anemia", "Marte", "Aries")},
        {therapy("Gripe", "Salvia", "20 gotas"), therapy("Gripe", "Tilo"), therapy("Tos", "Salvia")},
        {plantSymptom("Ortiga", "Anemia", "Marte", "Aries", "Uso tradicional"),
         plantSymptom("Tilo", "Insomnio", "Venus", "Tauro")});
    RemedyRecord composed = remedy("Compuesto", "Nervios");
    composed.setNotes("Melisa y tilo");
    writeRecords(f.folder() / "OpzioneH" / "DBmain.rnd", [&] {
        auto r = readAllRecords<RemedyRecord>(f.path("OpzioneH\\DBmain.rnd"));
        r.push_back(composed);
        return r;
    }());
    rebuildDerivedFiles(f.root());
    return f;
}

TEST(KbCli, StatsAndSearchesAnswerInJson) {
    const KbFolder f = base();
    std::string aliasOfOrtica = "Ortica (MSA)";
    aliasOfOrtica.resize(70, ' ');
    aliasOfOrtica += "MSA - Ortica";
    struct Case {
        std::string args;
        std::string out;
    } cases[] = {
        {"stats",
         R"({"remedies":4,"remedyRecords":5,"repertoryRecords":3,"pathologies":2,"plantSymptomRecords":2,"plants":2,"symptoms":4})"},
        {"symptom Tos",
         R"({"results":[{"name":"Salvia","planets":"Júpiter ","signs":"Sagitario","posology":""},{"name":"Tilo","planets":"Venus ","signs":"Libra","posology":""}]})"},
        {"remedy '" + aliasOfOrtica + "'",
         R"({"results":[{"name":"MSA - Ortica","planets":"Marte ","signs":"Aries","indication":"Anemia"}]})"},
        {"therapy Gripe", R"({"results":[{"name":"Salvia","posology":"20 gotas"},{"name":"Tilo","posology":""}]})"},
        {"signature --planet jupiter --sign Sagitario",
         R"({"results":[{"name":"Salvia","primarySignature":"Júpiter","secondarySignature":"","zodiacSignature":"Sagitario"}]})"},
        {"weakness --planet Júpiter --sign Géminis", R"({"results":[{"name":"Gripe"},{"name":"Tos"}]})"},
        {"weakness --sign Aries --pathology Gripe",
         R"({"results":[{"name":"Salvia","answers":false},{"name":"Tilo","answers":true}]})"},
        {"multi --symptom Tos --symptom Fiebre",
         R"({"results":[{"name":"Salvia","count":2},{"name":"Tilo","count":1}]})"},
        {"composite --pathology Gripe --pathology Tos",
         R"({"results":[{"name":"Salvia","count":2},{"name":"Tilo","count":1}]})"},
        {"search-text --field plants tilo", R"({"results":[{"name":"Compuesto","text":"Melisa y TILO"}]})"},
        {"plant Ortiga",
         R"({"results":[{"name":"Ortiga","symptom":"Anemia","authors":"Uso tradicional","primarySignature":"Marte","secondarySignature":"","zodiacSignature":"Aries","synthesis":""}]})"},
        {"plant-symptom Insomnio",
         R"({"results":[{"name":"Tilo","synthesis":"","record":2,"primarySignature":"Venus","secondarySignature":"","zodiacSignature":"Tauro","authors":""}]})"},
        {"symptom Nada", R"({"results":[]})"},
    };
    for (const auto& c : cases) {
        const CliRun r = kb(f, c.args);
        EXPECT_EQ(r.status, 0) << c.args << ": " << r.err;
        EXPECT_EQ(r.out, c.out + "\n") << c.args;
    }
    EXPECT_EQ(
        kb(f, "rebuild").out,
        R"({"symptoms":4,"remedies":4,"remedyLines":5,"pathologies":2,"repertoryRemedies":2,"plants":2,"plantSymptoms":2})"
        "\n");
}

TEST(KbCli, BadArgumentsExitWithStatusTwoAndOneLine) {
    const KbFolder f = base();
    for (const char* args :
         {"", "nada", "symptom", "symptom Tos Fiebre", "signature --planet Plut\xC3\xB3n", "signature --sign Ofiuco",
          "multi", "stats --bogus 1", "search-text --field notas x",
          "multi --symptom a --symptom b --symptom c --symptom d --symptom e --symptom f --symptom g "
          "--symptom h --symptom i --symptom j --symptom k --symptom l --symptom m --symptom n "
          "--symptom o --symptom p",
          "export", "weakness --planet Sol --planet Luna", "rebuild extra"}) {
        const CliRun r = kb(f, args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << args << ": " << r.err;
    }
}

TEST(KbCli, ExportImportAndADamagedImport) {
    const KbFolder f = base();
    TempDir once, twice;
    ASSERT_EQ(kb(f, "export --out '" + once.path().string() + "'").status, 0);
    const KbFolder g({});
    const CliRun imported = kb(g, "import --from '" + once.path().string() + "'");
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.out, R"({"remedyRecords":5,"repertoryRecords":3,"plantSymptomRecords":2})"
                            "\n");
    ASSERT_EQ(kb(g, "export --out '" + twice.path().string() + "'").status, 0);
    for (const char* file : {"DBmain.csv", "Repertorio.csv", "DataQvl.csv"})
        EXPECT_EQ(TempDir::read(once.path() / file), TempDir::read(twice.path() / file)) << file;
    EXPECT_EQ(kb(g, "stats").out, kb(f, "stats").out);

    // An unknown sign in row 3: nothing changes, the row and column are named.
    std::string db = TempDir::read(once.path() / "DBmain.csv");
    const auto at = db.find("\"Sagitario\"", db.find("\"Sagitario\"") + 1);
    ASSERT_NE(at, std::string::npos);
    db.replace(at, 11, "\"Sagitaria\"");
    once.write("DBmain.csv", db);
    const auto before = g.snapshot();
    const CliRun r = kb(g, "import --from '" + once.path().string() + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "athanor-cli kb import: DBmain.csv, fila 3, columna 7 (signatura_zodiacal): signo desconocido "
                     "\xC2\xABSagitaria\xC2\xBB\n");
    EXPECT_EQ(g.snapshot(), before);
}

}  // namespace
}  // namespace athanor

namespace athanor {
namespace {

TEST(KbCli, ChartRemediesOfMilan1973) {
    // Milan, 14/05/1973 22:15: Sun in Taurus, Moon in Libra, Mars in Pisces, Jupiter in Aquarius
    // and Saturn in Gemini stand without condition; Mercury and Venus receive each other.
    const KbFolder f(
        {remedy("Romero", "x", "Sol", "Escorpio"), remedy("Ortiga", "Anemia", "Saturno-Marte", "Sagitario-Virgo"),
         remedy("Ruda", "x", "Saturno", "G\xE9minis")},
        {therapy("Gripe", "Ortiga"), therapy("Tos", "Romero")});
    for (const char* folder : {"FilePosi", "Scambi"})
        std::filesystem::create_directory_symlink(std::filesystem::path(ATHANOR_SOURCE_DIR) / "data" / folder,
                                                  f.folder() / folder);
    const CliRun r = kb(f, "chart-remedies --stamp 197305142215-1 --coord 45N28-009E11");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find(R"("weaknesses":[{"planet":"Sol","weakenedSign":"Tauro","searchedSign":"Escorpio")"),
              std::string::npos)
        << r.out;
    for (const char* planet : {"Luna", "Marte", "Júpiter", "Saturno"})
        EXPECT_NE(r.out.find(std::string(R"({"planet":")") + planet), std::string::npos) << planet;
    for (const char* planet : {"Mercurio", "Venus"})
        EXPECT_EQ(r.out.find(std::string(R"({"planet":")") + planet), std::string::npos) << planet;
    // Ortiga answers Mars (Virgo) and Saturn (Sagittarius): first; Ruda's Gemini is the weakened sign.
    const auto results = r.out.substr(r.out.find(R"("results")"));
    EXPECT_EQ(results.find(R"({"name":"Ortiga","answers":[2,4])"), 11u) << results;
    EXPECT_NE(results.find(R"("pathologies":["Gripe"])"), std::string::npos);
    EXPECT_NE(results.find(R"({"name":"Romero","answers":[0])"), std::string::npos);
    EXPECT_EQ(results.find("Ruda"), std::string::npos);

    for (const char* bad :
         {"chart-remedies --coord 45N28-009E11", "chart-remedies --stamp 199002311200-1 --coord 45N28-009E11",
          "chart-remedies --stamp 197305142215-1 --coord 45N28-009E11 --orbs A"}) {
        const CliRun b = kb(f, bad);
        EXPECT_EQ(b.status, 2) << bad;
        EXPECT_EQ(b.err.find('\n'), b.err.size() - 1) << bad << ": " << b.err;
    }
}

}  // namespace
}  // namespace athanor
