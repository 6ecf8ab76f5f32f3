#include "subjects/LocalityBrowser.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace athanor;
using athanor::test::TempDir;
using Move = LocalityBrowser::Move;

namespace {

std::string listBytes(const std::vector<std::string>& names, const std::string& country) {
    std::string bytes(kLocalityRecordSize, '\0');
    for (const auto& n : names) {
        const Bytes r = encodeLocality(LocalityRecord{n, 41.9L, 12.5L, 100000001, country});
        bytes.append(r.begin(), r.end());
    }
    return bytes;
}

// Twenty sorted Italian names and a few foreign ones, in a program folder.
struct Lists {
    TempDir dir;
    Lists() {
        dir.write("Localita/ITALIA.LOC",
                  listBytes({"ALBA",  "ASTI",   "BARI",   "BIELLA",           "COMO",   "CREMONA", "ENNA",
                             "FERMO", "GENOVA", "LECCE",  "MILANO",           "NAPOLI", "PADOVA",  "PAVIA",
                             "ROMA",  "SIENA",  "TORINO", "TORINO DI SANGRO", "UDINE",  "VERONA"},
                            "ITALIA"));
        dir.write("Localita/ESTERO.LOC", listBytes({"Lyon", "Madrid", "Marseille", "Nice", "Paris", "Parma", "Porto",
                                                    "Quito", "Rabat", "Sevilla"},
                                                   "X"));
    }
    DataRoot root() const { return DataRoot(dir.path()); }
};

}  // namespace

TEST(LocalityBrowserTest, MovementsAndTheirLimits) {
    struct Case {
        std::int64_t from;
        Move move;
        std::int64_t position;
        std::int64_t to;
    };
    // N = 100.
    const Case cases[] = {
        {50, Move::LineDown, 0, 51},
        {96, Move::LineDown, 0, 97},
        {97, Move::LineDown, 0, 97},
        {5, Move::LineUp, 0, 4},
        {4, Move::LineUp, 0, 4},
        {88, Move::PageDown, 0, 95},
        {89, Move::PageDown, 0, 89},
        {13, Move::PageUp, 0, 6},
        {12, Move::PageUp, 0, 12},
        {50, Move::Thumb, 0, 4},
        {50, Move::Thumb, 70, 70},
        {50, Move::Thumb, 200, 96},
        {96, Move::KeyDownOnLastLine, 0, 97},
        {97, Move::KeyDownOnLastLine, 0, 97},
        {5, Move::KeyUpOnFirstLine, 0, 4},
        {4, Move::KeyUpOnFirstLine, 0, 4},
        {50, Move::PageDownOnLastLine, 0, 56},
        {93, Move::PageDownOnLastLine, 0, 97},
        {94, Move::PageDownOnLastLine, 0, 94},
        {50, Move::PageUpOnFirstLine, 0, 44},
        {7, Move::PageUpOnFirstLine, 0, 4},
        {4, Move::PageUpOnFirstLine, 0, 4},
    };
    for (const auto& c : cases) {
        LocalityBrowser b(100);
        b.move(Move::Thumb, c.from);  // the thumb reaches N-4, the line moves one more
        if (c.from == 97) b.move(Move::LineDown);
        ASSERT_EQ(b.centre(), c.from);
        EXPECT_EQ(b.move(c.move, c.position), c.to != c.from);
        EXPECT_EQ(b.centre(), c.to) << "from " << c.from << " move " << static_cast<int>(c.move);
    }
}

TEST(LocalityBrowserTest, SearchResultsAreClampedAndShortListsKeepTheStart) {
    LocalityBrowser b(100);
    b.centreOn(1);
    EXPECT_EQ(b.centre(), 4);
    b.centreOn(99);
    EXPECT_EQ(b.centre(), 96);
    EXPECT_EQ(b.recordOfLine(0), 93);
    EXPECT_EQ(b.recordOfLine(6), 99);
    b.reset();
    EXPECT_EQ(b.centre(), 4);

    LocalityBrowser shortList(5);
    shortList.centreOn(5);
    EXPECT_EQ(shortList.centre(), 4);
    EXPECT_FALSE(shortList.move(Move::LineDown));
    EXPECT_FALSE(shortList.move(Move::PageDownOnLastLine));
    EXPECT_EQ(shortList.scrollMaximum(), 5);
}

TEST(LocalityPickerTest, TypingSearchesAndUpperCasesAsEachListWants) {
    Lists lists;
    LocalityPicker picker(lists.root(), LocalityListKind::Italian);
    EXPECT_EQ(picker.browser().centre(), 4);
    for (char c : std::string("pav")) picker.typeKey(c);
    EXPECT_EQ(picker.prefix(), "PAV");
    EXPECT_EQ(picker.browser().centre(), 13);  // PADOVA: the last name below "PAV!!!"
    picker.typeKey('i');
    picker.typeKey('a');
    EXPECT_EQ(picker.browser().centre(), 14);  // PAVIA
    EXPECT_EQ(picker.lines()[3], "PAVIA \x97 ITALIA");
    picker.typeKey('\b');
    EXPECT_EQ(picker.prefix(), "PAVI");
    picker.clickField();
    EXPECT_EQ(picker.prefix(), "");
    EXPECT_EQ(picker.browser().centre(), 4);

    picker.switchTo(LocalityListKind::Foreign);
    EXPECT_FALSE(picker.list().italian());
    EXPECT_EQ(picker.list().count(), 10);
    for (char c : std::string("paris")) picker.typeKey(c);
    EXPECT_EQ(picker.prefix(), "Paris");  // only the first character is upper-cased
    EXPECT_EQ(picker.browser().centre(), 5);
    picker.typeKey('\b');
    EXPECT_EQ(picker.browser().centre(), 4);  // "Pari" lands on Nice
    // Removing the last character leaves the window where it was.
    picker.clickField();
    picker.typeKey('s');
    EXPECT_EQ(picker.browser().centre(), 6);  // Rabat, clamped to N-4
    picker.typeKey('\b');
    EXPECT_EQ(picker.prefix(), "");
    EXPECT_EQ(picker.browser().centre(), 6);
}

TEST(LocalityPickerTest, EnterChoosesTheSelectedPlaceTheFirstThatStartsWithTheText) {
    Lists lists;
    LocalityPicker picker(lists.root(), LocalityListKind::Italian);
    for (char c : std::string("ROMA")) picker.typeKey(c);
    EXPECT_EQ(picker.enter(false).outcome, LocalityPicker::EnterOutcome::MissingDates);
    const auto chosen = picker.enter(true);
    EXPECT_EQ(chosen.outcome, LocalityPicker::EnterOutcome::Chosen);
    EXPECT_EQ(chosen.record, 15);
    EXPECT_EQ(picker.list().record(chosen.record).name, "ROMA");

    // "ROM" lands on PAVIA, the name before, but ROMA is what the list shows selected.
    picker.clickField();
    for (char c : std::string("ROM")) picker.typeKey(c);
    EXPECT_EQ(picker.selectedLine(), 4);
    EXPECT_EQ(picker.enter(true).record, 15);
    picker.selectLine(0);  // the arrow keys or a click move the selection
    EXPECT_EQ(picker.enter(true).record, picker.browser().recordOfLine(0));
    for (char c : std::string("ZZ")) picker.typeKey(c);  // nothing starts with "ROMZZ"
    EXPECT_FALSE(picker.selectedLine());
    EXPECT_EQ(picker.enter(true).outcome, LocalityPicker::EnterOutcome::DoubleClickNeeded);
    picker.clickField();
    EXPECT_EQ(picker.enter(true).outcome, LocalityPicker::EnterOutcome::DoubleClickNeeded);

    // The search lands on the name that goes on with a blank; Enter takes the exact name.
    picker.clickField();
    for (char c : std::string("TORINO")) picker.typeKey(c);
    EXPECT_EQ(picker.browser().centre(), 16);  // TORINO DI SANGRO (18), clamped to N-4
    const auto torino = picker.enter(true);
    EXPECT_EQ(torino.outcome, LocalityPicker::EnterOutcome::Chosen);
    EXPECT_EQ(picker.list().record(torino.record).name, "TORINO");
}

TEST(LocalityPickerTest, EnterAsksForADoubleClickWhenSeveralPlacesHaveTheName) {
    TempDir dir;
    dir.write("Localita/ESTERO.LOC", listBytes({"Paris", "Paris", "Parma"}, "X"));
    LocalityPicker picker(DataRoot(dir.path()), LocalityListKind::Foreign);
    for (char c : std::string("paris")) picker.typeKey(c);
    EXPECT_EQ(picker.enter(true).outcome, LocalityPicker::EnterOutcome::DoubleClickNeeded);
    picker.selectLine(*picker.selectedLine() + 1);  // the second Paris, picked by hand
    EXPECT_EQ(picker.enter(true).record, 2);
    picker.typeKey('\b');
    picker.typeKey('\b');
    picker.typeKey('m');
    picker.typeKey('a');
    const auto parma = picker.enter(true);
    EXPECT_EQ(parma.outcome, LocalityPicker::EnterOutcome::Chosen);
    EXPECT_EQ(parma.record, 3);
}

TEST(LocalityPickerTest, ChoosingALineGivesItsRecordAndNothingPastTheList) {
    Lists lists;
    LocalityPicker picker(lists.root(), LocalityListKind::Foreign);  // N = 10
    EXPECT_EQ(picker.chooseLine(0), 1);
    EXPECT_EQ(picker.chooseLine(6), 7);
    picker.browser().move(Move::LineDown);
    picker.browser().move(Move::LineDown);
    picker.browser().move(Move::LineDown);
    picker.browser().move(Move::LineDown);  // stops at N-3 = 7
    EXPECT_EQ(picker.browser().centre(), 7);
    EXPECT_EQ(picker.chooseLine(6), 10);
    EXPECT_EQ(picker.lines()[6], "Sevilla \x97 X");
    picker.browser().move(Move::Thumb, 1000);
    EXPECT_EQ(picker.browser().centre(), 6);
    EXPECT_EQ(picker.chooseLine(7), std::nullopt);

    TempDir small;
    small.write("Localita/ITALIA.LOC", listBytes({"ASTI", "BARI", "COMO"}, "ITALIA"));
    LocalityPicker few(DataRoot(small.path()), LocalityListKind::Italian);
    EXPECT_EQ(few.chooseLine(2), 3);
    EXPECT_EQ(few.chooseLine(3), std::nullopt);  // an empty line
    EXPECT_EQ(few.lines()[3], "");
}
