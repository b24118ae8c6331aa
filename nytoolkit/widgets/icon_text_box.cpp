// The text box with an icon button.
#include "nytoolkit/widgets/icon_text_box.h"

#include "nycore/graphics/color.h"
#include "nycore/graphics/gc.h"
#include "nycore/graphics/gc_text.h"
#include "nycore/text/string_functions.h"
#include "nycore/xml/xml_node.h"

namespace NyToolkit {

namespace {

NyCore::MethodEntry const IconTextBoxMethods[] = {{u"setText", NY_METHOD(IconTextBox::setText)},
                                                  {nullptr, nullptr}};
char16_t const* const IconTextBoxEvents[] = {u"buttonClick", u"buttonRelease", nullptr};

namespace WidgetFlags = NyCore::System::WidgetFlags;

}

NyCore::TypeData IconTextBox::MetaData = {&NytkWidget::MetaData, nullptr, u"NyToolkit.IconTextBox"_str,
                                          IconTextBoxMethods, IconTextBoxEvents, &IconTextBox::__create,
                                          sizeof(IconTextBox), 0, nullptr};

IconTextBox::~IconTextBox()
{
    string_free(text);
    if (icons)
        icons->release();
}

NyCore::Object* IconTextBox::__create()
{
    return new IconTextBox();
}

void IconTextBox::onCreate()
{
    setStyleClass(Style::Display, false);
    flags |= WidgetFlags::TabStop;
}

void IconTextBox::setParameters(NyCore::XML::Element* element)
{
    if (NyCore::String const* file = xml_get_attribute(element, u"icon")) {
        IconSet* loaded = IconSet::load(file);
        if (icons)
            icons->release();
        icons = loaded;
    }
    if (NyCore::String const* value = xml_get_attribute(element, u"value"))
        setText(value);
    redraw();
}

IconSet* IconTextBox::get$icons() const
{
    return icons ? icons : style->getIcons(Style::DropArrow);
}

void IconTextBox::setText(NyCore::String const* newText)
{
    NyCore::String* copy = newText ? string_copy(newText) : nullptr;
    string_free(text);
    text = copy;
    redraw();
}

NyCore::String const* IconTextBox::get$text() const
{
    return text ? text : NyCore::Text::EmptyString;
}

void IconTextBox::getButtonRect(NyCore::System::WidgetRect* rect) const
{
    IconSet* set = get$icons();
    int side = height - 2;
    // Wide icons widen the button.
    int w = set && set->get$width() + 6 > side ? set->get$width() + 6 : side;
    *rect = {width - 1 - w, 1, w, side};
}

bool IconTextBox::insideButton(int px, int py) const
{
    NyCore::System::WidgetRect r;
    getButtonRect(&r);
    return px >= r.x && px < r.x + r.width && py >= r.y && py < r.y + r.height;
}

void IconTextBox::onDraw(NyCore::Graphics::GC* gc)
{
    namespace TF = NyCore::Graphics::TextFlags;
    bool focused = flags & WidgetFlags::HasFocus;
    NyCore::System::WidgetRect button;
    getButtonRect(&button);
    gc_set_foreground(gc, focused ? getColor(Style::HighlightFrame) : getColor(Style::Frame));
    gc_set_background(gc, background);
    gc_rect(gc, 0, 0, width, height);
    if (text) {
        gc_set_font(gc, style->get$font());
        gc_set_foreground(gc, getColor(flags & WidgetFlags::Disabled ? Style::Dim : Style::Text));
        gc_string(gc, text, 4, 1, button.x - 6, height - 2, TF::CenterVertical | TF::Clip);
    }
    Style* buttonStyle = Style::getDefaultStyle(Style::Button);
    std::uint32_t face = pressed ? NyCore::Graphics::Color::scale(buttonStyle->getColor(Style::Background), 88)
                         : hover ? buttonStyle->getColor(Style::Light)
                                 : buttonStyle->getColor(Style::Background);
    gc_set_background(gc, face);
    gc_rect_fill(gc, button.x, button.y, button.width, button.height);
    gc_set_foreground(gc, getColor(Style::Separator));
    gc_line(gc, button.x - 1, button.y, button.x - 1, button.y + button.height - 1);
    if (IconSet* set = get$icons()) {
        int index = pressed ? 2 : hover ? 1 : 0;
        if (index >= set->get$count())
            index = 0;
        int shift = pressed ? 1 : 0;
        set->draw(gc, button.x + (button.width - set->get$width()) / 2 + shift,
                  button.y + (button.height - set->get$height()) / 2 + shift, index);
    }
}

void IconTextBox::press()
{
    pressed = true;
    redraw();
    send(u"buttonClick");
}

void IconTextBox::unpress()
{
    pressed = false;
    redraw();
    send(u"buttonRelease");
}

void IconTextBox::onMouseDown(int px, int py, int button, int)
{
    focus();
    if (button != 0 || !insideButton(px, py) || pressed)
        return;
    pointerCapture();
    press();
}

void IconTextBox::onDoubleClick(int px, int py, int button, int keys)
{
    onMouseDown(px, py, button, keys);
}

void IconTextBox::onMouseUp(int, int, int button, int)
{
    if (button != 0 || !pressed || keyPressed)
        return;
    pointerRelease();
    unpress();
}

void IconTextBox::onMouseMove(int px, int py, int)
{
    bool over = insideButton(px, py);
    if (over != hover) {
        hover = over;
        redraw();
    }
}

void IconTextBox::onMouseOut(int, int, int)
{
    if (hover) {
        hover = false;
        redraw();
    }
}

void IconTextBox::onCharKeyDown(int code, int)
{
    if ((code == u' ' || code == 10) && !pressed) {
        keyPressed = true;
        press();
    }
}

void IconTextBox::onCharKeyUp(int code, int)
{
    if ((code == u' ' || code == 10) && keyPressed) {
        keyPressed = false;
        unpress();
    }
}

void IconTextBox::onFocusGained()
{
    redraw();
}

void IconTextBox::onFocusLost()
{
    if (keyPressed) {
        keyPressed = false;
        unpress();
    }
    redraw();
}

}
