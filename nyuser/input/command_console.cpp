// The command console: layout of the wrapped rows, the command line and its
// keys, the events, the mouse selection with the clipboard, the drawing of
// the rows with the blinking cursor, and scrolling.
#include "nyuser/input/command_console.h"

#include <algorithm>
#include <cstdlib>

#include "nycore/graphics/gc.h"
#include "nycore/graphics/gc_text.h"
#include "nycore/graphics/offscreen_pixmap.h"
#include "nycore/system/clipboard.h"
#include "nycore/system/method_thunk.h"
#include "nycore/text/string_functions.h"
#include "nytoolkit/text/text_kernel.h"

namespace NyUser::Input {

namespace WidgetFlags = NyCore::System::WidgetFlags;
namespace SystemKeys = NyCore::System::SystemKeys;
namespace KeyModifiers = NyCore::System::KeyModifiers;
using NyToolkit::Style;

namespace {

constexpr std::uint32_t BlinkInterval = 500;
constexpr int BoldItalicSize = 14;

NyCore::MethodEntry const CommandConsoleMethods[] = {{u"clear", NY_METHOD(CommandConsole::clear)},
                                                     {u"set$commandLine", NY_METHOD(CommandConsole::set$commandLine)},
                                                     {nullptr, nullptr}};
char16_t const* const CommandConsoleEvents[] = {u"enterPressed", u"escapePressed", u"dnArrowKeyPressed",
                                                u"upArrowKeyPressed", nullptr};

bool isBlank(char16_t unit)
{
    return unit == u' ';
}

}

NyCore::TypeData CommandConsole::MetaData = {&ScrollView::MetaData, nullptr, u"NyUser.Input.CommandConsole"_str,
                                             CommandConsoleMethods, CommandConsoleEvents, &CommandConsole::__create,
                                             sizeof(CommandConsole), 0, nullptr};

CommandConsole::CommandConsole() : stream(this) {}

CommandConsole::~CommandConsole()
{
    timer_destroy(&blinkTimer);
    for (int i = 1; i < 3; ++i) {
        if (fonts[i])
            fonts[i]->release();
    }
    string_free(command);
}

NyCore::Object* CommandConsole::__create()
{
    return new CommandConsole();
}

void CommandConsole::onCreate()
{
    ScrollView::onCreate();
    setStyleClass(Style::Display, false);
    viewFlags |= HBarHidden;
    moveScrollBars();
    fonts[1] = NyCore::Graphics::Font::create(u"courier new"_str, BoldItalicSize, NyCore::Graphics::Font::Bold);
    fonts[2] = NyCore::Graphics::Font::create(u"courier new"_str, BoldItalicSize, NyCore::Graphics::Font::Italic);
    setPointerIcon(NyCore::System::PointerShapes::TextBeam);
    layout();
    timer_construct(&blinkTimer, this, &CommandConsole::onBlink, BlinkInterval, NyCore::System::TimerOptions::Stopped);
}

NyCore::Graphics::Font* CommandConsole::getFont(int lineStyle) const
{
    if (lineStyle > 0 && lineStyle < 3 && fonts[lineStyle])
        return fonts[lineStyle];
    return style->get$font();
}

// ---- The text: the transcript, with the command line after its last unit.

int CommandConsole::lineBegin(int line) const
{
    return stream.getLine(line).start;
}

int CommandConsole::lineEnd(int line) const
{
    if (line < lastLine())
        return stream.getLine(line + 1).start - 1;
    return textEnd() + commandLength();
}

char16_t CommandConsole::unitAt(int offset) const
{
    return offset < textEnd() ? stream.unitAt(offset) : command->units()[offset - textEnd()];
}

std::u16string CommandConsole::textOf(int from, int to) const
{
    std::u16string text = stream.textOf(from, std::min(to, textEnd()));
    if (to > textEnd() && command)
        text.append(command->units() + std::max(0, from - textEnd()), command->units() + (to - textEnd()));
    return text;
}

// ---- Rows: every line takes as many rows of `columns` characters as it needs.

int CommandConsole::rowsOfLine(int line) const
{
    int length = lineEnd(line) - lineBegin(line);
    // The last line keeps a row for the cursor after a full row.
    if (line == lastLine())
        return length / columns + 1;
    return std::max(1, (length + columns - 1) / columns);
}

void CommandConsole::relayoutRows(int fromLine)
{
    int lines = lineCount();
    fromLine = std::clamp(fromLine, 0, std::min(lines - 1, static_cast<int>(rowStarts.size()) - 2));
    rowStarts.resize(static_cast<std::size_t>(lines) + 1);
    for (int line = fromLine; line < lines; ++line)
        rowStarts[static_cast<std::size_t>(line) + 1] = rowStarts[static_cast<std::size_t>(line)] + rowsOfLine(line);
    laidOutEnd = textEnd();
    extraRows = rowsOfLine(lastLine()) - 1;
    setVRange(get$rowCount(), visibleRows);
}

int CommandConsole::lineOfRow(int row) const
{
    auto after = std::upper_bound(rowStarts.begin(), rowStarts.end() - 1, row);
    return std::max(0, static_cast<int>(after - rowStarts.begin()) - 1);
}

int CommandConsole::rowOf(int offset) const
{
    int line = lastLine();
    while (line > 0 && lineBegin(line) > offset)
        --line;
    int row = (offset - lineBegin(line)) / columns;
    return rowStarts[static_cast<std::size_t>(line)] + std::min(row, rowsOfLine(line) - 1);
}

int CommandConsole::cursorRow() const
{
    int last = lastLine();
    return rowStarts[static_cast<std::size_t>(last)] + (textEnd() - lineBegin(last) + cursor) / columns;
}

std::vector<CommandConsole::Piece> CommandConsole::rowPieces(int row) const
{
    std::vector<Piece> pieces;
    if (row < 0 || row >= get$rowCount())
        return pieces;
    int line = lineOfRow(row);
    int begin = lineBegin(line) + (row - rowStarts[static_cast<std::size_t>(line)]) * columns;
    int end = std::min(begin + columns, lineEnd(line));
    std::uint32_t word = stream.getLine(line).color;
    int cuts[] = {textEnd(), get$selectionStart(), get$selectionEnd()};
    int at = begin;
    while (at < end) {
        int next = end;
        for (int cut : cuts)
            if (cut > at && cut < next)
                next = cut;
        bool inCommand = at >= textEnd();
        bool selected = at >= get$selectionStart() && at < get$selectionEnd();
        pieces.push_back({at, next, inCommand ? style->get$font() : getFont(static_cast<int>(word >> 24)),
                          inCommand ? getColor(Style::Text) : (word & 0xFFFFFF), selected});
        at = next;
    }
    if (pieces.empty())
        pieces.push_back({begin, begin, style->get$font(), getColor(Style::Text), false});
    return pieces;
}

int CommandConsole::xInRow(int row, int offset) const
{
    int x = 0;
    for (Piece const& piece : rowPieces(row)) {
        int n = std::min(offset, piece.end) - piece.begin;
        if (n <= 0)
            break;
        std::u16string text = textOf(piece.begin, piece.begin + n);
        x += piece.font->measureUnits(text.data(), n);
    }
    return x;
}

int CommandConsole::offsetAt(int x, int y) const
{
    int band = y - bandTop(0);
    int viewRow = band < 0 ? -1 : band / lineHeight;
    int row = std::clamp(get$vscroll() + viewRow, 0, get$rowCount() - 1);
    std::vector<Piece> pieces = rowPieces(row);
    int along = x - client.x - margin;
    int best = pieces.front().begin;
    int bestDistance = std::abs(along);
    int left = 0;
    for (Piece const& piece : pieces) {
        std::u16string text = textOf(piece.begin, piece.end);
        for (int k = 1; k <= static_cast<int>(text.size()); ++k) {
            int w = left + piece.font->measureUnits(text.data(), k);
            if (std::abs(along - w) < bestDistance) {
                best = piece.begin + k;
                bestDistance = std::abs(along - w);
            }
        }
        left += piece.font->measureUnits(text.data(), static_cast<int>(text.size()));
    }
    return best;
}

// ---- Layout.

void CommandConsole::layout()
{
    NyCore::Graphics::Font* font = style->get$font();
    fonts[0] = font;
    fontHeight = std::max(1, font->get$height());
    lineHeight = std::max(1, fontHeight * 4 / 3);
    margin = fontHeight / 3;
    cursorWidth = std::max(1, font->measureUnits(u"W", 1));
    // A console narrower or lower than one character still has one column and one row.
    columns = std::max(1, (client.width - 2 * margin) / cursorWidth);
    visibleRows = std::max(1, (client.height - 2 * margin) / lineHeight);
    laidOutClient = client;
    relayoutRows(0);
}

void CommandConsole::onStyleChange()
{
    moveScrollBars();
    layout();
    redraw();
}

bool CommandConsole::onResize(int dw, int dh)
{
    ScrollView::onResize(dw, dh);
    layout();
    if (displayFlags & FollowOutput)
        scrollToBottom();
    return true;
}

void CommandConsole::scrollToBottom()
{
    set$vscroll(get$rowCount() - visibleRows);
}

void CommandConsole::ensureCursorVisible()
{
    int row = cursorRow();
    int top = get$vscroll();
    if (row < top)
        set$vscroll(row);
    else if (row >= top + visibleRows)
        set$vscroll(row - visibleRows + 1);
}

// ---- Output and the command line.

void CommandConsole::updateLines(int first)
{
    limitSelectionTo(laidOutEnd);
    relayoutRows(first);
    if (displayFlags & FollowOutput)
        scrollToBottom();
    int from = rowStarts[static_cast<std::size_t>(std::clamp(first, 0, lastLine()))] - get$vscroll();
    paintViewRows(std::max(0, from), visibleRows);
}

void CommandConsole::updateCommand(bool scroll)
{
    showCursorNow();
    int oldRows = extraRows;
    relayoutRows(lastLine());
    if (scroll) {
        if (extraRows != oldRows)
            scrollToBottom();
        else
            ensureCursorVisible();
    }
    paintCommandRows();
}

void CommandConsole::set$commandLine(NyCore::String const* text)
{
    std::u16string units = text ? std::u16string(text->units(), static_cast<std::size_t>(text->count)) : u"";
    replaceCommand(units);
    cursor = commandLength();
    updateCommand(false);
}

void CommandConsole::clear()
{
    stream.clear();
    anchor = caret = 0;
    if (selecting) {
        selecting = false;
        pointerRelease();
    }
    relayoutRows(0);
    set$vscroll(0);
    paintViewRows(0, visibleRows);
}

void CommandConsole::replaceCommand(std::u16string const& text)
{
    limitSelectionTo(textEnd());
    NyCore::String* old = command;
    command = NyCore::String::create(text.data(), 0, static_cast<int>(text.size()));
    string_free(old);
}

void CommandConsole::insertText(std::u16string const& text)
{
    std::u16string units = command ? std::u16string(command->units(), static_cast<std::size_t>(command->count)) : u"";
    units.insert(static_cast<std::size_t>(cursor), text);
    replaceCommand(units);
    cursor += static_cast<int>(text.size());
    updateCommand(true);
}

void CommandConsole::moveCursor(int to)
{
    // The cursor never leaves the command line, whatever moved it.
    to = std::clamp(to, 0, commandLength());
    int oldRow = cursorRow();
    cursor = to;
    showCursorNow();
    ensureCursorVisible();
    paintRowOf(oldRow);
    paintRowOf(cursorRow());
}

int CommandConsole::wordLeft() const
{
    if (cursor <= 0)
        return 0;
    char16_t const* units = command->units();
    int p = cursor - 1;
    while (p > 0 && isBlank(units[p]))
        --p;
    while (p > 0 && !isBlank(units[p - 1]))
        --p;
    return p;
}

int CommandConsole::wordRight() const
{
    int length = commandLength();
    if (cursor >= length)
        return length;
    char16_t const* units = command->units();
    int p = cursor + 1;
    while (p < length && !isBlank(units[p]))
        ++p;
    while (p < length && isBlank(units[p]))
        ++p;
    return p;
}

void CommandConsole::paste()
{
    NyCore::String* pasted = NyCore::System::clipboard_get_text(this);
    if (!pasted)
        return;
    // The command line is one line: line breaks and tabs become blanks, other control codes go.
    std::u16string text;
    for (int i = 0; i < pasted->count; ++i) {
        char16_t unit = pasted->units()[i];
        if (unit == u'\n' || unit == u'\r' || unit == u'\t')
            text.push_back(u' ');
        else if (unit >= 32 && unit != 127)
            text.push_back(unit);
    }
    string_free(pasted);
    if (!text.empty())
        insertText(text);
}

// ---- Keys.

void CommandConsole::onCharKeyDown(int code, int modifiers)
{
    switch (NyToolkit::TextKernel::chordLetter(code, modifiers)) {
    case 'c':
        copySelection();
        return;
    case 'v':
        paste();
        return;
    case 0:
        break;
    default:
        return;
    }
    if (code == 10) {
        send(u"enterPressed");
        return;
    }
    if (code == 27) {
        send(u"escapePressed");
        return;
    }
    if (code == 8) {
        if (cursor > 0) {
            std::u16string units(command->units(), static_cast<std::size_t>(command->count));
            units.erase(static_cast<std::size_t>(cursor) - 1, 1);
            replaceCommand(units);
            --cursor;
            updateCommand(true);
        }
        return;
    }
    // Other control codes are nobody's text.
    if (code < 32 || code == 127 || code > 0x10FFFF)
        return;
    std::u16string text;
    if (code > 0xFFFF) {
        text.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
        text.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
    } else {
        text.push_back(static_cast<char16_t>(code));
    }
    insertText(text);
}

void CommandConsole::onSystemKeyDown(int code, int modifiers)
{
    bool ctrl = (modifiers & KeyModifiers::Ctrl) != 0;
    switch (code) {
    case SystemKeys::Left:
        moveCursor(ctrl ? wordLeft() : cursor - 1);
        return;
    case SystemKeys::Right:
        moveCursor(ctrl ? wordRight() : cursor + 1);
        return;
    case SystemKeys::Home:
        moveCursor(0);
        return;
    case SystemKeys::End:
        moveCursor(commandLength());
        return;
    case SystemKeys::Up:
    case SystemKeys::Down: {
        NyCore::Object::CallbackParams params{1, {modifiers}};
        send(code == SystemKeys::Up ? u"upArrowKeyPressed" : u"dnArrowKeyPressed", &params);
        return;
    }
    case SystemKeys::Delete:
        if (cursor < commandLength()) {
            std::u16string units(command->units(), static_cast<std::size_t>(command->count));
            units.erase(static_cast<std::size_t>(cursor), 1);
            replaceCommand(units);
            updateCommand(true);
        }
        return;
    case SystemKeys::PageUp:
        vPageUp();
        return;
    case SystemKeys::PageDown:
        vPageDown();
        return;
    case SystemKeys::Insert:
        if (ctrl)
            copySelection();
        else if (modifiers & KeyModifiers::Shift)
            paste();
        return;
    default:
        return;
    }
}

// ---- The selection.

void CommandConsole::setSelection(int from, int to)
{
    int limit = textEnd() + commandLength();
    anchor = std::clamp(from, 0, limit);
    caret = std::clamp(to, 0, limit);
    paintViewRows(0, visibleRows);
}

void CommandConsole::limitSelectionTo(int limit)
{
    // Text behind the limit is about to change: the selection gives up its part
    // of it rather than come to stand on other text. A drag goes on from there.
    anchor = std::min(anchor, limit);
    caret = std::min(caret, limit);
}

NyCore::String* CommandConsole::selectedText() const
{
    if (anchor == caret)
        return nullptr;
    std::u16string text = textOf(get$selectionStart(), get$selectionEnd());
    return NyCore::String::create(text.data(), 0, static_cast<int>(text.size()));
}

bool CommandConsole::copySelection()
{
    NyCore::String* text = selectedText();
    if (!text)
        return false;
    bool copied = NyCore::System::clipboard_set_text(this, text);
    string_free(text);
    return copied;
}

// ---- The mouse.

void CommandConsole::onMouseDown(int x, int y, int button, int keys)
{
    focus();
    if (button != 0 || mouseToBars(NyToolkit::InlineScroll::Press, x, y, keys) || !isPointInClient(x, y))
        return;
    int at = offsetAt(x, y);
    if (!(keys & NyCore::System::MouseKeys::Shift))
        anchor = at;
    caret = at;
    selecting = true;
    pointerCapture();
    paintViewRows(0, visibleRows);
}

void CommandConsole::onMouseMove(int x, int y, int keys)
{
    if (!selecting) {
        ScrollView::onMouseMove(x, y, keys);
        return;
    }
    // Dragging past the top or the bottom scrolls a row at a time.
    if (y < client.y)
        set$vscroll(get$vscroll() - 1);
    else if (y >= client.y + client.height)
        set$vscroll(get$vscroll() + 1);
    int at = offsetAt(x, y);
    if (at != caret) {
        caret = at;
        paintViewRows(0, visibleRows);
    }
}

void CommandConsole::onMouseUp(int x, int y, int button, int keys)
{
    if (button != 0 || !selecting) {
        ScrollView::onMouseUp(x, y, button, keys);
        return;
    }
    selecting = false;
    pointerRelease();
}

void CommandConsole::onDoubleClick(int x, int y, int button, int keys)
{
    focus();
    if (button != 0 || mouseToBars(NyToolkit::InlineScroll::Press, x, y, keys) || !isPointInClient(x, y))
        return;
    // The word under the pointer, within its row's line.
    int at = offsetAt(x, y);
    int line = lineOfRow(rowOf(at));
    int from = at;
    int to = at;
    while (from > lineBegin(line) && !isBlank(unitAt(from - 1)))
        --from;
    while (to < lineEnd(line) && !isBlank(unitAt(to)))
        ++to;
    setSelection(from, to);
}

// ---- Drawing.

bool CommandConsole::canPaint() const
{
    return window && !(flags & WidgetFlags::DrawingSuppressed) && client.width > 0 && client.height > 0;
}

// The top of a row's band: the text stands margin pixels below the client's
// top, and the band reaches half the line gap above and below it.
int CommandConsole::bandTop(int viewRow) const
{
    return client.y + margin - (lineHeight - fontHeight) / 2 + viewRow * lineHeight;
}

void CommandConsole::paintRow(NyCore::Graphics::GC* gc, int row, int bandY)
{
    int textY = bandY + (lineHeight - fontHeight) / 2;
    int x = client.x + margin;
    bool focused = (flags & WidgetFlags::HasFocus) != 0;
    NyCore::Graphics::Font* plain = style->get$font();
    for (Piece const& piece : rowPieces(row)) {
        std::u16string text = textOf(piece.begin, piece.end);
        int n = static_cast<int>(text.size());
        int w = piece.font->measureUnits(text.data(), n);
        if (piece.selected) {
            gc_set_background(gc, focused ? getColor(Style::HighlightBackground) : getColor(Style::Separator));
            gc_rect_fill(gc, x, bandY, w, lineHeight);
        }
        gc_set_font(gc, piece.font);
        gc_set_foreground(gc, piece.selected && focused ? getColor(Style::HighlightText) : piece.color);
        // Fonts of other sizes share the plain font's baseline.
        int y = textY + plain->get$ascent() - piece.font->get$ascent();
        gc_characters(gc, text.data(), 0, n, x, y, w, lineHeight, 0);
        x += w;
    }
    if ((displayFlags & CursorShown) && row == cursorRow()) {
        int cx = client.x + margin + xInRow(row, textEnd() + cursor);
        gc_invert_rect(gc, cx, textY + fontHeight * 4 / 5, cursorWidth, std::max(1, 2 * style->get$gap()));
    }
}

void CommandConsole::onDraw(NyCore::Graphics::GC* gc)
{
    // Hiding the border or a bar moves the client edges without a resize; they all redraw.
    if (client.width != laidOutClient.width || client.height != laidOutClient.height)
        layout();
    gc_set_background(gc, getColor(Style::Background));
    gc_rect_fill(gc, 0, 0, width, height);
    drawFrame(gc);
    if (client.width <= 0 || client.height <= 0)
        return;
    gc_set_clip(gc, client.x, client.y, client.width, client.height);
    int top = get$vscroll();
    for (int r = 0; r < visibleRows; ++r)
        paintRow(gc, top + r, bandTop(r));
    gc_set_clip(gc, 0, 0, 0, 0);
}

void CommandConsole::paintViewRows(int from, int to)
{
    from = std::max(from, 0);
    to = std::min(to, visibleRows);
    if (!canPaint() || from >= to)
        return;
    int y0 = bandTop(from);
    int y1 = bandTop(to);
    int shownTop = std::max(y0, client.y);
    int shownBottom = std::min(y1, client.y + client.height);
    if (shownBottom <= shownTop)
        return;
    NyCore::Graphics::OffscreenPixmap picture(client.width + client.x, y1 - y0);
    NyCore::Graphics::GC* pgc = picture.get$gc();
    gc_set_background(pgc, getColor(Style::Background));
    gc_rect_fill(pgc, 0, 0, client.x + client.width, y1 - y0);
    // The picture keeps the window's x so that rows are drawn as onDraw draws them.
    gc_set_clip(pgc, client.x, 0, client.width, y1 - y0);
    int top = get$vscroll();
    for (int r = from; r < to; ++r)
        paintRow(pgc, top + r, (r - from) * lineHeight);
    NyCore::Graphics::GC wgc;
    wgc_construct(&wgc, window);
    gc_copy_rect(&wgc, client.x, shownTop, pgc, client.x, shownTop - y0, client.width, shownBottom - shownTop);
    gc_flush(&wgc);
    wgc_destroy(&wgc);
}

void CommandConsole::paintRowOf(int row)
{
    int viewRow = row - get$vscroll();
    paintViewRows(viewRow, viewRow + 1);
}

void CommandConsole::paintCommandRows()
{
    // From the last line's first row to the bottom, so that a row the command line gave up is cleared.
    paintViewRows(rowStarts[static_cast<std::size_t>(lastLine())] - get$vscroll(), visibleRows);
}

// ---- Focus and the cursor.

void CommandConsole::showCursorNow()
{
    if (flags & WidgetFlags::HasFocus)
        displayFlags |= CursorShown | SkipBlink;
}

void CommandConsole::onBlink(NyCore::System::Widget* widget)
{
    auto* console = static_cast<CommandConsole*>(widget);
    if (console->displayFlags & SkipBlink) {
        console->displayFlags &= ~SkipBlink;
        return;
    }
    console->displayFlags ^= CursorShown;
    console->paintRowOf(console->cursorRow());
}

void CommandConsole::onFocusGained()
{
    showCursorNow();
    timer_reset(&blinkTimer, nullptr, 0);
    paintRowOf(cursorRow());
}

void CommandConsole::onFocusLost()
{
    timer_pause(&blinkTimer);
    displayFlags &= ~(CursorShown | SkipBlink);
    paintRowOf(cursorRow());
}

// ---- Scrolling.

void CommandConsole::onVScroll(int change)
{
    if (change == 0 || !canPaint())
        return;
    if (std::abs(change) >= visibleRows) {
        paintViewRows(0, visibleRows);
        return;
    }
    // The rows that stay in view move by a block copy; only the uncovered ones are drawn.
    NyCore::Graphics::GC wgc;
    wgc_construct(&wgc, window);
    int kept = visibleRows - std::abs(change);
    int from = change > 0 ? change : 0;
    int to = change > 0 ? 0 : -change;
    gc_copy_rect(&wgc, client.x, bandTop(to), &wgc, client.x, bandTop(from), client.width, kept * lineHeight);
    gc_flush(&wgc);
    wgc_destroy(&wgc);
    if (change > 0)
        paintViewRows(kept, visibleRows);
    else
        paintViewRows(0, -change);
    paintCommandRows();
}

void CommandConsole::onHScroll(int) {}

}
