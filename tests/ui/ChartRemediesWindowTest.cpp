// "Remedios para el tema": the current subject's weaknesses and the remedies that answer them.
#include "ChartWindowFixture.h"
#include "ui/charts/ChartRemediesWindow.h"

#include "graphics/ChartViewControls.h"
#include "graphics/EmfPlayer.h"
#include "ui/common/WindowSupport.h"

#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
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
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(ChartRemediesWindowTest, WithoutAPrinterThePageGoesToAPdfInTheDocumentsFolder) {
    if (systemPrinterAvailable()) GTEST_SKIP() << "a system printer would receive the page";
    addRemedies();
    window.refresh();
    const auto pdf = folder.dir() / "tema.pdf";
    QString offered;
    setPdfFileNameHook([&](const QString& suggested) {
        offered = suggested;
        return QString::fromStdString(pdf.string());
    });
    child<QPushButton>(&window, "BBImprimir")->click();
    setPdfFileNameHook(nullptr);
    EXPECT_EQ(offered, QDir(documentsFolder()).filePath(QString::fromUtf8("Remedios para el tema.pdf")));
    const std::string bytes = TempDir::read(pdf);
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].first, MessageKind::Information);
    EXPECT_NE(messages.last().find(pdf.string()), std::string::npos) << messages.last();

    // A folder that cannot be written: the user is told, and no success is claimed.
    messages.clear();
    const auto nowhere = folder.dir() / "no-such-folder" / "tema.pdf";
    setPdfFileNameHook([&](const QString&) { return QString::fromStdString(nowhere.string()); });
    child<QPushButton>(&window, "BBImprimir")->click();
    setPdfFileNameHook(nullptr);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_NE(messages.messages[0].first, MessageKind::Information) << messages.last();
}

TEST_F(ChartRemediesWindowTest, TheSheetsAreExportedAsMetafilesInTheEmfFolder) {
    addRemedies();
    window.refresh();
    auto* name = child<QComboBox>(&window, "ComboEMF");
    name->setCurrentText("GRAF04.wmf");
    child<QPushButton>(&window, "BBEMFout")->click();
    ASSERT_EQ(messages.texts(), std::vector<std::string>{"El archivo debe ser .EMF"});
    EXPECT_FALSE(folder.root().exists("Emf\\GRAF04.wmf"));

    messages.clear();
    name->setCurrentText("GRAF04.EMF");
    child<QPushButton>(&window, "BBEMFout")->click();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].first, MessageKind::Information) << messages.last();
    const auto file = folder.root().resolve("Emf\\GRAF04.EMF");
    EXPECT_NE(messages.last().find(file.string()), std::string::npos) << messages.last();
    EXPECT_NO_THROW(EmfPicture::load(file));
    EXPECT_FALSE(folder.root().exists("Emf\\GRAF04-2.EMF"));  // one sheet
    EXPECT_EQ(readGraphType(folder.root(), "GRAF04.EMF"), 'P');
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
    // Nothing read, nothing to print: an empty page would say the chart has no weakness.
    EXPECT_FALSE(child<QPushButton>(&window, "BBImprimir")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(&window, "BBEMFout")->isEnabled());
}

}  // namespace
}  // namespace athanor::test
