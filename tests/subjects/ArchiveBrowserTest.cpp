#include "subjects/ArchiveBrowser.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace athanor {
namespace {

using test::TempDir;

std::string nameOf(int i) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "NOME%02d", i);
    return buf;
}

// An archive of n subjects NOME01 .. NOMEnn, entry k holding NOMEkk; with n = 0 an
// archive of that name already built is opened as it is.
Archive archiveOf(const TempDir& dir, int n, const char* name = "TEST") {
    DataRoot root(dir.path());
    Archive a(root, name);
    a.create();
    for (int i = 1; i <= n; ++i) a.insertEntry(makeEntryText(nameOf(i), a.appendRecord(BirthRecord::blank())));
    return a;
}

std::vector<std::string> namesShown(const ArchiveBrowser& b) {
    std::vector<std::string> out;
    for (const auto& line : b.lines()) out.push_back(entryName(line));
    return out;
}

std::vector<std::string> names(int from, int to) {
    std::vector<std::string> out;
    for (int i = from; i <= to; ++i) out.push_back(nameOf(i));
    return out;
}

TEST(ArchiveBrowser, ShortListWindowAndStartCentrePerWindow) {
    struct Case {
        const BrowserLayout* layout;
        int n;
        int centre;
        std::vector<std::string> shown;
    } cases[] = {
        {&BrowserLayout::retrieval, 0, 0, {"ARCHIVIO VUOTO"}},
        {&BrowserLayout::retrieval, 3, 0, names(1, 3)},
        {&BrowserLayout::retrieval, 9, 5, names(1, 9)},
        {&BrowserLayout::retrieval, 10, 5, names(1, 9)},  // the tenth subject opens the window
        {&BrowserLayout::retrieval, 30, 5, names(1, 9)},
        {&BrowserLayout::deletion, 9, 1, names(1, 9)},
        {&BrowserLayout::deletion, 10, 5, names(1, 9)},
        {&BrowserLayout::modification, 8, 1, names(1, 8)},
        {&BrowserLayout::modification, 9, 4, names(1, 8)},
        {&BrowserLayout::modification, 30, 4, names(1, 8)},
    };
    for (const auto& c : cases) {
        TempDir dir;
        ArchiveBrowser b(*c.layout);
        ASSERT_TRUE(b.open(archiveOf(dir, c.n)));
        EXPECT_EQ(b.count(), c.n);
        EXPECT_EQ(b.centre(), c.centre) << c.n;
        EXPECT_EQ(c.n == 0 ? b.lines() : namesShown(b), c.shown) << c.layout->lines << " lines, n=" << c.n;
        EXPECT_EQ(b.enabled(), c.n > 0);
    }
}

TEST(ArchiveBrowser, RefusesTheTemporaryArchive) {
    TempDir dir;
    ArchiveBrowser b(BrowserLayout::retrieval);
    EXPECT_FALSE(b.open(archiveOf(dir, 3, "TMPR")));
    EXPECT_FALSE(b.isOpen());
    EXPECT_TRUE(b.lines().empty());
}

TEST(ArchiveBrowser, TypingCentresOnTheNameSearchWithinTheClamp) {
    TempDir dir;
    ArchiveBrowser b(BrowserLayout::retrieval);
    b.open(archiveOf(dir, 30));
    struct Step {
        char key;
        int centre;
        ArchiveBrowser::Colour colour;
    } steps[] = {
        {'n', 5, ArchiveBrowser::Colour::Aqua},  // "N": NOME01 at 1, clamped to 5
        {'o', 5, ArchiveBrowser::Colour::Aqua},
        {'m', 5, ArchiveBrowser::Colour::Aqua},
        {'e', 5, ArchiveBrowser::Colour::Aqua},
        {'1', 10, ArchiveBrowser::Colour::Aqua},  // the search lands on NOME09; NOME10 is the first "NOME1"
        {'5', 15, ArchiveBrowser::Colour::Aqua},  // NOME15 itself
        {'X', 15, ArchiveBrowser::Colour::Red},   // nothing begins "NOME15X"
        {'\b', 15, ArchiveBrowser::Colour::Aqua},
        {'\b', 10, ArchiveBrowser::Colour::Aqua},
        {'\r', 10, ArchiveBrowser::Colour::Aqua},  // Enter is not typed
    };
    for (const auto& s : steps) {
        b.typeKey(s.key);
        EXPECT_EQ(b.centre(), s.centre) << b.prefix();
        EXPECT_EQ(b.fieldColour(), s.colour) << b.prefix();
    }
    EXPECT_EQ(b.prefix(), "NOME1");
    b.typeKey('\b');
    b.typeKey('\b');
    b.typeKey('\b');
    b.typeKey('\b');
    b.typeKey('\b');
    EXPECT_EQ(b.prefix(), "");
    EXPECT_EQ(b.fieldColour(), ArchiveBrowser::Colour::Aqua);

    for (char k : std::string("NOME29")) b.typeKey(k);
    EXPECT_EQ(b.centre(), 25);  // n - 5
    EXPECT_EQ(namesShown(b), names(21, 29));

    b.enterField();
    EXPECT_EQ(b.prefix(), "");
    EXPECT_EQ(b.fieldColour(), ArchiveBrowser::Colour::Red);
}

TEST(ArchiveBrowser, ScrollBarStepsStopAtTheirLimits) {
    struct Case {
        const BrowserLayout* layout;
        int maxByLines, minByLines;
        std::vector<int> pagesDown;  // centres after successive page downs from the start
        int thumbHigh, thumbLow;
    } cases[] = {
        {&BrowserLayout::retrieval, 26, 5, {14, 23, 23}, 25, 5},
        {&BrowserLayout::deletion, 26, 5, {14, 23, 23}, 25, 5},
        {&BrowserLayout::modification, 27, 4, {12, 20, 20}, 26, 4},
    };
    for (const auto& c : cases) {
        TempDir dir;
        ArchiveBrowser b(*c.layout);
        b.open(archiveOf(dir, 30));
        const int start = b.centre();
        for (int i = 0; i < 40; ++i) b.lineDown();
        EXPECT_EQ(b.centre(), c.maxByLines);
        for (int i = 0; i < 40; ++i) b.lineUp();
        EXPECT_EQ(b.centre(), c.minByLines);
        b.thumb(start);
        for (int expected : c.pagesDown) {
            b.pageDown();
            EXPECT_EQ(b.centre(), expected);
        }
        b.pageUp();
        EXPECT_EQ(b.centre(), c.pagesDown[0]);
        b.pageUp();
        EXPECT_EQ(b.centre(), c.pagesDown[0]);  // at pageUpMin the page up stops
        b.thumb(1000);
        EXPECT_EQ(b.centre(), c.thumbHigh);
        b.thumb(-3);
        EXPECT_EQ(b.centre(), c.thumbLow);
    }
}

TEST(ArchiveBrowser, PickingMapsListLinesToEntries) {
    TempDir dir;
    ArchiveBrowser retrieval(BrowserLayout::retrieval);
    retrieval.open(archiveOf(dir, 30, "LONG"));
    retrieval.thumb(12);
    retrieval.clickLine(0);
    EXPECT_EQ(retrieval.picked(), 8);
    EXPECT_EQ(entryName(retrieval.fieldText()), "NOME08");
    EXPECT_EQ(retrieval.fieldColour(), ArchiveBrowser::Colour::Aqua);
    EXPECT_EQ(retrieval.doubleClick().load, 8);
    retrieval.clickLine(8);
    EXPECT_EQ(retrieval.picked(), 16);

    ArchiveBrowser modify(BrowserLayout::modification);
    modify.open(archiveOf(dir, 0, "LONG"));
    modify.thumb(12);
    modify.clickLine(0);
    EXPECT_EQ(modify.picked(), 9);
    // At the last line step the list runs past n: the entry above n is left out.
    for (int i = 0; i < 40; ++i) modify.lineDown();
    EXPECT_EQ(namesShown(modify), names(24, 30));
    modify.clickLine(7);
    EXPECT_EQ(modify.picked(), 9);  // nothing there: the pick stays

    TempDir small;
    ArchiveBrowser shortList(BrowserLayout::deletion);
    shortList.open(archiveOf(small, 6));
    shortList.clickLine(2);
    EXPECT_EQ(shortList.picked(), 3);
    EXPECT_EQ(shortList.positionOfLine(6), 0);

    ArchiveBrowser none(BrowserLayout::retrieval);
    none.open(archiveOf(small, 0));
    EXPECT_EQ(none.doubleClick().load, 0);  // nothing picked
}

TEST(ArchiveBrowser, EnterLoadsOnlyWhatTheTypedTextBegins) {
    TempDir dir;
    ArchiveBrowser b(BrowserLayout::retrieval);
    b.open(archiveOf(dir, 30));
    for (char k : std::string("NOME15")) b.typeKey(k);
    EXPECT_EQ(b.enterInField().load, 15);
    b.typeKey('X');
    ArchiveBrowser::Action a = b.enterInField();
    EXPECT_EQ(a.load, 0);
    EXPECT_EQ(a.message, "Haga doble clic en la lista Nombre");
    b.typeKey('\b');
    b.typeKey('\b');
    EXPECT_EQ(b.enterInField().load, 10);  // "NOME1": the first entry it begins
    EXPECT_EQ(b.pickedLine(), 4);

    // Enter in the list: the selected line must begin with the text of the field.
    a = b.enterInList(6);  // NOME12 under "NOME1"
    EXPECT_EQ(a.load, 12);
    b.setLoaded(true);
    EXPECT_EQ(b.enterInList(6).load, 0);  // nothing once a subject is loaded
    EXPECT_TRUE(b.enterInList(6).message.empty());

    ArchiveBrowser d(BrowserLayout::deletion);
    d.open(archiveOf(dir, 0));
    d.typeKey('X');
    EXPECT_EQ(d.enterInList(0).message, "Haga doble clic en la lista de los Nombres");

    // Down on the last line moves the window and copies the new last line.
    ArchiveBrowser k(BrowserLayout::retrieval);
    k.open(archiveOf(dir, 0));
    k.keyDownOnLastLine();
    EXPECT_EQ(k.centre(), 6);
    EXPECT_EQ(entryName(k.fieldText()), "NOME10");
    k.keyUpOnFirstLine();
    k.keyUpOnFirstLine();
    EXPECT_EQ(k.centre(), 5);
}

TEST(ArchiveBrowser, AfterARemovalTheCentreFollows) {
    struct Case {
        int n, centre;
        int nAfter, centreAfter;
    } cases[] = {{20, 8, 19, 8}, {20, 12, 19, 11}, {10, 5, 9, 1}, {1, 0, 0, 1}};
    for (const auto& c : cases) {
        TempDir dir;
        ArchiveBrowser b(BrowserLayout::deletion);
        b.open(archiveOf(dir, c.n));
        if (c.n >= 10) b.thumb(c.centre);
        b.afterRemoval();
        EXPECT_EQ(b.count(), c.nAfter);
        EXPECT_EQ(b.centre(), c.centreAfter) << c.n << "/" << c.centre;
    }
}

}  // namespace
}  // namespace athanor
