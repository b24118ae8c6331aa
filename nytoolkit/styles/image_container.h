// ImageContainer: the named pictures and icon sets that styles share (the
// default container holds the seven common icon sets). It is counted; it
// holds a reference on each icon set and owns its pixmaps.
#pragma once

#include "nycore/collection/name_vector.h"
#include "nycore/graphics/pixmap.h"
#include "nycore/system/counted_object.h"
#include "nytoolkit/styles/icon_set.h"

namespace NyToolkit {

class ImageContainer : public NyCore::Extenders::CountedObject {
    NY_REFLECTIVE(ImageContainer)
public:
    ImageContainer() = default;
    ~ImageContainer() override;

    // Takes the pixmap (destroyed with the container or on removal).
    void addImage(NyCore::String const* name, NyCore::Graphics::PixmapSurface* pixmap);
    // Takes a reference on the icon set.
    void addIconArray(NyCore::String const* name, IconSet* icons);
    // A name that is not present throws InvalidIndexException with the name.
    void removeImage(NyCore::String const* name);
    void removeIconArray(NyCore::String const* name);

    // Null when the name is not present.
    NyCore::Graphics::PixmapSurface* getImage(NyCore::String const* name) const;
    IconSet* getIconArray(NyCore::String const* name) const;
    int get$imageCount() const { return images.get$count(); }
    int get$iconArrayCount() const { return iconArrays.get$count(); }

private:
    NyCore::Collections::NameVectorBase images;
    NyCore::Collections::NameVectorBase iconArrays;
};

}
