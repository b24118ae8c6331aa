// The currency cell renderer.
#include "nytoolkit/table/currency_renderer.h"

#include "nycore/graphics/color.h"
#include "nycore/system/boxed_values.h"
#include "nycore/xml/xml_node.h"
#include "nytoolkit/table/string_renderer.h"

namespace NyToolkit::DataRenderers {

NyCore::TypeData CurrencyRenderer::MetaData = {&DoubleRenderer::MetaData,
                                               nullptr,
                                               u"NyToolkit.DataRenderers.CurrencyRenderer"_str,
                                               NyCore::NoMethods,
                                               NyCore::NoEvents,
                                               &CurrencyRenderer::__create,
                                               sizeof(CurrencyRenderer),
                                               0,
                                               nullptr};

NyCore::Object* CurrencyRenderer::__create()
{
    return new CurrencyRenderer();
}

void CurrencyRenderer::initilize(NyCore::XML::Element* parameters)
{
    DoubleRenderer::initilize(parameters);
    if (NyCore::String const* color = xml_get_attribute(parameters, u"negitiveColor"))
        negitiveColor = NyCore::Graphics::Color::create(color);
}

void CurrencyRenderer::render(NyCore::Object* value, NyCore::Graphics::GC* gc, NyCore::Graphics::Rect const* cell,
                              unsigned flags)
{
    formatValue(value);
    std::uint32_t const foreground = gc->foreground;
    bool const negative = static_cast<NyCore::Double const*>(value)->value < 0;
    if (negative)
        gc_set_foreground(gc, negitiveColor);
    StringRenderer::drawText(gc, buffer.get$text(), cell, flags | NyCore::Graphics::TextFlags::Opaque);
    if (negative)
        gc_set_foreground(gc, foreground);
}

}
