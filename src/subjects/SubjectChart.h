#pragma once
// The chart of a subject: its stored birth data decoded into the chart state, then
// computed by the engine.

#include "engine/ChartBuilder.h"

#include <string>

namespace athanor {

// What the chart computation reads of a subject.
struct ChartSubject {
    std::string birthStamp;    // "YYYYMMDDhhmm" + correction
    std::string coordText;     // first 12 characters of the place text
    std::string calendarCode;  // "GR" Gregorian, anything else Julian
};

// Turns the subject into the chart state in chart order: the date, place and correction
// decoded into the state, the Julian day in Universal Time, then computeChart. Throws
// FileError when a correction file fails.
void buildChart(ChartState& chart, const CorrectionFiles& files, const ChartSubject& subject,
                ChartVariant variant = ChartVariant::MainWindow);

// The same for the current subject (record 0 of TMPR).
void buildCurrentChart(ChartState& chart, const CorrectionFiles& files, ChartVariant variant = ChartVariant::MainWindow);

}  // namespace athanor
