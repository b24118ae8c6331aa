// The number box with spin buttons.
#include "nytoolkit/widgets/value_spin.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "nycore/graphics/gc.h"
#include "nycore/graphics/gc_text.h"
#include "nycore/system/memory.h"
#include "nycore/text/string_functions.h"
#include "nycore/xml/xml_node.h"

namespace NyToolkit {

namespace {

NyCore::MethodEntry const ValueSpinMethods[] = {{u"step", NY_METHOD(ValueSpin::step)}, {nullptr, nullptr}};
char16_t const* const ValueSpinEvents[] = {u"change", nullptr};

namespace WidgetFlags = NyCore::System::WidgetFlags;
namespace SystemKeys = NyCore::System::SystemKeys;

// Holding a button: the first repeat after this many milliseconds, then one each RepeatInterval.
constexpr int RepeatDelay = 400;
constexpr int RepeatInterval = 60;

double attributeReal(NyCore::XML::Element const* element, char16_t const* name, double otherwise)
{
    NyCore::String const* text = xml_get_attribute(element, name);
    return text ? string_to_real(text) : otherwise;
}

// Text for snprintf: the literal parts with their percent signs doubled, the
// one conversion checked, "d" read as a rounded long long.
struct NumberFormat {
    std::string text;
    bool integer = false;
};

NumberFormat compileFormat(char const* source)
{
    NumberFormat out;
    bool converted = false;
    for (char const* p = source; *p; ++p) {
        if (*p != '%') {
            out.text += *p;
            continue;
        }
        if (p[1] == '%') {
            out.text += "%%";
            ++p;
            continue;
        }
        char const* q = p + 1;
        std::string conversion = "%";
        while (*q && std::string("-+ 0#").find(*q) != std::string::npos)
            conversion += *q++;
        for (int digits = 0; *q >= '0' && *q <= '9'; ++digits)
            if (digits < 3)
                conversion += *q++;
            else
                ++q;
        if (*q == '.') {
            conversion += *q++;
            for (int digits = 0; *q >= '0' && *q <= '9'; ++digits)
                if (digits < 2)
                    conversion += *q++;
                else
                    ++q;
        }
        bool isInteger = *q == 'd' || *q == 'i';
        bool isReal = *q == 'f' || *q == 'e' || *q == 'g' || *q == 'E' || *q == 'G';
        if (converted || (!isInteger && !isReal)) {
            // A second conversion or a broken one is shown as text.
            out.text += "%%";
            continue;
        }
        converted = true;
        out.integer = isInteger;
        out.text += conversion + (isInteger ? "lld" : std::string(1, *q));
        p = q;
    }
    if (!converted)
        return {"%g", false};
    return out;
}

}

NyCore::TypeData ValueSpin::MetaData = {&NytkWidget::MetaData, nullptr, u"NyToolkit.ValueSpin"_str,
                                        ValueSpinMethods, ValueSpinEvents, &ValueSpin::__create,
                                        sizeof(ValueSpin), 0, nullptr};

ValueSpin::~ValueSpin()
{
    timer_destroy(&repeat);
    string_free(format);
    if (icons)
        icons->release();
}

NyCore::Object* ValueSpin::__create()
{
    return new ValueSpin();
}

void ValueSpin::onCreate()
{
    setStyleClass(Style::Display, false);
    flags |= WidgetFlags::TabStop;
    timer_construct(&repeat, this, &ValueSpin::onRepeat, RepeatDelay, NyCore::System::TimerOptions::Stopped);
}

void ValueSpin::setParameters(NyCore::XML::Element* element)
{
    if (NyCore::String const* file = xml_get_attribute(element, u"icon")) {
        IconSet* loaded = IconSet::load(file);
        if (icons)
            icons->release();
        icons = loaded;
    }
    set$format(xml_get_attribute(element, u"format"));
    rate = attributeReal(element, u"rate", 1);
    double low = attributeReal(element, u"min", 0);
    double high = attributeReal(element, u"max", 100);
    minimum = low < high ? low : high;
    maximum = low < high ? high : low;
    // Configuring is not a user's change: no event.
    double start = attributeReal(element, u"value", minimum);
    value = start < minimum ? minimum : start > maximum ? maximum : start;
    redraw();
}

void ValueSpin::set$format(NyCore::String const* newFormat)
{
    NyCore::String* copy = newFormat ? string_copy(newFormat) : nullptr;
    string_free(format);
    format = copy;
    redraw();
}

NyCore::String* ValueSpin::formatValue() const
{
    char* source = format ? string_to_utf8(format) : nullptr;
    NumberFormat compiled = compileFormat(source ? source : "%g");
    memory_free(source);
    char buffer[256];
    int length;
    if (compiled.integer)
        length = std::snprintf(buffer, sizeof buffer, compiled.text.c_str(), std::llround(value));
    else
        length = std::snprintf(buffer, sizeof buffer, compiled.text.c_str(), value);
    if (length < 0)
        length = 0;
    if (length >= static_cast<int>(sizeof buffer))
        length = sizeof buffer - 1;
    return string_from_utf8(buffer, length);
}

void ValueSpin::set$value(double newValue)
{
    double clamped = newValue < minimum ? minimum : newValue > maximum ? maximum : newValue;
    if (clamped == value)
        return;
    value = clamped;
    redraw();
    NyCore::Object::CallbackParams params{1, {static_cast<std::intptr_t>(std::llround(value))}};
    send(u"change", &params);
}

void ValueSpin::setRange(double low, double high)
{
    minimum = low < high ? low : high;
    maximum = low < high ? high : low;
    redraw();
    set$value(value);
}

void ValueSpin::step(int steps)
{
    commitEdit();
    set$value(value + steps * rate);
}

IconSet* ValueSpin::get$icons() const
{
    return icons ? icons : style->getIcons(Style::Spin);
}

void ValueSpin::getButtonRect(int part, NyCore::System::WidgetRect* rect) const
{
    IconSet* set = get$icons();
    int w = (set ? set->get$width() : 13) + 2;
    int inner = height - 2;
    int upper = inner / 2;
    if (part == UpButton)
        *rect = {width - 1 - w, 1, w, upper};
    else
        *rect = {width - 1 - w, 1 + upper, w, inner - upper};
}

int ValueSpin::partAt(int px, int py) const
{
    for (int part : {UpButton, DownButton}) {
        NyCore::System::WidgetRect r;
        getButtonRect(part, &r);
        if (px >= r.x && px < r.x + r.width && py >= r.y && py < r.y + r.height)
            return part;
    }
    return NoPart;
}

void ValueSpin::onDraw(NyCore::Graphics::GC* gc)
{
    namespace TF = NyCore::Graphics::TextFlags;
    bool focused = flags & WidgetFlags::HasFocus;
    gc_set_foreground(gc, focused ? getColor(Style::HighlightFrame) : getColor(Style::Frame));
    gc_set_background(gc, background);
    gc_rect(gc, 0, 0, width, height);
    NyCore::System::WidgetRect up;
    NyCore::System::WidgetRect down;
    getButtonRect(UpButton, &up);
    getButtonRect(DownButton, &down);
    NyCore::String* shown = editing ? NyCore::String::create(editText.data(), 0, static_cast<int>(editText.size()))
                                    : formatValue();
    gc_set_font(gc, style->get$font());
    gc_set_foreground(gc, getColor(flags & WidgetFlags::Disabled ? Style::Dim : Style::Text));
    gc_string(gc, shown, 4, 1, up.x - 6, height - 2, TF::CenterVertical | TF::Clip);
    if (editing && focused) {
        // The caret after the typed text.
        int caretX = 4 + style->get$font()->measure(shown);
        int textHeight = style->get$font()->get$height();
        if (caretX < up.x - 2)
            gc_line(gc, caretX, (height - textHeight) / 2, caretX, (height + textHeight) / 2 - 1);
    }
    string_free(shown);
    gc_set_background(gc, getColor(Style::Light));
    gc_rect_fill(gc, up.x, up.y, up.width, up.height + down.height);
    gc_set_foreground(gc, getColor(Style::Separator));
    gc_line(gc, up.x - 1, 1, up.x - 1, height - 2);
    IconSet* set = get$icons();
    if (!set)
        return;
    for (int part : {UpButton, DownButton}) {
        NyCore::System::WidgetRect const& r = part == UpButton ? up : down;
        int state = pressedPart == part ? 2 : hoverPart == part ? 1 : 0;
        int index = (part == UpButton ? UpNormal : DownNormal) + state;
        set->draw(gc, r.x + (r.width - set->get$width()) / 2, r.y + (r.height - set->get$height()) / 2, index);
    }
}

void ValueSpin::onMouseDown(int px, int py, int button, int)
{
    focus();
    int part = partAt(px, py);
    if (button != 0 || part == NoPart)
        return;
    pressedPart = part;
    pointerCapture();
    redraw();
    timer_reset(&repeat, nullptr, RepeatDelay);
    step(part == UpButton ? 1 : -1);
}

void ValueSpin::onDoubleClick(int px, int py, int button, int keys)
{
    onMouseDown(px, py, button, keys);
}

void ValueSpin::onMouseUp(int, int, int button, int)
{
    if (button != 0 || pressedPart == NoPart)
        return;
    pressedPart = NoPart;
    timer_pause(&repeat);
    pointerRelease();
    redraw();
}

void ValueSpin::onRepeat(NyCore::System::Widget* widget)
{
    auto* spin = static_cast<ValueSpin*>(widget);
    if (spin->pressedPart == NoPart) {
        timer_pause(&spin->repeat);
        return;
    }
    timer_reset(&spin->repeat, nullptr, RepeatInterval);
    // Only while the pointer stays on the pressed button.
    if (spin->hoverPart == spin->pressedPart)
        spin->step(spin->pressedPart == UpButton ? 1 : -1);
}

void ValueSpin::onMouseMove(int px, int py, int)
{
    int part = partAt(px, py);
    if (part != hoverPart) {
        hoverPart = part;
        redraw();
    }
}

void ValueSpin::onMouseOut(int, int, int)
{
    if (hoverPart != NoPart) {
        hoverPart = NoPart;
        redraw();
    }
}

void ValueSpin::onSystemKeyDown(int code, int)
{
    if (code == SystemKeys::Home || code == SystemKeys::End)
        commitEdit();
    switch (code) {
    case SystemKeys::Up: step(1); break;
    case SystemKeys::Down: step(-1); break;
    case SystemKeys::PageUp: step(10); break;
    case SystemKeys::PageDown: step(-10); break;
    case SystemKeys::Home: set$value(minimum); break;
    case SystemKeys::End: set$value(maximum); break;
    default: break;
    }
}

void ValueSpin::onCharKeyDown(int code, int modifiers)
{
    if (modifiers & NyCore::System::KeyModifiers::Ctrl)
        return;
    bool numberPart = (code >= u'0' && code <= u'9') || code == u'-' || code == u'+' || code == u'.' ||
                      code == u'e' || code == u'E';
    if (numberPart) {
        if (!editing) {
            editing = true;
            editText.clear();
        }
        if (editText.size() < 40)
            editText.push_back(static_cast<char16_t>(code));
        redraw();
    } else if (code == 8) {
        if (!editing) {
            // Backspace edits the number as it stands.
            NyCore::String* shown = string_from_real(value, 0);
            editText.assign(shown->units(), shown->count);
            string_free(shown);
            editing = true;
        }
        if (!editText.empty())
            editText.pop_back();
        redraw();
    } else if (code == 10) {
        commitEdit();
    } else if (code == 27 && editing) {
        editing = false;
        redraw();
    }
}

void ValueSpin::commitEdit()
{
    if (!editing)
        return;
    editing = false;
    // The typed text holds only ASCII number characters; all of it must be the number.
    std::string typed(editText.begin(), editText.end());
    char* end = nullptr;
    double number = std::strtod(typed.c_str(), &end);
    if (!typed.empty() && end == typed.c_str() + typed.size() && std::isfinite(number))
        set$value(number);
    redraw();
}

void ValueSpin::onScrollWheel(int steps)
{
    step(steps);
}

void ValueSpin::onFocusGained()
{
    redraw();
}

void ValueSpin::onFocusLost()
{
    commitEdit();
    redraw();
}

}
