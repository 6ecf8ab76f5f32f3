#pragma once
#include "subjects/SubjectFiles.h"

#include <array>
#include <string>

namespace athanor {

// The six lines the main window shows for the current subject (Windows-1252).
std::array<std::string, 6> subjectDisplayLines(const CurrentSubject& subject);

// A warning when the stored birth date does not exist in the record's calendar (31/02, a
// record saved before dates were checked): the chart is that of the day the date runs on to.
// Empty otherwise. Windows-1252.
std::string impossibleDateWarning(const CurrentSubject& subject);

}  // namespace athanor
