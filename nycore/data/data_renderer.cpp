// The renderer base draws nothing.
#include "nycore/data/data_renderer.h"

namespace NyCore::Data {

TypeData DataRenderer::MetaData = {&Object::MetaData, nullptr, u"NyCore.Data.DataRenderer"_str, NoMethods,
                                   NoEvents, &DataRenderer::__create, sizeof(DataRenderer), 0, nullptr};

Object* DataRenderer::__create()
{
    return new DataRenderer();
}

int DataRenderer::getHeight(Object*, int)
{
    return 0;
}

int DataRenderer::getWidth(Object*, int)
{
    return 0;
}

void DataRenderer::initilize(XML::Element*) {}

void DataRenderer::render(Object*, Graphics::GC*, Graphics::Rect const*, unsigned) {}

}
