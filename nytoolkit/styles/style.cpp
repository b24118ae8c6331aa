// The style record, the three default styles and the process-wide defaults
// (font, icon sets) that every new style starts from.
#include "nytoolkit/styles/style.h"

#include "nycore/system/exceptions.h"
#include "nycore/system/runtime.h"

namespace NyToolkit {

NyCore::TypeData ConstStyle::MetaData = {&NyCore::Extenders::CountedObject::MetaData, nullptr,
                                         u"NyToolkit.ConstStyle"_str, NyCore::NoMethods, NyCore::NoEvents,
                                         nullptr, sizeof(ConstStyle), 0, nullptr};
NyCore::TypeData Style::MetaData = {&ConstStyle::MetaData, nullptr, u"NyToolkit.Style"_str, NyCore::NoMethods,
                                    NyCore::NoEvents, &Style::__create, sizeof(Style), 0, nullptr};

std::uint32_t const Style::ClassColors[CommonClassCount][ColorCount] = {
    {0xF0F0F0, 0x808080, 0x000000, 0x0000FF, 0x000080, 0xFFFFFF, 0xE6E6E6, 0xD2D2D2, 0xA0A0A0, 0x0000FF, 0xFFE496},
    {0xFFFFFF, 0x808080, 0x000000, 0x0000FF, 0x000080, 0xFFFFFF, 0xE6E6E6, 0xD2D2D2, 0xA0A0A0, 0x0000FF, 0xFFE496},
    {0xDCDCDC, 0x404040, 0x000000, 0xE6E6E6, 0x404040, 0x000000, 0xE6E6E6, 0xD2D2D2, 0xA0A0A0, 0x0000FF, 0xD19900},
};

namespace {

struct CommonIconFile {
    NyCore::String const* name;
    char16_t const* file;
};

CommonIconFile const CommonIconFiles[ConstStyle::CommonIconCount] = {
    {u"radio"_str, u"icons/radio.icons"},       {u"check"_str, u"icons/check.icons"},
    {u"varrow"_str, u"icons/arrowsv.icons"},    {u"harrow"_str, u"icons/arrowsh.icons"},
    {u"droparrow"_str, u"icons/droparrow.icons"}, {u"spin"_str, u"icons/spin.icons"},
    {u"close"_str, u"icons/close.icons"},
};

NyCore::String const* const ClassNames[ConstStyle::CommonClassCount] = {u"control"_str, u"display"_str,
                                                                         u"button"_str};

NyCore::Graphics::Font* defaultFont = nullptr;
ImageContainer* defaultImages = nullptr;
StyleContainer* defaultStyles = nullptr;
int liveStyles = 0;

void createDefaults()
{
    if (!defaultFont)
        defaultFont = NyCore::Graphics::Font::create(u"arial"_str, 12, NyCore::Graphics::Font::Regular);
    if (!defaultImages) {
        defaultImages = new ImageContainer();
        for (CommonIconFile const& entry : CommonIconFiles) {
            IconSet* set = IconSet::load(entry.file);
            defaultImages->addIconArray(entry.name, set);
            set->release();
        }
    }
}

}

std::uint32_t ConstStyle::getColor(int slot) const
{
    return slot >= 0 && slot < ColorCount ? colors[slot] : 0;
}

IconSet* ConstStyle::getIcons(int commonIcon) const
{
    if (!images || commonIcon < 0 || commonIcon >= CommonIconCount)
        return nullptr;
    return images->getIconArray(CommonIconFiles[commonIcon].name);
}

Style::Style()
{
    ++liveStyles;
    createDefaults();
    font = defaultFont;
    font->addRef();
    images = defaultImages;
    images->addRef();
    for (int i = 0; i < ColorCount; ++i)
        colors[i] = ClassColors[Control][i];
}

Style::~Style()
{
    font->release();
    images->release();
    if (--liveStyles == 0) {
        // The defaults live as long as some style does; the container of
        // default styles holds styles itself, so it is never the last one.
        if (defaultFont) {
            defaultFont->release();
            defaultFont = nullptr;
        }
        if (defaultImages) {
            defaultImages->release();
            defaultImages = nullptr;
        }
    }
}

NyCore::Object* Style::__create()
{
    return new Style();
}

Style* Style::getDefaultStyle(int commonClass)
{
    if (!defaultStyles) {
        defaultStyles = new StyleContainer();
        for (int c = 0; c < CommonClassCount; ++c) {
            Style* style = new Style();
            for (int i = 0; i < ColorCount; ++i)
                style->colors[i] = ClassColors[c][i];
            defaultStyles->addStyle(ClassNames[c], style);
            style->release();
        }
    }
    Style* style = defaultStyles->getStyle(commonClass);
    return style ? style : defaultStyles->getStyle(0);
}

Style* Style::duplicate() const
{
    Style* copy = new Style();
    copy->set$font(font);
    copy->set$images(images);
    copy->size = size;
    copy->gap = gap;
    for (int i = 0; i < ColorCount; ++i)
        copy->colors[i] = colors[i];
    return copy;
}

void Style::set$font(NyCore::Graphics::Font* newFont)
{
    if (!newFont)
        NyCore::System::Runtime::throwException(new NyCore::NullReferenceException());
    newFont->addRef();
    font->release();
    font = newFont;
}

void Style::setColor(int slot, std::uint32_t rgb)
{
    if (slot >= 0 && slot < ColorCount)
        colors[slot] = rgb;
}

void Style::set$images(ImageContainer* container)
{
    if (!container)
        NyCore::System::Runtime::throwException(new NyCore::NullReferenceException());
    container->addRef();
    images->release();
    images = container;
}

void Style::setStyleContainer(StyleContainer* container)
{
    if (container)
        container->addRef();
    if (defaultStyles)
        defaultStyles->release();
    defaultStyles = container;
}

void Style::setImageContainer(ImageContainer* container)
{
    if (container)
        container->addRef();
    if (defaultImages)
        defaultImages->release();
    defaultImages = container;
}

ImageContainer* Style::get$defaultImages()
{
    return defaultImages;
}

int Style::get$liveCount()
{
    return liveStyles;
}

void Style::releaseDefaults()
{
    // Releasing the default styles lets the last of them free the font and images.
    setStyleContainer(nullptr);
}

}
