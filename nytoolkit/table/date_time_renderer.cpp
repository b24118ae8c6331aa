// The date cell renderer.
#include "nytoolkit/table/date_time_renderer.h"

#include "nycore/system/boxed_values.h"
#include "nycore/text/date_time_formatter.h"
#include "nycore/text/string_functions.h"
#include "nycore/xml/xml_node.h"
#include "nytoolkit/table/string_renderer.h"

namespace NyToolkit::DataRenderers {

NyCore::TypeData DateTimeRenderer::MetaData = {&NyCore::Data::DataRenderer::MetaData,
                                               nullptr,
                                               u"NyToolkit.DataRenderers.DateTimeRenderer"_str,
                                               NyCore::NoMethods,
                                               NyCore::NoEvents,
                                               &DateTimeRenderer::__create,
                                               sizeof(DateTimeRenderer),
                                               0,
                                               nullptr};

DateTimeRenderer::~DateTimeRenderer()
{
    string_free(format);
}

NyCore::Object* DateTimeRenderer::__create()
{
    return new DateTimeRenderer();
}

void DateTimeRenderer::set$format(NyCore::String const* text)
{
    NyCore::String* copy = text ? string_copy(text) : nullptr;
    string_free(format);
    format = copy;
}

void DateTimeRenderer::initilize(NyCore::XML::Element* parameters)
{
    if (NyCore::String const* text = xml_get_attribute(parameters, u"format"))
        set$format(text);
}

void DateTimeRenderer::render(NyCore::Object* value, NyCore::Graphics::GC* gc, NyCore::Graphics::Rect const* cell,
                              unsigned flags)
{
    if (!format)
        return;
    buffer.reset();
    NyCore::Text::DateTimeFormatter::applyFormat(&buffer, format, static_cast<NyCore::DateTime const*>(value));
    StringRenderer::drawText(gc, buffer.get$text(), cell, flags);
}

}
