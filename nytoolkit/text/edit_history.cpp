// The undo and redo steps of the text editors.
#include "nytoolkit/text/edit_history.h"

namespace NyToolkit {

namespace {

// Word boundaries end a merged run of typing, so undo takes back a word at a time.
bool isBreak(char16_t unit)
{
    return unit == u' ' || unit == u'\n' || unit == u';' || unit == u'\t';
}

}

void EditHistory::record(int position, std::u16string const& removed, std::u16string const& inserted,
                         int anchorBefore, int cursorBefore, Kind kind)
{
    if (removed.empty() && inserted.empty())
        return;
    edits.resize(done);
    if (!(open && merge(position, removed, inserted, kind)))
        edits.push_back(Edit{position, removed, inserted, anchorBefore, cursorBefore, kind});
    done = edits.size();
    open = kind != Other;
}

bool EditHistory::merge(int position, std::u16string const& removed, std::u16string const& inserted, Kind kind)
{
    if (edits.empty())
        return false;
    Edit& last = edits.back();
    if (last.kind != kind)
        return false;
    switch (kind) {
    case Typing:
        if (!removed.empty() || position != last.position + static_cast<int>(last.inserted.size()))
            return false;
        if (!last.inserted.empty() && isBreak(last.inserted.back()) && !isBreak(inserted.front()))
            return false;
        last.inserted += inserted;
        return true;
    case Erasing:
        if (!inserted.empty() || position + static_cast<int>(removed.size()) != last.position)
            return false;
        last.removed.insert(0, removed);
        last.position = position;
        return true;
    case Deleting:
        if (!inserted.empty() || position != last.position)
            return false;
        last.removed += removed;
        return true;
    default:
        return false;
    }
}

EditHistory::Edit const* EditHistory::undo()
{
    open = false;
    if (done == 0)
        return nullptr;
    return &edits[--done];
}

EditHistory::Edit const* EditHistory::redo()
{
    open = false;
    if (done >= edits.size())
        return nullptr;
    return &edits[done++];
}

void EditHistory::clear()
{
    edits.clear();
    done = 0;
    open = false;
}

}
