#pragma once
// The chart of a subject: its birth moment and place written into the chart state, then
// computed by the engine.

#include "engine/ChartBuilder.h"
#include "subjects/BirthMoment.h"
#include "subjects/CoordText.h"

#include <string>

namespace athanor {

// What the chart computation reads of a subject.
struct ChartSubject {
    std::string birthStamp;    // "YYYYMMDDhhmm" + correction
    std::string coordText;     // first 12 characters of the place text
    std::string calendarCode;  // "GR" Gregorian, anything else Julian
};

// The moment as the engine reads it from the chart state: date, clock time, correction,
// calendar flag, ChartJulianDay, and AsteroidsValid of the local instant.
void setBirthMoment(ChartState& chart, const BirthMoment& moment);

// The coordinate parts of the place.
void setPlace(ChartState& chart, const Coordinates& place);

// Turns the subject into the chart state in chart order: its birth moment read from the
// stamp in the record's calendar and its place written into the state, then computeChart.
// Throws FileError when a correction file fails.
void buildChart(ChartState& chart, const CorrectionFiles& files, const ChartSubject& subject,
                ChartVariant variant = ChartVariant::MainWindow);

// The same for the current subject (record 0 of TMPR).
void buildCurrentChart(ChartState& chart, const CorrectionFiles& files,
                       ChartVariant variant = ChartVariant::MainWindow);

}  // namespace athanor
