// The picture widget.
#include "nytoolkit/widgets/image.h"

#include "nycore/graphics/gc.h"
#include "nycore/io/data_folder.h"
#include "nycore/text/string_functions.h"
#include "nycore/xml/xml_node.h"

namespace NyToolkit {

namespace {

NyCore::MethodEntry const ImageMethods[] = {{u"setImage", NY_METHOD(Image::setImage)}, {nullptr, nullptr}};

}

NyCore::TypeData Image::MetaData = {&NytkWidget::MetaData, nullptr, u"NyToolkit.Image"_str, ImageMethods,
                                    NyCore::NoEvents, &Image::__create, sizeof(Image), 0, nullptr};

Loader::FlagDescrip const Image::FlagWords[] = {{u"NoStretch"_str, NoStretch}, {nullptr, 0}};

Image::~Image()
{
    if (loaded)
        pixmap_destroy(&pixmap);
}

NyCore::Object* Image::__create()
{
    return new Image();
}

void Image::setParameters(NyCore::XML::Element* element)
{
    imageFlags = static_cast<int>(Loader::flagsParse(xml_get_attribute(element, u"flags"), FlagWords));
    if (NyCore::String const* file = xml_get_attribute(element, u"image"))
        setImage(file);
    redraw();
}

void Image::setImage(NyCore::String const* fileName)
{
    if (loaded) {
        pixmap_destroy(&pixmap);
        loaded = false;
    }
    if (fileName) {
        NyCore::String* path = data_file_find(fileName);
        pixmap_load(&pixmap, path);
        string_free(path);
        loaded = true;
    }
    redraw();
}

void Image::set$imageFlags(int value)
{
    imageFlags = value;
    redraw();
}

void Image::onDraw(NyCore::Graphics::GC* gc)
{
    gc_set_background(gc, background);
    if (!loaded) {
        gc_rect_fill(gc, 0, 0, width, height);
        return;
    }
    if (imageFlags & NoStretch) {
        // The part of the widget the picture does not cover keeps the background.
        if (width > pixmap.width)
            gc_rect_fill(gc, pixmap.width, 0, width - pixmap.width, height);
        if (height > pixmap.height)
            gc_rect_fill(gc, 0, pixmap.height, width, height - pixmap.height);
        gc_copy_rect(gc, 0, 0, &pixmap.gc, 0, 0, pixmap.width, pixmap.height);
        return;
    }
    NyCore::Graphics::Rect target{0, 0, width, height};
    NyCore::Graphics::Rect source{0, 0, pixmap.width, pixmap.height};
    gc_stretch_rect(gc, &target, &pixmap.gc, &source);
}

}
