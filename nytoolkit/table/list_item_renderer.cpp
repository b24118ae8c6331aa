// The list item cell renderer.
#include "nytoolkit/table/list_item_renderer.h"

#include "nycore/system/boxed_values.h"
#include "nytoolkit/table/string_renderer.h"

namespace NyToolkit::DataRenderers {

NyCore::TypeData ListItemRenderer::MetaData = {&NyCore::Data::DataRenderer::MetaData,
                                               nullptr,
                                               u"NyToolkit.DataRenderers.ListItemRenderer"_str,
                                               NyCore::NoMethods,
                                               NyCore::NoEvents,
                                               &ListItemRenderer::__create,
                                               sizeof(ListItemRenderer),
                                               0,
                                               nullptr};

ListItemRenderer::~ListItemRenderer()
{
    if (list)
        list->release();
}

NyCore::Object* ListItemRenderer::__create()
{
    return new ListItemRenderer();
}

void ListItemRenderer::set$list(ListContents* contents)
{
    if (contents)
        contents->addRef();
    if (list)
        list->release();
    list = contents;
}

void ListItemRenderer::render(NyCore::Object* value, NyCore::Graphics::GC* gc, NyCore::Graphics::Rect const* cell,
                              unsigned flags)
{
    if (!list)
        return;
    ListContents::Item const* item = list->getItem(static_cast<NyCore::Integer32 const*>(value)->value);
    if (item)
        StringRenderer::drawText(gc, item->label, cell, flags);
}

}
