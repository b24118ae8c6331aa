// The icon cell renderer.
#include "nytoolkit/table/icon_renderer.h"

#include "nycore/system/boxed_values.h"
#include "nycore/xml/xml_node.h"

namespace NyToolkit::DataRenderers {

NyCore::TypeData IconRenderer::MetaData = {&NyCore::Data::DataRenderer::MetaData,
                                           nullptr,
                                           u"NyToolkit.DataRenderers.IconRenderer"_str,
                                           NyCore::NoMethods,
                                           NyCore::NoEvents,
                                           &IconRenderer::__create,
                                           sizeof(IconRenderer),
                                           0,
                                           nullptr};

IconRenderer::~IconRenderer()
{
    if (icons)
        icons->release();
}

NyCore::Object* IconRenderer::__create()
{
    return new IconRenderer();
}

void IconRenderer::set$icons(IconSet* set)
{
    if (set)
        set->addRef();
    if (icons)
        icons->release();
    icons = set;
}

void IconRenderer::initilize(NyCore::XML::Element* parameters)
{
    if (NyCore::String const* file = xml_get_attribute(parameters, u"icons")) {
        IconSet* loaded = IconSet::load(file);
        set$icons(loaded);
        loaded->release();
    }
}

void IconRenderer::render(NyCore::Object* value, NyCore::Graphics::GC* gc, NyCore::Graphics::Rect const* cell,
                          unsigned flags)
{
    namespace TextFlags = NyCore::Graphics::TextFlags;
    int const index = static_cast<NyCore::Integer32 const*>(value)->value;
    if (!icons || index < 0 || index >= icons->get$count())
        return;
    int x = cell->x;
    if (flags & TextFlags::AlignRight)
        x = cell->x + cell->width - icons->get$width();
    else if (flags & TextFlags::CenterHorizontal)
        x = cell->x + (cell->width - icons->get$width()) / 2;
    int y = cell->y;
    if (flags & TextFlags::AlignBottom)
        y = cell->y + cell->height - icons->get$height();
    else if (flags & TextFlags::CenterVertical)
        y = cell->y + (cell->height - icons->get$height()) / 2;
    icons->draw(gc, x, y, index);
}

}
