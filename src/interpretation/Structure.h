#pragma once
#include "foundations/ChartState.h"
#include "foundations/DataRoot.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace athanor {

// Planets of the structure: 1 Sun .. 7 Saturn (chart indices).
inline constexpr int kTraditionalPlanets = 7;

// Condition codes.
namespace condition {
inline constexpr std::uint8_t None = 0;
inline constexpr std::uint8_t Domicile = 1;
inline constexpr std::uint8_t Exaltation = 2;
inline constexpr std::uint8_t Exile = 3;
inline constexpr std::uint8_t Fall = 4;
inline constexpr std::uint8_t Reception = 5;
}  // namespace condition

// Reception groups.
namespace reception {
inline constexpr std::uint8_t None = 0;
inline constexpr std::uint8_t FirstPair = 21;
inline constexpr std::uint8_t SecondPair = 22;
inline constexpr std::uint8_t ThirdPair = 23;  // seven planets can form three pairs
inline constexpr std::uint8_t Triple = 3;
inline constexpr std::uint8_t Quadruple = 4;
inline constexpr std::uint8_t Quintuple = 5;
}  // namespace reception

// Dignity-table cell of planet p (1..7) in sign s (1..12): 0 or a condition code 1..4.
std::uint8_t dignity(int planet, int sign);
// The two-letter code of a cell ("Ad", "Ae", "De", "Dc" or "").
const char* dignityCode(int planet, int sign);

// Domiciles of a planet: up to three entries, 0 = none (the rulership table).
const std::array<int, 3>& domiciles(int planet);
bool rules(int planet, int sign);
// The planet (1..7) whose domicile the sign is.
int domicileRuler(int sign);

// Captions of a condition code; "" for 0.
const char* conditionScreenCaption(std::uint8_t code);
const char* conditionPrintCaption(std::uint8_t code);
// Three-letter tag of a parent planet: "sun", "moo", ...
const char* parentTag(int planet);

struct StructureSlot {
    std::uint8_t planet = 0;  // 0: empty
    std::uint8_t level = 0;   // 1 the head, 2 disposed by the head, ...
    std::uint8_t parent = 0;  // planet whose domicile this one stands in; 0 for the head
    bool operator==(const StructureSlot&) const = default;
};

struct StructureRow {
    std::uint8_t code = 0;
    std::uint8_t group = 0;
    std::array<StructureSlot, 8> entries{};
    bool operator==(const StructureRow&) const = default;
};

struct ArchetypalStructure {
    std::array<StructureRow, kTraditionalPlanets + 1> rows{};  // by planet, [0] unused
    std::vector<StructureRow> columns;                         // the rows with a condition, in display order
};

// The configuration line of the exchange files: "PPSS" per planet, ascending planets.
std::string exchangeLine(const std::vector<int>& planets, const std::array<int, 8>& signs);

// Where reception configurations are looked up: one file per group size 2..5.
class ExchangeTables {
public:
    virtual ~ExchangeTables() = default;
    // True when the file for `planets` planets holds `line`. May throw FileError.
    virtual bool contains(int planets, std::string_view line) = 0;
};

// The exchange files of the program folder, "Scambi\\Scambio22.txt" .. "Scambio55.txt",
// each read once, when first needed, and compared as whole lines.
class ExchangeFiles : public ExchangeTables {
public:
    explicit ExchangeFiles(DataRoot root) : root_(std::move(root)) {}
    bool contains(int planets, std::string_view line) override;
    static std::string fileName(int planets);

private:
    // A file's text and its lines, sorted, as views into it: one allocation each instead of
    // one per line (the five-planet file has 6,529).
    struct Lines {
        std::string text;
        std::vector<std::string_view> sorted;
    };
    DataRoot root_;
    std::array<std::unique_ptr<const Lines>, 6> lines_;
};

// Signs 1..12 of planets 1..7 from the chart's longitudes.
std::array<int, 8> planetSigns(const ChartState& chart);

// Dignities, receptions, disposition trees and the column order.
ArchetypalStructure computeStructure(const std::array<int, 8>& signs, ExchangeTables& tables);
ArchetypalStructure computeStructure(const ChartState& chart, ExchangeTables& tables);

// Number of filled levels among a column's first seven slots (the frame height).
int filledLevels(const StructureRow& column);

}  // namespace athanor
