// "Remedios para el tema": the current subject's weaknesses and the remedies that answer them.
#include "ChartWindowFixture.h"
#include "ui/charts/ChartRemediesWindow.h"

#include <QListWidget>
#include <QTextBrowser>
#include <QTreeWidget>

namespace athanor::test {
namespace {

class ChartRemediesWindowTest : public ChartWindowFixture {
protected:
    // Rome 12/05/1975 08:30: Sun in Taurus, Moon in Gemini and Venus in Cancer without condition,
    // Saturn in exile in Cancer.
    void addRemedies() {
        KnowledgeFile<RemedyRecord> db(folder.root().resolve(kRemedyDatabaseFile), RecordFile::Mode::ReadWrite);
        RemedyRecord cuprum = remedy("Cuprum", "Calambres", "Venus-Saturno", "Capricornio");
        cuprum.setWarnings("No en el embarazo");
        db.append(cuprum);
        db.append(remedy("Plumbum", "Rigidez", "Saturno", "Capricornio"));
        KnowledgeFile<TherapyRecord> rep(folder.root().resolve(kRepertoryFile), RecordFile::Mode::ReadWrite);
        rep.append(TherapyRecord{"Reuma", "", "Plumbum", {}});
    }
    QStringList column(int c) const {
        QStringList out;
        auto* tree = child<QTreeWidget>(&window, "TreeRemedios");
        for (int i = 0; i < tree->topLevelItemCount(); ++i) out << tree->topLevelItem(i)->text(c);
        return out;
    }

    MessageLog messages;
    ChartRemediesWindow window{ws};
};

TEST_F(ChartRemediesWindowTest, WeaknessesThenRemediesRankedWithTheirDetail) {
    addRemedies();
    window.refresh();
    auto* weaknesses = child<QListWidget>(&window, "ListDebilidades");
    ASSERT_EQ(weaknesses->count(), 4);
    EXPECT_EQ(weaknesses->item(3)->text().toStdString(), "Saturno en exilio en C\xC3\xA1ncer");
    EXPECT_EQ(column(0), (QStringList{"Cuprum", "Plumbum"}));
    EXPECT_EQ(column(1), (QStringList{"Venus, Saturno", "Saturno"}));
    const QString detail = child<QTextBrowser>(&window, "MemoRemedio")->toPlainText();
    EXPECT_TRUE(detail.contains("No en el embarazo")) << detail.toStdString();
    child<QTreeWidget>(&window, "TreeRemedios")
        ->setCurrentItem(child<QTreeWidget>(&window, "TreeRemedios")->topLevelItem(1));
    EXPECT_TRUE(child<QTextBrowser>(&window, "MemoRemedio")->toPlainText().contains("Reuma"));

    const auto pdf = folder.dir() / "tema.pdf";
    EXPECT_TRUE(window.printToPdf(QString::fromStdString(pdf.string())));
    EXPECT_GT(std::filesystem::file_size(pdf), 1000u);
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(ChartRemediesWindowTest, NoMatchSaysSoAndAMissingBaseNamesTheFile) {
    window.refresh();
    EXPECT_TRUE(column(0).isEmpty());
    EXPECT_TRUE(
        child<QTextBrowser>(&window, "MemoRemedio")->toPlainText().startsWith(QString::fromUtf8("Ningún remedio")));

    std::filesystem::remove(folder.root().resolve(kRemedyDatabaseFile));
    window.refresh();
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_NE(messages.last().find("DBmain.rnd"), std::string::npos) << messages.last();
    EXPECT_EQ(child<QListWidget>(&window, "ListDebilidades")->count(), 0);
}

}  // namespace
}  // namespace athanor::test
