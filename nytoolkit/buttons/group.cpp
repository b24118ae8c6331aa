// The group box: its etched frame with the label set into the top edge, the
// map of its grouped buttons and the one selection among them.
#include "nytoolkit/buttons/group.h"

#include "nycore/graphics/color.h"
#include "nycore/graphics/gc.h"
#include "nycore/graphics/gc_text.h"
#include "nycore/system/method_thunk.h"
#include "nycore/text/string_functions.h"
#include "nycore/xml/xml_node.h"
#include "nytoolkit/buttons/button_base.h"
#include "nytoolkit/forms/loader.h"

namespace NyToolkit {

using Buttons::ButtonBase;

namespace {

NyCore::MethodEntry const GroupMethods[] = {{u"buttonSelect", NY_METHOD(Group::buttonSelect)},
                                            {u"clearSelected", NY_METHOD(Group::clearSelected)},
                                            {u"set$selected", NY_METHOD(Group::set$selected)},
                                            {u"setLabel", NY_METHOD(Group::setLabel)},
                                            {nullptr, nullptr}};

char16_t const* const GroupEvents[] = {u"select", nullptr};

// The label stands this far from the left edge, with a gap each side.
constexpr int LabelIndent = 8;
constexpr int LabelGap = 2;

bool sameId(NyCore::String const* a, NyCore::String const* b)
{
    return a && b && string_compare(a, b) == 0;
}

}

NyCore::TypeData Group::MetaData = {&NytkWidget::MetaData, nullptr, u"NyToolkit.Group"_str, GroupMethods,
                                    GroupEvents, &Group::__create, sizeof(Group), 0, nullptr};

// The buttons are still alive but detached from the group by now; they find no group to leave.
Group::~Group()
{
    delete buttons;
    string_free(selected);
    string_free(label);
}

NyCore::Object* Group::__create()
{
    return new Group();
}

void Group::onCreate()
{
    NytkWidget::onCreate();
    flags &= ~NyCore::System::WidgetFlags::TabStop;
}

void Group::setParameters(NyCore::XML::Element* element)
{
    if (NyCore::String const* text = xml_get_attribute(element, u"label"))
        setLabel(text);
    Loader::parseChildren(this, element);
    // The buttons exist only now.
    if (NyCore::String const* id = xml_get_attribute(element, u"selected"))
        set$selected(id);
}

void Group::setLabel(NyCore::String const* text)
{
    NyCore::String* copy = string_copy(text);
    string_free(label);
    label = copy;
    redraw();
}

void Group::onDraw(NyCore::Graphics::GC* gc)
{
    NyCore::Graphics::Font* font = style->get$font();
    int top = font->get$height() / 2;
    int frameHeight = height - top;
    // An etched line: a shadow with a highlight one pixel below and right of it.
    gc_set_foreground(gc, NyCore::Graphics::Color::scale(background, 150));
    gc_rect_line(gc, 1, top + 1, width - 1, frameHeight - 1);
    gc_set_foreground(gc, getColor(Style::Dim));
    gc_rect_line(gc, 0, top, width - 1, frameHeight - 1);
    if (!label || string_is_empty(label))
        return;
    int textWidth = font->measure(label);
    gc_set_background(gc, background);
    gc_rect_fill(gc, LabelIndent - LabelGap, 0, textWidth + 2 * LabelGap, font->get$height());
    gc_set_font(gc, font);
    bool disabled = flags & NyCore::System::WidgetFlags::Disabled;
    gc_set_foreground(gc, getColor(disabled ? Style::Dim : Style::Text));
    gc_string(gc, label, LabelIndent, 0, width - LabelIndent, font->get$height(), 0);
}

void Group::addButton(NyCore::String const* id, ButtonBase* button)
{
    if (!buttons)
        buttons = new NyCore::Collections::StringMap<ButtonBase*>();
    if (buttons->exists(id))
        buttons->item(id) = button;
    else
        buttons->add(id, button);
    if (button->get$active())
        set$selected(id);
}

void Group::removeButton(NyCore::String const* id, ButtonBase* button)
{
    if (!buttons || !buttons->exists(id) || buttons->item(id) != button)
        return;
    buttons->remove(id);
    if (sameId(selected, id))
        setSelectedId(nullptr);
}

ButtonBase* Group::getButton(NyCore::String const* id) const
{
    if (!buttons || !id || !buttons->exists(id))
        return nullptr;
    return buttons->item(id);
}

void Group::setSelectedId(NyCore::String const* id)
{
    NyCore::String* copy = string_copy(id);
    string_free(selected);
    selected = copy;
}

void Group::buttonSelect(NyCore::String const* id)
{
    if (selected && !sameId(selected, id))
        if (ButtonBase* previous = getButton(selected))
            previous->deactivateIgnoreGroup();
    setSelectedId(id);
    NyCore::Object::CallbackParams params{1, {reinterpret_cast<std::intptr_t>(selected)}};
    send(u"select", &params);
}

void Group::buttonDeselect(NyCore::String const* id)
{
    if (sameId(selected, id))
        setSelectedId(nullptr);
}

void Group::clearSelected()
{
    if (ButtonBase* previous = getButton(selected))
        previous->deactivateIgnoreGroup();
    setSelectedId(nullptr);
}

void Group::set$selected(NyCore::String const* id)
{
    ButtonBase* chosen = getButton(id);
    if (selected && !sameId(selected, id))
        if (ButtonBase* previous = getButton(selected))
            previous->deactivateIgnoreGroup();
    if (chosen)
        chosen->activateIgnoreGroup();
    setSelectedId(chosen ? id : nullptr);
}

}
