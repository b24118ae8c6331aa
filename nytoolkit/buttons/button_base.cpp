// The click logic shared by all buttons: presses and releases of the left
// mouse button, Enter and Space, arrow keys that move the focus, and the
// group that hears of every change of a grouped button.
#include "nytoolkit/buttons/button_base.h"

#include "nycore/graphics/gc.h"
#include "nycore/graphics/gc_text.h"
#include "nycore/system/method_thunk.h"
#include "nycore/text/string_functions.h"
#include "nycore/xml/xml_node.h"
#include "nytoolkit/buttons/group.h"

namespace NyToolkit::Buttons {

namespace WidgetFlags = NyCore::System::WidgetFlags;
namespace SystemKeys = NyCore::System::SystemKeys;

namespace {

constexpr int EnterKey = 10;
constexpr int SpaceKey = 32;

NyCore::MethodEntry const ButtonBaseMethods[] = {
    {u"setLabel", NY_METHOD(ButtonBase::setLabel)},
    {u"set$active", NY_METHOD(ButtonBase::set$active)},
    {u"get$active", NY_METHOD(ButtonBase::get$active)},
    {u"activate", NY_METHOD(ButtonBase::activate)},
    {u"deactivate", NY_METHOD(ButtonBase::deactivate)},
    {u"deactivateIgnoreGroup", NY_METHOD(ButtonBase::deactivateIgnoreGroup)},
    {nullptr, nullptr}};

char16_t const* const ButtonBaseEvents[] = {u"click", nullptr};

}

NyCore::TypeData ButtonBase::MetaData = {&NytkWidget::MetaData, nullptr, u"NyToolkit.Buttons.ButtonBase"_str,
                                         ButtonBaseMethods, ButtonBaseEvents, &ButtonBase::__create,
                                         sizeof(ButtonBase), 0, nullptr};

Loader::FlagDescrip const ButtonBase::ButtonFlagWords[] = {
    {u"Toggle"_str, ButtonFlags::Toggle},       {u"Pushed"_str, ButtonFlags::Pushed},
    {u"Active"_str, ButtonFlags::Active},       {u"Stickey"_str, ButtonFlags::Stickey},
    {u"Grouped"_str, ButtonFlags::Grouped},     {u"TextBelow"_str, ButtonFlags::TextBelow},
    {u"TextOver"_str, ButtonFlags::TextOver},   {nullptr, 0}};

ButtonBase::ButtonBase() : label(string_from_cstr(u"")) {}

ButtonBase::~ButtonBase()
{
    // A group destroyed first has already detached its children, so none is found then.
    if (groupId)
        if (Group* group = findGroup())
            group->removeButton(groupId, this);
    string_free(groupId);
    string_free(label);
}

NyCore::Object* ButtonBase::__create()
{
    return new ButtonBase();
}

void ButtonBase::setParameters(NyCore::XML::Element* element)
{
    buttonFlags = Loader::flagsParse(xml_get_attribute(element, u"flags"), ButtonFlagWords);
    if (NyCore::String const* text = xml_get_attribute(element, u"label"))
        setLabel(text);
    NyCore::String const* id = xml_get_attribute(element, u"id");
    if ((buttonFlags & ButtonFlags::Grouped) && id && !groupId) {
        if (Group* group = findGroup()) {
            groupId = string_copy(id);
            group->addButton(groupId, this);
        }
    }
    redraw();
}

void ButtonBase::setLabel(NyCore::String const* text)
{
    NyCore::String* copy = text ? string_copy(text) : string_from_cstr(u"");
    string_free(label);
    label = copy;
    redraw();
}

void ButtonBase::set$active(bool on)
{
    if (on)
        activate();
    else
        deactivate();
}

void ButtonBase::activate()
{
    buttonFlags |= ButtonFlags::Active;
    redraw();
    tellGroup();
}

void ButtonBase::deactivate()
{
    buttonFlags &= ~ButtonFlags::Active;
    redraw();
    tellGroup();
}

void ButtonBase::deactivateIgnoreGroup()
{
    buttonFlags &= ~ButtonFlags::Active;
    redraw();
}

void ButtonBase::activateIgnoreGroup()
{
    buttonFlags |= ButtonFlags::Active;
    redraw();
}

void ButtonBase::finishClick()
{
    if (buttonFlags & ButtonFlags::Toggle)
        buttonFlags ^= ButtonFlags::Active;
    if (buttonFlags & ButtonFlags::Stickey)
        buttonFlags |= ButtonFlags::Active;
    redraw();
    tellGroup();
    send(u"click");
}

Group* ButtonBase::findGroup()
{
    return static_cast<Group*>(getAncestor(u"NyToolkit.Group"_str));
}

// Only an activation selects: a button that goes off merely leaves the
// selection, so turning off one that is not selected changes nothing.
void ButtonBase::tellGroup()
{
    if (!(buttonFlags & ButtonFlags::Grouped) || !groupId)
        return;
    Group* group = findGroup();
    if (!group)
        return;
    if (get$active())
        group->buttonSelect(groupId);
    else
        group->buttonDeselect(groupId);
}

bool ButtonBase::focusOnPress() const
{
    return (flags & WidgetFlags::TabStop) != 0;
}

void ButtonBase::setPushed(bool on)
{
    std::uint32_t wanted = on ? (buttonFlags | ButtonFlags::Pushed) : (buttonFlags & ~ButtonFlags::Pushed);
    if (wanted == buttonFlags)
        return;
    buttonFlags = wanted;
    redraw();
}

void ButtonBase::cancelPress()
{
    if (mousePressed && (flags & WidgetFlags::PointerCaptured))
        pointerRelease();
    mousePressed = false;
    keyPressed = 0;
    setPushed(false);
}

void ButtonBase::onMouseDown(int, int, int button, int)
{
    if (button != 0)
        return;
    if (focusOnPress())
        focus();
    mousePressed = true;
    pointerCapture();
    setPushed(true);
}

void ButtonBase::onDoubleClick(int x, int y, int button, int keys)
{
    onMouseDown(x, y, button, keys);
}

void ButtonBase::onMouseUp(int x, int y, int button, int)
{
    if (button != 0 || !mousePressed)
        return;
    mousePressed = false;
    pointerRelease();
    if (!keyPressed)
        setPushed(false);
    if (x >= 0 && x < width && y >= 0 && y < height)
        finishClick();
}

// While a press holds the pointer, going off the button shows it raised and
// coming back shows it pressed again.
void ButtonBase::onMouseOver(int, int, int)
{
    if (mousePressed)
        setPushed(true);
    redraw();
}

void ButtonBase::onMouseOut(int, int, int)
{
    if (mousePressed && !keyPressed)
        setPushed(false);
    redraw();
}

void ButtonBase::onCharKeyDown(int code, int modifiers)
{
    if (code != EnterKey && code != SpaceKey) {
        NytkWidget::onCharKeyDown(code, modifiers);
        return;
    }
    // Held keys repeat as further downs; only the first counts.
    if (keyPressed)
        return;
    keyPressed = code;
    setPushed(true);
}

void ButtonBase::onCharKeyUp(int code, int modifiers)
{
    if (!keyPressed || code != keyPressed) {
        NytkWidget::onCharKeyUp(code, modifiers);
        return;
    }
    keyPressed = 0;
    if (!mousePressed)
        setPushed(false);
    finishClick();
}

void ButtonBase::onSystemKeyDown(int code, int modifiers)
{
    if (code == SystemKeys::Left || code == SystemKeys::Up)
        focusPrev();
    else if (code == SystemKeys::Right || code == SystemKeys::Down)
        focusNext();
    else
        NytkWidget::onSystemKeyDown(code, modifiers);
}

void ButtonBase::onFocusGained()
{
    redraw();
}

// A key held while the focus leaves is no longer this button's key.
void ButtonBase::onFocusLost()
{
    if (keyPressed) {
        keyPressed = 0;
        if (!mousePressed)
            setPushed(false);
    }
    redraw();
}

void ButtonBase::onDisable()
{
    cancelPress();
}

void ButtonBase::onDraw(NyCore::Graphics::GC* gc)
{
    drawLabel(gc, getColor(isDisabled() ? Style::Dim : Style::Text), 0, 0, width, height,
              NyCore::Graphics::TextFlags::CenterHorizontal | NyCore::Graphics::TextFlags::CenterVertical);
}

void ButtonBase::drawLabel(NyCore::Graphics::GC* gc, std::uint32_t color, int x, int y, int w, int h, int textFlags)
{
    gc_set_font(gc, style->get$font());
    gc_set_foreground(gc, color);
    gc_string(gc, label, x, y, w, h, textFlags);
}

}
