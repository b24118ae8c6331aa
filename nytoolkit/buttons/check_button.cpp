// Check boxes: the style's check strip; a click flips them unless the form
// asks for Stickey.
#include "nytoolkit/buttons/check_button.h"

namespace NyToolkit::Buttons {

NyCore::TypeData CheckButton::MetaData = {&IconButton::MetaData, nullptr, u"NyToolkit.Buttons.CheckButton"_str,
                                          NyCore::NoMethods, NyCore::NoEvents, &CheckButton::__create,
                                          sizeof(CheckButton), 0, nullptr};

NyCore::Object* CheckButton::__create()
{
    return new CheckButton();
}

void CheckButton::onCreate()
{
    IconButton::onCreate();
    set$icons(style->getIcons(Style::Check));
}

void CheckButton::setParameters(NyCore::XML::Element* element)
{
    IconButton::setParameters(element);
    if (!(buttonFlags & (ButtonFlags::Toggle | ButtonFlags::Stickey)))
        buttonFlags |= ButtonFlags::Toggle;
}

}
