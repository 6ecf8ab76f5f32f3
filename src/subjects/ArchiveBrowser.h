#pragma once
#include "subjects/Archive.h"

#include <optional>
#include <string>
#include <vector>

namespace athanor {

// The name browser of the retrieval, delete and modify windows: a list of index entries
// around a centre c, moved by typing the first letters of a name, by the scroll bar and by
// the keys of the list. The three windows differ only in the numbers of BrowserLayout.
struct BrowserLayout {
    int lines;           // list lines
    int above;           // lines above the centre in the long list
    int shortBelow;      // the short list (entries 1..n) is shown while n < shortBelow
    int startThreshold;  // start centre: startShort while n < startThreshold, else startLong
    int startShort;
    int startLong;
    int clampLow;  // typing and thumb keep c in clampLow .. n - clampGap
    int clampGap;
    int lineUpMin;    // a line up only while c > lineUpMin
    int lineDownGap;  // a line down only while c < n - lineDownGap
    int page;
    int pageUpMin;    // a page up only while c > pageUpMin
    int pageDownGap;  // a page down only while c < n - pageDownGap
    const char* noMatchMessage;

    static const BrowserLayout retrieval;
    static const BrowserLayout deletion;
    static const BrowserLayout modification;
};

inline constexpr const char* kEmptyArchiveLine = "ARCHIVIO VUOTO";
inline constexpr const char* kArchiveRefused = "Nombre de archivo no admitido";

class ArchiveBrowser {
public:
    enum class Colour { None, Red, Aqua };

    explicit ArchiveBrowser(const BrowserLayout& layout) : layout_(layout) {}

    // Opens an archive: n and the start centre. TMPR is refused (false); the caller shows
    // kArchiveRefused.
    bool open(const Archive& archive);
    void close();
    bool isOpen() const { return archive_.has_value(); }
    const Archive& archive() const { return *archive_; }

    int count() const { return n_; }
    int centre() const { return c_; }
    bool shortList() const { return n_ < layout_.shortBelow; }
    bool enabled() const { return isOpen() && n_ > 0; }

    // The list lines: the full 43-character entries, or the single kEmptyArchiveLine.
    std::vector<std::string> lines() const;
    // The index position shown on list line i (0-based); 0 when the line shows nothing.
    int positionOfLine(int line) const;

    // Typing in the name field: Enter is ignored, Backspace ('\b') removes the last
    // character, other keys are upper-cased and appended; the centre follows the name search.
    void typeKey(char key);
    // The name field receives the focus: emptied, red, prefix and pick forgotten.
    void enterField();

    // Scroll bar.
    void lineDown();
    void lineUp();
    void pageDown();
    void pageUp();
    void thumb(int position);

    // Keys of the list: Down on the last line and Up on the first move the centre; the
    // selected line's entry is copied into the field after a move down.
    void keyDownOnLastLine();
    void keyUpOnFirstLine();

    // A click on list line i picks that entry.
    void clickLine(int line);

    // What a double click or Enter asks for: the position to load, or a message.
    struct Action {
        int load = 0;         // index position to load; 0 for none
        std::string message;  // when set, the caller shows it
    };
    // Double click on the list: loads the picked line when the field holds text.
    Action doubleClick() const;
    // Enter in the list on line i: loads it when the typed prefix begins it.
    Action enterInList(int line);
    // Enter in the field: loads the entry the typed text picked (the first it begins).
    Action enterInField() const;
    // The list line of the picked entry, when the list shows it.
    std::optional<int> pickedLine() const;

    // After the entry at the picked position has been removed (delete window): n one less,
    // the centre one up when past 9, back to 1 when the list becomes short.
    void afterRemoval();

    void setLoaded(bool loaded) { loaded_ = loaded; }
    bool loaded() const { return loaded_; }

    const std::string& prefix() const { return prefix_; }
    const std::string& fieldText() const { return field_; }
    Colour fieldColour() const { return colour_; }
    int picked() const { return picked_; }

private:
    void clampCentre();
    std::string entryAt(int position) const;

    BrowserLayout layout_;
    std::optional<Archive> archive_;
    int n_ = 0;
    int c_ = 0;
    std::string prefix_;
    std::string field_;
    Colour colour_ = Colour::None;
    int picked_ = 0;
    bool loaded_ = false;
};

}  // namespace athanor
