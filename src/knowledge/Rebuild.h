#pragma once
#include "foundations/DataRoot.h"

#include <cstddef>
#include <functional>
#include <string_view>

namespace athanor {

// The derived files of the knowledge base, regenerated from its three record files
// (OpzioneH\DBmain.rnd, OpzioneH\Repertorio.rnd, OpzioneS\DataQvl.rnd). This is the one
// implementation: the editors' "Ricostruisci File", `athanor-cli kb rebuild`, the CSV
// import and the generator of the starter base all call it. Every file is written
// beside the old one and renamed over it.
//
// From the remedy database (records 1 to the last):
//   OpzioneH\Sintomi.txt   the symptoms (indications), ascending, without repetitions
//   OpzioneH\ProdotA.txt   the remedy names, ascending, without repetitions
//   OpzioneH\ProdotB.txt   the remedy names with their alias lines, ascending
//   OpzioneH\RicCom.Rnd    one counter per line of ProdotA.txt, all 0
//   OpzioneH\<stem>.rnd    for the nine planets (SolePri .. NodSPri) and the twelve signs
//                          (Aries .. Piscis): the remedies whose primary (sign: zodiacal)
//                          signature names it
// From the repertory (records 1 to the last):
//   OpzioneH\Patolog.txt   the pathologies, ascending, without repetitions
//   OpzioneH\ProdotR.txt   the remedies of the repertory, and OpzioneH\TerCom.Rnd with
//                          one counter per remedy, all 0
// From the plant-symptom records (records 1 to the last), plant names and symptoms with
// trailing blanks trimmed, empty ones left out:
//   OpzioneS\Piante.rnd    the plants, ascending, without repetitions, from record 1
//   OpzioneS\Sintomi.rnd   the symptoms, likewise
//   OpzioneS\<stem>.rnd    for the nine planets and the twelve signs: the plants whose
//                          primary (sign: zodiacal) signature names it, from record 0 (the
//                          lists the analysis window reads)

// What a rebuild wrote: entries of each list (record files without their record 0).
struct RebuildSummary {
    std::size_t symptoms = 0;           // Sintomi.txt
    std::size_t remedies = 0;           // ProdotA.txt
    std::size_t remedyLines = 0;        // ProdotB.txt, names and aliases
    std::size_t pathologies = 0;        // Patolog.txt
    std::size_t repertoryRemedies = 0;  // ProdotR.txt
    std::size_t plants = 0;             // OpzioneS\Piante.rnd
    std::size_t plantSymptoms = 0;      // OpzioneS\Sintomi.rnd
};

// Told the relative name of each file just before it is written (for a progress display).
using RebuildProgress = std::function<void(std::string_view file)>;

// All derived files of the three record files. FileError, before anything is written,
// when one of the three is missing; FileError when a file cannot be written (the files
// already rewritten stay rewritten, each one whole).
RebuildSummary rebuildDerivedFiles(const DataRoot& root, const RebuildProgress& progress = {});

// The parts of it, one per record file, for the editors that rebuild only their own:
// each fills its share of the summary.
void rebuildRemedyLists(const DataRoot& root, RebuildSummary& summary, const RebuildProgress& progress = {});
void rebuildRepertoryLists(const DataRoot& root, RebuildSummary& summary, const RebuildProgress& progress = {});
void rebuildPlantLists(const DataRoot& root, RebuildSummary& summary, const RebuildProgress& progress = {});

}  // namespace athanor
