#include "subjects/SubjectChart.h"

#include "subjects/BirthStamp.h"
#include "subjects/SubjectFiles.h"

namespace athanor {

void setBirthMoment(ChartState& chart, const BirthMoment& moment) {
    const LocalDateTime& t = moment.local();
    chart.Day = t.day;
    chart.Month = t.month;
    chart.Year = t.year;
    chart.Hour = t.hour;
    chart.Minute = t.minute;
    chart.TimeCorrection = moment.correction();
    chart.CalendarFlag = moment.calendarFlag();
    chart.AsteroidsValid = moment.localInAsteroidRange();
    chart.ChartJulianDay = moment.julianDay();
}

void setPlace(ChartState& chart, const Coordinates& place) {
    chart.LatitudeDegrees = place.latitudeDegrees;
    chart.LatitudeMinutes = place.latitudeMinutes;
    chart.LatitudeHemisphere = place.latitudeLetter;
    chart.LongitudeDegrees = place.longitudeDegrees;
    chart.LongitudeMinutes = place.longitudeMinutes;
    chart.LongitudeSide = place.longitudeLetter;
}

void buildChart(ChartState& chart, const CorrectionFiles& files, const ChartSubject& subject, ChartVariant variant) {
    // The whole correction of the stamp: the five characters of its display would cut
    // "-10,75" to -10.7.
    setBirthMoment(chart, readBirthStamp(subject.birthStamp, calendarFlagOfCode(subject.calendarCode)));
    setPlace(chart, decodeCoordText(subject.coordText));
    computeChart(chart, files, variant);
}

void buildCurrentChart(ChartState& chart, const CorrectionFiles& files, ChartVariant variant) {
    const CurrentSubject current = loadCurrent(files.root());
    buildChart(chart, files,
               ChartSubject{current.record.birthStamp, current.record.coordText(), current.record.calendarCode},
               variant);
}

}  // namespace athanor
