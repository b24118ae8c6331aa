// Image: a picture loaded from a BMP file, stretched to fill the widget or,
// with "NoStretch", drawn at its own size in the top-left corner.
#pragma once

#include "nycore/graphics/pixmap.h"
#include "nytoolkit/forms/loader.h"
#include "nytoolkit/forms/nytk_widget.h"

namespace NyToolkit {

class Image : public NytkWidget {
    NY_REFLECTIVE(Image)
public:
    enum ImageFlags { NoStretch = 1 };
    static Loader::FlagDescrip const FlagWords[];

    Image() = default;
    ~Image() override;
    static NyCore::Object* __create();

    // "flags", then "image" (a BMP file name, found among the data files).
    void setParameters(NyCore::XML::Element* element) override;
    void onDraw(NyCore::Graphics::GC* gc) override;
    void onStyleChange() override { redraw(); }

    // Replaces the picture; a file that is not a readable BMP is fatal. Null removes the picture.
    void setImage(NyCore::String const* fileName);
    bool get$hasImage() const { return loaded; }
    int get$imageFlags() const { return imageFlags; }
    void set$imageFlags(int value);
    NyCore::Graphics::PixmapSurface* get$pixmap() { return loaded ? &pixmap : nullptr; }

private:
    NyCore::Graphics::PixmapSurface pixmap{};
    bool loaded = false;
    int imageFlags = 0;
};

}
