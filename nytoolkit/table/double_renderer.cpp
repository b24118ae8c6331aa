// The number cell renderer.
#include "nytoolkit/table/double_renderer.h"

#include "nycore/text/string_functions.h"
#include "nycore/xml/xml_node.h"
#include "nytoolkit/table/string_renderer.h"

namespace NyToolkit::DataRenderers {

NyCore::TypeData DoubleRenderer::MetaData = {&NyCore::Data::DataRenderer::MetaData,
                                             nullptr,
                                             u"NyToolkit.DataRenderers.DoubleRenderer"_str,
                                             NyCore::NoMethods,
                                             NyCore::NoEvents,
                                             &DoubleRenderer::__create,
                                             sizeof(DoubleRenderer),
                                             0,
                                             nullptr};

DoubleRenderer::~DoubleRenderer()
{
    string_free(format);
}

NyCore::Object* DoubleRenderer::__create()
{
    return new DoubleRenderer();
}

void DoubleRenderer::set$format(NyCore::String const* text)
{
    NyCore::String* copy = text ? string_copy(text) : nullptr;
    string_free(format);
    format = copy;
}

void DoubleRenderer::initilize(NyCore::XML::Element* parameters)
{
    if (NyCore::String const* text = xml_get_attribute(parameters, u"format"))
        set$format(text);
}

void DoubleRenderer::formatValue(NyCore::Object* value)
{
    buffer.reset();
    value->appendTo(&buffer, format);
}

void DoubleRenderer::render(NyCore::Object* value, NyCore::Graphics::GC* gc, NyCore::Graphics::Rect const* cell,
                            unsigned flags)
{
    formatValue(value);
    StringRenderer::drawText(gc, buffer.get$text(), cell, flags | NyCore::Graphics::TextFlags::Opaque);
}

}
