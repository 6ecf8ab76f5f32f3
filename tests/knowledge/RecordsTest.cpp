// Record layouts of the knowledge base, multi-part texts and the typed record files.
#include "foundations/FileError.h"
#include "knowledge/KnowledgeRecords.h"
#include "knowledge/RecordScan.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace athanor {
namespace {

using test::TempDir;

std::string fieldAt(const Bytes& b, std::size_t offset, int capacity) { return readField(b.data() + offset, capacity); }

// A text that tells where it came from, so a shifted field is seen at once.
std::string tagged(const std::string& tag, std::size_t length) {
    std::string s;
    while (s.size() < length) s += tag;
    s.resize(length);
    return s;
}

TEST(RemedyRecordLayout, EveryFieldAtItsOffset) {
    RemedyRecord r;
    r.name = "MSA - Ortica (2)";
    r.setPosology(tagged("p", 250) + tagged("q", 250) + tagged("r", 250) + tagged("s", 150));
    r.setIndication(tagged("i", 250) + tagged("j", 50));
    std::string synthesis;
    for (char c : std::string("abcdef")) synthesis += tagged(std::string(1, c), 250);
    r.setSynthesis(synthesis);
    r.primarySignature = "Sol-Luna";
    r.secondarySignature = "Marte";
    r.zodiacSignature = "Aries G\xE9minis";
    r.setWarnings(tagged("w", 250) + tagged("x", 150));
    r.setNotes(tagged("n", 250) + tagged("o", 250) + tagged("m", 100));
    r.setExtraNotes(tagged("E", 10));

    const Bytes b = r.encode();
    ASSERT_EQ(b.size(), 4814u);
    struct Field {
        std::size_t offset;
        int capacity;
        std::string text;
    } fields[] = {
        {0, 50, "MSA - Ortica (2)"},
        {51, 250, tagged("p", 250)},
        {302, 250, tagged("q", 250)},
        {553, 250, tagged("r", 250)},
        {804, 150, tagged("s", 150)},
        {955, 250, tagged("i", 250)},
        {1206, 50, tagged("j", 50)},
        {1257, 250, tagged("a", 250)},
        {1508, 250, tagged("b", 250)},
        {2512, 250, tagged("f", 250)},
        {2763, 30, "Sol-Luna"},
        {2794, 40, "Marte"},
        {2835, 70, "Aries G\xE9minis"},
        {2906, 250, tagged("w", 250)},
        {3157, 150, tagged("x", 150)},
        {3308, 250, tagged("n", 250)},
        {3559, 250, tagged("o", 250)},
        {3810, 250, tagged("m", 100)},
        {4061, 250, tagged("E", 10)},
        {4312, 250, ""},
        {4563, 250, ""},
    };
    for (const auto& f : fields) EXPECT_EQ(fieldAt(b, f.offset, f.capacity), f.text) << "offset " << f.offset;
    EXPECT_EQ(RemedyRecord::decode(b.data()), r);
    EXPECT_EQ(r.notesText().size(), 600u);
}

TEST(OtherRecordLayouts, FieldsAtTheirOffsets) {
    TherapyRecord t;
    t.pathology = "Cefalea";
    t.posology = "20 gotas";
    t.remedy = "TSA - Romero";
    t.setNotes(tagged("n", 260));
    Bytes b = t.encode();
    ASSERT_EQ(b.size(), 1206u);
    EXPECT_EQ(fieldAt(b, 0, 100), "Cefalea");
    EXPECT_EQ(fieldAt(b, 101, 250), "20 gotas");
    EXPECT_EQ(fieldAt(b, 352, 100), "TSA - Romero");
    EXPECT_EQ(fieldAt(b, 453, 250), tagged("n", 250));
    EXPECT_EQ(fieldAt(b, 704, 250), "nnnnnnnnnn");
    EXPECT_EQ(fieldAt(b, 955, 250), "");
    EXPECT_EQ(TherapyRecord::decode(b.data()), t);

    const PlantSymptomRecord p{"Insomnio", "Melisa",           "M12", "Luna", "Venus Mercurio", "C\xE1ncer",
                               "calma",    "Autor A; Autor B", "nota"};
    b = p.encode();
    ASSERT_EQ(b.size(), 599u);
    const std::pair<std::size_t, std::string> plantFields[] = {
        {0, "Insomnio"}, {101, "Melisa"},           {122, "M12"},
        {138, "Luna"},   {154, "Venus Mercurio"},   {185, "C\xE1ncer"},
        {256, "calma"},  {357, "Autor A; Autor B"}, {458, "nota"}};
    for (const auto& [offset, text] : plantFields) EXPECT_EQ(fieldAt(b, offset, 140), text) << offset;
    EXPECT_EQ(PlantSymptomRecord::decode(b.data()), p);

    const CounterRecord c{"QSPC Hiperico", 200};
    b = c.encode();
    ASSERT_EQ(b.size(), 52u);
    EXPECT_EQ(fieldAt(b, 0, 50), "QSPC Hiperico");
    EXPECT_EQ(b[51], 200);
    EXPECT_EQ(CounterRecord::decode(b.data()), c);

    EXPECT_EQ(NameRecord{"Ortica"}.encode().size(), 51u);
    EXPECT_EQ(PlantNameRecord{"Ortica"}.encode().size(), 21u);
    EXPECT_EQ(SymptomNameRecord{"Tos"}.encode().size(), 101u);
}

TEST(MultiPartText, SlicesOf250CutToEachPartsCapacity) {
    struct Case {
        std::size_t length;
        std::size_t part1, part2;
    } cases[] = {{0, 0, 0}, {249, 249, 0}, {250, 250, 0}, {251, 250, 1}, {300, 250, 50}, {320, 250, 50}};
    for (const auto& c : cases) {
        RemedyRecord r;
        r.setIndication(std::string(c.length, 'x'));
        EXPECT_EQ(r.indication[0].size(), c.part1) << c.length;
        EXPECT_EQ(r.indication[1].size(), c.part2) << c.length;
    }
    // A 1600-character synthesis keeps 1500; the posology's last part keeps 751-900.
    RemedyRecord r;
    r.setSynthesis(tagged("0123456789", 1600));
    EXPECT_EQ(r.synthesisText(), tagged("0123456789", 1500));
    r.setPosology(tagged("ab", 1000));
    EXPECT_EQ(r.posology[3], tagged("ab", 1000).substr(750, 150));
    EXPECT_EQ(r.posologyText().size(), 900u);
    // Line breaks are kept inside the text.
    r.setWarnings("uno\r\ndos");
    EXPECT_EQ(RemedyRecord::decode(r.encode().data()).warningsText(), "uno\r\ndos");
}

TEST(MultiPartText, StoredPartsAreJoinedAsTheyAre) {
    // Parts written shorter than their capacity join without filling: the text is the
    // concatenation, not the 250-character slices.
    Bytes b = RemedyRecord{}.encode();
    writeField(b.data() + 955, 250, "Dolor ");
    writeField(b.data() + 1206, 50, "de cabeza");
    EXPECT_EQ(RemedyRecord::decode(b.data()).indicationText(), "Dolor de cabeza");
}

TEST(DamagedRecords, OversizedLengthBytesReadAsTheCapacity) {
    Bytes b = RemedyRecord{}.encode();
    std::fill(b.begin(), b.end(), std::uint8_t{0xFF});
    const RemedyRecord r = RemedyRecord::decode(b.data());
    EXPECT_EQ(r.name.size(), 50u);
    EXPECT_EQ(r.posology[3].size(), 150u);
    EXPECT_EQ(r.indication[1].size(), 50u);
    EXPECT_EQ(r.zodiacSignature.size(), 70u);
    EXPECT_EQ(r.extraNotesText().size(), 750u);

    Bytes c(CounterRecord::kSize, 0xEE);
    EXPECT_EQ(CounterRecord::decode(c.data()).name.size(), 50u);
    EXPECT_EQ(CounterRecord::decode(c.data()).counter, 0xEE);
}

TherapyRecord therapy(const std::string& pathology, const std::string& remedy) {
    TherapyRecord t;
    t.pathology = pathology;
    t.remedy = remedy;
    return t;
}

TEST(KnowledgeFileTest, WriteAppendEraseAndTruncate) {
    TempDir dir;
    const auto path = dir / "Repertorio.rnd";
    {
        KnowledgeFile<TherapyRecord> f(path, RecordFile::Mode::Create);
        for (int k = 0; k <= 10; ++k) f.write(k, therapy(k == 0 ? "" : "P" + std::to_string(k), "R"));
        EXPECT_EQ(f.count(), 11);
        // Deleting record 5 of 10 moves 6..10 to 5..9; record 0 stays.
        f.erase(5);
        ASSERT_EQ(f.count(), 10);
        std::vector<std::string> pathologies;
        for (int k = 0; k < f.count(); ++k) pathologies.push_back(f.read(k).pathology);
        EXPECT_EQ(pathologies, (std::vector<std::string>{"", "P1", "P2", "P3", "P4", "P6", "P7", "P8", "P9", "P10"}));
        EXPECT_EQ(f.findFirst(1, [](const TherapyRecord& t) { return t.pathology == "P8"; }), 7);
        EXPECT_EQ(f.findFirst(8, [](const TherapyRecord& t) { return t.pathology == "P8"; }), std::nullopt);
        EXPECT_EQ(f.append(therapy("P11", "R")), 10);
        f.truncate(3);
        EXPECT_EQ(f.count(), 3);
        EXPECT_THROW(f.read(3), FileError);
        EXPECT_THROW(f.erase(3), FileError);
    }
    EXPECT_EQ(std::filesystem::file_size(path), 3 * TherapyRecord::kSize);
}

TEST(KnowledgeFileTest, DamagedOrMissingFiles) {
    TempDir dir;
    EXPECT_THROW(KnowledgeFile<RemedyRecord>(dir / "DBmain.rnd"), FileError);

    // Two whole records and part of a third: the file was cut or is another one. Neither
    // the reader nor a writer may take it as two records.
    RemedyRecord r;
    r.name = "Uno";
    const Bytes one = r.encode();
    std::string bytes(one.begin(), one.end());
    bytes += bytes;
    const auto path = dir.write("DBmain.rnd", bytes);
    ASSERT_EQ(readAllRecords<RemedyRecord>(path).size(), 2u);
    dir.write("DBmain.rnd", bytes + std::string(2000, '\x7F'));
    for (auto mode : {RecordFile::Mode::Read, RecordFile::Mode::ReadWrite}) {
        try {
            KnowledgeFile<RemedyRecord> f(path, mode);
            ADD_FAILURE() << "a file of two and a half records was opened";
        } catch (const FileError& e) {
            EXPECT_EQ(e.fault(), FileFault::Damaged);
            EXPECT_EQ(e.path(), path);
        }
    }
    EXPECT_THROW(RecordScanner(path, RemedyRecord::kSize), FileError);
    EXPECT_EQ(std::filesystem::file_size(path), 2 * RemedyRecord::kSize + 2000);
}

}  // namespace
}  // namespace athanor
