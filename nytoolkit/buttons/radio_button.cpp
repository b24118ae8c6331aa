// Radio buttons: the style's radio strip; a click turns them on (the group
// turns the others off) unless the form asks for Toggle.
#include "nytoolkit/buttons/radio_button.h"

namespace NyToolkit::Buttons {

NyCore::TypeData RadioButton::MetaData = {&IconButton::MetaData, nullptr, u"NyToolkit.Buttons.RadioButton"_str,
                                          NyCore::NoMethods, NyCore::NoEvents, &RadioButton::__create,
                                          sizeof(RadioButton), 0, nullptr};

NyCore::Object* RadioButton::__create()
{
    return new RadioButton();
}

void RadioButton::onCreate()
{
    IconButton::onCreate();
    set$icons(style->getIcons(Style::Radio));
}

void RadioButton::setParameters(NyCore::XML::Element* element)
{
    IconButton::setParameters(element);
    if (!(buttonFlags & (ButtonFlags::Toggle | ButtonFlags::Stickey)))
        buttonFlags |= ButtonFlags::Stickey;
}

}
