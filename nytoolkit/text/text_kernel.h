// TextKernel: the text, the selection and the editing flags shared by the
// one-line text box and the multi-line text area. It decides which keys edit
// and applies them, moves the cursor, selects words, talks to the clipboard
// and keeps the undo history; the widgets only draw and scroll.
#pragma once

#include <cstdint>

#include "nycore/system/widget.h"
#include "nycore/text/text_buffer.h"
#include "nycore/xml/xml_node.h"
#include "nytoolkit/forms/loader.h"
#include "nytoolkit/text/edit_history.h"

namespace NyToolkit {

class TextKernel : public NyCore::Text::TextBuffer {
public:
    enum Flags : std::uint32_t { ReadOnly = 4, Numeric = 8, WantNewLine = 16, ShiftEnter = 32, Password = 128 };
    // What a key did, as bits: the widget redraws and reports accordingly.
    enum Outcome : int { Unchanged = 0, SelectionChanged = 1, TextChanged = 2 };
    // Character codes of the editing keys (Delete is the system key code).
    enum Keys : int { Backspace = 8, Tab = 9, LineFeed = 10, Escape = 27 };

    // The words of the "flags" parameter.
    static Loader::FlagDescrip const FlagWords[];

    // The owner's window serves the clipboard; without an owner the clipboard
    // operations do nothing.
    explicit TextKernel(NyCore::System::Widget* owner = nullptr) : clipboardOwner(owner) {}

    // The flag word of the element's "flags" (0 without an element); the
    // selection is unset (-1) until the text is set.
    void initilize(NyCore::XML::Element* element);

    // Whether the kernel acts on a character key: an edit, or one of the Ctrl
    // chords (A, C, X, V, Z, Y) that apply to this text. Read-only text acts
    // only on the chords that leave it as it is.
    bool isValidInput(int ch, int modifiers) const;
    // Applies one key that isValidInput accepts: a chord runs its command,
    // Backspace and Delete remove, any other character replaces the selection.
    void insertCharacter(int ch, int modifiers);
    // isValidInput, then insertCharacter; the Outcome bits of what changed.
    int typeKey(int ch, int modifiers);
    // The cursor offset a navigation key leads to (Home/Up the start, End/Down
    // the end, Left/Right one unit or, with Ctrl, one word).
    int handleNavigationKey(int key, int modifiers) const;
    // Moves the cursor to `to` (limited to the text); the anchor follows
    // unless extend. The Outcome bits.
    int moveCursor(int to, bool extend);
    // Widens the selection to the word around it (separators: blank, ';', line feed).
    void selectWord();
    void selectAll();

    bool clipboardCopy();
    bool clipboardCut();
    bool clipboardPaste();
    bool undo();
    bool redo();

    // Replaces the whole text (null empties it), puts the cursor at its end
    // and forgets the undo history.
    void setText(NyCore::String const* s);
    // Both offsets are limited to the text.
    void setSelection(int newAnchor, int newCursor);
    // Replaces the selection with the units (a read-only text included: this
    // is the program's own change) and leaves the anchor at the cursor after them.
    void replaceSelection(char16_t const* units, int n, EditHistory::Kind kind = EditHistory::Other);
    // A new String with the selected units.
    NyCore::String* selectedText() const;

    // The offsets as stored (-1 before any text was set).
    int get$cursor() const { return cursor; }
    int get$anchor() const { return anchor; }
    // The offsets as the editing uses them: an unset one counts as 0.
    int caret() const;
    int anchorAt() const;
    int selectionStart() const;
    int selectionEnd() const;
    bool hasSelection() const { return caret() != anchorAt(); }

    std::uint32_t get$flags() const { return flags; }
    void set$flags(std::uint32_t value) { flags = value; }
    bool isReadOnly() const { return (flags & ReadOnly) != 0; }
    EditHistory& get$history() { return history; }

    static bool isSeparator(char16_t unit);
    // The letter of a Ctrl chord ('a' … 'z', whether the keyboard gave the
    // letter or its control code), 0 when the key is no chord.
    static int chordLetter(int ch, int modifiers);

private:
    // Replaces [start, end) by the units, records the step and puts anchor and cursor after them.
    void replaceRange(int start, int end, char16_t const* units, int n, EditHistory::Kind kind);
    // The units a paste may put in: a numeric text keeps its characters, a
    // text without new lines gets blanks for them, carriage returns go.
    std::u16string pasteFilter(NyCore::String const* s) const;
    void apply(EditHistory::Edit const& edit, bool forward);

    // One step to either side of the unit before or at p, keeping surrogate pairs whole.
    int stepBack(int p) const;
    int stepForward(int p) const;

    NyCore::System::Widget* clipboardOwner;
    std::uint32_t flags = 0;
    // Counts the changes of the text, so that a key's outcome can tell them.
    int revision = 0;
    int anchor = -1;
    int cursor = -1;
    EditHistory history;
};

}
