// The one-line text box.
#include "nytoolkit/text/text_box.h"

#include <algorithm>
#include <cstdlib>

#include "nycore/graphics/color.h"
#include "nycore/graphics/gc.h"
#include "nycore/graphics/gc_text.h"
#include "nycore/system/method_thunk.h"
#include "nycore/xml/xml_node.h"

namespace NyToolkit {

namespace WidgetFlags = NyCore::System::WidgetFlags;
namespace SystemKeys = NyCore::System::SystemKeys;
namespace KeyModifiers = NyCore::System::KeyModifiers;

namespace {

// Frame and focus ring (two pixels) plus two pixels of room before the text.
constexpr int Inset = 4;
constexpr std::uint32_t BlinkInterval = 530;

NyCore::MethodEntry const TextBoxMethods[] = {
    {u"setText", NY_METHOD(TextBox::setText)},
    {u"selectAll", NY_METHOD(TextBox::selectAll)},
    {nullptr, nullptr}};
char16_t const* const TextBoxEvents[] = {u"characterEntered", u"enterPressed", nullptr};

}

NyCore::TypeData TextBox::MetaData = {&NytkWidget::MetaData, nullptr, u"NyToolkit.TextBox"_str, TextBoxMethods,
                                      TextBoxEvents, &TextBox::__create, sizeof(TextBox), 0, nullptr};

TextBox::TextBox() : kernel(this) {}

TextBox::~TextBox()
{
    timer_destroy(&blinkTimer);
}

NyCore::Object* TextBox::__create()
{
    return new TextBox();
}

void TextBox::onCreate()
{
    setStyleClass(Style::Display, false);
    kernel.initilize(nullptr);
    setPointerIcon(NyCore::System::PointerShapes::TextBeam);
}

void TextBox::setParameters(NyCore::XML::Element* element)
{
    kernel.initilize(element);
    if (NyCore::String const* value = xml_get_attribute(element, u"value"))
        setText(value);
    redraw();
}

void TextBox::setText(NyCore::String const* text)
{
    kernel.setText(text);
    scrollX = 0;
    scrollToCaret();
    redraw();
}

void TextBox::setSelection(int start, int length)
{
    kernel.setSelection(start, start + length);
    changed(TextKernel::SelectionChanged);
}

void TextBox::selectAll()
{
    kernel.selectAll();
    changed(TextKernel::SelectionChanged);
}

void TextBox::set$textFlags(std::uint32_t flags)
{
    kernel.set$flags(flags);
    redraw();
}

void TextBox::set$readOnly(bool readOnly)
{
    std::uint32_t flags = kernel.get$flags();
    kernel.set$flags(readOnly ? flags | TextKernel::ReadOnly : flags & ~TextKernel::ReadOnly);
    redraw();
}

std::u16string TextBox::shown() const
{
    if (kernel.get$flags() & TextKernel::Password)
        return std::u16string(static_cast<std::size_t>(kernel.get$length()), u'*');
    return std::u16string(kernel.units(), static_cast<std::size_t>(kernel.get$length()));
}

int TextBox::textLeft() const
{
    return Inset - scrollX;
}

int TextBox::fieldWidth() const
{
    return std::max(1, width - 2 * Inset);
}

int TextBox::caretX() const
{
    std::u16string text = shown();
    return textLeft() + style->get$font()->measureUnits(text.data(), kernel.caret());
}

int TextBox::offsetAt(int x) const
{
    std::u16string text = shown();
    NyCore::Graphics::Font* font = style->get$font();
    int pos = x - textLeft();
    int best = 0;
    int bestDistance = std::abs(pos);
    for (int k = 1; k <= static_cast<int>(text.size()); ++k) {
        int w = font->measureUnits(text.data(), k);
        if (std::abs(pos - w) < bestDistance) {
            best = k;
            bestDistance = std::abs(pos - w);
        }
        if (w >= pos)
            break;
    }
    return best;
}

bool TextBox::scrollToCaret()
{
    std::u16string text = shown();
    NyCore::Graphics::Font* font = style->get$font();
    int at = font->measureUnits(text.data(), kernel.caret());
    int total = font->measureUnits(text.data(), static_cast<int>(text.size()));
    int field = fieldWidth();
    int old = scrollX;
    if (at - scrollX > field - 1)
        scrollX = at - field + 1;
    else if (at < scrollX)
        scrollX = std::max(0, at - field / 3);
    // Text that no longer fills the field slides back.
    scrollX = std::max(0, std::min(scrollX, total - field + 1));
    return scrollX != old;
}

void TextBox::changed(int outcome)
{
    if (outcome == TextKernel::Unchanged)
        return;
    scrollToCaret();
    showCaret();
    redraw();
}

void TextBox::showCaret()
{
    caretOn = (flags & WidgetFlags::HasFocus) != 0;
    if (caretOn)
        timer_construct(&blinkTimer, this, &TextBox::onBlink, BlinkInterval, 0);
}

void TextBox::onBlink(NyCore::System::Widget* widget)
{
    auto* box = static_cast<TextBox*>(widget);
    box->caretOn = !box->caretOn && (box->flags & WidgetFlags::HasFocus);
    box->redraw();
}

void TextBox::onDraw(NyCore::Graphics::GC* gc)
{
    bool focused = (flags & WidgetFlags::HasFocus) != 0;
    bool disabled = (flags & WidgetFlags::Disabled) != 0;
    bool readOnly = kernel.isReadOnly();
    // A box that cannot change shows the dialog's grey instead of white.
    std::uint32_t field = disabled || readOnly ? Style::getDefaultStyle(Style::Control)->getColor(Style::Background)
                                               : getColor(Style::Background);
    gc_set_background(gc, field);
    gc_rect_fill(gc, 0, 0, width, height);
    std::uint32_t highlight = getColor(Style::HighlightBackground);
    gc_set_foreground(gc, focused ? highlight : getColor(Style::Frame));
    gc_rect_line(gc, 0, 0, width, height);
    if (focused) {
        gc_set_foreground(gc, NyCore::Graphics::Color::scale(highlight, 175));
        gc_rect_line(gc, 1, 1, width - 2, height - 2);
    }

    NyCore::Graphics::Font* font = style->get$font();
    gc_set_font(gc, font);
    gc_set_clip(gc, 2, 2, width - 4, height - 4);
    std::u16string text = shown();
    int n = static_cast<int>(text.size());
    int top = (height - font->get$height()) / 2;
    int left = textLeft();
    int start = kernel.selectionStart();
    int end = kernel.selectionEnd();
    int x0 = left + font->measureUnits(text.data(), start);
    int x1 = left + font->measureUnits(text.data(), end);
    std::uint32_t ink = disabled ? getColor(Style::Dim) : getColor(Style::Text);
    gc_set_foreground(gc, ink);
    gc_characters(gc, text.data(), 0, start, left, top, x0 - left, font->get$height(), 0);
    gc_characters(gc, text.data(), end, n - end, x1, top, width, font->get$height(), 0);
    if (end > start) {
        // The selection stays visible in grey while the focus is elsewhere.
        gc_set_background(gc, focused ? highlight : getColor(Style::Separator));
        gc_rect_fill(gc, x0, top, x1 - x0, font->get$height());
        gc_set_foreground(gc, focused ? getColor(Style::HighlightText) : ink);
        gc_characters(gc, text.data(), start, end - start, x0, top, x1 - x0, font->get$height(), 0);
    }
    if (focused && caretOn && !disabled) {
        int x = caretX();
        gc_set_foreground(gc, getColor(Style::Text));
        gc_line(gc, x, top, x, top + font->get$height() - 1);
    }
    gc_set_clip(gc, 0, 0, 0, 0);
}

void TextBox::onMouseDown(int x, int, int button, int keys)
{
    if (button != 0)
        return;
    focus();
    kernel.moveCursor(offsetAt(x), (keys & NyCore::System::MouseKeys::Shift) != 0);
    selecting = true;
    pointerCapture();
    changed(TextKernel::SelectionChanged);
}

void TextBox::onMouseMove(int x, int, int)
{
    if (selecting)
        changed(kernel.moveCursor(offsetAt(x), true));
}

void TextBox::onMouseUp(int, int, int button, int)
{
    if (button != 0 || !selecting)
        return;
    selecting = false;
    pointerRelease();
}

void TextBox::onDoubleClick(int x, int, int button, int)
{
    if (button != 0)
        return;
    // The word of the unit under the pointer, not of the nearest caret place.
    int at = offsetAt(x);
    std::u16string text = shown();
    if (at > 0 && textLeft() + style->get$font()->measureUnits(text.data(), at) > x)
        --at;
    kernel.setSelection(at, at);
    kernel.selectWord();
    changed(TextKernel::SelectionChanged);
}

void TextBox::onCharKeyDown(int code, int modifiers)
{
    if (code == TextKernel::LineFeed && !(modifiers & KeyModifiers::Ctrl)) {
        send(u"enterPressed");
        return;
    }
    int outcome = kernel.typeKey(code, modifiers);
    if ((outcome & TextKernel::TextChanged) && !TextKernel::chordLetter(code, modifiers)) {
        NyCore::Object::CallbackParams params{1, {code}};
        send(u"characterEntered", &params);
    }
    changed(outcome);
}

void TextBox::onSystemKeyDown(int code, int modifiers)
{
    bool shift = (modifiers & KeyModifiers::Shift) != 0;
    switch (code) {
    case SystemKeys::Delete:
        if (shift) {
            onCharKeyDown('x', KeyModifiers::Ctrl);
            return;
        }
        onCharKeyDown(code, modifiers);
        return;
    case SystemKeys::Insert:
        if (shift)
            onCharKeyDown('v', KeyModifiers::Ctrl);
        else if (modifiers & KeyModifiers::Ctrl)
            onCharKeyDown('c', KeyModifiers::Ctrl);
        return;
    case SystemKeys::Home:
    case SystemKeys::End:
    case SystemKeys::Left:
    case SystemKeys::Right:
    case SystemKeys::Up:
    case SystemKeys::Down:
        changed(kernel.moveCursor(kernel.handleNavigationKey(code, modifiers), shift));
        return;
    default:
        return;
    }
}

void TextBox::onFocusGained()
{
    showCaret();
    redraw();
}

void TextBox::onFocusLost()
{
    timer_destroy(&blinkTimer);
    caretOn = false;
    selecting = false;
    redraw();
}

void TextBox::onEnable()
{
    redraw();
}

void TextBox::onDisable()
{
    redraw();
}

bool TextBox::onResize(int, int)
{
    scrollToCaret();
    return true;
}

void TextBox::onStyleChange()
{
    scrollToCaret();
    redraw();
}

}
