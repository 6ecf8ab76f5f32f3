#pragma once
#include "foundations/ChartState.h"
#include "foundations/DataRoot.h"
#include "interpretation/Aspects.h"
#include "interpretation/OrbFiles.h"

#include <array>
#include <string>

namespace athanor {

inline constexpr const char* kBadOrbsMessage = "Mala Configuraci\xF3n de las \xD3rbitas";

enum class FieldState { Untested, Valid, Invalid };  // window colours: -, aqua, red

// The logic of the orb editor window: fields of the personal sets B and C and of the two
// extra orbs, their validation, adopting a set and closing.
class OrbEditor {
public:
    explicit OrbEditor(DataRoot root) : root_(std::move(root)) {}

    // Fills the fields from the orb sets file, shows the frame of its letter, then loads
    // the settings file and shows its letter. FileError when a file fails.
    void activate(OrbSettings& orbs, ChartState& chart);

    // Field texts; column 'B' or 'C', row = display order 0..13.
    const std::string& field(char column, int row) const;
    void setField(char column, int row, std::string text);
    const std::string& parallelField() const { return parallel_.text; }
    const std::string& antisciaField() const { return antiscia_.text; }
    void setParallelField(std::string text);
    void setAntisciaField(std::string text);

    FieldState fieldState(char column, int row) const;
    FieldState parallelState() const { return parallel_.state; }
    FieldState antisciaState() const { return antiscia_.state; }

    // The idle check: a field that does not read as a number within its bounds (0..15,
    // extra orbs 0..6, comma or point) is cleared and marked invalid. Returns valid().
    bool validate();
    bool valid() const { return valid_; }  // also: the return button is enabled

    bool changed() const { return changed_; }
    bool extrasChanged() const { return extrasChanged_; }
    char visibleFrame() const { return frame_; }  // 'A', 'B', 'C' or ' '
    const std::string& edit1() const { return edit1_; }

    struct AdoptResult {
        bool adopted = false;
        std::string message;       // kBadOrbsMessage when refused
        std::string comboCaption;  // for the main window's orb-set selector
    };

    // "Adoptar" under column 'A', 'B' or 'C'.
    AdoptResult adopt(char column, OrbSettings& orbs, ChartState& chart);

    // On closing: keeps the fields when valid, and brings changed extra orbs into the
    // settings file by adopting the set of Edit1 again.
    void close(OrbSettings& orbs, ChartState& chart);

    // "± 10" and so on: the fixed set A as the window shows it.
    static std::string setAText(int row);
    // A value as a field shows it: decimal comma, at least one decimal ("10,0", "0,25").
    static std::string fieldText(long double value);

private:
    struct Field {
        std::string text;
        FieldState state = FieldState::Untested;
    };
    Field& fieldRef(char column, int row);
    const Field& fieldRef(char column, int row) const;
    void readSets(OrbSettings& orbs);
    OrbSets setsFromFields(char letter) const;

    DataRoot root_;
    std::array<Field, kAspectKinds> columnB_{};
    std::array<Field, kAspectKinds> columnC_{};
    Field parallel_, antiscia_;
    bool valid_ = false;
    bool changed_ = false;
    bool extrasChanged_ = false;
    char frame_ = ' ';
    std::string edit1_;
};

}  // namespace athanor
