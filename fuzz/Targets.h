#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

namespace athanor::fuzz {

// Each target feeds one input to the real readers of one kind of outside bytes. A reader may
// refuse the input with the exception documented for bad input (FileError, the CLI's
// UsageError, CsvImportError); the target lets anything else through, which the fuzzers
// report as a finding.
using Entry = void (*)(const std::uint8_t* data, std::size_t size);

struct Target {
    const char* name;  // also the folder of its seed corpus
    Entry run;
};

void archiveRecords(const std::uint8_t* data, std::size_t size);     // .ST1/.ST2/.ST3, journal
void currentSubject(const std::uint8_t* data, std::size_t size);     // TMPR, hand-off files
void correctionFiles(const std::uint8_t* data, std::size_t size);    // DSEL, DPR1, NOJLNE, DSUP
void localityList(const std::uint8_t* data, std::size_t size);       // ITALIA.LOC / ESTERO.LOC
void timeZoneTables(const std::uint8_t* data, std::size_t size);     // .CAL, Elencal.002, Database.cll
void settingsFiles(const std::uint8_t* data, std::size_t size);      // MMVarLas.stt, orb files
void knowledgeRecords(const std::uint8_t* data, std::size_t size);   // DBmain, Repertorio, DataQvl, ...
void textLists(const std::uint8_t* data, std::size_t size);          // Sintomi.txt, ProdotB.txt, ...
void interpretationTexts(const std::uint8_t* data, std::size_t size);  // OpzioneT, Messaggi.txt
void emfPlayer(const std::uint8_t* data, std::size_t size);
void jpegBanner(const std::uint8_t* data, std::size_t size);
void csvImport(const std::uint8_t* data, std::size_t size);
void cliArguments(const std::uint8_t* data, std::size_t size);

std::span<const Target> targets();

}  // namespace athanor::fuzz
