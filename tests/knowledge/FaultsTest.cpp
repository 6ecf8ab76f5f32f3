// A write or a rename that fails at any step of a re-ordering, a delete, a save, an
// update or an import leaves a complete base: the old files, byte for byte.
#include "foundations/FileError.h"
#include "knowledge/CsvExchange.h"
#include "knowledge/Editors.h"
#include "knowledge/FileReplacement.h"
#include "knowledge/Rebuild.h"
#include "knowledge/UpdateInstall.h"
#include "KbFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

namespace athanor {
namespace {

using namespace test;
using Snapshot = std::vector<std::pair<std::string, std::string>>;

KbFolder tenRemedies() {
    std::vector<RemedyRecord> r;
    for (int i = 1; i <= 10; ++i)
        r.push_back(remedy("Remedio " + std::to_string(i), "Indicaci\xF3n " + std::to_string(i)));
    return KbFolder(r, {therapy("Gripe", "Remedio 1"), therapy("Tos", "Remedio 2")});
}

const char* stepName(FileStep s) {
    switch (s) {
    case FileStep::Create:
        return "create";
    case FileStep::Write:
        return "write";
    case FileStep::Sync:
        return "sync";
    case FileStep::Rename:
        return "rename";
    }
    return "?";
}

// Runs `op` once for every step, failing there; after each failure `check` sees the
// folder. Each step fails at its first, second, middle and last occurrence (all of them
// when there are few), as a dry run counts them. Returns how many faults were injected.
int failAtEveryStep(const std::function<KbFolder()>& make, const std::function<void(const KbFolder&)>& op,
                    const std::function<void(const KbFolder&, const Snapshot&, const std::string&)>& check) {
    std::map<FileStep, int> occurrences;
    {
        const KbFolder kb = make();
        ScopedFileStepHook count([&](FileStep s, const std::filesystem::path&) { ++occurrences[s]; });
        op(kb);
    }
    int injected = 0;
    for (FileStep step : {FileStep::Create, FileStep::Write, FileStep::Sync, FileStep::Rename}) {
        const int total = occurrences[step];
        EXPECT_GT(total, 0) << stepName(step);
        std::set<int> at;
        for (int n : {1, 2, 3, total / 2, total - 1, total})
            if (n >= 1 && n <= total) at.insert(n);
        for (int n : at) {
            const KbFolder kb = make();
            const Snapshot before = kb.snapshot();
            int calls = 0;
            {
                ScopedFileStepHook hook([&](FileStep s, const std::filesystem::path& p) {
                    if (s == step && ++calls == n) throw FileError(p, "fallo provocado");
                });
                EXPECT_THROW(op(kb), FileError) << stepName(step) << " #" << n;
            }
            ++injected;
            check(kb, before, std::string(stepName(step)) + " #" + std::to_string(n));
        }
    }
    return injected;
}

void expectUnchanged(const KbFolder& kb, const Snapshot& before, const std::string& where) {
    EXPECT_EQ(kb.snapshot(), before) << "fault at " << where;
}

TEST(Faults, ReorderingDeleteAndSaveLeaveTheOldBase) {
    struct Op {
        const char* name;
        std::function<void(const KbFolder&)> run;
    } ops[] = {
        {"re-ordering",
         [](const KbFolder& kb) {
             auto entries = reorderingList(kb.root(), EditorKind::Remedies);
             std::reverse(entries.begin(), entries.end());
             commitReordering(kb.root(), EditorKind::Remedies, entries);
         }},
        {"delete", [](const KbFolder& kb) { deleteRecord(kb.root(), EditorKind::Remedies, 5); }},
        {"repertory delete", [](const KbFolder& kb) { deleteRecord(kb.root(), EditorKind::Repertory, 1); }},
        {"save", [](const KbFolder& kb) { saveRecord(kb.root(), 3, remedy("Nuevo", "Otra")); }},
        {"save as new", [](const KbFolder& kb) { saveRecordAsNew(kb.root(), remedy("Nuevo", "Otra")); }},
    };
    for (const auto& op : ops) {
        SCOPED_TRACE(op.name);
        const int injected = failAtEveryStep(tenRemedies, op.run, expectUnchanged);
        EXPECT_GE(injected, 4);
        // Without a fault the operation does change the base.
        const KbFolder kb = tenRemedies();
        const Snapshot before = kb.snapshot();
        op.run(kb);
        EXPECT_NE(kb.snapshot(), before);
    }
}

TEST(Faults, ARebuildThatFailsBeforeItsRenamesLeavesEveryListAsItWas) {
    auto make = [] {
        KbFolder kb = tenRemedies();
        rebuildDerivedFiles(kb.root());
        saveRecordAsNew(kb.root(), remedy("Nuevo", "Otra indicaci\xF3n", "Sol", "Leo"));  // the lists are now stale
        return kb;
    };
    const int injected = failAtEveryStep(
        make, [](const KbFolder& kb) { rebuildDerivedFiles(kb.root()); },
        [](const KbFolder& kb, const Snapshot& before, const std::string& where) {
            const Snapshot after = kb.snapshot();
            for (const auto& [name, bytes] : after)
                EXPECT_EQ(name.find(".new-"), std::string::npos) << where << ": " << name;
            if (!where.starts_with("rename") || where == "rename #1") {
                EXPECT_EQ(after, before) << where;
            }
        });
    EXPECT_EQ(injected, 4 * 6);
}

// An update folder with the same files changed and one file more.
void writeUpdate(const std::filesystem::path& source) {
    std::vector<RemedyRecord> r(1);
    r.push_back(remedy("Actualizado", "Nueva indicaci\xF3n"));
    writeRecords(source / "OpzioneH" / "DBmain.rnd", r);
    writeRecords(source / "OpzioneH" / "Repertorio.rnd", std::vector<TherapyRecord>(3));
    std::ofstream(source / "OpzioneH" / "Sintomi.txt", std::ios::binary) << "Nueva indicaci\xF3n\r\n";
}

TEST(Faults, AnUpdateThatFailsBeforeItsRenamesChangesNothingAndAfterLeavesWholeFiles) {
    TempDir source;
    writeUpdate(source.path());
    const auto newBytes = [&](const std::string& name) { return TempDir::read(source.path() / "OpzioneH" / name); };

    const int injected = failAtEveryStep(
        tenRemedies, [&](const KbFolder& kb) { installUpdate(kb.root(), source.path()); },
        [&](const KbFolder& kb, const Snapshot& before, const std::string& where) {
            // The renames come last, one file after the other: up to the first rename
            // nothing has changed; after it every file is whole, the old one or the new one.
            const Snapshot after = kb.snapshot();
            for (const auto& [name, bytes] : after) {
                EXPECT_EQ(name.find(".new-"), std::string::npos) << where << ": " << name;
                const auto old =
                    std::find_if(before.begin(), before.end(), [&](const auto& f) { return f.first == name; });
                const std::string file = std::filesystem::path(name).filename().string();
                const bool isOld = old != before.end() && old->second == bytes;
                const bool isNew = name.starts_with("OpzioneH") &&
                                   std::filesystem::exists(source.path() / "OpzioneH" / file) &&
                                   newBytes(file) == bytes;
                EXPECT_TRUE(isOld || isNew) << where << ": " << name;
            }
            if (where.starts_with("create") || where.starts_with("write") || where.starts_with("sync") ||
                where == "rename #1") {
                EXPECT_EQ(after, before) << where;
            }
        });
    EXPECT_EQ(injected, 4 * 3);

    const KbFolder kb = tenRemedies();
    const InstallReport report = installUpdate(kb.root(), source.path());
    EXPECT_EQ(report.files, (std::vector<std::string>{"DBmain.rnd", "Repertorio.rnd", "Sintomi.txt"}));
    EXPECT_EQ(TempDir::read(kb.path("OpzioneH\\DBmain.rnd")), newBytes("DBmain.rnd"));
}

TEST(Faults, AnImportThatFailsLeavesEveryRecordFileWhole) {
    const KbFolder exported = tenRemedies();
    TempDir csv;
    exportKnowledgeCsv(exported.root(), csv.path());
    // A base different from the CSV, so that an import changes it.
    auto make = [] {
        return KbFolder({remedy("Otro", "Nada")}, {therapy("Fiebre", "Otro")}, {plantSymptom("Tilo", "Nervios")});
    };
    const KbFolder reference = make();
    importKnowledgeCsv(reference.root(), csv.path());
    const Snapshot imported = reference.snapshot();
    auto bytesIn = [](const Snapshot& s, const std::string& name) {
        const auto it = std::find_if(s.begin(), s.end(), [&](const auto& f) { return f.first == name; });
        return it == s.end() ? std::string("(none)") : it->second;
    };

    const int injected = failAtEveryStep(
        make, [&](const KbFolder& kb) { importKnowledgeCsv(kb.root(), csv.path()); },
        [&](const KbFolder& kb, const Snapshot& before, const std::string& where) {
            const Snapshot after = kb.snapshot();
            for (const auto& [name, bytes] : after)
                EXPECT_EQ(name.find(".new-"), std::string::npos) << where << ": " << name;
            // The three record files are complete on disk before the first is renamed.
            for (const char* file : {"OpzioneH/DBmain.rnd", "OpzioneH/Repertorio.rnd", "OpzioneS/DataQvl.rnd"}) {
                const std::string now = bytesIn(after, file);
                EXPECT_TRUE(now == bytesIn(before, file) || now == bytesIn(imported, file)) << where << ": " << file;
            }
            for (const char* early : {"create #1", "create #2", "create #3", "write #1", "write #2", "write #3",
                                      "sync #1", "sync #2", "sync #3", "rename #1"})
                if (where == early) {
                    EXPECT_EQ(after, before) << where;
                }
        });
    EXPECT_GT(injected, 12);
}

}  // namespace
}  // namespace athanor
