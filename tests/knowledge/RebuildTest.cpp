// The rebuild of every derived file from the three record files.
#include "foundations/FileError.h"
#include "foundations/TextFile.h"
#include "knowledge/Rebuild.h"
#include "knowledge/TextLists.h"
#include "KbFixture.h"

#include <gtest/gtest.h>

namespace athanor {
namespace {

using namespace test;
using Lines = std::vector<std::string>;

template <class R>
Lines namesIn(const std::filesystem::path& file) {
    Lines out;
    for (const auto& r : readAllRecords<R>(file)) out.push_back(r.text);
    return out;
}

std::string padded(std::string s) {
    s.resize(70, ' ');
    return s;
}

KbFolder starter() {
    return KbFolder(
        {
            remedy("Ortica", "Tos,", "Sol-Luna", "Aries Leo"),
            remedy("Salvia", "Tos", "Luna", "Tauro"),
            remedy("Arnica", "Golpes", "Marte", "Aries"),
            remedy("MSA - Ortica", "Anemia", "NodoNorte", "Sagitario"),
            remedy("Ortica", "Anemia", "Sol", "Aries"),
            remedy("Melisa", "Insomnio", "Luna", "C\xE1ncer", "Sol"),  // Sol only secondary
            remedy("sin indicaci\xF3n", "", "", ""),
        },
        {
            therapy("Gripe", "Salvia"),
            therapy("Anemia", "Ortica"),
            therapy("Gripe", "Ortica"),
            therapy("anemia", "Ortica"),
        },
        {
            plantSymptom("Ortiga  ", "Anemia", "Marte", "Aries"),
            plantSymptom("Abedul", "Reuma", "Venus", "Tauro"),
            plantSymptom("", "Fiebre"),
            plantSymptom("Ortiga", "Alergia", "Marte-Sol", "Escorpio"),
        });
}

TEST(Rebuild, EveryDerivedListFromTheRecordFiles) {
    const KbFolder kb = starter();
    Lines told;
    const RebuildSummary s = rebuildDerivedFiles(kb.root(), [&](std::string_view f) { told.emplace_back(f); });

    // Symptoms: trailing commas trimmed, so "Tos," and "Tos" are one; the first entry of
    // the sorted list is written like every other one; an empty indication is none.
    EXPECT_EQ(readLines(kb.path("OpzioneH\\Sintomi.txt")), (Lines{"Anemia", "Golpes", "Insomnio", "Tos"}));
    EXPECT_EQ(readLines(kb.path("OpzioneH\\ProdotA.txt")),
              (Lines{"Arnica", "Melisa", "MSA - Ortica", "Ortica", "Salvia", "sin indicaci\xF3n"}));
    EXPECT_EQ(readLines(kb.path("OpzioneH\\ProdotB.txt")),
              (Lines{"Arnica", "Melisa", "MSA - Ortica", "Ortica", padded("Ortica (MSA)") + "MSA - Ortica", "Salvia",
                     "sin indicaci\xF3n"}));
    EXPECT_EQ(s.symptoms, 4u);
    EXPECT_EQ(s.remedies, 6u);
    EXPECT_EQ(s.remedyLines, 7u);

    // Signature lists: the primary signature for planets (never the secondary), the
    // zodiacal one for signs, each name once, from record 0.
    EXPECT_EQ(namesIn<NameRecord>(kb.path("OpzioneH\\SolePri.rnd")), (Lines{"Ortica"}));
    EXPECT_EQ(namesIn<NameRecord>(kb.path("OpzioneH\\LunaPri.rnd")), (Lines{"Melisa", "Ortica", "Salvia"}));
    EXPECT_EQ(namesIn<NameRecord>(kb.path("OpzioneH\\NodNPri.rnd")), (Lines{"MSA - Ortica"}));
    EXPECT_EQ(namesIn<NameRecord>(kb.path("OpzioneH\\Aries.rnd")), (Lines{"Arnica", "Ortica"}));
    EXPECT_EQ(namesIn<NameRecord>(kb.path("OpzioneH\\C\xE1ncer.rnd")), (Lines{"Melisa"}));
    EXPECT_EQ(std::filesystem::file_size(kb.path("OpzioneH\\Piscis.rnd")), 0u);

    // Repertory: pathologies sorted without repetitions (case variants stay apart), its
    // remedies with their zeroed counters.
    EXPECT_EQ(readLines(kb.path("OpzioneH\\Patolog.txt")), (Lines{"Anemia", "anemia", "Gripe"}));
    EXPECT_EQ(readLines(kb.path("OpzioneH\\ProdotR.txt")), (Lines{"Ortica", "Salvia"}));
    EXPECT_EQ(readAllRecords<CounterRecord>(kb.path("OpzioneH\\TerCom.Rnd")),
              (std::vector<CounterRecord>{{"Ortica", 0}, {"Salvia", 0}}));
    EXPECT_EQ(readAllRecords<CounterRecord>(kb.path("OpzioneH\\RicCom.Rnd")).size(), 6u);

    // Plants: trimmed, empty ones left out, record 0 blank in the name files.
    EXPECT_EQ(namesIn<PlantNameRecord>(kb.path("OpzioneS\\Piante.rnd")), (Lines{"", "Abedul", "Ortiga"}));
    EXPECT_EQ(namesIn<SymptomNameRecord>(kb.path("OpzioneS\\Sintomi.rnd")),
              (Lines{"", "Alergia", "Anemia", "Fiebre", "Reuma"}));
    EXPECT_EQ(namesIn<PlantNameRecord>(kb.path("OpzioneS\\MartPri.rnd")), (Lines{"Ortiga"}));
    EXPECT_EQ(namesIn<PlantNameRecord>(kb.path("OpzioneS\\SolePri.rnd")), (Lines{"Ortiga"}));
    EXPECT_EQ(namesIn<PlantNameRecord>(kb.path("OpzioneS\\Tauro.rnd")), (Lines{"Abedul"}));
    EXPECT_EQ(s.plants, 2u);
    EXPECT_EQ(s.plantSymptoms, 4u);

    // 3 lists, RicCom and 21 signature lists; 3 repertory files; 2 + 21 plant files.
    EXPECT_EQ(told.size(), 4u + 21u + 3u + 2u + 21u);
    // Nothing but the files themselves is left behind.
    for (const auto& [name, bytes] : kb.snapshot()) EXPECT_EQ(name.find(".new-"), std::string::npos) << name;
}

TEST(Rebuild, AMissingRecordFileStopsItBeforeAnythingIsWritten) {
    for (const char* missing : {"OpzioneH/DBmain.rnd", "OpzioneH/Repertorio.rnd", "OpzioneS/DataQvl.rnd"}) {
        const KbFolder kb = starter();
        std::filesystem::remove(kb.folder() / missing);
        const auto before = kb.snapshot();
        EXPECT_THROW(rebuildDerivedFiles(kb.root()), FileError) << missing;
        EXPECT_EQ(kb.snapshot(), before) << missing;
    }
}

TEST(Rebuild, AnEmptyBaseGivesEmptyLists) {
    const KbFolder kb({});
    const RebuildSummary s = rebuildDerivedFiles(kb.root());
    EXPECT_EQ(s.symptoms + s.remedies + s.pathologies + s.plants, 0u);
    EXPECT_TRUE(readLines(kb.path("OpzioneH\\Sintomi.txt")).empty());
    EXPECT_EQ(namesIn<PlantNameRecord>(kb.path("OpzioneS\\Piante.rnd")), (Lines{""}));
}

}  // namespace
}  // namespace athanor
