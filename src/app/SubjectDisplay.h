#pragma once
#include "subjects/SubjectFiles.h"

#include <array>
#include <string>

namespace athanor {

// The six lines the main window shows for the current subject (Windows-1252).
std::array<std::string, 6> subjectDisplayLines(const CurrentSubject& subject);

}  // namespace athanor
