#include "foundations/Calendar.h"
#include "foundations/FileError.h"
#include "subjects/BirthEntry.h"
#include "support/AtlasFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace athanor {
namespace {

using test::listBytes;
using test::tableBytes;
using test::TempDir;
using F = EntryField;
using K = EntryKey;

TEST(BirthEntryKeys, EveryFieldMovesAsItsKeysSay) {
    struct Case {
        F from;
        K key;
        std::optional<F> to;
    };
    const Case cases[] = {
        {F::Name, K::Enter, F::Day},      {F::Name, K::Right, std::nullopt}, {F::Name, K::Down, std::nullopt},
        {F::Day, K::Enter, F::Month},     {F::Day, K::Right, F::Month},      {F::Day, K::Left, std::nullopt},
        {F::Day, K::Up, std::nullopt},    {F::Day, K::Down, F::Hour},        {F::Month, K::Right, F::Year},
        {F::Month, K::Left, F::Day},      {F::Month, K::Down, F::Minute},    {F::Month, K::Up, std::nullopt},
        {F::Year, K::Enter, F::Hour},     {F::Year, K::Left, F::Month},      {F::Year, K::Down, std::nullopt},
        {F::Hour, K::Right, F::Minute},   {F::Hour, K::Left, F::Year},       {F::Hour, K::Up, F::Day},
        {F::Hour, K::Down, std::nullopt}, {F::Minute, K::Enter, F::Place},   {F::Minute, K::Right, std::nullopt},
        {F::Minute, K::Left, F::Hour},    {F::Minute, K::Up, F::Month},      {F::Place, K::Enter, std::nullopt},
        {F::Place, K::Right, F::Name},    {F::Place, K::Left, F::Minute},    {F::Place, K::Up, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(entryFieldAfterKey(c.from, c.key), c.to)
            << "field " << static_cast<int>(c.from) << " key " << static_cast<int>(c.key);
    }
    // A field that reaches its length hands on: day, month, year, hour, minute, place.
    std::vector<F> chain;
    for (std::optional<F> f = F::Day; f; f = entryFieldWhenFull(*f)) chain.push_back(*f);
    EXPECT_EQ(chain, (std::vector<F>{F::Day, F::Month, F::Year, F::Hour, F::Minute, F::Place}));
    EXPECT_EQ(entryFieldLength(F::Year), 4);
    EXPECT_EQ(entryFieldLength(F::Minute), 2);
    EXPECT_EQ(entryFieldLength(F::Place), 0);
    EXPECT_EQ(trimmedDateField(" 1 9"), "19");
}

DateTexts date(const char* d, const char* m, const char* y, const char* h, const char* mi) { return {d, m, y, h, mi}; }

TEST(BirthEntryDate, TheFirstFieldOutOfItsRangeFails) {
    struct Case {
        DateTexts fields;
        DateCheck::Outcome outcome;
        int failed;
        int passed;
    };
    using O = DateCheck::Outcome;
    const Case cases[] = {
        {date("21", "03", "1990", "14", "30"), O::Valid, -1, 5},
        {date(" 1", "3 ", "1990", "0", "0"), O::Valid, -1, 5},     // blanks are trimmed
        {date("00", "00", "2080", "23", "59"), O::Invalid, 1, 1},  // month 0 is no month
        {date("00", "03", "1990", "14", "30"), O::Invalid, 0, 0},  // nor day 0 a day
        {date("31", "04", "1990", "14", "30"), O::Invalid, 0, 0},  // in no calendar
        {date("30", "02", "1600", "14", "30"), O::Invalid, 0, 0},
        {date("29", "02", "1900", "14", "30"), O::Valid, -1, 5},  // a Julian leap day: the place decides
        {date("32", "03", "1990", "14", "30"), O::Invalid, 0, 0},
        {date("21", "13", "1990", "14", "30"), O::Invalid, 1, 1},
        {date("21", "03", "2081", "14", "30"), O::Invalid, 2, 2},
        {date("21", "03", "1990", "24", "30"), O::Invalid, 3, 3},
        {date("21", "03", "1990", "14", "60"), O::Invalid, 4, 4},
        {date("2a", "13", "1990", "14", "30"), O::Invalid, 0, 0},  // the first failure stops
        {date("21", "-3", "1990", "14", "30"), O::Invalid, 1, 1},
        {date("21", "03", "1990", "14", ""), O::Incomplete, -1, 0},  // no message for an empty field
        {date("99", "03", "", "14", "30"), O::Invalid, 0, 0},        // a whole wrong field fails at once
        {date("21", "03", "208", "", ""), O::Incomplete, -1, 0},     // a year still being typed
        {date("29", "02", "190", "", ""), O::Incomplete, -1, 0},     // ... is not judged as year 190
        {date("30", "02", "1990", "", ""), O::Invalid, 0, 0},        // the date is judged once whole
        {date("21", "03", "1990", "  ", "30"), O::Incomplete, -1, 0},
    };
    for (const auto& c : cases) {
        const DateCheck d = checkDate(c.fields);
        EXPECT_EQ(d.outcome, c.outcome) << c.fields[0] << "/" << c.fields[1] << "/" << c.fields[2];
        EXPECT_EQ(d.failed, c.failed) << c.fields[0] << "/" << c.fields[1] << "/" << c.fields[2];
        EXPECT_EQ(d.passed, c.passed) << c.fields[0] << "/" << c.fields[1] << "/" << c.fields[2];
    }
    const DateCheck ok = checkDate(date("21", "03", "1990", "14", "30"));
    EXPECT_EQ(ok.when.year, 1990);
    EXPECT_EQ(ok.when.minute, 30);
    EXPECT_NEAR(static_cast<double>(ok.gregorianJulianDay), 2447972.1041666667, 1e-9);
}

TEST(BirthEntryResults, LocalMeanTimeIsMinusForEastAndPlusForWest) {
    EXPECT_EQ(localMeanTimeFromCoord("41N54-012E30"), "-0,83333333");
    EXPECT_EQ(localMeanTimeFromCoord("51N30-012W30"), "+0,83333333");
    EXPECT_EQ(localMeanTimeFromCoord("51N30-000E00"), "-0");
    EXPECT_EQ(localMeanTimeFromCoord("40N25-003W42"), "+0,24666666");
    EXPECT_EQ(localMeanTimeFromCoord("40N25-180W00"), std::nullopt);
    EXPECT_EQ(localMeanTimeFromCoord(""), std::nullopt);
    EXPECT_EQ(localMeanTimeText(-74.0L), "+4,93333333");
}

TEST(BirthEntryResults, TheCalendarFieldRecomputesTheJulianDay) {
    const DateTexts d = date("10", "06", "1500", "12", "00");
    const std::string greg = julianDayForCalendar("GREG", d, "-1");
    const std::string giul = julianDayForCalendar("GIUL", d, "-1");
    ASSERT_EQ(greg.size(), 11u);
    ASSERT_EQ(giul.size(), 11u);
    auto value = [](std::string s) {
        for (char& c : s)
            if (c == ',') c = '.';
        return std::stod(s);
    };
    // In 1500 the Julian calendar runs ten days behind.
    EXPECT_NEAR(value(giul) - value(greg), 10.0, 1e-3);
    // Universal Time: one hour before local noon.
    EXPECT_NEAR(value(greg), static_cast<double>(julianDayFromCivil(1, 0, 11, 1500, 6, 10).jd), 1e-3);
    EXPECT_EQ(julianDayForCalendar("GREG", d, ""), julianDayForCalendar("GREG", d, "+0"))
        << "without a correction the local day is shown";
    EXPECT_EQ(julianDayForCalendar("JUL", d, "-1"), "");
    EXPECT_EQ(julianDayForCalendar("greg", d, "-1"), "");
    EXPECT_EQ(julianDayForCalendar("GREG", date("10", "06", "", "12", "00"), "-1"), "");
}

EntryForm goodForm() {
    EntryForm f;
    f.name = "ROSSI MARIO  ";
    f.date = date("21", "03", "1990", "14", "30");
    f.calendar = "GREG";
    f.locality = "ROMA";
    f.coordText = "41N54-012E29";
    f.correction = "-1";
    f.julianDay = "2447972,062";
    f.country = "ITALIA";
    return f;
}

TEST(BirthEntryContinue, EachCheckStopsWithItsMessageInOrder) {
    struct Case {
        const char* what;
        void (*change)(EntryForm&);
        const char* message;
        bool error;
    };
    const Case cases[] = {
        {"no name", [](EntryForm& f) { f.name = "   "; }, kMessageNoName, false},
        {"no name before no calendar",
         [](EntryForm& f) {
             f.name = "";
             f.calendar = "";
         },
         kMessageNoName, false},
        {"no calendar", [](EntryForm& f) { f.calendar = ""; }, kMessageNoCalendar, false},
        {"JUL is no calendar", [](EntryForm& f) { f.calendar = "JUL"; }, kMessageNoCalendar, false},
        {"calendar before date",
         [](EntryForm& f) {
             f.calendar = "X";
             f.date[2] = "2081";
         },
         kMessageNoCalendar, false},
        {"bad year", [](EntryForm& f) { f.date[2] = "2081"; }, kMessageBadDate, true},
        {"incomplete date",
         [](EntryForm& f) {
             f.date[4] = "";
             f.locality = "";
         },
         "", false},
        {"no locality", [](EntryForm& f) { f.locality = " "; }, kMessageNoLocality, false},
        {"no coordinates", [](EntryForm& f) { f.coordText = ""; }, kMessageBadCoordinates, false},
        {"latitude 90", [](EntryForm& f) { f.coordText = "90N00-012E29"; }, kMessageBadCoordinates, false},
        {"coordinates before correction",
         [](EntryForm& f) {
             f.coordText = "41N54-012X29";
             f.correction = "";
         },
         kMessageBadCoordinates, false},
        {"no correction", [](EntryForm& f) { f.correction = ""; }, kMessageNoCorrection, false},
        {"correction no number", [](EntryForm& f) { f.correction = "+1h"; }, kMessageNoCorrection, false},
    };
    for (const auto& c : cases) {
        EntryForm f = goodForm();
        c.change(f);
        const ContinueCheck check = checkContinue(f);
        EXPECT_FALSE(check.ok) << c.what;
        EXPECT_EQ(check.message, c.message) << c.what;
        EXPECT_EQ(check.error, c.error) << c.what;
    }
    EXPECT_EQ(std::string(kMessageNoCalendar), "Falta indicaci\xF3n  Calendario (GREG / JUL)");
}

TEST(BirthEntryContinue, TheHandOffCarriesTheZoneAndTheDateInTheChosenCalendar) {
    struct Case {
        const char* correction;
        const char* calendar;
        const char* day;
        const char* coord;
        const char* zone;
        const char* displayDate;
        int flag;
    };
    const Case cases[] = {
        {"-1", "GREG", "21", "41N54-012E29", "+1", "21/03/1990 14:30", 1},
        {"+10,75", "GREG", "21", "41N54-012E29", "-10,7", "21/03/1990 14:30", 1},
        {"+5.5", "GREG", "21", "41N54-012E29", "-5,5", "21/03/1990 14:30", 1},
        {"-0,83333333", "GIUL", "21", "41N54-012E29", "+0,83", "21/03/1990 14:30", 0},
        {"0", "GREG", "21", "41N60-012E60", "+", "21/03/1990 14:30", 1},  // minutes 60 pass here
    };
    for (const auto& c : cases) {
        EntryForm f = goodForm();
        f.correction = c.correction;
        f.calendar = c.calendar;
        f.date[0] = c.day;
        f.coordText = c.coord;
        const ContinueCheck check = checkContinue(f);
        ASSERT_TRUE(check.ok) << c.correction << " " << check.message;
        EXPECT_EQ(check.handOff.zoneText, c.zone) << c.correction;
        EXPECT_EQ(check.handOff.moment.dateText(), c.displayDate) << c.correction;
        EXPECT_EQ(check.handOff.moment.calendarFlag(), c.flag);
        EXPECT_EQ(check.handOff.name, "ROSSI MARIO");
        EXPECT_EQ(check.handOff.coordText, c.coord);
        EXPECT_EQ(check.handOff.country, "ITALIA");
        EXPECT_EQ(check.handOff.locality, "ROMA");
    }
    // A date of the other calendar only is refused on the day field in this one.
    for (const auto& [calendar, ok] : {std::pair{"GREG", false}, std::pair{"GIUL", true}}) {
        EntryForm leap = goodForm();
        leap.calendar = calendar;
        leap.date = {"29", "02", "1900", "12", "00"};
        const ContinueCheck check = checkContinue(leap);
        EXPECT_EQ(check.ok, ok) << calendar;
        if (!ok) {
            EXPECT_TRUE(check.error);
            EXPECT_EQ(check.message, kMessageBadDate);
            EXPECT_EQ(check.date.failed, 0);
        }
    }
    EntryForm f = goodForm();
    EXPECT_NEAR(static_cast<double>(checkContinue(f).handOff.julianDay), 2447972.062, 1e-9);
    f.julianDay = "";  // emptied by a calendar typed wrong and put right again
    EXPECT_NEAR(static_cast<double>(checkContinue(f).handOff.julianDay), 2447972.0625, 1e-9);
}

using MC = ManualCoordinates;

TEST(BirthEntryManual, TheDegreeFormBuildsTheTextAndFillsTheHours) {
    MC m;
    m.open("45N28-009E11");
    EXPECT_EQ(m.form(), MC::Form::Degrees);
    EXPECT_EQ(m.text(MC::LatDegrees), "45");
    EXPECT_EQ(m.text(MC::LonDegrees), "009");
    EXPECT_EQ(m.text(MC::LonLetter), "E");
    EXPECT_EQ(m.text(MC::LonHours), "");
    ASSERT_TRUE(m.check());
    EXPECT_EQ(m.built(), "45N28-009E11");
    // 9 deg 11' is 36 min 44 s of time.
    EXPECT_EQ(m.text(MC::LonHours), "00");
    EXPECT_EQ(m.text(MC::LonTimeMinutes), "36");
    EXPECT_EQ(m.text(MC::LonSeconds), "44");
    EXPECT_EQ(m.text(MC::LonTimeLetter), "E");

    m.setText(MC::LatLetter, "s");
    m.setText(MC::LonDegrees, "75");
    m.setText(MC::LonLetter, "w");
    ASSERT_TRUE(m.check());
    EXPECT_EQ(m.built(), "45S28-075W11");
    EXPECT_EQ(m.text(MC::LonHours), "05");
    EXPECT_EQ(m.text(MC::LonTimeLetter), "W");
}

TEST(BirthEntryManual, TheHourFormBuildsTheDegreesRoundedToTheMinute) {
    MC m;
    m.open("41N54-012E29");
    m.enter(MC::LonHours);
    EXPECT_EQ(m.form(), MC::Form::Hours);
    EXPECT_EQ(m.text(MC::LonDegrees), "") << "entering an hour field empties the degrees";
    m.setText(MC::LonHours, "0");
    EXPECT_FALSE(m.check()) << "minutes, seconds and letter still missing";
    EXPECT_EQ(m.state(MC::LonTimeMinutes), MC::State::Invalid);
    EXPECT_EQ(m.state(MC::LonDegrees), MC::State::Blank) << "the other form is not asked for";
    m.setText(MC::LonTimeMinutes, "49");
    m.setText(MC::LonSeconds, "58");
    m.setText(MC::LonTimeLetter, "e");
    ASSERT_TRUE(m.check());
    // 49 min 58 s of time = 12 deg 29.5': rounded up to 30'.
    EXPECT_EQ(m.built(), "41N54-012E30");
    EXPECT_EQ(m.text(MC::LonMinutes), "30");
    m.setText(MC::LonSeconds, "59");  // 12 deg 29.75' -> 30'
    ASSERT_TRUE(m.check());
    EXPECT_EQ(m.built(), "41N54-012E30");
    m.setText(MC::LonHours, "11");
    m.setText(MC::LonTimeMinutes, "59");
    m.setText(MC::LonSeconds, "59");  // 179 deg 59.75': the minutes carry into the degrees
    ASSERT_TRUE(m.check());
    EXPECT_EQ(m.built(), "41N54-180E00");

    m.enter(MC::LonMinutes);
    EXPECT_EQ(m.form(), MC::Form::Degrees);
    EXPECT_EQ(m.text(MC::LonHours), "") << "and a degree field empties the hours";
}

TEST(BirthEntryManual, EachFieldIsCheckedAgainstItsRange) {
    struct Case {
        MC::Field field;
        const char* text;
        bool valid;
    };
    const Case cases[] = {
        {MC::LatDegrees, "90", true},  {MC::LatDegrees, "91", false},   {MC::LatLetter, "n", true},
        {MC::LatLetter, "E", false},   {MC::LatMinutes, "59", true},    {MC::LatMinutes, "60", false},
        {MC::LonDegrees, "180", true}, {MC::LonDegrees, "181", false},  {MC::LonDegrees, "1x", false},
        {MC::LonLetter, "W", true},    {MC::LonLetter, "O", false},     {MC::LonMinutes, " 7 ", true},
        {MC::LonHours, "12", true},    {MC::LonHours, "13", false},     {MC::LonSeconds, "59", true},
        {MC::LonSeconds, "60", false}, {MC::LonTimeLetter, "S", false},
    };
    for (const auto& c : cases) {
        MC m;
        m.open("45N28-009E11");
        m.enter(c.field);
        m.setText(c.field, c.text);
        m.check();
        EXPECT_EQ(m.state(c.field), c.valid ? MC::State::Valid : MC::State::Invalid) << c.field << " " << c.text;
        if (!c.valid) {
            EXPECT_EQ(m.text(c.field), "") << "an invalid field is emptied";
            EXPECT_FALSE(m.built());
        }
    }
    // Valid fields, but beyond the pole or the date line.
    MC m;
    m.open("90N30-009E11");
    EXPECT_FALSE(m.check());
    m.open("45N00-180W01");
    EXPECT_FALSE(m.check());
    m.enter(MC::LonHours);
    for (auto [f, t] : {std::pair{MC::LonHours, "12"},
                        {MC::LonTimeMinutes, "00"},
                        {MC::LonSeconds, "01"},
                        {MC::LonTimeLetter, "W"}}) {
        m.setText(f, t);
    }
    EXPECT_FALSE(m.check());
    EXPECT_FALSE(m.built());
    m.setText(MC::LonSeconds, "00");
    EXPECT_TRUE(m.check());
    EXPECT_EQ(m.built(), "45N00-180W00");
}

TEST(BirthEntryManual, FocusMovesWithinTheActiveForm) {
    struct Case {
        bool hours;
        MC::Field from;
        MC::Move move;
        std::optional<MC::Field> to;
    };
    using M = MC::Move;
    const Case cases[] = {
        {false, MC::LatDegrees, M::Next, MC::LatLetter},    {false, MC::LatMinutes, M::Next, MC::LonDegrees},
        {true, MC::LatMinutes, M::Next, MC::LonHours},      {false, MC::LonMinutes, M::Next, std::nullopt},
        {true, MC::LonSeconds, M::Next, MC::LonTimeLetter}, {true, MC::LonTimeLetter, M::Next, std::nullopt},
        {false, MC::LatDegrees, M::Previous, std::nullopt}, {false, MC::LonDegrees, M::Previous, MC::LatMinutes},
        {true, MC::LonHours, M::Previous, MC::LatMinutes},  {false, MC::LatLetter, M::Down, MC::LonLetter},
        {true, MC::LatMinutes, M::Down, MC::LonSeconds},    {false, MC::LonMinutes, M::Down, std::nullopt},
        {true, MC::LonTimeLetter, M::Up, MC::LatMinutes},   {false, MC::LonDegrees, M::Up, MC::LatDegrees},
        {false, MC::LatDegrees, M::Up, std::nullopt},
    };
    for (const auto& c : cases) {
        MC m;
        m.open("");
        if (c.hours) m.enter(MC::LonHours);
        EXPECT_EQ(m.fieldAfter(c.from, c.move), c.to) << c.from << " move " << static_cast<int>(c.move);
    }
    EXPECT_EQ(MC::length(MC::LonDegrees), 3);
    EXPECT_EQ(MC::length(MC::LatLetter), 1);
    EXPECT_EQ(MC::length(MC::LonSeconds), 2);
}

// ---- the recompute flag over a small atlas ------------------------------------------

ZoneRecord dated(long double jd, const char* code, double c) { return ZoneRecord{jd + kZoneDateOffset, code, c}; }

long double jdOf(int y, int m, int d) { return julianDayFromCivil(1, 0, 0, y, m, d).jd; }

struct Atlas {
    TempDir dir;
    Atlas() {
        std::vector<LocalityRecord> italian, foreign;
        for (const char* n : {"ALBA", "BARI", "COMO", "FERMO", "GENOVA", "MILANO", "NAPOLI", "ROMA", "TORINO"})
            italian.push_back({n, 41.9L, 12.4833L, 100000001, "ITALIA"});
        for (const char* n : {"Berlin", "Bern", "Dublin", "Lisboa", "London", "Madrid", "Paris", "Wien", "Zagreb"})
            foreign.push_back({n, 51.5L, -0.1167L, 100000002, "EUROPA"});
        dir.write("Localita/ITALIA.LOC", listBytes(italian));
        dir.write("Localita/ESTERO.LOC", listBytes(foreign));
        dir.write("Calendar/00000001.CAL", tableBytes({dated(2299160, "GREG", 0), dated(jdOf(1893, 11, 1), "LMT ", 0),
                                                       dated(jdOf(1893, 11, 1), "CET", -1)}));
        const std::string database = tableBytes({dated(2361221, "GREG", 0), dated(jdOf(1847, 12, 1), "LMT ", 0),
                                                 dated(jdOf(1847, 12, 1), "GMT", 0), ZoneRecord{0, "****", 0}});
        dir.write("Calendar/Database.cll", database);
        dir.write("Calendar/Elencal.002", "00000002.CAL  000000\r\n");
    }
    DataRoot root() const { return DataRoot(dir.path()); }
};

TEST(BirthEntryState, ALookUpRunsOnceForEachChangeWithAValidDateAndAChosenPlace) {
    Atlas atlas;
    BirthEntry entry(atlas.root());
    entry.open();
    ASSERT_TRUE(entry.hasList());
    EXPECT_TRUE(entry.pending()) << "opening asks for a recompute";
    const DateTexts when = date("21", "03", "1990", "14", "30");

    auto r = entry.recompute(when, 1);
    EXPECT_TRUE(r.ran);
    EXPECT_TRUE(r.date.valid());
    EXPECT_FALSE(r.lookup) << "no place chosen yet";
    EXPECT_FALSE(entry.pending());
    EXPECT_FALSE(entry.recompute(when, 1).ran) << "nothing pending, nothing done";

    for (char c : std::string("roma")) entry.picker().typeKey(c);
    const auto enter = entry.picker().enter(true);
    ASSERT_EQ(enter.outcome, LocalityPicker::EnterOutcome::Chosen);
    entry.choose(enter.record);
    ASSERT_TRUE(entry.chosen());
    EXPECT_EQ(entry.chosen()->name, "ROMA");
    r = entry.recompute(when, 1);
    ASSERT_TRUE(r.lookup);
    EXPECT_EQ(r.lookup->correctionText, "-1");
    EXPECT_EQ(r.lookup->calendar, "GREG");
    EXPECT_EQ(r.lookup->coordText, "41N54-012E29");

    entry.markChanged();
    r = entry.recompute(date("21", "03", "1990", "14", ""), 1);
    EXPECT_TRUE(r.ran);
    EXPECT_FALSE(r.lookup) << "an incomplete date does not look up";

    // Another list: the place is forgotten.
    entry.switchList(LocalityListKind::Foreign);
    EXPECT_TRUE(entry.pending());
    EXPECT_FALSE(entry.chosen());
    EXPECT_EQ(entry.picker().prefix(), "");
    for (char c : std::string("london")) entry.picker().typeKey(c);
    entry.choose(entry.picker().enter(true).record);
    r = entry.recompute(date("01", "06", "1850", "12", "00"), 1);
    ASSERT_TRUE(r.lookup);
    EXPECT_EQ(r.lookup->placeName, "London");
    EXPECT_EQ(r.lookup->correctionText, "+0");
    EXPECT_EQ(entry.listKind(), LocalityListKind::Foreign);

    entry.markChanged();
    entry.close();
    EXPECT_FALSE(entry.hasList());
    EXPECT_FALSE(entry.recompute(when, 1).ran) << "a closed window looks nothing up";
}

TEST(BirthEntryState, AFailingLookUpIsNotRepeatedAndAMissingListIsAFileError) {
    Atlas atlas;
    BirthEntry entry(atlas.root());
    entry.open();
    entry.choose(2);
    std::filesystem::remove(atlas.dir / "Calendar/00000001.CAL");
    const auto r = entry.recompute(date("21", "03", "1990", "14", "30"), 1);
    EXPECT_TRUE(r.date.valid());
    EXPECT_FALSE(r.lookup);
    ASSERT_TRUE(r.error);
    EXPECT_NE(r.error->path().string().find("00000001.CAL"), std::string::npos);
    EXPECT_FALSE(entry.pending());

    std::filesystem::remove(atlas.dir / "Localita/ESTERO.LOC");
    EXPECT_THROW(entry.switchList(LocalityListKind::Foreign), FileError);
    EXPECT_FALSE(entry.hasList());
    EXPECT_FALSE(entry.chosen());
    entry.open();
    EXPECT_TRUE(entry.hasList()) << "opening again takes the Italian list";
}

}  // namespace
}  // namespace athanor
