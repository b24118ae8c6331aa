// Styles: what every toolkit widget draws with, a font, eleven colours, a gap
// width, a size value and the shared icon sets. ConstStyle is the read side,
// Style adds the changes. Styles are counted and shared between widgets;
// widgets copy a shared style before they change it.
#pragma once

#include <cstdint>

#include "nycore/graphics/font.h"
#include "nycore/system/counted_object.h"
#include "nytoolkit/styles/icon_set.h"
#include "nytoolkit/styles/image_container.h"
#include "nytoolkit/styles/style_container.h"

namespace NyToolkit {

class ConstStyle : public NyCore::Extenders::CountedObject {
    NY_REFLECTIVE(ConstStyle)
public:
    // The three common widget classes that have a default style each.
    enum CommonClass { Control = 0, Display = 1, Button = 2, CommonClassCount = 3 };
    // The default icon sets, in the order they are loaded.
    enum CommonIcons { Radio = 0, Check, VArrow, HArrow, DropArrow, Spin, Close, CommonIconCount };
    // What the framework's widgets use each colour slot for.
    enum ColorSlot {
        Background = 0,
        Frame = 1,
        Text = 2,
        HighlightBackground = 3,
        HighlightFrame = 4,
        HighlightText = 5,
        Light = 6,
        Separator = 7,
        Dim = 8,
        Hover = 9,
        Accent = 10,
        ColorCount = 11
    };

    NyCore::Graphics::Font* get$font() const { return font; }
    ImageContainer* get$images() const { return images; }
    int get$size() const { return size; }
    int get$gap() const { return gap; }
    // Slot outside 0 ... 10 gives black.
    std::uint32_t getColor(int slot) const;
    // One of the common icon sets of the style's image container (null when it holds none of that name).
    IconSet* getIcons(int commonIcon) const;

protected:
    NyCore::Graphics::Font* font = nullptr;
    ImageContainer* images = nullptr;
    std::int16_t size = 16;
    std::int16_t gap = 1;
    std::uint32_t colors[ColorCount] = {};
};

class Style : public ConstStyle {
    NY_REFLECTIVE(Style)
public:
    // The first live style creates the default font and loads the default
    // icon sets; every style starts from them with the colours of "control".
    Style();
    ~Style() override;
    static NyCore::Object* __create();

    // The default style of a common class (no reference is added); the
    // default styles are made on the first call.
    static Style* getDefaultStyle(int commonClass);
    // A new style (count 1) sharing the font and images, with its own colours.
    Style* duplicate() const;

    // A null font throws NullReferenceException.
    void set$font(NyCore::Graphics::Font* newFont);
    void setColor(int slot, std::uint32_t rgb);
    void set$size(int value) { size = static_cast<std::int16_t>(value); }
    void set$gap(int value) { gap = static_cast<std::int16_t>(value); }
    void set$images(ImageContainer* container);

    // Replace the process-wide containers (the new one is counted).
    static void setStyleContainer(StyleContainer* container);
    static void setImageContainer(ImageContainer* container);
    static ImageContainer* get$defaultImages();
    static int get$liveCount();
    // Releases the process-wide default styles, images and font (library unload).
    static void releaseDefaults();

    // The colour table of the common classes.
    static std::uint32_t const ClassColors[CommonClassCount][ColorCount];
};

}
