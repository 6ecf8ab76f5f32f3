#include "subjects/SubjectChart.h"

#include "foundations/Calendar.h"
#include "foundations/Format.h"
#include "subjects/BirthStamp.h"
#include "subjects/CoordText.h"
#include "subjects/SubjectFiles.h"

namespace athanor {

namespace {

void decodeSubject(ChartState& chart, const ChartSubject& subject) {
    const StampDisplay shown = storedToDisplayed(subject.birthStamp);
    chart.Day = intFromSubstring(shown.dateTime, 1, 2);
    chart.Month = intFromSubstring(shown.dateTime, 4, 2);
    chart.Year = intFromSubstring(shown.dateTime, 7, 4);
    chart.Hour = intFromSubstring(shown.dateTime, 12, 2);
    chart.Minute = intFromSubstring(shown.dateTime, 15, 2);
    // The whole correction: the five characters of the display would cut "-10,75" to -10.7.
    chart.TimeCorrection = stampCorrection(subject.birthStamp);

    const Coordinates place = decodeCoordText(subject.coordText);
    chart.LatitudeDegrees = place.latitudeDegrees;
    chart.LatitudeMinutes = place.latitudeMinutes;
    chart.LatitudeHemisphere = place.latitudeLetter;
    chart.LongitudeDegrees = place.longitudeDegrees;
    chart.LongitudeMinutes = place.longitudeMinutes;
    chart.LongitudeSide = place.longitudeLetter;
    chart.CalendarFlag = subject.calendarCode == "GR" ? 1 : 0;
}

}  // namespace

void buildChart(ChartState& chart, const CorrectionFiles& files, const ChartSubject& subject, ChartVariant variant) {
    decodeSubject(chart, subject);
    const long double localJd =
        julianDay(chart, chart.CalendarFlag, chart.Minute, chart.Hour, chart.Year, chart.Month, chart.Day);
    chart.ChartJulianDay = universalJulianDay(localJd, chart.TimeCorrection);
    computeChart(chart, files, variant);
}

void buildCurrentChart(ChartState& chart, const CorrectionFiles& files, ChartVariant variant) {
    const CurrentSubject current = loadCurrent(files.root());
    buildChart(chart, files,
               ChartSubject{current.record.birthStamp, current.record.coordText(), current.record.calendarCode},
               variant);
}

}  // namespace athanor
