#pragma once
// FilePosi\DSUP.rnd, the precision supplement: at each instant of its grids, the reference
// without the Sun's deflection of light minus what the engine gives with the three
// correction files, in arc-seconds; the engine adds the deflection itself.
#include "Records.h"

#include "engine/PrecisionSupplement.h"

#include <filesystem>
#include <string>
#include <vector>

namespace athanor::corrections {

inline constexpr const char* kSupplementName = "DSUP.rnd";

// Every piece of the file, in file order, with its grid and degree; no values yet, and
// unit and width still to be chosen from them.
std::vector<supplement::Piece> supplementPlan();

// What happened to one piece.
struct PieceTally {
    long values = 0;
    long uncovered = 0;  // reference files missing for the date, stored as zero
    double largest = 0;  // largest residual, arc-seconds
};

// Residuals (arc-seconds) at values first..last of a piece, the engine run on `folder`:
// the three correction files, and for the true node the Sun's pieces of the supplement
// (the node is computed from the corrected Sun; see sunPieces).
std::vector<long double> supplementResiduals(const std::filesystem::path& folder, const supplement::Piece& piece,
                                             long first, long last, const Options& options, PieceTally& tally);

// The stored values for residuals at a given unit (micro-arcseconds).
std::vector<std::int32_t> quantize(const std::vector<long double>& residuals, std::uint32_t unit);

// Sets unit and width from the residuals: the finest of 0.01", 0.02", 0.05" and 0.1" whose
// values fit 16 bits, else 32 bits at 0.01".
void chooseUnit(supplement::Piece& piece, const std::vector<long double>& residuals);

// The Sun's pieces among these, values included.
std::vector<supplement::Piece> sunPieces(const std::vector<supplement::Piece>& pieces);

// The whole file, against the three correction files of `folder`; `scratch` is an empty
// folder for the engine's intermediate program folder. `tallies` gets one entry per piece.
std::string supplementFile(const std::filesystem::path& folder, const std::filesystem::path& scratch,
                           const Options& options, std::vector<PieceTally>& tallies,
                           std::vector<supplement::Piece>& pieces);

}  // namespace athanor::corrections
