// The form widget and its id map.
#include "nytoolkit/forms/form.h"

#include "nycore/graphics/color.h"
#include "nycore/xml/xml_node.h"
#include "nytoolkit/forms/loader.h"

namespace NyToolkit {

NyCore::TypeData Form::MetaData = {&NytkWidget::MetaData, nullptr, u"NyToolkit.Form"_str, NyCore::NoMethods,
                                   NyCore::NoEvents, &Form::__create, sizeof(Form), 0, nullptr};

Form::~Form()
{
    delete ids;
}

NyCore::Object* Form::__create()
{
    return new Form();
}

void Form::setParameters(NyCore::XML::Element* element)
{
    if (NyCore::String const* caption = xml_get_attribute(element, u"caption"))
        setCaption(caption);
    if (NyCore::String const* color = xml_get_attribute(element, u"bkgndColor")) {
        background = NyCore::Graphics::Color::create(color);
        redraw();
    }
    Loader::parseChildren(this, element);
}

void Form::addChildReference(NyCore::String const* id, NyCore::System::Widget* widget)
{
    if (!ids)
        ids = new NyCore::Collections::StringMap<NyCore::System::Widget*>();
    if (ids->exists(id))
        ids->item(id) = widget;
    else
        ids->add(id, widget);
}

NyCore::System::Widget* Form::getChild(NyCore::String const* id) const
{
    if (!ids || !ids->exists(id))
        return nullptr;
    return ids->item(id);
}

}
