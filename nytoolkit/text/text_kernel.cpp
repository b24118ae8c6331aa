// The editing rules of the text box and the text area.
#include "nytoolkit/text/text_kernel.h"

#include <algorithm>

#include "nycore/system/clipboard.h"
#include "nycore/text/string_functions.h"

namespace NyToolkit {

namespace KeyModifiers = NyCore::System::KeyModifiers;
namespace SystemKeys = NyCore::System::SystemKeys;

Loader::FlagDescrip const TextKernel::FlagWords[] = {
    {u"ReadOnly"_str, ReadOnly},       {u"Numeric"_str, Numeric}, {u"WantNewLine"_str, WantNewLine},
    {u"ShiftEnter"_str, ShiftEnter},   {u"Password"_str, Password}, {nullptr, 0}};

namespace {

bool isNumericUnit(int ch)
{
    return (ch >= '0' && ch <= '9') || ch == '.' || ch == '-';
}

}

bool TextKernel::isSeparator(char16_t unit)
{
    return unit == u' ' || unit == u';' || unit == u'\n';
}

int TextKernel::chordLetter(int ch, int modifiers)
{
    if (!(modifiers & KeyModifiers::Ctrl))
        return 0;
    // With Ctrl held the keyboard gives letters as control codes; Backspace,
    // Tab and Enter keep their own codes.
    if (ch >= 1 && ch <= 26 && ch != Backspace && ch != Tab && ch != LineFeed && ch != 13)
        return 'a' + ch - 1;
    if (ch >= 'a' && ch <= 'z')
        return ch;
    if (ch >= 'A' && ch <= 'Z')
        return ch - 'A' + 'a';
    return 0;
}

void TextKernel::initilize(NyCore::XML::Element* element)
{
    flags = element ? Loader::flagsParse(xml_get_attribute(element, u"flags"), FlagWords) : 0;
    anchor = -1;
    cursor = -1;
}

int TextKernel::caret() const
{
    return std::clamp(cursor, 0, get$length());
}

int TextKernel::anchorAt() const
{
    return std::clamp(anchor, 0, get$length());
}

int TextKernel::selectionStart() const
{
    return std::min(caret(), anchorAt());
}

int TextKernel::selectionEnd() const
{
    return std::max(caret(), anchorAt());
}

int TextKernel::stepBack(int p) const
{
    if (p <= 0)
        return 0;
    char16_t const* u = units();
    if (p >= 2 && u[p - 1] >= 0xDC00 && u[p - 1] <= 0xDFFF && u[p - 2] >= 0xD800 && u[p - 2] <= 0xDBFF)
        return p - 2;
    return p - 1;
}

int TextKernel::stepForward(int p) const
{
    int length = get$length();
    if (p >= length)
        return length;
    char16_t const* u = units();
    if (p + 1 < length && u[p] >= 0xD800 && u[p] <= 0xDBFF && u[p + 1] >= 0xDC00 && u[p + 1] <= 0xDFFF)
        return p + 2;
    return p + 1;
}

bool TextKernel::isValidInput(int ch, int modifiers) const
{
    if (ch == Tab || ch == Escape)
        return false;
    int chord = chordLetter(ch, modifiers);
    // Read-only comes first: no key, Enter included, may change the text.
    if (isReadOnly())
        return chord == 'c' || chord == 'a';
    if (chord)
        return chord == 'a' || chord == 'c' || chord == 'x' || chord == 'v' || chord == 'z' || chord == 'y';
    if (ch == Backspace || ch == SystemKeys::Delete)
        return true;
    if (ch == LineFeed)
        return (flags & WantNewLine) || ((flags & ShiftEnter) && (modifiers & KeyModifiers::Shift));
    // Other Ctrl chords are shortcuts of someone else, never characters.
    if ((modifiers & KeyModifiers::Ctrl) || ch < 32 || ch == 127 || ch > 0x10FFFF)
        return false;
    if (flags & Numeric)
        return isNumericUnit(ch);
    return true;
}

void TextKernel::insertCharacter(int ch, int modifiers)
{
    switch (chordLetter(ch, modifiers)) {
    case 'a': selectAll(); return;
    case 'c': clipboardCopy(); return;
    case 'x': clipboardCut(); return;
    case 'v': clipboardPaste(); return;
    case 'z':
        if (modifiers & KeyModifiers::Shift)
            redo();
        else
            undo();
        return;
    case 'y': redo(); return;
    case 0: break;
    default: return;
    }
    if (isReadOnly())
        return;
    int start = selectionStart();
    int end = selectionEnd();
    if (ch == Backspace || ch == SystemKeys::Delete) {
        if (start != end)
            replaceRange(start, end, nullptr, 0, EditHistory::Other);
        else if (ch == Backspace && start > 0)
            replaceRange(stepBack(start), start, nullptr, 0, EditHistory::Erasing);
        else if (ch == SystemKeys::Delete && start < get$length())
            replaceRange(start, stepForward(start), nullptr, 0, EditHistory::Deleting);
        return;
    }
    if (ch < 0 || (modifiers & KeyModifiers::Ctrl && ch != LineFeed))
        return;
    char16_t pair[2];
    int n = 1;
    if (ch > 0xFFFF) {
        pair[0] = static_cast<char16_t>(0xD800 + ((ch - 0x10000) >> 10));
        pair[1] = static_cast<char16_t>(0xDC00 + ((ch - 0x10000) & 0x3FF));
        n = 2;
    } else {
        pair[0] = static_cast<char16_t>(ch);
    }
    replaceRange(start, end, pair, n, EditHistory::Typing);
}

int TextKernel::typeKey(int ch, int modifiers)
{
    if (!isValidInput(ch, modifiers))
        return Unchanged;
    int oldRevision = revision;
    int oldAnchor = anchor;
    int oldCursor = cursor;
    insertCharacter(ch, modifiers);
    return (revision != oldRevision ? TextChanged : 0) |
           (anchor != oldAnchor || cursor != oldCursor ? SelectionChanged : 0);
}

int TextKernel::handleNavigationKey(int key, int modifiers) const
{
    int p = caret();
    int length = get$length();
    char16_t const* u = units();
    bool ctrl = (modifiers & KeyModifiers::Ctrl) != 0;
    switch (key) {
    case SystemKeys::Home:
    case SystemKeys::Up:
        return 0;
    case SystemKeys::End:
    case SystemKeys::Down:
        return length;
    case SystemKeys::Left:
        if (!ctrl)
            return stepBack(p);
        while (p > 0 && isSeparator(u[p - 1]))
            --p;
        while (p > 0 && !isSeparator(u[p - 1]))
            --p;
        return p;
    case SystemKeys::Right:
        if (!ctrl)
            return stepForward(p);
        while (p < length && !isSeparator(u[p]))
            ++p;
        while (p < length && isSeparator(u[p]))
            ++p;
        return p;
    default:
        return p;
    }
}

int TextKernel::moveCursor(int to, bool extend)
{
    history.seal();
    int oldAnchor = anchor;
    int oldCursor = cursor;
    to = std::clamp(to, 0, get$length());
    anchor = extend ? anchorAt() : to;
    cursor = to;
    return anchor != oldAnchor || cursor != oldCursor ? SelectionChanged : Unchanged;
}

void TextKernel::selectWord()
{
    history.seal();
    char16_t const* u = units();
    int length = get$length();
    int a = anchorAt();
    if (a < length && isSeparator(u[a]))
        ++a;
    else
        while (a > 0 && !isSeparator(u[a - 1]))
            --a;
    int c = caret();
    while (c < length && !isSeparator(u[c]))
        ++c;
    anchor = a;
    cursor = c;
}

void TextKernel::selectAll()
{
    history.seal();
    anchor = 0;
    cursor = get$length();
}

NyCore::String* TextKernel::selectedText() const
{
    int start = selectionStart();
    return NyCore::String::create(units(), start, selectionEnd() - start);
}

bool TextKernel::clipboardCopy()
{
    // A password never leaves its box.
    if (!hasSelection() || (flags & Password) || !clipboardOwner || !clipboardOwner->get$nativeWindow())
        return false;
    NyCore::String* selected = selectedText();
    NyCore::System::clipboard_set_text(clipboardOwner, selected);
    string_free(selected);
    return true;
}

bool TextKernel::clipboardCut()
{
    if (isReadOnly() || !clipboardCopy())
        return false;
    replaceRange(selectionStart(), selectionEnd(), nullptr, 0, EditHistory::Other);
    return true;
}

bool TextKernel::clipboardPaste()
{
    if (isReadOnly() || !clipboardOwner || !clipboardOwner->get$nativeWindow())
        return false;
    NyCore::String* got = NyCore::System::clipboard_get_text(clipboardOwner);
    std::u16string pasted = pasteFilter(got);
    string_free(got);
    if (pasted.empty())
        return false;
    replaceRange(selectionStart(), selectionEnd(), pasted.data(), static_cast<int>(pasted.size()),
                 EditHistory::Other);
    return true;
}

std::u16string TextKernel::pasteFilter(NyCore::String const* s) const
{
    std::u16string kept;
    if (!s)
        return kept;
    bool newLines = (flags & (WantNewLine | ShiftEnter)) != 0;
    for (int i = 0; i < s->count; ++i) {
        char16_t unit = s->units()[i];
        if (unit == u'\r')
            continue;
        if (flags & Numeric) {
            if (isNumericUnit(unit))
                kept += unit;
        } else if (unit == u'\n') {
            kept += newLines ? u'\n' : u' ';
        } else if (unit >= 32 || unit == u'\t') {
            kept += unit;
        }
    }
    return kept;
}

bool TextKernel::undo()
{
    if (isReadOnly())
        return false;
    EditHistory::Edit const* edit = history.undo();
    if (edit)
        apply(*edit, false);
    return edit != nullptr;
}

bool TextKernel::redo()
{
    if (isReadOnly())
        return false;
    EditHistory::Edit const* edit = history.redo();
    if (edit)
        apply(*edit, true);
    return edit != nullptr;
}

void TextKernel::apply(EditHistory::Edit const& edit, bool forward)
{
    std::u16string const& out = forward ? edit.removed : edit.inserted;
    std::u16string const& in = forward ? edit.inserted : edit.removed;
    if (!out.empty())
        remove(edit.position, static_cast<int>(out.size()));
    insertUnits(edit.position, in.data(), static_cast<int>(in.size()));
    ++revision;
    if (forward) {
        anchor = cursor = edit.position + static_cast<int>(in.size());
    } else {
        anchor = edit.anchorBefore;
        cursor = edit.cursorBefore;
    }
}

void TextKernel::setText(NyCore::String const* s)
{
    // The buffer's own text may be passed back in; set keeps it then.
    set(s);
    anchor = cursor = get$length();
    history.clear();
    ++revision;
}

void TextKernel::setSelection(int newAnchor, int newCursor)
{
    history.seal();
    anchor = std::clamp(newAnchor, 0, get$length());
    cursor = std::clamp(newCursor, 0, get$length());
}

void TextKernel::replaceSelection(char16_t const* newUnits, int n, EditHistory::Kind kind)
{
    replaceRange(selectionStart(), selectionEnd(), newUnits, n, kind);
}

void TextKernel::replaceRange(int start, int end, char16_t const* newUnits, int n, EditHistory::Kind kind)
{
    std::u16string removed(units() + start, units() + end);
    std::u16string inserted = newUnits ? std::u16string(newUnits, static_cast<std::size_t>(n)) : std::u16string();
    history.record(start, removed, inserted, anchorAt(), caret(), kind);
    if (end > start)
        remove(start, end - start);
    insertUnits(start, inserted.data(), static_cast<int>(inserted.size()));
    anchor = cursor = start + static_cast<int>(inserted.size());
    ++revision;
}

}
