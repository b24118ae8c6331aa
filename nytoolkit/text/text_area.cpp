// The multi-line text area.
#include "nytoolkit/text/text_area.h"

#include <algorithm>
#include <cstdlib>

#include "nycore/graphics/color.h"
#include "nycore/graphics/gc.h"
#include "nycore/graphics/gc_text.h"
#include "nycore/graphics/offscreen_pixmap.h"
#include "nycore/system/method_thunk.h"
#include "nycore/text/string_functions.h"
#include "nycore/xml/xml_node.h"

namespace NyToolkit {

namespace WidgetFlags = NyCore::System::WidgetFlags;
namespace SystemKeys = NyCore::System::SystemKeys;
namespace KeyModifiers = NyCore::System::KeyModifiers;

namespace {

constexpr std::uint32_t BlinkInterval = 530;

NyCore::MethodEntry const TextAreaMethods[] = {
    {u"setText", NY_METHOD(TextArea::setText)},
    {u"setSelection", NY_METHOD(TextArea::setSelection)},
    {u"selectAll", NY_METHOD(TextArea::selectAll)},
    {nullptr, nullptr}};
char16_t const* const TextAreaEvents[] = {u"characterEntered", u"enterPressed", nullptr};

// The text and CDATA children of the element, joined.
std::u16string textContent(NyCore::XML::Element const* element)
{
    std::u16string joined;
    for (NyCore::XML::Node* node = xml_first_child(element); node; node = xml_next_sibling(node)) {
        int kind = xml_get_type(node);
        NyCore::String const* value = xml_get_value(node);
        if ((kind == NyCore::XML::TextNode || kind == NyCore::XML::CDataSectionNode) && value)
            joined.append(value->units(), static_cast<std::size_t>(value->count));
    }
    return joined;
}

}

NyCore::TypeData TextArea::MetaData = {&ScrollView::MetaData, nullptr, u"NyToolkit.TextArea"_str, TextAreaMethods,
                                       TextAreaEvents, &TextArea::__create, sizeof(TextArea), 0, nullptr};

TextArea::TextArea() : kernel(this) {}

TextArea::~TextArea()
{
    timer_destroy(&blinkTimer);
}

NyCore::Object* TextArea::__create()
{
    return new TextArea();
}

void TextArea::onCreate()
{
    ScrollView::onCreate();
    setStyleClass(Style::Display, false);
    viewFlags |= HBarHidden;
    padding = static_cast<std::uint16_t>(style->get$font()->get$height() / 4);
    moveScrollBars();
    kernel.initilize(nullptr);
    setPointerIcon(NyCore::System::PointerShapes::TextBeam);
    relayout();
}

void TextArea::setParameters(NyCore::XML::Element* element)
{
    kernel.initilize(element);
    std::u16string text = textContent(element);
    NyCore::String* initial = NyCore::String::create(text.data(), 0, static_cast<int>(text.size()));
    setText(initial);
    string_free(initial);
}

void TextArea::setText(NyCore::String const* text)
{
    kernel.setText(text);
    relayout();
    scrollX = 0;
    scrollToCaret();
    redraw();
}

void TextArea::setSelection(int start, int length)
{
    // The end first, so that scrolling to the caret brings the start into view last.
    kernel.setSelection(start + length, start);
    scrollToCaret();
    redraw();
}

void TextArea::selectAll()
{
    kernel.selectAll();
    redraw();
}

void TextArea::set$textFlags(std::uint32_t flags)
{
    kernel.set$flags(flags);
    redraw();
}

void TextArea::set$readOnly(bool readOnly)
{
    std::uint32_t flags = kernel.get$flags();
    set$textFlags(readOnly ? flags | TextKernel::ReadOnly : flags & ~TextKernel::ReadOnly);
}

int TextArea::get$lineHeight() const
{
    return std::max(1, style->get$font()->get$height());
}

int TextArea::lineOf(int offset) const
{
    auto after = std::upper_bound(lineStarts.begin(), lineStarts.end(), offset);
    return static_cast<int>(after - lineStarts.begin()) - 1;
}

int TextArea::lineStart(int line) const
{
    return lineStarts[static_cast<std::size_t>(std::clamp(line, 0, get$lineCount() - 1))];
}

int TextArea::lineEnd(int line) const
{
    return line + 1 < get$lineCount() ? lineStarts[static_cast<std::size_t>(line + 1)] - 1 : kernel.get$length();
}

std::u16string TextArea::shownLine(int line) const
{
    int start = lineStart(line);
    std::size_t n = static_cast<std::size_t>(lineEnd(line) - start);
    if (kernel.get$flags() & TextKernel::Password)
        return std::u16string(n, u'*');
    return std::u16string(kernel.units() + start, n);
}

int TextArea::xInLine(int line, int offset) const
{
    std::u16string text = shownLine(line);
    return style->get$font()->measureUnits(text.data(), offset - lineStart(line));
}

int TextArea::offsetInLine(int line, int x) const
{
    std::u16string text = shownLine(line);
    NyCore::Graphics::Font* font = style->get$font();
    int best = 0;
    int bestDistance = std::abs(x);
    for (int k = 1; k <= static_cast<int>(text.size()); ++k) {
        int w = font->measureUnits(text.data(), k);
        if (std::abs(x - w) < bestDistance) {
            best = k;
            bestDistance = std::abs(x - w);
        }
        if (w >= x)
            break;
    }
    return lineStart(line) + best;
}

int TextArea::offsetAt(int x, int y) const
{
    int row = y - client.y;
    int line = get$vscroll() + (row < 0 ? -1 : row / get$lineHeight());
    line = std::clamp(line, 0, get$lineCount() - 1);
    return offsetInLine(line, x - client.x + scrollX);
}

NyCore::System::WidgetPoint TextArea::caretPoint() const
{
    int line = lineOf(kernel.caret());
    return {client.x - scrollX + xInLine(line, kernel.caret()), client.y + (line - get$vscroll()) * get$lineHeight()};
}

void TextArea::relayout()
{
    lineStarts.assign(1, 0);
    char16_t const* units = kernel.units();
    for (int i = 0; i < kernel.get$length(); ++i)
        if (units[i] == u'\n')
            lineStarts.push_back(i + 1);
    setVRange(get$lineCount(), std::max(1, client.height / get$lineHeight()));
}

bool TextArea::scrollToCaret()
{
    int line = lineOf(kernel.caret());
    int top = get$vscroll();
    int page = std::max(1, client.height / get$lineHeight());
    bool moved = false;
    if (line < top || line >= top + page) {
        set$vscroll(line < top ? line : line - page + 1);
        moved = get$vscroll() != top;
    }
    int at = xInLine(line, kernel.caret());
    int old = scrollX;
    if (at - scrollX > client.width - 1)
        scrollX = at - client.width + 1;
    else if (at < scrollX)
        scrollX = std::max(0, at - client.width / 3);
    if (scrollX != old) {
        redraw();
        moved = true;
    }
    return moved;
}

void TextArea::onVScroll(int change)
{
    if (change != 0)
        redraw();
}

void TextArea::paintLine(NyCore::Graphics::GC* gc, int line, int left, int top)
{
    NyCore::Graphics::Font* font = style->get$font();
    int h = font->get$height();
    bool focused = (flags & WidgetFlags::HasFocus) != 0;
    std::uint32_t ink = (flags & WidgetFlags::Disabled) ? getColor(Style::Dim) : getColor(Style::Text);
    std::u16string text = shownLine(line);
    int n = static_cast<int>(text.size());
    int ls = lineStart(line);
    int le = lineEnd(line);
    int selStart = kernel.selectionStart();
    int selEnd = kernel.selectionEnd();
    int s = std::clamp(selStart - ls, 0, n);
    int e = std::clamp(selEnd - ls, 0, n);
    int xs = left + font->measureUnits(text.data(), s);
    int xe = left + font->measureUnits(text.data(), e);
    gc_set_font(gc, font);
    gc_set_foreground(gc, ink);
    gc_characters(gc, text.data(), 0, s, left, top, xs - left, h, 0);
    gc_characters(gc, text.data(), e, n - e, xe, top, 0x7FFF, h, 0);
    // A selected line feed shows as a blank's width of highlight after the line.
    bool feedSelected = selStart <= le && selEnd > le && line + 1 < get$lineCount();
    if (e > s || feedSelected) {
        int feed = feedSelected ? font->measureUnits(u" ", 1) : 0;
        gc_set_background(gc, focused ? getColor(Style::HighlightBackground) : getColor(Style::Separator));
        gc_rect_fill(gc, xs, top, xe - xs + feed, h);
        gc_set_foreground(gc, focused ? getColor(Style::HighlightText) : ink);
        gc_characters(gc, text.data(), s, e - s, xs, top, xe - xs, h, 0);
    }
    if (focused && caretOn && lineOf(kernel.caret()) == line) {
        int x = left + font->measureUnits(text.data(), kernel.caret() - ls);
        gc_set_foreground(gc, getColor(Style::Text));
        gc_line(gc, x, top, x, top + h - 1);
    }
}

void TextArea::onDraw(NyCore::Graphics::GC* gc)
{
    gc_set_background(gc, getColor(Style::Background));
    gc_rect_fill(gc, 0, 0, width, height);
    drawFrame(gc);
    if ((flags & WidgetFlags::HasFocus) && !(viewFlags & BorderHidden)) {
        gc_set_foreground(gc, getColor(Style::HighlightBackground));
        gc_rect_line(gc, 0, 0, width, height);
    }
    if (client.width <= 0 || client.height <= 0)
        return;
    gc_set_clip(gc, client.x, client.y, client.width, client.height);
    int lh = get$lineHeight();
    int top = get$vscroll();
    for (int line = top; line < get$lineCount() && (line - top) * lh < client.height; ++line)
        paintLine(gc, line, client.x - scrollX, client.y + (line - top) * lh);
    gc_set_clip(gc, 0, 0, 0, 0);
}

void TextArea::redrawLines(int first, int last)
{
    if (!window || (flags & WidgetFlags::DrawingSuppressed) || client.width <= 0 || client.height <= 0)
        return;
    int lh = get$lineHeight();
    int top = get$vscroll();
    first = std::max(first, top);
    last = std::min(last, top + client.height / lh);
    if (last < first)
        return;
    int y = (first - top) * lh;
    int h = std::min((last - first + 1) * lh, client.height - y);
    if (h <= 0)
        return;
    NyCore::Graphics::OffscreenPixmap picture(client.width, h);
    NyCore::Graphics::GC* pgc = picture.get$gc();
    gc_set_background(pgc, getColor(Style::Background));
    gc_rect_fill(pgc, 0, 0, client.width, h);
    for (int line = first; line <= last && line < get$lineCount(); ++line)
        paintLine(pgc, line, -scrollX, (line - first) * lh);
    NyCore::Graphics::GC wgc;
    wgc_construct(&wgc, window);
    gc_copy_rect(&wgc, client.x, client.y + y, pgc, 0, 0, client.width, h);
    gc_flush(&wgc);
    wgc_destroy(&wgc);
}

void TextArea::changed(int outcome, int oldFirst, int oldLast, int oldCount)
{
    if (outcome == TextKernel::Unchanged)
        return;
    if (outcome & TextKernel::TextChanged)
        relayout();
    showCaret();
    if (scrollToCaret())
        return;
    int first = std::min(oldFirst, lineOf(kernel.selectionStart()));
    int last = std::max({oldLast, lineOf(kernel.selectionEnd()), lineOf(kernel.caret())});
    if (get$lineCount() != oldCount)
        last = std::max(oldCount, get$lineCount());
    redrawLines(first, last);
}

void TextArea::moveTo(int offset, bool extend, bool keepGoal)
{
    if (!keepGoal)
        goalX = -1;
    int first = lineOf(kernel.selectionStart());
    int last = lineOf(kernel.selectionEnd());
    changed(kernel.moveCursor(offset, extend), first, last, get$lineCount());
}

void TextArea::verticalMove(int lines, bool extend)
{
    int line = lineOf(kernel.caret());
    if (goalX < 0)
        goalX = xInLine(line, kernel.caret());
    int target = line + lines;
    if (target < 0)
        moveTo(0, extend, true);
    else if (target >= get$lineCount())
        moveTo(kernel.get$length(), extend, true);
    else
        moveTo(offsetInLine(target, goalX), extend, true);
}

void TextArea::showCaret()
{
    caretOn = (flags & WidgetFlags::HasFocus) != 0;
    if (caretOn)
        timer_construct(&blinkTimer, this, &TextArea::onBlink, BlinkInterval, 0);
}

void TextArea::onBlink(NyCore::System::Widget* widget)
{
    auto* area = static_cast<TextArea*>(widget);
    area->caretOn = !area->caretOn && (area->flags & WidgetFlags::HasFocus);
    int line = area->lineOf(area->kernel.caret());
    area->redrawLines(line, line);
}

void TextArea::onMouseDown(int x, int y, int button, int keys)
{
    if (button != 0 || mouseToBars(InlineScroll::Press, x, y, keys))
        return;
    focus();
    selecting = true;
    pointerCapture();
    moveTo(offsetAt(x, y), (keys & NyCore::System::MouseKeys::Shift) != 0);
}

void TextArea::onMouseMove(int x, int y, int keys)
{
    if (selecting)
        moveTo(offsetAt(x, y), true);
    else
        ScrollView::onMouseMove(x, y, keys);
}

void TextArea::onMouseUp(int x, int y, int button, int keys)
{
    if (button != 0)
        return;
    if (!selecting) {
        ScrollView::onMouseUp(x, y, button, keys);
        return;
    }
    selecting = false;
    pointerRelease();
}

void TextArea::onDoubleClick(int x, int y, int button, int keys)
{
    if (button != 0 || mouseToBars(InlineScroll::Press, x, y, keys))
        return;
    // The word of the unit under the pointer, not of the nearest caret place.
    int at = offsetAt(x, y);
    int line = lineOf(at);
    if (at > lineStart(line) && client.x - scrollX + xInLine(line, at) > x)
        --at;
    int first = lineOf(kernel.selectionStart());
    int last = lineOf(kernel.selectionEnd());
    kernel.setSelection(at, at);
    kernel.selectWord();
    changed(TextKernel::SelectionChanged, first, last, get$lineCount());
}

void TextArea::onCharKeyDown(int code, int modifiers)
{
    int first = lineOf(kernel.selectionStart());
    int last = lineOf(kernel.selectionEnd());
    int count = get$lineCount();
    int outcome = kernel.typeKey(code, modifiers);
    goalX = -1;
    bool chord = TextKernel::chordLetter(code, modifiers) != 0;
    if (outcome & TextKernel::TextChanged && chord) {
        // Undo, redo and paste may touch any line.
        relayout();
        showCaret();
        scrollToCaret();
        redraw();
    } else {
        changed(outcome, first, last, count);
    }
    if ((outcome & TextKernel::TextChanged) && !chord) {
        NyCore::Object::CallbackParams params{1, {code}};
        send(u"characterEntered", &params);
    } else if (code == TextKernel::LineFeed && !(outcome & TextKernel::TextChanged)) {
        send(u"enterPressed");
    }
}

void TextArea::onSystemKeyDown(int code, int modifiers)
{
    bool shift = (modifiers & KeyModifiers::Shift) != 0;
    int page = std::max(1, client.height / get$lineHeight());
    switch (code) {
    case SystemKeys::Delete:
        onCharKeyDown(shift ? 'x' : code, shift ? KeyModifiers::Ctrl : modifiers);
        return;
    case SystemKeys::Insert:
        if (shift)
            onCharKeyDown('v', KeyModifiers::Ctrl);
        else if (modifiers & KeyModifiers::Ctrl)
            onCharKeyDown('c', KeyModifiers::Ctrl);
        return;
    case SystemKeys::Up:
        verticalMove(-1, shift);
        return;
    case SystemKeys::Down:
        verticalMove(1, shift);
        return;
    case SystemKeys::PageUp:
    case SystemKeys::PageDown: {
        // The view moves a page and the caret moves with it, so it stays in view.
        int top = get$vscroll();
        if (code == SystemKeys::PageUp)
            vPageUp();
        else
            vPageDown();
        int moved = get$vscroll() - top;
        if (moved != 0)
            verticalMove(moved, shift);
        else
            verticalMove(code == SystemKeys::PageUp ? -page : page, shift);
        return;
    }
    case SystemKeys::Home:
    case SystemKeys::End:
    case SystemKeys::Left:
    case SystemKeys::Right:
        moveTo(kernel.handleNavigationKey(code, modifiers), shift);
        return;
    default:
        return;
    }
}

void TextArea::onFocusGained()
{
    showCaret();
    redraw();
}

void TextArea::onFocusLost()
{
    timer_destroy(&blinkTimer);
    caretOn = false;
    selecting = false;
    redraw();
}

void TextArea::onEnable()
{
    redraw();
}

void TextArea::onDisable()
{
    redraw();
}

bool TextArea::onResize(int dw, int dh)
{
    ScrollView::onResize(dw, dh);
    relayout();
    return true;
}

void TextArea::onStyleChange()
{
    padding = static_cast<std::uint16_t>(style->get$font()->get$height() / 4);
    moveScrollBars();
    relayout();
    redraw();
}

}
