// Named pixmaps and icon sets shared by styles.
#include "nytoolkit/styles/image_container.h"

#include "nycore/system/exceptions.h"
#include "nycore/system/memory.h"
#include "nycore/system/runtime.h"

namespace NyToolkit {

NyCore::TypeData ImageContainer::MetaData = {&NyCore::Extenders::CountedObject::MetaData, nullptr,
                                             u"NyToolkit.ImageContainer"_str, NyCore::NoMethods,
                                             NyCore::NoEvents, nullptr, sizeof(ImageContainer), 0, nullptr};

namespace {

void destroyPixmap(void* value)
{
    auto* pixmap = static_cast<NyCore::Graphics::PixmapSurface*>(value);
    pixmap_destroy(pixmap);
    delete pixmap;
}

int indexOrThrow(NyCore::Collections::NameVectorBase const& names, NyCore::String const* name)
{
    int index = names.getIndex(name);
    if (index < 0)
        NyCore::System::Runtime::throwException(new NyCore::InvalidIndexException(name));
    return index;
}

}

ImageContainer::~ImageContainer()
{
    for (int i = 0; i < images.get$count(); ++i)
        destroyPixmap(images.get(i));
    for (int i = 0; i < iconArrays.get$count(); ++i)
        static_cast<IconSet*>(iconArrays.get(i))->release();
}

void ImageContainer::addImage(NyCore::String const* name, NyCore::Graphics::PixmapSurface* pixmap)
{
    images.append(name, pixmap);
}

void ImageContainer::addIconArray(NyCore::String const* name, IconSet* icons)
{
    icons->addRef();
    iconArrays.append(name, icons);
}

void ImageContainer::removeImage(NyCore::String const* name)
{
    int index = indexOrThrow(images, name);
    destroyPixmap(images.get(index));
    images.remove(index);
}

void ImageContainer::removeIconArray(NyCore::String const* name)
{
    int index = indexOrThrow(iconArrays, name);
    static_cast<IconSet*>(iconArrays.get(index))->release();
    iconArrays.remove(index);
}

NyCore::Graphics::PixmapSurface* ImageContainer::getImage(NyCore::String const* name) const
{
    return static_cast<NyCore::Graphics::PixmapSurface*>(images.get(name));
}

IconSet* ImageContainer::getIconArray(NyCore::String const* name) const
{
    return static_cast<IconSet*>(iconArrays.get(name));
}

}
