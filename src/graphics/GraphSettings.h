#pragma once

namespace athanor {

// The arithmetic of the graph settings windows.

// Line thickness: "down" multiplies by 0.95, "up" divides by it, within 0.5 .. 4.
inline constexpr double kLineFactorMin = 0.5;
inline constexpr double kLineFactorMax = 4.0;
double lineFactorDown(double factor);
double lineFactorUp(double factor);
double clampLineFactor(double factor);

// Circle calibration: a scroll position -200 .. 200 and its factor, 1 - position / 1000.
inline constexpr int kCalibrationRange = 200;
double calibrationFactor(int position);
int calibrationPosition(double factor);

// Printer type: 0 ordinary, 1 a dummy page before every print job.
inline long long toggledPrinterType(long long type) { return type == 1 ? 0 : 1; }

}  // namespace athanor
