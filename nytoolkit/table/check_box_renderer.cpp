// The check box cell renderer.
#include "nytoolkit/table/check_box_renderer.h"

#include "nycore/system/boxed_values.h"
#include "nytoolkit/styles/style.h"

namespace NyToolkit::DataRenderers {

NyCore::TypeData CheckBoxRenderer::MetaData = {&NyCore::Data::DataRenderer::MetaData,
                                               nullptr,
                                               u"NyToolkit.DataRenderers.CheckBoxRenderer"_str,
                                               NyCore::NoMethods,
                                               NyCore::NoEvents,
                                               &CheckBoxRenderer::__create,
                                               sizeof(CheckBoxRenderer),
                                               0,
                                               nullptr};

CheckBoxRenderer::CheckBoxRenderer() : icons(Style::getDefaultStyle(Style::Control)->getIcons(Style::Check))
{
    if (icons)
        icons->addRef();
}

CheckBoxRenderer::~CheckBoxRenderer()
{
    if (icons)
        icons->release();
}

NyCore::Object* CheckBoxRenderer::__create()
{
    return new CheckBoxRenderer();
}

void CheckBoxRenderer::render(NyCore::Object* value, NyCore::Graphics::GC* gc, NyCore::Graphics::Rect const* cell,
                              unsigned)
{
    if (!icons)
        return;
    int const icon = static_cast<NyCore::Integer32 const*>(value)->value != 0 ? CheckedIcon : UncheckedIcon;
    icons->draw(gc, cell->x + (cell->width - icons->get$width()) / 2,
                cell->y + (cell->height - icons->get$height()) / 2, icon);
}

}
