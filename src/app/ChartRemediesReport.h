#pragma once
#include "interpretation/ChartWeaknesses.h"

#include <array>
#include <string>

namespace athanor {

// The structure of one planet in words: "Venus en Géminis: domicilio", "… recepción mutua", "sin condición" (UTF-8).
std::string structureLine(const ChartRemedies& found, int planet);

// The printable page of a chart's remedies as HTML for a text document (UTF-8): the subject's
// header, the structure, the weaknesses, the remedies with their signatures, indications,
// warnings and pathologies, and a footer saying whose the prescription is. `subject` holds the
// main window's six lines of the subject (Windows-1252).
std::string chartRemediesHtml(const ChartRemedies& found, const std::array<std::string, 6>& subject,
                              const std::string& practitioner, const std::string& date);

}  // namespace athanor
