#pragma once

namespace athanor {

class WindowHost;

// Creates the analysis, chart and graph settings windows, hidden, and gives the main
// window's buttons their actions: "Modelo propedéutico interactivo", the four summary
// pages, the circle calibration, the line thickness and the printer type.
void wireChartWindows(WindowHost& main);

}  // namespace athanor
