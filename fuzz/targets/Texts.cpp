// The interpretation text files, Messaggi.txt and the year table, looked up as the analysis
// window looks them up.
#include "../FuzzSupport.h"
#include "../Targets.h"

#include "foundations/FileError.h"
#include "interpretation/AnalysisKnowledge.h"
#include "interpretation/PlanetaryHour.h"
#include "knowledge/InterpretationTexts.h"

namespace athanor::fuzz {

void interpretationTexts(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const int body = 1 + in.byte() % 11;
    const int sign = 1 + in.byte() % 12;
    const int year = 1900 + in.byte();
    const Scratch& s = Scratch::fresh();
    s.write(kSignCodeListFile, in.part());
    s.write(kPlanetSpecificFile, in.part());
    s.write(kPlanetGeneralFile, in.part());
    s.write(kSignSpecificFile, in.part());
    s.write(kSignGeneralFile, in.part());
    s.write(kMessagesFile, in.part());
    s.write(kYearMastersFile, in.part());
    const DataRoot& root = s.root();
    try {
        const auto codes = KeyedTexts::load(root, kSignCodeListFile, KeyedLayout{0, 1, 80}).lines();
        const auto specific = KeyedTexts::load(root, kPlanetSpecificFile, kPlanetTextLayout);
        (void)bodySpecificParagraphs(body, codes, specific);
        (void)joinedParagraph(bodySpecificTexts(body, codes, specific));
        (void)bodyGeneralTexts(body, KeyedTexts::load(root, kPlanetGeneralFile, kPlanetTextLayout));
        const auto signs = KeyedTexts::load(root, kSignSpecificFile, kSignSpecificLayout);
        (void)signSpecificParagraphs(sign, codes, signs);
        (void)signGeneralTexts(sign, KeyedTexts::load(root, kSignGeneralFile, kSignGeneralLayout));
    } catch (const FileError&) {
    }
    try {
        const MessageSections messages = MessageSections::load(root);
        for (int n = 0; n <= messages.count() + 1; ++n) (void)messages.section(n);
    } catch (const FileError&) {
    }
    try {
        (void)yearMastersLines(readYearMasters(root, masterTableYear(year)));
    } catch (const FileError&) {
    }
}

}  // namespace athanor::fuzz
