// Icon buttons: the picture for the state and the three placements of
// picture and label.
#include "nytoolkit/buttons/icon_button.h"

#include <algorithm>

#include "nycore/graphics/gc.h"
#include "nycore/xml/xml_node.h"

namespace NyToolkit::Buttons {

namespace TextFlags = NyCore::Graphics::TextFlags;

NyCore::TypeData IconButton::MetaData = {&ButtonBase::MetaData, nullptr, u"NyToolkit.Buttons.IconButton"_str,
                                         NyCore::NoMethods, NyCore::NoEvents, &IconButton::__create,
                                         sizeof(IconButton), 0, nullptr};

IconButton::~IconButton()
{
    if (icons)
        icons->release();
}

NyCore::Object* IconButton::__create()
{
    return new IconButton();
}

void IconButton::onCreate()
{
    setStyleClass(Style::Button, true);
}

void IconButton::setParameters(NyCore::XML::Element* element)
{
    ButtonBase::setParameters(element);
    if (NyCore::String const* file = xml_get_attribute(element, u"file")) {
        IconSet* loaded = IconSet::load(file);
        set$icons(loaded);
        loaded->release();
    }
}

void IconButton::set$icons(IconSet* set)
{
    if (set)
        set->addRef();
    if (icons)
        icons->release();
    icons = set;
    redraw();
}

int IconButton::iconIndex() const
{
    if (isDisabled())
        return get$active() ? 7 : 6;
    int index = 0;
    if (buttonFlags & ButtonFlags::Pushed)
        index = 2;
    else if (pointerInside() || hasFocus())
        index = 1;
    return get$active() ? index + 3 : index;
}

void IconButton::onDraw(NyCore::Graphics::GC* gc)
{
    int iw = icons ? icons->get$width() : 0;
    int ih = icons ? icons->get$height() : 0;
    int iconX = 0;
    int iconY = (height - ih) / 2;
    int labelX = 0;
    int textFlags = TextFlags::CenterHorizontal | TextFlags::CenterVertical;
    if (buttonFlags & ButtonFlags::TextBelow) {
        iconX = (width - iw) / 2;
        iconY = 0;
        textFlags = TextFlags::CenterHorizontal | TextFlags::AlignBottom;
    } else if (buttonFlags & ButtonFlags::TextOver) {
        iconX = (width - iw) / 2;
    } else {
        labelX = iw * 5 / 4;
        textFlags = TextFlags::CenterVertical;
    }
    if (icons)
        icons->draw(gc, iconX, iconY, iconIndex());
    drawLabel(gc, getColor(isDisabled() ? Style::Dim : Style::Text), labelX, 0, width - labelX, height, textFlags);
    if (hasFocus())
        drawFocus(gc, labelX, iconX, iconY);
}

// Beside the picture the outline rings the label (or the picture when there
// is no label); with the label below or over it, the whole button.
void IconButton::drawFocus(NyCore::Graphics::GC* gc, int labelX, int iconX, int iconY)
{
    gc_set_foreground(gc, getColor(Style::Accent));
    if (buttonFlags & (ButtonFlags::TextBelow | ButtonFlags::TextOver)) {
        gc_rect_line(gc, 0, 0, width, height);
        return;
    }
    int textWidth = style->get$font()->measure(label);
    if (textWidth == 0 && icons) {
        gc_rect_line(gc, iconX - 1, iconY - 1, icons->get$width() + 2, icons->get$height() + 2);
        return;
    }
    int fontHeight = style->get$font()->get$height();
    int x = std::max(labelX - 2, 0);
    int w = std::min(textWidth + 4, width - x);
    gc_rect_line(gc, x, (height - fontHeight) / 2 - 1, w, fontHeight + 2);
}

}
