// EditHistory: the undo and redo steps of a text kernel. Each step records one
// replacement (a range removed and a text put in its place) with the selection
// it replaced, so undoing restores both the text and the selection. Runs of
// typing, of Backspace and of Delete merge into one step per word.
#pragma once

#include <string>
#include <vector>

namespace NyToolkit {

class EditHistory {
public:
    // What made a step; only steps of the same kind that continue each other merge.
    enum Kind { Other = 0, Typing, Erasing, Deleting };

    struct Edit {
        int position;
        std::u16string removed;
        std::u16string inserted;
        int anchorBefore;
        int cursorBefore;
        Kind kind;
    };

    // Keeps a replacement of `removed` by `inserted` at position; forgets the
    // steps that were undone.
    void record(int position, std::u16string const& removed, std::u16string const& inserted, int anchorBefore,
                int cursorBefore, Kind kind);
    // The step to take back (null when none); the caller applies it in reverse.
    Edit const* undo();
    // The step to take again (null when none).
    Edit const* redo();
    // The next step starts anew even when it continues the last one.
    void seal() { open = false; }
    void clear();

    bool canUndo() const { return done > 0; }
    bool canRedo() const { return done < edits.size(); }

private:
    bool merge(int position, std::u16string const& removed, std::u16string const& inserted, Kind kind);

    std::vector<Edit> edits;
    // Steps [0, done) are applied; the rest were undone.
    std::size_t done = 0;
    bool open = false;
};

}
