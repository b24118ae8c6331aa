// The progress bar.
#include "nytoolkit/widgets/progress_bar.h"

#include "nycore/graphics/gc.h"
#include "nycore/io/data_folder.h"
#include "nycore/text/string_functions.h"
#include "nycore/xml/xml_node.h"
#include "nytoolkit/forms/loader.h"

namespace NyToolkit {

namespace {

NyCore::MethodEntry const ProgressBarMethods[] = {{u"increment", NY_METHOD(ProgressBar::increment)},
                                                  {u"decrement", NY_METHOD(ProgressBar::decrement)},
                                                  {u"setValue", NY_METHOD(ProgressBar::set$value)},
                                                  {u"set$value", NY_METHOD(ProgressBar::set$value)},
                                                  {u"setSpeed", NY_METHOD(ProgressBar::set$speed)},
                                                  {u"setMaximum", NY_METHOD(ProgressBar::set$maximum)},
                                                  {u"set$maximum", NY_METHOD(ProgressBar::set$maximum)},
                                                  {nullptr, nullptr}};

}

NyCore::TypeData ProgressBar::MetaData = {&NytkWidget::MetaData, nullptr, u"NyToolkit.ProgressBar"_str,
                                          ProgressBarMethods, NyCore::NoEvents, &ProgressBar::__create,
                                          sizeof(ProgressBar), 0, nullptr};

ProgressBar::~ProgressBar()
{
    if (imageLoaded)
        pixmap_destroy(&image);
}

NyCore::Object* ProgressBar::__create()
{
    return new ProgressBar();
}

void ProgressBar::onCreate()
{
    setStyleClass(Style::Display, false);
}

void ProgressBar::setParameters(NyCore::XML::Element* element)
{
    int readMaximum = Loader::intAttribute(element, u"maximum");
    maximum = readMaximum > 0 ? readMaximum : 100;
    speed = xml_get_attribute(element, u"speed") ? Loader::intAttribute(element, u"speed") : 1;
    set$value(Loader::intAttribute(element, u"value"));
    if (NyCore::String const* file = xml_get_attribute(element, u"image"))
        setImage(file);
}

void ProgressBar::set$value(int newValue)
{
    value = newValue < 0 ? 0 : newValue > maximum ? maximum : newValue;
    redraw();
}

void ProgressBar::set$maximum(int newMaximum)
{
    maximum = newMaximum < 1 ? 1 : newMaximum;
    set$value(value);
}

void ProgressBar::setImage(NyCore::String const* fileName)
{
    if (imageLoaded) {
        pixmap_destroy(&image);
        imageLoaded = false;
    }
    if (fileName) {
        NyCore::String* path = data_file_find(fileName);
        pixmap_load(&image, path);
        string_free(path);
        imageLoaded = true;
    }
    redraw();
}

int ProgressBar::get$fillWidth() const
{
    int inner = width - 4;
    if (inner <= 0)
        return 0;
    return static_cast<int>(static_cast<long long>(inner) * value / maximum);
}

void ProgressBar::onDraw(NyCore::Graphics::GC* gc)
{
    gc_set_foreground(gc, getColor(Style::Frame));
    gc_set_background(gc, background);
    gc_rect(gc, 0, 0, width, height);
    int fill = get$fillWidth();
    if (fill <= 0 || height <= 4)
        return;
    if (imageLoaded) {
        gc_set_clip(gc, 2, 2, fill, height - 4);
        NyCore::Graphics::Rect target{2, 2, width - 4, height - 4};
        NyCore::Graphics::Rect source{0, 0, image.width, image.height};
        gc_stretch_rect(gc, &target, &image.gc, &source);
        gc_set_clip(gc, 0, 0, 0, 0);
        return;
    }
    gc_set_background(gc, getColor(Style::HighlightBackground));
    gc_rect_fill(gc, 2, 2, fill, height - 4);
}

}
