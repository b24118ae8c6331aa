// The text cell renderer.
#include "nytoolkit/table/string_renderer.h"

#include "nycore/graphics/gc_text.h"

namespace NyToolkit::DataRenderers {

NyCore::TypeData StringRenderer::MetaData = {&NyCore::Data::DataRenderer::MetaData,
                                             nullptr,
                                             u"NyToolkit.DataRenderers.StringRenderer"_str,
                                             NyCore::NoMethods,
                                             NyCore::NoEvents,
                                             &StringRenderer::__create,
                                             sizeof(StringRenderer),
                                             0,
                                             nullptr};

NyCore::Object* StringRenderer::__create()
{
    return new StringRenderer();
}

void StringRenderer::render(NyCore::Object* value, NyCore::Graphics::GC* gc, NyCore::Graphics::Rect const* cell,
                            unsigned flags)
{
    // Text cells hold String blocks, which are not Objects: the table keeps them under the Object pointer.
    auto const* text = reinterpret_cast<NyCore::String const*>(value);
    drawText(gc, text, cell, flags);
}

NyCore::Graphics::Rect StringRenderer::textBox(NyCore::Graphics::Rect const* cell)
{
    int const inset = cell->width > 2 * TextInset ? TextInset : 0;
    return {cell->x + inset, cell->y, cell->width - 2 * inset, cell->height};
}

void StringRenderer::drawText(NyCore::Graphics::GC* gc, NyCore::String const* text,
                              NyCore::Graphics::Rect const* cell, unsigned flags)
{
    NyCore::Graphics::Rect const box = textBox(cell);
    gc_string(gc, text, box.x, box.y, box.width, box.height, static_cast<int>(flags));
}

}
