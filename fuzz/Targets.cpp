#include "Targets.h"

#include <array>

namespace athanor::fuzz {

std::span<const Target> targets() {
    static const std::array<Target, 13> all = {{
        {"archive", archiveRecords},
        {"current", currentSubject},
        {"corrections", correctionFiles},
        {"localities", localityList},
        {"timezones", timeZoneTables},
        {"settings", settingsFiles},
        {"knowledge", knowledgeRecords},
        {"lists", textLists},
        {"texts", interpretationTexts},
        {"emf", emfPlayer},
        {"jpeg", jpegBanner},
        {"csv", csvImport},
        {"cli", cliArguments},
    }};
    return all;
}

}  // namespace athanor::fuzz
